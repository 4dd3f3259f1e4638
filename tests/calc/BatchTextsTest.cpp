// SPDX-License-Identifier: GPL-3.0-or-later
// What the batch window's status column says of each kind of result.
#include "calc/BatchTexts.h"

#include <gtest/gtest.h>

using namespace Batch;

TEST(BatchTexts, EachStatusAndWhatTheDrawsSay)
{
    Calibration ranged, unranged;
    ranged.range = ReadRange(QStringLiteral("200-900"));
    auto result = [](const Calibration *c, Status s) {
        Result r;
        r.cal = c;
        r.status = s;
        r.celsius = 300;
        return r;
    };
    Result two = result(&ranged, Status::TwoSolutions);
    two.second = SecondRoot{770.46, {}, {}, {}, 0};
    Result twoUnstated = result(&unranged, Status::TwoSolutions);
    twoUnstated.second = SecondRoot{770.46, {}, {}, {}, 0};
    Result unknown = result(nullptr, Status::NoCalibration);
    unknown.problem = QStringLiteral("未知矿物 'quarz'，是否为 'quartz'（石英）？");
    Result bad = result(nullptr, Status::BadInput);
    bad.problem = QStringLiteral("不是数字：12a");
    // Half the draws failed on one side: the interval of the rest misses 300.
    Result drawn = result(&ranged, Status::TwoSolutions);
    drawn.second = SecondRoot{770.46, {}, {}, {}, 4000};
    drawn.draws = 10000;
    drawn.failedDraws = 5002;
    drawn.lo95 = 127.3;
    drawn.hi95 = 297.1;
    const struct {
        Result r;
        QString text;
    } cases[] = {
        {result(&ranged, Status::Ok), ""},
        {result(&ranged, Status::OutOfRange), "超出适用范围"},
        {result(&unranged, Status::OutOfRange), "未注明适用范围，超出0-1200℃"},
        {result(&unranged, Status::NoRange), "未注明适用范围"},
        {two, "另一解770.5℃亦在适用范围内"},
        {twoUnstated, "另一解770.5℃亦在0-1200℃内（未注明适用范围）"},
        {result(&ranged, Status::NoSolution), "无解"},
        {result(nullptr, Status::NoCalibration), "无标定"},
        {unknown, "无标定；未知矿物 'quarz'，是否为 'quartz'（石英）？"},
        {bad, "数据无效：不是数字：12a"},
        {drawn,
         "另一解770.5℃亦在适用范围内；5002/10000次抽样无解；另一解4000/10000次抽样无解；95%区间不含此温度"},
    };
    for (const auto &c : cases) EXPECT_EQ(BatchTexts::Status(c.r), c.text);
}
