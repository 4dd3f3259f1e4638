#include "calc/CalibrationRange.h"

#include "app/NumberText.h"

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
    return QStringLiteral("超出适用范围（") + text() + QStringLiteral("）");
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
// begin a word ("1300 C at", but not "1300 Ca").
bool unitFollows(const QString &text, qsizetype end)
{
    static const QRegularExpression unit(QStringLiteral(R"(^\s*(?:℃|°\s*C|C(?![A-Za-z])))"));
    return unit.match(QStringView(text).mid(end)).hasMatch();
}

bool opensText(const QString &text, qsizetype start) { return text.left(start).trimmed().isEmpty(); }

} // namespace

std::optional<CalibrationRange> ReadRange(const QString &remark)
{
    struct Candidate {
        qsizetype start = -1;
        CalibrationRange range;
    };
    std::optional<Candidate> best;
    auto consider = [&](const QRegularExpressionMatch &m, const CalibrationRange &range) {
        if (!opensText(remark, m.capturedStart()) && !unitFollows(remark, m.capturedEnd())) return;
        if (!best || m.capturedStart() < best->start) best = Candidate{m.capturedStart(), range};
    };

    for (auto it = twoSided().globalMatch(remark); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        double a = m.captured(1).toDouble(), b = m.captured(2).toDouble();
        if (a > b) std::swap(a, b);
        consider(m, CalibrationRange{a, b});
    }
    for (auto it = oneSided().globalMatch(remark); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString op = m.captured(1);
        const double v = m.captured(2).toDouble();
        const bool lower = op.startsWith(QLatin1Char('>')) || op == QStringLiteral("≥");
        consider(m, lower ? CalibrationRange{v, std::nullopt} : CalibrationRange{std::nullopt, v});
    }
    if (!best) return std::nullopt;
    return best->range;
}
