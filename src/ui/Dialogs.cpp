// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Dialogs.h"

#include "core/base/SettingsStore.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

const QString kAppTitle = QStringLiteral("Lorvane");

namespace {
Dialogs *g_installed = nullptr;
} // namespace

Dialogs &Dialogs::instance()
{
    static QtDialogs real;
    return g_installed ? *g_installed : real;
}

void Dialogs::install(Dialogs *service) { g_installed = service; }

int Dialogs::execModal(QDialog *dialog) { return dialog->exec(); }

Dialogs::Answer MsgBox(QWidget *parent, const QString &text, Dialogs::Buttons buttons, Dialogs::Icon icon,
                       const QString &caption)
{
    return Dialogs::instance().message(parent, text, caption, buttons, icon);
}

Dialogs::Answer QtDialogs::message(QWidget *parent, const QString &text, const QString &caption,
                                   Buttons buttons, Icon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::None: break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtDialogs::inputBox(QWidget *parent, const QString &prompt, const QString &title,
                            const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QStringList QtDialogs::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

namespace {

const QString kFolders = QStringLiteral("Folders");

QString folderKey(const QString &kind) { return kind.isEmpty() ? QStringLiteral("files") : kind; }

bool usable(const QString &folder)
{
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

QString Dialogs::StartFolder(const FileRequest &request)
{
    const QString remembered = SettingsStore::GetSetting(kAppTitle, kFolders, folderKey(request.kind));
    if (usable(remembered)) return remembered;
    if (usable(request.initialDir)) return request.initialDir;
    return QDir::homePath();
}

void Dialogs::RememberFolder(const QString &kind, const QString &fileName)
{
    if (fileName.isEmpty()) return;
    SettingsStore::SaveSetting(kAppTitle, kFolders, folderKey(kind), QFileInfo(fileName).absolutePath());
}

namespace {

Dialogs::FileResult runFileDialog(QWidget *parent, const Dialogs::FileRequest &request,
                                  QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title, Dialogs::StartFolder(request));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = QtDialogs::nameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, request.filterIndex, int(filters.size()));
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);

    Dialogs::FileResult result;
    result.filterIndex = request.filterIndex;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    result.cancelled = false;
    result.fileName = dialog.selectedFiles().first();
    Dialogs::RememberFolder(request.kind, result.fileName);
    const int chosen = int(filters.indexOf(dialog.selectedNameFilter()));
    if (chosen >= 0) result.filterIndex = chosen + 1;
    return result;
}

} // namespace

Dialogs::FileResult QtDialogs::openFile(QWidget *parent, const FileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

Dialogs::FileResult QtDialogs::saveFile(QWidget *parent, const FileRequest &request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}
