// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/BatchRun.h"

#include <QString>

// What the batch windows say of a result, in the status column.
namespace BatchTexts {

// "超出适用范围", "另一解…℃亦在适用范围内", "未注明适用范围", "无解", "无标定",
// "数据无效：…", with the draws that failed and an interval that misses its result.
QString Status(const Batch::Result &r);

} // namespace BatchTexts
