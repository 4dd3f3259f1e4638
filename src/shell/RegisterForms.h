// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Registers every child window of the program and the About windows the
// children open by name; called once at start-up.
void RegisterAllForms();
