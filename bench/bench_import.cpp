// SPDX-License-Identifier: GPL-3.0-or-later
// A 1,000,000-line sample file read into the olivine window's list: once clean,
// once with a single byte that is neither UTF-8 nor GB18030. Prints both import
// times (the better of two runs each), their ratio, and the decoding alone
// against reading the bytes.

#include "calc/frmGLS.h"
#include "core/files/TextCodec.h"
#include "ui/DelimitedFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr int kLines = 1000000;

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

QByteArray sampleText()
{
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> fo(0.70, 0.95), mg(0.05, 0.40);
    QByteArray text;
    text.reserve(kLines * 30);
    for (int i = 0; i < kLines; ++i) {
        const double a = fo(rng), m = mg(rng);
        text += QByteArray::number(a, 'f', 4) + '\t' + QByteArray::number(1 - a, 'f', 4) + '\t' +
                QByteArray::number(m, 'f', 4) + '\t' + QByteArray::number(m * 0.8, 'f', 4) + "\r\n";
    }
    return text;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// The import the user runs: the file into the window's list.
double import(QTreeWidget *list, const QString &path)
{
    list->clear();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    mdlFunction::ReadFile(path, list, 1, 4);
    QApplication::processEvents();
    const double took = ms(t);
    if (list->topLevelItemCount() != kLines) {
        std::fprintf(stderr, "%d rows read instead of %d\n", list->topLevelItemCount(), kLines);
        std::exit(1);
    }
    return took;
}

double decode(const QByteArray &bytes)
{
    QElapsedTimer t;
    t.start();
    const QString text = TextCodec::Decode(bytes);
    const double took = ms(t);
    if (text.isEmpty()) std::exit(1);
    return took;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    QApplication app(argc, argv);

    const QByteArray clean = sampleText();
    QByteArray stray = clean;
    // In the middle of a field of the first line: everything after it goes to the fallback.
    stray.insert(3, '\xff');
    const QString cleanPath = dir.path() + QStringLiteral("/clean.txt");
    const QString strayPath = dir.path() + QStringLiteral("/stray.txt");
    writeFile(cleanPath, clean);
    writeFile(strayPath, stray);

    QElapsedTimer t;
    t.start();
    {
        QFile f(cleanPath);
        f.open(QIODevice::ReadOnly);
        if (f.readAll().size() != clean.size()) return 1;
    }
    const double raw = ms(t);
    const double decodeClean = decode(clean);
    const double decodeStray = decode(stray);

    frmGLS form;
    form.show();
    form.Load();
    auto *list = form.findChild<QTreeWidget *>(QStringLiteral("ListView1"));
    // Alternately, twice each, the better of each pair: the first import also warms the allocator.
    double importClean = 1e300, importStray = 1e300;
    for (int round = 0; round < 2; ++round) {
        importStray = std::min(importStray, import(list, strayPath));
        importClean = std::min(importClean, import(list, cleanPath));
    }

    std::printf("import, %d-line sample file into the olivine list\n", kLines);
    std::printf("  raw read of the file             %8.1f ms\n", raw);
    std::printf("  decode, clean (UTF-8)            %8.1f ms\n", decodeClean);
    std::printf("  decode, one stray byte (GB18030) %8.1f ms\n", decodeStray);
    std::printf("  import, clean                    %8.1f ms\n", importClean);
    std::printf("  import, one stray byte           %8.1f ms\n", importStray);
    std::printf("  ratio stray / clean import       %8.2f\n", importStray / importClean);
    std::printf("  ratio clean import / raw read    %8.2f\n", importClean / raw);
    return 0;
}
