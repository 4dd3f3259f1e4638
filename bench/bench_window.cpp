// SPDX-License-Identifier: GPL-3.0-or-later
// The isotope batch window with a million samples, as a geologist meets it:
// 导入 of a 1,000,000-row CSV, then 计算 without draws, then the results list
// scrolled from end to end. Prints each step's time beside reading the file
// alone, the longest the window went without answering (the largest gap
// between the ticks of a 10 ms timer) and the peak memory.

#include "calc/frmBatch.h"
#include "core/database/Connection.h"
#include "core/database/SharedConnection.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <random>
#include <sys/resource.h>

namespace {

constexpr int kSamples = 1000000;

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Answers the file dialog with the sample file and keeps the messages.
class Answers : public Dialogs {
  public:
    QString file;
    QStringList said;
    Answer message(QWidget *, const QString &text, const QString &, Buttons, Icon) override
    {
        said << text;
        return Answer::Yes;
    }
    QString inputBox(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    FileResult openFile(QWidget *, const FileRequest &) override { return {false, file, 1}; }
    FileResult saveFile(QWidget *, const FileRequest &) override { return {}; }
};

// The longest gap between ticks while `step` runs.
double longestGapMs(const std::function<void()> &step)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, worst = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        worst = std::max(worst, now - last);
        last = now;
    });
    tick.start();
    last = clock.elapsed();
    step();
    worst = std::max(worst, clock.elapsed() - last);
    return double(worst);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());

    // The program's own database, as beside it after the build.
    const QString db = home.filePath(QStringLiteral("Vantor.mdb"));
    if (!QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Vantor.mdb"), db)) {
        std::fprintf(stderr, "bench_window: build the default database first\n");
        return 1;
    }
    Connection conn;
    conn.setConnectionString(mdlFunction::kConnectionStringPrefix + db);
    conn.Open();
    mdlFunction::setSharedConnection(&conn);

    // A million quartz-water and calcite-water samples.
    const QString csv = home.filePath(QStringLiteral("million.csv"));
    {
        QFile f(csv);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> d(5, 25), w(-8, 4);
        QByteArray text = "sample,type,mineral_a,mineral_b,delta_a,sigma_a,delta_b,sigma_b\n";
        for (int i = 0; i < kSamples; ++i) {
            text += "S" + QByteArray::number(i) + (i % 2 ? ",氧同位素,石英,水," : ",氧同位素,方解石,水,") +
                    QByteArray::number(d(rng), 'f', 3) + ",0.1," + QByteArray::number(w(rng), 'f', 3) +
                    ",0.1\n";
            if (text.size() > (1 << 20)) {
                f.write(text);
                text.clear();
            }
        }
        f.write(text);
    }
    QElapsedTimer timer;
    timer.start();
    {
        QFile f(csv);
        f.open(QIODevice::ReadOnly);
        volatile qsizetype n = f.readAll().size();
        (void)n;
    }
    const double tFile = double(timer.nsecsElapsed()) / 1e9;

    Answers answers;
    answers.file = csv;
    Dialogs::install(&answers);
    frmIsoBatch window;
    window.resize(1200, 800);
    window.show();
    window.Load();
    QApplication::processEvents();
    auto trigger = [&](const char *key) { window.findChild<QAction *>(QString::fromLatin1(key))->trigger(); };
    auto *status = window.findChild<QLabel *>(QStringLiteral("StatusBar1_2"));
    std::printf("bench_window: %d samples, file %.1f MB; before: peak %.0f MiB\n", kSamples,
                double(QFile(csv).size()) / 1e6, peakMiB());

    // The samples pasted from a spreadsheet (tab separated, with the header) into a window.
    QString tsv;
    {
        QFile f(csv);
        f.open(QIODevice::ReadOnly);
        tsv = QString::fromUtf8(f.readAll()).replace(QLatin1Char(','), QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(tsv);
    tsv.clear();
    {
        frmIsoBatch pasted;
        pasted.show();
        pasted.Load();
        QApplication::processEvents();
        auto *table = pasted.findChild<QTableView *>(QStringLiteral("lvwSamples"));
        timer.restart();
        const double gapPaste = longestGapMs([&] {
            table->setFocus();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
            QApplication::sendEvent(table, &press);
        });
        std::printf("paste: %d rows in %.2f s; longest without answering %.0f ms; peak %.0f MiB\n",
                    table->model()->rowCount() - 20, double(timer.nsecsElapsed()) / 1e9, gapPaste, peakMiB());
    }
    QApplication::clipboard()->clear();

    timer.restart();
    const double gapImport = longestGapMs([&] { trigger("import"); });
    const double tImport = double(timer.nsecsElapsed()) / 1e9;
    std::printf("import: %.2f s (reading the file alone %.3f s, ratio %.0f); longest the window went without "
                "answering %.0f ms; peak %.0f MiB; \"%s\"\n",
                tImport, tFile, tImport / tFile, gapImport, peakMiB(), qPrintable(status->text()));

    window.findChild<QLineEdit *>(QStringLiteral("txtDraws"))->setText(QStringLiteral("0"));
    timer.restart();
    const double gapCompute = longestGapMs([&] { trigger("calculate"); });
    const double tCompute = double(timer.nsecsElapsed()) / 1e9;
    std::printf("calculate (no draws): %.2f s; longest without answering %.0f ms; peak %.0f MiB; \"%s\"\n",
                tCompute, gapCompute, peakMiB(), qPrintable(status->text()));

    auto *results = window.findChild<QTableView *>(QStringLiteral("lvwResults"));
    QScrollBar *bar = results->verticalScrollBar();
    double worst = 0;
    QElapsedTimer page;
    for (int k = 0; k <= 100; ++k) {
        page.restart();
        bar->setValue(int(qint64(bar->maximum()) * k / 100));
        results->viewport()->repaint();
        worst = std::max(worst, double(page.nsecsElapsed()) / 1e6);
    }
    std::printf("results list: %d lines; 101 jumps from top to bottom, slowest repaint %.1f ms\n",
                results->model()->rowCount(), worst);

    // A workbook, when one is named: 导入 of its first sheet.
    if (argc > 1) {
        answers.file = QString::fromLocal8Bit(argv[1]);
        frmIsoBatch book;
        book.show();
        book.Load();
        QApplication::processEvents();
        auto *bookStatus = book.findChild<QLabel *>(QStringLiteral("StatusBar1_2"));
        timer.restart();
        const double gap =
            longestGapMs([&] { book.findChild<QAction *>(QStringLiteral("import"))->trigger(); });
        std::printf("import of %s: %.2f s; longest without answering %.0f ms; peak %.0f MiB; \"%s\"\n",
                    argv[1], double(timer.nsecsElapsed()) / 1e9, gap, peakMiB(),
                    qPrintable(bookStatus->text()));
    }
    for (const QString &m : answers.said) std::printf("message: %s\n", qPrintable(m));
    Dialogs::install(nullptr);
    return 0;
}
