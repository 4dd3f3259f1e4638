#include "calc/frmCalculateTrace.h"

#include "calc/CalcWidgets.h"
#include "core/base/NumberText.h"
#include "core/base/Twips.h"
#include "core/database/SharedConnection.h"
#include "core/store/clsTraceelements.h"
#include "core/thermometry/Equations.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormFactory.h"
#include "ui/FormHost.h"
#include "ui/FormLayout.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace {

constexpr int kRemarkColumn = 3;
constexpr int kTemperatureColumn = 4;

// How a temperature (°C) the calculator shows stands against its row's range:
// log K = A/T + B has the one root, judged as its text reads.
RootRule::Standing standing(float celsius, const std::optional<CalibrationRange> &range)
{
    const RootRule::Root root{double(celsius) + 273.15, +1};
    return RootRule::Judge(RootRule::Choose(&root, 1, range), range, Num::Val(Num::Str(celsius)));
}

} // namespace

using CalcWidgets::named;
using CalcWidgets::place;

frmCalculateTrace::frmCalculateTrace(QWidget *parent) : ChildForm(parent)
{
    setObjectName(QStringLiteral("frmCalculateTrace"));
    setWindowTitle(QStringLiteral("微量元素温度计_温度计算"));
    resize(Twips::toPx(8430), Twips::toPx(6105));

    Toolbar1 = CalcWidgets::makeToolbar(this, {{QStringLiteral("filter"), QStringLiteral("筛选")},
                                               {QStringLiteral("database"), QStringLiteral("数据库")},
                                               {QStringLiteral("about"), QStringLiteral("关于")},
                                               {QStringLiteral("close"), QStringLiteral("退出")}});
    place(Toolbar1, 0, 0, 8430, 630);

    const CalcWidgets::ChoiceRow choices = CalcWidgets::choiceRow(this, QStringLiteral("元素"));
    lst1 = choices.lst1;
    lst2 = choices.lst2;
    lst3 = choices.lst3;

    ListView1 = CalcWidgets::makeReportList(this,
                                            {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("函数"),
                                             QStringLiteral("备注"), QStringLiteral("温度(℃)")},
                                            {1668, 1668, 1668, 1668, 1668});
    place(ListView1, 45, 645, 8340, 3645);

    lblA = named(new QLabel(this), QStringLiteral("lblA"));
    place(lblA, 120, 4530, 1500, 300);
    txtA = named(new QLineEdit(this), QStringLiteral("txtA"));
    place(txtA, 1680, 4470, 1500, 390);
    Label10 = named(new QLabel(QStringLiteral("K"), this), QStringLiteral("Label10"));
    place(Label10, 3480, 4530, 400, 300);
    txtK = named(new QLineEdit(this), QStringLiteral("txtK"));
    place(txtK, 3900, 4470, 1500, 390);

    lblB = named(new QLabel(this), QStringLiteral("lblB"));
    place(lblB, 120, 5070, 1500, 300);
    txtB = named(new QLineEdit(this), QStringLiteral("txtB"));
    place(txtB, 1680, 5010, 1500, 390);
    Label11 = named(new QLabel(QStringLiteral("温度"), this), QStringLiteral("Label11"));
    place(Label11, 3330, 5070, 560, 300);
    txtT = named(new QLineEdit(this), QStringLiteral("txtT"));
    place(txtT, 3900, 5010, 1500, 390);
    Label13 = named(new QLabel(QStringLiteral("℃"), this), QStringLiteral("Label13"));
    place(Label13, 5490, 5070, 330, 300);

    btnCal = named(new QPushButton(QStringLiteral("计算"), this), QStringLiteral("btnCal"));
    place(btnCal, 7020, 4950, 1155, 450);

    StatusBar1 = new QStatusBar(this);
    place(StatusBar1, 0, 5730, 8430, 375);
    const QList<QLabel *> panels = CalcWidgets::makeStatusBar(
        StatusBar1, QStringLiteral("StatusBar1"), {QStringLiteral("状态:"), QString(), QString()});
    panel2_ = panels[1];
    panel3_ = panels[2];

    connect(lst1, &QComboBox::activated, this, [this] { Guarded(this, [this] { lst1_Click(); }); });
    connect(lst2, &QComboBox::activated, this, [this] { Guarded(this, [this] { lst2_Click(); }); });
    connect(lst3, &QComboBox::activated, this, [this] { Guarded(this, [this] { lst3_Click(); }); });
    connect(ListView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { ListView1_ItemClick(item); });
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        panel3_->clear();
        if (item) ListView1_ItemClick(item);
    });
    // A range notice speaks of the values it was made from; any edit makes it stale.
    for (QLineEdit *box : {txtA, txtB, txtK, txtT})
        connect(box, &QLineEdit::textChanged, panel3_, &QLabel::clear);
    connect(btnCal, &QPushButton::clicked, this, [this] { btnCal_Click(); });
    connect(Toolbar1, &QToolBar::actionTriggered, this, [this](QAction *a) { Toolbar1_ButtonClick(a); });
}

void frmCalculateTrace::Form_Load()
{
    mdlFunction::SetToolbarImages(Toolbar1, ToolbarImages());
    mdlFunction::LoadFormLayout(this);
    Guarded(this, [this] {
        LoadSelectionList(QString(), QString());
        if (lst1->count() > 0) {
            lst1->setCurrentIndex(0);
            lst1_Click();
        }
    });
    ClearResults();
}

void frmCalculateTrace::Form_Unload() { mdlFunction::SaveFormLayout(this); }

void frmCalculateTrace::LoadSelectionList(const QString &element, const QString &mineralA)
{
    clsTraceelements catalogue;
    Connection &conn = *mdlFunction::adoConn();
    if (element.isEmpty()) {
        lst1->clear();
        lst1->addItems(catalogue.FindElementType(conn));
    } else if (!mineralA.isEmpty()) {
        lst3->clear();
        lst3->addItems(catalogue.FindMineral(conn, element, mineralA));
    } else {
        lst2->clear();
        lst2->addItems(catalogue.FindMineral(conn, element));
    }
}

void frmCalculateTrace::ClearResults()
{
    ListView1->clear();
    lblA->setText(lst2->currentText());
    lblB->setText(lst3->currentText());
    txtA->clear();
    txtB->clear();
    txtK->clear();
    txtT->clear();
    panel2_->clear();
    panel3_->clear();
}

void frmCalculateTrace::lst1_Click()
{
    LoadSelectionList(lst1->currentText(), QString());
    lst3->clear();
    ClearResults();
}

void frmCalculateTrace::lst2_Click()
{
    LoadSelectionList(lst1->currentText(), lst2->currentText());
    ClearResults();
}

void frmCalculateTrace::lst3_Click()
{
    ClearResults();
    LoadThermometers();
}

void frmCalculateTrace::LoadThermometers()
{
    ListView1->clear();
    clsTraceelements catalogue;
    catalogue.FuzzyQuery(*mdlFunction::adoConn(), lst1->currentText(), lst2->currentText(),
                         lst3->currentText());
    QList<QStringList> rows;
    for (const auto &item : catalogue)
        rows << QStringList{Num::Str(item->ConstA()), Num::Str(item->ConstB()), item->logType(),
                            item->Mark()};
    if (QTreeWidgetItem *first = CalcWidgets::showRows(ListView1, rows)) ListView1_ItemClick(first);
}

void frmCalculateTrace::ListView1_ItemClick(QTreeWidgetItem *item)
{
    Guarded(this, [&] {
        currentConstA_ = Num::CSng(Num::Val(item->text(0)));
        currentConstB_ = Num::CSng(Num::Val(item->text(1)));
        currentLogType_ = item->text(2);
        panel2_->setText(QStringLiteral("当前参数：A=") + Num::Str(currentConstA_) + QStringLiteral("，B=") +
                         Num::Str(currentConstB_));
    });
}

bool frmCalculateTrace::ValidateInput()
{
    auto refuse = [this](QLineEdit *box) {
        MsgBox(this, QStringLiteral("必须为数字"), Dialogs::Buttons::Ok, Dialogs::Icon::None,
               QStringLiteral("提示"));
        CalcWidgets::focusAndSelect(box);
        return false;
    };
    if (!txtA->text().isEmpty() || !txtB->text().isEmpty()) {
        if (!Num::IsNumeric(txtA->text())) return refuse(txtA);
        if (!Num::IsNumeric(txtB->text())) return refuse(txtB);
        const float k = Num::CSng(Num::Div(Num::ToSingle(txtA->text()), Num::ToSingle(txtB->text())));
        txtK->setText(Num::Str(k));
        return true;
    }
    if (Num::IsNumeric(txtK->text())) return true;
    return refuse(txtK);
}

void frmCalculateTrace::btnCal_Click()
{
    Guarded(this, [&] {
        if (!CalcWidgets::selectedRow(ListView1)) {
            MsgBox(this, QStringLiteral("请选择参数！"));
            return;
        }
        if (!ValidateInput()) return;
        ShowRowTemperatures(Num::ToSingle(txtK->text()));
        // A calibration with another log type has no equation to solve.
        if (!TraceEquation::IsKnownLogType(currentLogType_)) {
            MsgBox(this, QStringLiteral("函数类型无效：\"") + currentLogType_ + QStringLiteral("\""));
            return;
        }
        const float k = Num::ToSingle(txtK->text());
        if (TraceEquation::Kelvin(currentLogType_, k, currentConstA_, currentConstB_) <= 0) {
            MsgBox(this, QStringLiteral("计算结果无效：温度低于绝对零度"));
            return;
        }
        const float celsius =
            TraceEquation::CalculateTemperature(currentLogType_, k, currentConstA_, currentConstB_);
        txtT->setText(Num::Str(celsius));
        const std::optional<CalibrationRange> range =
            ReadRange(CalcWidgets::selectedRow(ListView1)->text(kRemarkColumn));
        panel3_->setText(CalcWidgets::rootNotice(standing(celsius, range), range));
    });
}

void frmCalculateTrace::ShowRowTemperatures(float k)
{
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = ListView1->topLevelItem(i);
        const QString logType = row->text(2);
        const float a = Num::CSng(Num::Val(row->text(0)));
        const float b = Num::CSng(Num::Val(row->text(1)));
        // K of 0 or below, x equal to B, an overflow or another log type: no temperature from this row.
        std::optional<float> celsius;
        if (const std::optional<float> kelvin = TraceEquation::TryKelvin(logType, k, a, b))
            celsius = TraceEquation::CelsiusOf(*kelvin);
        const std::optional<CalibrationRange> range = ReadRange(row->text(kRemarkColumn));
        CalcWidgets::showRowTemperature(row, kTemperatureColumn, celsius ? Num::Str(*celsius) : QString(),
                                        celsius ? standing(*celsius, range) : RootRule::Standing::NoRoot,
                                        range);
    }
    CalcWidgets::revealColumn(ListView1, kTemperatureColumn);
}

void frmCalculateTrace::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    if (key == QLatin1String("database")) {
        if (FormHost *host = FormHost::current()) host->ShowForm(QStringLiteral("frmTraceMgr"), false);
        Unload();
    } else if (key == QLatin1String("about")) {
        FormFactory::ShowModal(QStringLiteral("frmTraceAbout"), this);
    } else if (key == QLatin1String("close")) {
        Unload();
    }
}
