// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/Workbook.h"
#include "core/thermometry/BatchRun.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

class BatchResultsModel;

// A batch run as a lab notebook keeps it: the samples as computed, the results,
// the parameters that reproduce them and the references of the calibrations
// that gave them. Written as one workbook (sheets 样品, 结果, 参数, 文献) or as
// CSV with the parameters in "#" lines above the results; a workbook read back
// gives the samples and the parameters.
namespace BatchRecord {

inline const QString kSamplesSheet = QStringLiteral("样品");
inline const QString kResultsSheet = QStringLiteral("结果");
inline const QString kParametersSheet = QStringLiteral("参数");
inline const QString kReferencesSheet = QStringLiteral("文献");

// What a run was made with.
struct Run {
    Batch::Kind kind = Batch::Kind::Isotope;
    Batch::Options options;
    QString database;     // the database file
    int calibrations = 0; // its rows of the kind
    QDateTime at;         // when it was computed
};

// The parameters, one (name, value) per line: 程序版本, 数据库, 标定数, 抽样次数, 种子,
// 精确1000lnα (isotope), 计算时间.
QList<QPair<QString, QString>> Parameters(const Run &run);

// The references of the calibrations that gave a temperature, in the order first
// used, each with the number of samples it gave one for and its DOI where the
// text names one.
struct Reference {
    QString text;
    QString doi;
    int samples = 0;
};
std::vector<Reference> References(const Batch::Results &results);

// The references as BibTeX (.bib) or RIS (.ris), one entry per reference: its
// text as the note (authors and title cannot be split from it reliably), the
// year where the text gives one, the DOI where known.
QByteArray Bibliography(const std::vector<Reference> &references, bool ris);

// The whole run as a workbook package.
QByteArray Workbook(const BatchResultsModel &model, const Run &run);
// The results as CSV text (with its byte-order mark): the parameters as "#"
// lines, the results list's columns, then the 95 % bounds split in two columns each.
QByteArray Csv(const BatchResultsModel &model, const Run &run);

// The options a workbook's 参数 sheet gives; the fields it lacks keep theirs.
// False, with why, when the sheet holds a value out of range.
bool ReadOptions(const QString &path, Batch::Options *options, QString *why);

} // namespace BatchRecord
