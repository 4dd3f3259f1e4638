// SPDX-License-Identifier: GPL-3.0-or-later
// How the charts name a calibration, and the round steps of their axes.
#include "calc/BatchChart.h"

#include <gtest/gtest.h>

TEST(ChartLegend, AuthorAndYearFromTheReference)
{
    const struct {
        const char *source;
        bool derived, reversed;
        const char *legend;
    } cases[] = {
        {"Clayton, O'Neil & Mayeda (1972) J. Geophys. Res. 77:3057-3067", false, false,
         "Clayton et al. (1972)"},
        {"Bottinga & Javoy 1973, Earth Planet. Sci. Lett.", false, false, "Bottinga & Javoy (1973)"},
        {"Daeron M., Vermeesch P. (2024) Chem. Geol.", false, false, "Daeron & Vermeesch (2024)"},
        {"Kim S.-T. & O'Neil J.R. (1997) GCA 61(16)", false, false, "Kim & O'Neil (1997)"},
        {"Sharp et al. 2016, Geochim. Cosmochim. Acta", false, false, "Sharp et al. (2016)"},
        {"Majoube M. (1971) Fractionnement en oxygène 18", false, false, "Majoube (1971)"},
        // A trace remark: the range, what K is, then the reference after the last ";" before the year.
        {"580-1070 (natural zircons; experiments 1025-1450 at 10-20 kbar); K = Ti (ppm) in zircon; "
         "Watson E.B., Wark D.A. & Thomas J.B. (2006) Crystallization thermometers",
         false, false, "Watson et al. (2006)"},
        {"Vho, Lanari & Rubatto (2019) J. Petrol.", true, false, "Vho et al. (2019)，导出"},
        {"Ohmoto & Rye 1979", false, true, "Ohmoto & Rye (1979)（反向）"},
        {"Vasconcelos", false, false, "Vasconcelos"},
        {"A reference without any year in it at all", false, false, "A reference without any …"},
    };
    for (const auto &c : cases) {
        Batch::Calibration cal;
        (c.derived ? cal.reference : cal.source) = QString::fromUtf8(c.source);
        cal.derived = c.derived;
        cal.reversed = c.reversed;
        EXPECT_EQ(BatchChart::LegendOf(cal), QString::fromUtf8(c.legend)) << c.source;
    }
}

TEST(ChartLegend, TickStepsAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen)
{
    const struct {
        double span;
        int ticks;
        double step;
    } cases[] = {{1200, 6, 200}, {37.4, 6, 10}, {0.37, 6, 0.1},  {13, 6, 2.5},
                 {460, 6, 100},  {7, 6, 2},     {0.09, 4, 0.025}};
    for (const auto &c : cases) EXPECT_DOUBLE_EQ(BatchChart::NiceStep(c.span, c.ticks), c.step) << c.span;
}
