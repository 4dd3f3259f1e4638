// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDialog;
class QWidget;

// Every message box, input box and file dialog of the program goes through this
// service, so that tests can answer them from a script.
class Dialogs {
  public:
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum class Answer { Ok, Yes, No, Cancel };

    // A file dialog: filter in the "description|*.ext|description|*.ext" form,
    // filter index counted from 1.
    struct FileRequest {
        QString title;
        QString filter;
        int filterIndex = 1;
        QString initialDir;
        QString fileName;
        // The kind of file ("samples", "results", "chart", "calibrations", ...):
        // the dialog starts in the folder last used for that kind.
        QString kind;
    };
    struct FileResult {
        bool cancelled = true;
        QString fileName;
        int filterIndex = 1;
    };

    virtual ~Dialogs() = default;

    virtual Answer message(QWidget *parent, const QString &text, const QString &caption, Buttons buttons,
                           Icon icon) = 0;
    // The typed text; the empty text when the user cancels.
    virtual QString inputBox(QWidget *parent, const QString &prompt, const QString &title,
                             const QString &defaultText) = 0;
    virtual FileResult openFile(QWidget *parent, const FileRequest &request) = 0;
    virtual FileResult saveFile(QWidget *parent, const FileRequest &request) = 0;
    // Where a file dialog starts: the folder last used for the request's kind,
    // else the request's own folder, else the user's home; never a folder the
    // user cannot write (an installed library, say).
    static QString StartFolder(const FileRequest &request);
    // Remembers the folder of a chosen file for its kind.
    static void RememberFolder(const QString &kind, const QString &fileName);
    // Shows a window modally (About windows, edit dialogs) and returns its result code.
    virtual int execModal(QDialog *dialog);

    // The service in use: the real dialogs unless another one was installed.
    static Dialogs &instance();
    // Installs a service (not owned); nullptr restores the real dialogs.
    static void install(Dialogs *service);
};

// The program's title, the caption of plain messages.
extern const QString kAppTitle;

// A message with the program's title (or the caption given).
Dialogs::Answer MsgBox(QWidget *parent, const QString &text, Dialogs::Buttons buttons = Dialogs::Buttons::Ok,
                       Dialogs::Icon icon = Dialogs::Icon::None, const QString &caption = kAppTitle);

// The real service, on Qt's dialogs.
class QtDialogs : public Dialogs {
  public:
    Answer message(QWidget *parent, const QString &text, const QString &caption, Buttons buttons,
                   Icon icon) override;
    QString inputBox(QWidget *parent, const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    FileResult openFile(QWidget *parent, const FileRequest &request) override;
    FileResult saveFile(QWidget *parent, const FileRequest &request) override;

    // "desc|*.txt|desc2|*.csv" -> Qt's name filters, one per pair.
    static QStringList nameFilters(const QString &filter);
};
