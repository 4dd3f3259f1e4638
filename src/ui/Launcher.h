// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Starts the desktop's calculator and text editor, which stand in for the
// Windows calculator and notepad: the first program of a candidate list found
// on the PATH, started detached and not watched. When none is installed (or it
// will not start) the user is told so through the dialogs service.
namespace Launcher {

QStringList DefaultCalculators();
QStringList DefaultEditors();

// The lists in use; tests replace them (an empty list restores the default).
QStringList Calculators();
QStringList Editors();
void SetCalculators(const QStringList &candidates);
void SetEditors(const QStringList &candidates);

// The first candidate found on the PATH, as a full path; "" when none is.
QString FindProgram(const QStringList &candidates);

// True when a program was started.
bool StartCalculator(QWidget *parent);
bool StartEditor(QWidget *parent);

// Opens a local file (the user guide) with the desktop's program for it; the
// user is told when none will. True when it was handed over.
bool OpenDocument(QWidget *parent, const QString &path);
// Tests replace what opens the file (an empty function restores the desktop's).
void SetDocumentOpener(std::function<bool(const QString &)> opener);

} // namespace Launcher
