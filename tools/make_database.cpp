// Builds the default calibration database from the schema and the published
// calibrations in data/calibrations. An existing database is never touched.
//
//   make_database SCHEMA.sql CALIBRATION_DIR OUTPUT.mdb

#include "app/NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <cstdio>
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

// Constants are stored as the program writes them: single precision, general text.
double constant(const QString &text)
{
    return Num::ToDouble(Num::Str(Num::ToSingle(text.isEmpty() ? QStringLiteral("0") : text)));
}

void bindText(sqlite3_stmt *st, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Loads a CSV whose heading row names the table's columns.
int loadTable(sqlite3 *db, const QString &csvPath, const char *table, const QStringList &numeric)
{
    const QVector<QStringList> rows = readCsv(csvPath);
    if (rows.isEmpty()) return 0;
    const QStringList columns = rows.first();
    QStringList marks;
    for (int i = 0; i <= columns.size(); ++i) marks << QStringLiteral("?");
    const QString sql =
        QStringLiteral("insert into %1 (ID_N,%2) values (%3)")
            .arg(QLatin1String(table), columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    sqlite3_stmt *st = nullptr;
    check(db, sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), "prepare insert");
    int id = 0;
    for (int r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        sqlite3_reset(st);
        sqlite3_bind_int(st, 1, ++id);
        for (int c = 0; c < columns.size(); ++c) {
            const QString value = c < row.size() ? row[c].trimmed() : QString();
            if (numeric.contains(columns[c], Qt::CaseInsensitive))
                sqlite3_bind_double(st, c + 2, constant(value));
            else
                bindText(st, c + 2, value);
        }
        check(db, sqlite3_step(st), "insert");
    }
    sqlite3_finalize(st);
    return id;
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
    const int iso =
        loadTable(db, dataDir + QStringLiteral("/isotope_calibrations.csv"), "Isoplot",
                  {QStringLiteral("ConstA_N"), QStringLiteral("ConstB_N"), QStringLiteral("ConstC_N")});
    const int trace = loadTable(db, dataDir + QStringLiteral("/trace_calibrations.csv"), "TraceElement",
                                {QStringLiteral("ConstA_sng"), QStringLiteral("ConstB_sng")});
    const char *types = "insert into IsotopeType (ID,Name,ShortName) values "
                        "(1,'氧同位素','O'),(2,'硫同位素','S'),(3,'碳同位素','C'),(4,'氢同位素','H')";
    check(db, sqlite3_exec(db, types, nullptr, nullptr, nullptr), "isotope types");
    check(db, sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), "commit");
    sqlite3_close(db);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "make_database: cannot create %s\n", argv[3]);
        return 1;
    }
    std::printf("make_database: %s with %d isotope and %d trace-element calibrations\n", argv[3], iso, trace);
    return 0;
}
