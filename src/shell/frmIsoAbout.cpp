// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmIsoAbout.h"

#include "shell/AboutWindow.h"
#include "ui/Dialogs.h"
#include "ui/Pictures.h"

#include <QKeyEvent>
#include <QLabel>

frmIsoAbout::frmIsoAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIsoAbout"));
    setWindowTitle(tr("关于 同位素Lorvane"));
    AboutWindow::Prepare(this, 7635, 1845);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    const QRect place(10, 18, width() - 20, height() - 36);
    image->setGeometry(place);
    image->setPixmap(Pictures::IsoEquation(place.size()));
}

void frmIsoAbout::keyPressEvent(QKeyEvent *event)
{
    // Only the close box closes this window; Esc and Enter do nothing.
    event->accept();
}

int frmIsoAbout::ShowModal(QWidget *parent)
{
    frmIsoAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}
