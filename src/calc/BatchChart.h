#pragma once

#include "core/thermometry/BatchRun.h"

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

} // namespace BatchChart
