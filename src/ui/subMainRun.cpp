// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subMain.h"

#include "core/base/ProgramFolders.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <cstdio>

namespace subMain {
namespace {

// The install check of the test suite starts the installed program with
// LORVANE_START_CHECK set: messages are written to standard error instead of
// waiting for a click, and the program ends as soon as its main window is
// shown, reporting the window and the database it opened.
class StartCheckDialogs : public Dialogs {
  public:
    Answer message(QWidget *, const QString &text, const QString &caption, Buttons buttons, Icon) override
    {
        std::fprintf(stderr, "message [%s]\n%s\n", caption.toUtf8().constData(), text.toUtf8().constData());
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    QString inputBox(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    FileResult openFile(QWidget *, const FileRequest &) override { return FileResult(); }
    FileResult saveFile(QWidget *, const FileRequest &) override { return FileResult(); }
    int execModal(QDialog *) override { return QDialog::Rejected; }
};

int reportStart(StartResult result, QWidget *main)
{
    if (result != StartResult::Running) return result == StartResult::Refused ? 3 : 2;
    QCoreApplication::processEvents();
    std::printf("shown %s \"%s\" visible=%d\ndatabase %s\n", main->objectName().toUtf8().constData(),
                main->windowTitle().toUtf8().constData(), main->isVisible() ? 1 : 0,
                ProgramFolders::Current().databasePath.toUtf8().constData());
    std::fflush(stdout);
    return 0;
}

} // namespace

int Main(const std::function<QWidget *()> &makeMainWindow)
{
    const bool check = qEnvironmentVariableIsSet("LORVANE_START_CHECK");
    StartCheckDialogs checkDialogs;
    if (check) Dialogs::install(&checkDialogs);
    QWidget *main = nullptr;
    const StartResult result = Start(QCoreApplication::applicationDirPath(), [&main, &makeMainWindow] {
        main = makeMainWindow();
        return main;
    });
    if (check) {
        const int code = reportStart(result, main);
        delete main;
        Dialogs::install(nullptr);
        return code;
    }
    if (result != StartResult::Running) return 0;
    return QApplication::exec();
}

} // namespace subMain
