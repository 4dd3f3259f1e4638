// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchRun.h"
#include "core/thermometry/SampleColumns.h"

#include <QList>
#include <QString>
#include <vector>

class QChart;

// The Δ-T (or log K-T) chart of one sample: each calibration's curve from 0 to
// 1200 °C, solid inside its range and dashed outside, the sample's value as a
// line with a ±2σ band, and each solution marked.
namespace BatchChart {

// Replaces the chart's content. `results` are the sample's own results.
void Show(QChart *chart, Batch::Kind kind, const Batch::Row &sample,
          const std::vector<const Batch::Result *> &results);

// The value plotted for a calibration at a temperature (kelvin): Δ in ‰, or log10 K.
double CurveValue(Batch::Kind kind, const Batch::Calibration &cal, double kelvin);

// Every sample's in-range temperatures with their 95 % intervals as bars, one
// symbol and colour per calibration; `results` in sample order. Samples are
// named on the axis while they fit, numbered beyond.
void ShowSummary(QChart *chart, const Batch::SampleColumns &samples, const Batch::Results &results);

// How a legend names a calibration: "Author (year)", "Author & Author (year)" or
// "Author et al. (year)" from its reference; the reference's start where no year stands in it.
QString LegendOf(const Batch::Calibration &c);

// A tick interval of 1, 2, 2.5 or 5 × 10ⁿ giving about `ticks` intervals over the span.
double NiceStep(double span, int ticks);

} // namespace BatchChart
