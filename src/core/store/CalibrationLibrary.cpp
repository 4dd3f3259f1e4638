// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/CalibrationLibrary.h"

#include "core/base/AppError.h"
#include "core/database/Connection.h"
#include "core/database/Recordset.h"
#include "core/store/CoefficientCovariance.h"
#include "core/store/Names.h"

#include <QCoreApplication>

namespace Batch {

namespace {

// The key of a pair from the keys of its names.
QString joined(const QString &type, const QString &a, const QString &b)
{
    return type + QChar(0x1f) + a + QChar(0x1f) + b;
}

// Any spelling of a name the names table knows (石英, quartz, Qz) finds the
// same rows; other names are matched regardless of case.
QString pairKey(const QString &type, const QString &a, const QString &b)
{
    const Names::Table &names = Names::Table::Shared();
    return joined(names.key(Names::Kind::Type, type), names.key(Names::Kind::Mineral, a),
                  names.key(Names::Kind::Mineral, b));
}

QString text(const Recordset &rs, int column)
{
    return rs.Fields(column).IsNull() ? QString() : rs.Fields(column).Text();
}

// Constants as the calculators hold them: single precision.
double single(const Recordset &rs, int column)
{
    return rs.Fields(column).IsNull() ? 0.0 : double(rs.Fields(column).Single());
}

} // namespace

Library Library::Load(Connection &conn, Kind kind)
{
    Library lib;
    const QString sql =
        kind == Kind::Isotope
            ? QStringLiteral("select IsoType_S, MinA_S, MinB_S, ConstA_N, ConstB_N, ConstC_N, Mark_S, "
                             "Source_S, * from Isoplot order by ID_N")
            : QStringLiteral("select Element_s, MinA_s, MinB_s, ConstA_sng, ConstB_sng, logType_s, "
                             "Mark_s, * from TraceElement order by ID_N");
    Recordset rs = conn.Execute(sql);
    // Term columns a database not yet upgraded lacks read as their defaults.
    const TraceColumns::Indexes terms =
        kind == Kind::Trace ? TraceColumns::Find(rs) : TraceColumns::Indexes{};
    // A database not yet upgraded has no dataset column: no row belongs to one.
    const int dataset = kind == Kind::Isotope ? rs.FieldIndex(QStringLiteral("Dataset_S")) : -1;
    const int id = rs.FieldIndex(QStringLiteral("ID_N"));
    const int doi = rs.FieldIndex(kind == Kind::Isotope ? QStringLiteral("DOI_S") : QStringLiteral("DOI_s"));
    // Nor a covariance table: no row has one.
    const QHash<int32_t, CoefficientCovariance::Matrix> covariances = CoefficientCovariance::ReadAll(
        conn, kind == Kind::Isotope ? CoefficientCovariance::kIsoplot : CoefficientCovariance::kTraceElement);
    for (; !rs.Eof(); rs.MoveNext()) {
        Calibration c;
        c.type = text(rs, 0);
        c.mineralA = text(rs, 1);
        c.mineralB = text(rs, 2);
        c.a = single(rs, 3);
        c.b = single(rs, 4);
        if (kind == Kind::Isotope) {
            c.c = single(rs, 5);
            c.remark = text(rs, 6);
            c.source = text(rs, 7);
            if (dataset >= 0) c.dataset = text(rs, dataset).trimmed();
        } else {
            c.logType = text(rs, 5);
            c.remark = text(rs, 6);
            c.source = c.remark;
            c.terms = TraceColumns::Read(rs, rs.AbsolutePosition(), terms);
        }
        if (doi >= 0) c.doi = text(rs, doi).trimmed();
        if (id >= 0) {
            const auto found = covariances.constFind(rs.Fields(id).Long());
            if (found != covariances.constEnd()) c.covariance = *found;
        }
        lib.add(c);
    }
    if (kind == Kind::Isotope) lib.deriveWithinDatasets();
    return lib;
}

namespace {

// Where both ranges hold; empty when they share nothing. A side a range leaves
// open is left to the other.
std::optional<CalibrationRange> overlap(const std::optional<CalibrationRange> &x,
                                        const std::optional<CalibrationRange> &y, bool *disjoint)
{
    *disjoint = false;
    if (!x) return y;
    if (!y) return x;
    CalibrationRange r;
    r.low = x->low && y->low ? std::max(*x->low, *y->low) : (x->low ? x->low : y->low);
    r.high = x->high && y->high ? std::min(*x->high, *y->high) : (x->high ? x->high : y->high);
    *disjoint = r.low && r.high && *r.low > *r.high;
    return r;
}

} // namespace

void Library::deriveWithinDatasets()
{
    // Each row of a dataset says where both its minerals stand against the other.
    struct Relative {
        const Calibration *row;
        double sign; // +1: the mineral is the row's A, -1: its B
    };
    QHash<QString, QHash<QString, Relative>> against; // type|dataset|reference -> mineral -> row
    const QStringList references{QStringLiteral("水"), QStringLiteral("石英")};
    auto groupKey = [](const Calibration &c, const QString &reference) {
        return c.type.trimmed().toCaseFolded() + QChar(0x1f) + c.dataset.toCaseFolded() + QChar(0x1f) +
               reference;
    };
    for (const Calibration &c : rows_) {
        if (c.dataset.isEmpty()) continue;
        for (const QString &reference : references) {
            if (c.mineralB.trimmed() == reference && !against[groupKey(c, reference)].contains(c.mineralA))
                against[groupKey(c, reference)].insert(c.mineralA, {&c, +1});
            if (c.mineralA.trimmed() == reference && !against[groupKey(c, reference)].contains(c.mineralB))
                against[groupKey(c, reference)].insert(c.mineralB, {&c, -1});
        }
    }
    auto storedInDataset = [this](const Calibration &parent, const QString &x, const QString &y) {
        for (const Calibration *c : forPair(parent.type, x, y))
            if (!c->derived && c->dataset.compare(parent.dataset, Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    for (const QString &reference : references) {
        for (auto group = against.cbegin(); group != against.cend(); ++group) {
            if (!group.key().endsWith(QChar(0x1f) + reference)) continue;
            const QHash<QString, Relative> &minerals = group.value();
            for (auto x = minerals.cbegin(); x != minerals.cend(); ++x)
                for (auto y = minerals.cbegin(); y != minerals.cend(); ++y) {
                    if (x.key() == y.key()) continue;
                    const Calibration &px = *x.value().row, &py = *y.value().row;
                    if (storedInDataset(px, x.key(), y.key())) continue;
                    if (derivedIndex_.contains(pairKey(px.type, x.key(), y.key()))) continue;
                    bool disjoint = false;
                    const std::optional<CalibrationRange> range = overlap(px.range, py.range, &disjoint);
                    if (disjoint) continue;
                    Calibration d;
                    d.type = px.type;
                    d.mineralA = x.key();
                    d.mineralB = y.key();
                    const double sx = x.value().sign, sy = y.value().sign;
                    d.a = sx * px.a - sy * py.a;
                    d.b = sx * px.b - sy * py.b;
                    d.c = sx * px.c - sy * py.c;
                    d.range = range;
                    d.remark = range ? range->asciiText() : QString();
                    d.dataset = px.dataset;
                    d.derived = true;
                    d.source = QCoreApplication::translate("Batch", "由%1导出：%2–%3 − %4–%3")
                                   .arg(px.dataset, x.key(), reference, y.key());
                    d.reference = px.source; // the dataset's own reference
                    d.doi = px.doi;
                    derivedIndex_[pairKey(d.type, d.mineralA, d.mineralB)].push_back(int(derived_.size()));
                    derived_.push_back(d);
                }
        }
    }
}

void Library::add(const Calibration &stored)
{
    Calibration c = stored;
    c.range = ReadRange(c.remark);
    if (c.terms.c != 0) c.pressureRange = ReadPressureRange(c.remark);
    if (c.terms.e != 0 || c.terms.f != 0) c.compositionRange = ReadCompositionRange(c.remark, c.terms.xName);
    c.reversed = false;
    // The names as looked up, once for the row and its reverse.
    const Names::Table &names = Names::Table::Shared();
    const QString type = names.key(Names::Kind::Type, c.type),
                  a = names.key(Names::Kind::Mineral, c.mineralA),
                  b = names.key(Names::Kind::Mineral, c.mineralB);
    direct_[joined(type, a, b)].push_back(int(rows_.size()));
    types_.insert(type);
    minerals_.insert(a);
    minerals_.insert(b);
    rows_.push_back(c);

    // The same row turned round serves B-A: Δ(B-A) = -Δ(A-B), log K(B/A) = -log K(A/B).
    Calibration r = c;
    std::swap(r.mineralA, r.mineralB);
    r.a = -c.a;
    r.b = -c.b;
    r.c = -c.c;
    // log K(B/A) = -log K(A/B): every term changes sign, P^n and the names stay.
    for (float *term : {&r.terms.c, &r.terms.e, &r.terms.f, &r.terms.nuSiO2, &r.terms.nuTiO2}) *term = -*term;
    r.reversed = true;
    turned_[joined(type, b, a)].push_back(int(reversed_.size()));
    reversed_.push_back(r);
}

bool Library::knows(Names::Kind kind, const QString &name) const
{
    const Names::Table &names = Names::Table::Shared();
    if (names.find(kind, name)) return true;
    return (kind == Names::Kind::Type ? types_ : minerals_).contains(names.key(kind, name));
}

std::vector<const Calibration *> Library::forPair(const QString &type, const QString &mineralA,
                                                  const QString &mineralB) const
{
    std::vector<const Calibration *> found;
    const QString key = pairKey(type, mineralA, mineralB);
    auto add = [&found, &key](const QHash<QString, std::vector<int>> &index,
                              const std::vector<Calibration> &from) {
        const auto at = index.constFind(key);
        if (at != index.constEnd())
            for (int i : *at) found.push_back(&from[size_t(i)]);
    };
    add(direct_, rows_);
    // A pair of one mineral with itself is its own reverse: its rows are found once.
    if (mineralA.trimmed().compare(mineralB.trimmed(), Qt::CaseInsensitive) != 0) add(turned_, reversed_);
    add(derivedIndex_, derived_);
    return found;
}

QStringList Library::derivedPartners(const QString &type, const QString &mineralA) const
{
    QStringList partners;
    for (const Calibration &d : derived_)
        if (d.type.compare(type.trimmed(), Qt::CaseInsensitive) == 0 &&
            d.mineralA.compare(mineralA.trimmed(), Qt::CaseInsensitive) == 0)
            partners << d.mineralB;
    return partners;
}

} // namespace Batch
