// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/AppError.h"

#include <functional>

// The number of the AppError that f raises; 0 when it raises none.
inline int32_t errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e.number();
    }
    return 0;
}
