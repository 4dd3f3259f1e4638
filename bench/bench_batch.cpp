// SPDX-License-Identifier: GPL-3.0-or-later
// Batch thermometry: 100,000 isotope samples against a library where each
// mineral pair has three calibrations, with linear uncertainties; then 1,000
// samples with 10,000 Monte Carlo draws each. Each figure is printed with its
// ratio to a bare loop doing the same arithmetic on the same numbers.

#include "calc/BatchResultsModel.h"
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/SampleColumns.h"
#include "core/thermometry/Uncertainty.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <cmath>
#include <cstdio>
#include <random>
#include <sys/resource.h>

using namespace Batch;

namespace {

constexpr int kPairs = 50;
constexpr int kSamples = 100000;

struct Bare {
    double a, b, c, deltaA, deltaB, sigma;
};

// The arithmetic of one linear result with nothing around it: Δ, the root of
// the quadratic, the slope and σT.
double bareSolve(const Bare &x)
{
    const double delta = x.deltaA - x.deltaB;
    const double d = delta - x.c, bp = 1e3 * x.b, ap = 1e6 * x.a;
    const double root = std::sqrt(bp * bp + 4 * ap * d);
    const double t = std::max((bp + root) / (2 * d), (bp - root) / (2 * d));
    const double slope = -2 * ap / (t * t * t) - bp / (t * t);
    return t - 273.15 + x.sigma / std::fabs(slope);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> ua(2.0, 4.5), ub(-1.0, 1.0), temp(250, 750);

    Library lib;
    std::vector<Calibration> cals;
    for (int p = 0; p < kPairs; ++p)
        for (int k = 0; k < 3; ++k) {
            Calibration c;
            c.type = QStringLiteral("氧同位素");
            c.mineralA = QStringLiteral("矿物%1").arg(p);
            c.mineralB = QStringLiteral("水");
            c.a = float(ua(rng));
            c.b = float(ub(rng));
            c.c = float(-3 + 0.1 * k);
            c.remark = QStringLiteral("200-800");
            lib.add(c);
            cals.push_back(c);
        }

    QList<Row> rows;
    std::vector<Bare> bare;
    rows.reserve(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const int p = i % kPairs;
        const Calibration &c = cals[size_t(p * 3)];
        const double t = temp(rng) + 273.15;
        const double delta = c.a * 1e6 / (t * t) + c.b * 1e3 / t + c.c;
        Row r;
        r.cells = {QString::number(i),
                   c.type,
                   c.mineralA,
                   c.mineralB,
                   QString::number(delta + 2, 'f', 3),
                   QStringLiteral("0.1"),
                   QStringLiteral("2"),
                   QStringLiteral("0.1")};
        rows << r;
        for (int k = 0; k < 3; ++k) {
            const Calibration &ck = cals[size_t(p * 3 + k)];
            bare.push_back({ck.a, ck.b, ck.c, delta + 2, 2, std::sqrt(0.02)});
        }
    }

    Options linear;
    linear.draws = 0;
    QElapsedTimer timer;
    timer.start();
    SampleColumns table(Kind::Isotope);
    table.append(rows);
    const double tRead = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    const Results results = Compute(table, lib, linear);
    const double tLinear = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    volatile double sink = 0;
    for (const Bare &x : bare) sink = sink + bareSolve(x);
    const double tBare = double(timer.nsecsElapsed()) / 1e9;
    // What fresh memory for that many results costs alone: the first touch of every page.
    timer.restart();
    {
        Results fresh(results.size());
        sink = sink + fresh.back().celsius;
    }
    const double tFresh = double(timer.nsecsElapsed()) / 1e9;
    std::printf("batch table: %d samples read into columns in %.3f s\n", kSamples, tRead);
    std::printf("results memory: %zu results of %zu bytes made in %.4f s\n", results.size(), sizeof(Result),
                tFresh);
    std::printf(
        "batch linear: %d samples x 3 calibrations = %zu results from the table in %.4f s; bare loop %.4f s; "
        "ratio %.1f\n",
        kSamples, results.size(), tLinear, tBare, tLinear / tBare);

    Options mc;
    mc.draws = 10000;
    const QList<Row> thousand = rows.mid(0, 1000);
    timer.restart();
    const Results drawn = Compute(Kind::Isotope, thousand, lib, mc);
    const double tMc = double(timer.nsecsElapsed()) / 1e9;
    // The bare loop: the same solves on deviates of the same generator, nothing kept.
    Normal n01(7);
    timer.restart();
    for (int i = 0; i < 1000; ++i)
        for (int k = 0; k < 3; ++k) {
            Bare x = bare[size_t(i * 3 + k)];
            const double a = x.deltaA, b = x.deltaB;
            for (int d = 0; d < mc.draws; ++d) {
                x.deltaA = a + 0.1 * n01.next();
                x.deltaB = b + 0.1 * n01.next();
                sink = sink + bareSolve(x);
            }
        }
    const double tMcBare = double(timer.nsecsElapsed()) / 1e9;
    std::printf(
        "batch Monte Carlo: 1000 samples x 3 calibrations x %d draws in %.3f s (%zu results); bare loop "
        "%.3f s; ratio %.2f\n",
        mc.draws, tMc, drawn.size(), tMcBare, tMc / tMcBare);

    // The results list: 300,000 results and their summaries into the model and
    // the view, then a scroll from top to bottom a page at a time.
    auto shared = std::make_shared<Library>(lib);
    const Results again = Compute(Kind::Isotope, rows, *shared, linear);
    timer.restart();
    Results copy = again; // the raw operation: the results copied once
    const double tCopy = double(timer.nsecsElapsed()) / 1e9;
    BatchResultsModel model(Kind::Isotope);
    QTableView view;
    view.resize(1000, 600);
    view.setModel(&model);
    view.show();
    timer.restart();
    model.setResults(std::make_shared<SampleColumns>(table), std::move(copy), shared);
    QApplication::processEvents();
    view.viewport()->repaint();
    const double tFill = double(timer.nsecsElapsed()) / 1e9;
    QScrollBar *bar = view.verticalScrollBar();
    double worst = 0;
    int pages = 0;
    QElapsedTimer page;
    for (int v = 0; v <= bar->maximum() && pages < 200; v += bar->maximum() / 200 + 1, ++pages) {
        page.restart();
        bar->setValue(v);
        view.viewport()->repaint();
        worst = std::max(worst, double(page.nsecsElapsed()) / 1e6);
    }
    std::printf(
        "results list: %d lines filled and shown in %.3f s (copying the results alone %.3f s, ratio %.1f); "
        "%d jumps across the list, slowest repaint %.1f ms\n",
        model.rowCount(), tFill, tCopy, tFill / tCopy, pages, worst);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("bench_batch: peak memory %.0f MiB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
