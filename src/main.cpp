// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RegisterForms.h"
#include "shell/frmMain.h"
#include "ui/Fonts.h"
#include "ui/subMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lorvane"));

    // Standard buttons in Chinese (确定 / 是 / 否 / 取消).
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Fonts::InstallApplicationFont();

    RegisterAllForms();
    return subMain::Main([] { return new frmMain(); });
}
