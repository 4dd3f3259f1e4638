// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/OlivineTable.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/thermometry/Equations.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

using namespace OlivineLiquid;

namespace OlivineTable {

namespace {

constexpr Oxide kOlivineOxides[8] = {SiO2, TiO2, Al2O3, FeOt, MnO, MgO, CaO, NiO};
constexpr Oxide kLiquidOxides[11] = {SiO2, TiO2, Al2O3, FeOt, MnO, MgO, CaO, Na2O, K2O, Cr2O3, P2O5};

// "SiO₂" from "SiO2": the digits of a formula as subscripts.
QString subscripted(const QString &formula)
{
    QString out;
    for (QChar c : formula) out += c.isDigit() ? QChar(0x2080 + c.digitValue()) : c;
    return out;
}

// A header reduced for comparison: subscripts as digits, no blanks, no case,
// the spellings of total iron as "feot".
QString reduced(const QString &header)
{
    QString h;
    for (QChar c : header.trimmed()) {
        const ushort u = c.unicode();
        if (u >= 0x2080 && u <= 0x2089)
            h += QChar('0' + (u - 0x2080));
        else if (u == 0x00B3) // ³ of Fe³⁺
            h += QLatin1Char('3');
        else if (u == 0x207A) // ⁺
            h += QLatin1Char('+');
        else if (!c.isSpace())
            h += c;
    }
    h = h.toCaseFolded();
    for (const char *total : {"feo*", "feotot", "feo(t)", "feot"})
        h.replace(QString::fromLatin1(total), QStringLiteral("feot"));
    return h;
}

} // namespace

int OxideOf(int column)
{
    if (column >= FirstOlivine && column < FirstLiquid) return kOlivineOxides[column - FirstOlivine];
    if (column >= FirstLiquid && column < H2O) return kLiquidOxides[column - FirstLiquid];
    return -1;
}

QStringList Titles()
{
    QStringList t{QStringLiteral("样品")};
    for (Oxide o : kOlivineOxides) t << QStringLiteral("橄榄石") + subscripted(Name(o));
    for (Oxide o : kLiquidOxides) t << QStringLiteral("熔体") + subscripted(Name(o));
    t << QStringLiteral("熔体H₂O") << QStringLiteral("压力(kbar)") << QStringLiteral("Fe³⁺/FeT");
    return t;
}

QStringList EnglishNames()
{
    QStringList t{QStringLiteral("sample")};
    for (Oxide o : kOlivineOxides) t << Name(o) + QStringLiteral("_Ol");
    for (Oxide o : kLiquidOxides) t << Name(o) + QStringLiteral("_Liq");
    t << QStringLiteral("H2O_Liq") << QStringLiteral("P_kbar") << QStringLiteral("Fe3Fet_Liq");
    return t;
}

int ColumnOfHeader(const QString &header)
{
    static const QList<QStringList> names = [] {
        QList<QStringList> n;
        const QStringList titles = Titles(), english = EnglishNames();
        for (int c = 0; c < kColumns; ++c) n << QStringList{reduced(titles[c]), reduced(english[c])};
        // Chinese titles without the subscripts, and the phase first in English.
        for (int c = FirstOlivine; c < H2O; ++c) {
            const bool olivine = c < FirstLiquid;
            const QString oxide = Name(Oxide(OxideOf(c)));
            n[c] << reduced((olivine ? QStringLiteral("Ol_") : QStringLiteral("Liq_")) + oxide);
        }
        n[H2O] << reduced(QStringLiteral("Liq_H2O"));
        n[Pressure] << QStringLiteral("p(kbar)") << QStringLiteral("压力");
        n[Fe3] << reduced(QStringLiteral("Fe3+/FeT")) << reduced(QStringLiteral("Fe3/FeT"));
        return n;
    }();
    const QString h = reduced(header);
    if (h.isEmpty()) return -1;
    for (int c = 0; c < kColumns; ++c)
        if (names[c].contains(h)) return c;
    return -1;
}

const Batch::ColumnSet &Columns()
{
    static const Batch::ColumnSet set = [] {
        Batch::ColumnSet s;
        s.titles = Titles();
        s.columnOfHeader = ColumnOfHeader;
        for (int c = FirstOlivine; c < H2O; ++c) s.valueColumns << c;
        return s;
    }();
    return set;
}

Read ReadRow(const Batch::Row &row)
{
    Read r;
    if (!row.problem.isEmpty()) {
        r.problem = row.problem;
        return r;
    }
    auto fail = [&](int column, const QString &why) {
        if (r.problem.isEmpty()) {
            r.problem = why;
            r.column = column;
        }
    };
    auto number = [&](int column, double *out, double low, double high, bool openHigh) {
        const QString text = row.cells.value(column).trimmed();
        if (text.isEmpty()) return false;
        const std::optional<double> v = Num::IsNumeric(text) ? Num::TryDouble(text) : std::nullopt;
        if (!v) {
            fail(column, QCoreApplication::translate("OlivineTable", "不是数字：%1").arg(text.left(40)));
            return false;
        }
        if (*v < low || *v > high || (openHigh && *v >= high)) {
            fail(column, QCoreApplication::translate("OlivineTable", "超出范围：%1").arg(text.left(40)));
            return false;
        }
        *out = *v;
        return true;
    };
    for (int c = FirstOlivine; c < H2O; ++c) {
        const Oxide o = Oxide(OxideOf(c));
        number(c, c < FirstLiquid ? &r.pair.olivine[o] : &r.pair.liquid[o], 0, 100, false);
    }
    number(H2O, &r.pair.h2o, 0, 100, false);
    number(Pressure, &r.pair.pressureKbar, 0, 1000, false);
    r.fe3Defaulted = !number(Fe3, &r.pair.fe3, 0, 1, true) && row.cells.value(Fe3).trimmed().isEmpty();
    if (!r.problem.isEmpty()) return r;
    // What every result needs.
    const struct {
        int column;
        bool given;
    } needed[] = {{FirstOlivine + 5, r.pair.olivine[MgO] > 0},
                  {FirstOlivine + 3, r.pair.olivine[FeOt] > 0},
                  {FirstLiquid, r.pair.liquid[SiO2] > 0},
                  {FirstLiquid + 5, r.pair.liquid[MgO] > 0},
                  {FirstLiquid + 3, r.pair.liquid[FeOt] > 0}};
    for (const auto &n : needed)
        if (!n.given) fail(n.column, QStringLiteral("缺少") + Titles()[n.column]);
    return r;
}

std::vector<Result> Compute(const QList<Batch::Row> &rows, int model, std::atomic<bool> *cancel,
                            std::atomic<int> *done)
{
    const Model &m = Models()[size_t(std::clamp(model, 0, int(Models().size()) - 1))];
    std::vector<Result> out;
    out.reserve(size_t(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        if (cancel && cancel->load()) return {};
        Result r;
        r.sample = i;
        const Read read = ReadRow(rows[i]);
        r.fe3Defaulted = read.fe3Defaulted;
        if (!read.problem.isEmpty()) {
            r.problem = read.problem;
            r.column = read.column;
        } else {
            const Pair &p = read.pair;
            for (int e = 0; e < kEquations; ++e) r.kelvin[e] = Kelvin(Equation(e), p);
            if (const std::optional<Fractions> f = MoleFractions(p)) {
                // The fraction window's calibrations, in whole kelvin as it gives them.
                const float r1 = float(f->fo / f->fa), r2 = float(f->mg / f->fe);
                try {
                    r.ultramafic = OlivineEquation::UltramaficTemperature(r1, r2);
                    r.mafic = OlivineEquation::MaficTemperature(r1, r2);
                } catch (const AppError &) {
                    // No temperature the 16-bit result can hold: none given.
                }
            }
            r.kd = KD(p, m.totalIron);
            r.kdLow = m.kd - m.sigma;
            r.kdHigh = m.kd + m.sigma;
            if (r.kd) r.equilibrium = *r.kd >= *r.kdLow && *r.kd <= *r.kdHigh;
            r.fo = Forsterite(p);
            r.foEquilibrium = EquilibriumForsterite(p, m.kd, m.totalIron);
            r.liquidMgNumber = LiquidMgNumber(p, m.totalIron);
        }
        out.push_back(r);
        if (done) done->fetch_add(1);
    }
    return out;
}

} // namespace OlivineTable
