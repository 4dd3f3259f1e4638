// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class ChildForm;
class QWidget;

// The child windows the main window can open, by form name ("frmCalculateIso",
// "frmIsoMgr", ...), and the modal windows the children show by name (the About
// windows). The shell registers them all at start-up (shell/RegisterForms.cpp).
namespace FormFactory {

using Creator = std::function<ChildForm *()>;

// Registers (or replaces) the creator of a form name.
void Register(const QString &formName, Creator creator);
void Unregister(const QString &formName);
bool IsRegistered(const QString &formName);
// A new, not yet loaded window; nullptr when the name is not registered.
ChildForm *Create(const QString &formName);

// Modal windows: shown over the parent, returning the dialog's result code.
using ModalShow = std::function<int(QWidget *parent)>;
void RegisterModal(const QString &formName, ModalShow show);
// The window's result code; -1 when the name is not registered.
int ShowModal(const QString &formName, QWidget *parent);

// Registers a creator for the lifetime of the object and then restores what was
// registered before (tests put stand-in windows under real names).
class ScopedRegistration {
  public:
    ScopedRegistration(const QString &formName, Creator creator);
    ~ScopedRegistration();
    ScopedRegistration(const ScopedRegistration &) = delete;
    ScopedRegistration &operator=(const ScopedRegistration &) = delete;

  private:
    QString name_;
    Creator previous_;
};

} // namespace FormFactory
