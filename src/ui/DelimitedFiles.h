// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class QTreeWidget;

namespace mdlFunction {

// Appends every line of a delimited text file to the list, one row per line,
// `fieldCount` trimmed fields per row. Raises "导入数据未完成！" (source
// "mdlFunction.ReadFile") on failure; rows appended before it stay.
void ReadFile(const QString &fileName, QTreeWidget *list, int32_t fileType, int16_t fieldCount);

// Writes the list with a title line to the file, replacing it. Raises
// "导出数据失败!" (source "mdlData.ExportData") on failure.
void ExportData(const QString &fileName, QTreeWidget *list, int16_t fileType, int16_t columnCount);

} // namespace mdlFunction
