// SPDX-License-Identifier: GPL-3.0-or-later
// The paths on which a manager could lose pending rows or leave the user
// waiting without a word: the root node, the type list, a locked or damaged
// database.
#include "ManagerTestSupport.h"

#include "manage/frmIsoMgr.h"
#include "manage/frmIsotopeList.h"
#include "manage/frmTraceMgr.h"

#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <sqlite3.h>

using namespace ManagerTest;

namespace {

const QString kTreeQuestion = QStringLiteral("当前修改未保存，立即保存？");
const QString kCloseQuestion = QStringLiteral("修改尚未保存,立即保存？");

int countQuestions(const ScriptedDialogs &dialogs, const QString &text)
{
    int n = 0;
    for (const auto &c : dialogs.messages())
        if (c.text == text) ++n;
    return n;
}

// A second program holding the database: "begin exclusive" on a connection of its own.
class OtherProgram {
  public:
    explicit OtherProgram(const QString &path)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &db_);
        EXPECT_EQ(sqlite3_exec(db_, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~OtherProgram() { release(); }
    void release()
    {
        if (!db_) return;
        sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
        db_ = nullptr;
    }

  private:
    sqlite3 *db_ = nullptr;
};

// Counts the statements a connection starts that read or write a table.
class StatementCounter {
  public:
    StatementCounter(sqlite3 *db, const char *table) : db_(db), table_(table)
    {
        sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, &StatementCounter::onStatement, this);
    }
    ~StatementCounter() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
    int count() const { return count_; }

  private:
    static int onStatement(unsigned, void *self, void *, void *sql)
    {
        auto *me = static_cast<StatementCounter *>(self);
        if (QByteArray(static_cast<const char *>(sql)).contains(me->table_)) ++me->count_;
        return 0;
    }
    sqlite3 *db_;
    QByteArray table_;
    int count_ = 0;
};

} // namespace

// ---- the trace-element manager's root node --------------------------------

class TraceRootTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (1,'Fe','石英','熔体',-3765,5.5,'10','r1')");
        db.exec(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (2,'Ti','锆石','金红石',-2000,3,'10','')");
        mgr = std::make_unique<frmTraceMgr>();
        mgr->Load();
        mgr->show();
    }
    void TearDown() override
    {
        if (!mgr->isUnloaded()) {
            mgr->setHasSaved(true);
            mgr->Unload();
        }
    }
    void changeRemark(const QString &text)
    {
        clickRow(mgr.get(), row(mgr.get(), 0));
        dialogs.onModal([text](QDialog *dlg) {
            retype(findNamed<QLineEdit>(dlg, "Text2_6"), text);
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        });
        clickButton(mgr.get(), "modify");
    }

    TempDatabase db;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmTraceMgr> mgr;
};

TEST_F(TraceRootTest, NoOnTheRootKeepsTheChangesPendingAndEveryLaterQuestion)
{
    frmTraceMgr *w = mgr.get();
    clickNode(w, "Ti");
    changeRemark("改过");
    ASSERT_FALSE(w->hasSaved());

    dialogs.answer(Dialogs::Answer::No);
    clickNode(w, "元素");
    EXPECT_EQ(countQuestions(dialogs, kTreeQuestion), 1);
    EXPECT_EQ(label(w, "lblTotal"), "总记录：1");
    EXPECT_FALSE(w->hasSaved()) << "the list stayed, so its changes are still pending";
    EXPECT_TRUE(button(w, "save")->isEnabled());
    EXPECT_EQ(PendingRows::State(row(w, 0)), "edit");

    // Back onto the element with the arrow keys, then onto the root again: asked each time.
    dialogs.answer(Dialogs::Answer::Cancel);
    tree(w)->setFocus();
    QTest::keyClick(tree(w), Qt::Key_Down);
    EXPECT_EQ(countQuestions(dialogs, kTreeQuestion), 2);
    dialogs.answer(Dialogs::Answer::No);
    clickNode(w, "元素");
    EXPECT_EQ(countQuestions(dialogs, kTreeQuestion), 3);
    EXPECT_FALSE(w->hasSaved());

    // Closing still asks, and Yes stores the change.
    dialogs.answer(Dialogs::Answer::Yes);
    EXPECT_TRUE(w->Unload());
    EXPECT_EQ(dialogs.lastMessage(), kCloseQuestion);
    EXPECT_EQ(db.scalar("select Mark_s from TraceElement where ID_N=2"), "改过");
}

// ---- the isotope type list and the manager's pending rows ----------------------

class TypeListFromManagerTest : public IsoDatabaseTest {
  protected:
    void SetUp() override
    {
        IsoDatabaseTest::SetUp();
        mgr = std::make_unique<frmIsoMgr>();
        mgr->Load();
        mgr->show();
    }
    void TearDown() override
    {
        mgr->setCanSave(false);
        mgr->Unload();
    }
    void addRow(const QStringList &values)
    {
        dialogs.onModal([values](QDialog *dlg) {
            for (int i = 0; i < values.size(); ++i)
                retype(findNamed<QLineEdit>(dlg, QStringLiteral("Text1_%1").arg(i + 1)), values[i]);
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        });
        clickButton(mgr.get(), "new");
    }
    // Opens the type list from the link and deletes a name in it.
    void deleteInTypeList(const QString &name)
    {
        dialogs.onModal([name](QDialog *dlg) {
            auto *list = findNamed<QListWidget>(dlg, "List1");
            QListWidgetItem *line = list->findItems(name, Qt::MatchExactly).value(0);
            ASSERT_NE(line, nullptr);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(line).center());
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command2"), Qt::LeftButton);
            dlg->reject();
        });
        QTest::mouseClick(findNamed<QLabel>(mgr.get(), "Label4"), Qt::LeftButton);
    }

    std::unique_ptr<frmIsoMgr> mgr;
};

TEST_F(TypeListFromManagerTest, ATypeWhoseOnlyRowsArePendingCannotBeDeleted)
{
    clickNode(mgr.get(), "碳同位素");
    ASSERT_EQ(rowCount(mgr.get()), 0);
    addRow({"方解石", "石墨", "5.6", "0", "-3"});
    ASSERT_TRUE(mgr->canSave());

    deleteInTypeList("碳同位素");
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_EQ(dialogs.messages().last().text, "还存在【碳同位素】温度计，不能删除此项目!");
    EXPECT_EQ(dialogs.messages().last().caption, "Lorvane");
    EXPECT_EQ(db.scalar("select count(*) from IsotopeType where Name='碳同位素'"), "1");

    clickButton(mgr.get(), "save");
    EXPECT_EQ(PendingRows::State(row(mgr.get(), 0)), "ok");
    EXPECT_EQ(db.scalar("select IsoType_S from Isoplot where MinA_S='方解石'"), "碳同位素");
    EXPECT_NE(node(mgr.get(), "碳同位素"), nullptr);
}

// ---- failures of the type registry ------------------------------------------

class TypeListFailureTest : public IsoDatabaseTest {
  protected:
    static void click(frmIsotopeList &dlg, const char *name)
    {
        QTest::mouseClick(findNamed<QPushButton>(&dlg, name), Qt::LeftButton);
    }
};

TEST_F(TypeListFailureTest, AnAddTheDatabaseRefusesShowsTheRegistrysMessage)
{
    frmIsotopeList dlg;
    dlg.show();
    db.exec(
        "create trigger refuse before insert on IsotopeType begin select raise(abort, 'refused here'); end");
    dialogs.answerInput("氢同位素");
    click(dlg, "Command1");
    const QList<ScriptedDialogs::Call> shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "未知原因,添加记录失败!\r\n错误号：1811\r\nrefused here");
    EXPECT_EQ(shown[0].caption, "Lorvane");
    EXPECT_EQ(shown[0].buttons, Dialogs::Buttons::Ok);
    EXPECT_EQ(dlg.List1()->count(), 3);
    EXPECT_FALSE(dlg.hasChanged());
}

TEST_F(TypeListFailureTest, ADeleteTheDatabaseRefusesShowsTheRegistrysMessage)
{
    frmIsotopeList dlg;
    dlg.show();
    db.exec("create trigger refuse before delete on IsotopeType begin select raise(abort, 'kept'); end");
    QListWidgetItem *line = dlg.List1()->findItems("碳同位素", Qt::MatchExactly).value(0);
    ASSERT_NE(line, nullptr);
    QTest::mouseClick(dlg.List1()->viewport(), Qt::LeftButton, {},
                      dlg.List1()->visualItemRect(line).center());
    click(dlg, "Command2");
    const QList<ScriptedDialogs::Call> shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "未知错误,删除失败!\r\nkept");
    EXPECT_EQ(shown[0].caption, "Lorvane");
    EXPECT_EQ(dlg.List1()->count(), 3);
    EXPECT_FALSE(dlg.hasChanged());
}

// ---- a locked database ----------------------------------------------------------

class LockedDatabaseTest : public IsoDatabaseTest {
  protected:
    void SetUp() override
    {
        IsoDatabaseTest::SetUp();
        // One second instead of ten: the rule is about how many waits there are.
        db.conn().setCommandTimeout(1);
        mgr = std::make_unique<frmIsoMgr>();
        mgr->Load();
        mgr->show();
        clickNode(mgr.get(), "碳同位素");
    }
    void TearDown() override
    {
        mgr->setCanSave(false);
        mgr->Unload();
    }
    void addRows(int n)
    {
        for (int i = 0; i < n; ++i) {
            dialogs.onModal([i](QDialog *dlg) {
                const QStringList values{QStringLiteral("矿物%1").arg(i), "石墨", "5.6", "0", "-3"};
                for (int b = 0; b < values.size(); ++b)
                    retype(findNamed<QLineEdit>(dlg, QStringLiteral("Text1_%1").arg(b + 1)), values[b]);
                QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
            });
            clickButton(mgr.get(), "new");
        }
    }
    std::unique_ptr<frmIsoMgr> mgr;
};

TEST_F(LockedDatabaseTest, OneLockedStatementFailsTheRestOfTheSaveAtOnce)
{
    addRows(5);
    ASSERT_EQ(rowCount(mgr.get()), 5);
    {
        OtherProgram other(db.path());
        const StatementCounter tried(db.conn().handle(), "Isoplot");
        clickButton(mgr.get(), "save");
        EXPECT_EQ(tried.count(), 1) << "only the first statement may wait for the lock";
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(PendingRows::State(row(mgr.get(), i)), "add") << i;
        EXPECT_EQ(PendingRows::IconKey(row(mgr.get(), i)), "adderror") << i;
        EXPECT_EQ(PendingRows::ToolTip(row(mgr.get(), i)), "未知原因,添加失败!") << i;
    }
    EXPECT_TRUE(mgr->canSave());
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // Once the other program lets go, the same save stores them all.
    clickButton(mgr.get(), "save");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(PendingRows::State(row(mgr.get(), i)), "ok") << i;
    EXPECT_EQ(db.scalar("select count(*) from Isoplot where IsoType_S='碳同位素'"), "5");
    EXPECT_FALSE(mgr->canSave());
}

TEST_F(LockedDatabaseTest, ALockedListingSaysSoInChinese)
{
    OtherProgram other(db.path());
    clickNode(mgr.get(), "氧同位素");
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_EQ(dialogs.messages().last().text, "数据库被其他程序锁定\r\ndatabase is locked");
    EXPECT_EQ(dialogs.messages().last().caption, "Lorvane");
}

TEST(DatabaseMessages, AMissingTableIsNamedInChinese)
{
    TempDatabase db;
    ScriptedDialogs dialogs;
    db.exec("drop table TraceElement");
    frmTraceMgr w;
    w.Load();
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_EQ(dialogs.messages().first().text,
              "数据库缺少表或列：TraceElement\r\nno such table: TraceElement");
    w.Unload();
}
