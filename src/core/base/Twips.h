// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

// Positions and sizes in the designs and in the settings are in twips; 15 twips
// make one device-independent pixel.
namespace Twips {
constexpr int kPerPixel = 15;
inline int toPx(double twips) { return int(std::lround(twips / kPerPixel)); }
inline double fromPx(int px) { return double(px) * kPerPixel; }
} // namespace Twips
