// SPDX-License-Identifier: GPL-3.0-or-later
// The DOI a reference's text names.
#include "core/base/DoiText.h"

#include <gtest/gtest.h>

TEST(DoiText, TheDoiWithItsOwnBracketsWithoutTheSentencesPunctuation)
{
    const struct {
        const char *text, *doi;
    } cases[] = {
        {"Bottinga & Javoy 1973, Earth Planet. Sci. Lett. (doi 10.1016/0012-821X(73)90165-9)",
         "10.1016/0012-821X(73)90165-9"},
        {"Kim & O'Neil (1997) GCA, doi:10.1016/S0016-7037(97)00169-5; reprocessed",
         "10.1016/S0016-7037(97)00169-5"},
        {"Coplen (2007) GCA 71(16):3948-3957, doi:10.1016/j.gca.2007.05.028; 1000 ln α",
         "10.1016/j.gca.2007.05.028"},
        {"… Geophys. Res. Lett., doi:10.1029/2020GL092069 (MIT data)", "10.1029/2020GL092069"},
        {"Vho et al. (2019); doi:10.1000/example.5.", "10.1000/example.5"},
        {"锆石中的Ti；doi:10.1007/s00410-006-0068-5；", "10.1007/s00410-006-0068-5"},
        {"Clayton, O'Neil & Mayeda (1972) J. Geophys. Res. 77:3057-3067", ""},
        {"ratio 10.5/2 is not one", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Doi::In(QString::fromUtf8(c.text)), QString::fromUtf8(c.doi)) << c.text;
}
