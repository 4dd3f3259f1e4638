// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/Workbook.h"
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/SampleColumns.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QStringList>
#include <memory>
#include <vector>

// The batch results as a list: one line per sample and calibration, then one
// summary line per sample. A model, not items, so that hundreds of thousands of
// lines fill and scroll at once.
class BatchResultsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit BatchResultsModel(Batch::Kind kind, QObject *parent = nullptr);

    // Takes the samples the results were computed from (for names and minerals)
    // and the library their calibrations point into, and keeps both alive.
    void setResults(std::shared_ptr<const Batch::SampleColumns> samples, Batch::Results results,
                    std::shared_ptr<const Batch::Library> library);
    void clear();

    // The lines of a run, ready to show: made on a worker, so that a run of
    // millions of results reaches the list at once.
    struct Line {
        int result = -1; // index into the results, or -1 for a summary line
        int sample = 0;
    };
    struct Prepared {
        std::shared_ptr<const Batch::SampleColumns> samples;
        Batch::Results results;
        std::shared_ptr<const Batch::Library> library;
        std::vector<Batch::Summary> summaries;
        std::vector<Line> lines;
        int badSamples = 0, uncalibrated = 0; // samples with bad input, with no calibration
    };
    static Prepared Prepare(std::shared_ptr<const Batch::SampleColumns> samples, Batch::Results results,
                            std::shared_ptr<const Batch::Library> library);
    // Shows them; what was shown before is let go on a worker.
    void show(Prepared prepared);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QStringList Titles(Batch::Kind kind);
    // The cells of one line as shown (for export).
    QStringList lineTexts(int line) const;
    // The titles and cells of a workbook's results: the 95 % intervals split into
    // their bounds, numbers as numbers (temperatures as shown, one decimal).
    static QStringList SheetTitles(Batch::Kind kind);
    QVector<Workbook::Cell> sheetCells(int line) const;
    // The four bounds of a line (lower, upper, then the other root's), as shown; "" where none.
    QStringList boundTexts(int line) const;
    // The sample (row index) a line belongs to; -1 for none.
    int sampleOfLine(int line) const;
    const Batch::Results &results() const { return results_; }
    // The results of one sample (they stand together, in row order).
    std::vector<const Batch::Result *> resultsOf(int sample) const;
    const Batch::SampleColumns &samples() const { return *samples_; }
    int sampleCount() const { return int(samples_->rowCount()); }
    Batch::Row row(int sample) const { return samples_->row(sample); }
    int resultCount() const { return int(results_.size()); }

  private:
    QString cell(const Line &line, int column) const;
    // A cell as the list shows it: cell(), with the minerals of the pair in the interface's language.
    QString shownCell(const Line &line, int column) const;

    Batch::Kind kind_;
    QFont bold_; // summary lines
    std::shared_ptr<const Batch::Library> library_;
    std::shared_ptr<const Batch::SampleColumns> samples_;
    Batch::Results results_;
    std::vector<Batch::Summary> summaries_;
    std::vector<Line> lines_;
};
