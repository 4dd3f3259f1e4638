// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmAbout.h"

#include "shell/AboutWindow.h"
#include "ui/Dialogs.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("关于 Lorvane"));
    AboutWindow::Prepare(this, 5940, 2505);

    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(12, 12, 260, 143);
    shape->setStyleSheet(
        QStringLiteral("#Shape1 { border: 2px solid #7fa6d4; border-radius: 10px; background: #f1f6fc; }"));

    const std::pair<const char *, QString> lines[] = {
        {"Label1", tr("程序版本：V1.0")},
        {"Label2", tr("维护：Lorvane 项目开发组")},
        {"Label3", tr("反馈：请在项目的问题列表中提出")},
        {"Label4", tr("感谢您的使用！")},
    };
    int y = 24;
    for (const auto &[name, text] : lines) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(28, y, 236, 22);
        y += 30;
    }

    cmdOK_ = new QPushButton(tr("确定"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(292, 126, 92, 29);
    cmdOK_->setDefault(true);
    cmdOK_->setFocus();
    connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // OK is the cancel button too: Esc presses it.
    if (event->key() == Qt::Key_Escape) {
        cmdOK_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

int frmAbout::ShowModal(QWidget *parent)
{
    frmAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}
