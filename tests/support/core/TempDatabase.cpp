// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/TempDatabase.h"

#include "core/base/AppError.h"
#include "core/database/SharedConnection.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sqlite3.h>

void TempDatabase::createSchema(const QString &path)
{
    QFile schema(QStringLiteral(LORVANE_SCHEMA));
    if (!schema.open(QIODevice::ReadOnly)) throw std::runtime_error("schema.sql not readable");
    const QByteArray sql = schema.readAll();
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    char *error = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string msg = error ? error : "schema failed";
        sqlite3_free(error);
        sqlite3_close(db);
        throw std::runtime_error(msg);
    }
    sqlite3_close(db);
}

TempDatabase::TempDatabase(bool withDefaultLibrary)
{
    if (withDefaultLibrary) {
        const int rc =
            QProcess::execute(QStringLiteral(LORVANE_BIN_DIR) + QStringLiteral("/../tools/make_database"),
                              {QStringLiteral(LORVANE_SCHEMA),
                               QStringLiteral(LORVANE_DATA_DIR) + QStringLiteral("/calibrations"), path()});
        if (rc != 0) throw std::runtime_error("make_database failed");
    } else {
        createSchema(path());
    }
    open();
}

TempDatabase::TempDatabase(const QString &calibrationDir)
{
    const int rc =
        QProcess::execute(QStringLiteral(LORVANE_BIN_DIR) + QStringLiteral("/../tools/make_database"),
                          {QStringLiteral(LORVANE_SCHEMA), calibrationDir, path()});
    if (rc != 0) throw std::runtime_error("make_database failed");
    open();
}

void TempDatabase::open()
{
    conn_ = std::make_unique<Connection>();
    conn_->setCursorLocation(3);
    conn_->setCommandTimeout(10);
    conn_->setConnectionString(mdlFunction::kConnectionStringPrefix + path());
    conn_->Open();
    mdlFunction::setSharedConnection(conn_.get());
}

TempDatabase::~TempDatabase()
{
    if (mdlFunction::adoConn() == conn_.get()) mdlFunction::setSharedConnection(nullptr);
}

void TempDatabase::exec(const QString &sql)
{
    try {
        conn_->Execute(sql);
    } catch (const AppError &e) {
        ADD_FAILURE() << "set-up statement failed: " << sql.toStdString() << ": " << e.what();
    }
}

QString TempDatabase::scalar(const QString &sql)
{
    Recordset rs = conn_->Execute(sql);
    if (rs.Eof() || rs.Fields(0).IsNull()) return QString();
    return rs.Fields(0).Text();
}

int TempDatabase::count(const QString &table)
{
    return scalar(QStringLiteral("select count(*) from ") + table).toInt();
}
