// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FormHost.h"

namespace {
FormHost *g_host = nullptr;
} // namespace

FormHost::~FormHost()
{
    if (g_host == this) g_host = nullptr;
}

FormHost *FormHost::current() { return g_host; }

void FormHost::install(FormHost *host) { g_host = host; }
