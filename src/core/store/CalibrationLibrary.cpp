#include "core/store/CalibrationLibrary.h"

#include "core/database/Connection.h"
#include "core/database/Recordset.h"

namespace Batch {

namespace {

QString pairKey(const QString &type, const QString &a, const QString &b)
{
    return type.trimmed().toCaseFolded() + QChar(0x1f) + a.trimmed().toCaseFolded() + QChar(0x1f) +
           b.trimmed().toCaseFolded();
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
                             "Source_S from Isoplot order by ID_N")
            : QStringLiteral("select Element_s, MinA_s, MinB_s, ConstA_sng, ConstB_sng, logType_s, "
                             "Mark_s, * from TraceElement order by ID_N");
    Recordset rs = conn.Execute(sql);
    // Term columns a database not yet upgraded lacks read as their defaults.
    const TraceColumns::Indexes terms =
        kind == Kind::Trace ? TraceColumns::Find(rs) : TraceColumns::Indexes{};
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
        } else {
            c.logType = text(rs, 5);
            c.remark = text(rs, 6);
            c.source = c.remark;
            c.terms = TraceColumns::Read(rs, rs.AbsolutePosition(), terms);
        }
        lib.add(c);
    }
    return lib;
}

void Library::add(const Calibration &stored)
{
    Calibration c = stored;
    c.range = ReadRange(c.remark);
    if (c.terms.c != 0) c.pressureRange = ReadPressureRange(c.remark);
    if (c.terms.e != 0 || c.terms.f != 0) c.compositionRange = ReadCompositionRange(c.remark, c.terms.xName);
    c.reversed = false;
    direct_[pairKey(c.type, c.mineralA, c.mineralB)].push_back(int(rows_.size()));
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
    turned_[pairKey(r.type, r.mineralA, r.mineralB)].push_back(int(reversed_.size()));
    reversed_.push_back(r);
}

std::vector<const Calibration *> Library::forPair(const QString &type, const QString &mineralA,
                                                  const QString &mineralB) const
{
    std::vector<const Calibration *> found;
    const QString key = pairKey(type, mineralA, mineralB);
    for (int i : direct_.value(key)) found.push_back(&rows_[size_t(i)]);
    if (key != pairKey(type, mineralB, mineralA))
        for (int i : turned_.value(key)) found.push_back(&reversed_[size_t(i)]);
    return found;
}

} // namespace Batch
