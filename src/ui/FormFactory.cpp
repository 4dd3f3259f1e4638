// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FormFactory.h"

#include <QHash>

namespace FormFactory {
namespace {
QHash<QString, Creator> &registry()
{
    static QHash<QString, Creator> forms;
    return forms;
}
QHash<QString, ModalShow> &modalRegistry()
{
    static QHash<QString, ModalShow> forms;
    return forms;
}
} // namespace

void RegisterModal(const QString &formName, ModalShow show)
{
    if (show)
        modalRegistry().insert(formName, std::move(show));
    else
        modalRegistry().remove(formName);
}

int ShowModal(const QString &formName, QWidget *parent)
{
    const auto it = modalRegistry().constFind(formName);
    if (it == modalRegistry().constEnd()) return -1;
    return (*it)(parent);
}

void Register(const QString &formName, Creator creator)
{
    if (creator)
        registry().insert(formName, std::move(creator));
    else
        registry().remove(formName);
}

void Unregister(const QString &formName) { registry().remove(formName); }

bool IsRegistered(const QString &formName) { return registry().contains(formName); }

ChildForm *Create(const QString &formName)
{
    const auto it = registry().constFind(formName);
    if (it == registry().constEnd()) return nullptr;
    return (*it)();
}

ScopedRegistration::ScopedRegistration(const QString &formName, Creator creator)
    : name_(formName), previous_(registry().value(formName))
{
    Register(formName, std::move(creator));
}

ScopedRegistration::~ScopedRegistration() { Register(name_, std::move(previous_)); }

} // namespace FormFactory
