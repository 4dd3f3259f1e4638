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

namespace mdlFunction {
namespace {

const QString kApplication = QStringLiteral("Lorvane");

// A stored value as a number; anything unreadable counts as absent, so a
// hand-edited or damaged settings file cannot throw a window off the screen.
bool readNumber(const QString &section, const QString &key, double *value)
{
    const QString text = SettingsStore::GetSetting(kApplication, section, key);
    if (!Num::IsNumeric(text)) return false;
    try {
        *value = Num::ToSingle(text);
        return true;
    } catch (const AppError &) {
        return false;
    }
}

void writeNumber(const QString &section, const QString &key, double value)
{
    SettingsStore::SaveSetting(kApplication, section, key, Num::Str(float(value)));
}

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

    double v = 0;
    if (readNumber(section, QStringLiteral("frmLeft"), &v)) frame->move(Twips::toPx(v), frame->y());
    if (readNumber(section, QStringLiteral("frmTop"), &v)) frame->move(frame->x(), Twips::toPx(v));
    if (readNumber(section, QStringLiteral("frmWidth"), &v))
        frame->resize(Twips::toPx(v), frame->height());
    if (readNumber(section, QStringLiteral("frmHeight"), &v))
        frame->resize(frame->width(), Twips::toPx(v));

    int mode = 0;
    if (readNumber(section, QStringLiteral("wndMode"), &v)) {
        try {
            mode = Num::CInt(v);
        } catch (const AppError &) {
            mode = 0;
        }
    }
    frame->setWindowState(stateOf(mode));

    if (QTreeWidget *list = formList(form)) {
        for (int i = 0; i < list->columnCount(); ++i) {
            if (readNumber(section, QStringLiteral("column") + QString::number(i + 1), &v) && v >= 0)
                list->setColumnWidth(i, Twips::toPx(v));
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

    writeNumber(section, QStringLiteral("frmLeft"), Twips::fromPx(frame->x()));
    writeNumber(section, QStringLiteral("frmTop"), Twips::fromPx(frame->y()));
    writeNumber(section, QStringLiteral("frmWidth"), Twips::fromPx(frame->width()));
    writeNumber(section, QStringLiteral("frmHeight"), Twips::fromPx(frame->height()));

    if (QTreeWidget *list = formList(form)) {
        for (int i = 0; i < list->columnCount(); ++i)
            writeNumber(section, QStringLiteral("column") + QString::number(i + 1),
                        Twips::fromPx(list->header()->sectionSize(i)));
    }
}

} // namespace mdlFunction
