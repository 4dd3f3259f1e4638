#include "app/subMain.h"

#include "shell/FormFactory.h"
#include "shell/frmMain.h"

#include <QApplication>

namespace subMain {

int Main()
{
    RegisterAllForms();
    const StartResult result = Start(QCoreApplication::applicationDirPath(), [] { return new frmMain(); });
    if (result != StartResult::Running) return 0;
    return QApplication::exec();
}

} // namespace subMain
