#include "app/ApplicationFont.h"

#include <QApplication>
#include <QFont>

namespace subMain {

void SetApplicationFont()
{
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    QApplication::setFont(font);
}

} // namespace subMain
