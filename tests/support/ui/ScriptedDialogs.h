// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Dialogs.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

// Dialogs answered from a script: every call is recorded with its texts, and
// answers come from queues. A message with only an OK button needs no answer;
// any other dialog without a scripted answer fails the test and is cancelled.
// Installed for the lifetime of the object.
class ScriptedDialogs : public Dialogs {
  public:
    struct Call {
        QString kind; // "message", "input", "open", "save", "modal" (text: objectName)
        QString text; // message text or prompt
        QString caption;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        FileRequest file;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answer(Answer a) { answers_.push_back(a); }
    void answerInput(const QString &text) { inputs_.push_back(text); }
    void answerFile(const QString &fileName, int filterIndex = 1);
    void cancelFile();
    // What to do with the next modal window: the handler may click and type in
    // it and should close it (accept or reject). Without a handler the window is
    // recorded and rejected unseen.
    void onModal(std::function<void(QDialog *)> handler) { modals_.push_back(std::move(handler)); }

    const QList<Call> &calls() const { return calls_; }
    QList<Call> messages() const;
    // The text of the last message, or "" when none was shown.
    QString lastMessage() const;
    void clear() { calls_.clear(); }

    Answer message(QWidget *parent, const QString &text, const QString &caption, Buttons buttons,
                   Icon icon) override;
    QString inputBox(QWidget *parent, const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    FileResult openFile(QWidget *parent, const FileRequest &request) override;
    FileResult saveFile(QWidget *parent, const FileRequest &request) override;
    int execModal(QDialog *dialog) override;

  private:
    FileResult nextFile(const QString &kind, const FileRequest &request);

    QList<Call> calls_;
    std::deque<Answer> answers_;
    std::deque<QString> inputs_;
    std::deque<FileResult> files_;
    std::deque<std::function<void(QDialog *)>> modals_;
};
