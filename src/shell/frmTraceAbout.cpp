// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmTraceAbout.h"

#include "shell/AboutWindow.h"
#include "ui/Dialogs.h"
#include "ui/Pictures.h"

#include <QKeyEvent>
#include <QLabel>

frmTraceAbout::frmTraceAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTraceAbout"));
    setWindowTitle(tr("关于 微量元素Lorvane"));
    AboutWindow::Prepare(this, 6375, 1950);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    const QRect place(10, 18, width() - 20, height() - 36);
    picture->setGeometry(place);
    picture->setPixmap(Pictures::TraceEquation(place.size()));
}

void frmTraceAbout::keyPressEvent(QKeyEvent *event)
{
    // Enter closes; every other key, Esc included, does nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        accept();
    else
        event->accept();
}

int frmTraceAbout::ShowModal(QWidget *parent)
{
    frmTraceAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}
