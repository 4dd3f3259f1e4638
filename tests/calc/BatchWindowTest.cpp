// SPDX-License-Identifier: GPL-3.0-or-later
// The batch windows as a user meets them: cells pasted and imported, "计算",
// a sample chosen for the chart, the results and the chart exported.
#include "CalcTestSupport.h"
#include "calc/BatchResultsModel.h"
#include "calc/frmBatch.h"
#include "core/base/Language.h"
#include "core/base/ProgramFolders.h"
#include "support/core/QtPrinting.h"
#include "support/core/TempDatabase.h"
#include "support/ui/ScriptedDialogs.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QValueAxis>
#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace {

// Clayton-type row (B = 0): T = sqrt(A·10^6 / (Δ - C)), in °C with one decimal.
QString claytonCelsius(double a, double c, double delta)
{
    return QString::number(std::sqrt(a * 1e6 / (delta - c)) - 273.15, 'f', 1);
}

// Every sheet of a workbook as openpyxl reads it: "#" and the sheet's name, then
// each row as "type:value" cells joined by "|" (an empty cell as "").
QStringList readWithOpenpyxl(const QString &path)
{
    QProcess py;
    py.start(QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                               : QStringLiteral("python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import openpyxl,sys\nfor ws in openpyxl.load_workbook(sys.argv[1]):\n"
                             " print('#'+ws.title)\n"
                             " for r in ws.iter_rows(values_only=True): print('|'.join('' if v is None else "
                             "type(v).__name__+':'+str(v) for v in r))"),
              path});
    if (!py.waitForFinished(30000)) return {};
    return QString::fromUtf8(py.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class BatchWindow : public ::testing::Test {
  protected:
    void SetUp() override
    {
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (1,'氧同位素','石英','水',3.38,0,-3.4,'200-500','Clayton')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (2,'氧同位素','石英','水',4.1,0,-3.7,'500-800','Bottinga')"));
        db.exec(QStringLiteral(
            "insert into Isoplot(ID_N,IsoType_S,MinA_S,MinB_S,ConstA_N,ConstB_N,ConstC_N,Mark_S,Source_S) "
            "values (3,'氧同位素','水','磁铁矿',-1.7764,7.3851,0,'200-900','Vho')"));
        db.exec(QStringLiteral(
            "insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,logType_s,Mark_s) "
            "values (1,'Ti','锆石','单矿物',-5080,6.01,'10',"
            "'580-1070；K为锆石中Ti含量(ppm)；Watson & Harrison 2005')"));
        // Templates from the build, as beside the program.
        ProgramFolders::Layout layout;
        layout.dataDir = QStringLiteral(LORVANE_BIN_DIR);
        ProgramFolders::SetCurrent(layout);
        open(new frmIsoBatch());
    }
    void TearDown() override
    {
        delete form;
        ProgramFolders::ResetCurrent();
    }

    void open(frmBatch *f)
    {
        delete form;
        form = f;
        form->show();
        form->Load();
        samples = findNamed<QTableView>(form, QStringLiteral("lvwSamples"));
        results = findNamed<QTableView>(form, QStringLiteral("lvwResults"));
        status = findNamed<QLabel>(form, QStringLiteral("StatusBar1_2"));
    }
    void paste(const QString &text)
    {
        QApplication::clipboard()->setText(text);
        samples->setFocus();
        QTest::keyClick(samples, Qt::Key_V, Qt::ControlModifier);
    }
    void trigger(const char *key) { findNamed<QAction>(form, QString::fromLatin1(key))->trigger(); }
    QStringList line(int i) const { return form->resultsModel()->lineTexts(i); }

    TempDatabase db;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    frmBatch *form = nullptr;
    QTableView *samples;
    QVariant cell(int r, int c, int role = Qt::DisplayRole) const
    {
        return samples->model()->index(r, c).data(role);
    }
    QTableView *results;
    QLabel *status;
};

} // namespace

TEST_F(BatchWindow, CaptionsAndColumns)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("同位素温度计_批量计算"));
    QStringList titles;
    for (int c = 0; c < samples->model()->columnCount(); ++c)
        titles << samples->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(titles, QStringList({"样品", "同位素", "矿物A", "矿物B", "δA", "σA", "δB", "σB"}));
    QStringList resultTitles;
    for (int c = 0; c < results->model()->columnCount(); ++c)
        resultTitles << results->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(resultTitles,
              QStringList({"样品", "矿物对", "A", "B", "C", "资料来源", "温度(℃)", "±1σ(℃)", "分析σ(℃)",
                           "标定σ(℃)", "95%区间(℃)", "另一解(℃)", "另一解95%区间(℃)", "适用范围", "状态"}));
    EXPECT_EQ(findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->text(), QStringLiteral("10000"));
    EXPECT_EQ(findNamed<QCheckBox>(form, QStringLiteral("chkExact"))->text(), QStringLiteral("精确1000lnα"));
    EXPECT_FALSE(findNamed<QCheckBox>(form, QStringLiteral("chkExact"))->isChecked());

    open(new frmTraceBatch());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("微量元素温度计_批量计算"));
    titles.clear();
    for (int c = 0; c < samples->model()->columnCount(); ++c)
        titles << samples->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(titles,
              QStringList({"样品", "元素", "矿物A", "矿物B", "含量A", "σA", "含量B", "σB", "K", "压力(kbar)",
                           "σP(kbar)", "aTiO₂", "σaTiO₂", "aSiO₂", "σaSiO₂", "X", "σX"}));
    EXPECT_EQ(results->model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("函数"));
    EXPECT_EQ(results->model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("备注"));
    EXPECT_EQ(form->findChild<QCheckBox *>(QStringLiteral("chkExact")), nullptr);
}

TEST_F(BatchWindow, PasteComputeAndChart)
{
    // Cells copied out of a spreadsheet, with their header row.
    paste(QStringLiteral("样品\t同位素\t矿物A\t矿物B\tδA\tσA\tδB\tσB\n"
                         "Q1\t氧同位素\t石英\t水\t10\t0.2\t2\t0.2\n"
                         "M1\t氧同位素\t磁铁矿\t水\t0\t0.1\t6.5802\t0.1\n"
                         "P1\t硫同位素\t黄铁矿\t方铅矿\t3\t\t1\t\n"
                         "B1\t氧同位素\t石英\t水\t1x\t\t2\t\n"));
    ASSERT_EQ(form->sampleRows().size(), 4);
    EXPECT_EQ(cell(0, 0).toString(), QStringLiteral("Q1"));
    // The bad cell is marked where it is, with why.
    EXPECT_EQ(cell(3, 4, Qt::ToolTipRole).toString(), QStringLiteral("不是数字：1x"));
    EXPECT_TRUE(cell(3, 4, Qt::BackgroundRole).isValid());
    EXPECT_TRUE(cell(3, 5, Qt::ToolTipRole).toString().isEmpty());

    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("2000"));
    trigger("calculate");
    BatchResultsModel *m = form->resultsModel();
    // Q1: two calibrations and a summary; M1 (stored as water-magnetite): one and a summary;
    // P1: no calibration; B1: bad data.
    ASSERT_EQ(m->rowCount(), 7);
    EXPECT_EQ(line(0).mid(0, 7),
              QStringList({"Q1", "石英–水", "3.38", "0", "-3.4", "Clayton", claytonCelsius(3.38, -3.4, 8)}));
    EXPECT_EQ(line(0)[13], QStringLiteral("200-500℃"));
    EXPECT_EQ(line(0)[14], QString());
    EXPECT_EQ(line(1)[6], claytonCelsius(4.1, -3.7, 8));
    EXPECT_EQ(line(1)[14], QStringLiteral("超出适用范围"));
    // σT = σΔ / |dΔ/dT| with σΔ = sqrt(0.2² + 0.2²) and dΔ/dT = -2A·10^6/T³.
    const double t = std::sqrt(3.38e6 / 11.4);
    EXPECT_EQ(line(0)[7], QString::number(std::sqrt(0.08) / (2 * 3.38e6 / (t * t * t)), 'f', 1));
    EXPECT_TRUE(line(0)[10].contains(QStringLiteral("–")));
    EXPECT_EQ(line(0)[8], line(0)[7]) << "all of it analytical";
    // Every number whole at the window's size: the columns follow their contents.
    for (int c : {6, 7, 8})
        EXPECT_GE(results->columnWidth(c), results->fontMetrics().horizontalAdvance(line(0)[c]) + 4) << c;
    EXPECT_EQ(line(0)[9], QString()) << "no published error of the calibration";
    // Only the in-range calibration counts in the summary.
    EXPECT_EQ(line(2)[1], QStringLiteral("汇总"));
    EXPECT_EQ(line(2)[6], claytonCelsius(3.38, -3.4, 8));
    EXPECT_EQ(line(2)[14],
              QStringLiteral("1个适用温度的平均值；最低–最高 %1–%1").arg(claytonCelsius(3.38, -3.4, 8)));
    EXPECT_EQ(line(3).mid(0, 5), QStringList({"M1", "磁铁矿–水", "1.7764", "-7.3851", "0"}));
    EXPECT_EQ(line(3)[6], QStringLiteral("500.0"));
    EXPECT_EQ(line(5)[0], QStringLiteral("P1"));
    EXPECT_EQ(line(5)[14], QStringLiteral("无标定"));
    EXPECT_EQ(line(6)[14], QStringLiteral("数据无效：不是数字：1x"));
    EXPECT_EQ(status->text(), QStringLiteral("4个样品，5个结果；1个样品数据无效；1个样品无标定"));

    // Choosing M1 draws its pair: one curve (in three pieces around its range), the sample's line,
    // the ±2σ band and the solution.
    results->selectRow(3);
    QChart *chart = findNamed<QChartView>(form, QStringLiteral("chtDeltaT"))->chart();
    EXPECT_EQ(chart->title(), QStringLiteral("M1：磁铁矿–水"));
    QStringList names;
    for (QAbstractSeries *s : chart->series())
        if (!s->name().isEmpty()) names << s->name();
    EXPECT_EQ(names, QStringList({"Vho（反向）", "±2σ", "样品Δ", "解"}));
    const QList<QAbstractAxis *> axes = chart->axes();
    ASSERT_EQ(axes.size(), 2);
    EXPECT_EQ(axes[0]->titleText(), QStringLiteral("T (℃)"));
    EXPECT_EQ(axes[1]->titleText(), QStringLiteral("Δ (‰)"));
    // Round ticks: 200 ℃ apart, and a step of 1, 2, 2.5 or 5 × 10ⁿ on Δ with the range on its ticks.
    auto *tAxis = qobject_cast<QValueAxis *>(axes[0]);
    auto *d = qobject_cast<QValueAxis *>(axes[1]);
    ASSERT_TRUE(tAxis && d);
    EXPECT_EQ(tAxis->tickInterval(), 200.0);
    const double mantissa = d->tickInterval() / std::pow(10.0, std::floor(std::log10(d->tickInterval())));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                std::fabs(mantissa - 2.5) < 1e-9 || std::fabs(mantissa - 5) < 1e-9)
        << d->tickInterval();
    EXPECT_NEAR(std::remainder(d->min(), d->tickInterval()), 0, 1e-9);
    EXPECT_NEAR(std::remainder(d->max(), d->tickInterval()), 0, 1e-9);
    // The solid part inside the range, dashed outside it, and nothing outside the plot.
    int dashed = 0, solid = 0;
    for (QAbstractSeries *s : chart->series())
        if (auto *l = qobject_cast<QLineSeries *>(s); l && l->pen().widthF() == 2.0) {
            (l->pen().style() == Qt::DashLine ? dashed : solid)++;
            for (const QPointF &p : l->points()) {
                EXPECT_GE(p.y(), d->min() - 1e-9);
                EXPECT_LE(p.y(), d->max() + 1e-9);
            }
        }
    EXPECT_EQ(solid, 1);
    EXPECT_GE(dashed, 1);
}

TEST_F(BatchWindow, ImportInAnyOrderThenExportTheResultsAndTheChart)
{
    QFile csv(dir.filePath(QStringLiteral("samples.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("delta_b,mineral_b,sample,TYPE,mineral_a,delta_a,sigma_a\n2,水,Q1,氧同位素,石英,10,0.3\n");
    csv.close();
    dialogs.answerFile(csv.fileName());
    trigger("import");
    ASSERT_EQ(form->sampleRows().size(), 1);
    EXPECT_EQ(form->sampleRows()[0].cells,
              QStringList({"Q1", "氧同位素", "石英", "水", "10", "0.3", "2", ""}));
    EXPECT_EQ(status->text(), QStringLiteral("导入1个样品"));

    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("0"));
    trigger("calculate");
    ASSERT_EQ(form->resultsModel()->rowCount(), 3);
    EXPECT_TRUE(line(0)[10].isEmpty()); // no draws, no interval

    // CSV: UTF-8 with a byte-order mark; the run's parameters as "#" lines, the
    // headings, the lines as shown, then the 95 % bounds split.
    const QString csvOut = dir.filePath(QStringLiteral("out.csv"));
    dialogs.answerFile(csvOut, 2);
    trigger("export");
    QFile written(csvOut);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF# 程序版本: Lorvane "));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines.mid(3, 4), QStringList({"# 抽样次数: 0", "# 种子: 1", "# 精确1000lnα: 否", lines[6]}));
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("# 计算时间: 20")));
    EXPECT_EQ(lines[7], QStringLiteral("样品,矿物对,A,B,C,资料来源,温度(℃),±1σ(℃),分析σ(℃),标定σ(℃),95%区间("
                                       "℃),另一解(℃),另一解95%区间(℃),适用范围,状态,95%下限(℃),95%上限(℃),"
                                       "另一解95%下限(℃),另一解95%上限(℃)"));
    EXPECT_EQ(lines[8], line(0).join(QLatin1Char(',')) + QStringLiteral(",,,,"));
    // "#" lines above a samples file are no rows.
    QFile commented(dir.filePath(QStringLiteral("commented.csv")));
    ASSERT_TRUE(commented.open(QIODevice::WriteOnly));
    commented.write("# 抽样次数: 0\r\n# from the lab\r\nsample,type,mineral_a,mineral_b,delta_a,delta_b\r\n"
                    "#5,氧同位素,石英,水,9,1\r\n");
    commented.close();
    dialogs.answerFile(commented.fileName());
    trigger("import");
    ASSERT_EQ(form->sampleRows().size(), 2) << status->text().toStdString();
    EXPECT_EQ(form->sampleRows()[1].cells.mid(0, 3), QStringList({"#5", "氧同位素", "石英"}))
        << "a sample named #5 below the heading is a sample";

    // The workbook, read back by another program: four sheets, numbers as numbers.
    const QString xlsx = dir.filePath(QStringLiteral("out"));
    dialogs.answerFile(xlsx, 1);
    trigger("export");
    ASSERT_TRUE(QFile::exists(xlsx + QStringLiteral(".xlsx"))) << dialogs.lastMessage().toStdString();
    const QStringList sheet = readWithOpenpyxl(xlsx + QStringLiteral(".xlsx"));
    ASSERT_EQ(sheet.size(), 3 + 5 + 9 + 4) << sheet.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(sheet[0], QStringLiteral("#样品"));
    EXPECT_EQ(sheet[2], QStringLiteral("str:Q1|str:氧同位素|str:石英|str:水|int:10|float:0.3|int:2|"));
    EXPECT_EQ(sheet[3], QStringLiteral("#结果"));
    EXPECT_EQ(sheet[4],
              QStringLiteral("str:样品|str:矿物对|str:A|str:B|str:C|str:资料来源|str:温度(℃)|str:±1σ(℃)|"
                             "str:分析σ(℃)|str:标定σ(℃)|str:95%下限(℃)|str:95%上限(℃)|str:另一解(℃)|"
                             "str:另一解95%下限(℃)|str:另一解95%上限(℃)|str:适用范围|str:状态"));
    EXPECT_EQ(sheet[5], QStringLiteral("str:Q1|str:石英–水|float:3.38|int:0|float:-3.4|str:Clayton|float:") +
                            line(0)[6] + QStringLiteral("|float:") + line(0)[7] + QStringLiteral("|float:") +
                            line(0)[8] + QStringLiteral("|||||||str:200-500℃|"));
    EXPECT_EQ(sheet[8], QStringLiteral("#参数"));
    EXPECT_EQ(sheet[13], QStringLiteral("str:抽样次数|int:0"));
    EXPECT_EQ(sheet[17], QStringLiteral("#文献"));
    EXPECT_EQ(sheet.mid(18),
              QStringList({"str:文献|str:DOI|str:样品数", "str:Clayton||int:1", "str:Bottinga||int:1"}));
    // The chart as a figure: PDF, SVG and PNG of the size asked for.
    results->selectRow(0);
    auto figure = [&](const QString &name, int filter, double widthMm, double heightMm, int dpi) {
        const QString path = dir.filePath(name);
        dialogs.answerFile(path, filter);
        dialogs.onModal([=](QDialog *dlg) {
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("图的尺寸"));
            EXPECT_EQ(findNamed<QSpinBox>(dlg, "txtDpi")->isEnabled(), name.endsWith(QLatin1String(".png")));
            findNamed<QDoubleSpinBox>(dlg, "txtWidth")->setValue(widthMm);
            findNamed<QDoubleSpinBox>(dlg, "txtHeight")->setValue(heightMm);
            findNamed<QSpinBox>(dlg, "txtDpi")->setValue(dpi);
            QTest::mouseClick(findNamed<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        });
        trigger("exportchart");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << status->text().toStdString();
        return f.readAll();
    };
    // A PDF page of 120 × 80 mm: 340.16 × 226.77 points.
    const QByteArray pdf = figure(QStringLiteral("chart.pdf"), 1, 120, 80, 600);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])"))
            .match(QString::fromLatin1(pdf));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), 120 / 25.4 * 72, 0.5);
    EXPECT_NEAR(box.captured(2).toDouble(), 80 / 25.4 * 72, 0.5);
    const QByteArray svg = figure(QStringLiteral("chart.svg"), 2, 90, 60, 600);
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("width=\"90mm\"") || svg.contains("width=\"89.9"))
        << svg.left(400).toStdString();
    // PNG at 300 dpi: 85 mm is 1004 pixels, and the file says its resolution.
    const QImage png = QImage::fromData(figure(QStringLiteral("chart.png"), 3, 85, 50, 300));
    EXPECT_EQ(png.size(), QSize(1004, 591));
    EXPECT_EQ(png.dotsPerMeterX(), 11811);
    EXPECT_EQ(png.pixel(2, 2), qRgb(255, 255, 255)) << "white to the edge: no frame";

    // Every sample's in-range temperatures: one symbol per calibration.
    findNamed<QTabWidget>(form, QStringLiteral("tabCharts"))->setCurrentIndex(1);
    QChart *summary = findNamed<QChartView>(form, QStringLiteral("chtSummary"))->chart();
    QStringList marked;
    for (QAbstractSeries *s : summary->series())
        if (auto *points = qobject_cast<QScatterSeries *>(s))
            marked << points->name() + QLatin1Char(':') + QString::number(points->count());
    EXPECT_EQ(marked, QStringList({"Clayton:1"})) << "Bottinga's result is out of its range";
    const QByteArray summaryPdf = figure(QStringLiteral("summary.pdf"), 1, 160, 100, 600);
    EXPECT_TRUE(summaryPdf.startsWith("%PDF-"));
}

// The run's workbook opens again: the samples exactly as typed and the draws,
// seed and mode come back, and 计算 gives the same results.
TEST_F(BatchWindow, TheWorkbookOfARunReopensAndComputesTheSame)
{
    db.exec(QStringLiteral("update Isoplot set Source_S='Clàyton, O''Neil & Mayeda (1972) J. Geophys. Res. "
                           "77:3057; 100% {sic}; doi:10.1000/j_1972.' where ID_N=1"));
    paste(QStringLiteral("A1\t氧同位素\t石英\t水\t10\t0.2\t2\t0.2\n"
                         "A2\t氧同位素\t石英\t水\t9.5\t0.1\t1e0\t0.1\n"
                         "A3\t氧同位素\t石英\t水\t12\t\t3.25\t\n"
                         "A4\t氧同位素\t石英\t磁铁矿\t8\t0.3\t-2\t0.3\n"
                         "A5\t氧同位素\t长石\t水\t8\t0.3\t1\t0.3\n"));
    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("500"));
    findNamed<QLineEdit>(form, QStringLiteral("txtSeed"))->setText(QStringLiteral("42"));
    findNamed<QCheckBox>(form, QStringLiteral("chkExact"))->setChecked(true);
    trigger("calculate");
    QVector<QStringList> before;
    for (int i = 0; i < form->resultsModel()->rowCount(); ++i) before << line(i);
    ASSERT_GT(before.size(), 5);
    const QString xlsx = dir.filePath(QStringLiteral("run.xlsx"));
    dialogs.answerFile(xlsx, 1);
    trigger("export");
    const QList<Batch::Row> typed = form->sampleRows();

    open(new frmIsoBatch());
    dialogs.answerFile(xlsx);
    trigger("import");
    EXPECT_EQ(status->text(), QStringLiteral("导入5个样品，并恢复了计算参数"));
    ASSERT_EQ(form->sampleRows().size(), 5);
    for (int r = 0; r < 5; ++r) EXPECT_EQ(form->sampleRows()[r].cells, typed[r].cells) << r;
    EXPECT_EQ(findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->text(), QStringLiteral("500"));
    EXPECT_EQ(findNamed<QLineEdit>(form, QStringLiteral("txtSeed"))->text(), QStringLiteral("42"));
    EXPECT_TRUE(findNamed<QCheckBox>(form, QStringLiteral("chkExact"))->isChecked());
    trigger("calculate");
    QVector<QStringList> after;
    for (int i = 0; i < form->resultsModel()->rowCount(); ++i) after << line(i);
    EXPECT_EQ(after, before);

    // The references of the run: those that gave temperatures, with their sample counts.
    const QStringList sheets = readWithOpenpyxl(xlsx);
    const qsizetype refs = sheets.indexOf(QStringLiteral("#文献"));
    ASSERT_GE(refs, 0);
    EXPECT_EQ(sheets.mid(refs + 2),
              QStringList({"str:Clàyton, O'Neil & Mayeda (1972) J. Geophys. Res. 77:3057; 100% {sic}; "
                           "doi:10.1000/j_1972.|str:10.1000/j_1972|int:3",
                           "str:Bottinga||int:3"}));

    // The same references for a reference manager, read back field by field.
    const QString bib = dir.filePath(QStringLiteral("run.bib")),
                  ris = dir.filePath(QStringLiteral("run.ris"));
    dialogs.answerFile(bib, 1);
    trigger("exportrefs");
    QFile bibFile(bib);
    ASSERT_TRUE(bibFile.open(QIODevice::ReadOnly)) << status->text().toStdString();
    const QString bibText = QString::fromUtf8(bibFile.readAll());
    // Entries by their braces: "@misc{key," then fields "name = {value}" up to the closing brace.
    QList<QMap<QString, QString>> entries;
    for (qsizetype at = bibText.indexOf(QStringLiteral("@misc{")); at >= 0;
         at = bibText.indexOf(QStringLiteral("@misc{"), at + 1)) {
        QMap<QString, QString> fields;
        const qsizetype comma = bibText.indexOf(QLatin1Char(','), at);
        fields.insert(QStringLiteral("key"), bibText.mid(at + 6, comma - at - 6));
        qsizetype i = comma + 1;
        while (true) {
            const qsizetype eq = bibText.indexOf(QStringLiteral(" = {"), i);
            const qsizetype close = bibText.indexOf(QStringLiteral("\n}"), i);
            if (eq < 0 || eq > close) break;
            const QString name = bibText.mid(i, eq - i).trimmed();
            int depth = 1;
            qsizetype j = eq + 4;
            for (; j < bibText.size() && depth > 0; ++j) {
                if (bibText[j] == QLatin1Char('\\')) {
                    ++j;
                    continue;
                }
                if (bibText[j] == QLatin1Char('{')) ++depth;
                if (bibText[j] == QLatin1Char('}')) --depth;
            }
            fields.insert(name, bibText.mid(eq + 4, j - eq - 5));
            i = j + 1;
        }
        entries << fields;
    }
    ASSERT_EQ(entries.size(), 2) << bibText.toStdString();
    EXPECT_EQ(entries[0].value("key"), QStringLiteral("Clayton1972"));
    EXPECT_EQ(entries[0].value("year"), QStringLiteral("1972"));
    EXPECT_EQ(entries[0].value("doi"), QStringLiteral("10.1000/j_1972")) << "verbatim";
    EXPECT_EQ(entries[0].value("note"),
              QStringLiteral("Clàyton, O'Neil \\& Mayeda (1972) J. Geophys. Res. 77:3057; "
                             "100\\% \\{sic\\}; doi:10.1000/j\\_1972."));
    EXPECT_EQ(entries[1].value("key"), QStringLiteral("Bottinga"));
    EXPECT_FALSE(entries[1].contains(QStringLiteral("year")));
    dialogs.answerFile(ris, 2);
    trigger("exportrefs");
    QFile risFile(ris);
    ASSERT_TRUE(risFile.open(QIODevice::ReadOnly));
    const QStringList risLines = QString::fromUtf8(risFile.readAll()).split(QStringLiteral("\r\n"));
    EXPECT_EQ(risLines.mid(0, 5),
              QStringList({"TY  - GEN",
                           "N1  - Clàyton, O'Neil & Mayeda (1972) J. Geophys. Res. 77:3057; 100% {sic}; "
                           "doi:10.1000/j_1972.",
                           "PY  - 1972", "DO  - 10.1000/j_1972", "ER  - "}));
    EXPECT_EQ(risLines.count(QStringLiteral("ER  - ")), 2);
}

// A run typed and saved in English, in English spellings, reads back in the
// Chinese interface with its parameters, and computes the same again.
TEST_F(BatchWindow, ARunSavedInEnglishReopensInChinese)
{
    ASSERT_TRUE(Language::Install(Language::Choice::English));
    paste(QStringLiteral("A1\toxygen\tQz\twater\t10\t0.2\t2\t0.2\n"
                         "A2\tδ18O\tMag\tH2O\t0\t0.1\t6.5802\t0.1\n"));
    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("500"));
    findNamed<QLineEdit>(form, QStringLiteral("txtSeed"))->setText(QStringLiteral("42"));
    trigger("calculate");
    EXPECT_EQ(status->text(), QStringLiteral("Samples: 2, results: 3"));
    QVector<QStringList> before;
    for (int i = 0; i < form->resultsModel()->rowCount(); ++i) before << line(i);
    const QString xlsx = dir.filePath(QStringLiteral("run.xlsx"));
    dialogs.answerFile(xlsx, 1);
    trigger("export");

    Language::Install(Language::Choice::Chinese);
    open(new frmIsoBatch());
    dialogs.answerFile(xlsx);
    trigger("import");
    EXPECT_EQ(status->text(), QStringLiteral("导入2个样品，并恢复了计算参数"));
    EXPECT_EQ(findNamed<QLineEdit>(form, QStringLiteral("txtSeed"))->text(), QStringLiteral("42"));
    ASSERT_TRUE(Language::Install(Language::Choice::English));
    trigger("calculate");
    QVector<QStringList> after;
    for (int i = 0; i < form->resultsModel()->rowCount(); ++i) after << line(i);
    Language::Install(Language::Choice::Chinese);
    EXPECT_EQ(after, before);
}

TEST_F(BatchWindow, TraceOneMineralThermometerFromK)
{
    open(new frmTraceBatch());
    paste(QStringLiteral("Z1\tTi\t锆石\t单矿物\t\t\t\t\t10\n"));
    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("0"));
    trigger("calculate");
    ASSERT_EQ(form->resultsModel()->rowCount(), 2);
    // log10(10) = 6.01 - 5080/T.
    EXPECT_EQ(line(0)[6], QString::number(5080 / 5.01 - 273.15, 'f', 1));
    EXPECT_EQ(line(0)[4], QStringLiteral("10"));
    EXPECT_EQ(line(0)[13], QStringLiteral("580-1070℃"));

    // A calibration in full form: the concentration of 含量A is K, aTiO2 from its
    // column, aSiO2 defaulted and said; one that needs a pressure says what is missing.
    db.exec(QStringLiteral("insert into TraceElement(ID_N,Element_s,MinA_s,MinB_s,ConstA_sng,ConstB_sng,"
                           "logType_s,Mark_s,NuSiO2_sng,NuTiO2_sng,ConstC_sng) values "
                           "(2,'Ti','锆石','单矿物',-4800,5.711,'10','FW07',-1,1,0),"
                           "(3,'Zr','金红石','单矿物',-10090.93,17.17502,'e','Tomkins',0,0,-49.31204)"));
    // Ferry & Watson's A ± 86, B ± 0.072, printed without a covariance.
    db.exec(QStringLiteral("insert into Covariance values ('TraceElement',2,7396,0,0,0.005184,0,0)"));
    open(new frmTraceBatch());
    paste(QStringLiteral("Z2\tTi\t锆石\t单矿物\t10\t\t\t\t\t\t\t0.7\n"
                         "R1\tZr\t金红石\t单矿物\t300\n"));
    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("0"));
    trigger("calculate");
    EXPECT_EQ(line(0)[6], QString::number(5080 / 5.01 - 273.15, 'f', 1)); // log K = A/T + B, as before
    EXPECT_EQ(line(1)[6], QString::number(4800 / (5.711 + std::log10(0.7) - 1) - 273.15, 'f', 1));
    EXPECT_EQ(line(1)[14], QStringLiteral("未注明适用范围；aSiO₂=1"));
    // T = A'/D: ∂T/∂A = T/A', ∂T/∂B = T²/A'. No σ of K: the calibration's part is all of ±1σ.
    const double kelvin = 4800 / (5.711 + std::log10(0.7) - 1);
    const QString calibration =
        QString::number(std::hypot(kelvin / 4800 * 86, kelvin * kelvin / 4800 * 0.072), 'f', 1);
    EXPECT_EQ(line(1).mid(7, 3), QStringList({calibration, QString(), calibration}));
    EXPECT_EQ(line(0).mid(7, 3), QStringList({QString(), QString(), QString()})) << "no published error";
    const int r1 = form->resultsModel()->rowCount() - 2; // then its summary line
    EXPECT_EQ(line(r1)[0], QStringLiteral("R1"));
    EXPECT_EQ(line(r1)[14], QStringLiteral("缺少压力"));
}

TEST_F(BatchWindow, LongWorkShowsProgressAndCanBeCancelled)
{
    QList<Batch::Row> many;
    for (int i = 0; i < 4000; ++i) {
        Batch::Row r;
        r.cells = {QString::number(i),   QStringLiteral("氧同位素"), QStringLiteral("石英"),
                   QStringLiteral("水"), QStringLiteral("10"),       QStringLiteral("0.2"),
                   QStringLiteral("2"),  QStringLiteral("0.2")};
        many << r;
    }
    form->appendRows(many);
    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("200000"));
    bool sawProgress = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *cancel = form->findChild<QPushButton *>(QStringLiteral("cmdCancel"));
        if (cancel && cancel->isVisible()) {
            sawProgress = form->findChild<QProgressBar *>(QStringLiteral("prgBatch"))->isVisible();
            cancel->click();
            poll.stop();
        }
    });
    poll.start();
    trigger("calculate");
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(status->text(), QStringLiteral("计算已取消，结果未改变"));
    EXPECT_EQ(form->resultsModel()->rowCount(), 0);
    EXPECT_FALSE(form->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->isVisible());
}

// A number past double precision is a bad cell, not the end of the program; an
// export that cannot be written whole leaves the old file.
TEST_F(BatchWindow, AHugeNumberIsABadCellAndAFailedExportKeepsTheOldFile)
{
    paste(QStringLiteral("Q1\t氧同位素\t石英\t水\t1e999\t\t2\t\nQ2\t氧同位素\t石英\t水\t10\t\t2\t"));
    EXPECT_EQ(cell(0, 4, Qt::ToolTipRole).toString(), QStringLiteral("数值超出范围：1e999"));
    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("0"));
    trigger("calculate");
    EXPECT_EQ(line(0)[14], QStringLiteral("数据无效：数值超出范围：1e999"));
    EXPECT_EQ(form->sampleRows().size(), 2);

    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("out.csv"));
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old results");
    old.close();
    // A file-size limit stands in for a full disk while the export writes.
    dialogs.answerFile(out, 2);
    rlimit before;
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 64;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    trigger("export");
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(dialogs.lastMessage(),
              QStringLiteral("无法写入文件：") + out + QStringLiteral("\n文件超出允许的大小"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old results"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.csv")});
}

// The chart draws each calibration's own curve: every point of every curve is
// Δ(T) of one of the sample's calibrations, worked out here.
TEST_F(BatchWindow, TheChartsCurvesAreTheCalibrationsOwn)
{
    paste(QStringLiteral("Q1\t氧同位素\t石英\t水\t10\t0.2\t2\t"));
    findNamed<QLineEdit>(form, QStringLiteral("txtDraws"))->setText(QStringLiteral("0"));
    trigger("calculate");
    results->selectRow(0);
    QChart *chart = findNamed<QChartView>(form, QStringLiteral("chtDeltaT"))->chart();
    // The constants as stored: single precision.
    auto delta = [](float a, float c, double celsius) {
        return double(a) * 1e6 / std::pow(celsius + 273.15, 2) + double(c);
    };
    int points = 0;
    for (QAbstractSeries *s : chart->series()) {
        auto *curve = qobject_cast<QLineSeries *>(s);
        if (!curve || curve->name() == QStringLiteral("样品Δ")) continue;
        auto *axis = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).first());
        for (const QPointF &p : curve->points()) {
            // On a curve, or where one meets the plot's edge.
            const double clayton = delta(3.38f, -3.4f, p.x()), bottinga = delta(4.1f, -3.7f, p.x());
            if (p.y() == axis->min() || p.y() == axis->max()) continue;
            EXPECT_LT(std::min(std::fabs(p.y() - clayton), std::fabs(p.y() - bottinga)), 1e-9) << p.x();
            ++points;
        }
    }
    EXPECT_GT(points, 200); // two curves over the part of 0-1200 ℃ the plot shows
}

// A sheet's worth of cells pasted (more than a megabyte, read on a worker in
// pieces) lands whole, a quoted name with a line end intact, below what was
// typed; a typed cell is read at once and Delete empties the chosen cells.
TEST_F(BatchWindow, ALargePasteLandsWholeAndTypedCellsAreReadAtOnce)
{
    QAbstractItemModel *m = samples->model();
    ASSERT_TRUE(m->setData(m->index(0, 0), QStringLiteral(" T1 "), Qt::EditRole));
    m->setData(m->index(0, 4), QStringLiteral("abc"), Qt::EditRole);
    EXPECT_EQ(cell(0, 0).toString(), QStringLiteral("T1"));
    EXPECT_EQ(cell(0, 4, Qt::ToolTipRole).toString(), QStringLiteral("不是数字：abc"));
    EXPECT_EQ(m->rowCount(), 1 + 20) << "spare rows below the last in use";

    QString text = QStringLiteral("sample\ttype\tmineral_a\tmineral_b\tdelta_a\tsigma_a\tdelta_b\tsigma_b\n");
    constexpr int kRows = 40000;
    for (int i = 0; i < kRows; ++i)
        text += (i % 5000 == 17 ? QStringLiteral("\"多行\n%1\"").arg(i) : QStringLiteral("P%1").arg(i)) +
                QStringLiteral("\t氧同位素\t石英\t水\t%1\t0.1\t2\t0.1\n").arg(10 + i % 7);
    ASSERT_GT(text.size(), 1 << 20);
    paste(text);
    EXPECT_EQ(form->sampleRows().size(), kRows + 1);
    EXPECT_EQ(cell(1, 0).toString(), QStringLiteral("P0"));
    EXPECT_EQ(cell(1 + 5017, 0).toString(), QStringLiteral("多行\n5017"));
    EXPECT_EQ(cell(kRows, 4).toString(), QString::number(10 + (kRows - 1) % 7));
    EXPECT_EQ(m->rowCount(), kRows + 1 + 20);

    samples->selectionModel()->select(QItemSelection(m->index(0, 0), m->index(0, 7)),
                                      QItemSelectionModel::ClearAndSelect);
    samples->setFocus();
    QTest::keyClick(samples, Qt::Key_Delete);
    EXPECT_EQ(cell(0, 0).toString(), QString());
    EXPECT_FALSE(cell(0, 4, Qt::ToolTipRole).isValid());
    EXPECT_EQ(form->sampleRows().size(), kRows);
}

// Cells pasted without a header go where the cursor is and change only the
// cells they cover.
TEST_F(BatchWindow, CellsPastedAtTheCursorChangeOnlyTheCellsTheyCover)
{
    paste(QStringLiteral("sample\ttype\tmineral_a\tmineral_b\tdelta_a\tsigma_a\tdelta_b\tsigma_b\n"
                         "Q1\t氧同位素\t石英\t水\t10\t0.2\t2\t0.2\n"
                         "Q2\t氧同位素\t石英\t水\t11\t0.2\t2\t0.2\n"
                         "Q3\t氧同位素\t石英\t水\t12\t0.2\t2\t0.2\n"));
    samples->setCurrentIndex(samples->model()->index(1, 4));
    paste(QStringLiteral("7\t0.3\n8\n"));
    const QList<Batch::Row> rows = form->sampleRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].cells, QStringList({"Q1", "氧同位素", "石英", "水", "10", "0.2", "2", "0.2"}));
    EXPECT_EQ(rows[1].cells, QStringList({"Q2", "氧同位素", "石英", "水", "7", "0.3", "2", "0.2"}));
    EXPECT_EQ(rows[2].cells, QStringList({"Q3", "氧同位素", "石英", "水", "8", "0.2", "2", "0.2"}));
    // Past the last column nothing is written, and nothing is lost below.
    samples->setCurrentIndex(samples->model()->index(3, 6));
    paste(QStringLiteral("1\t0.1\textra\n"));
    EXPECT_EQ(form->sampleRows()[3].cells, QStringList({"", "", "", "", "", "", "1", "0.1"}));
    EXPECT_EQ(form->sampleRows()[3].line, 4);
}
