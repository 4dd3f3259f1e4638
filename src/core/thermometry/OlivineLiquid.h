// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// Olivine-liquid thermometry from electron-microprobe oxides (wt%): the
// recalculation to cation fractions, the Fe-Mg exchange coefficient and the
// equilibrium olivine, and the temperature equations of Beattie (1993), Putirka
// (2008) eq. 19, 21 and 22 and Herzberg & O'Hara (2002). Widget-free.
namespace OlivineLiquid {

// The oxides of the two analyses. NiO is read for the olivine but takes no
// part in the recalculation: no molar mass for it comes with the calibrations.
enum Oxide { SiO2, TiO2, Al2O3, FeOt, MnO, MgO, CaO, Na2O, K2O, Cr2O3, P2O5, NiO, kOxides };

// Molar mass (g/mol, from the IUPAC standard atomic weights) and cations per oxide.
double MolarMass(Oxide oxide);
int Cations(Oxide oxide);
// "SiO2", "FeOt", ...
QString Name(Oxide oxide);

struct Pair {
    std::array<double, kOxides> liquid{};  // wt%; Cr2O3 and P2O5 are left out of the fractions
    std::array<double, kOxides> olivine{}; // wt%
    double h2o = 0;                        // wt% of the liquid, never normalised in
    double pressureKbar = 0;               // the equations take GPa: kbar / 10
    double fe3 = 0;                        // Fe3+/FeT of the liquid, 0 to below 1; enters K_D only
};

// Cation fractions of a phase, anhydrous; the liquid's without Cr2O3 and P2O5.
// Zero sums give zeros.
std::array<double, kOxides> LiquidFractions(const Pair &pair);
std::array<double, kOxides> OlivineFractions(const Pair &pair);

// D_Mg = X_Mg(ol)/X_Mg(liq), C_NM = X_Mg + X_Fe + X_Ca + X_Mn, C_SiO2 = X_Si,
// NF = 7/2·ln(1 - X_Al) + 7·ln(1 - X_Ti), all from the liquid but D_Mg.
struct Terms {
    double dMg = 0, cNM = 0, cSiO2 = 0, nf = 0;
};
Terms TermsOf(const Pair &pair);

// The temperature equations; each gives kelvin, empty where the arithmetic has
// none (a logarithm of 0 or below, a denominator of 0, 0 K or below).
enum Equation { B93, Eq19, HZ, Eq21, Eq22, kEquations };
QString EquationName(Equation e); // "Beattie (1993)", ...
QString EquationCode(Equation e); // "B93", "eq19", "HZ", "eq21", "eq22"
std::optional<double> Kelvin(Equation e, const Pair &pair);

// K_D(Fe-Mg) = (X_Fe/X_Mg)ol / (X_Fe2+/X_Mg)liq, from the wt% ratios (the molar
// masses cancel); with totalIron the liquid's iron is not corrected for Fe3+.
std::optional<double> KD(const Pair &pair, bool totalIron = false);
// Mg/(Mg + Fe) of the olivine, molar.
std::optional<double> Forsterite(const Pair &pair);
// The olivine in equilibrium with the liquid for a K_D: 1/(1 + K_D·(Fe2+/Mg)liq).
std::optional<double> EquilibriumForsterite(const Pair &pair, double kd, bool totalIron = false);
// Mg/(Mg + Fe2+) of the liquid, molar (the Rhodes diagram's abscissa).
std::optional<double> LiquidMgNumber(const Pair &pair, bool totalIron = false);

// The accepted K_D windows.
struct Model {
    QString name; // as the toolbar lists it, in Chinese: shown through
                  // QCoreApplication::translate("OlivineLiquid", name)
    double kd, sigma;
    bool totalIron; // the model's K_D takes all iron as Fe2+
};
const std::array<Model, 5> &Models(); // Roeder & Emslie first, the default

// X_Fo, X_Fa of the olivine and X_Mg, X_Fe2+ of the liquid, for the two
// olivine-melt calibrations of the fraction calculator.
struct Fractions {
    double fo = 0, fa = 0, mg = 0, fe = 0;
};
std::optional<Fractions> MoleFractions(const Pair &pair);

} // namespace OlivineLiquid
