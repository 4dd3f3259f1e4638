// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/database/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh calibration database built from data/schema.sql in a temporary folder,
// opened as the program opens it and installed as the shared connection.
class TempDatabase {
  public:
    // empty: schema only; withDefaultLibrary: the rows make_database loads.
    explicit TempDatabase(bool withDefaultLibrary = false);
    // The database make_database builds from the calibration CSVs of a folder;
    // its library import files are in dir() + "/library".
    explicit TempDatabase(const QString &calibrationDir);
    ~TempDatabase();

    Connection &conn() { return *conn_; }
    QString dir() const { return dir_.path(); }
    QString path() const { return dir_.path() + QStringLiteral("/Vantor.mdb"); }

    // Runs a statement on the database (test set-up), failing the test on error.
    void exec(const QString &sql);
    // The first field of the first row of a query, as text ("" when no row).
    QString scalar(const QString &sql);
    int count(const QString &table);

    // Builds the schema into a new file at path.
    static void createSchema(const QString &path);

  private:
    void open();

    QTemporaryDir dir_;
    std::unique_ptr<Connection> conn_;
};
