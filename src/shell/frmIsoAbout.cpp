#include "shell/frmIsoAbout.h"

#include "app/Dialogs.h"

#include <QKeyEvent>

frmIsoAbout::frmIsoAbout(QWidget *parent) : QDialog(parent) { setObjectName(QStringLiteral("frmIsoAbout")); }

int frmIsoAbout::ShowModal(QWidget *parent)
{
    frmIsoAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}

void frmIsoAbout::keyPressEvent(QKeyEvent *event) { QDialog::keyPressEvent(event); }
