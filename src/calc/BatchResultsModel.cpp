// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/BatchResultsModel.h"

#include <QThreadPool>

#include "calc/BatchTexts.h"

#include "core/base/NumberText.h"
#include "core/store/Names.h"
#include "core/thermometry/RootRule.h"

#include <QBrush>
#include <QFont>
#include <algorithm>

using namespace Batch;

namespace {

// Columns: 样品 矿物对 A B C|函数 资料来源|备注 温度 ±1σ, its analytical and calibration parts,
// 95%区间 另一解 另一解95%区间 适用范围 状态.
enum {
    cSample,
    cPair,
    cA,
    cB,
    cC,
    cSource,
    cT,
    cSigma,
    cSigmaAnalytical,
    cSigmaCalibration,
    cInterval,
    cT2,
    cInterval2,
    cRange,
    cStatus,
    cCount
};

QString oneDecimal(double v) { return QString::number(RootRule::AsShown(v, 1), 'f', 1); }

QString interval(Maybe lo, Maybe hi)
{
    return lo && hi ? oneDecimal(*lo) + QStringLiteral("–") + oneDecimal(*hi) : QString();
}

} // namespace

BatchResultsModel::BatchResultsModel(Kind kind, QObject *parent) : QAbstractTableModel(parent), kind_(kind)
{
    bold_.setBold(true);
}

QStringList BatchResultsModel::Titles(Kind kind)
{
    const bool iso = kind == Kind::Isotope;
    return {tr("样品"),
            tr("矿物对"),
            QStringLiteral("A"),
            QStringLiteral("B"),
            iso ? QStringLiteral("C") : tr("函数"),
            iso ? tr("资料来源") : tr("备注"),
            tr("温度(℃)"),
            tr("±1σ(℃)"),
            tr("分析σ(℃)"),
            tr("标定σ(℃)"),
            tr("95%区间(℃)"),
            tr("另一解(℃)"),
            tr("另一解95%区间(℃)"),
            tr("适用范围"),
            tr("状态")};
}

void BatchResultsModel::setResults(std::shared_ptr<const SampleColumns> samples, Results results,
                                   std::shared_ptr<const Library> library)
{
    show(Prepare(std::move(samples), std::move(results), std::move(library)));
}

BatchResultsModel::Prepared BatchResultsModel::Prepare(std::shared_ptr<const SampleColumns> samples,
                                                       Results results,
                                                       std::shared_ptr<const Library> library)
{
    Prepared p;
    p.samples = std::move(samples);
    p.results = std::move(results);
    p.library = std::move(library);
    const int sampleCount = p.samples ? int(p.samples->rowCount()) : 0;
    p.summaries = Summarise(p.results, sampleCount);
    p.lines.reserve(p.results.size() + size_t(sampleCount));
    // Results come in row order; a summary follows each sample's last result.
    for (size_t i = 0; i < p.results.size(); ++i) {
        const int sample = p.results[i].sample;
        p.lines.push_back({int(i), sample});
        const bool last = i + 1 == p.results.size() || p.results[i + 1].sample != sample;
        const Status s = p.results[i].status;
        if (s == Status::BadInput) ++p.badSamples;
        if (s == Status::NoCalibration) ++p.uncalibrated;
        if (last && s != Status::NoCalibration && s != Status::BadInput) p.lines.push_back({-1, sample});
    }
    return p;
}

void BatchResultsModel::show(Prepared prepared)
{
    beginResetModel();
    auto before = std::make_shared<Prepared>();
    before->samples = std::move(samples_);
    before->results.swap(results_);
    before->library = std::move(library_);
    before->summaries.swap(summaries_);
    library_ = std::move(prepared.library);
    samples_ = prepared.samples ? std::move(prepared.samples) : std::make_shared<SampleColumns>(kind_);
    results_ = std::move(prepared.results);
    summaries_ = std::move(prepared.summaries);
    lines_ = std::move(prepared.lines);
    endResetModel();
    // Millions of results take a moment to let go: not on the window's thread.
    if (before->results.size() > 100000)
        QThreadPool::globalInstance()->start([before]() mutable { before.reset(); });
}

void BatchResultsModel::clear() { setResults(std::shared_ptr<const SampleColumns>(), {}, nullptr); }

int BatchResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(lines_.size());
}

int BatchResultsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : cCount; }

QVariant BatchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return Titles(kind_).value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString BatchResultsModel::cell(const Line &line, int column) const
{
    if (column == cSample) return samples_->text(line.sample, Sample);
    if (line.result < 0) {
        const Summary &s = summaries_[size_t(line.sample)];
        if (column == cPair) return tr("汇总");
        if (s.inRange == 0) return column == cStatus ? tr("无适用范围内的温度") : QString();
        if (column == cT) return oneDecimal(s.mean);
        if (column == cStatus)
            return tr("%n个适用温度的平均值；最低–最高 %1–%2", nullptr, s.inRange)
                .arg(oneDecimal(s.lowest), oneDecimal(s.highest));
        return QString();
    }
    const Result &r = results_[size_t(line.result)];
    const Calibration *c = r.cal;
    const bool solved = Solved(r.status);
    switch (column) {
    case cPair:
        return samples_->text(line.sample, MineralA) + QStringLiteral("–") +
               samples_->text(line.sample, MineralB);
    case cA: return c ? Num::Str(float(c->a)) : QString();
    case cB: return c ? Num::Str(float(c->b)) : QString();
    case cC: return c ? (kind_ == Kind::Isotope ? Num::Str(float(c->c)) : c->logType) : QString();
    case cSource: return c ? c->source : QString();
    case cT: return solved ? oneDecimal(r.celsius) : QString();
    case cSigma: return solved && r.sigma ? oneDecimal(*r.sigma) : QString();
    case cSigmaAnalytical: return solved && r.sigmaAnalytical ? oneDecimal(*r.sigmaAnalytical) : QString();
    case cSigmaCalibration: return solved && r.sigmaCalibration ? oneDecimal(*r.sigmaCalibration) : QString();
    case cInterval: return solved ? interval(r.lo95, r.hi95) : QString();
    case cT2: return r.second ? oneDecimal(r.second->celsius) : QString();
    case cInterval2: return r.second ? interval(r.second->lo95, r.second->hi95) : QString();
    case cRange: return c && c->range ? c->range->text() : QString();
    case cStatus: return BatchTexts::Status(r);
    }
    return QString();
}

QString BatchResultsModel::shownCell(const Line &line, int column) const
{
    // The pair in the interface's language; exports keep the minerals as the samples name them.
    if (column != cPair || line.result < 0) return cell(line, column);
    return Names::Shown(Names::Kind::Mineral, samples_->text(line.sample, MineralA)) + QStringLiteral("–") +
           Names::Shown(Names::Kind::Mineral, samples_->text(line.sample, MineralB));
}

QVariant BatchResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= lines_.size()) return {};
    const Line &line = lines_[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return shownCell(line, index.column());
    case Qt::FontRole: return line.result < 0 ? QVariant(bold_) : QVariant();
    case Qt::ForegroundRole:
        if (line.result >= 0 && results_[size_t(line.result)].status != Status::Ok) return QBrush(Qt::gray);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() >= cA && index.column() <= cInterval2 && index.column() != cSource)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    return {};
}

QStringList BatchResultsModel::SheetTitles(Kind kind)
{
    QStringList titles = Titles(kind);
    titles.replace(cInterval2, tr("另一解95%上限(℃)"));
    titles.insert(cInterval2, tr("另一解95%下限(℃)"));
    titles.replace(cInterval, tr("95%上限(℃)"));
    titles.insert(cInterval, tr("95%下限(℃)"));
    return titles;
}

QStringList BatchResultsModel::boundTexts(int line) const
{
    const Line &l = lines_[size_t(line)];
    if (l.result < 0) return {QString(), QString(), QString(), QString()};
    const Result &r = results_[size_t(l.result)];
    const bool solved = Solved(r.status);
    auto shown = [](bool has, Maybe v) { return has && v ? oneDecimal(*v) : QString(); };
    return {shown(solved, r.lo95), shown(solved, r.hi95),
            shown(bool(r.second), r.second ? r.second->lo95 : Maybe()),
            shown(bool(r.second), r.second ? r.second->hi95 : Maybe())};
}

QVector<Workbook::Cell> BatchResultsModel::sheetCells(int line) const
{
    const Line &l = lines_[size_t(line)];
    const QStringList bounds = boundTexts(line);
    QVector<Workbook::Cell> cells;
    for (int c = 0; c < cCount; ++c) {
        if (c == cInterval || c == cInterval2) {
            for (int b = c == cInterval ? 0 : 2, end = b + 2; b < end; ++b)
                cells << (bounds[b].isEmpty() ? Workbook::Cell{}
                                              : Workbook::Cell::Number(bounds[b].toDouble(), 1));
            continue;
        }
        const QString text = cell(l, c);
        const bool constant = c == cA || c == cB || (c == cC && kind_ == Kind::Isotope);
        const bool celsius =
            c == cT || c == cSigma || c == cSigmaAnalytical || c == cSigmaCalibration || c == cT2;
        if (!text.isEmpty() && (constant || celsius))
            cells << Workbook::Cell::Number(text.toDouble(), celsius ? 1 : -1);
        else
            cells << Workbook::Cell::Text(text);
    }
    return cells;
}

QStringList BatchResultsModel::lineTexts(int line) const
{
    QStringList cells;
    for (int c = 0; c < cCount; ++c) cells << cell(lines_[size_t(line)], c);
    return cells;
}

int BatchResultsModel::sampleOfLine(int line) const
{
    return line >= 0 && size_t(line) < lines_.size() ? lines_[size_t(line)].sample : -1;
}

std::vector<const Result *> BatchResultsModel::resultsOf(int sample) const
{
    const auto lo = std::lower_bound(results_.begin(), results_.end(), sample,
                                     [](const Result &r, int s) { return r.sample < s; });
    const auto hi =
        std::upper_bound(lo, results_.end(), sample, [](int s, const Result &r) { return s < r.sample; });
    std::vector<const Result *> own;
    for (auto it = lo; it != hi; ++it) own.push_back(&*it);
    return own;
}
