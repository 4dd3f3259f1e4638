// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/database/Connection.h"

#include "core/base/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <chrono>
#include <sqlite3.h>

namespace {

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const char kSqliteHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};

// Errors of opening keep the words a user of the old provider knew.
[[noreturn]] void raiseOpenError(const QString &path, const QString &why)
{
    throw AppError(-2147467259, QStringLiteral("Connection.Open"),
                   QCoreApplication::translate("Connection", "无法打开数据库“%1”：%2").arg(path, why));
}

} // namespace

int connectionProgress(void *data)
{
    auto *conn = static_cast<Connection *>(data);
    return (conn->deadline_ > 0 && nowMs() > conn->deadline_) ? 1 : 0;
}

Connection::~Connection() { Close(); }

void Connection::setCommandTimeout(int seconds)
{
    commandTimeout_ = seconds;
    if (db_) sqlite3_busy_timeout(db_, seconds > 0 ? seconds * 1000 : 0);
}

// Everything after "data source=" is the path, semicolons included: a folder
// may be named "a;b", and no keyword follows the data source.
QString Connection::DataSource() const
{
    static const QRegularExpression key(QStringLiteral("(?:^|;)\\s*data source\\s*="),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch found = key.match(connectionString_);
    if (!found.hasMatch()) return QString();
    return connectionString_.mid(found.capturedEnd());
}

QString Connection::ErrorText(int code, const QString &sqliteText)
{
    QString described;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: described = tr("数据库被其他程序锁定"); break;
    case SQLITE_READONLY: described = tr("数据库为只读"); break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: described = tr("数据库文件已损坏"); break;
    case SQLITE_FULL: described = tr("磁盘已满"); break;
    case SQLITE_ERROR: {
        static const QRegularExpression missing(QStringLiteral(
            "^(?:no such table|no such column):\\s*(.+)$|^table (\\S+) has no column named (.+)$"));
        const QRegularExpressionMatch m = missing.match(sqliteText);
        if (m.hasMatch())
            described = tr("数据库缺少表或列：%1")
                            .arg(m.captured(1).isEmpty() ? m.captured(2) + QLatin1Char('.') + m.captured(3)
                                                         : m.captured(1));
        break;
    }
    default: break;
    }
    return described.isEmpty() ? sqliteText : described + QStringLiteral("\r\n") + sqliteText;
}

bool Connection::lastErrorWasLock() const
{
    const int primary = lastError_ & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_INTERRUPT;
}

void Connection::ExecuteKeepingError(const QStringList &statements)
{
    const int kept = lastError_;
    try {
        for (const QString &sql : statements) Execute(sql);
    } catch (const AppError &) {
    }
    lastError_ = kept;
}

void Connection::Open()
{
    if (db_) return;
    const QString path = DataSource();
    if (path.isEmpty()) raiseOpenError(path, tr("连接字符串没有指定数据源"));
    QFileInfo info(path);
    if (!info.exists() || !info.isFile()) raiseOpenError(path, tr("文件不存在"));

    // SQLite would accept any file until its first read; check the header first.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) raiseOpenError(path, file.errorString());
    const QByteArray header = file.read(16);
    file.close();
    if (header.size() < 16 || memcmp(header.constData(), kSqliteHeader, 16) != 0)
        raiseOpenError(path, tr("不是有效的数据库文件"));

    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                             (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, commandTimeout_ > 0 ? commandTimeout_ * 1000 : 0);
        rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const QString why = ErrorText(db ? sqlite3_extended_errcode(db) : rc,
                                      QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
        sqlite3_close(db);
        raiseOpenError(path, why);
    }
    db_ = db;
    sqlite3_progress_handler(db_, 1000, &connectionProgress, this);
}

void Connection::Close()
{
    if (!db_) return;
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Connection::armTimer()
{
    deadline_ = commandTimeout_ > 0 ? nowMs() + qint64(commandTimeout_) * 1000 : 0;
}

void Connection::raiseDatabaseError(int code, const QString &source)
{
    deadline_ = 0;
    if (code == SQLITE_INTERRUPT) {
        lastError_ = SQLITE_INTERRUPT;
        raiseRuntimeError(ErrNo::Timeout, source);
    }
    lastError_ = sqlite3_extended_errcode(db_);
    throw AppError(lastError_, source, ErrorText(lastError_, QString::fromUtf8(sqlite3_errmsg(db_))));
}

Recordset Connection::Execute(const QString &sql)
{
    const QString source = QStringLiteral("Connection.Execute");
    if (!db_) throw AppError(3704, source, tr("对象关闭时，不允许操作。"));

    lastError_ = 0;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    armTimer();
    int rc = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt, &tail);
    if (rc != SQLITE_OK) raiseDatabaseError(rc, source);
    if (!stmt) throw AppError(SQLITE_MISUSE, source, tr("命令文本为空"));
    // One statement at a time: text after the first statement is refused.
    for (const char *p = tail; p && *p; ++p) {
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';') {
            sqlite3_finalize(stmt);
            throw AppError(SQLITE_ERROR, source, tr("在 SQL 语句结尾之后找到字符。"));
        }
    }

    const int columns = sqlite3_column_count(stmt);
    QStringList names;
    names.reserve(columns);
    for (int c = 0; c < columns; ++c) names << QString::fromUtf8(sqlite3_column_name(stmt, c));

    std::vector<QVariant> cells;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER: cells.emplace_back(qlonglong(sqlite3_column_int64(stmt, c))); break;
            case SQLITE_FLOAT: cells.emplace_back(sqlite3_column_double(stmt, c)); break;
            case SQLITE_NULL: cells.emplace_back(); break;
            case SQLITE_BLOB:
                cells.emplace_back(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, c)),
                                              sqlite3_column_bytes(stmt, c)));
                break;
            default:
                cells.emplace_back(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                                      sqlite3_column_bytes(stmt, c)));
            }
        }
    }
    deadline_ = 0;
    if (rc != SQLITE_DONE) {
        const int code = rc;
        // Keep the message before finalize resets it.
        const int ext = sqlite3_extended_errcode(db_);
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(stmt);
        lastError_ = code == SQLITE_INTERRUPT ? SQLITE_INTERRUPT : ext;
        if (code == SQLITE_INTERRUPT) raiseRuntimeError(ErrNo::Timeout, source);
        throw AppError(ext, source, ErrorText(ext, msg));
    }
    sqlite3_finalize(stmt);
    if (columns == 0) return Recordset();
    return Recordset(names, std::move(cells));
}

void Connection::BeginTrans() { Execute(QStringLiteral("begin")); }
void Connection::CommitTrans() { Execute(QStringLiteral("commit")); }
void Connection::RollbackTrans()
{
    if (InTransaction()) Execute(QStringLiteral("rollback"));
}
bool Connection::InTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

Transaction::Transaction(Connection &connection) : connection_(connection) { connection_.BeginTrans(); }

Transaction::~Transaction()
{
    if (!done_) Rollback();
}

void Transaction::Commit()
{
    connection_.CommitTrans();
    done_ = true;
}

void Transaction::Rollback()
{
    done_ = true;
    try {
        connection_.RollbackTrans();
    } catch (const AppError &) {
    }
}

bool Transaction::isOpen() const { return !done_ && connection_.InTransaction(); }
