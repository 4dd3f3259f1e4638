// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/TraceTermFields.h"

#include "core/base/NumberText.h"
#include "core/store/TraceTerms.h"

#include <QCoreApplication>

namespace TraceTermFields {

namespace {
// Places in the order of TraceColumns::Names().
constexpr int kN = 1, kXName = 4;
} // namespace

QStringList Headers()
{
    return {QStringLiteral("C"),       QStringLiteral("n"),
            QStringLiteral("E"),       QStringLiteral("F"),
            QStringLiteral("X"),       QStringLiteral("ν(SiO2)"),
            QStringLiteral("ν(TiO2)"), QCoreApplication::translate("TraceTermFields", "K单位")};
}

QString PowerNotPositiveText() { return QCoreApplication::translate("TraceTermFields", "指数n必须大于0"); }

QString XNameMissingText() { return QCoreApplication::translate("TraceTermFields", "请输入成分变量X的名称"); }

bool IsText(int field) { return TraceColumns::IsText(field); }

Check Examine(const QStringList &texts)
{
    for (int i = 0; i < kCount; ++i) {
        const QString field = texts.value(i).trimmed();
        if (IsText(i) || field.isEmpty()) continue;
        if (!Num::IsNumeric(field)) return {Problem::NotANumber, i};
        if (!Num::FitsSingle(field)) return {Problem::OutOfRange, i};
    }
    TraceTerms terms;
    if (!TraceColumns::FromTexts(texts.mid(0, kCount), &terms)) return {Problem::NotANumber, -1};
    // A negative or zero power of a pressure of 0 is infinite or undefined.
    if (terms.c != 0 && !(terms.n > 0)) return {Problem::PowerNotPositive, kN};
    if ((terms.e != 0 || terms.f != 0) && terms.xName.isEmpty()) return {Problem::XNameMissing, kXName};
    return {};
}

QStringList Stored(const QStringList &texts)
{
    TraceTerms terms;
    if (Examine(texts).problem != Problem::None || !TraceColumns::FromTexts(texts.mid(0, kCount), &terms))
        return texts;
    return TraceColumns::Texts(terms);
}

} // namespace TraceTermFields
