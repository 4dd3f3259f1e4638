// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/frmOlivineLiquid.h"

#include "calc/FigureExport.h"
#include "calc/SampleTable.h"
#include "core/base/SettingsStore.h"
#include "core/base/Twips.h"
#include "core/thermometry/RootRule.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormLayout.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QValueAxis>

using namespace OlivineTable;
using OlivineLiquid::Models;

namespace {

const QString kApp = QStringLiteral("Lorvane");
// The title in its source text names the window's section of the settings: a
// change of language keeps the layout stored.
const char *const kTitle = QT_TRANSLATE_NOOP("frmOlivineLiquid", "橄榄石-熔体温度计_氧化物");

enum ResultColumn {
    rSample,
    rFirstT = 1,
    rUltramafic = 6,
    rMafic,
    rKD,
    rWindow,
    rEquilibrium,
    rFo,
    rFoEq,
    rNote
};

QString fixed(const std::optional<double> &v, int decimals)
{
    return v ? QString::number(RootRule::AsShown(*v, decimals), 'f', decimals) : QString();
}

std::optional<double> celsius(const std::optional<double> &kelvin)
{
    return kelvin ? std::optional<double>(*kelvin - 273.15) : std::nullopt;
}

// The titles of the sample columns are also the names an imported file's header
// is matched by: they stay as they are, and the header shows them in the
// language of the interface.
const char *const kShownTitles[] = {QT_TRANSLATE_NOOP("frmOlivineLiquid", "样品"),
                                    QT_TRANSLATE_NOOP("frmOlivineLiquid", "压力(kbar)")};
const QString kOlivinePrefix = QStringLiteral("橄榄石");
const QString kLiquidPrefix = QStringLiteral("熔体");

QStringList shownTitles()
{
    QStringList shown;
    for (const QString &title : Titles()) {
        QString text = title;
        for (const char *known : kShownTitles)
            if (title == QString::fromUtf8(known)) text = frmOlivineLiquid::tr(known);
        if (title.startsWith(kOlivinePrefix))
            text = frmOlivineLiquid::tr("橄榄石%1").arg(title.mid(kOlivinePrefix.size()));
        else if (title.startsWith(kLiquidPrefix))
            text = frmOlivineLiquid::tr("熔体%1").arg(title.mid(kLiquidPrefix.size()));
        shown << text;
    }
    return shown;
}

} // namespace

frmOlivineLiquid::frmOlivineLiquid(QWidget *parent) : ChildForm(parent)
{
    setObjectName(QStringLiteral("frmOlivineLiquid"));
    setCaption(kTitle);
    resize(Twips::toPx(15000), Twips::toPx(10500));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setMovable(false);
    const QList<QPair<QString, QString>> buttons{{QStringLiteral("import"), tr("导入")},
                                                 {QStringLiteral("calculate"), tr("计算")},
                                                 {QStringLiteral("export"), tr("导出")},
                                                 {QStringLiteral("exportchart"), tr("导出图")},
                                                 {QStringLiteral("close"), tr("退出")}};
    for (const auto &b : buttons) Toolbar1->addAction(b.second)->setObjectName(b.first);
    Toolbar1->addSeparator();
    SampleTable::ToolbarLabel(Toolbar1, tr("平衡模型"));
    cboModel = new QComboBox(Toolbar1);
    cboModel->setObjectName(QStringLiteral("cboModel"));
    for (const OlivineLiquid::Model &m : Models())
        cboModel->addItem(QCoreApplication::translate("OlivineLiquid", m.name.toUtf8().constData()));
    cboModel->setToolTip(tr("Fe-Mg交换系数K_D的平衡范围"));
    Toolbar1->addWidget(cboModel);
    layout->addWidget(Toolbar1);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    lvwSamples = new QTableWidget(SampleTable::kSpareRows, kColumns, splitter_);
    lvwSamples->setObjectName(QStringLiteral("lvwSamples"));
    lvwSamples->setHorizontalHeaderLabels(shownTitles());
    lvwSamples->verticalHeader()->setDefaultSectionSize(22);
    lvwSamples->horizontalHeader()->setDefaultSectionSize(72);
    lvwSamples->horizontalHeaderItem(Fe3)->setToolTip(tr("熔体Fe³⁺/FeT，空白按0计算"));
    lvwSamples->horizontalHeaderItem(FirstOlivine + 7)->setToolTip(tr("NiO只记录，不参与计算"));
    lvwSamples->installEventFilter(this);

    auto *lower = new QSplitter(Qt::Horizontal, splitter_);
    lower->setObjectName(QStringLiteral("splitterResults"));
    lvwResults = new QTableWidget(0, int(ResultTitles().size()), lower);
    lvwResults->setObjectName(QStringLiteral("lvwResults"));
    lvwResults->setHorizontalHeaderLabels(ResultTitles());
    lvwResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwResults->verticalHeader()->hide();
    lvwResults->verticalHeader()->setDefaultSectionSize(22);
    // Every heading whole: each column at least as wide as its title.
    const QFontMetrics metrics(lvwResults->horizontalHeader()->font());
    for (int c = 0; c < lvwResults->columnCount(); ++c)
        lvwResults->setColumnWidth(c, std::max(64, metrics.horizontalAdvance(ResultTitles()[c]) + 20));
    lvwResults->setColumnWidth(rNote, 200);
    lvwSamples->setColumnWidth(Sample, 100);

    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chtRhodes = new QChartView(chart_, lower);
    chtRhodes->setObjectName(QStringLiteral("chtRhodes"));
    chtRhodes->setRenderHint(QPainter::Antialiasing);
    chtRhodes->setMinimumWidth(300);
    lower->setStretchFactor(0, 1);
    lower->setStretchFactor(1, 1);
    lower->setSizes({width() * 11 / 20, width() * 9 / 20});
    splitter_->setStretchFactor(0, 2);
    splitter_->setStretchFactor(1, 3);
    splitter_->setSizes({height() * 2 / 5, height() * 3 / 5});
    layout->addWidget(splitter_, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    panel1_ = new QLabel(tr("状态"), StatusBar1);
    panel1_->setObjectName(QStringLiteral("StatusBar1_1"));
    panel2_ = new QLabel(StatusBar1);
    panel2_->setObjectName(QStringLiteral("StatusBar1_2"));
    panel2_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (QLabel *p : {panel1_, panel2_}) {
        p->setFrameShape(QFrame::Panel);
        p->setFrameShadow(QFrame::Sunken);
    }
    StatusBar1->addWidget(panel1_);
    StatusBar1->addWidget(panel2_, 1);
    layout->addWidget(StatusBar1);

    connect(Toolbar1, &QToolBar::actionTriggered, this, [this](QAction *a) { Toolbar1_ButtonClick(a); });
    connect(lvwSamples, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        markCells(item->row(), item->row());
        SampleTable::EnsureSpareRows(lvwSamples);
        unexported_ = true;
    });
}

QStringList frmOlivineLiquid::ResultTitles()
{
    return {tr("样品"),
            tr("Beattie 1993(℃)"),
            tr("Putirka 式19(℃)"),
            tr("Herzberg 2002(℃)"),
            tr("Putirka 式21(℃)"),
            tr("Putirka 式22(℃)"),
            tr("超镁铁质(℃)"),
            tr("镁铁质(℃)"),
            QStringLiteral("K_D"),
            tr("平衡K_D"),
            tr("平衡"),
            QStringLiteral("Fo"),
            tr("平衡Fo"),
            tr("备注")};
}

void frmOlivineLiquid::Form_Load()
{
    mdlFunction::SetToolbarImages(Toolbar1, ToolbarImages());
    mdlFunction::LoadFormLayout(this);
    const QString section = layoutSection();
    const QString sizes = SettingsStore::GetSetting(kApp, section, QStringLiteral("splitter"));
    if (!sizes.isEmpty()) splitter_->restoreState(QByteArray::fromBase64(sizes.toLatin1()));
    const int model = SettingsStore::GetSetting(kApp, section, QStringLiteral("model")).toInt();
    if (model >= 0 && model < cboModel->count()) cboModel->setCurrentIndex(model);
}

bool frmOlivineLiquid::Form_QueryUnload()
{
    if (!unexported_) return true;
    if (results_.empty() && SampleTable::Rows(lvwSamples).isEmpty()) return true;
    return MsgBox(this, tr("批量数据尚未导出，是否放弃？"), Dialogs::Buttons::YesNo,
                  Dialogs::Icon::Question) == Dialogs::Answer::Yes;
}

void frmOlivineLiquid::Form_Unload()
{
    mdlFunction::SaveFormLayout(this);
    const QString section = layoutSection();
    SettingsStore::SaveSetting(kApp, section, QStringLiteral("splitter"),
                               QString::fromLatin1(splitter_->saveState().toBase64()));
    SettingsStore::SaveSetting(kApp, section, QStringLiteral("model"),
                               QString::number(cboModel->currentIndex()));
}

bool frmOlivineLiquid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lvwSamples && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteText(QApplication::clipboard()->text());
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            for (QTableWidgetItem *item : lvwSamples->selectedItems()) item->setText(QString());
            return true;
        }
    }
    return ChildForm::eventFilter(watched, event);
}

void frmOlivineLiquid::pasteText(const QString &text)
{
    const SampleTable::Pasted pasted = SampleTable::Paste(
        lvwSamples, text, [](const QList<Batch::Row> &raw) { return Batch::MapColumns(Columns(), raw); });
    if (!pasted.error.isEmpty()) {
        MsgBox(this, pasted.error);
        return;
    }
    if (pasted.last < pasted.first) return;
    markCells(pasted.first, pasted.last);
    unexported_ = true;
}

void frmOlivineLiquid::appendRows(const QList<Batch::Row> &rows)
{
    const auto [first, last] = SampleTable::Append(lvwSamples, rows);
    markCells(first, last);
    unexported_ = true;
}

void frmOlivineLiquid::markCells(int first, int last)
{
    for (int r = std::max(first, 0); r <= last && r < lvwSamples->rowCount(); ++r) {
        Batch::Row row;
        for (int c = 0; c < lvwSamples->columnCount(); ++c) {
            const QTableWidgetItem *item = lvwSamples->item(r, c);
            row.cells << (item ? item->text() : QString());
        }
        // Only a cell that cannot be read is marked; what a row lacks is said in its result.
        Read read;
        if (SampleTable::RowHasText(lvwSamples, r)) read = ReadRow(row);
        const bool cellAtFault = !read.problem.startsWith(QStringLiteral("缺少"));
        SampleTable::MarkRow(
            lvwSamples, r, [&](int c) { return cellAtFault && c == read.column ? read.problem : QString(); });
    }
}

bool frmOlivineLiquid::Calculate()
{
    const QList<Batch::Row> rows = SampleTable::Rows(lvwSamples);
    if (rows.isEmpty()) {
        MsgBox(this, tr("没有样品数据"));
        return false;
    }
    return Guarded(this, [&] {
        model_ = cboModel->currentIndex();
        results_ = Compute(rows, model_);
        rows_ = rows;
        unexported_ = true;
        showResults();
        showChart();
        int bad = 0, apart = 0;
        for (const Result &r : results_) {
            if (!r.problem.isEmpty()) ++bad;
            if (r.equilibrium && !*r.equilibrium) ++apart;
        }
        QString summary = tr("%n对样品", nullptr, int(rows.size()));
        if (apart) summary += tr("；%n对不平衡", nullptr, apart);
        if (bad) summary += tr("；%n对数据无效", nullptr, bad);
        panel2_->setText(summary);
    });
}

QStringList frmOlivineLiquid::lineTexts(int line) const
{
    const Result &r = results_[size_t(line)];
    QStringList cells{rows_[r.sample].cells.value(Sample)};
    for (const std::optional<double> &k : r.kelvin) cells << fixed(celsius(k), 1);
    cells << fixed(celsius(r.ultramafic), 1) << fixed(celsius(r.mafic), 1) << fixed(r.kd, 3)
          << (r.kdLow ? fixed(r.kdLow, 3) + QLatin1Char('-') + fixed(r.kdHigh, 3) : QString())
          << (r.equilibrium ? (*r.equilibrium ? tr("平衡") : tr("不平衡")) : QString()) << fixed(r.fo, 3)
          << fixed(r.foEquilibrium, 3);
    QStringList notes;
    if (!r.problem.isEmpty()) notes << tr("数据无效：%1").arg(r.problem);
    if (r.fe3Defaulted && r.problem.isEmpty()) notes << tr("Fe³⁺/FeT未给出，按0计算");
    cells << notes.join(tr("；"));
    return cells;
}

void frmOlivineLiquid::showResults()
{
    lvwResults->setRowCount(int(results_.size()));
    for (int i = 0; i < int(results_.size()); ++i) {
        const QStringList cells = lineTexts(i);
        const Result &r = results_[size_t(i)];
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c >= rFirstT && c <= rMafic) {
                const std::optional<double> &k = c < rUltramafic    ? r.kelvin[c - rFirstT]
                                                 : c == rUltramafic ? r.ultramafic
                                                                    : r.mafic;
                if (k) item->setToolTip(fixed(k, 1) + QStringLiteral(" K"));
            }
            if (c == rEquilibrium && r.equilibrium && !*r.equilibrium) item->setForeground(QBrush(Qt::red));
            lvwResults->setItem(i, c, item);
        }
    }
}

void frmOlivineLiquid::showChart() { fillChart(chart_); }

void frmOlivineLiquid::fillChart(QChart *chart) const
{
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(tr("Rhodes图：熔体Mg#与橄榄石Fo"));
    const OlivineLiquid::Model &m = Models()[size_t(model_)];

    auto *in = new QScatterSeries;
    in->setName(tr("平衡"));
    in->setMarkerSize(8);
    auto *out = new QScatterSeries;
    out->setName(tr("不平衡"));
    out->setMarkerSize(8);
    out->setColor(Qt::red);
    double low = 1, high = 0;
    for (const Result &r : results_) {
        if (!r.liquidMgNumber || !r.fo) continue;
        (r.equilibrium && *r.equilibrium ? in : out)->append(*r.liquidMgNumber, *r.fo);
        low = std::min(low, *r.liquidMgNumber);
        high = std::max(high, *r.liquidMgNumber);
    }
    if (low > high) low = 0.2, high = 0.9;
    low = std::max(0.0, low - 0.05);
    high = std::min(1.0, high + 0.05);

    // The olivine in equilibrium: Fo = 1/(1 + K_D·(1/Mg# - 1)), at K_D and its window's ends.
    auto curve = [&](double kd, const QString &name, Qt::PenStyle style) {
        auto *s = new QLineSeries;
        s->setName(name);
        for (int i = 0; i <= 50; ++i) {
            const double mg = low + (high - low) * i / 50.0;
            s->append(mg, 1.0 / (1.0 + kd * (1.0 / mg - 1.0)));
        }
        QPen pen(style == Qt::SolidLine ? QColor(40, 40, 40) : QColor(120, 120, 120));
        pen.setStyle(style);
        s->setPen(pen);
        return s;
    };
    QList<QAbstractSeries *> series{curve(m.kd, QStringLiteral("K_D %1").arg(m.kd), Qt::SolidLine),
                                    curve(m.kd - m.sigma, QString::number(m.kd - m.sigma), Qt::DashLine),
                                    curve(m.kd + m.sigma, QString::number(m.kd + m.sigma), Qt::DashLine), in,
                                    out};
    auto *x = new QValueAxis;
    x->setTitleText(tr("熔体Mg#（摩尔）"));
    x->setRange(low, high);
    x->setLabelFormat(QStringLiteral("%.2f"));
    auto *y = new QValueAxis;
    y->setTitleText(tr("橄榄石Fo"));
    double yLow = 1, yHigh = 0;
    for (QAbstractSeries *s : series)
        for (const QPointF &p : static_cast<QXYSeries *>(s)->points()) {
            yLow = std::min(yLow, p.y());
            yHigh = std::max(yHigh, p.y());
        }
    y->setRange(std::max(0.0, yLow - 0.02), std::min(1.0, yHigh + 0.02));
    y->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *s : series) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

void frmOlivineLiquid::ImportSamples()
{
    Dialogs::FileRequest request;
    request.kind = QStringLiteral("samples");
    request.title = tr("导入");
    request.filter = tr("样品表(*.csv;*.txt;*.tsv;*.xlsx)|*.csv;*.txt;*.tsv;*.xlsx");
    const Dialogs::FileResult file = Dialogs::instance().openFile(this, request);
    if (file.cancelled) return;
    const Batch::Mapped mapped = Batch::ReadSampleFile(Columns(), file.fileName);
    if (!mapped.error.isEmpty()) {
        MsgBox(this, tr("%1：%2").arg(QFileInfo(file.fileName).fileName(), mapped.error));
        return;
    }
    appendRows(mapped.rows);
    panel2_->setText(tr("导入%n对样品", nullptr, int(mapped.rows.size())));
}

void frmOlivineLiquid::ExportResults()
{
    if (results_.empty()) {
        MsgBox(this, tr("没有可导出的结果"));
        return;
    }
    bool csv = false;
    const QString path =
        SampleTable::SaveAs(this, tr("导出"), tr("Excel 工作簿(*.xlsx)|*.xlsx|CSV 文件(*.csv)|*.csv"),
                            QStringLiteral("xlsx"), QStringLiteral("csv"), &csv);
    if (path.isEmpty()) return;
    QVector<QStringList> lines;
    lines.reserve(int(results_.size()));
    for (int i = 0; i < int(results_.size()); ++i) lines << lineTexts(i);
    Guarded(this, [&] {
        SampleTable::WriteResults(path, csv, ResultTitles(), lines, QStringLiteral("OlivineLiquid.xltx"),
                                  QStringLiteral("frmOlivineLiquid.ExportResults"));
        panel2_->setText(tr("已导出到%1").arg(path));
        unexported_ = false;
    });
}

void frmOlivineLiquid::ExportChart()
{
    if (results_.empty()) {
        MsgBox(this, tr("请先计算"));
        return;
    }
    const QString path = FigureExport::Export(this, [this](QChart *chart) { fillChart(chart); });
    if (!path.isEmpty()) panel2_->setText(tr("图已导出到%1").arg(path));
}

void frmOlivineLiquid::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    if (key == QLatin1String("import"))
        ImportSamples();
    else if (key == QLatin1String("calculate"))
        Calculate();
    else if (key == QLatin1String("export"))
        ExportResults();
    else if (key == QLatin1String("exportchart"))
        ExportChart();
    else if (key == QLatin1String("close"))
        Unload();
}
