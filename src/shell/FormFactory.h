#pragma once

#include <QString>
#include <functional>

class ChildForm;

// The child windows the main window can open, by form name ("frmCalculateIso",
// "frmIsoMgr", ...). Windows register themselves in RegisterForms.cpp.
namespace FormFactory {

using Creator = std::function<ChildForm *()>;

// Registers (or replaces) the creator of a form name.
void Register(const QString &formName, Creator creator);
void Unregister(const QString &formName);
bool IsRegistered(const QString &formName);
// A new, not yet loaded window; nullptr when the name is not registered.
ChildForm *Create(const QString &formName);

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

// Registers every child window of the program; called once at start-up.
void RegisterAllForms();
