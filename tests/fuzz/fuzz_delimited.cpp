// SPDX-License-Identifier: GPL-3.0-or-later
// Sample files as the batch reads them: bytes decoded, split into rows (as a
// .csv with its guessed separator and as a tab-separated file), mapped for both
// kinds and every row's numbers read.
#include "FuzzCheck.h"

#include "core/files/TextCodec.h"
#include "core/thermometry/BatchTable.h"

#include <cstddef>
#include <cstdint>

namespace {

void readAs(Batch::Kind kind, const QList<Batch::Row> &raw)
{
    const Batch::Mapped mapped = Batch::MapColumns(kind, raw);
    const int count = Batch::ColumnCount(kind);
    if (mapped.error.isEmpty()) FUZZ_CHECK(mapped.sourceColumn.size() == count);
    QList<Batch::CellProblem> problems;
    for (int i = 0; i < mapped.rows.size(); ++i) {
        const Batch::Row &row = mapped.rows[i];
        FUZZ_CHECK(row.cells.size() == count);
        const Batch::Values v = Batch::ReadValues(kind, row, i, &problems);
        // A negative σ is a problem, never a value.
        FUZZ_CHECK(!(v.sigmaA && *v.sigmaA < 0));
        FUZZ_CHECK(!(v.sigmaB && *v.sigmaB < 0));
    }
    for (const Batch::CellProblem &p : problems) {
        FUZZ_CHECK(p.row >= 0 && p.row < mapped.rows.size());
        FUZZ_CHECK(p.column >= Batch::ValueA && p.column < count);
    }
}

void split(const QString &text, QChar separator)
{
    const QList<Batch::Row> rows = Batch::SplitDelimited(text, separator);
    int previous = 0;
    for (const Batch::Row &row : rows) {
        FUZZ_CHECK(row.line > previous);
        previous = row.line;
    }
    readAs(Batch::Kind::Isotope, rows);
    readAs(Batch::Kind::Trace, rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Not copied, so a read past the end is caught at the end of the input.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = TextCodec::Decode(bytes);
    const QString firstLine = text.section(QLatin1Char('\n'), 0, 0);
    split(text, Batch::GuessSeparator(firstLine, true));
    split(text, Batch::GuessSeparator(firstLine, false));
    return 0;
}
