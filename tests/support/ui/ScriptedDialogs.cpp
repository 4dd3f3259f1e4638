// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ui/ScriptedDialogs.h"

#include <QDialog>
#include <QEventLoop>
#include <gtest/gtest.h>

ScriptedDialogs::ScriptedDialogs() { Dialogs::install(this); }

ScriptedDialogs::~ScriptedDialogs() { Dialogs::install(nullptr); }

void ScriptedDialogs::answerFile(const QString &fileName, int filterIndex)
{
    FileResult r;
    r.cancelled = false;
    r.fileName = fileName;
    r.filterIndex = filterIndex;
    files_.push_back(r);
}

void ScriptedDialogs::cancelFile() { files_.push_back(FileResult()); }

QList<ScriptedDialogs::Call> ScriptedDialogs::messages() const
{
    QList<Call> result;
    for (const Call &c : calls_)
        if (c.kind == QLatin1String("message")) result << c;
    return result;
}

QString ScriptedDialogs::lastMessage() const
{
    const QList<Call> m = messages();
    return m.isEmpty() ? QString() : m.last().text;
}

Dialogs::Answer ScriptedDialogs::message(QWidget *, const QString &text, const QString &caption,
                                         Buttons buttons, Icon icon)
{
    Call c;
    c.kind = QStringLiteral("message");
    c.text = text;
    c.caption = caption;
    c.buttons = buttons;
    c.icon = icon;
    calls_ << c;
    if (buttons == Buttons::Ok) return Answer::Ok;
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return Answer::Cancel;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

QString ScriptedDialogs::inputBox(QWidget *, const QString &prompt, const QString &title,
                                  const QString &defaultText)
{
    Call c;
    c.kind = QStringLiteral("input");
    c.text = prompt;
    c.caption = title;
    c.file.fileName = defaultText;
    calls_ << c;
    if (inputs_.empty()) {
        ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
        return QString();
    }
    const QString t = inputs_.front();
    inputs_.pop_front();
    return t;
}

Dialogs::FileResult ScriptedDialogs::nextFile(const QString &kind, const FileRequest &request)
{
    Call c;
    c.kind = kind;
    c.caption = request.title;
    c.file = request;
    calls_ << c;
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted file dialog: " << request.title.toStdString();
        return FileResult();
    }
    const FileResult r = files_.front();
    files_.pop_front();
    return r;
}

Dialogs::FileResult ScriptedDialogs::openFile(QWidget *, const FileRequest &request)
{
    return nextFile(QStringLiteral("open"), request);
}

Dialogs::FileResult ScriptedDialogs::saveFile(QWidget *, const FileRequest &request)
{
    return nextFile(QStringLiteral("save"), request);
}

int ScriptedDialogs::execModal(QDialog *dialog)
{
    Call c;
    c.kind = QStringLiteral("modal");
    c.text = dialog->objectName();
    c.caption = dialog->windowTitle();
    calls_ << c;
    if (modals_.empty()) return QDialog::Rejected;
    auto handler = std::move(modals_.front());
    modals_.pop_front();
    int result = QDialog::Rejected;
    QObject::connect(dialog, &QDialog::finished, dialog, [&result](int r) { result = r; });
    dialog->setModal(true);
    dialog->show();
    handler(dialog);
    if (dialog->isVisible()) dialog->reject();
    return result;
}
