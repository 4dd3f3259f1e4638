// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/database/SharedConnection.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class Connection;

// Outcome notifications of the type registry: the message and the type name.
struct IsoTypeEvents {
    using Handler = std::function<void(const QString &message, const QString &typeName)>;
    Handler AddEvent;
    Handler DeleteEvent;
};

// The user's list of isotope types (IsotopeType) and the look-ups between a
// type's identifier and its name. Unlike the records it holds its connection,
// and refuses one that is missing or closed.
class isotype {
    Q_DECLARE_TR_FUNCTIONS(isotype)

  public:
    explicit isotype(Connection *connection = mdlFunction::adoConn());

    bool Exist(const QString &isotypename);
    // 0 added, 1 the name exists already, 2 failed.
    int32_t AddNew(const QString &isotypename = {}, const QString &shortname = {});
    // 0 deleted, 1 no such name, 2 failed.
    int32_t Delete(const QString &isotypename = {});
    // More than 32,767 names raise the overflow error.
    QStringList GetAllIsoTypeName();
    // An identifier without a row raises the no-current-row error.
    QString GetNameBaseOnID(int32_t uid = 0);
    // A name without a row raises 0x80040203.
    int32_t GetIDBaseOnName(const QString &isotypename = {});

    Connection *connection() const { return connection_; }
    void setConnection(Connection *connection);
    const QString &Name() const { return name_; }
    void setName(const QString &value) { name_ = value; }
    int32_t id() const { return id_; }
    void setId(int32_t value) { id_ = value; }
    const QString &shortname() const { return shortname_; }
    void setShortname(const QString &value) { shortname_ = value; }

    void setEvents(IsoTypeEvents events) { events_ = std::move(events); }
    const IsoTypeEvents &events() const { return events_; }

    static constexpr int32_t ErrInvalidConnection = int32_t(0x80040201u);
    static constexpr int32_t ErrConnectionClosed = int32_t(0x80040202u);
    static constexpr int32_t ErrNameNotFound = int32_t(0x80040203u);

  private:
    int32_t GetNextTypeID();

    Connection *connection_ = nullptr;
    QString name_;
    int32_t id_ = 0;
    QString shortname_;
    IsoTypeEvents events_;
};
