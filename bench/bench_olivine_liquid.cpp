// SPDX-License-Identifier: GPL-3.0-or-later
// lorvane-calc olivine on 100,000 olivine-liquid pairs of microprobe oxides, as
// a user runs it: the whole process, file to file. Printed beside the time to
// read the same file alone (open, read, decode, split into fields) in this run.

#include "core/files/TextCodec.h"
#include "core/thermometry/BatchTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <sys/resource.h>

namespace {

constexpr int kPairs = 100000;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("pairs.csv"));
    {
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> jitter(0.95, 1.05);
        QByteArray text =
            "sample,SiO2_Liq,TiO2_Liq,Al2O3_Liq,FeOt_Liq,MnO_Liq,MgO_Liq,CaO_Liq,Na2O_Liq,K2O_Liq,"
            "H2O_Liq,P_kbar,Fe3Fet_Liq,SiO2_Ol,TiO2_Ol,Al2O3_Ol,FeOt_Ol,MnO_Ol,MgO_Ol,CaO_Ol\n";
        const double liquid[] = {51.4, 0.66, 18.0, 5.98, 0.14, 5.35, 9.77, 3.07, 0.41, 5.16};
        const double olivine[] = {39.7, 0.03, 0.06, 16.9, 0.2, 44.0, 0.33};
        for (int i = 0; i < kPairs; ++i) {
            QByteArray line = "s" + QByteArray::number(i);
            for (double v : liquid) line += ',' + QByteArray::number(v * jitter(rng), 'f', 4);
            line += ",5,0.2";
            for (double v : olivine) line += ',' + QByteArray::number(v * jitter(rng), 'f', 4);
            text += line + '\n';
        }
        QFile f(input);
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) return 1;
    }

    // The file alone: read, decoded and split, as the program's reader does before any science.
    QElapsedTimer clock;
    clock.start();
    QFile f(input);
    if (!f.open(QIODevice::ReadOnly)) return 1;
    const QList<Batch::Row> rows = Batch::SplitDelimited(TextCodec::Decode(f.readAll()), QLatin1Char(','));
    const double readOnly = clock.nsecsElapsed() / 1e9;
    if (rows.size() != kPairs + 1) return 1;

    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/lorvane-calc");
    const QString output = dir.filePath(QStringLiteral("out.csv"));
    clock.restart();
    QProcess p;
    p.start(program, {QStringLiteral("olivine"), input, QStringLiteral("-o"), output});
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        std::fprintf(stderr, "lorvane-calc olivine failed: %s\n", p.readAllStandardError().constData());
        return 1;
    }
    const double whole = clock.nsecsElapsed() / 1e9;
    struct rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::printf(
        "olivine-liquid, %d pairs: lorvane-calc olivine %.3f s (%.1f x reading the file alone, %.3f s); "
        "peak %.0f MB\n",
        kPairs, whole, whole / readOnly, readOnly, usage.ru_maxrss / 1024.0);
    return 0;
}
