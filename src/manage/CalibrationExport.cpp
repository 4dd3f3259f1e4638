// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/CalibrationExport.h"

#include "core/base/AppError.h"
#include "core/base/ProgramFolders.h"
#include "core/files/FileWrite.h"
#include "core/files/Workbook.h"
#include "manage/StoredRowItem.h"
#include "ui/Dialogs.h"
#include "ui/Launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>

namespace CalibrationExport {
namespace {

struct Overrides {
    QString templateFolder;
    QString outputFolder;
    std::function<bool(const QString &)> opener;
};

Overrides &overrides()
{
    static Overrides o;
    return o;
}

const char kSpreadsheetMime[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// Spreadsheet programs tried when the desktop names none for .xlsx files.
QStringList spreadsheetPrograms()
{
    return {QStringLiteral("libreoffice"), QStringLiteral("localc"),
            QStringLiteral("soffice"),     QStringLiteral("gnumeric"),
            QStringLiteral("et"),          QStringLiteral("onlyoffice-desktopeditors")};
}

bool desktopHasHandler()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return false;
    QProcess query;
    query.start(xdgMime,
                {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(kSpreadsheetMime)});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

QString TemplatePath(CalibrationKind kind)
{
    const QString folder =
        overrides().templateFolder.isEmpty() ? ProgramFolders::TemplateFolder() : overrides().templateFolder;
    return folder + (kind == CalibrationKind::Isotope ? QStringLiteral("/IsotopeThemometer.xltx")
                                                      : QStringLiteral("/traceelementThemometer.xltx"));
}

QString OutputFolder()
{
    if (!overrides().outputFolder.isEmpty()) return overrides().outputFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::tempPath();
}

bool OpenWithDesktop(const QString &path)
{
    if (desktopHasHandler() && QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
    const QString program = Launcher::FindProgram(spreadsheetPrograms());
    return !program.isEmpty() && QProcess::startDetached(program, {path});
}

void setTemplateFolder(const QString &folder) { overrides().templateFolder = folder; }
void setOutputFolder(const QString &folder) { overrides().outputFolder = folder; }
void setOpener(std::function<bool(const QString &)> opener) { overrides().opener = std::move(opener); }

} // namespace CalibrationExport

QString ExportToExcel(QWidget *parent, QTreeWidget *list, CalibrationKind kind, const QString &typeOrElement,
                      bool visible)
{
    return ExportToExcel(parent, list, CalibrationExport::TemplatePath(kind), typeOrElement, visible);
}

QString ExportToExcel(QWidget *parent, QTreeWidget *list, const QString &templatePath,
                      const QString &typeOrElement, bool visible)
{
    return ExportToExcel(parent, list, templatePath, typeOrElement, visible, QString());
}

QString ExportToExcel(QWidget *parent, QTreeWidget *list, const QString &templatePath,
                      const QString &typeOrElement, bool visible, const QString &chosenPath)
{
    // The worksheet's columns: A the type or element, then one per value column
    // of the list (B..H the seven both managers have, I.. a manager's own).
    QVector<QStringList> rows;
    if (list) {
        const int valueColumns = std::max(StoredRowItem::kValueColumns, list->columnCount() - 1);
        const int count = list->topLevelItemCount();
        rows.reserve(count);
        for (int i = 0; i < count; ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            if (item->isHidden()) continue;
            QStringList cells;
            cells.reserve(valueColumns + 1);
            // A list can hold rows of other types or elements than the current one
            // (the element match takes substrings); each row is labelled with its own.
            const QString owner = item->data(0, StoredRowItem::OwnerRole).toString();
            cells << (owner.isEmpty() ? typeOrElement : owner);
            for (int c = 1; c <= valueColumns; ++c) cells << item->text(c);
            rows << cells;
        }
    }

    const QByteArray package = Workbook::Fill(templatePath, rows);
    QString path = chosenPath;
    if (path.isEmpty()) {
        path = Workbook::SaveNew(CalibrationExport::OutputFolder(),
                                 QFileInfo(templatePath).completeBaseName(), package);
    } else {
        // Where the user chose, whole or not at all.
        QString why;
        if (!FileWrite::WriteWhole(path, package, &why))
            throw AppError(ErrNo::FileAccess, Workbook::kErrorSource,
                           Workbook::ErrorText() + QStringLiteral("\n") + path + QStringLiteral("\n") + why);
    }
    if (visible) {
        const auto &opener = CalibrationExport::overrides().opener;
        const bool opened = opener ? opener(path) : CalibrationExport::OpenWithDesktop(path);
        if (!opened)
            MsgBox(parent,
                   QCoreApplication::translate("CalibrationExport",
                                               "没有找到可以打开电子表格的程序。数据已导出到：\n%1")
                       .arg(QDir::toNativeSeparators(path)),
                   Dialogs::Buttons::Ok, Dialogs::Icon::Information);
    }
    return path;
}
