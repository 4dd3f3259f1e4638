// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/frmBatch.h"

#include "calc/BatchChart.h"
#include "calc/BatchResultsModel.h"
#include "calc/FigureExport.h"
#include "calc/SampleModel.h"
#include "calc/SampleTable.h"
#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/base/SettingsStore.h"
#include "core/base/Twips.h"
#include "core/database/Connection.h"
#include "core/database/SharedConnection.h"
#include "core/files/FileWrite.h"
#include "core/thermometry/SampleStream.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormLayout.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtConcurrent>
#include <algorithm>

using namespace Batch;

namespace {

// Work shorter than this shows no progress bar.
constexpr int kProgressDelayMs = 500;

const QString kApp = QStringLiteral("Lorvane");

// The title in its source text names the window's section of the settings: a
// change of language keeps the layout stored.
const char *titleOf(Kind kind)
{
    return kind == Kind::Isotope ? QT_TRANSLATE_NOOP("frmBatch", "同位素温度计_批量计算")
                                 : QT_TRANSLATE_NOOP("frmBatch", "微量元素温度计_批量计算");
}

} // namespace

frmBatch::frmBatch(Kind kind, QWidget *parent) : ChildForm(parent), kind_(kind)
{
    const bool iso = kind == Kind::Isotope;
    setObjectName(iso ? QStringLiteral("frmIsoBatch") : QStringLiteral("frmTraceBatch"));
    setCaption(titleOf(kind));
    resize(Twips::toPx(15000), Twips::toPx(10500));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setMovable(false);
    const QList<QPair<QString, QString>> buttons{
        {QStringLiteral("import"), tr("导入")},         {QStringLiteral("calculate"), tr("计算")},
        {QStringLiteral("export"), tr("导出")},         {QStringLiteral("exportchart"), tr("导出图")},
        {QStringLiteral("exportrefs"), tr("导出文献")}, {QStringLiteral("close"), tr("退出")}};
    for (const auto &b : buttons) Toolbar1->addAction(b.second)->setObjectName(b.first);
    Toolbar1->addSeparator();
    SampleTable::ToolbarLabel(Toolbar1, tr("抽样次数"));
    txtDraws = new QLineEdit(QStringLiteral("10000"), Toolbar1);
    txtDraws->setObjectName(QStringLiteral("txtDraws"));
    txtDraws->setFixedWidth(70);
    txtDraws->setToolTip(tr("蒙特卡洛抽样次数，0为不计算95%区间"));
    Toolbar1->addWidget(txtDraws);
    SampleTable::ToolbarLabel(Toolbar1, tr("种子"));
    txtSeed = new QLineEdit(QStringLiteral("1"), Toolbar1);
    txtSeed->setObjectName(QStringLiteral("txtSeed"));
    txtSeed->setFixedWidth(50);
    txtSeed->setToolTip(tr("同一种子得到同一结果"));
    Toolbar1->addWidget(txtSeed);
    if (iso) {
        chkExact = new QCheckBox(tr("精确1000lnα"), Toolbar1);
        chkExact->setObjectName(QStringLiteral("chkExact"));
        chkExact->setToolTip(tr("以1000·ln((1000+δA)/(1000+δB))代替δA−δB"));
        Toolbar1->addSeparator();
        Toolbar1->addWidget(chkExact);
    }
    layout->addWidget(Toolbar1);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    lvwSamples = new QTableView(splitter_);
    lvwSamples->setObjectName(QStringLiteral("lvwSamples"));
    samples_ = new SampleModel(kind, this);
    lvwSamples->setModel(samples_);
    lvwSamples->verticalHeader()->setDefaultSectionSize(22);
    lvwSamples->setWordWrap(false);
    lvwSamples->installEventFilter(this);

    auto *lower = new QSplitter(Qt::Horizontal, splitter_);
    lower->setObjectName(QStringLiteral("splitterResults"));
    lvwResults = new QTableView(lower);
    lvwResults->setObjectName(QStringLiteral("lvwResults"));
    model_ = new BatchResultsModel(kind, this);
    lvwResults->setModel(model_);
    lvwResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwResults->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwResults->verticalHeader()->setDefaultSectionSize(22);
    lvwResults->verticalHeader()->hide();
    lvwResults->setWordWrap(false);
    const QList<int> widths{60, 100, 55, 55, 45, 140, 65, 55, 100, 75, 110};
    // No narrower than its title, in whichever language it is shown.
    for (int c = 0; c < widths.size(); ++c)
        lvwResults->setColumnWidth(c,
                                   std::max(widths[c], lvwResults->horizontalHeader()->sectionSizeHint(c)));

    // Two charts: the chosen sample's curves, and every sample's temperatures.
    tabCharts = new QTabWidget(lower);
    tabCharts->setObjectName(QStringLiteral("tabCharts"));
    tabCharts->setMinimumWidth(260);
    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->setBackgroundRoundness(0);
    chtDeltaT = new QChartView(chart_);
    chtDeltaT->setObjectName(QStringLiteral("chtDeltaT"));
    chtDeltaT->setRenderHint(QPainter::Antialiasing);
    tabCharts->addTab(chtDeltaT, tr("样品"));
    summary_ = new QChart;
    summary_->legend()->setAlignment(Qt::AlignBottom);
    summary_->setBackgroundRoundness(0);
    summary_->setTitle(tr("温度汇总"));
    chtSummary = new QChartView(summary_);
    chtSummary->setObjectName(QStringLiteral("chtSummary"));
    chtSummary->setRenderHint(QPainter::Antialiasing);
    tabCharts->addTab(chtSummary, tr("温度汇总"));
    lower->setStretchFactor(0, 1);
    lower->setStretchFactor(1, 1);
    lower->setSizes({width() / 2, width() / 2});
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
    progress_ = new QProgressBar(StatusBar1);
    progress_->setObjectName(QStringLiteral("prgBatch"));
    progress_->setMaximumWidth(200);
    cmdCancel = new QPushButton(tr("取消"), StatusBar1);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    StatusBar1->addPermanentWidget(progress_);
    StatusBar1->addPermanentWidget(cmdCancel);
    progress_->hide();
    cmdCancel->hide();
    layout->addWidget(StatusBar1);

    connect(Toolbar1, &QToolBar::actionTriggered, this, [this](QAction *a) { Toolbar1_ButtonClick(a); });
    connect(samples_, &SampleModel::edited, this, [this] { unexported_ = true; });
    connect(lvwResults->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showChartOfLine(current.row()); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        if (running_) running_->cancel = true;
    });
}

frmBatch::~frmBatch()
{
    if (running_) running_->cancel = true;
}

void frmBatch::Form_Load()
{
    mdlFunction::SetToolbarImages(Toolbar1, ToolbarImages());
    mdlFunction::LoadFormLayout(this);
    const QString section = layoutSection();
    int px = 0;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (mdlFunction::StoredPixels(section, QStringLiteral("column") + QString::number(c + 1), &px) &&
            px > 0)
            lvwResults->setColumnWidth(c, px);
    const QString sizes = SettingsStore::GetSetting(kApp, section, QStringLiteral("splitter"));
    if (!sizes.isEmpty()) splitter_->restoreState(QByteArray::fromBase64(sizes.toLatin1()));
}

bool frmBatch::Form_QueryUnload()
{
    if (running_) {
        // A window that goes while its work runs would lose the work half-way: stop it first.
        running_->cancel = true;
        panel2_->setText(tr("计算已取消"));
        return false;
    }
    if (!hasUnexportedWork()) return true;
    return MsgBox(this, tr("批量数据尚未导出，是否放弃？"), Dialogs::Buttons::YesNo,
                  Dialogs::Icon::Question) == Dialogs::Answer::Yes;
}

bool frmBatch::hasUnexportedWork() const
{
    if (!unexported_) return false;
    return model_->rowCount() > 0 || samples_->hasText();
}

void frmBatch::Form_Unload()
{
    mdlFunction::SaveFormLayout(this);
    const QString section = layoutSection();
    for (int c = 0; c < model_->columnCount(); ++c)
        mdlFunction::StorePixels(section, QStringLiteral("column") + QString::number(c + 1),
                                 lvwResults->columnWidth(c));
    SettingsStore::SaveSetting(kApp, section, QStringLiteral("splitter"),
                               QString::fromLatin1(splitter_->saveState().toBase64()));
}

bool frmBatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lvwSamples && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteText(QApplication::clipboard()->text());
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            samples_->clearCells(lvwSamples->selectionModel()->selectedIndexes());
            return true;
        }
    }
    return ChildForm::eventFilter(watched, event);
}

QList<Row> frmBatch::sampleRows() const { return samples_->rows(); }

void frmBatch::appendRows(const QList<Row> &rows) { samples_->append(rows); }

void frmBatch::pasteText(const QString &text)
{
    const QModelIndex at = lvwSamples->currentIndex();
    const int row = at.isValid() ? at.row() : 0, column = at.isValid() ? at.column() : 0;
    const Kind kind = kind_;
    auto map = [kind](const QList<Row> &raw) { return MapColumns(kind, raw); };
    SampleModel::Block block;
    // A sheet's worth of cells is read on a worker; a few lines at once.
    constexpr qsizetype kLargePaste = 256 * 1024;
    if (text.size() < kLargePaste) {
        block = SampleModel::Prepare(kind, text, row, column, map);
    } else {
        QString failure;
        const bool finished = runInBackground(
            tr("正在粘贴…"), 0,
            [&](Progress &) { block = SampleModel::Prepare(kind, text, row, column, map); }, &failure);
        if (!failure.isEmpty()) {
            MsgBox(this, failure);
            return;
        }
        if (!finished) return;
    }
    const SampleModel::Pasted pasted = samples_->place(std::move(block));
    if (!pasted.error.isEmpty()) MsgBox(this, pasted.error);
}

bool frmBatch::runInBackground(const QString &busy, int total,
                               const std::function<void(Batch::Progress &)> &work, QString *failure)
{
    auto progress = std::make_shared<Progress>();
    running_ = progress;
    // Nothing the work throws may leave its thread: that would end the whole program.
    QFutureWatcher<void> watcher;
    QEventLoop loop;
    connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    auto showBar = [this, &watcher, total, busy] {
        if (watcher.isFinished() || progress_->isVisible()) return;
        progress_->setRange(0, total);
        progress_->show();
        cmdCancel->show();
        panel2_->setText(busy);
    };
    QElapsedTimer clock;
    clock.start();
    connect(&watcher, &QFutureWatcherBase::progressValueChanged, this, [&, showBar](int done) {
        if (clock.elapsed() >= kProgressDelayMs) showBar();
        if (total > 0) progress_->setValue(done);
    });
    QTimer::singleShot(kProgressDelayMs, &watcher, showBar);
    watcher.setFuture(QtConcurrent::run([&, progress](QPromise<void> &promise) {
        promise.setProgressRange(0, std::max(total, 1));
        progress->report = [&promise](int done) { promise.setProgressValue(done); };
        try {
            work(*progress);
        } catch (const std::exception &e) {
            *failure = QString::fromLocal8Bit(e.what());
        } catch (...) {
            *failure = tr("未知错误");
        }
        progress->report = nullptr;
    }));
    Toolbar1->setEnabled(false);
    lvwSamples->setEnabled(false);
    if (!watcher.isFinished()) loop.exec();
    watcher.waitForFinished();
    Toolbar1->setEnabled(true);
    lvwSamples->setEnabled(true);
    progress_->hide();
    cmdCancel->hide();
    running_.reset();
    return failure->isEmpty() && !progress->cancel.load();
}

bool frmBatch::readOptions(Options *options, bool complain)
{
    bool ok = false;
    const int draws = txtDraws->text().trimmed().toInt(&ok);
    if (!complain) {
        if (ok && draws >= 0 && draws <= kMaxDraws) options->draws = draws;
        const qulonglong seed = txtSeed->text().trimmed().toULongLong(&ok);
        if (ok) options->seed = seed;
        options->exact = chkExact && chkExact->isChecked();
        return true;
    }
    if (!ok || draws < 0 || draws > kMaxDraws) {
        MsgBox(this, tr("抽样次数必须为0到1000000之间的整数"), Dialogs::Buttons::Ok, Dialogs::Icon::None,
               tr("提示"));
        txtDraws->setFocus();
        txtDraws->selectAll();
        return false;
    }
    const qulonglong seed = txtSeed->text().trimmed().toULongLong(&ok);
    if (!ok) {
        MsgBox(this, tr("种子必须为非负整数"), Dialogs::Buttons::Ok, Dialogs::Icon::None, tr("提示"));
        txtSeed->setFocus();
        txtSeed->selectAll();
        return false;
    }
    options->draws = draws;
    options->seed = seed;
    options->exact = chkExact && chkExact->isChecked();
    return true;
}

bool frmBatch::Calculate()
{
    if (running_) return false;
    Options options;
    if (!readOptions(&options)) return false;
    if (!samples_->hasText()) {
        MsgBox(this, tr("没有样品数据"));
        return false;
    }
    auto library = std::make_shared<Library>();
    if (!Guarded(this, [&] { *library = Library::Load(*mdlFunction::adoConn(), kind_); })) return false;

    // The samples as they stand now: the results keep them, whatever is typed later.
    auto rows = std::make_shared<SampleColumns>(kind_);
    BatchResultsModel::Prepared prepared;
    QString failure;
    const bool finished = runInBackground(
        tr("正在计算…"), samples_->usedRows(),
        [&](Progress &progress) {
            *rows = samples_->table().rowsWithText();
            Results results = Compute(*rows, *library, options, &progress);
            if (!progress.cancel.load())
                prepared = BatchResultsModel::Prepare(rows, std::move(results), library);
        },
        &failure);
    if (!failure.isEmpty()) {
        MsgBox(this, tr("计算出错，结果未改变：%1").arg(failure));
        return false;
    }
    if (!finished) {
        panel2_->setText(tr("计算已取消，结果未改变"));
        return false;
    }
    const int bad = prepared.badSamples, none = prepared.uncalibrated;
    model_->show(std::move(prepared));
    shownSample_ = -1;
    BatchChart::ShowSummary(summary_, model_->samples(), model_->results());
    run_ = BatchRecord::Run{kind_, options, mdlFunction::adoConn()->DataSource(), library->size(),
                            QDateTime::currentDateTime()};
    fitResultColumns();
    unexported_ = true;
    QString summary = tr("%1个样品，%2个结果").arg(rows->rowCount()).arg(model_->resultCount());
    if (bad) summary += tr("；%n个样品数据无效", nullptr, bad);
    if (none) summary += tr("；%n个样品无标定", nullptr, none);
    panel2_->setText(summary);
    if (model_->rowCount() > 0) lvwResults->selectRow(0);
    return true;
}

void frmBatch::fitResultColumns()
{
    // Widths from the first few hundred lines: a run of millions would take a while to measure.
    lvwResults->horizontalHeader()->setResizeContentsPrecision(300);
    lvwResults->resizeColumnsToContents();
    const int widest = lvwResults->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (lvwResults->columnWidth(c) > widest) lvwResults->setColumnWidth(c, widest);
}

void frmBatch::showChartOfLine(int line)
{
    const int sample = model_->sampleOfLine(line);
    if (sample < 0) return;
    shownSample_ = sample;
    BatchChart::Show(chart_, kind_, model_->row(sample), model_->resultsOf(sample));
}

void frmBatch::ImportSamples()
{
    Dialogs::FileRequest request;
    request.kind = QStringLiteral("samples");
    request.title = tr("导入");
    request.filter = tr("样品表(*.csv;*.txt;*.tsv;*.xlsx)|*.csv;*.txt;*.tsv;*.xlsx");
    const Dialogs::FileResult file = Dialogs::instance().openFile(this, request);
    if (file.cancelled) return;
    // Read on a worker: a file of a million samples takes seconds, and the window answers meanwhile.
    SampleColumns added(kind_);
    QString failure, error;
    const bool finished = runInBackground(
        tr("正在导入…"), 0,
        [&](Progress &progress) { error = ReadSamples(kind_, file.fileName, &added, &progress); }, &failure);
    if (!failure.isEmpty() || !error.isEmpty()) {
        MsgBox(this,
               tr("%1：%2").arg(QFileInfo(file.fileName).fileName(), error.isEmpty() ? failure : error));
        return;
    }
    if (!finished) {
        panel2_->setText(tr("导入已取消"));
        return;
    }
    // A workbook this window wrote brings back the draws, the seed and the mode of its run.
    QString restored;
    if (QFileInfo(file.fileName).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0) {
        Options options;
        readOptions(&options, false);
        QString why;
        if (!BatchRecord::ReadOptions(file.fileName, &options, &why)) {
            MsgBox(this, tr("%1：%2").arg(QFileInfo(file.fileName).fileName(), why));
            return;
        }
        if (options.draws != txtDraws->text().trimmed().toInt() ||
            QString::number(options.seed) != txtSeed->text().trimmed() ||
            (chkExact && options.exact != chkExact->isChecked())) {
            txtDraws->setText(QString::number(options.draws));
            txtSeed->setText(QString::number(options.seed));
            if (chkExact) chkExact->setChecked(options.exact);
            restored = tr("，并恢复了计算参数");
        }
    }
    const int count = int(added.rowCount());
    samples_->append(std::move(added));
    panel2_->setText(tr("导入%n个样品", nullptr, count) + restored);
}

void frmBatch::ExportResults()
{
    if (model_->rowCount() == 0) {
        MsgBox(this, tr("没有可导出的结果"));
        return;
    }
    bool csv = false;
    const QString path =
        SampleTable::SaveAs(this, tr("导出"), tr("Excel 工作簿(*.xlsx)|*.xlsx|CSV 文件(*.csv)|*.csv"),
                            QStringLiteral("xlsx"), QStringLiteral("csv"), &csv);
    if (path.isEmpty()) return;

    // Formed and written on a worker: a million samples' workbook takes a while.
    QString failure, why;
    const bool finished = runInBackground(
        tr("正在导出…"), 0,
        [&](Progress &) {
            const QByteArray bytes =
                csv ? BatchRecord::Csv(*model_, run_) : BatchRecord::Workbook(*model_, run_);
            FileWrite::WriteWhole(path, bytes, &why);
        },
        &failure);
    if (!failure.isEmpty() || !why.isEmpty()) {
        MsgBox(this, tr("无法写入文件：%1\n%2").arg(path, why.isEmpty() ? failure : why));
        return;
    }
    if (!finished) return;
    panel2_->setText(tr("已导出到%1").arg(path));
    unexported_ = false;
}

void frmBatch::ExportReferences()
{
    if (model_->rowCount() == 0) {
        MsgBox(this, tr("没有可导出的结果"));
        return;
    }
    const std::vector<BatchRecord::Reference> references = BatchRecord::References(model_->results());
    if (references.empty()) {
        MsgBox(this, tr("没有给出温度的标定，无文献可导出"));
        return;
    }
    bool ris = false;
    const QString path =
        SampleTable::SaveAs(this, tr("导出文献"), QStringLiteral("BibTeX(*.bib)|*.bib|RIS(*.ris)|*.ris"),
                            QStringLiteral("bib"), QStringLiteral("ris"), &ris);
    if (path.isEmpty()) return;
    QString why;
    if (!FileWrite::WriteWhole(path, BatchRecord::Bibliography(references, ris), &why)) {
        MsgBox(this, tr("无法写入文件：%1\n%2").arg(path, why));
        return;
    }
    panel2_->setText(tr("%n条文献已导出到%1", nullptr, int(references.size())).arg(path));
}

void frmBatch::ExportChart()
{
    // The chart on show, drawn afresh at the figure's size.
    FigureExport::Fill fill;
    if (tabCharts->currentWidget() == chtSummary) {
        if (model_->resultCount() == 0) {
            MsgBox(this, tr("请先计算"));
            return;
        }
        fill = [this](QChart *c) { BatchChart::ShowSummary(c, model_->samples(), model_->results()); };
    } else {
        if (chart_->series().isEmpty() || shownSample_ < 0 || shownSample_ >= model_->sampleCount()) {
            MsgBox(this, tr("请先计算并选择样品"));
            return;
        }
        fill = [this, sample = shownSample_](QChart *c) {
            BatchChart::Show(c, kind_, model_->row(sample), model_->resultsOf(sample));
        };
    }
    const QString path = FigureExport::Export(this, fill);
    if (!path.isEmpty()) panel2_->setText(tr("图已导出到%1").arg(path));
}

void frmBatch::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    if (key == QLatin1String("import"))
        ImportSamples();
    else if (key == QLatin1String("calculate"))
        Calculate();
    else if (key == QLatin1String("export"))
        ExportResults();
    else if (key == QLatin1String("exportrefs"))
        ExportReferences();
    else if (key == QLatin1String("exportchart"))
        ExportChart();
    else if (key == QLatin1String("close"))
        Unload();
}
