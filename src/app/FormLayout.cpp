#include "app/FormLayout.h"

#include "app/AppError.h"
#include "app/ImageList.h"
#include "app/NumberText.h"
#include "app/SettingsStore.h"
#include "app/Twips.h"
#include "shell/ChildForm.h"

#include <QAction>
#include <QHeaderView>
#include <QToolBar>
#include <QTreeWidget>

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
    const QString section = form->windowTitle();

    int px = 0;
    if (StoredPixels(section, QStringLiteral("frmLeft"), &px)) frame->move(px, frame->y());
    if (StoredPixels(section, QStringLiteral("frmTop"), &px)) frame->move(frame->x(), px);
    if (StoredPixels(section, QStringLiteral("frmWidth"), &px) && px >= 0) frame->resize(px, frame->height());
    if (StoredPixels(section, QStringLiteral("frmHeight"), &px) && px >= 0) frame->resize(frame->width(), px);

    // The state is a small integer, stored as such; anything else means normal.
    const QString mode =
        SettingsStore::GetSetting(kApplication, section, QStringLiteral("wndMode")).trimmed();
    frame->setWindowState(stateOf(mode.toInt()));

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
    const QString section = form->windowTitle();

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
