// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/TraceTerms.h"

#include "core/base/NumberText.h"
#include "core/database/Connection.h"
#include "core/database/Recordset.h"
#include "core/store/ResultCells.h"

TraceEquation::Form FormOf(const QString &logType, double a, double b, const TraceTerms &terms)
{
    TraceEquation::Form form;
    form.logType = logType;
    form.a = a;
    form.b = b;
    form.c = terms.c;
    form.n = terms.n;
    form.e = terms.e;
    form.f = terms.f;
    form.nuSiO2 = terms.nuSiO2;
    form.nuTiO2 = terms.nuTiO2;
    return form;
}

namespace TraceColumns {
namespace {

struct Column {
    const char *name;
    const char *declaration; // type and default, as ALTER TABLE and the schema give them
};

// Names() order: C, n, E, F, X name, ν_Si, ν_Ti, K unit.
constexpr Column kColumns[8] = {
    {"ConstC_sng", "real not null default 0"},
    {"PowerN_sng", "real not null default 1"},
    {"ConstE_sng", "real not null default 0"},
    {"ConstF_sng", "real not null default 0"},
    {"XName_s", "text collate nocase not null default ''"},
    {"NuSiO2_sng", "real not null default 0"},
    {"NuTiO2_sng", "real not null default 0"},
    {"KUnit_s", "text collate nocase not null default ''"},
};

float *numberAt(TraceTerms &t, int i)
{
    switch (i) {
    case 0: return &t.c;
    case 1: return &t.n;
    case 2: return &t.e;
    case 3: return &t.f;
    case 5: return &t.nuSiO2;
    case 6: return &t.nuTiO2;
    default: return nullptr;
    }
}

QString *textAt(TraceTerms &t, int i) { return i == 4 ? &t.xName : i == 7 ? &t.kUnit : nullptr; }

} // namespace

const QStringList &Names()
{
    static const QStringList names = [] {
        QStringList n;
        for (const Column &c : kColumns) n << QString::fromLatin1(c.name);
        return n;
    }();
    return names;
}

bool IsText(int index) { return index == 4 || index == 7; }

QStringList Texts(const TraceTerms &terms)
{
    TraceTerms t = terms;
    QStringList out;
    for (int i = 0; i < 8; ++i) out << (IsText(i) ? *textAt(t, i) : Num::Str(*numberAt(t, i)));
    return out;
}

bool FromTexts(const QStringList &texts, TraceTerms *terms, int *badField)
{
    TraceTerms t;
    for (int i = 0; i < 8 && i < texts.size(); ++i) {
        const QString field = texts[i].trimmed();
        if (IsText(i)) {
            *textAt(t, i) = field;
            continue;
        }
        if (field.isEmpty()) continue; // an empty field keeps the default
        if (!Num::IsNumeric(field) || !Num::FitsSingle(field)) {
            if (badField) *badField = i;
            return false;
        }
        *numberAt(t, i) = Num::ToSingle(field);
    }
    *terms = t;
    return true;
}

QStringList Missing(Connection &conn)
{
    QStringList present;
    for (Recordset rs = conn.Execute(QStringLiteral("pragma table_info(TraceElement)")); !rs.Eof();
         rs.MoveNext())
        present << rs.Fields(QStringLiteral("name")).Text().toCaseFolded();
    QStringList missing;
    if (present.isEmpty()) return missing; // no such table: nothing to upgrade here
    for (const QString &name : Names())
        if (!present.contains(name.toCaseFolded())) missing << name;
    return missing;
}

QString Declaration(const QString &name)
{
    const int i = int(Names().indexOf(name));
    return i >= 0 ? QString::fromLatin1(kColumns[i].declaration) : QString();
}

Indexes Find(const Recordset &rs)
{
    Indexes found;
    for (int i = 0; i < 8; ++i) found.at[i] = rs.FieldIndex(Names()[i]);
    return found;
}

TraceTerms Read(const Recordset &rs, int row, const Indexes &columns)
{
    TraceTerms t;
    for (int i = 0; i < 8; ++i) {
        const int column = columns.at[i];
        if (column < 0 || rs.Cell(row, column).isNull()) continue;
        if (IsText(i))
            *textAt(t, i) = StoreDetail::CellText(rs, row, column);
        else
            *numberAt(t, i) = StoreDetail::CellSingle(rs, row, column);
    }
    return t;
}

} // namespace TraceColumns
