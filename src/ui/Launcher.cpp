// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Launcher.h"

#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace Launcher {
namespace {

QStringList g_calculators;
QStringList g_editors;
std::function<bool(const QString &)> g_opener;

bool start(QWidget *parent, const QStringList &candidates, const QString &what)
{
    const QString program = FindProgram(candidates);
    if (program.isEmpty()) {
        MsgBox(parent,
               QCoreApplication::translate("Launcher", "未找到%1程序。").arg(what) + QStringLiteral("\r\n") +
                   QCoreApplication::translate("Launcher", "请安装以下任一程序：%1")
                       .arg(candidates.join(QCoreApplication::translate("Launcher", "、"))),
               Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return false;
    }
    if (!QProcess::startDetached(program, {})) {
        MsgBox(parent, QCoreApplication::translate("Launcher", "无法启动%1程序：%2").arg(what, program),
               Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace

QStringList DefaultCalculators()
{
    return {QStringLiteral("gnome-calculator"),
            QStringLiteral("kcalc"),
            QStringLiteral("galculator"),
            QStringLiteral("qalculate-gtk"),
            QStringLiteral("qalculate-qt"),
            QStringLiteral("mate-calc"),
            QStringLiteral("xcalc")};
}

QStringList DefaultEditors()
{
    return {QStringLiteral("gedit"),  QStringLiteral("gnome-text-editor"), QStringLiteral("kate"),
            QStringLiteral("kwrite"), QStringLiteral("mousepad"),          QStringLiteral("xed"),
            QStringLiteral("pluma"),  QStringLiteral("featherpad"),        QStringLiteral("leafpad")};
}

QStringList Calculators() { return g_calculators.isEmpty() ? DefaultCalculators() : g_calculators; }
QStringList Editors() { return g_editors.isEmpty() ? DefaultEditors() : g_editors; }
void SetCalculators(const QStringList &candidates) { g_calculators = candidates; }
void SetEditors(const QStringList &candidates) { g_editors = candidates; }

QString FindProgram(const QStringList &candidates)
{
    for (const QString &name : candidates) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return QString();
}

bool StartCalculator(QWidget *parent)
{
    return start(parent, Calculators(), QCoreApplication::translate("Launcher", "计算器"));
}
bool StartEditor(QWidget *parent)
{
    return start(parent, Editors(), QCoreApplication::translate("Launcher", "文本编辑器"));
}

bool OpenDocument(QWidget *parent, const QString &path)
{
    const bool opened = g_opener ? g_opener(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        MsgBox(parent,
               QCoreApplication::translate("Launcher", "无法打开%1：没有程序能显示它。")
                   .arg(QDir::toNativeSeparators(path)),
               Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
    return opened;
}

void SetDocumentOpener(std::function<bool(const QString &)> opener) { g_opener = std::move(opener); }

} // namespace Launcher
