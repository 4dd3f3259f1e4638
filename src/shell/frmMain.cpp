#include "shell/frmMain.h"

#include <QMdiArea>

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), mdi_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Lorvane"));
    setCentralWidget(mdi_);
    resize(6500 / 15, 6500 / 15);
}
