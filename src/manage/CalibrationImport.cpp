// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/CalibrationImport.h"

#include "core/base/ProgramFolders.h"
#include "core/files/CalibrationImportText.h"
#include "manage/PendingRows.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QTreeWidget>
#include <algorithm>

ImportResult ImportFromText(QWidget *parent, QTreeWidget *list)
{
    ImportResult result;
    Dialogs::FileRequest request;
    request.title = QCoreApplication::translate("CalibrationImport", "导入");
    request.filter = QCoreApplication::translate("CalibrationImport", "文本文件(制表符分隔)|*.txt");
    request.initialDir = ProgramFolders::LibraryFolder();
    request.kind = QStringLiteral("calibrations");
    const Dialogs::FileResult chosen = Dialogs::instance().openFile(parent, request);
    if (chosen.cancelled || chosen.fileName.isEmpty()) {
        result.cancelled = true;
        return result;
    }

    // Column 0 holds the state icon; every other column takes one field.
    const int valueColumns = std::max(0, list->columnCount() - 1);
    const CalibrationImportText::Rows read = CalibrationImportText::ReadFile(chosen.fileName, valueColumns);

    QList<QTreeWidgetItem *> rows;
    rows.reserve(read.rows.size());
    for (const QStringList &fields : read.rows)
        rows << PendingRows::MakeRow(fields, QString(), PendingRows::kAdd, PendingRows::kAdd);
    PendingRows::AppendRows(list, rows);
    result.rowsAdded = rows.size();

    if (read.failed) {
        result.failed = true;
        MsgBox(parent, read.errorText);
    }
    return result;
}
