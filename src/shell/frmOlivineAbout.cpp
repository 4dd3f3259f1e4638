#include "shell/frmOlivineAbout.h"

#include "app/Dialogs.h"

#include <QKeyEvent>

frmOlivineAbout::frmOlivineAbout(QWidget *parent) : QDialog(parent) { setObjectName(QStringLiteral("frmOlivineAbout")); }

int frmOlivineAbout::ShowModal(QWidget *parent)
{
    frmOlivineAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}

void frmOlivineAbout::keyPressEvent(QKeyEvent *event) { QDialog::keyPressEvent(event); }
