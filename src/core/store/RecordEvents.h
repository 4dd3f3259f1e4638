// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// Outcome notifications of a record's writing operations. Each carries the
// message meant for the user and the statement concerned; an unset callback is
// simply not called.
struct RecordEvents {
    using Handler = std::function<void(const QString &message, const QString &statement)>;
    Handler AddEvent;
    Handler UpdateEvent;
    Handler DeleteEvent;
};
