// SPDX-License-Identifier: GPL-3.0-or-later
// The four About windows: captions, fixed sizes, the keys that close them.
#include "shell/frmAbout.h"
#include "shell/frmIsoAbout.h"
#include "shell/frmOlivineAbout.h"
#include "shell/frmTraceAbout.h"
#include "support/ui/ScriptedDialogs.h"
#include "support/ui/Widgets.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Shows an About window through its helper, presses one key in it, and
// reports whether that key closed it.
template <typename Window> bool keyCloses(Qt::Key key)
{
    ScriptedDialogs dialogs;
    bool closedByKey = false;
    dialogs.onModal([&](QDialog *dlg) {
        QWidget *target = dlg->focusWidget() ? dlg->focusWidget() : dlg;
        QTest::keyClick(target, key);
        closedByKey = !dlg->isVisible();
    });
    Window::ShowModal(nullptr);
    EXPECT_EQ(dialogs.calls().size(), 1);
    return closedByKey;
}

struct Shape {
    QString name, caption;
    QSize client;
};

template <typename Window> Shape shapeOf()
{
    Window w;
    return {w.objectName(), w.windowTitle(), w.size()};
}

TEST(AboutWindows, CaptionsAndFixedClientSizes)
{
    const Shape about = shapeOf<frmAbout>();
    EXPECT_EQ(about.caption, QStringLiteral("关于 Lorvane"));
    EXPECT_EQ(about.client, QSize(396, 167)); // 5940 x 2505 twips
    const Shape iso = shapeOf<frmIsoAbout>();
    EXPECT_EQ(iso.caption, QStringLiteral("关于 同位素Lorvane"));
    EXPECT_EQ(iso.client, QSize(509, 123));
    const Shape trace = shapeOf<frmTraceAbout>();
    EXPECT_EQ(trace.caption, QStringLiteral("关于 微量元素Lorvane"));
    EXPECT_EQ(trace.client, QSize(425, 130));
    const Shape olivine = shapeOf<frmOlivineAbout>();
    EXPECT_EQ(olivine.caption, QStringLiteral("关于 橄榄石温度计"));
    EXPECT_EQ(olivine.client, QSize(559, 184));

    frmOlivineAbout w;
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(AboutWindows, ProgramAboutShowsVersionThanksAndOk)
{
    frmAbout w;
    EXPECT_EQ(findNamed<QLabel>(&w, QStringLiteral("Label1"))->text(), QStringLiteral("程序版本：V1.0"));
    EXPECT_EQ(findNamed<QLabel>(&w, QStringLiteral("Label4"))->text(), QStringLiteral("感谢您的使用！"));
    EXPECT_FALSE(findNamed<QLabel>(&w, QStringLiteral("Label2"))->text().isEmpty());
    EXPECT_FALSE(findNamed<QLabel>(&w, QStringLiteral("Label3"))->text().isEmpty());
    QPushButton *ok = findNamed<QPushButton>(&w, QStringLiteral("cmdOK"));
    EXPECT_EQ(ok->text(), QStringLiteral("确定"));
    EXPECT_TRUE(ok->isDefault());
}

TEST(AboutWindows, OkClickClosesTheProgramAbout)
{
    ScriptedDialogs dialogs;
    dialogs.onModal([](QDialog *dlg) {
        QTest::mouseClick(findNamed<QPushButton>(dlg, QStringLiteral("cmdOK")), Qt::LeftButton);
        EXPECT_FALSE(dlg->isVisible());
    });
    EXPECT_EQ(frmAbout::ShowModal(nullptr), QDialog::Accepted);
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("关于 Lorvane"));
}

TEST(AboutWindows, EnterAndEscCloseTheProgramAbout)
{
    EXPECT_TRUE(keyCloses<frmAbout>(Qt::Key_Return));
    EXPECT_TRUE(keyCloses<frmAbout>(Qt::Key_Escape));
    EXPECT_FALSE(keyCloses<frmAbout>(Qt::Key_A));
}

TEST(AboutWindows, NoKeyClosesTheIsotopeAbout)
{
    EXPECT_FALSE(keyCloses<frmIsoAbout>(Qt::Key_Return));
    EXPECT_FALSE(keyCloses<frmIsoAbout>(Qt::Key_Enter));
    EXPECT_FALSE(keyCloses<frmIsoAbout>(Qt::Key_Escape));
}

TEST(AboutWindows, OnlyEnterClosesTheTraceAndOlivineAbouts)
{
    EXPECT_TRUE(keyCloses<frmTraceAbout>(Qt::Key_Return));
    EXPECT_TRUE(keyCloses<frmTraceAbout>(Qt::Key_Enter));
    EXPECT_FALSE(keyCloses<frmTraceAbout>(Qt::Key_Escape));
    EXPECT_FALSE(keyCloses<frmTraceAbout>(Qt::Key_Space));
    EXPECT_TRUE(keyCloses<frmOlivineAbout>(Qt::Key_Return));
    EXPECT_FALSE(keyCloses<frmOlivineAbout>(Qt::Key_Escape));
}

TEST(AboutWindows, EquationPicturesFillTheirControls)
{
    frmIsoAbout iso;
    QLabel *image = findNamed<QLabel>(&iso, QStringLiteral("Image1"));
    ASSERT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(image->pixmap().deviceIndependentSize().toSize(), image->size());
    EXPECT_TRUE(iso.rect().contains(image->geometry()));
    frmTraceAbout trace;
    QLabel *picture = findNamed<QLabel>(&trace, QStringLiteral("Picture1"));
    ASSERT_FALSE(picture->pixmap().isNull());
    EXPECT_TRUE(trace.rect().contains(picture->geometry()));
}

TEST(AboutWindows, OlivineAboutExplainsTheFourInputs)
{
    frmOlivineAbout w;
    EXPECT_EQ(findNamed<QLabel>(&w, QStringLiteral("Label1"))->text(),
              QStringLiteral("XFo：橄榄石晶体中镁橄榄石的克分子数"));
    EXPECT_EQ(findNamed<QLabel>(&w, QStringLiteral("Label2"))->text(),
              QStringLiteral("XFa：橄榄石晶体中铁橄榄石的克分子数"));
    EXPECT_EQ(findNamed<QLabel>(&w, QStringLiteral("Label3"))->text(),
              QStringLiteral("XMg：元素Mg在熔浆中原子分数"));
    EXPECT_EQ(findNamed<QLabel>(&w, QStringLiteral("Label4"))->text(),
              QStringLiteral("XFe：元素Fe在熔浆中原子分数"));
    EXPECT_EQ(findNamed<QLabel>(&w, QStringLiteral("Label5"))->text(), QStringLiteral("具体请参考："));
    // Every label's text fits its place.
    for (QLabel *label : w.findChildren<QLabel *>()) {
        EXPECT_TRUE(w.rect().contains(label->geometry())) << label->objectName().toStdString();
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
        EXPECT_LE(label->sizeHint().height(), label->height()) << label->objectName().toStdString();
    }
}

} // namespace
