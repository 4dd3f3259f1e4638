// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <optional>

class ChildForm;
class ImageList;
class QToolBar;
class QWidget;

// Toolbar pictures by key and the per-window layout every calculator and
// manager keeps in the settings store (application "Lorvane", section = the
// window's caption; positions, sizes and column widths in twips).
namespace mdlFunction {

// Each action of the toolbar gets the picture whose key is the action's
// objectName; separators and keys without a picture are left as they are.
void SetToolbarImages(QToolBar *toolbar, const ImageList &images);

// Restores position, size, window state and the column widths of the window's
// list (its first QTreeWidget). Absent or non-numeric values leave the current ones.
void LoadFormLayout(ChildForm *form);
// Stores what LoadFormLayout reads.
void SaveFormLayout(ChildForm *form);

// A stored position, size or width (twips) in pixels; false when the key is
// absent, its text is not a number, or the value lies beyond any screen.
bool StoredPixels(const QString &section, const QString &key, int *pixels);
// Stores pixels as twips, in the general single-precision text.
void StorePixels(const QString &section, const QString &key, int pixels);

// What was stored of a window's rectangle (pixels); an absent key is empty.
struct StoredRect {
    std::optional<int> left, top, width, height;
};
// Reads the four keys of a rectangle.
StoredRect ReadStoredRect(const QString &section, const QString &leftKey, const QString &topKey,
                          const QString &widthKey, const QString &heightKey);
// The rectangle a window opens with: a stored size below a small minimum counts
// as absent and one larger than the area is cut to it; a stored position that
// would not show at least a title bar's worth of the window inside the area
// counts as absent. What counts as absent is taken from `fallback`.
QRect UsableRect(const StoredRect &stored, const QRect &fallback, const QRect &area);
// The screen area windows may use, in the coordinates of the frame's parent
// (the main window's client area for a child, the desktop for a top-level window).
QRect AvailableArea(const QWidget *frame);

} // namespace mdlFunction
