// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Fonts.h"

#include <QApplication>
#include <QFont>

namespace Fonts {

QStringList uiFamilies()
{
    return {QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")};
}

QFont uiFont(int pointSize)
{
    QFont font = QApplication::font();
    font.setFamilies(uiFamilies());
    if (pointSize > 0) font.setPointSize(pointSize);
    return font;
}

void InstallApplicationFont() { QApplication::setFont(uiFont()); }

} // namespace Fonts
