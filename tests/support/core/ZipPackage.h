// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <string>
#include <utility>
#include <vector>
#include <zip.h>

// An .xlsx package built here from its parts (nothing of the reader's own),
// deflated as spreadsheet programs write them.
inline QByteArray ZipPackage(const std::vector<std::pair<std::string, QByteArray>> &parts)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_source_keep(buffer);
    for (const auto &[name, data] : parts)
        zip_file_add(archive, name.c_str(),
                     zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0), 0);
    zip_close(archive);
    zip_stat_t st;
    zip_source_stat(buffer, &st);
    QByteArray out(qsizetype(st.size), '\0');
    zip_source_open(buffer);
    zip_source_read(buffer, out.data(), st.size);
    zip_source_close(buffer);
    zip_source_free(buffer);
    return out;
}
