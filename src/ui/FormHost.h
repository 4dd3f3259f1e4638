// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class ChildForm;
class QWidget;

// What a child window may ask of the frame that hosts it: another window by
// form name. Children know this interface, never the main window itself, so
// that a calculator can open its manager without depending on the frame.
class FormHost {
  public:
    virtual ~FormHost();

    // Opens a child window by form name: the active child is unloaded first
    // (running its close logic), then the window is created and loaded - or,
    // when it is still loaded, brought to the front. nullptr when the name is
    // not registered. Safe to call from a child's own event handler. With
    // closeActive false no other window is closed: a child that switches to
    // another window closes itself, and only itself.
    virtual ChildForm *ShowForm(const QString &formName, bool closeActive = true) = 0;

    // The frame that hosts the children now, or nullptr (a window standing alone).
    static FormHost *current();
    // The frame makes itself the host; nullptr when it goes.
    static void install(FormHost *host);
};
