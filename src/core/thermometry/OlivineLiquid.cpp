// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/OlivineLiquid.h"

#include <QCoreApplication>
#include <cmath>

namespace OlivineLiquid {

namespace {

struct OxideData {
    const char *name;
    double mass; // g/mol
    int cations;
};

// IUPAC standard atomic weights: Si 28.085, Ti 47.867, Al 26.982, Fe 55.845,
// Mn 54.938, Mg 24.305, Ca 40.078, Na 22.990, K 39.098, P 30.974, Cr 51.996,
// O 15.999. NiO has none here (0: left out).
constexpr OxideData kOxideData[kOxides] = {
    {"SiO2", 60.083, 1}, {"TiO2", 79.865, 1},   {"Al2O3", 101.961, 2}, {"FeOt", 71.844, 1},
    {"MnO", 70.937, 1},  {"MgO", 40.304, 1},    {"CaO", 56.077, 1},    {"Na2O", 61.979, 2},
    {"K2O", 94.195, 2},  {"Cr2O3", 151.989, 2}, {"P2O5", 141.943, 2},  {"NiO", 0, 1},
};

constexpr double R = 8.3144; // J/(mol K), as the equations were fitted

// Cation fractions over the listed oxides; the others stay 0.
std::array<double, kOxides> fractions(const std::array<double, kOxides> &wt,
                                      std::initializer_list<Oxide> over)
{
    std::array<double, kOxides> x{};
    double sum = 0;
    for (Oxide o : over) {
        x[o] = wt[o] / kOxideData[o].mass * kOxideData[o].cations;
        sum += x[o];
    }
    for (double &v : x) v = sum > 0 ? v / sum : 0;
    return x;
}

const std::initializer_list<Oxide> kLiquidOxides = {SiO2, TiO2, Al2O3, FeOt, MnO, MgO, CaO, Na2O, K2O};

std::optional<double> positive(double kelvin)
{
    if (!std::isfinite(kelvin) || !(kelvin > 0)) return std::nullopt;
    return kelvin;
}

double gigapascals(const Pair &p) { return p.pressureKbar / 10.0; }

// Σ = 2 ln D_Mg + 2 ln(1.5 C_NM) + 2 ln(3 C_SiO2) - NF; NaN where a logarithm has none.
double sigma(const Terms &t)
{
    return 2 * std::log(t.dMg) + 2 * std::log(1.5 * t.cNM) + 2 * std::log(3 * t.cSiO2) - t.nf;
}

// Beattie (1993) at a pressure in GPa.
double beattie(const Terms &t, double gpa)
{
    return (113100.0 / R + (gpa * 1e9 - 1e5) * 4.11e-6 / R) / (52.05 / R + sigma(t));
}

} // namespace

double MolarMass(Oxide oxide) { return kOxideData[oxide].mass; }
int Cations(Oxide oxide) { return kOxideData[oxide].cations; }
QString Name(Oxide oxide) { return QString::fromLatin1(kOxideData[oxide].name); }

std::array<double, kOxides> LiquidFractions(const Pair &pair)
{
    return fractions(pair.liquid, kLiquidOxides);
}

std::array<double, kOxides> OlivineFractions(const Pair &pair)
{
    return fractions(pair.olivine, {SiO2, TiO2, Al2O3, FeOt, MnO, MgO, CaO, Na2O, K2O});
}

Terms TermsOf(const Pair &pair)
{
    const std::array<double, kOxides> liq = LiquidFractions(pair), ol = OlivineFractions(pair);
    Terms t;
    t.dMg = liq[MgO] > 0 ? ol[MgO] / liq[MgO] : 0;
    t.cNM = liq[MgO] + liq[FeOt] + liq[CaO] + liq[MnO];
    t.cSiO2 = liq[SiO2];
    t.nf = 3.5 * std::log(1 - liq[Al2O3]) + 7 * std::log(1 - liq[TiO2]);
    return t;
}

QString EquationName(Equation e)
{
    switch (e) {
    case B93: return QStringLiteral("Beattie (1993)");
    case Eq19: return QStringLiteral("Putirka (2008) eq. 19");
    case HZ: return QStringLiteral("Beattie + Herzberg & O'Hara (2002)");
    case Eq21: return QStringLiteral("Putirka (2008) eq. 21");
    case Eq22: return QStringLiteral("Putirka (2008) eq. 22");
    case kEquations: break;
    }
    return QString();
}

QString EquationCode(Equation e)
{
    static const char *codes[kEquations] = {"B93", "eq19", "HZ", "eq21", "eq22"};
    return e < kEquations ? QString::fromLatin1(codes[e]) : QString();
}

std::optional<double> Kelvin(Equation e, const Pair &pair)
{
    const Terms t = TermsOf(pair);
    // Every equation takes logarithms of these: without MgO in both phases, or
    // SiO2 in the liquid, there is no temperature (not the limit of one).
    if (!(t.dMg > 0 && t.cNM > 0 && t.cSiO2 > 0 && std::isfinite(t.dMg) && std::isfinite(t.nf)))
        return std::nullopt;
    const double p = gigapascals(pair);
    switch (e) {
    case B93: return positive(beattie(t, p));
    case Eq19: return positive((13603 + 4.943e-7 * (p * 1e9 - 1e5)) / (6.26 + sigma(t)));
    case HZ: {
        // Beattie at 1 bar, then the pressure correction.
        const double oneBar = beattie(t, 1e-4);
        return positive(oneBar + 54 * p + 2 * p * p);
    }
    case Eq21: {
        // In degrees Celsius as published; Na2O and K2O in wt% of the liquid.
        const double celsius =
            (4430 + 55.09 * p) / (std::log(t.dMg) + 2.158 -
                                  5.115e-2 * (pair.liquid[Na2O] + pair.liquid[K2O]) + 6.213e-2 * pair.h2o);
        return positive(celsius + 273.15);
    }
    case Eq22: {
        // In degrees Celsius as published.
        const double celsius = (15294.6 + 1318.8 * p + 2.4834 * p * p) /
                               (8.048 + 2.8352 * std::log(t.dMg) + 2.097 * std::log(1.5 * t.cNM) +
                                2.575 * std::log(3 * t.cSiO2) - 1.41 * t.nf + 0.222 * pair.h2o + 0.5 * p);
        return positive(celsius + 273.15);
    }
    case kEquations: break;
    }
    return std::nullopt;
}

namespace {

// Fe2+/Mg of the liquid, molar.
std::optional<double> liquidFeMg(const Pair &pair, bool totalIron)
{
    const double fe = pair.liquid[FeOt] * (totalIron ? 1.0 : 1.0 - pair.fe3) / MolarMass(FeOt);
    const double mg = pair.liquid[MgO] / MolarMass(MgO);
    if (!(mg > 0) || !(fe >= 0)) return std::nullopt;
    return fe / mg;
}

} // namespace

std::optional<double> KD(const Pair &pair, bool totalIron)
{
    const double liquid = pair.liquid[FeOt] * (totalIron ? 1.0 : 1.0 - pair.fe3) / pair.liquid[MgO];
    const double olivine = pair.olivine[FeOt] / pair.olivine[MgO];
    const double kd = olivine / liquid;
    if (!std::isfinite(kd) || !(kd > 0)) return std::nullopt;
    return kd;
}

std::optional<double> Forsterite(const Pair &pair)
{
    const double mg = pair.olivine[MgO] / MolarMass(MgO), fe = pair.olivine[FeOt] / MolarMass(FeOt);
    if (!(mg + fe > 0)) return std::nullopt;
    return mg / (mg + fe);
}

std::optional<double> EquilibriumForsterite(const Pair &pair, double kd, bool totalIron)
{
    const std::optional<double> feMg = liquidFeMg(pair, totalIron);
    if (!feMg) return std::nullopt;
    return 1.0 / (1.0 + kd * *feMg);
}

std::optional<double> LiquidMgNumber(const Pair &pair, bool totalIron)
{
    const std::optional<double> feMg = liquidFeMg(pair, totalIron);
    if (!feMg) return std::nullopt;
    return 1.0 / (1.0 + *feMg);
}

const std::array<Model, 5> &Models()
{
    // As Thermobar codes and documents them (the papers not re-read). A name
    // with words of ours is marked for translation in the context "OlivineLiquid".
    static const std::array<Model, 5> models = {{
        {QStringLiteral("Roeder & Emslie (1970) 0.30±0.03"), 0.30, 0.03, false},
        {QStringLiteral("Matzen et al. (2011) 0.34±0.012"), 0.34, 0.012, false},
        {QStringLiteral("Shea et al. (2022) 0.335±0.01"), 0.335, 0.01, false},
        {QStringLiteral("Putirka (2016) 8a 0.33±0.044"), 0.33, 0.044, false},
        {QString::fromUtf8(QT_TRANSLATE_NOOP("OlivineLiquid", "Putirka (2016) 9a 0.29±0.051（全铁）")), 0.29,
         0.051, true},
    }};
    return models;
}

std::optional<Fractions> MoleFractions(const Pair &pair)
{
    const double mgOl = pair.olivine[MgO] / MolarMass(MgO), feOl = pair.olivine[FeOt] / MolarMass(FeOt);
    const std::array<double, kOxides> liq = LiquidFractions(pair);
    Fractions f;
    if (!(mgOl + feOl > 0)) return std::nullopt;
    f.fo = mgOl / (mgOl + feOl);
    f.fa = feOl / (mgOl + feOl);
    f.mg = liq[MgO];
    f.fe = liq[FeOt] * (1 - pair.fe3);
    if (!(f.fo > 0 && f.fa > 0 && f.mg > 0 && f.fe > 0)) return std::nullopt;
    return f;
}

} // namespace OlivineLiquid
