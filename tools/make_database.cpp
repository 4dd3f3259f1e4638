// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the default calibration database from the schema and the published
// calibrations in data/calibrations. An existing database is never touched: it
// may hold the user's own rows.
//
// Beside the database it writes the same library as import files for the two
// managers, library/isotope/<type>.txt and library/trace/<element>.txt, so that
// a database older than the library can be given the rows it lacks. Those files
// are rewritten on every run.
//
//   make_database SCHEMA.sql CALIBRATION_DIR OUTPUT.mdb

#include "core/base/NumberText.h"
#include "core/files/TextCodec.h"
#include "core/store/CoefficientCovariance.h"
#include "core/store/TraceTerms.h"
#include "core/thermometry/Equations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

// RFC 4180 records: quoted fields may hold commas, quotes ("") and line breaks.
QVector<QStringList> readCsv(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_database: cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    QVector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
            row << field;
            field.clear();
            if (!(row.size() == 1 && row[0].isEmpty())) rows << row;
            row.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) {
        row << field;
        rows << row;
    }
    return rows;
}

void check(sqlite3 *db, int rc, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "make_database: %s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

[[noreturn]] void refuse(const QString &csvPath, int line, const QString &why)
{
    std::fprintf(stderr, "make_database: %s, row %d: %s\n", qPrintable(csvPath), line, qPrintable(why));
    std::exit(1);
}

// A calibration table as its CSV states it: the heading row names the columns.
struct Table {
    QString path;
    QStringList columns;
    QVector<QStringList> rows; // trimmed, as many fields as columns
    int index(const char *column) const { return columns.indexOf(QLatin1String(column), 0); }
};

// Reads a table and refuses what would give a wrong calibration: a constant
// that is no number, an unknown log type, a row without its owner, minerals or
// reference, a field an import file cannot carry, the same calibration twice.
Table readTable(const QString &csvPath, const QStringList &numeric, const char *owner, const char *reference,
                const char *logType)
{
    const QVector<QStringList> rows = readCsv(csvPath);
    Table table;
    table.path = csvPath;
    if (rows.isEmpty()) return table;
    table.columns = rows.first();
    QSet<QString> seen;
    for (int r = 1; r < rows.size(); ++r) {
        QStringList row;
        for (int c = 0; c < table.columns.size(); ++c)
            row << (c < rows[r].size() ? rows[r][c].trimmed() : QString());
        if (rows[r].size() > table.columns.size())
            refuse(csvPath, r, QStringLiteral("more fields than columns"));
        QStringList key;
        for (int c = 0; c < row.size(); ++c) {
            const QString &column = table.columns[c];
            if (row[c].contains(QLatin1Char('\t')) || row[c].contains(QLatin1Char('\n')) ||
                row[c].contains(QLatin1Char('\r')))
                refuse(csvPath, r, column + QStringLiteral(" holds a tab or a line break"));
            if (numeric.contains(column)) {
                if (!Num::IsNumeric(row[c])) refuse(csvPath, r, column + QStringLiteral(" is no number"));
                key << Num::Str(Num::ToSingle(row[c]));
            } else if (column.startsWith(QLatin1String("Min")) || column == QLatin1String(owner) ||
                       (logType && column == QLatin1String(logType))) {
                if (row[c].isEmpty()) refuse(csvPath, r, column + QStringLiteral(" is empty"));
                key << row[c];
            }
        }
        if (logType && !TraceEquation::IsKnownLogType(row[table.index(logType)]))
            refuse(csvPath, r, QStringLiteral("log type is neither 10 nor e"));
        if (row[table.index(reference)].isEmpty()) refuse(csvPath, r, QStringLiteral("no reference"));
        const QString joined = key.join(QLatin1Char('\t'));
        if (seen.contains(joined)) refuse(csvPath, r, QStringLiteral("the same calibration twice"));
        seen.insert(joined);
        table.rows << row;
    }
    return table;
}

void bindText(sqlite3_stmt *st, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

int loadTable(sqlite3 *db, const Table &table, const char *name, const QStringList &numeric)
{
    if (table.columns.isEmpty()) return 0;
    QStringList marks;
    for (int i = 0; i <= table.columns.size(); ++i) marks << QStringLiteral("?");
    const QString sql =
        QStringLiteral("insert into %1 (ID_N,%2) values (%3)")
            .arg(QLatin1String(name), table.columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    sqlite3_stmt *st = nullptr;
    check(db, sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), "prepare insert");
    int id = 0;
    for (const QStringList &row : table.rows) {
        sqlite3_reset(st);
        sqlite3_bind_int(st, 1, ++id);
        for (int c = 0; c < table.columns.size(); ++c) {
            // Constants are stored as the program writes them: single precision, general text.
            if (numeric.contains(table.columns[c]))
                sqlite3_bind_double(st, c + 2, Num::ToDouble(Num::Str(Num::ToSingle(row[c]))));
            else
                bindText(st, c + 2, row[c]);
        }
        check(db, sqlite3_step(st), "insert");
    }
    sqlite3_finalize(st);
    return id;
}

// Where a covariance file names its rows: the table, its columns of type (or
// element), minerals and constants, and the matrix entries the file gives.
struct CovarianceTable {
    const char *table;
    QStringList keys;    // type, minerals, constants
    int constants;       // how many of the keys are constants (the last ones)
    QStringList entries; // of AA AB AC BB BC CC, those the file holds; the rest are 0
};

// The covariances of the rows' coefficients, each row named by its type or
// element, minerals and constants as stored. A row that names no stored
// calibration, or a value that is no number, stops the build: a covariance
// must never sit on the wrong row. The number loaded.
int loadCovariance(sqlite3 *db, const QString &csvPath, const CovarianceTable &t)
{
    if (!QFileInfo::exists(csvPath)) return 0;
    const QVector<QStringList> rows = readCsv(csvPath);
    if (rows.isEmpty()) return 0;
    const QStringList head = rows.first();
    const QStringList wanted = t.keys + t.entries;
    QList<int> at;
    for (const QString &w : wanted) {
        at << int(head.indexOf(w));
        if (at.last() < 0) refuse(csvPath, 0, w + QStringLiteral(" is missing"));
    }
    const int keys = int(t.keys.size()), firstConstant = keys - t.constants;
    QString where;
    for (const QString &k : t.keys)
        where += (where.isEmpty() ? QString() : QStringLiteral(" and ")) + k + QStringLiteral("=?");
    sqlite3_stmt *find = nullptr, *insert = nullptr;
    const QByteArray findSql =
        (QStringLiteral("select ID_N from ") + QLatin1String(t.table) + QStringLiteral(" where ") + where)
            .toUtf8();
    check(db, sqlite3_prepare_v2(db, findSql.constData(), -1, &find, nullptr), "prepare covariance lookup");
    const QByteArray insertSql = (QStringLiteral("insert into Covariance (Table_S,Row_N,AA,AB,AC,BB,BC,CC) "
                                                 "values ('") +
                                  QLatin1String(t.table) + QStringLiteral("',?,?,?,?,?,?,?)"))
                                     .toUtf8();
    check(db, sqlite3_prepare_v2(db, insertSql.constData(), -1, &insert, nullptr),
          "prepare covariance insert");
    const QStringList all{QStringLiteral("AA"), QStringLiteral("AB"), QStringLiteral("AC"),
                          QStringLiteral("BB"), QStringLiteral("BC"), QStringLiteral("CC")};
    int loaded = 0;
    for (int r = 1; r < rows.size(); ++r) {
        auto field = [&](int i) { return rows[r].value(at[i]).trimmed(); };
        sqlite3_reset(find);
        for (int i = 0; i < firstConstant; ++i) bindText(find, i + 1, field(i));
        for (int i = firstConstant; i < int(wanted.size()); ++i)
            if (!Num::IsNumeric(field(i))) refuse(csvPath, r, wanted[i] + QStringLiteral(" is no number"));
        // Constants as make_database stores them: single precision, general text.
        for (int i = firstConstant; i < keys; ++i)
            sqlite3_bind_double(find, i + 1, Num::ToDouble(Num::Str(Num::ToSingle(field(i)))));
        if (sqlite3_step(find) != SQLITE_ROW)
            refuse(csvPath, r, QStringLiteral("names no stored calibration"));
        const int id = sqlite3_column_int(find, 0);
        sqlite3_reset(insert);
        sqlite3_bind_int(insert, 1, id);
        for (int e = 0; e < 6; ++e) {
            const int i = int(t.entries.indexOf(all[e]));
            sqlite3_bind_double(insert, e + 2, i < 0 ? 0.0 : Num::ToDouble(field(keys + i)));
        }
        check(db, sqlite3_step(insert), "insert covariance");
        ++loaded;
    }
    sqlite3_finalize(find);
    sqlite3_finalize(insert);
    return loaded;
}

// The error fields of each row a covariance file names, as the managers show
// and import them (σ of each coefficient, then the covariances), keyed by the
// row's type or element, minerals and constants in the program's own text.
QHash<QString, QStringList> readErrorFields(const QString &csvPath, const CovarianceTable &t)
{
    QHash<QString, QStringList> fields;
    if (!QFileInfo::exists(csvPath)) return fields;
    const QVector<QStringList> rows = readCsv(csvPath);
    if (rows.isEmpty()) return fields;
    const QStringList head = rows.first();
    const QStringList all{QStringLiteral("AA"), QStringLiteral("AB"), QStringLiteral("AC"),
                          QStringLiteral("BB"), QStringLiteral("BC"), QStringLiteral("CC")};
    const int keys = int(t.keys.size());
    for (int r = 1; r < rows.size(); ++r) {
        QStringList key;
        for (int i = 0; i < keys; ++i) {
            const QString v = rows[r].value(int(head.indexOf(t.keys[i]))).trimmed();
            key << (i >= keys - t.constants ? Num::Str(Num::ToSingle(v)) : v);
        }
        CoefficientCovariance::Matrix m{};
        for (int e = 0; e < 6; ++e)
            if (t.entries.contains(all[e]))
                m[size_t(e)] = Num::ToDouble(rows[r].value(int(head.indexOf(all[e]))).trimmed());
        fields.insert(key.join(QChar(0x1f)), CoefficientCovariance::Texts(m, t.constants));
    }
    return fields;
}

// The same key for a row of a calibration table.
QString errorKey(const Table &table, const QStringList &row, const CovarianceTable &t)
{
    QStringList key;
    const int keys = int(t.keys.size());
    for (int i = 0; i < keys; ++i) {
        const QString v = row[table.index(qPrintable(t.keys[i]))].trimmed();
        key << (i >= keys - t.constants ? Num::Str(Num::ToSingle(v)) : v);
    }
    return key.join(QChar(0x1f));
}

// One import file per type or element: the managers store imported rows under
// the type or element chosen in their tree, so a file holds one of them only.
// Fields as the import reads them: no heading, tab-delimited, UTF-8, CR LF;
// constants in the program's own text, so the duplicate check matches the
// stored rows.
void writeImportFiles(const Table &table, const QString &folder, const char *owner, const QStringList &fields,
                      const QStringList &numeric,
                      const std::function<QStringList(const QStringList &)> &after)
{
    QMap<QString, QString> files;
    QStringList order;
    for (const QStringList &row : table.rows) {
        const QString name = row[table.index(owner)];
        if (name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.')))
            refuse(table.path, 0, name + QStringLiteral(" cannot name a file"));
        if (!files.contains(name)) order << name;
        QStringList line;
        for (const QString &field : fields) {
            // An empty name is a field the table has no column for: the trace
            // rows' source of data, which the import keeps in field 7.
            if (field.isEmpty()) {
                line << QString();
                continue;
            }
            // A term column the CSV leaves out is written with its default.
            const int column = int(table.columns.indexOf(field));
            const int term = int(TraceColumns::Names().indexOf(field));
            if (column < 0 && term < 0) refuse(table.path, 0, field + QStringLiteral(" is missing"));
            const QString value = column >= 0 ? row[column] : TraceColumns::Texts(TraceTerms{})[term];
            line << (numeric.contains(field) ? Num::Str(Num::ToSingle(value)) : value);
        }
        line << after(row);
        files[name] += line.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_database: cannot create %s\n", qPrintable(folder));
        std::exit(1);
    }
    // Files of types or elements the library no longer has would bring back rows it dropped.
    for (const QString &old : QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files))
        if (!files.contains(QFileInfo(old).completeBaseName())) QFile::remove(QDir(folder).filePath(old));
    for (const QString &name : order) {
        const QString path = QDir(folder).filePath(name + QStringLiteral(".txt"));
        const QByteArray bytes = TextCodec::Encode(files[name]);
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) continue;
        existing.close();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "make_database: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_database SCHEMA.sql CALIBRATION_DIR OUTPUT.mdb\n");
        return 2;
    }
    const QString schemaPath = QString::fromLocal8Bit(argv[1]);
    const QString dataDir = QString::fromLocal8Bit(argv[2]);
    const QString output = QString::fromLocal8Bit(argv[3]);

    const QStringList isoNumbers{QStringLiteral("ConstA_N"), QStringLiteral("ConstB_N"),
                                 QStringLiteral("ConstC_N")};
    QStringList traceNumbers{QStringLiteral("ConstA_sng"), QStringLiteral("ConstB_sng")};
    for (int i = 0; i < TraceColumns::Names().size(); ++i)
        if (!TraceColumns::IsText(i)) traceNumbers << TraceColumns::Names()[i];
    const Table iso = readTable(dataDir + QStringLiteral("/isotope_calibrations.csv"), isoNumbers,
                                "IsoType_S", "Source_S", nullptr);
    // The trace table has no source column: the reference stands in the remark.
    const Table trace = readTable(dataDir + QStringLiteral("/trace_calibrations.csv"), traceNumbers,
                                  "Element_s", "Mark_s", "logType_s");

    const CovarianceTable isoCovariance{"Isoplot",
                                        {QStringLiteral("IsoType_S"), QStringLiteral("MinA_S"),
                                         QStringLiteral("MinB_S"), QStringLiteral("ConstA_N"),
                                         QStringLiteral("ConstB_N"), QStringLiteral("ConstC_N")},
                                        3,
                                        {QStringLiteral("AA"), QStringLiteral("AB"), QStringLiteral("AC"),
                                         QStringLiteral("BB"), QStringLiteral("BC"), QStringLiteral("CC")}};
    const CovarianceTable traceCovariance{"TraceElement",
                                          {QStringLiteral("Element_s"), QStringLiteral("MinA_s"),
                                           QStringLiteral("MinB_s"), QStringLiteral("ConstA_sng"),
                                           QStringLiteral("ConstB_sng")},
                                          2,
                                          {QStringLiteral("AA"), QStringLiteral("AB"), QStringLiteral("BB")}};
    const QString isoCovariancePath = dataDir + QStringLiteral("/isotope_covariance.csv");
    const QString traceCovariancePath = dataDir + QStringLiteral("/trace_covariance.csv");
    const QHash<QString, QStringList> isoErrors = readErrorFields(isoCovariancePath, isoCovariance);
    const QHash<QString, QStringList> traceErrors = readErrorFields(traceCovariancePath, traceCovariance);

    // The import files carry, after the fields of the list, an isotope row's
    // dataset and each row's error fields.
    const QString library = QFileInfo(output).absolutePath() + QStringLiteral("/library");
    writeImportFiles(iso, library + QStringLiteral("/isotope"), "IsoType_S",
                     {QStringLiteral("MinA_S"), QStringLiteral("MinB_S"), QStringLiteral("ConstA_N"),
                      QStringLiteral("ConstB_N"), QStringLiteral("ConstC_N"), QStringLiteral("Mark_S"),
                      QStringLiteral("Source_S")},
                     isoNumbers, [&](const QStringList &row) {
                         const int dataset = iso.index("Dataset_S"); // an older library names none
                         const int doi = iso.index("DOI_S");
                         return QStringList{dataset >= 0 ? row[dataset] : QString()} +
                                isoErrors.value(errorKey(iso, row, isoCovariance),
                                                CoefficientCovariance::Texts(std::nullopt, 3)) +
                                QStringList{doi >= 0 ? row[doi] : QString()};
                     });
    writeImportFiles(trace, library + QStringLiteral("/trace"), "Element_s",
                     QStringList{QStringLiteral("MinA_s"), QStringLiteral("MinB_s"),
                                 QStringLiteral("ConstA_sng"), QStringLiteral("ConstB_sng"),
                                 QStringLiteral("logType_s"), QStringLiteral("Mark_s"), QString()} +
                         TraceColumns::Names(),
                     traceNumbers, [&](const QStringList &row) {
                         const int doi = trace.index("DOI_s");
                         return traceErrors.value(errorKey(trace, row, traceCovariance),
                                                  CoefficientCovariance::Texts(std::nullopt, 2)) +
                                QStringList{doi >= 0 ? row[doi] : QString()};
                     });

    if (QFileInfo::exists(output)) return 0;

    QFile schemaFile(schemaPath);
    if (!schemaFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_database: cannot read %s\n", argv[1]);
        return 1;
    }
    const QByteArray schema = schemaFile.readAll();

    // Build beside the target and move into place, so a failed build leaves nothing.
    const QString partial = output + QStringLiteral(".part");
    QFile::remove(partial);
    sqlite3 *db = nullptr;
    check(db, sqlite3_open(QFile::encodeName(partial).constData(), &db), "open");
    check(db, sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), "begin");
    check(db, sqlite3_exec(db, schema.constData(), nullptr, nullptr, nullptr), "schema");
    const int isoRows = loadTable(db, iso, "Isoplot", isoNumbers);
    const int traceRows = loadTable(db, trace, "TraceElement", traceNumbers);
    const int covariances =
        loadCovariance(db, dataDir + QStringLiteral("/isotope_covariance.csv"),
                       {"Isoplot",
                        {QStringLiteral("IsoType_S"), QStringLiteral("MinA_S"), QStringLiteral("MinB_S"),
                         QStringLiteral("ConstA_N"), QStringLiteral("ConstB_N"), QStringLiteral("ConstC_N")},
                        3,
                        {QStringLiteral("AA"), QStringLiteral("AB"), QStringLiteral("AC"),
                         QStringLiteral("BB"), QStringLiteral("BC"), QStringLiteral("CC")}}) +
        loadCovariance(db, dataDir + QStringLiteral("/trace_covariance.csv"),
                       {"TraceElement",
                        {QStringLiteral("Element_s"), QStringLiteral("MinA_s"), QStringLiteral("MinB_s"),
                         QStringLiteral("ConstA_sng"), QStringLiteral("ConstB_sng")},
                        2,
                        {QStringLiteral("AA"), QStringLiteral("AB"), QStringLiteral("BB")}});
    const char *types = "insert into IsotopeType (ID,Name,ShortName) values "
                        "(1,'氧同位素','O'),(2,'硫同位素','S'),(3,'碳同位素','C'),(4,'氢同位素','H'),"
                        "(5,'团簇同位素(Δ47)','Δ47')";
    check(db, sqlite3_exec(db, types, nullptr, nullptr, nullptr), "isotope types");
    check(db, sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), "commit");
    sqlite3_close(db);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "make_database: cannot create %s\n", argv[3]);
        return 1;
    }
    std::printf("make_database: %s with %d isotope and %d trace-element calibrations, %d covariances\n",
                argv[3], isoRows, traceRows, covariances);
    return 0;
}
