// SPDX-License-Identifier: GPL-3.0-or-later
// Main of the core test runner: no windows, settings and runtime folders of its
// own, so that nothing touches the user's files.
#include "core/store/Names.h"
#include "support/core/TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    UseTemporaryHome(home);

    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    // The names the program reads beside its data, from the tree.
    Names::Table::SetShared(Names::Table::Load(QStringLiteral(LORVANE_DATA_DIR "/names.csv")));
    return RUN_ALL_TESTS();
}
