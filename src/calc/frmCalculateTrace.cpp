// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <limits>

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
    setCaption(QT_TR_NOOP("微量元素温度计_温度计算"));
    resize(Twips::toPx(8430), Twips::toPx(6705));

    Toolbar1 = CalcWidgets::makeToolbar(this, {{QStringLiteral("filter"), tr("筛选")},
                                               {QStringLiteral("database"), tr("数据库")},
                                               {QStringLiteral("about"), tr("关于")},
                                               {QStringLiteral("close"), tr("退出")}});
    place(Toolbar1, 0, 0, 8430, 630);

    const CalcWidgets::ChoiceRow choices = CalcWidgets::choiceRow(this, tr("元素"));
    lst1 = choices.lst1;
    lst2 = choices.lst2;
    lst3 = choices.lst3;

    ListView1 = CalcWidgets::makeReportList(
        this, {QStringLiteral("A"), QStringLiteral("B"), tr("函数"), tr("备注"), tr("温度(℃)")},
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
    Label11 = named(new QLabel(tr("温度"), this), QStringLiteral("Label11"));
    place(Label11, 3330, 5070, 560, 300);
    txtT = named(new QLineEdit(this), QStringLiteral("txtT"));
    place(txtT, 3900, 5010, 1500, 390);
    Label13 = named(new QLabel(QStringLiteral("℃"), this), QStringLiteral("Label13"));
    place(Label13, 5490, 5070, 330, 300);

    lblKUnit = named(new QLabel(this), QStringLiteral("lblKUnit"));
    place(lblKUnit, 5490, 4530, 1700, 300);

    btnCal = named(new QPushButton(tr("计算"), this), QStringLiteral("btnCal"));
    place(btnCal, 7020, 4950, 1155, 450);

    // The conditions of the sample, each shown only for a calibration that takes it.
    auto condition = [this](QLabel **label, QLineEdit **box, const char *labelName, const char *boxName,
                            const QString &text, int left, int labelWidth) {
        *label = named(new QLabel(text, this), QString::fromLatin1(labelName));
        place(*label, left, 5640, labelWidth, 300);
        *box = named(new QLineEdit(this), QString::fromLatin1(boxName));
        place(*box, left + labelWidth + 60, 5580, 900, 390);
    };
    condition(&lblP, &txtP, "lblP", "txtP", tr("压力(kbar)"), 120, 1000);
    condition(&lblATiO2, &txtATiO2, "lblATiO2", "txtATiO2", QStringLiteral("aTiO₂"), 2300, 600);
    condition(&lblASiO2, &txtASiO2, "lblASiO2", "txtASiO2", QStringLiteral("aSiO₂"), 4000, 600);
    condition(&lblX, &txtX, "lblX", "txtX", QString(), 5700, 800);
    txtATiO2->setPlaceholderText(QStringLiteral("1"));
    txtASiO2->setPlaceholderText(QStringLiteral("1"));
    ShowConditionBoxes(-1);

    StatusBar1 = new QStatusBar(this);
    place(StatusBar1, 0, 6330, 8430, 375);
    const QList<QLabel *> panels = CalcWidgets::makeStatusBar(StatusBar1, QStringLiteral("StatusBar1"),
                                                              {tr("状态:"), QString(), QString()});
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
    for (QLineEdit *box : {txtA, txtB, txtK, txtT, txtP, txtATiO2, txtASiO2, txtX})
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
        CalcWidgets::addNames(lst3, Names::Kind::Mineral, catalogue.FindMineral(conn, element, mineralA));
    } else {
        lst2->clear();
        CalcWidgets::addNames(lst2, Names::Kind::Mineral, catalogue.FindMineral(conn, element));
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
    for (QLineEdit *box : {txtP, txtATiO2, txtASiO2, txtX}) box->clear();
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
    LoadSelectionList(lst1->currentText(), CalcWidgets::chosenName(lst2));
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
    listed_.clear();
    ShowConditionBoxes(-1);
    clsTraceelements catalogue;
    catalogue.FuzzyQuery(*mdlFunction::adoConn(), lst1->currentText(), CalcWidgets::chosenName(lst2),
                         CalcWidgets::chosenName(lst3));
    QList<QStringList> rows;
    for (const auto &item : catalogue) {
        rows << QStringList{Num::Str(item->ConstA()), Num::Str(item->ConstB()), item->logType(),
                            item->Mark()};
        listed_.push_back(Listed{item->form(), item->terms().xName, item->terms().kUnit});
    }
    if (QTreeWidgetItem *first = CalcWidgets::showRows(ListView1, rows)) ListView1_ItemClick(first);
}

void frmCalculateTrace::ListView1_ItemClick(QTreeWidgetItem *item)
{
    Guarded(this, [&] {
        currentConstA_ = Num::CSng(Num::Val(item->text(0)));
        currentConstB_ = Num::CSng(Num::Val(item->text(1)));
        currentLogType_ = item->text(2);
        panel2_->setText(tr("当前参数：A=%1，B=%2").arg(Num::Str(currentConstA_), Num::Str(currentConstB_)));
    });
    ShowConditionBoxes(ListView1->indexOfTopLevelItem(item));
}

void frmCalculateTrace::ShowConditionBoxes(int row)
{
    current_ = row >= 0 && row < int(listed_.size()) ? row : -1;
    const Listed *chosen = current_ >= 0 ? &listed_[size_t(current_)] : nullptr;
    const TraceEquation::Form form = chosen ? chosen->form : TraceEquation::Form{};
    auto show = [](QLabel *label, QLineEdit *box, bool used) {
        label->setVisible(used);
        box->setVisible(used);
        box->setEnabled(used);
    };
    show(lblP, txtP, form.usesPressure());
    show(lblATiO2, txtATiO2, form.usesTiO2());
    show(lblASiO2, txtASiO2, form.usesSiO2());
    show(lblX, txtX, form.usesComposition());
    const QString xName = chosen ? chosen->xName.trimmed() : QString();
    lblX->setText(xName.isEmpty() ? QStringLiteral("X") : xName);
    lblKUnit->setText(chosen ? chosen->kUnit : QString());
}

namespace {

// The number in a box; empty for an empty box, false for one that is no number.
bool boxNumber(const QLineEdit *box, std::optional<double> *value)
{
    const QString text = box->text().trimmed();
    value->reset();
    if (text.isEmpty()) return true;
    *value = Num::TryDouble(text);
    return value->has_value();
}

} // namespace

frmCalculateTrace::Inputs frmCalculateTrace::ShownConditions() const
{
    Inputs in;
    std::optional<double> v;
    if (!txtP->isHidden() && boxNumber(txtP, &v) && v && *v >= 0) {
        in.conditions.pressureKbar = *v;
        in.pressure = true;
    }
    if (!txtX->isHidden() && boxNumber(txtX, &v) && v) {
        in.conditions.x = *v;
        in.composition = true;
    }
    if (!txtATiO2->isHidden() && boxNumber(txtATiO2, &v) && v) in.conditions.aTiO2 = *v;
    if (!txtASiO2->isHidden() && boxNumber(txtASiO2, &v) && v) in.conditions.aSiO2 = *v;
    return in;
}

bool frmCalculateTrace::ReadConditions(const TraceEquation::Form &form, Inputs *inputs, QStringList *defaults)
{
    auto refuse = [this](QLineEdit *box, const QString &message) {
        MsgBox(this, message, Dialogs::Buttons::Ok, Dialogs::Icon::None, tr("提示"));
        CalcWidgets::focusAndSelect(box);
        return false;
    };
    std::optional<double> v;
    if (form.usesPressure()) {
        if (!boxNumber(txtP, &v)) return refuse(txtP, tr("必须为数字"));
        if (!v) return refuse(txtP, tr("请输入压力"));
        if (*v < 0) return refuse(txtP, tr("压力不能小于0"));
        inputs->conditions.pressureKbar = *v;
        inputs->pressure = true;
    }
    if (form.usesComposition()) {
        if (!boxNumber(txtX, &v)) return refuse(txtX, tr("必须为数字"));
        if (!v) return refuse(txtX, tr("请输入%1").arg(lblX->text()));
        inputs->conditions.x = *v;
        inputs->composition = true;
    }
    // An activity left empty is 1: the phase is present (rutile, quartz).
    auto activity = [&](bool used, QLineEdit *box, const QString &name, double *into) {
        if (!used) return true;
        if (!boxNumber(box, &v)) return refuse(box, tr("必须为数字"));
        if (!v) {
            *defaults << name + QStringLiteral("=1");
            return true;
        }
        if (!(*v > 0 && *v <= 1)) return refuse(box, tr("活度必须大于0且不大于1"));
        *into = *v;
        return true;
    };
    return activity(form.usesTiO2(), txtATiO2, QStringLiteral("aTiO₂"), &inputs->conditions.aTiO2) &&
           activity(form.usesSiO2(), txtASiO2, QStringLiteral("aSiO₂"), &inputs->conditions.aSiO2);
}

bool frmCalculateTrace::ValidateInput()
{
    auto refuse = [this](QLineEdit *box) {
        MsgBox(this, tr("必须为数字"), Dialogs::Buttons::Ok, Dialogs::Icon::None, tr("提示"));
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
            MsgBox(this, tr("请选择参数！"));
            return;
        }
        if (!ValidateInput()) return;
        const Listed *chosen = current_ >= 0 ? &listed_[size_t(current_)] : nullptr;
        const TraceEquation::Form form = chosen ? chosen->form : TraceEquation::Form{};
        Inputs inputs;
        QStringList notes;
        if (!ReadConditions(form, &inputs, &notes)) return;
        ShowRowTemperatures(Num::ToSingle(txtK->text()), ShownConditions());
        // A calibration with another log type has no equation to solve.
        if (!TraceEquation::IsKnownLogType(currentLogType_)) {
            MsgBox(this, tr("函数类型无效：\"%1\"").arg(currentLogType_));
            return;
        }
        const float k = Num::ToSingle(txtK->text());
        float celsius = 0;
        if (!form.hasTerms()) {
            if (TraceEquation::Kelvin(currentLogType_, k, currentConstA_, currentConstB_) <= 0) {
                MsgBox(this, tr("计算结果无效：温度低于绝对零度"));
                return;
            }
            celsius = TraceEquation::CalculateTemperature(currentLogType_, k, currentConstA_, currentConstB_);
        } else {
            Num::Ln(k); // K of 0 or below is refused as in log K = A/T + B
            const std::optional<double> kelvin = TraceEquation::Kelvin(form, k, inputs.conditions);
            if (!kelvin) {
                MsgBox(this, tr("计算结果无效：温度低于绝对零度"));
                return;
            }
            celsius = TraceEquation::CelsiusOf(Num::CSng(*kelvin));
        }
        txtT->setText(Num::Str(celsius));
        const QString remark = CalcWidgets::selectedRow(ListView1)->text(kRemarkColumn);
        const std::optional<CalibrationRange> range = ReadRange(remark);
        QStringList said{CalcWidgets::rootNotice(standing(celsius, range), range)};
        said << TraceEquation::ConditionWarnings(form, remark, chosen ? chosen->xName : QString(),
                                                 inputs.conditions)
             << notes;
        said.removeAll(QString());
        panel3_->setText(said.join(tr("；")));
    });
}

void frmCalculateTrace::ShowRowTemperatures(float k, const Inputs &inputs)
{
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = ListView1->topLevelItem(i);
        const QString logType = row->text(2);
        const float a = Num::CSng(Num::Val(row->text(0)));
        const float b = Num::CSng(Num::Val(row->text(1)));
        // K of 0 or below, x equal to B, an overflow or another log type: no temperature from this row.
        // Nor from a row that takes a pressure or composition not given.
        std::optional<float> celsius;
        const TraceEquation::Form form =
            i < int(listed_.size()) ? listed_[size_t(i)].form : TraceEquation::Form{};
        if (!form.hasTerms()) {
            if (const std::optional<float> kelvin = TraceEquation::TryKelvin(logType, k, a, b))
                celsius = TraceEquation::CelsiusOf(*kelvin);
        } else if ((!form.usesPressure() || inputs.pressure) &&
                   (!form.usesComposition() || inputs.composition)) {
            const std::optional<double> kelvin = TraceEquation::Kelvin(form, k, inputs.conditions);
            if (kelvin && *kelvin < double(std::numeric_limits<float>::max()))
                celsius = TraceEquation::CelsiusOf(float(*kelvin));
        }
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
