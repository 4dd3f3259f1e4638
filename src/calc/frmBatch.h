// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/BatchRecord.h"

#include "core/thermometry/BatchRun.h"
#include "ui/ChildForm.h"

#include <memory>

class BatchResultsModel;
class QAction;
class QChart;
class QChartView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTableView;
class QTabWidget;
class SampleModel;
class QTimer;
class QToolBar;

// Batch thermometry of a table of samples: every sample against every
// calibration of its pair, with uncertainties, a results list and a chart.
// One window for both kinds; frmIsoBatch and frmTraceBatch name them.
class frmBatch : public ChildForm {
    Q_OBJECT
  public:
    frmBatch(Batch::Kind kind, QWidget *parent = nullptr);
    ~frmBatch() override;

    Batch::Kind kind() const { return kind_; }
    // The samples as typed (rows with any text), for the computation.
    QList<Batch::Row> sampleRows() const;
    // Adds rows at the end of the table (after its last row with text).
    void appendRows(const QList<Batch::Row> &rows);
    // Pastes tab-separated cells at the current cell (a header row is recognised and dropped).
    void pasteText(const QString &text);
    // Runs the computation; true when it finished (not cancelled, no error).
    bool Calculate();
    BatchResultsModel *resultsModel() const { return model_; }
    bool RefusalStopsOpening() const override { return true; }

  protected:
    void Form_Load() override;
    bool Form_QueryUnload() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void Toolbar1_ButtonClick(QAction *button);
    void ImportSamples();
    void ExportResults();
    void ExportChart();
    // Shades the cells of rows first..last that cannot be used, with why as tool tip.
    // Runs work on Qt's thread pool while the window keeps answering, the
    // tools and the samples disabled; a bar with "取消" appears once it has
    // taken longer than a moment (total 0: a bar without an end). False when it
    // was cancelled or failed (*failure then says why).
    bool runInBackground(const QString &busy, int total, const std::function<void(Batch::Progress &)> &work,
                         QString *failure);
    // Samples typed or results computed that no export holds yet.
    bool hasUnexportedWork() const;
    void showChartOfLine(int line);
    // The draws, seed and mode the boxes hold; a wrong value is pointed out
    // unless `complain` is false (then the options keep what they had).
    bool readOptions(Batch::Options *options, bool complain = true);
    // The references of the calibrations that gave temperatures, as BibTeX or RIS.
    void ExportReferences();
    // The results' columns as wide as their contents, long texts held to a readable width.
    void fitResultColumns();

    Batch::Kind kind_;
    QToolBar *Toolbar1;
    QLineEdit *txtDraws, *txtSeed;
    QCheckBox *chkExact = nullptr;
    QSplitter *splitter_;
    QTableView *lvwSamples;
    SampleModel *samples_;
    QTableView *lvwResults;
    BatchResultsModel *model_;
    QTabWidget *tabCharts;
    QChartView *chtDeltaT, *chtSummary;
    QChart *chart_, *summary_;
    int shownSample_ = -1; // the sample the curves chart shows
    QStatusBar *StatusBar1;
    QLabel *panel1_, *panel2_;
    QProgressBar *progress_;
    QPushButton *cmdCancel;

    std::shared_ptr<Batch::Progress> running_;
    BatchRecord::Run run_; // what the results shown were computed with
    // Samples or results changed since the last export of the results.
    bool unexported_ = false;
};

class frmIsoBatch : public frmBatch {
    Q_OBJECT
  public:
    explicit frmIsoBatch(QWidget *parent = nullptr) : frmBatch(Batch::Kind::Isotope, parent) {}
};

class frmTraceBatch : public frmBatch {
    Q_OBJECT
  public:
    explicit frmTraceBatch(QWidget *parent = nullptr) : frmBatch(Batch::Kind::Trace, parent) {}
};
