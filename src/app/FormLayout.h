#pragma once

#include <QString>

class ChildForm;
class ImageList;
class QToolBar;

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

} // namespace mdlFunction
