// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DelimitedFiles.h"

#include "core/base/AppError.h"
#include "core/files/DelimitedText.h"
#include "core/files/TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QTreeWidget>

namespace mdlFunction {
namespace {

const QString kReadSource = QStringLiteral("mdlFunction.ReadFile");
const QString kExportSource = QStringLiteral("mdlData.ExportData");

// Looked up when raised, in the language of the moment.
QString readText() { return QCoreApplication::translate("DelimitedFiles", "导入数据未完成！"); }
QString exportText() { return QCoreApplication::translate("DelimitedFiles", "导出数据失败!"); }

int32_t fileErrorNumber(QFileDevice::FileError error)
{
    return error == QFileDevice::OpenError ? ErrNo::FileNotFound : ErrNo::FileAccess;
}

} // namespace

void ReadFile(const QString &fileName, QTreeWidget *list, int32_t fileType, int16_t fieldCount)
{
    if (!list || fieldCount < 1 || !DelimitedText::IsValidFileType(fileType))
        throw AppError(ErrNo::InvalidCall, kReadSource, readText());
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(file.exists() ? ErrNo::FileAccess : ErrNo::FileNotFound, kReadSource, readText());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(fileErrorNumber(file.error()), kReadSource, readText());
    file.close();

    const QVector<QStringList> records =
        DelimitedText::ParseRecords(TextCodec::Decode(bytes), fileType, fieldCount);
    QList<QTreeWidgetItem *> items;
    items.reserve(records.size());
    for (const QStringList &fields : records) items << new QTreeWidgetItem(fields);
    list->addTopLevelItems(items);
}

void ExportData(const QString &fileName, QTreeWidget *list, int16_t fileType, int16_t columnCount)
{
    if (!list || columnCount < 1 || !DelimitedText::IsValidFileType(fileType))
        throw AppError(ErrNo::InvalidCall, kExportSource, exportText());
    const QString sep = DelimitedText::WriteSeparator(fileType);
    QStringList lines;
    const int rows = list->topLevelItemCount();
    lines.reserve(rows + 1);

    QStringList titles;
    QTreeWidgetItem *header = list->headerItem();
    for (int c = 0; c < columnCount; ++c) titles << header->text(c);
    lines << titles.join(sep);

    QStringList cells;
    for (int r = 0; r < rows; ++r) {
        const QTreeWidgetItem *item = list->topLevelItem(r);
        cells.clear();
        for (int c = 0; c < columnCount; ++c) cells << item->text(c);
        lines << cells.join(sep);
    }

    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(fileErrorNumber(file.error()), kExportSource, exportText());
    const QByteArray bytes = TextCodec::Encode(DelimitedText::JoinLines(lines));
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw AppError(ErrNo::FileAccess, kExportSource, exportText());
}

} // namespace mdlFunction
