// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/OlivineTable.h"
#include "ui/ChildForm.h"

#include <vector>

class QAction;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QSplitter;
class QStatusBar;
class QTableWidget;
class QToolBar;

// Olivine-liquid thermometry of microprobe analyses: one olivine-liquid pair
// per row in oxide wt%, each pair's temperatures by five equations and the two
// olivine-melt calibrations, its Fe-Mg K_D against an equilibrium model, and
// the Rhodes diagram of all pairs.
class frmOlivineLiquid : public ChildForm {
    Q_OBJECT
  public:
    explicit frmOlivineLiquid(QWidget *parent = nullptr);

    void pasteText(const QString &text);
    void appendRows(const QList<Batch::Row> &rows);
    bool Calculate();
    const std::vector<OlivineTable::Result> &results() const { return results_; }
    // The results list's columns, and one line's texts as shown (for export).
    static QStringList ResultTitles();
    QStringList lineTexts(int line) const;
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
    void markCells(int first, int last);
    void showResults();
    void showChart();
    // The Rhodes diagram of the results into a chart (the window's, or a figure's).
    void fillChart(QChart *chart) const;

    QToolBar *Toolbar1;
    QComboBox *cboModel;
    QSplitter *splitter_;
    QTableWidget *lvwSamples, *lvwResults;
    QChartView *chtRhodes;
    QChart *chart_;
    QStatusBar *StatusBar1;
    QLabel *panel1_, *panel2_;

    QList<Batch::Row> rows_; // the rows the results were computed from
    std::vector<OlivineTable::Result> results_;
    int model_ = 0; // the K_D model of the results
    bool unexported_ = false;
};
