// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmOlivineAbout.h"

#include "shell/AboutWindow.h"
#include "ui/Dialogs.h"

#include <QKeyEvent>
#include <QLabel>

frmOlivineAbout::frmOlivineAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOlivineAbout"));
    setWindowTitle(tr("关于 橄榄石温度计"));
    AboutWindow::Prepare(this, 8385, 2760);

    const std::pair<const char *, QString> inputs[] = {
        {"Label1", tr("XFo：橄榄石晶体中镁橄榄石的克分子数")},
        {"Label2", tr("XFa：橄榄石晶体中铁橄榄石的克分子数")},
        {"Label3", tr("XMg：元素Mg在熔浆中原子分数")},
        {"Label4", tr("XFe：元素Fe在熔浆中原子分数")},
        {"Label5", tr("具体请参考：")},
    };
    int y = 10;
    for (const auto &[name, text] : inputs) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(20, y, width() - 40, 20);
        y += 21;
    }

    // The calibrations themselves rather than a citation that could not be checked.
    auto *reference = new QLabel(this);
    reference->setObjectName(QStringLiteral("Label6"));
    reference->setText(tr("超镁铁质岩：T = 100000 × (2.262 − ln K) / 99.632\n"
                          "镁铁质岩：T = 10000 × (11.253 − ln K) / 66.388\n"
                          "其中 K = (XFo / XFa) / (XMg / XFe)，T 为开尔文温度"));
    reference->setGeometry(40, y + 2, width() - 60, height() - y - 8);
    reference->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void frmOlivineAbout::keyPressEvent(QKeyEvent *event)
{
    // Enter closes; every other key, Esc included, does nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        accept();
    else
        event->accept();
}

int frmOlivineAbout::ShowModal(QWidget *parent)
{
    frmOlivineAbout dlg(parent);
    return Dialogs::instance().execModal(&dlg);
}
