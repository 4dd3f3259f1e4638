// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/subMain.h"

#include "core/base/AppError.h"
#include "core/base/ProgramFolders.h"
#include "core/database/SharedConnection.h"
#include "core/store/SchemaUpgrade.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace subMain {
namespace {
std::unique_ptr<QLockFile> g_instanceLock;

// Claims the single-instance lock; false when another copy holds it.
bool claimInstance()
{
    if (g_instanceLock) return true;
    auto lock = std::make_unique<QLockFile>(InstanceLockPath());
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;
    g_instanceLock = std::move(lock);
    return true;
}

const QString kLineBreak = QStringLiteral("\r\n");
} // namespace

QString AlreadyRunningMessage()
{
    return QCoreApplication::translate("subMain", "程序正在运行,请勿重复打开!");
}

QString InstanceLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/Lorvane.lock");
}

void ReleaseInstanceLock() { g_instanceLock.reset(); }

QString DatabasePath(const QString &programDir) { return ProgramFolders::Locate(programDir).databasePath; }

QString DatabaseMissingMessage(const ProgramFolders::Layout &layout)
{
    // The program's folder is not where an installed program's database goes:
    // the middle line names the user's own file instead.
    const QString where = layout.installed
                              ? QCoreApplication::translate("subMain", "请将Access文件放至%1")
                                    .arg(QDir::toNativeSeparators(layout.databasePath))
                              : QCoreApplication::translate("subMain", "请将Access文件放至本程序目录内");
    return QCoreApplication::translate("subMain", "数据库文件未找到") + kLineBreak + where + kLineBreak +
           QCoreApplication::translate("subMain", "重新启动程序");
}

bool UpgradeDatabase(const QString &databasePath)
{
    Connection *conn = mdlFunction::adoConn();
    if (!conn || conn->State() == 0) return false;
    try {
        SchemaUpgrade::Upgrade(*conn);
        return true;
    } catch (const AppError &e) {
        // Nothing was changed: the rows read as before, with the terms at their defaults.
        MsgBox(nullptr,
               QCoreApplication::translate("subMain", "数据库文件无法升级：%1")
                       .arg(QDir::toNativeSeparators(databasePath)) +
                   kLineBreak + e.description() + kLineBreak +
                   QCoreApplication::translate(
                       "subMain",
                       "文件未作改动。微量元素温度计的压力、成分和活度项在升级前不可用，标定也不能保存。"),
               Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        return false;
    }
}

StartResult Start(const QString &programDir, const std::function<QWidget *()> &makeMainWindow)
{
    if (!claimInstance()) {
        MsgBox(nullptr, AlreadyRunningMessage(), Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        return StartResult::Refused;
    }
    const ProgramFolders::Layout layout = ProgramFolders::Locate(programDir);
    ProgramFolders::SetCurrent(layout);
    // The user's own database, made from the installed default on the first
    // start: when that fails the user is told why (a full disk, a read-only
    // home) and where, not that a file is missing.
    // (Without an installed default the open below gives the usual message.)
    QString why;
    if (!ProgramFolders::PrepareDatabase(layout, &why) && QFileInfo::exists(layout.defaultDatabase)) {
        MsgBox(nullptr,
               QCoreApplication::translate("subMain", "无法建立数据库文件") + kLineBreak + why + kLineBreak +
                   QCoreApplication::translate("subMain", "重新启动程序"),
               Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        ReleaseInstanceLock();
        return StartResult::NoDatabase;
    }
    if (!mdlFunction::OpenConnection(layout.databasePath)) {
        MsgBox(nullptr, DatabaseMissingMessage(layout), Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        ReleaseInstanceLock();
        return StartResult::NoDatabase;
    }
    UpgradeDatabase(layout.databasePath);
    modXP::InitVisualStyles();
    QWidget *main = makeMainWindow();
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->show();
    return StartResult::Running;
}

} // namespace subMain

namespace modXP {

bool InitVisualStyles()
{
    // The platform's own style is already in use; make sure one is set.
    if (!QApplication::style()) {
        const QStringList keys = QStyleFactory::keys();
        if (keys.isEmpty()) return false;
        QApplication::setStyle(keys.first());
    }
    return true;
}

} // namespace modXP
