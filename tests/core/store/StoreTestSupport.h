// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/AppError.h"
#include "core/store/RecordEvents.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

// Records every notification of a record so tests can compare message and statement.
struct EventLog {
    QStringList kinds, messages, statements;

    RecordEvents events()
    {
        RecordEvents e;
        e.AddEvent = handler(QStringLiteral("add"));
        e.UpdateEvent = handler(QStringLiteral("update"));
        e.DeleteEvent = handler(QStringLiteral("delete"));
        return e;
    }
    std::function<void(const QString &, const QString &)> handler(const QString &kind)
    {
        return [this, kind](const QString &message, const QString &statement) {
            kinds << kind;
            messages << message;
            statements << statement;
        };
    }
    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last(); }
    QString lastStatement() const { return statements.isEmpty() ? QString() : statements.last(); }
};

// The AppError a call raises; number 0 and empty texts when it raises nothing.
inline AppError appErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const AppError &e) {
        return e;
    }
    return AppError(0, QString(), QString());
}

inline std::ostream &operator<<(std::ostream &os, const QString &text) { return os << text.toStdString(); }
