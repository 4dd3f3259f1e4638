// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchTable.h"

#include <QFile>
#include <QString>
#include <functional>

// A delimited sample file (.csv, .tsv, .txt) read piece by piece, so that a file
// of millions of samples never stands in memory whole: each piece is mapped as
// the whole file would be (the header of the first piece names the columns of
// every piece) and its rows keep their line numbers in the file. "#" lines above
// the table are skipped, as the whole-file reader does.
namespace Batch {

class SampleStream {
  public:
    // `pieceBytes`: how much of the file a piece holds (at least); smaller in tests.
    SampleStream(Kind kind, const QString &path, qint64 pieceBytes = kPieceBytes);

    // Opens the file and reads its first piece; false, with why, when it cannot be read.
    bool open(QString *why);
    // The next piece of at least one row (all the rest when the file ends
    // first); no rows at the end. A read failure gives its reason in `error`.
    Mapped next();
    // The source positions of the canonical columns (as Mapped::sourceColumn).
    const QList<int> &sourceColumns() const { return sourceColumns_; }
    bool hadHeader() const { return hadHeader_; }

    // The size of a piece, in bytes of the file.
    static constexpr qint64 kPieceBytes = 1 << 20;

  private:
    // The next piece of text, cut after a line end outside quotes; empty at the end.
    QByteArray nextPiece(QString *why);

    Kind kind_;
    QFile file_;
    qint64 pieceBytes_;
    bool csv_ = false, utf8_ = true, hadHeader_ = false;
    QChar separator_;
    QByteArray carry_;    // bytes read past the last cut
    int linesBefore_ = 0; // line ends before the piece being read
    Row header_;
    QList<int> sourceColumns_;
    Mapped first_;
    bool firstTaken_ = false;
};

// The first sheet of a workbook read as it streams, mapped as the whole-file
// reader maps it (its header, if it has one, names the columns of every
// piece): each piece of rows goes to onPiece, which returns false to stop. The
// sheet's error, or a sheet without samples, comes back; a caller must then
// let go of the pieces it had, since an error may follow rows already given.
QString StreamWorkbookSamples(Kind kind, const QString &path, const std::function<bool(Mapped &&)> &onPiece);

class SampleColumns;
struct Progress;

// A whole sample file (.csv, .tsv, .txt or .xlsx) into a table, its cells
// trimmed: text files a piece at a time, so that only the table grows. Tells
// progress the rows read so far and stops when it is cancelled (the table then
// holds nothing). The reason it cannot be read, or a file without samples
// ("文件只有表头，没有样品行"), comes back as the error; empty on success.
QString ReadSamples(Kind kind, const QString &path, SampleColumns *table, Progress *progress = nullptr);

} // namespace Batch
