// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/AboutWindow.h"

#include "core/base/Twips.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace AboutWindow {

void Prepare(QDialog *dialog, int clientWidthTwips, int clientHeightTwips)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(Twips::toPx(clientWidthTwips), Twips::toPx(clientHeightTwips));
    dialog->setModal(true);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        dialog->move(free.center() - dialog->rect().center());
    }
}

} // namespace AboutWindow
