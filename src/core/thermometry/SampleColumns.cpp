// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/SampleColumns.h"

#include "core/base/NumberText.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Batch {

namespace {

constexpr uint64_t kLengthBits = 24;
constexpr uint64_t kLongest = (uint64_t(1) << kLengthBits) - 1;

bool isSigma(int column)
{
    return column == SigmaA || column == SigmaB || column == SigmaPressure || column == SigmaATiO2 ||
           column == SigmaASiO2 || column == SigmaX;
}

} // namespace

bool ReadCell(int column, const QString &trimmed, double *value, QString *why)
{
    why->clear();
    if (trimmed.isEmpty()) return false;
    if (!Num::IsNumeric(trimmed)) {
        *why = QCoreApplication::translate("Batch", "不是数字：%1").arg(trimmed.left(40));
        return false;
    }
    // "1e999" passes the numeric test but is no number a calculation can use.
    const std::optional<double> parsed = Num::TryDouble(trimmed);
    if (!parsed) {
        *why = QCoreApplication::translate("Batch", "数值超出范围：%1").arg(trimmed.left(40));
        return false;
    }
    const double v = *parsed;
    if (isSigma(column) && v < 0)
        *why = QCoreApplication::translate("Batch", "σ不能为负：%1");
    else if (column == Pressure && v < 0)
        *why = QCoreApplication::translate("Batch", "压力不能为负：%1");
    else if ((column == ATiO2 || column == ASiO2) && !(v > 0 && v <= 1))
        *why = QCoreApplication::translate("Batch", "活度须大于0且不大于1：%1");
    if (!why->isEmpty()) {
        *why = why->arg(trimmed.left(40));
        return false;
    }
    *value = v;
    return true;
}

bool IsNumericColumn(Kind kind, int column)
{
    if (column < ValueA) return false;
    return kind == Kind::Isotope ? column <= SigmaB : column <= SigmaX;
}

QString SampleColumns::Texts::at(size_t i) const
{
    const uint64_t cell = cells[i];
    return QString::fromUtf8(bytes.data() + (cell >> kLengthBits), qsizetype(cell & kLongest));
}

uint64_t SampleColumns::Texts::pack(const QString &text)
{
    if (text.isEmpty()) return 0;
    const QByteArray utf8 = text.toUtf8();
    // No cell of a sample table is near 16 MB; what is past that is not kept.
    const uint64_t length = std::min<uint64_t>(uint64_t(utf8.size()), kLongest);
    const uint64_t start = bytes.size();
    bytes.append(utf8.constData(), size_t(length));
    return start << kLengthBits | length;
}

void SampleColumns::Texts::push(const QString &text) { cells.push_back(pack(text)); }

void SampleColumns::Texts::set(size_t i, const QString &text)
{
    // An edit writes the new text at the end; a table edited cell by cell by
    // hand never grows far.
    cells[i] = pack(text);
}

uint32_t SampleColumns::Names::idOf(const QString &text)
{
    const auto found = index.constFind(text);
    if (found != index.cend()) return *found;
    const uint32_t id = uint32_t(names.size());
    names.push_back(text);
    index.insert(text, id);
    return id;
}

SampleColumns::SampleColumns(Kind kind)
    : kind_(kind), columns_(ColumnCount(kind)), texts_(size_t(columns_)), names_(size_t(columns_)),
      numbers_(size_t(columns_)), states_(size_t(columns_))
{
    clear();
}

void SampleColumns::clear()
{
    lines_.clear();
    for (int c = 0; c < columns_; ++c) {
        texts_[size_t(c)] = Texts();
        names_[size_t(c)] = Names();
        numbers_[size_t(c)].clear();
        states_[size_t(c)].clear();
        if (named(c)) names_[size_t(c)].idOf(QString()); // id 0: blank
    }
    pairs_.clear();
    pairKeys_.clear();
    pairIndex_.clear();
    rowProblems_.clear();
}

void SampleColumns::reserve(int64_t rows)
{
    // Grown piece by piece, the room at least doubles, so that a table read in
    // a thousand pieces is not copied a thousand times.
    if (rows <= int64_t(lines_.capacity())) return;
    const size_t n = std::max(size_t(rows), 2 * lines_.capacity());
    lines_.reserve(n);
    pairs_.reserve(n);
    for (int c = 0; c < columns_; ++c) {
        if (named(c)) {
            names_[size_t(c)].ids.reserve(n);
        } else {
            texts_[size_t(c)].cells.reserve(n);
        }
        if (IsNumericColumn(kind_, c)) {
            numbers_[size_t(c)].reserve(n);
            states_[size_t(c)].reserve(n);
        }
    }
}

void SampleColumns::setCell(size_t row, int column, const QString &text, bool appending)
{
    const size_t c = size_t(column);
    if (named(column)) {
        const uint32_t id = names_[c].idOf(text);
        if (appending)
            names_[c].ids.push_back(id);
        else
            names_[c].ids[row] = id;
    } else if (appending) {
        texts_[c].push(text);
    } else {
        texts_[c].set(row, text);
    }
    if (!IsNumericColumn(kind_, column)) return;
    double value = std::numeric_limits<double>::quiet_NaN();
    QString why;
    const QString trimmed = text.trimmed();
    const uint8_t state = ReadCell(column, trimmed, &value, &why) ? Number : why.isEmpty() ? Blank : Refused;
    if (appending) {
        numbers_[c].push_back(value);
        states_[c].push_back(state);
    } else {
        numbers_[c][row] = value;
        states_[c][row] = state;
    }
}

void SampleColumns::updatePair(size_t row)
{
    const Key key{names_[Type].ids[row], names_[MineralA].ids[row], names_[MineralB].ids[row]};
    auto found = pairIndex_.find(key);
    if (found == pairIndex_.end()) {
        found = pairIndex_.emplace(key, uint32_t(pairKeys_.size())).first;
        pairKeys_.push_back(key);
    }
    if (row < pairs_.size())
        pairs_[row] = found->second;
    else
        pairs_.push_back(found->second);
}

void SampleColumns::append(const Row &row)
{
    const size_t at = lines_.size();
    lines_.push_back(row.line);
    for (int c = 0; c < columns_; ++c) setCell(at, c, c < row.cells.size() ? row.cells[c] : QString(), true);
    updatePair(at);
    if (!row.problem.isEmpty()) rowProblems_.insert(int64_t(at), {row.problem, row.problemColumn});
}

void SampleColumns::append(const QList<Row> &rows)
{
    reserve(rowCount() + rows.size());
    for (const Row &r : rows) append(r);
}

void SampleColumns::append(const SampleColumns &other)
{
    if (other.kind_ != kind_ || other.isEmpty()) return;
    if (isEmpty()) {
        *this = other;
        return;
    }
    const size_t base = lines_.size(), n = other.lines_.size();
    lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end());
    for (int c = 0; c < columns_; ++c) {
        const size_t k = size_t(c);
        if (named(c)) {
            // Their names numbered as here.
            std::vector<uint32_t> to(other.names_[k].names.size());
            for (size_t i = 0; i < to.size(); ++i) to[i] = names_[k].idOf(other.names_[k].names[i]);
            names_[k].ids.reserve(base + n);
            for (const uint32_t id : other.names_[k].ids) names_[k].ids.push_back(to[id]);
        } else {
            const uint64_t shift = uint64_t(texts_[k].bytes.size()) << kLengthBits;
            texts_[k].bytes += other.texts_[k].bytes;
            texts_[k].cells.reserve(base + n);
            for (const uint64_t cell : other.texts_[k].cells)
                texts_[k].cells.push_back((cell & kLongest) ? cell + shift : 0);
        }
        numbers_[k].insert(numbers_[k].end(), other.numbers_[k].begin(), other.numbers_[k].end());
        states_[k].insert(states_[k].end(), other.states_[k].begin(), other.states_[k].end());
    }
    pairs_.reserve(base + n);
    for (size_t i = base; i < base + n; ++i) updatePair(i);
    for (auto it = other.rowProblems_.cbegin(); it != other.rowProblems_.cend(); ++it)
        rowProblems_.insert(it.key() + int64_t(base), it.value());
}

SampleColumns SampleColumns::rowsWithText() const
{
    std::vector<int64_t> kept;
    for (int64_t r = 0; r < rowCount(); ++r)
        if (rowHasText(r)) kept.push_back(r);
    SampleColumns out(kind_);
    if (int64_t(kept.size()) == rowCount()) {
        out = *this;
    } else {
        out.reserve(int64_t(kept.size()));
        for (const int64_t r : kept) out.append(row(r));
    }
    for (size_t i = 0; i < kept.size(); ++i) out.lines_[i] = int32_t(kept[i] + 1);
    return out;
}

void SampleColumns::resize(int64_t rows)
{
    rows = std::max<int64_t>(rows, 0);
    if (rows >= rowCount()) {
        Row blank;
        reserve(rows);
        while (rowCount() < rows) append(blank);
        return;
    }
    const size_t n = size_t(rows);
    lines_.resize(n);
    pairs_.resize(n);
    for (int c = 0; c < columns_; ++c) {
        names_[size_t(c)].ids.resize(std::min(n, names_[size_t(c)].ids.size()));
        texts_[size_t(c)].cells.resize(std::min(n, texts_[size_t(c)].cells.size()));
        numbers_[size_t(c)].resize(std::min(n, numbers_[size_t(c)].size()));
        states_[size_t(c)].resize(std::min(n, states_[size_t(c)].size()));
    }
    for (auto it = rowProblems_.begin(); it != rowProblems_.end();)
        it = it.key() >= rows ? rowProblems_.erase(it) : std::next(it);
}

QString SampleColumns::text(int64_t row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_) return QString();
    const size_t c = size_t(column);
    if (named(column)) return names_[c].names[names_[c].ids[size_t(row)]];
    return texts_[c].at(size_t(row));
}

void SampleColumns::setText(int64_t row, int column, const QString &text)
{
    if (row < 0 || column < 0 || column >= columns_) return;
    if (row >= rowCount()) resize(row + 1);
    setCell(size_t(row), column, text, false);
    if (named(column)) updatePair(size_t(row));
}

bool SampleColumns::rowHasText(int64_t row) const
{
    for (int c = 0; c < columns_; ++c) {
        if (named(c) ? names_[size_t(c)].ids[size_t(row)] != 0
                     : (texts_[size_t(c)].cells[size_t(row)] & kLongest) != 0)
            return true;
    }
    return false;
}

Row SampleColumns::row(int64_t index) const
{
    Row r;
    r.line = line(index);
    for (int c = 0; c < columns_; ++c) r.cells << text(index, c);
    r.problem = rowProblem(index);
    r.problemColumn = rowProblemColumn(index);
    return r;
}

QString SampleColumns::rowProblem(int64_t row) const { return rowProblems_.value(row).first; }
int SampleColumns::rowProblemColumn(int64_t row) const { return rowProblems_.value(row).second; }

Values SampleColumns::values(int64_t row, QList<CellProblem> *problems) const
{
    Values v;
    const size_t r = size_t(row);
    auto number = [&](int column, std::optional<double> *out) {
        switch (states_[size_t(column)][r]) {
        case Number: *out = numbers_[size_t(column)][r]; break;
        case Refused:
            if (problems) problems->append({int(row), column, cellProblem(row, column)});
            break;
        default: break;
        }
    };
    for (int column = ValueA; column < columns_; ++column) number(column, ValueOfColumn(&v, column));
    return v;
}

QString SampleColumns::cellProblem(int64_t row, int column) const
{
    if (!IsNumericColumn(kind_, column) || row < 0 || row >= rowCount() ||
        states_[size_t(column)][size_t(row)] != Refused)
        return QString();
    double value = 0;
    QString why;
    ReadCell(column, text(row, column).trimmed(), &value, &why);
    return why;
}

bool SampleColumns::hasCellProblem(int64_t row) const
{
    for (int c = ValueA; c < columns_; ++c)
        if (IsNumericColumn(kind_, c) && states_[size_t(c)][size_t(row)] == Refused) return true;
    return false;
}

SampleColumns::PairNames SampleColumns::pairNames(uint32_t pair) const
{
    const Key &k = pairKeys_[pair];
    return {names_[Type].names[k.type].trimmed(), names_[MineralA].names[k.a].trimmed(),
            names_[MineralB].names[k.b].trimmed()};
}

} // namespace Batch
