#include "shell/frmTraceAbout.h"

#include "app/Dialogs.h"

#include <QKeyEvent>

frmTraceAbout::frmTraceAbout(QWidget *parent) : QDialog(parent) { setObjectName(QStringLiteral("frmTraceAbout")); }

int frmTraceAbout::ShowModal(QWidget *parent)
{
    frmTraceAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}

void frmTraceAbout::keyPressEvent(QKeyEvent *event) { QDialog::keyPressEvent(event); }
