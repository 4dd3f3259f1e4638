// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/database/Recordset.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

struct sqlite3;

// The calibration database connection. It takes an ADO-style connection string
// ("provider=...;data source=PATH"), fetches every result whole and stops any
// statement that runs longer than CommandTimeout seconds.
class Connection {
    Q_DECLARE_TR_FUNCTIONS(Connection)

  public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    int CursorLocation() const { return cursorLocation_; }
    void setCursorLocation(int value) { cursorLocation_ = value; }
    int CommandTimeout() const { return commandTimeout_; }
    void setCommandTimeout(int seconds);
    const QString &ConnectionString() const { return connectionString_; }
    void setConnectionString(const QString &text) { connectionString_ = text; }

    // The path named by "data source=" in the connection string.
    QString DataSource() const;

    // Read-only connections never write the file (set before Open).
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // Opens the file named by the connection string. A missing file, an empty
    // file or a file that is not an SQLite database raises AppError.
    void Open();
    void Close();
    int State() const { return db_ ? 1 : 0; } // 0 closed, 1 open

    // Runs one statement. Selects come back fully fetched; other statements give
    // an empty result. A rejected statement raises AppError with SQLite's code
    // and message; a statement past the time limit raises the timeout error.
    Recordset Execute(const QString &sql);

    // Groups several writes in one transaction (nothing is nested). Code that
    // groups writes uses Transaction below, which cannot leave one open.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    // A transaction is open on the connection. SQLite ends one by itself on
    // some failures (interrupt, full disk), so this is asked of SQLite.
    bool InTransaction() const;

    // The SQLite handle, for tests and benchmarks that watch the raw statements;
    // the program itself goes through this class alone.
    sqlite3 *handle() const { return db_; }

    // The failure ended on a lock or the time limit: another statement now
    // would only wait as long again.
    bool lastErrorWasLock() const;
    // Runs the statements that undo a failed step (a rollback to a savepoint)
    // without losing what the failure was; their own failure is ignored.
    void ExecuteKeepingError(const QStringList &statements);

    // The description a user reads for an SQLite failure: the common ones in
    // Chinese, SQLite's own text kept on the line after it (CR LF).
    static QString ErrorText(int code, const QString &sqliteText);

  private:
    [[noreturn]] void raiseDatabaseError(int code, const QString &source);
    void armTimer();

    sqlite3 *db_ = nullptr;
    bool readOnly_ = false;
    int cursorLocation_ = 2;
    int commandTimeout_ = 30;
    QString connectionString_;
    qint64 deadline_ = 0;
    // SQLite's (extended) code of the last statement that failed, 0 after one
    // that succeeded; SQLITE_INTERRUPT for a statement stopped by the time limit.
    int lastError_ = 0;
    friend int connectionProgress(void *);
};

// One transaction on a connection: begun by the constructor (which raises
// AppError when it cannot begin), committed by Commit, rolled back when it goes
// out of scope still open - on an exception as much as on an early return.
class Transaction {
  public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Raises AppError when the commit fails; the transaction is then still
    // open (or SQLite ended it) and is rolled back like any other.
    void Commit();
    // Rolls back now; a failing rollback is not reported (nothing is kept either way).
    void Rollback();
    // Whether this transaction still stands: begun, neither committed nor
    // rolled back, and not ended by SQLite after a failed statement.
    bool isOpen() const;

  private:
    Connection &connection_;
    bool done_ = false;
};
