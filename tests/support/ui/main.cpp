// SPDX-License-Identifier: GPL-3.0-or-later
// Main of the window test runners: offscreen windows, settings and runtime
// folders of their own, so that nothing touches the user's files.
#include "core/store/Names.h"
#include "support/core/TestHome.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    UseTemporaryHome(home);

    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The names the program reads beside its data, from the tree.
    Names::Table::SetShared(Names::Table::Load(QStringLiteral(LORVANE_DATA_DIR "/names.csv")));
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    Fonts::InstallApplicationFont();
    return RUN_ALL_TESTS();
}
