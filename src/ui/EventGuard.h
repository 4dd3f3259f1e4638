// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/AppError.h"
#include "ui/Dialogs.h"

// Event handlers are where errors stop: an error that reaches one is shown to
// the user with its description, and the handler ends.
template <class Handler> bool Guarded(QWidget *parent, Handler &&handler, const QString &caption = kAppTitle)
{
    try {
        handler();
        return true;
    } catch (const AppError &e) {
        MsgBox(parent, e.description(), Dialogs::Buttons::Ok, Dialogs::Icon::None, caption);
    } catch (const std::exception &e) {
        MsgBox(parent, QString::fromLocal8Bit(e.what()), Dialogs::Buttons::Ok, Dialogs::Icon::None, caption);
    }
    return false;
}
