// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Doi {

// The first DOI a reference's text names ("… doi:10.1016/j.gca.2007.05.028; …"
// gives "10.1016/j.gca.2007.05.028"), or "".
QString In(const QString &text);

} // namespace Doi
