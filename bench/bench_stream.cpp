// SPDX-License-Identifier: GPL-3.0-or-later
// A million samples read and computed a piece at a time, as lorvane-calc does:
// the time, its ratio to reading the same file alone, and the peak memory.

#include "core/thermometry/BatchRun.h"
#include "core/thermometry/SampleStream.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <sys/resource.h>

using namespace Batch;

namespace {

constexpr int kSamples = 1000000;

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.csv"));
    {
        // Written as it goes: the file never stands in memory.
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> u(0, 1);
        f.write("sample,type,mineral_a,mineral_b,delta_a,sigma_a,delta_b,sigma_b\n");
        QByteArray line;
        for (int i = 0; i < kSamples; ++i) {
            line = "S" + QByteArray::number(i) + ",氧同位素,石英,水," +
                   QByteArray::number(12 + 4 * u(random), 'f', 3) + ",0.1," +
                   QByteArray::number(4 * u(random) - 2, 'f', 3) + ",0.1\n";
            f.write(line);
        }
    }
    Library library;
    const double constants[5][3] = {
        {3.38, 0, -3.4}, {4.1, 0, -3.7}, {4.28, -3.5, 0}, {3.306, 0, -2.71}, {4.1134, -3.3866, 0}};
    for (const auto &k : constants) {
        Calibration c;
        c.type = QStringLiteral("氧同位素");
        c.mineralA = QStringLiteral("石英");
        c.mineralB = QStringLiteral("水");
        c.a = k[0];
        c.b = k[1];
        c.c = k[2];
        library.add(c);
    }
    const long before = peakKiB();

    // The raw operation: the file read whole in the same pieces, its line ends counted.
    QElapsedTimer timer;
    timer.start();
    qint64 lineEnds = 0;
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        while (!f.atEnd()) lineEnds += f.read(SampleStream::kPieceBytes).count('\n');
    }
    const double tRaw = double(timer.nsecsElapsed()) / 1e9;

    timer.restart();
    SampleStream stream(Kind::Isotope, path);
    QString why;
    if (!stream.open(&why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    Options options;
    options.draws = 0;
    qint64 rows = 0, results = 0;
    for (;;) {
        const Mapped piece = stream.next();
        if (piece.rows.isEmpty()) break;
        options.firstRow = rows;
        results += qint64(Compute(Kind::Isotope, piece.rows, library, options).size());
        rows += piece.rows.size();
    }
    const double tStream = double(timer.nsecsElapsed()) / 1e9;
    std::printf(
        "stream: %lld samples x 5 calibrations = %lld results read and computed in %.2f s; reading the "
        "file alone %.3f s (%lld lines); ratio %.1f; peak memory %.0f MiB (%.0f MiB before reading)\n",
        static_cast<long long>(rows), static_cast<long long>(results), tStream, tRaw,
        static_cast<long long>(lineEnds), tStream / tRaw, double(peakKiB()) / 1024, double(before) / 1024);
    return rows == kSamples ? 0 : 1;
}
