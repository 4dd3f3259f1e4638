// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/frmGLS.h"

#include "calc/CalcWidgets.h"
#include "core/base/NumberText.h"
#include "core/base/Twips.h"
#include "core/thermometry/Equations.h"
#include "ui/DelimitedFiles.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormFactory.h"
#include "ui/FormLayout.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

using CalcWidgets::named;
using CalcWidgets::place;

namespace {

// The kinds of list file, in the order the filter index names them (tab, comma, space).
const char *const kFilter =
    QT_TRANSLATE_NOOP("frmGLS", "文本文件(制表符分割)|*.txt|文本文件(*.csv)|*.csv|文本文件(空格分隔)|*.txt");
constexpr int kTemperatureColumn = 4;

} // namespace

frmGLS::frmGLS(QWidget *parent) : ChildForm(parent)
{
    setObjectName(QStringLiteral("frmGLS"));
    setCaption(QT_TR_NOOP("橄榄石温度计"));
    resize(Twips::toPx(7020), Twips::toPx(5895));
    QFont arial = font();
    arial.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                       QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    setFont(arial);

    Toolbar1 = CalcWidgets::makeToolbar(this, {{QStringLiteral("data"), tr("数据")},
                                               {QStringLiteral("about"), tr("关于")},
                                               {QStringLiteral("close"), tr("退出")}});
    place(Toolbar1, 0, 0, 7020, 630);
    QAction *dataButton = Toolbar1->actions().first();
    dataMenu_ = new QMenu(this);
    dataMenu_->setObjectName(QStringLiteral("dataMenu"));
    named(dataMenu_->addAction(tr("导入...")), QStringLiteral("import"));
    named(dataMenu_->addAction(tr("导出...")), QStringLiteral("export"));
    dataMenu_->addSeparator();
    named(dataMenu_->addAction(tr("清空")), QStringLiteral("clear"));
    dataButton->setMenu(dataMenu_);
    if (auto *button = qobject_cast<QToolButton *>(Toolbar1->widgetForAction(dataButton)))
        button->setPopupMode(QToolButton::MenuButtonPopup);

    Picture1 = named(new QWidget(this), QStringLiteral("Picture1"));
    place(Picture1, 2295, 75, 4035, 570);
    Option1 = named(new QRadioButton(tr("超镁铁质"), Picture1), QStringLiteral("Option1"));
    place(Option1, 150, 60, 1290, 450);
    Option2 = named(new QRadioButton(tr("镁铁质"), Picture1), QStringLiteral("Option2"));
    place(Option2, 1350, 60, 1290, 450);
    Command1 = named(new QPushButton(tr("计算"), Picture1), QStringLiteral("Command1"));
    place(Command1, 2460, 120, 930, 330);
    // A caption longer than the design's (English) pushes the second choice along.
    if (Option1->sizeHint().width() > Option1->width()) {
        Option1->resize(Option1->sizeHint().width(), Option1->height());
        Option2->move(std::max(Option2->x(), Option1->geometry().right() + 4), Option2->y());
    }
    Option1->setChecked(true);

    Frame1 = named(new QGroupBox(this), QStringLiteral("Frame1"));
    place(Frame1, 45, 765, 6705, 720);
    const char *captions[] = {"XFo", "XFa", "XMg", "XFe"};
    QLabel **labels[] = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        *labels[i] =
            named(new QLabel(QLatin1String(captions[i]), Frame1), QStringLiteral("Label%1").arg(i + 1));
        place(*labels[i], 165 + i * 1535, 285, 585, 360);
        Text1[i] = named(new QLineEdit(Frame1), QStringLiteral("Text1_%1").arg(i));
        place(Text1[i], 585 + i * 1535, 255, 975, 330);
    }
    Command2 = named(new QPushButton(Frame1), QStringLiteral("Command2"));
    Command2->setIcon(SmallImages().icon(QStringLiteral("plus")));
    Command2->setIconSize(QSize(16, 16));
    place(Command2, 6255, 255, 345, 300);

    ListView1 = CalcWidgets::makeReportList(this,
                                            {QStringLiteral("XFo"), QStringLiteral("XFa"),
                                             QStringLiteral("XMg"), QStringLiteral("XFe"), tr("温度(K)")},
                                            {765, 930, 1005, 915, 1440});
    const char *keys[] = {"fo", "fa", "mg", "fe", "t"};
    for (int c = 0; c < 5; ++c) ListView1->headerItem()->setData(c, Qt::UserRole, QLatin1String(keys[c]));
    place(ListView1, 15, 1560, 6960, 4290);
    ListView1->installEventFilter(this);

    connect(Command1, &QPushButton::clicked, this, [this] { CalculateAll(); });
    connect(Command2, &QPushButton::clicked, this, [this] { AddRow(); });
    connect(Toolbar1, &QToolBar::actionTriggered, this, [this](QAction *a) {
        if (a->menu() || dataMenu_->actions().contains(a)) return;
        Toolbar1_ButtonClick(a);
    });
    connect(dataMenu_, &QMenu::triggered, this, [this](QAction *a) { Toolbar1_ButtonMenuClick(a); });
}

void frmGLS::Form_Load()
{
    mdlFunction::SetToolbarImages(Toolbar1, ToolbarImages());
    mdlFunction::LoadFormLayout(this);
}

void frmGLS::Form_Unload() { mdlFunction::SaveFormLayout(this); }

bool frmGLS::ValidateInputs()
{
    for (QLineEdit *box : Text1) {
        if (!Num::IsNumeric(box->text())) {
            CalcWidgets::focusAndSelect(box);
            MsgBox(this, tr("必须是数字！"));
            return false;
        }
    }
    return true;
}

void frmGLS::AddRow()
{
    if (!ValidateInputs()) return;
    QStringList cells;
    for (QLineEdit *box : Text1) cells << box->text().trimmed();
    cells << QString();
    ListView1->addTopLevelItem(new QTreeWidgetItem(cells));
    for (QLineEdit *box : Text1) box->clear();
}

void frmGLS::CalculateAll()
{
    const int rows = ListView1->topLevelItemCount();
    if (rows == 0) return;
    const bool ultramafic = Option1->isChecked();
    // One repaint for the whole list instead of a change notice per row.
    QAbstractItemModel *model = ListView1->model();
    const bool wasBlocked = model->blockSignals(true);
    for (int r = 0; r < rows; ++r) {
        QTreeWidgetItem *row = ListView1->topLevelItem(r);
        QString temperature;
        try {
            const float xfo = Num::ToSingle(row->text(0).trimmed());
            const float xfa = Num::ToSingle(row->text(1).trimmed());
            const float xmg = Num::ToSingle(row->text(2).trimmed());
            const float xfe = Num::ToSingle(row->text(3).trimmed());
            const float r1 = Num::CSng(Num::Div(xfo, xfa));
            const float r2 = Num::CSng(Num::Div(xmg, xfe));
            const int16_t t = ultramafic ? OlivineEquation::UltramaficTemperature(r1, r2)
                                         : OlivineEquation::MaficTemperature(r1, r2);
            // A temperature at or below absolute zero is no result.
            if (t > 0) temperature = QString::number(t);
        } catch (const AppError &) {
            // The row keeps an empty temperature; the others go on.
        }
        if (row->text(kTemperatureColumn) != temperature) row->setText(kTemperatureColumn, temperature);
    }
    model->blockSignals(wasBlocked);
    ListView1->viewport()->update();
}

bool frmGLS::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete) {
            ListView1_KeyDown(46);
            return true;
        }
    }
    return ChildForm::eventFilter(watched, event);
}

void frmGLS::ListView1_KeyDown(int keyCode)
{
    if (keyCode != 46) return;
    QTreeWidgetItem *row = CalcWidgets::selectedRow(ListView1);
    if (!row) return;
    delete row;
    if (QTreeWidgetItem *next = ListView1->currentItem()) next->setSelected(true);
}

void frmGLS::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    if (key == QLatin1String("about"))
        FormFactory::ShowModal(QStringLiteral("frmOlivineAbout"), this);
    else if (key == QLatin1String("close"))
        Unload();
}

void frmGLS::Toolbar1_ButtonMenuClick(QAction *item)
{
    const QString key = item->objectName();
    if (key == QLatin1String("import"))
        ImportList();
    else if (key == QLatin1String("export"))
        ExportList();
    else if (key == QLatin1String("clear"))
        ListView1->clear();
}

void frmGLS::ImportList()
{
    Dialogs::FileRequest request;
    request.title = tr("导入");
    request.kind = QStringLiteral("lists");
    request.filter = tr(kFilter);
    request.filterIndex = filterIndex_;
    const Dialogs::FileResult chosen = Dialogs::instance().openFile(this, request);
    if (chosen.cancelled) return;
    filterIndex_ = chosen.filterIndex;
    Guarded(this, [&] {
        mdlFunction::ReadFile(chosen.fileName, ListView1, chosen.filterIndex,
                              int16_t(ListView1->columnCount() - 1));
    });
}

void frmGLS::ExportList()
{
    Dialogs::FileRequest request;
    request.title = tr("导出");
    request.kind = QStringLiteral("lists");
    request.filter = tr(kFilter);
    request.filterIndex = filterIndex_ = 1;
    const Dialogs::FileResult chosen = Dialogs::instance().saveFile(this, request);
    if (chosen.cancelled) return;
    filterIndex_ = chosen.filterIndex;
    Guarded(this, [&] {
        mdlFunction::ExportData(chosen.fileName, ListView1, int16_t(chosen.filterIndex),
                                int16_t(ListView1->columnCount()));
    });
}
