// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QTreeWidget;
class QWidget;

// Which manager exports: it chooses the template.
enum class CalibrationKind { Isotope, TraceElement };

// Copies the list's visible rows, in list order, into a new workbook made from
// the manager's template: from row 2 on, column A the row's own isotope type or
// element (the current one for a row that names none), then the texts of the list's value columns as shown:
// B..H its columns 1..7, I.. the columns past them (the isotope manager's dataset, error fields and DOI,
// I..P; the trace manager's terms, error fields and DOI, I..T). The workbook is saved under a new name in the
// user's documents folder (the temporary folder when there is none) and, when `visible` is true, opened with
// the desktop's spreadsheet program; when nothing can open it the user is told where it was saved. Returns
// the path of the new file. Any failure raises AppError "数据导出过程中出错" (source "ExportToExcel"); the
// caller shows it.
QString ExportToExcel(QWidget *parent, QTreeWidget *list, CalibrationKind kind, const QString &typeOrElement,
                      bool visible);

// The same with the template given by path.
QString ExportToExcel(QWidget *parent, QTreeWidget *list, const QString &templatePath,
                      const QString &typeOrElement, bool visible);
// The same, written to the path the user chose (written whole: a failure leaves
// the file that was there); an empty path saves under a new name as above.
QString ExportToExcel(QWidget *parent, QTreeWidget *list, const QString &templatePath,
                      const QString &typeOrElement, bool visible, const QString &chosenPath);

namespace CalibrationExport {

// xls/IsotopeThemometer.xltx or xls/traceelementThemometer.xltx in the
// program's data folder (ProgramFolders), or in the folder set below.
QString TemplatePath(CalibrationKind kind);

// Where exports are saved: the documents folder, or the temporary folder when
// there is none (or the folder set below).
QString OutputFolder();

// Opens a file with the desktop's spreadsheet program; false when no program
// can open it.
bool OpenWithDesktop(const QString &path);

// For tests: the folder of the templates, the folder exports go to, and what
// opens the file. Empty texts and an empty function restore the defaults.
void setTemplateFolder(const QString &folder);
void setOutputFolder(const QString &folder);
void setOpener(std::function<bool(const QString &path)> opener);

} // namespace CalibrationExport
