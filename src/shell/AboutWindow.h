// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;

namespace AboutWindow {

// A small fixed window: the client size in twips, a title bar with only the
// close box, centred on the screen.
void Prepare(QDialog *dialog, int clientWidthTwips, int clientHeightTwips);

} // namespace AboutWindow
