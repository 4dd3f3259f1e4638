// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManagerTestSupport.h"

#include "manage/frmIsoAddEdit.h"
#include "manage/frmIsoMgr.h"
#include "manage/frmTraceAddEdit.h"
#include "manage/frmTraceMgr.h"

#include <QDialog>
#include <QGroupBox>
#include <QRadioButton>

using namespace ManagerTest;

// ---- the isotope dialog -----------------------------------------------------

class IsoEditTest : public IsoDatabaseTest {
  protected:
    void SetUp() override
    {
        IsoDatabaseTest::SetUp();
        mgr = std::make_unique<frmIsoMgr>();
        mgr->Load();
        mgr->show();
        clickNode(mgr.get(), "氧同位素");
    }
    void TearDown() override
    {
        mgr->setCanSave(false);
        mgr->Unload();
    }
    // Opens the dialog with a toolbar button and hands it to the check.
    void withDialog(const char *key, std::function<void(QDialog *)> check)
    {
        bool seen = false;
        dialogs.onModal([&](QDialog *dlg) {
            seen = true;
            check(dlg);
        });
        clickButton(mgr.get(), key);
        EXPECT_TRUE(seen);
    }
    static QLineEdit *box(QDialog *dlg, int i)
    {
        return findNamed<QLineEdit>(dlg, QStringLiteral("Text1_%1").arg(i));
    }
    static void confirm(QDialog *dlg)
    {
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    }

    std::unique_ptr<frmIsoMgr> mgr;
};

TEST_F(IsoEditTest, AddModeShowsTheCurrentTypeLocked)
{
    withDialog("new", [](QDialog *dlg) {
        EXPECT_EQ(dlg->windowTitle(), "同位素温度计");
        EXPECT_EQ(findNamed<QGroupBox>(dlg, "fraIsotope")->title(), "新建");
        EXPECT_EQ(findNamed<QPushButton>(dlg, "Command1")->text(), "添加");
        EXPECT_EQ(findNamed<QPushButton>(dlg, "Command2")->text(), "取消");
        EXPECT_EQ(box(dlg, 0)->text(), "氧同位素");
        EXPECT_TRUE(box(dlg, 0)->isReadOnly());
        for (int i = 1; i <= 7; ++i) EXPECT_EQ(box(dlg, i)->text(), "");
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 1));
        QStringList labels;
        for (const char *name :
             {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8"})
            labels << findNamed<QLabel>(dlg, name)->text();
        EXPECT_EQ(labels, QStringList({"同位素", "矿物A", "矿物B", "常数A", "常数B", "常数C", "适用范围",
                                       "资料来源"}));
    });
}

TEST_F(IsoEditTest, TabOrderRunsThroughValuesButtonsThenType)
{
    withDialog("new", [](QDialog *dlg) {
        QStringList order;
        QWidget *w = box(dlg, 1);
        for (int i = 0; i < 15; ++i) {
            order << w->objectName();
            w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
        }
        EXPECT_EQ(order, QStringList({"Text1_1", "Text1_2", "Text1_3", "Text1_4", "Text1_5", "Text1_6",
                                      "Text1_7", "txtDataset", "txtDOI", "txtSigmaA", "txtSigmaB",
                                      "txtSigmaC", "Command1", "Command2", "Text1_0"}));
    });
}

TEST_F(IsoEditTest, ValidationStopsAtTheFirstFailureAndFocusesIt)
{
    withDialog("new", [this](QDialog *dlg) {
        retype(box(dlg, 1), "石英");
        confirm(dlg); // mineral B and constant A both empty: mineral B is named
        EXPECT_EQ(dialogs.lastMessage(), "不能为空！");
        EXPECT_EQ(dialogs.messages().last().caption, "Lorvane");
        EXPECT_EQ(dialogs.messages().last().buttons, Dialogs::Buttons::Ok);
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 2));
        EXPECT_TRUE(dlg->isVisible());

        retype(box(dlg, 2), " "); // one blank is text
        retype(box(dlg, 3), " 12.5 ");
        retype(box(dlg, 4), "abc");
        retype(box(dlg, 5), "1");
        confirm(dlg);
        EXPECT_EQ(dialogs.lastMessage(), "必须为数字！");
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 4));
        EXPECT_EQ(box(dlg, 4)->selectedText(), "abc");

        retype(box(dlg, 4), "2.5E+6");
        confirm(dlg);
        EXPECT_FALSE(dlg->isVisible());
    });
    QTreeWidgetItem *added = row(mgr.get(), rowCount(mgr.get()) - 1);
    EXPECT_EQ(PendingRows::Values(added, 3), QStringList({"石英", " ", " 12.5 "}));
    EXPECT_TRUE(mgr->canSave());
    clickButton(mgr.get(), "save");
    EXPECT_EQ(PendingRows::State(added), "ok");
    EXPECT_EQ(db.scalar("select ConstA_N from Isoplot where MinB_S=' '"), "12.5");
}

// A number single precision cannot hold would be stored as 0 or not at all:
// it is refused with its own message, like a text that is no number.
TEST_F(IsoEditTest, ConstantSinglePrecisionCannotHoldIsRefusedWithItsOwnMessage)
{
    withDialog("new", [this](QDialog *dlg) {
        retype(box(dlg, 1), "a");
        retype(box(dlg, 2), "b");
        retype(box(dlg, 3), "1E+99");
        retype(box(dlg, 4), "0");
        retype(box(dlg, 5), "1");
        confirm(dlg);
        ASSERT_FALSE(dialogs.messages().isEmpty());
        const ScriptedDialogs::Call shown = dialogs.messages().last();
        EXPECT_EQ(shown.text, "数值超出单精度范围");
        EXPECT_EQ(shown.caption, "Lorvane");
        EXPECT_EQ(shown.buttons, Dialogs::Buttons::Ok);
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 3));
        EXPECT_EQ(box(dlg, 3)->selectedText(), "1E+99");

        retype(box(dlg, 3), "2");
        retype(box(dlg, 5), " -1e-50 ");
        dialogs.clear();
        confirm(dlg);
        EXPECT_EQ(dialogs.lastMessage(), "数值超出单精度范围");
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 5));
        EXPECT_EQ(box(dlg, 5)->selectedText(), " -1e-50 ");
        EXPECT_TRUE(dlg->isVisible());

        // Zero written in any form is zero, and the smallest singles still fit.
        retype(box(dlg, 4), "0e-50");
        retype(box(dlg, 5), "1.2e-38");
        dialogs.clear();
        confirm(dlg);
        EXPECT_TRUE(dialogs.messages().isEmpty());
        EXPECT_FALSE(dlg->isVisible());
    });
    clickButton(mgr.get(), "save");
    EXPECT_EQ(db.scalar("select ConstC_N from Isoplot where MinA_S='a'"), "1.2E-38");
}

TEST_F(IsoEditTest, ModifyUnchangedClosesAndTouchesNothing)
{
    QTreeWidgetItem *r = rowWith(mgr.get(), 1, "钾长石");
    clickRow(mgr.get(), r);
    withDialog("modify", [](QDialog *dlg) {
        EXPECT_EQ(findNamed<QGroupBox>(dlg, "fraIsotope")->title(), "修改");
        EXPECT_EQ(findNamed<QPushButton>(dlg, "Command1")->text(), "确定");
        EXPECT_EQ(box(dlg, 0)->text(), "氧同位素");
        EXPECT_EQ(box(dlg, 1)->text(), "钾长石");
        EXPECT_EQ(box(dlg, 5)->text(), "-3.41");
        EXPECT_EQ(box(dlg, 7)->text(), "ref");
        retype(box(dlg, 1), " 钾长石 "); // only blanks around: not a change
        confirm(dlg);
        EXPECT_FALSE(dlg->isVisible());
    });
    EXPECT_EQ(PendingRows::State(r), "ok");
    EXPECT_EQ(r->text(1), "钾长石");
    EXPECT_FALSE(mgr->canSave());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(IsoEditTest, ModifyingAnAddedRowKeepsItAdded)
{
    withDialog("new", [](QDialog *dlg) {
        retype(box(dlg, 1), "方解石");
        retype(box(dlg, 2), "水");
        retype(box(dlg, 3), "2.78");
        retype(box(dlg, 4), "0");
        retype(box(dlg, 5), "-2.89");
        // Enter confirms.
        QTest::keyClick(box(dlg, 5), Qt::Key_Return);
        EXPECT_FALSE(dlg->isVisible());
    });
    withDialog("modify", [](QDialog *dlg) {
        retype(box(dlg, 6), "0-700");
        confirm(dlg);
    });
    QTreeWidgetItem *r = row(mgr.get(), 3);
    EXPECT_EQ(PendingRows::State(r), "add");
    EXPECT_EQ(PendingRows::IconKey(r), "add");
    EXPECT_EQ(r->text(6), "0-700");
}

TEST_F(IsoEditTest, EscapeAndCancelChangeNothing)
{
    clickRow(mgr.get(), row(mgr.get(), 0));
    withDialog("modify", [](QDialog *dlg) {
        retype(box(dlg, 1), "改");
        QTest::keyClick(box(dlg, 1), Qt::Key_Escape);
        EXPECT_FALSE(dlg->isVisible());
    });
    withDialog("modify", [](QDialog *dlg) {
        retype(box(dlg, 1), "改");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command2"), Qt::LeftButton);
        EXPECT_FALSE(dlg->isVisible());
    });
    EXPECT_EQ(row(mgr.get(), 0)->text(1), "石英");
    EXPECT_EQ(PendingRows::State(row(mgr.get(), 0)), "ok");
    EXPECT_FALSE(mgr->canSave());
}

TEST_F(IsoEditTest, ModifyingAFailedRowClearsItsFailureNote)
{
    clickRow(mgr.get(), row(mgr.get(), 0));
    withDialog("modify", [](QDialog *dlg) {
        retype(box(dlg, 6), "x");
        confirm(dlg);
    });
    withDialog("modify", [](QDialog *dlg) {
        retype(box(dlg, 6), "200-500");
        confirm(dlg);
    });
    clickButton(mgr.get(), "save");
    ASSERT_EQ(PendingRows::IconKey(row(mgr.get(), 0)), "editerror");
    withDialog("modify", [](QDialog *dlg) {
        retype(box(dlg, 6), "250-500");
        confirm(dlg);
    });
    EXPECT_EQ(PendingRows::IconKey(row(mgr.get(), 0)), "edit");
    EXPECT_EQ(PendingRows::ToolTip(row(mgr.get(), 0)), "");
    clickButton(mgr.get(), "save");
    EXPECT_EQ(PendingRows::IconKey(row(mgr.get(), 0)), "ok");
    EXPECT_FALSE(mgr->canSave());
}

// ---- the trace-element dialog -------------------------------------------------

class TraceEditTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (1,'Ti','锆石','金红石',-3765,5.5,'10','r1')");
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (2,'Ti','石英','金红石',-3000,4,'e','')");
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (3,'Ti','石英','熔体',-2000,3,'x','')");
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (4,'Ti','长石','熔体',-1000,2,'','')");
        mgr = std::make_unique<frmTraceMgr>();
        mgr->Load();
        mgr->show();
        clickNode(mgr.get(), "Ti");
    }
    void TearDown() override
    {
        mgr->setHasSaved(true);
        mgr->Unload();
    }
    void withDialog(const char *key, std::function<void(QDialog *)> check)
    {
        bool seen = false;
        dialogs.onModal([&](QDialog *dlg) {
            seen = true;
            check(dlg);
        });
        clickButton(mgr.get(), key);
        EXPECT_TRUE(seen);
    }
    void modifyRow(int r, std::function<void(QDialog *)> check)
    {
        clickRow(mgr.get(), row(mgr.get(), r));
        withDialog("modify", std::move(check));
    }
    static QLineEdit *box(QDialog *dlg, int i)
    {
        return findNamed<QLineEdit>(dlg, QStringLiteral("Text2_%1").arg(i));
    }
    static QRadioButton *option(QDialog *dlg, const char *name) { return findNamed<QRadioButton>(dlg, name); }

    TempDatabase db;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmTraceMgr> mgr;
};

TEST_F(TraceEditTest, LogTypeOpensTheMatchingOption)
{
    modifyRow(0, [](QDialog *dlg) {
        EXPECT_EQ(dlg->windowTitle(), "微量元素温度计");
        EXPECT_EQ(findNamed<QGroupBox>(dlg, "fraTrace")->title(), "修改");
        EXPECT_EQ(box(dlg, 0)->text(), "Ti");
        EXPECT_EQ(box(dlg, 6)->text(), "r1");
        EXPECT_TRUE(option(dlg, "Option2")->isChecked());
        EXPECT_EQ(option(dlg, "Option1")->text(), "E");
        EXPECT_EQ(option(dlg, "Option2")->text(), "10");
        dlg->reject();
    });
    modifyRow(1, [](QDialog *dlg) {
        EXPECT_TRUE(option(dlg, "Option1")->isChecked());
        EXPECT_EQ(box(dlg, 5)->text(), "e");
        dlg->reject();
    });
    // Any other type opens with "10" shown but keeps its text: confirming changes nothing.
    modifyRow(2, [](QDialog *dlg) {
        EXPECT_TRUE(option(dlg, "Option2")->isChecked());
        EXPECT_EQ(box(dlg, 5)->text(), "x");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        EXPECT_FALSE(dlg->isVisible());
    });
    EXPECT_EQ(PendingRows::State(row(mgr.get(), 2)), "ok");
    EXPECT_TRUE(mgr->hasSaved());
    modifyRow(3, [](QDialog *dlg) {
        EXPECT_FALSE(option(dlg, "Option1")->isChecked());
        EXPECT_FALSE(option(dlg, "Option2")->isChecked());
        EXPECT_EQ(box(dlg, 5)->text(), "");
        dlg->reject();
    });
}

TEST_F(TraceEditTest, OptionsWriteTheLogTypeAndARemarkChangeMarksTheRow)
{
    modifyRow(0, [](QDialog *dlg) {
        QTest::mouseClick(option(dlg, "Option1"), Qt::LeftButton);
        EXPECT_EQ(box(dlg, 5)->text(), "e");
        QTest::mouseClick(option(dlg, "Option2"), Qt::LeftButton);
        EXPECT_EQ(box(dlg, 5)->text(), "10");
        retype(box(dlg, 6), "新备注");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    QTreeWidgetItem *r = row(mgr.get(), 0);
    EXPECT_EQ(PendingRows::State(r), "edit");
    EXPECT_EQ(r->text(6), "新备注");
    EXPECT_EQ(r->text(5), "10");
    EXPECT_FALSE(mgr->hasSaved());
    EXPECT_TRUE(button(mgr.get(), "save")->isEnabled());
}

TEST_F(TraceEditTest, AddValidatesMineralsThenConstants)
{
    withDialog("new", [this](QDialog *dlg) {
        EXPECT_EQ(findNamed<QGroupBox>(dlg, "fraTrace")->title(), "新建");
        EXPECT_EQ(findNamed<QPushButton>(dlg, "Command1")->text(), "添加");
        EXPECT_EQ(box(dlg, 0)->text(), "Ti");
        EXPECT_TRUE(box(dlg, 0)->isReadOnly());
        EXPECT_FALSE(option(dlg, "Option1")->isChecked());
        EXPECT_FALSE(option(dlg, "Option2")->isChecked());
        retype(box(dlg, 1), "锆石");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        EXPECT_EQ(dialogs.lastMessage(), "不能为空！");
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 2));
        retype(box(dlg, 2), "熔体");
        retype(box(dlg, 3), "12.5x");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        EXPECT_EQ(dialogs.lastMessage(), "必须为数字！");
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 3));
        retype(box(dlg, 3), " 12.5 ");
        retype(box(dlg, 4), "-1");
        QTest::mouseClick(option(dlg, "Option1"), Qt::LeftButton);
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        EXPECT_FALSE(dlg->isVisible());
    });
    QTreeWidgetItem *r = row(mgr.get(), 4);
    EXPECT_EQ(PendingRows::State(r), "add");
    EXPECT_EQ(PendingRows::Values(r, 7), QStringList({"锆石", "熔体", " 12.5 ", "-1", "e", "", ""}));
    EXPECT_FALSE(mgr->hasSaved());
}

// The log type is the user's to change: a row of type "E" or "ln" keeps it when
// only its remark is edited, and changes only when the other option is chosen.
TEST_F(TraceEditTest, LogTypeIsRewrittenOnlyByChoosingAnOption)
{
    db.exec("insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (5,'Ti','榍石','熔体',-500,1,'E','')");
    db.exec("insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (6,'Ti','磷灰石','熔体',-600,1,'ln','')");
    clickButton(mgr.get(), "refresh");
    QTreeWidgetItem *upper = rowWith(mgr.get(), 1, "榍石");
    QTreeWidgetItem *ln = rowWith(mgr.get(), 1, "磷灰石");
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(ln, nullptr);

    clickRow(mgr.get(), upper);
    withDialog("modify", [](QDialog *dlg) {
        EXPECT_TRUE(option(dlg, "Option1")->isChecked()) << "E is the natural logarithm";
        EXPECT_EQ(box(dlg, 5)->text(), "E");
        retype(box(dlg, 6), "只改备注");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickRow(mgr.get(), ln);
    withDialog("modify", [](QDialog *dlg) {
        EXPECT_TRUE(option(dlg, "Option2")->isChecked());
        EXPECT_EQ(box(dlg, 5)->text(), "ln");
        retype(box(dlg, 6), "也只改备注");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    EXPECT_EQ(upper->text(5), "E");
    EXPECT_EQ(ln->text(5), "ln");
    clickButton(mgr.get(), "save");
    EXPECT_EQ(db.scalar("select LogType_s from TraceElement where ID_N=5"), "E");
    EXPECT_EQ(db.scalar("select Mark_s from TraceElement where ID_N=5"), "只改备注");
    EXPECT_EQ(db.scalar("select LogType_s from TraceElement where ID_N=6"), "ln");

    // Choosing an option is a change of the type, also the option already shown.
    clickRow(mgr.get(), upper);
    withDialog("modify", [](QDialog *dlg) {
        QTest::mouseClick(option(dlg, "Option2"), Qt::LeftButton);
        EXPECT_EQ(box(dlg, 5)->text(), "10");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickRow(mgr.get(), ln);
    withDialog("modify", [](QDialog *dlg) {
        QTest::mouseClick(option(dlg, "Option2"), Qt::LeftButton);
        EXPECT_EQ(box(dlg, 5)->text(), "10");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickButton(mgr.get(), "save");
    EXPECT_EQ(db.scalar("select LogType_s from TraceElement where ID_N=5"), "10");
    EXPECT_EQ(db.scalar("select LogType_s from TraceElement where ID_N=6"), "10");
}

TEST_F(TraceEditTest, ConstantSinglePrecisionCannotHoldIsRefused)
{
    withDialog("new", [this](QDialog *dlg) {
        retype(box(dlg, 1), "锆石");
        retype(box(dlg, 2), "熔体");
        retype(box(dlg, 3), "1e-50");
        retype(box(dlg, 4), "1");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        EXPECT_EQ(dialogs.lastMessage(), "数值超出单精度范围");
        EXPECT_EQ(dlg->focusWidget(), box(dlg, 3));
        EXPECT_EQ(box(dlg, 3)->selectedText(), "1e-50");
        dlg->reject();
    });
    EXPECT_EQ(rowCount(mgr.get()), 4);
}

// ---- the trace-element dialog: the terms ------------------------------------

namespace {

const char *const kTermBoxes[] = {"txtC",     "txtN",      "txtE",      "txtF",
                                  "txtXName", "txtNuSiO2", "txtNuTiO2", "txtKUnit"};

// A Ti-in-zircon row as Ferry & Watson (2007) give it: log Ti = 5.711 − 4800/T
// − log aSiO2 + log aTiO2.
const char kZirconRow[] =
    "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s,"
    "ConstC_sng,PowerN_sng,ConstE_sng,ConstF_sng,XName_s,NuSiO2_sng,NuTiO2_sng,KUnit_s) values "
    "(7,'Ti','锆石','单矿物',-4800,5.711,'10','FW2007',0,1,0,0,'',-1,1,'ppm Ti（锆石）')";

} // namespace

// The dialog shows a stored row's terms under their labels; editing stores the
// terms as shown: the untouched ones as they were, an emptied box as its default.
TEST_F(TraceEditTest, TermsOfAStoredRowAreShownAndStoredAsShown)
{
    db.exec(kZirconRow);
    clickButton(mgr.get(), "refresh");
    QTreeWidgetItem *zircon = rowWith(mgr.get(), 2, "单矿物");
    clickRow(mgr.get(), zircon);
    withDialog("modify", [](QDialog *dlg) {
        const char *const labels[][2] = {{"lblC", "压力项C"},       {"lblN", "指数n"},
                                         {"lblE", "成分项E"},       {"lblF", "成分项F"},
                                         {"lblXName", "成分变量X"}, {"lblNuSiO2", "ν(SiO2)"},
                                         {"lblNuTiO2", "ν(TiO2)"},  {"lblKUnit", "K的含义"}};
        const QStringList shown{"0", "1", "0", "0", "", "-1", "1", "ppm Ti（锆石）"};
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(findNamed<QLineEdit>(dlg, kTermBoxes[i])->text(), shown[i]) << kTermBoxes[i];
            EXPECT_EQ(findNamed<QLabel>(dlg, labels[i][0])->text(), QString::fromUtf8(labels[i][1]));
        }
        retype(box(dlg, 6), "只改备注");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickButton(mgr.get(), "save");
    EXPECT_EQ(
        storedTraceRow(db.conn(), "ID_N=7").mid(6),
        QStringList({"只改备注", "", "0", "1", "0", "0", "", "-1", "1", "ppm Ti（锆石）", "", "", "", ""}));

    clickRow(mgr.get(), zircon);
    withDialog("modify", [](QDialog *dlg) {
        retype(findNamed<QLineEdit>(dlg, "txtNuSiO2"), "");
        retype(findNamed<QLineEdit>(dlg, "txtC"), " -96 ");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickButton(mgr.get(), "save");
    const QStringList stored{"-96", "1", "0", "0", "", "0", "1", "ppm Ti（锆石）"};
    EXPECT_EQ(storedTraceRow(db.conn(), "ID_N=7").mid(8, 8), stored);
    EXPECT_EQ(PendingRows::Values(zircon, 15).mid(7), stored) << "the saved row shows what is stored";

    // Its published σ alone: not a duplicate of itself, stored beside it. A σ below 0 is refused.
    clickRow(mgr.get(), zircon);
    withDialog("modify", [this](QDialog *dlg) {
        retype(findNamed<QLineEdit>(dlg, "txtSigmaA"), "-86");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        EXPECT_EQ(dialogs.lastMessage(), "σ不能为负");
        EXPECT_EQ(dlg->focusWidget(), findNamed<QLineEdit>(dlg, "txtSigmaA"));
        retype(findNamed<QLineEdit>(dlg, "txtSigmaA"), "86");
        retype(findNamed<QLineEdit>(dlg, "txtSigmaB"), "0.072");
        QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
    });
    clickButton(mgr.get(), "save");
    EXPECT_EQ(PendingRows::IconKey(zircon), "ok") << PendingRows::ToolTip(zircon).toStdString();
    EXPECT_EQ(storedTraceRow(db.conn(), "ID_N=7").mid(8), stored + QStringList({"86", "0.072", "0", ""}));
    EXPECT_EQ(PendingRows::Values(zircon, 19).mid(15), QStringList({"86", "0.072", "0", ""}));
}

// Each term box takes a number the way 常数A does, or nothing for its default;
// then the boxes are judged together. The first failure is named and focused.
TEST_F(TraceEditTest, TermsAreCheckedOneByOneThenTogether)
{
    struct Case {
        QStringList typed; // in the order of kTermBoxes
        QString message;   // "" accepted
        int focused;
    };
    const Case cases[] = {
        {{"abc"}, "必须为数字！", 0},
        {{"", "", "", " -1e-50 ", "", "", "1e99"}, "数值超出单精度范围", 3},
        {{"x", "0", "", "1"}, "必须为数字！", 0}, // numbers first, then what they say together
        {{"-660", "0"}, "指数n必须大于0", 1},
        {{"", "", "", "0.9855072"}, "请输入成分变量X的名称", 4},
        {{"-660", ""}, "", -1},          // n empty: 1
        {{"0", "-2", "0", "0"}, "", -1}, // neither pressure nor composition: n and X unused
        {{"-660", "0.35", "", "0.9855072", "Cr#", "-1", "1", "ppm"}, "", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.join(QLatin1Char('|')).toStdString());
        dialogs.clear();
        const int before = rowCount(mgr.get());
        withDialog("new", [&](QDialog *dlg) {
            const QStringList values{"锆石", "熔体", "-4800", "5.711"};
            for (int i = 0; i < 4; ++i) retype(box(dlg, i + 1), values[i]);
            for (int i = 0; i < c.typed.size(); ++i)
                retype(findNamed<QLineEdit>(dlg, kTermBoxes[i]), c.typed[i]);
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
            EXPECT_EQ(dialogs.lastMessage(), c.message);
            if (c.focused < 0) return;
            auto *focused = findNamed<QLineEdit>(dlg, kTermBoxes[c.focused]);
            EXPECT_EQ(dlg->focusWidget(), focused);
            EXPECT_EQ(focused->selectedText(), focused->text());
            dlg->reject();
        });
        ASSERT_EQ(rowCount(mgr.get()), before + (c.message.isEmpty() ? 1 : 0));
        if (!c.message.isEmpty()) continue;
        QStringList expected = c.typed;
        while (expected.size() < 8) expected << QString();
        EXPECT_EQ(PendingRows::Values(row(mgr.get(), before), 15).mid(7), expected);
    }
}
