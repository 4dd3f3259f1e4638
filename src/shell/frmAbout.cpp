#include "shell/frmAbout.h"

#include "app/Dialogs.h"

#include <QKeyEvent>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent) { setObjectName(QStringLiteral("frmAbout")); }

void frmAbout::cmdOK_Click() { accept(); }

int frmAbout::ShowModal(QWidget *parent)
{
    frmAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}
