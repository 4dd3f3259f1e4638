// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/thermometry/SampleStream.h"

#include "core/files/TextCodec.h"
#include "core/files/Workbook.h"
#include "core/thermometry/BatchRun.h"
#include "core/thermometry/SampleColumns.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace Batch {

namespace {

// A line longer than this (or a quotation left open) is no sample table.
constexpr qint64 kLongestPiece = 64 << 20;

} // namespace

SampleStream::SampleStream(Kind kind, const QString &path, qint64 pieceBytes)
    : kind_(kind), file_(path), pieceBytes_(std::max<qint64>(1, pieceBytes))
{
    csv_ = QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}

QByteArray SampleStream::nextPiece(QString *why)
{
    for (;;) {
        const bool more = !file_.atEnd();
        if (more && carry_.size() < pieceBytes_) {
            const QByteArray block = file_.read(pieceBytes_);
            if (block.isEmpty() && file_.error() != QFileDevice::NoError) {
                *why = QCoreApplication::translate("Batch", "无法读取文件：%1").arg(file_.errorString());
                return {};
            }
            carry_ += block;
            continue;
        }
        if (!more) {
            QByteArray all;
            all.swap(carry_);
            return all;
        }
        // Cut after the last line end outside quotes: a quoted field may hold line ends.
        qsizetype cut = -1;
        bool quoted = false;
        const char *data = carry_.constData();
        for (qsizetype i = 0; i < carry_.size(); ++i) {
            if (data[i] == '"')
                quoted = !quoted;
            else if (data[i] == '\n' && !quoted)
                cut = i + 1;
        }
        if (cut > 0) {
            QByteArray piece = carry_.left(cut);
            carry_.remove(0, cut);
            return piece;
        }
        if (carry_.size() > kLongestPiece) {
            *why = QCoreApplication::translate("Batch", "行过长或引号未闭合");
            return {};
        }
        // One line longer than a piece: read on.
        const QByteArray block = file_.read(pieceBytes_);
        if (block.isEmpty()) {
            QByteArray all;
            all.swap(carry_);
            return all;
        }
        carry_ += block;
    }
}

bool SampleStream::open(QString *why)
{
    if (!file_.open(QIODevice::ReadOnly)) {
        *why = QCoreApplication::translate("Batch", "无法打开文件");
        return false;
    }
    // The first piece runs at least to the first row (the header, where there is one).
    QByteArray piece;
    QString text;
    QList<Row> rows;
    for (;;) {
        const QByteArray more = nextPiece(why);
        if (!why->isEmpty()) return false;
        piece += more;
        if (piece.startsWith("\xEF\xBB\xBF")) piece.remove(0, 3);
        utf8_ = TextCodec::IsValidUtf8(piece);
        text = utf8_ ? QString::fromUtf8(piece) : TextCodec::FromGb18030(piece);
        separator_ = PrepareTable(&text, csv_);
        rows = SplitDelimited(text, separator_);
        if (!rows.isEmpty() || more.isEmpty()) break;
        if (piece.size() > kLongestPiece) {
            *why = QCoreApplication::translate("Batch", "行过长或引号未闭合");
            return false;
        }
    }
    linesBefore_ = int(text.count(QLatin1Char('\n')));
    first_ = MapColumns(kind_, rows);
    if (!first_.error.isEmpty()) {
        *why = first_.error;
        return false;
    }
    hadHeader_ = first_.hadHeader;
    if (hadHeader_) header_ = rows.first();
    sourceColumns_ = first_.sourceColumn;
    return true;
}

Mapped SampleStream::next()
{
    if (!firstTaken_) {
        firstTaken_ = true;
        if (!first_.rows.isEmpty()) return first_;
    }
    for (;;) {
        Mapped m;
        QString why;
        const QByteArray piece = nextPiece(&why);
        if (!why.isEmpty()) {
            m.error = why;
            return m;
        }
        if (piece.isEmpty()) return m; // the end
        if (utf8_ && !TextCodec::IsValidUtf8(piece)) {
            m.error = QCoreApplication::translate("Batch", "文件编码前后不一致（开头为UTF-8）");
            return m;
        }
        const QString text = utf8_ ? QString::fromUtf8(piece) : TextCodec::FromGb18030(piece);
        QList<Row> rows = SplitDelimited(text, separator_);
        for (Row &row : rows) row.line += linesBefore_;
        linesBefore_ += int(text.count(QLatin1Char('\n')));
        if (hadHeader_) rows.prepend(header_);
        m = MapColumns(kind_, rows);
        if (!m.error.isEmpty() || !m.rows.isEmpty()) return m;
    }
}

QString StreamWorkbookSamples(Kind kind, const QString &path, const std::function<bool(Mapped &&)> &onPiece)
{
    constexpr int kPieceRows = 8192;
    QList<Row> rows;
    Row header;
    bool first = true, hadHeader = false, stopped = false, any = false;
    QString mapError;
    auto flush = [&]() {
        if (rows.isEmpty()) return true;
        if (!first && hadHeader) rows.prepend(header);
        Mapped m = MapColumns(kind, rows);
        if (first) {
            hadHeader = m.hadHeader;
            if (hadHeader) header = rows.first();
            first = false;
        }
        rows.clear();
        if (!m.error.isEmpty()) {
            mapError = m.error;
            return false;
        }
        if (m.rows.isEmpty()) return true;
        any = true;
        if (!onPiece(std::move(m))) stopped = true;
        return !stopped;
    };
    const QString error = Workbook::StreamFirstSheet(path, [&](Workbook::SheetRow &&r) {
        Row row;
        row.cells = std::move(r.cells);
        row.line = r.line;
        row.problem = std::move(r.problem);
        row.problemColumn = r.problemColumn;
        rows << std::move(row);
        return rows.size() < kPieceRows || flush();
    });
    if (!error.isEmpty()) return error;
    if (!mapError.isEmpty()) return mapError;
    if (stopped) return QString();
    if (!flush()) return mapError;
    if (stopped) return QString();
    if (!any)
        return hadHeader ? QCoreApplication::translate("Batch", "文件只有表头，没有样品行")
                         : QCoreApplication::translate("Batch", "文件中没有样品行");
    return QString();
}

namespace {

void appendTrimmed(SampleColumns *table, QList<Row> &rows)
{
    table->reserve(table->rowCount() + rows.size());
    for (Row &r : rows) {
        for (QString &c : r.cells) c = c.trimmed();
        table->append(r);
    }
}

} // namespace

QString ReadSamples(Kind kind, const QString &path, SampleColumns *table, Progress *progress)
{
    table->clear();
    auto cancelled = [progress] { return progress && progress->cancel.load(); };
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0) {
        const QString error = StreamWorkbookSamples(kind, path, [&](Mapped &&piece) {
            if (cancelled()) return false;
            appendTrimmed(table, piece.rows);
            if (progress) {
                progress->done = int(std::min<int64_t>(table->rowCount(), std::numeric_limits<int>::max()));
                if (progress->report) progress->report(progress->done.load());
            }
            return true;
        });
        if (!error.isEmpty() || cancelled()) table->clear();
        return error;
    }
    SampleStream stream(kind, path);
    QString why;
    if (!stream.open(&why)) return why;
    for (;;) {
        if (cancelled()) {
            table->clear();
            return QString();
        }
        Mapped piece = stream.next();
        if (!piece.error.isEmpty()) {
            table->clear();
            return piece.error;
        }
        if (piece.rows.isEmpty()) break;
        appendTrimmed(table, piece.rows);
        if (progress) {
            progress->done = int(std::min<int64_t>(table->rowCount(), std::numeric_limits<int>::max()));
            if (progress->report) progress->report(progress->done.load());
        }
    }
    if (table->isEmpty())
        return stream.hadHeader() ? QCoreApplication::translate("Batch", "文件只有表头，没有样品行")
                                  : QCoreApplication::translate("Batch", "文件中没有样品行");
    return QString();
}

} // namespace Batch
