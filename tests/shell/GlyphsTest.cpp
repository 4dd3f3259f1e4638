// SPDX-License-Identifier: GPL-3.0-or-later
// Every character a window shows must be drawn. A font may map a character to
// an empty outline (WenQuanYi Micro Hei's ℃), which Qt takes as drawn and does
// not replace from another font; so the test looks at the ink of each glyph in
// the font the widget really uses, with the program's own font set-up.
#include "manage/frmIsoMgr.h"
#include "manage/frmTraceMgr.h"
#include "shell/RegisterForms.h"
#include "shell/frmAbout.h"
#include "shell/frmIsoAbout.h"
#include "shell/frmMain.h"
#include "shell/frmOlivineAbout.h"
#include "shell/frmTraceAbout.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"
#include "ui/FormFactory.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGlyphRun>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainterPath>
#include <QRawFont>
#include <QSet>
#include <QTest>
#include <QTextLayout>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// Collects every character whose glyph has no ink, with where it was seen.
class InkCheck {
  public:
    void text(const QString &where, QString text, const QFont &font)
    {
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        text.remove(QLatin1Char('&'));
        text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        for (qsizetype i = 0; i < text.size(); ++i) {
            QString ch = text.mid(i, 1);
            if (text[i].isHighSurrogate() && i + 1 < text.size()) ch = text.mid(i++, 2);
            if (ch.trimmed().isEmpty() || ch[0].category() == QChar::Other_Control) continue;
            ++checked_;
            if (!drawn(ch, font)) {
                const QString problem = where + QStringLiteral(": '") + ch + QStringLiteral("' in \"") +
                                        text + QStringLiteral("\" (") +
                                        font.families().join(QLatin1Char(',')) + QLatin1Char(')');
                problems_.insert(problem);
            }
        }
    }

    void widgetTree(const QString &where, QWidget *root)
    {
        text(where + QStringLiteral(" caption"), root->windowTitle(), QApplication::font());
        QList<QWidget *> widgets = root->findChildren<QWidget *>();
        widgets.prepend(root);
        for (QWidget *w : widgets) {
            if (!w->isVisibleTo(root) && w != root) continue;
            const QString at = where + QLatin1Char('/') + w->objectName();
            if (auto *l = qobject_cast<QLabel *>(w)) text(at, l->text(), l->font());
            if (auto *b = qobject_cast<QAbstractButton *>(w)) text(at, b->text(), b->font());
            if (auto *g = qobject_cast<QGroupBox *>(w)) text(at, g->title(), g->font());
            if (auto *e = qobject_cast<QLineEdit *>(w)) text(at, e->text(), e->font());
            if (auto *c = qobject_cast<QComboBox *>(w)) {
                text(at, c->currentText(), c->font());
                for (int i = 0; i < c->count(); ++i) text(at, c->itemText(i), c->font());
            }
            if (auto *t = qobject_cast<QTreeWidget *>(w)) {
                for (int col = 0; col < t->columnCount(); ++col)
                    text(at + QStringLiteral(" header"), t->headerItem()->text(col), t->header()->font());
                for (QTreeWidgetItemIterator it(t); *it; ++it)
                    for (int col = 0; col < t->columnCount(); ++col)
                        text(at, (*it)->text(col), (*it)->font(col));
            }
            if (auto *bar = qobject_cast<QToolBar *>(w))
                for (QAction *a : bar->actions()) text(at, a->text(), bar->font());
            if (auto *m = qobject_cast<QMenuBar *>(w))
                for (QAction *a : m->actions()) menu(at, a, m->font());
        }
    }

    void menu(const QString &where, QAction *action, const QFont &font)
    {
        text(where, action->text(), font);
        if (QMenu *sub = action->menu())
            for (QAction *a : sub->actions()) menu(where + QLatin1Char('/') + action->text(), a, sub->font());
    }

    QStringList problems() const
    {
        QStringList list(problems_.begin(), problems_.end());
        list.sort();
        return list;
    }
    int checked() const { return checked_; }

  private:
    bool drawn(const QString &ch, const QFont &font)
    {
        const QString key = font.key() + QLatin1Char('|') + ch;
        auto it = cache_.find(key);
        if (it != cache_.end()) return *it;
        QTextLayout layout(ch, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        bool ink = false;
        for (const QGlyphRun &run : layout.glyphRuns()) {
            for (quint32 glyph : run.glyphIndexes()) {
                // Glyph 0 is the font's "missing" box: ink, but not the character.
                ink = glyph != 0 && !run.rawFont().pathForGlyph(glyph).isEmpty();
                if (!ink) break;
            }
            if (!ink) break;
        }
        cache_.insert(key, ink);
        return ink;
    }

    QHash<QString, bool> cache_;
    QSet<QString> problems_;
    int checked_ = 0;
};

class Glyphs : public ::testing::Test {
  protected:
    void SetUp() override
    {
        RegisterAllForms();
        main = std::make_unique<frmMain>();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    void TearDown() override
    {
        for (QMdiSubWindow *sub : main->mdiArea()->subWindowList())
            if (auto *m = qobject_cast<CalibrationManager *>(sub->widget())) m->setPending(false);
        dialogs.answer(Dialogs::Answer::Yes); // the exit question
        main->close();
    }

    // Walks the next modal window the action opens, then closes it.
    void walkModal(const QString &where, const std::function<void()> &open)
    {
        bool seen = false;
        dialogs.onModal([&](QDialog *d) {
            d->show();
            ink.widgetTree(where, d);
            seen = true;
            d->reject();
        });
        open();
        EXPECT_TRUE(seen) << where.toStdString();
    }

    // Lists the rows of the manager's first type or element.
    static void clickNode(QWidget *manager, const QString &text)
    {
        auto *tree = findNamed<QTreeWidget>(manager, QStringLiteral("TreeView1"));
        const QList<QTreeWidgetItem *> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        QTreeWidgetItem *node = found.first();
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    }

    TempDatabase db{true};
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> main;
    InkCheck ink;
};

} // namespace

TEST_F(Glyphs, EveryCharacterOfEveryWindowHasInk)
{
    ink.widgetTree(QStringLiteral("frmMain"), main.get());

    for (const char *name : {"frmCalculateIso", "frmCalculateTrace", "frmGLS", "frmIsoMgr", "frmTraceMgr",
                             "frmIsoBatch", "frmTraceBatch"}) {
        ChildForm *child = main->ShowForm(QString::fromLatin1(name));
        ASSERT_TRUE(child) << name;
        if (QString::fromLatin1(name) == QStringLiteral("frmCalculateIso")) {
            // A calculation on quartz-water: results, the temperature column and a range notice.
            auto *lst1 = findNamed<QComboBox>(child, QStringLiteral("lst1"));
            auto *lst2 = findNamed<QComboBox>(child, QStringLiteral("lst2"));
            auto *lst3 = findNamed<QComboBox>(child, QStringLiteral("lst3"));
            lst1->setCurrentIndex(lst1->findText(QStringLiteral("氧同位素")));
            emit lst1->activated(lst1->currentIndex());
            lst2->setCurrentIndex(lst2->findText(QStringLiteral("石英")));
            emit lst2->activated(lst2->currentIndex());
            lst3->setCurrentIndex(lst3->findText(QStringLiteral("水")));
            emit lst3->activated(lst3->currentIndex());
            findNamed<QLineEdit>(child, QStringLiteral("txtMinAValue"))->setText(QStringLiteral("20"));
            findNamed<QLineEdit>(child, QStringLiteral("txtMinBValue"))->setText(QStringLiteral("2"));
            findNamed<QAbstractButton>(child, QStringLiteral("Command1"))->click();
            EXPECT_FALSE(findNamed<QLabel>(child, QStringLiteral("StatusBar1_3"))->text().isEmpty());
        }
        QWidget *frame = child->parentWidget() ? child->parentWidget() : child;
        ink.widgetTree(QString::fromLatin1(name), frame);
        if (auto *iso = qobject_cast<frmIsoMgr *>(child)) {
            clickNode(iso, QStringLiteral("氧同位素"));
            walkModal(QStringLiteral("frmIsoAddEdit"),
                      [&] { findNamed<QAction>(iso, QStringLiteral("new"))->trigger(); });
            walkModal(QStringLiteral("frmIsotopeList"), [&] {
                QWidget *label = findNamed<QLabel>(iso, QStringLiteral("Label4"));
                QTest::mouseClick(label, Qt::LeftButton);
            });
        }
        if (auto *trace = qobject_cast<frmTraceMgr *>(child)) {
            // The add dialog waits for a current element.
            auto *tree = findNamed<QTreeWidget>(trace, QStringLiteral("TreeView1"));
            if (tree && tree->topLevelItemCount() > 0 && tree->topLevelItem(0)->childCount() > 0) {
                QTreeWidgetItem *element = tree->topLevelItem(0)->child(0);
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                                  tree->visualItemRect(element).center());
            }
            walkModal(QStringLiteral("frmTraceAddEdit"),
                      [&] { findNamed<QAction>(trace, QStringLiteral("new"))->trigger(); });
        }
    }

    walkModal(QStringLiteral("frmAbout"), [&] { frmAbout::ShowModal(main.get()); });
    walkModal(QStringLiteral("frmIsoAbout"), [&] { frmIsoAbout::ShowModal(main.get()); });
    walkModal(QStringLiteral("frmTraceAbout"), [&] { frmTraceAbout::ShowModal(main.get()); });
    walkModal(QStringLiteral("frmOlivineAbout"), [&] { frmOlivineAbout::ShowModal(main.get()); });

    EXPECT_GT(ink.checked(), 1000);
    const QStringList problems = ink.problems();
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}
