// SPDX-License-Identifier: GPL-3.0-or-later
// The olivine window with 100,000 samples: read a tab file into the list,
// compute every temperature, export the list. Prints each step's time and the
// ratio of the round trip to reading and writing the same file without the list.

#include "calc/frmGLS.h"
#include "core/files/DelimitedText.h"
#include "core/files/TextCodec.h"
#include "ui/DelimitedFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <random>

namespace {

constexpr int kRows = 100000;

double ms(QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    QApplication app(argc, argv);

    const QString input = dir.path() + QStringLiteral("/samples.txt");
    {
        std::mt19937 rng(42);
        std::uniform_real_distribution<double> fo(0.70, 0.95), mg(0.05, 0.40);
        QByteArray text;
        for (int i = 0; i < kRows; ++i) {
            const double a = fo(rng), m = mg(rng);
            text += QByteArray::number(a, 'f', 4) + '\t' + QByteArray::number(1 - a, 'f', 4) + '\t' +
                    QByteArray::number(m, 'f', 4) + '\t' + QByteArray::number(m * 0.8, 'f', 4) + "\r\n";
        }
        QFile f(input);
        f.open(QIODevice::WriteOnly);
        f.write(text);
    }

    // The raw operation: read, decode and split the file, then join and write it again.
    QElapsedTimer t;
    t.start();
    {
        QFile in(input);
        in.open(QIODevice::ReadOnly);
        const QVector<QStringList> records =
            DelimitedText::ParseRecords(TextCodec::Decode(in.readAll()), 1, 4);
        QStringList lines;
        lines.reserve(records.size());
        for (const QStringList &r : records) lines << r.join(QLatin1Char('\t'));
        QFile out(dir.path() + QStringLiteral("/raw.txt"));
        out.open(QIODevice::WriteOnly);
        out.write(TextCodec::Encode(DelimitedText::JoinLines(lines)));
    }
    const double raw = ms(t);

    frmGLS form;
    form.show();
    form.Load();
    auto *list = form.findChild<QTreeWidget *>(QStringLiteral("ListView1"));

    t.restart();
    mdlFunction::ReadFile(input, list, 1, 4);
    QApplication::processEvents();
    const double read = ms(t);

    t.restart();
    form.CalculateAll();
    QApplication::processEvents();
    const double calc = ms(t);

    t.restart();
    mdlFunction::ExportData(dir.path() + QStringLiteral("/export.txt"), list, 1, 5);
    const double write = ms(t);

    const double total = read + calc + write;
    std::printf("olivine, %d samples (rows in list: %d)\n", kRows, list->topLevelItemCount());
    std::printf("  ReadFile into the list   %8.1f ms\n", read);
    std::printf("  CalculateAll             %8.1f ms\n", calc);
    std::printf("  ExportData               %8.1f ms\n", write);
    std::printf("  round trip               %8.1f ms\n", total);
    std::printf("  raw read+write of file   %8.1f ms\n", raw);
    std::printf("  ratio round trip / raw   %8.2f\n", total / raw);
    form.Unload();
    return 0;
}
