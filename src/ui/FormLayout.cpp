// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FormLayout.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/base/SettingsStore.h"
#include "core/base/Twips.h"
#include "ui/ChildForm.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace mdlFunction {
namespace {

const QString kApplication = QStringLiteral("Lorvane");

// The window's list. The managers also carry a tree (a QTreeWidget as well), so
// the list is recognised by its name, by being the only one, or by having no
// root decoration (a report list).
QTreeWidget *formList(ChildForm *form)
{
    const QList<QTreeWidget *> trees = form->findChildren<QTreeWidget *>();
    if (trees.isEmpty()) return nullptr;
    for (QTreeWidget *tree : trees)
        if (tree->objectName() == QLatin1String("ListView1")) return tree;
    if (trees.size() == 1) return trees.first();
    for (QTreeWidget *tree : trees)
        if (!tree->rootIsDecorated()) return tree;
    return nullptr;
}

// Below this a window cannot be used; such a stored size is a damaged setting.
constexpr int kMinimumSide = 60;

int titleBarHeight()
{
    const int styled =
        QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) : 0;
    return std::max(20, styled);
}

Qt::WindowStates stateOf(int mode)
{
    switch (mode) {
    case 1: return Qt::WindowMinimized;
    case 2: return Qt::WindowMaximized;
    default: return Qt::WindowNoState;
    }
}

} // namespace

bool StoredPixels(const QString &section, const QString &key, int *pixels)
{
    // Anything unreadable counts as absent, so a hand-edited or damaged
    // settings file cannot throw a window off the screen.
    const QString text = SettingsStore::GetSetting(kApplication, section, key);
    if (!Num::IsNumeric(text)) return false;
    double twips = 0;
    try {
        twips = Num::ToSingle(text);
    } catch (const AppError &) {
        return false;
    }
    constexpr double kFarthest = 1e6 * Twips::kPerPixel;
    if (!(std::fabs(twips) <= kFarthest)) return false;
    *pixels = Twips::toPx(twips);
    return true;
}

void StorePixels(const QString &section, const QString &key, int pixels)
{
    SettingsStore::SaveSetting(kApplication, section, key, Num::Str(float(Twips::fromPx(pixels))));
}

StoredRect ReadStoredRect(const QString &section, const QString &leftKey, const QString &topKey,
                          const QString &widthKey, const QString &heightKey)
{
    StoredRect stored;
    int px = 0;
    if (StoredPixels(section, leftKey, &px)) stored.left = px;
    if (StoredPixels(section, topKey, &px)) stored.top = px;
    if (StoredPixels(section, widthKey, &px)) stored.width = px;
    if (StoredPixels(section, heightKey, &px)) stored.height = px;
    return stored;
}

QRect UsableRect(const StoredRect &stored, const QRect &fallback, const QRect &area)
{
    auto side = [&](const std::optional<int> &value, int current, int limit) {
        const int wanted = value && *value >= kMinimumSide ? *value : current;
        return limit > 0 ? std::min(wanted, limit) : wanted;
    };
    QRect r(stored.left.value_or(fallback.x()), stored.top.value_or(fallback.y()),
            side(stored.width, fallback.width(), area.width()),
            side(stored.height, fallback.height(), area.height()));
    if (area.isEmpty()) return r;
    // The title bar is what the user drags a window back by: enough of it must lie in the area.
    const int bar = titleBarHeight();
    const QRect seen = QRect(r.x(), r.y(), r.width(), bar).intersected(area);
    if (seen.height() < bar || seen.width() < std::min(r.width(), 3 * bar)) r.moveTopLeft(fallback.topLeft());
    return r;
}

QRect AvailableArea(const QWidget *frame)
{
    const QScreen *screen = frame && frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
    if (!screen) return QRect();
    const QRect desktop = screen->availableVirtualGeometry();
    // A child is placed in the client area, whose origin stands for the screen's.
    if (frame && frame->parentWidget() && !frame->isWindow()) return QRect(QPoint(0, 0), desktop.size());
    return desktop;
}

void SetToolbarImages(QToolBar *toolbar, const ImageList &images)
{
    if (!toolbar) return;
    toolbar->setIconSize(images.imageSize());
    for (QAction *button : toolbar->actions()) {
        if (button->isSeparator() || button->objectName().isEmpty()) continue;
        if (images.contains(button->objectName())) button->setIcon(images.icon(button->objectName()));
    }
}

void LoadFormLayout(ChildForm *form)
{
    QWidget *frame = form->frameWidget();
    const QString section = form->layoutSection();

    const StoredRect stored = ReadStoredRect(section, QStringLiteral("frmLeft"), QStringLiteral("frmTop"),
                                             QStringLiteral("frmWidth"), QStringLiteral("frmHeight"));
    const QRect usable = UsableRect(stored, QRect(frame->pos(), frame->size()), AvailableArea(frame));
    frame->move(usable.topLeft());
    frame->resize(usable.size());

    // The state is a small integer, stored as such; anything else means normal.
    const QString mode =
        SettingsStore::GetSetting(kApplication, section, QStringLiteral("wndMode")).trimmed();
    frame->setWindowState(stateOf(mode.toInt()));

    int px = 0;
    if (QTreeWidget *list = formList(form)) {
        for (int i = 0; i < list->columnCount(); ++i) {
            if (StoredPixels(section, QStringLiteral("column") + QString::number(i + 1), &px) && px >= 0)
                list->setColumnWidth(i, px);
        }
    }
}

void SaveFormLayout(ChildForm *form)
{
    QWidget *frame = form->frameWidget();
    const QString section = form->layoutSection();

    int mode = 0;
    if (frame->isMinimized())
        mode = 1;
    else if (frame->isMaximized())
        mode = 2;
    SettingsStore::SaveSetting(kApplication, section, QStringLiteral("wndMode"), QString::number(mode));

    StorePixels(section, QStringLiteral("frmLeft"), frame->x());
    StorePixels(section, QStringLiteral("frmTop"), frame->y());
    StorePixels(section, QStringLiteral("frmWidth"), frame->width());
    StorePixels(section, QStringLiteral("frmHeight"), frame->height());

    if (QTreeWidget *list = formList(form)) {
        for (int i = 0; i < list->columnCount(); ++i)
            StorePixels(section, QStringLiteral("column") + QString::number(i + 1),
                        list->header()->sectionSize(i));
    }
}

} // namespace mdlFunction
