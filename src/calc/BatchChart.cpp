#include "calc/BatchChart.h"

#include "core/thermometry/Equations.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace Batch;

namespace BatchChart {

namespace {

constexpr double kFrom = 0, kTo = 1200, kStep = 5; // °C

const QList<QColor> kColours{QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
                             QColor(0x94, 0x67, 0xbd), QColor(0xff, 0x7f, 0x0e), QColor(0x8c, 0x56, 0x4b),
                             QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};

QString legendOf(const Calibration &c)
{
    QString text = c.source.left(18);
    if (c.source.size() > 18) text += QStringLiteral("…");
    if (text.isEmpty()) text = QStringLiteral("A=%1 B=%2").arg(c.a).arg(c.b);
    return c.reversed ? text + QStringLiteral("（反向）") : text;
}

} // namespace

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
    chart->setTitle(sample.cells.value(Sample) + QStringLiteral("：") + sample.cells.value(MineralA) +
                    QStringLiteral("–") + sample.cells.value(MineralB));

    auto *x = new QValueAxis;
    x->setTitleText(QStringLiteral("T (℃)"));
    x->setRange(kFrom, kTo);
    x->setLabelFormat(QStringLiteral("%.0f"));
    auto *y = new QValueAxis;
    y->setTitleText(kind == Kind::Isotope ? QStringLiteral("Δ (‰)") : QStringLiteral("log K"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

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
    auto attach = [&](QAbstractSeries *s) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };

    int colour = 0;
    for (const Result *r : results) {
        if (!r->cal) continue;
        const Calibration &c = *r->cal;
        const QColor col = kColours[colour++ % kColours.size()];
        QLineSeries *segment = nullptr;
        bool segmentInside = false, first = true;
        for (double t = kFrom; t <= kTo + 1e-9; t += kStep) {
            const double v = CurveValue(kind, c, t + 273.15);
            if (!std::isfinite(v)) continue;
            if (t >= near0 && t <= near1) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
            const bool inside = !c.range || c.range->contains(t);
            if (!segment || inside != segmentInside) {
                QLineSeries *next = new QLineSeries;
                QPen pen(col, 2);
                pen.setStyle(inside ? Qt::SolidLine : Qt::DashLine);
                next->setPen(pen);
                // Segments join: the new one starts where the last one ended.
                if (segment && segment->count() > 0) next->append(segment->at(segment->count() - 1));
                attach(next);
                if (first) {
                    next->setName(legendOf(c));
                    first = false;
                } else {
                    for (QLegendMarker *m : chart->legend()->markers(next)) m->setVisible(false);
                }
                segment = next;
                segmentInside = inside;
            }
            segment->append(t, v);
        }
    }

    // The sample's value, its ±2σ band and the solutions.
    const Result *any = results.empty() ? nullptr : results.front();
    if (any && (any->cal || any->status == Status::NoCalibration)) {
        double value = kind == Kind::Isotope ? any->value : std::log10(any->value);
        std::optional<double> sigma;
        for (const Result *r : results)
            if (r->sigmaValue) {
                // Trace σ is in the row's log base; the chart is in log10.
                sigma = kind == Kind::Trace && r->cal && r->cal->logType == QLatin1String("e")
                            ? *r->sigmaValue / std::log(10.0)
                            : *r->sigmaValue;
                break;
            }
        if (sigma && *sigma > 0) {
            auto *upper = new QLineSeries, *lower = new QLineSeries;
            upper->append(kFrom, value + 2 * *sigma);
            upper->append(kTo, value + 2 * *sigma);
            lower->append(kFrom, value - 2 * *sigma);
            lower->append(kTo, value - 2 * *sigma);
            auto *band = new QAreaSeries(upper, lower);
            // The band does not own its edges; as its children they go with it.
            upper->setParent(band);
            lower->setParent(band);
            band->setName(QStringLiteral("±2σ"));
            band->setColor(QColor(128, 128, 128, 60));
            band->setBorderColor(QColor(128, 128, 128, 0));
            attach(band);
            lo = std::min(lo, value - 2 * *sigma);
            hi = std::max(hi, value + 2 * *sigma);
        }
        auto *line = new QLineSeries;
        line->setName(kind == Kind::Isotope ? QStringLiteral("样品Δ") : QStringLiteral("样品log K"));
        line->setPen(QPen(Qt::black, 1.5));
        line->append(kFrom, value);
        line->append(kTo, value);
        attach(line);
        lo = std::min(lo, value);
        hi = std::max(hi, value);

        auto *points = new QScatterSeries;
        points->setName(QStringLiteral("解"));
        points->setMarkerSize(9);
        points->setColor(Qt::black);
        for (const Result *r : results)
            if (r->cal && Solved(r->status)) {
                points->append(r->celsius, value);
                if (r->second) points->append(r->second->celsius, value);
            }
        attach(points);
    }
    if (std::isfinite(lo) && std::isfinite(hi)) {
        // Curves rise steeply near 0 °C; keep the sample's neighbourhood readable.
        const double margin = std::max(0.05 * (hi - lo), 0.5);
        y->setRange(lo - margin, hi + margin);
    }
}

} // namespace BatchChart
