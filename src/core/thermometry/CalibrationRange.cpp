// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/CalibrationRange.h"

#include "core/base/NumberText.h"

#include <QCoreApplication>
#include <QRegularExpression>

bool CalibrationRange::contains(double celsius, double slack) const
{
    if (low && celsius < *low - slack) return false;
    if (high && celsius > *high + slack) return false;
    return true;
}

QString CalibrationRange::text() const
{
    const QString unit = QStringLiteral("℃");
    if (low && high) return Num::StrDouble(*low) + QLatin1Char('-') + Num::StrDouble(*high) + unit;
    if (low) return QStringLiteral("≥") + Num::StrDouble(*low) + unit;
    if (high) return QStringLiteral("≤") + Num::StrDouble(*high) + unit;
    return QString();
}

QString CalibrationRange::asciiText() const
{
    if (low && high) return Num::StrDouble(*low) + QLatin1Char('-') + Num::StrDouble(*high);
    if (low) return QStringLiteral(">=") + Num::StrDouble(*low);
    if (high) return QStringLiteral("<=") + Num::StrDouble(*high);
    return QString();
}

QString CalibrationRange::warning() const
{
    return QCoreApplication::translate("CalibrationRange", "超出适用范围（%1）").arg(text());
}

namespace {

// A number that is not part of a longer one: no digit or point touches it.
const QString kNumber = QStringLiteral(R"((?<![\d.])(\d+(?:\.\d+)?)(?![\d.]))");

const QRegularExpression &twoSided()
{
    static const QRegularExpression re(kNumber + QStringLiteral(R"(\s*(?:-|–|~|～|至|到)\s*)") + kNumber);
    return re;
}

const QRegularExpression &oneSided()
{
    static const QRegularExpression re(QStringLiteral(R"((>=|≥|>|<=|≤|<)\s*)") + kNumber);
    return re;
}

// A temperature unit right after the match: "℃", "°C", or a "C" that does not
// begin a word ("1300 C at", but not "1300 Ca"). Looks no further than the
// blanks and the unit, so that a long remark is still read in one pass.
bool unitFollows(const QString &text, qsizetype end)
{
    auto isLetter = [](QChar c) {
        return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    };
    qsizetype i = end;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace()) ++i;
    if (i >= n) return false;
    if (text[i] == QChar(0x2103)) return true; // ℃
    if (text[i] == QChar(0x00B0)) {            // °, blanks, C
        ++i;
        while (i < n && text[i].isSpace()) ++i;
        return i < n && text[i] == QLatin1Char('C');
    }
    return text[i] == QLatin1Char('C') && !(i + 1 < n && isLetter(text[i + 1]));
}

// A pressure unit right after the match ("10-30 kbar", "1-2 GPa"): a span that
// opens the text with one is no temperature range.
bool pressureUnitFollows(const QString &text, qsizetype end)
{
    static const QRegularExpression unit(QStringLiteral(R"(\G\s*(?:kbar|kb|bar|GPa|MPa|atm)\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return unit.match(text, end).hasMatch();
}

// Where the text's first character other than a blank stands.
qsizetype firstNonBlank(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    return i;
}

} // namespace

std::optional<CalibrationRange> ReadRange(const QString &remark)
{
    struct Candidate {
        qsizetype start = -1;
        CalibrationRange range;
    };
    std::optional<Candidate> best;
    const qsizetype opening = firstNonBlank(remark);
    // Matches come in order, so the first one that counts is the earliest of its
    // kind: one pass over the text, however long.
    auto counts = [&](const QRegularExpressionMatch &m) {
        if (unitFollows(remark, m.capturedEnd())) return true;
        return m.capturedStart() <= opening && !pressureUnitFollows(remark, m.capturedEnd());
    };
    auto consider = [&](const QRegularExpressionMatch &m, const CalibrationRange &range) {
        if (!best || m.capturedStart() < best->start) best = Candidate{m.capturedStart(), range};
    };

    // A range that opens the text may start below zero ("-1.8-1100"): the sign
    // before its first number is read there only.
    const bool signedOpening = opening + 1 < remark.size() &&
                               (remark[opening] == QLatin1Char('-') || remark[opening] == QChar(0x2212));
    for (auto it = twoSided().globalMatch(remark); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool negative = signedOpening && m.capturedStart() == opening + 1;
        if (!negative && !counts(m)) continue;
        if (negative && pressureUnitFollows(remark, m.capturedEnd())) continue;
        double a = (negative ? -1 : 1) * m.captured(1).toDouble(), b = m.captured(2).toDouble();
        if (a > b) std::swap(a, b);
        consider(m, CalibrationRange{a, b});
        break;
    }
    for (auto it = oneSided().globalMatch(remark); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (best && m.capturedStart() > best->start) break;
        if (!counts(m)) continue;
        const QString op = m.captured(1);
        const double v = m.captured(2).toDouble();
        const bool lower = op.startsWith(QLatin1Char('>')) || op == QStringLiteral("≥");
        consider(m, lower ? CalibrationRange{v, std::nullopt} : CalibrationRange{std::nullopt, v});
        break;
    }
    if (!best) return std::nullopt;
    return best->range;
}

namespace {

std::optional<CalibrationRange> spanAt(const QRegularExpressionMatch &m, int first)
{
    double a = m.captured(first).toDouble(), b = m.captured(first + 1).toDouble();
    if (a > b) std::swap(a, b);
    return CalibrationRange{a, b};
}

} // namespace

std::optional<CalibrationRange> ReadPressureRange(const QString &remark)
{
    static const QRegularExpression re(kNumber + QStringLiteral(R"(\s*(?:-|–|~|～|至|到)\s*)") + kNumber +
                                       QStringLiteral(R"(\s*kbar\b)"));
    const QRegularExpressionMatch m = re.match(remark);
    if (!m.hasMatch()) return std::nullopt;
    return spanAt(m, 1);
}

std::optional<CalibrationRange> ReadCompositionRange(const QString &remark, const QString &xName)
{
    if (xName.trimmed().isEmpty()) return std::nullopt;
    const QRegularExpression re(QRegularExpression::escape(xName.trimmed()) +
                                QStringLiteral(R"(\s*[=:：]?\s*)") + kNumber +
                                QStringLiteral(R"(\s*(?:-|–|~|～|至|到)\s*)") + kNumber);
    const QRegularExpressionMatch m = re.match(remark);
    if (!m.hasMatch()) return std::nullopt;
    return spanAt(m, 1);
}

QString PressureWarning(const CalibrationRange &range)
{
    return QCoreApplication::translate("CalibrationRange", "超出适用压力范围（%1 kbar）")
        .arg(range.asciiText());
}

QString CompositionWarning(const CalibrationRange &range, const QString &xName)
{
    return QCoreApplication::translate("CalibrationRange", "超出适用成分范围（%1 %2）")
        .arg(xName.trimmed(), range.asciiText());
}
