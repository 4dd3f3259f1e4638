// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchTable.h"
#include "core/thermometry/OlivineLiquid.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>
#include <vector>

// The sample table of olivine-liquid pairs: one row per pair, oxides in wt%,
// and its results. Widget-free, shared by the window and the command line.
namespace OlivineTable {

// Columns: 样品; the olivine's SiO2 TiO2 Al2O3 FeOt MnO MgO CaO NiO; the
// liquid's SiO2 TiO2 Al2O3 FeOt MnO MgO CaO Na2O K2O Cr2O3 P2O5 H2O; P (kbar);
// Fe3+/FeT.
enum Column {
    Sample = 0,
    FirstOlivine = 1,
    FirstLiquid = 9,
    H2O = 20,
    Pressure = 21,
    Fe3 = 22,
    kColumns = 23
};
// The oxide a column holds (-1 for the sample, H2O, P and Fe3+/FeT).
int OxideOf(int column);

QStringList Titles();       // "样品", "橄榄石SiO₂", ..., "熔体H₂O", "压力(kbar)", "Fe³⁺/FeT"
QStringList EnglishNames(); // "sample", "SiO2_Ol", ..., "H2O_Liq", "P_kbar", "Fe3Fet_Liq"
// The column a header names: a title, an English name or a usual spelling of the
// oxide ("FeO*", "FeOT", "FeOtot" for FeOt; subscripts or not; any case); -1 for none.
int ColumnOfHeader(const QString &header);
const Batch::ColumnSet &Columns();

// One pair read from a row: the numbers, or the first cell that cannot be used.
struct Read {
    OlivineLiquid::Pair pair;
    bool fe3Defaulted = false; // Fe3+/FeT not given: 0 was used
    QString problem;
    int column = -1;
};
Read ReadRow(const Batch::Row &row);

struct Result {
    int sample = 0;
    QString problem; // the row could not be read: why (column below)
    int column = -1;
    std::optional<double> kelvin[OlivineLiquid::kEquations];
    std::optional<double> ultramafic, mafic; // the two calibrations of the fraction window, kelvin
    std::optional<double> kd, kdLow, kdHigh; // K_D and the model's window
    std::optional<bool> equilibrium;
    std::optional<double> fo, foEquilibrium, liquidMgNumber;
    bool fe3Defaulted = false;
};

// Every row, with the K_D model of that index in OlivineLiquid::Models().
// Stops early when cancel is set (then nothing is returned).
std::vector<Result> Compute(const QList<Batch::Row> &rows, int model, std::atomic<bool> *cancel = nullptr,
                            std::atomic<int> *done = nullptr);

} // namespace OlivineTable
