// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/BatchChart.h"

#include "core/store/Names.h"
#include "core/thermometry/Equations.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QHash>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

using namespace Batch;

namespace BatchChart {

namespace {

constexpr double kFrom = 0, kTo = 1200, kStep = 5; // °C

const QList<QColor> kColours{QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
                             QColor(0x94, 0x67, 0xbd), QColor(0xff, 0x7f, 0x0e), QColor(0x8c, 0x56, 0x4b),
                             QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};

// Round ticks over the axis's range, which grows to the ticks around it.
void roundTicks(QValueAxis *axis, double lo, double hi, int ticks)
{
    if (!(hi > lo)) hi = lo + 1;
    const double step = NiceStep(hi - lo, ticks);
    lo = std::floor(lo / step + 1e-9) * step;
    hi = std::ceil(hi / step - 1e-9) * step;
    axis->setRange(lo, hi);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    // As many decimals as the step needs (2.5 × 10ⁿ one more than 2 × 10ⁿ).
    int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    if (std::fabs(step / std::pow(10.0, std::floor(std::log10(step) + 1e-9)) - 2.5) < 1e-6) ++decimals;
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + QStringLiteral("f"));
}

// Where the segment from (t0, v0) to (t1, v1) crosses the level y.
double crossing(double t0, double v0, double t1, double v1, double y)
{
    return v1 == v0 ? t1 : t0 + (t1 - t0) * (y - v0) / (v1 - v0);
}

} // namespace

double NiceStep(double span, int ticks)
{
    if (!(span > 0) || ticks < 1) return 1;
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= raw * (1 - 1e-9)) return m * power;
    return 10 * power;
}

QString LegendOf(const Calibration &c)
{
    const QString reference = c.derived ? c.reference : c.source;
    // The year and, before it, the authors: a trace remark names the reference after a "；" or ";".
    static const QRegularExpression year(
        QStringLiteral(R"((?:^|[\s(,])((?:19|20)\d\d)[a-z]?(?=[\s),;:.]|$))"));
    const QRegularExpressionMatch m = year.match(reference);
    QString text;
    if (m.hasMatch()) {
        QString authors = reference.left(m.capturedStart(1));
        const qsizetype cut =
            std::max(authors.lastIndexOf(QLatin1Char(';')), authors.lastIndexOf(QChar(0xff1b)));
        if (cut >= 0) authors = authors.mid(cut + 1);
        authors = authors.trimmed();
        while (!authors.isEmpty() && QStringLiteral("(,").contains(authors.back())) authors.chop(1);
        authors = authors.trimmed();
        // The authors, one per part between commas and "&": "Clayton, O'Neil & Mayeda" three,
        // "Daeron M., Vermeesch P." two (each a surname and initials).
        QStringList names;
        bool etAl = false;
        for (QString part : authors.split(QRegularExpression(QStringLiteral("[,&，]")), Qt::SkipEmptyParts)) {
            part = part.trimmed();
            if (part.contains(QStringLiteral("et al"))) {
                etAl = true;
                part = part.left(part.indexOf(QStringLiteral("et al"))).trimmed();
            }
            if (!part.isEmpty()) names << part.section(QLatin1Char(' '), 0, 0);
        }
        if (names.isEmpty())
            text.clear();
        else if (names.size() == 1 && !etAl)
            text = names[0];
        else if (names.size() == 2 && !etAl)
            text = names[0] + QStringLiteral(" & ") + names[1];
        else
            text = names[0] + QStringLiteral(" et al.");
        if (!text.isEmpty()) text += QStringLiteral(" (") + m.captured(1) + QLatin1Char(')');
    }
    if (text.isEmpty()) {
        text = reference.left(24);
        if (reference.size() > 24) text += QStringLiteral("…");
    }
    if (text.isEmpty()) text = QStringLiteral("A=%1 B=%2").arg(c.a).arg(c.b);
    if (c.derived) text += QCoreApplication::translate("BatchChart", "，导出");
    return c.reversed ? text + QCoreApplication::translate("BatchChart", "（反向）") : text;
}

double CurveValue(Kind kind, const Calibration &cal, double kelvin)
{
    if (kind == Kind::Isotope) return IsoEquation::Fractionation(cal.a, cal.b, cal.c, kelvin);
    const double x = TraceEquation::LogK(cal.a, cal.b, kelvin); // in the calibration's own log base
    return cal.logType == QLatin1String("e") ? x / std::log(10.0) : x;
}

void Show(QChart *chart, Kind kind, const Row &sample, const std::vector<const Result *> &results)
{
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    auto mineral = [&](int column) { return Names::Shown(Names::Kind::Mineral, sample.cells.value(column)); };
    chart->setTitle(QCoreApplication::translate("BatchChart", "%1：%2–%3")
                        .arg(sample.cells.value(Sample), mineral(MineralA), mineral(MineralB)));

    auto *x = new QValueAxis;
    x->setTitleText(QCoreApplication::translate("BatchChart", "T (℃)"));
    roundTicks(x, kFrom, kTo, 6);
    auto *y = new QValueAxis;
    y->setTitleText(kind == Kind::Isotope ? QStringLiteral("Δ (‰)") : QStringLiteral("log K"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto attach = [&](QAbstractSeries *s) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };

    // The vertical range follows the curves where the sample's solutions lie
    // (within 150 °C of them); near 0 °C the curves rise too steeply to read.
    double near0 = kFrom, near1 = kTo;
    {
        double tMin = kTo, tMax = kFrom;
        for (const Result *r : results)
            if (r->cal && Solved(r->status)) {
                tMin = std::min(tMin, r->celsius);
                tMax = std::max(tMax, r->celsius);
                if (r->second) {
                    tMin = std::min(tMin, r->second->celsius);
                    tMax = std::max(tMax, r->second->celsius);
                }
            }
        if (tMin <= tMax) {
            near0 = std::max(kFrom, tMin - 150);
            near1 = std::min(kTo, tMax + 150);
        }
    }
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    // Each calibration's curve, sampled once.
    std::vector<std::vector<QPointF>> curves;
    for (const Result *r : results) {
        curves.emplace_back();
        if (!r->cal) continue;
        for (double t = kFrom; t <= kTo + 1e-9; t += kStep) {
            const double v = CurveValue(kind, *r->cal, t + 273.15);
            if (!std::isfinite(v)) continue;
            curves.back().emplace_back(t, v);
            if (t >= near0 && t <= near1) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    }
    // The sample's value and its σ.
    const Result *any = results.empty() ? nullptr : results.front();
    const bool showSample = any && (any->cal || any->status == Status::NoCalibration);
    double value = 0;
    std::optional<double> sigma;
    if (showSample) {
        value = kind == Kind::Isotope ? any->value : std::log10(any->value);
        for (const Result *r : results)
            if (r->sigmaValue) {
                // Trace σ is in the row's log base; the chart is in log10.
                sigma = kind == Kind::Trace && r->cal && r->cal->logType == QLatin1String("e")
                            ? *r->sigmaValue / std::log(10.0)
                            : *r->sigmaValue;
                break;
            }
        const double band = sigma && *sigma > 0 ? 2 * *sigma : 0;
        lo = std::min(lo, value - band);
        hi = std::max(hi, value + band);
    }
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0;
        hi = 1;
    }
    // Curves rise steeply near 0 °C; keep the sample's neighbourhood readable.
    const double margin = std::max(0.05 * (hi - lo), 0.5);
    roundTicks(y, lo - margin, hi + margin, 6);
    const double yMin = y->min(), yMax = y->max();

    // Each curve inside the plot only: solid within its range, dashed outside,
    // cut where it leaves the plot and taken up again where it comes back.
    int colour = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        if (!results[i]->cal) continue;
        const Calibration &c = *results[i]->cal;
        const QColor col = kColours[colour++ % kColours.size()];
        QLineSeries *segment = nullptr;
        bool segmentInside = false, named = false;
        std::optional<QPointF> last;
        auto start = [&](bool inside) {
            auto *next = new QLineSeries;
            QPen pen(col, 2);
            pen.setStyle(inside ? Qt::SolidLine : Qt::DashLine);
            next->setPen(pen);
            attach(next);
            if (!named) {
                next->setName(LegendOf(c));
                named = true;
            } else {
                for (QLegendMarker *m : chart->legend()->markers(next)) m->setVisible(false);
            }
            segment = next;
            segmentInside = inside;
        };
        for (const QPointF &p : curves[i]) {
            const bool inPlot = p.y() >= yMin && p.y() <= yMax;
            const bool inside = !c.range || c.range->contains(p.x());
            if (last) {
                const bool lastInPlot = last->y() >= yMin && last->y() <= yMax;
                if (lastInPlot && !inPlot) {
                    // Leaving the plot: end at its edge.
                    const double edge = p.y() > yMax ? yMax : yMin;
                    if (segment) segment->append(crossing(last->x(), last->y(), p.x(), p.y(), edge), edge);
                    segment = nullptr;
                } else if (!lastInPlot && inPlot) {
                    // Coming back: start at the edge.
                    const double edge = last->y() > yMax ? yMax : yMin;
                    start(inside);
                    segment->append(crossing(last->x(), last->y(), p.x(), p.y(), edge), edge);
                }
            }
            if (inPlot) {
                if (!segment) {
                    start(inside);
                } else if (inside != segmentInside) {
                    // Segments join: the new one starts where the last one ended.
                    const QPointF joint = segment->at(segment->count() - 1);
                    start(inside);
                    segment->append(joint);
                }
                segment->append(p);
            }
            last = p;
        }
    }

    // More than a few curves: their names in a column beside the plot, where they fit whole.
    chart->legend()->setAlignment(colour > 3 ? Qt::AlignRight : Qt::AlignBottom);

    // The sample's value, its ±2σ band and the solutions.
    if (showSample) {
        if (sigma && *sigma > 0) {
            auto *upper = new QLineSeries, *lower = new QLineSeries;
            upper->append(kFrom, std::min(yMax, value + 2 * *sigma));
            upper->append(kTo, std::min(yMax, value + 2 * *sigma));
            lower->append(kFrom, std::max(yMin, value - 2 * *sigma));
            lower->append(kTo, std::max(yMin, value - 2 * *sigma));
            auto *band = new QAreaSeries(upper, lower);
            // The band does not own its edges; as its children they go with it.
            upper->setParent(band);
            lower->setParent(band);
            band->setName(QStringLiteral("±2σ"));
            band->setColor(QColor(128, 128, 128, 60));
            band->setBorderColor(QColor(128, 128, 128, 0));
            attach(band);
        }
        auto *line = new QLineSeries;
        line->setName(kind == Kind::Isotope ? QCoreApplication::translate("BatchChart", "样品Δ")
                                            : QCoreApplication::translate("BatchChart", "样品log K"));
        line->setPen(QPen(Qt::black, 1.5));
        line->append(kFrom, value);
        line->append(kTo, value);
        attach(line);

        auto *points = new QScatterSeries;
        points->setName(QCoreApplication::translate("BatchChart", "解"));
        points->setMarkerSize(9);
        points->setColor(Qt::black);
        for (const Result *r : results)
            if (r->cal && Solved(r->status)) {
                points->append(r->celsius, value);
                if (r->second) points->append(r->second->celsius, value);
            }
        attach(points);
    }
}

void ShowSummary(QChart *chart, const SampleColumns &samples, const Results &results)
{
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    const int n = int(samples.rowCount());
    // Past some thousands of samples the points merge into a band: every k-th
    // sample shows, and the title says so.
    constexpr int kMostSamples = 5000;
    const int stride = (n + kMostSamples - 1) / kMostSamples;
    chart->setTitle(stride > 1
                        ? QCoreApplication::translate("BatchChart", "温度汇总（每%1个样品取1个）").arg(stride)
                        : QCoreApplication::translate("BatchChart", "温度汇总"));
    // Named samples while their names fit under the plot; numbered beyond.
    constexpr int kNamedSamples = 30;
    QAbstractAxis *xAxis = nullptr;
    if (n <= kNamedSamples) {
        auto *named = new QCategoryAxis;
        named->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (int i = 0; i < n; ++i) {
            QString name = samples.text(i, Sample);
            if (name.isEmpty()) name = QString::number(i + 1);
            // Category labels must differ: a repeated name gets its number.
            named->append(named->categoriesLabels().contains(name)
                              ? name + QStringLiteral(" #") + QString::number(i + 1)
                              : name,
                          i + 1);
        }
        named->setRange(0.5, n + 0.5);
        named->setLabelsAngle(n > 10 ? -45 : 0);
        xAxis = named;
    } else {
        auto *numbered = new QValueAxis;
        roundTicks(numbered, 0, n, 8);
        numbered->setRange(0.5, n + 0.5);
        xAxis = numbered;
    }
    xAxis->setTitleText(QCoreApplication::translate("BatchChart", "样品"));
    auto *y = new QValueAxis;
    y->setTitleText(QCoreApplication::translate("BatchChart", "T (℃)"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    // One series per calibration, in the order first met.
    struct Marks {
        QScatterSeries *points;
        QColor colour;
    };
    struct Mark {
        int series, sample;
        double celsius;
        Maybe lo, hi;
    };
    std::vector<Mark> found95;
    QHash<const Calibration *, int> index;
    std::vector<Marks> marks;
    std::vector<std::pair<int, std::array<double, 3>>> bars; // series, x, lower, upper
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    static const QScatterSeries::MarkerShape shapes[] = {
        QScatterSeries::MarkerShapeCircle, QScatterSeries::MarkerShapeRectangle,
        QScatterSeries::MarkerShapeTriangle, QScatterSeries::MarkerShapeStar,
        QScatterSeries::MarkerShapePentagon};
    for (const Result &r : results) {
        if (!r.cal || r.status != Status::Ok) continue; // in range only
        if (stride > 1 && r.sample % stride != 0) continue;
        auto found = index.constFind(r.cal);
        if (found == index.constEnd()) {
            const int k = int(marks.size());
            found = index.insert(r.cal, k);
            auto *points = new QScatterSeries;
            points->setName(LegendOf(*r.cal));
            points->setMarkerShape(shapes[k % 5]);
            points->setMarkerSize(8);
            const QColor colour = kColours[k % kColours.size()];
            points->setColor(colour);
            points->setBorderColor(colour.darker(130));
            marks.push_back({points, colour});
        }
        found95.push_back({*found, r.sample, r.celsius, r.lo95, r.hi95});
    }
    // A sample's calibrations side by side, centred on it.
    QHash<int, int> perSample, placed;
    for (const Mark &m : found95) ++perSample[m.sample];
    std::vector<QList<QPointF>> points(marks.size());
    for (const Mark &m : found95) {
        const int count = perSample.value(m.sample), k = placed[m.sample]++;
        const double spread = count > 1 ? std::min(0.6 * stride / double(count - 1), 0.15 * stride) : 0;
        const double at = m.sample + 1 + spread * (k - (double(count) - 1) / 2);
        points[size_t(m.series)].append(QPointF(at, m.celsius));
        lo = std::min(lo, m.celsius);
        hi = std::max(hi, m.celsius);
        if (m.lo && m.hi) {
            bars.push_back({m.series, {at, *m.lo, *m.hi}});
            lo = std::min(lo, *m.lo);
            hi = std::max(hi, *m.hi);
        }
    }
    if (!std::isfinite(lo)) {
        lo = 0;
        hi = 1000;
    }
    // Temperatures at or above 0 ℃ keep the axis there.
    const double below = lo - 0.05 * (hi - lo) - 1;
    roundTicks(y, lo >= 0 ? std::max(0.0, below) : below, hi + 0.05 * (hi - lo) + 1, 6);
    // Many calibrations: their names in a column beside the plot, where they fit whole.
    chart->legend()->setAlignment(marks.size() > 6 ? Qt::AlignRight : Qt::AlignBottom);
    auto attach = [&](QAbstractSeries *s) {
        chart->addSeries(s);
        s->attachAxis(xAxis);
        s->attachAxis(y);
    };
    // The 95 % bars, each a line of its own (a line series has no gaps); a run
    // of thousands of samples shows its points alone.
    constexpr size_t kMostBars = 1500;
    if (bars.size() <= kMostBars)
        for (const auto &[k, b] : bars) {
            auto *bar = new QLineSeries;
            bar->setPen(QPen(marks[size_t(k)].colour, 1.2));
            bar->append(b[0], b[1]);
            bar->append(b[0], b[2]);
            attach(bar);
            for (QLegendMarker *m : chart->legend()->markers(bar)) m->setVisible(false);
        }
    for (size_t k = 0; k < marks.size(); ++k) {
        marks[k].points->replace(points[k]); // at once: point by point redraws each time
        attach(marks[k].points);
    }
}

} // namespace BatchChart
