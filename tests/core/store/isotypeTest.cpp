// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreTestSupport.h"

#include "core/database/SharedConnection.h"
#include "core/store/isotype.h"
#include "support/core/TempDatabase.h"

namespace {

struct TypeLog {
    QStringList messages, names;
    IsoTypeEvents events()
    {
        IsoTypeEvents e;
        e.AddEvent = e.DeleteEvent = [this](const QString &message, const QString &name) {
            messages << message;
            names << name;
        };
        return e;
    }
};

} // namespace

TEST(isotype, ConnectionMustBeGivenAndOpen)
{
    AppError missing = appErrorOf([] { isotype registry(nullptr); });
    EXPECT_EQ(missing.number(), int32_t(0x80040201u));
    EXPECT_EQ(missing.source(), QStringLiteral("IsoType.Set Connection"));
    EXPECT_EQ(missing.description(), QStringLiteral("连接属性无效"));

    TempDatabase db;
    isotype registry; // takes the shared connection
    EXPECT_EQ(registry.connection(), &db.conn());

    db.conn().Close();
    AppError closed = appErrorOf([] { isotype again; });
    EXPECT_EQ(closed.number(), int32_t(0x80040202u));
    EXPECT_EQ(closed.source(), QStringLiteral("IsoType.Set Connection"));
    EXPECT_EQ(closed.description(), QStringLiteral("连接未打开"));
    EXPECT_EQ(appErrorOf([&] { registry.setConnection(&db.conn()); }).number(), int32_t(0x80040202u));
}

TEST(isotype, AddNewAllocatesIdsRefusesDuplicatesAndAnnounces)
{
    TempDatabase db;
    isotype registry;
    TypeLog log;
    registry.setEvents(log.events());

    EXPECT_EQ(registry.AddNew(QStringLiteral("氧同位素"), QStringLiteral("O")), 0);
    EXPECT_EQ(registry.id(), 1);
    EXPECT_EQ(log.messages.last(), QStringLiteral("添加 氧同位素 成功！"));
    EXPECT_EQ(log.names.last(), QStringLiteral("氧同位素"));
    EXPECT_EQ(registry.AddNew(QStringLiteral("硫同位素")), 0);
    EXPECT_EQ(registry.id(), 2);
    // The short name stays from the call before when none is given.
    EXPECT_EQ(db.scalar(QStringLiteral("select ShortName from IsotopeType where ID=2")), QStringLiteral("O"));

    EXPECT_EQ(registry.AddNew(QStringLiteral("氧同位素")), 1);
    EXPECT_EQ(log.messages.last(), QStringLiteral("氧同位素 已存在，添加失败！"));
    EXPECT_EQ(db.count(QStringLiteral("IsotopeType")), 2);

    // A cancelled input box gives an empty name; no blank type is stored.
    isotype fresh;
    fresh.setEvents(log.events());
    EXPECT_EQ(fresh.AddNew(), 2);
    EXPECT_TRUE(log.messages.last().startsWith(QStringLiteral("未知原因,添加记录失败!\r\n错误号：")));
    EXPECT_EQ(db.count(QStringLiteral("IsotopeType")), 2);

    db.exec(QStringLiteral("drop table IsotopeType"));
    EXPECT_EQ(registry.AddNew(QStringLiteral("碳同位素")), 2);
    const QStringList lines = log.messages.last().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("未知原因,添加记录失败!"));
    EXPECT_EQ(lines[1], QStringLiteral("错误号：1"));
    EXPECT_EQ(lines[2], QStringLiteral("数据库缺少表或列：IsotopeType"));
    EXPECT_EQ(lines[3], QStringLiteral("no such table: IsotopeType"));
    EXPECT_EQ(log.names.last(), QStringLiteral("碳同位素"));
}

TEST(isotype, DeleteOutcomes)
{
    TempDatabase db;
    isotype registry;
    TypeLog log;
    registry.setEvents(log.events());
    ASSERT_EQ(registry.AddNew(QStringLiteral("氧同位素")), 0);
    ASSERT_EQ(registry.AddNew(QStringLiteral("硫同位素")), 0);

    EXPECT_EQ(registry.Delete(QStringLiteral("碳同位素")), 1);
    EXPECT_EQ(log.messages.last(), QStringLiteral("碳同位素不存在，删除失败！"));
    EXPECT_EQ(registry.Delete(QStringLiteral("氧同位素")), 0);
    EXPECT_EQ(log.messages.last(), QStringLiteral("删除成功！"));
    EXPECT_EQ(log.names.last(), QStringLiteral("氧同位素"));
    EXPECT_EQ(registry.GetAllIsoTypeName(), QStringList{QStringLiteral("硫同位素")});

    isotype fresh;
    EXPECT_EQ(fresh.Delete(), 1); // no type has the empty name
    // Without an argument the registry's own Name is the subject, in the check as in the delete.
    fresh.setName(QStringLiteral("硫同位素"));
    EXPECT_EQ(fresh.Delete(), 0);
    EXPECT_EQ(db.count(QStringLiteral("IsotopeType")), 0);

    db.exec(QStringLiteral("drop table IsotopeType"));
    EXPECT_EQ(registry.Delete(QStringLiteral("x")), 2);
    EXPECT_EQ(
        log.messages.last(),
        QStringLiteral("未知错误,删除失败!\r\n数据库缺少表或列：IsotopeType\r\nno such table: IsotopeType"));
}

TEST(isotype, QuotedAndInjectedNames)
{
    TempDatabase db;
    isotype registry;
    ASSERT_EQ(registry.AddNew(QStringLiteral("氧同位素")), 0);
    ASSERT_EQ(registry.AddNew(QStringLiteral("硫同位素")), 0);
    const QString injected = QStringLiteral("x' or '1'='1");

    EXPECT_FALSE(registry.Exist(injected));
    EXPECT_EQ(registry.Delete(injected), 1);
    EXPECT_EQ(db.count(QStringLiteral("IsotopeType")), 2);

    EXPECT_EQ(registry.AddNew(QStringLiteral("Rayleigh's")), 0);
    EXPECT_TRUE(registry.Exist(QStringLiteral("Rayleigh's")));
    EXPECT_EQ(registry.AddNew(QStringLiteral("Rayleigh's")), 1);
    EXPECT_EQ(registry.GetIDBaseOnName(QStringLiteral("Rayleigh's")), 3);
    EXPECT_EQ(registry.Delete(QStringLiteral("Rayleigh's")), 0);
    EXPECT_EQ(db.count(QStringLiteral("IsotopeType")), 2);
}

TEST(isotype, LookUps)
{
    TempDatabase db;
    isotype registry;
    EXPECT_TRUE(registry.GetAllIsoTypeName().isEmpty());
    db.exec(QStringLiteral("insert into IsotopeType values (5, '氧同位素', 'O'), (9, '硫同位素', 'S')"));

    EXPECT_EQ(registry.GetNameBaseOnID(9), QStringLiteral("硫同位素"));
    EXPECT_EQ(registry.id(), 9);
    EXPECT_EQ(registry.GetNameBaseOnID(), QStringLiteral("硫同位素")); // the id of the call before
    EXPECT_EQ(appErrorOf([&] { registry.GetNameBaseOnID(7); }).number(), ErrNo::NoCurrentRow);

    EXPECT_EQ(registry.GetIDBaseOnName(QStringLiteral("氧同位素")), 5);
    EXPECT_EQ(registry.Name(), QStringLiteral("氧同位素"));
    AppError missing = appErrorOf([&] { registry.GetIDBaseOnName(QStringLiteral("碳同位素")); });
    EXPECT_EQ(missing.number(), int32_t(0x80040203u));
    EXPECT_EQ(missing.source(), QStringLiteral("IsoType.GetIDBaseOnName"));
    EXPECT_EQ(missing.description(), QStringLiteral("碳同位素未找到!"));
}
