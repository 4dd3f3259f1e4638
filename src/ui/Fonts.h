// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QFont;

// The one font chain of every window. "微软雅黑" where a machine has it, then
// fonts that draw every character the windows show. WenQuanYi Micro Hei comes
// last: it has the Chinese, but its ℃ (and a few other symbols) are empty
// outlines, and an empty glyph stops Qt from falling back to another font.
namespace Fonts {

QStringList uiFamilies();

// A font of the chain at the given point size (0 keeps the application's size).
QFont uiFont(int pointSize = 0);

// Makes the chain the application's font; the program and the test runners
// both call it, so what the tests measure is what users see.
void InstallApplicationFont();

} // namespace Fonts
