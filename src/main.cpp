// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/Language.h"
#include "shell/RegisterForms.h"
#include "shell/frmMain.h"
#include "ui/Fonts.h"
#include "ui/subMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lorvane"));

    // The language chosen under 视图 → 语言/Language, else the locale's. The
    // program's texts are Chinese; Qt's own (确定 / 是 / 否 / 取消) need their
    // Chinese translation, and English is their own.
    const Language::Choice language = Language::ForInterface();
    QString missing;
    if (!Language::Install(language, &missing))
        std::fprintf(stderr, "lorvane: no translation %s; the interface stays Chinese\n",
                     missing.toUtf8().constData());
    QTranslator qtTranslator;
    if (Language::Installed() == Language::Choice::Chinese &&
        qtTranslator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Fonts::InstallApplicationFont();

    RegisterAllForms();
    return subMain::Main([] { return new frmMain(); });
}
