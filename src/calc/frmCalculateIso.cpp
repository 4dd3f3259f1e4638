// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/frmCalculateIso.h"

#include "calc/CalcWidgets.h"
#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/base/Twips.h"
#include "core/database/SharedConnection.h"
#include "core/store/CalibrationLibrary.h"
#include "core/thermometry/Equations.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormFactory.h"
#include "ui/FormHost.h"
#include "ui/FormLayout.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QBrush>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <cmath>

using CalcWidgets::place;

namespace {

const QString kOxygen = QStringLiteral("氧同位素");
const QString kWater = QStringLiteral("水");
// Clumped isotopes: one phase, whose Δ47 is typed in the δA box.
const QString kClumped = QStringLiteral("团簇同位素(Δ47)");
const QString kSinglePhase = QStringLiteral("单矿物");

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QLineEdit *textBox(QWidget *parent, const char *name)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    return t;
}

// The notation of an isotope type; empty for a type without one.
QString notationOf(const QString &type)
{
    if (type == QStringLiteral("氧同位素")) return QStringLiteral("δ18O");
    if (type == QStringLiteral("硫同位素")) return QStringLiteral("δ34S");
    if (type == QStringLiteral("碳同位素")) return QStringLiteral("δ13C");
    if (type == QStringLiteral("氢同位素")) return QStringLiteral("δD");
    if (type == kClumped) return QStringLiteral("Δ47(‰)");
    return QString();
}

constexpr int kRangeColumn = 3;
constexpr int kSourceColumn = 4;
constexpr int kTemperatureColumn = 5;

// One calibration's temperatures for Δ, chosen with the calibration's range;
// its kelvin is 0 or below when there is none. Raises as IsoEquation::T.
IsoEquation::Solution solve(float delta, float a, float b, float c,
                            const std::optional<CalibrationRange> &range)
{
    const IsoEquation::Solution s =
        IsoEquation::Solve(delta, IsoEquation::APrime(a), IsoEquation::BPrime(b), c, range);
    IsoEquation::RaiseOnError(s);
    return s;
}

// Whole degrees as the calculator shows a temperature; a root far beyond any
// integer type keeps its exponent form.
double shownDegrees(double kelvin) { return RootRule::AsShown(kelvin - 273.15, 0); }
QString wholeDegrees(double celsius) { return Num::StrDouble(celsius); }

// The second temperature that fits, as shown; empty for none.
QString secondText(const IsoEquation::Solution &s)
{
    return s.choice.second ? wholeDegrees(shownDegrees(s.choice.second->kelvin)) : QString();
}

} // namespace

frmCalculateIso::frmCalculateIso(QWidget *parent) : ChildForm(parent)
{
    setObjectName(QStringLiteral("frmCalculateIso"));
    setCaption(QT_TR_NOOP("同位素温度计_温度计算"));
    resize(Twips::toPx(8430), Twips::toPx(6105));

    Toolbar1 = CalcWidgets::makeToolbar(this, {{QStringLiteral("filter"), tr("筛选")},
                                               {QStringLiteral("database"), tr("数据库管理")},
                                               {QStringLiteral("about"), tr("关于")},
                                               {QStringLiteral("close"), tr("退出")}});
    place(Toolbar1, 0, 0, 8430, 630);

    const CalcWidgets::ChoiceRow choices = CalcWidgets::choiceRow(this, tr("同位素"));
    lst1 = choices.lst1;
    lst2 = choices.lst2;
    lst3 = choices.lst3;

    ListView1 = CalcWidgets::makeReportList(this,
                                            {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                             tr("适用范围"), tr("资料来源"), tr("温度(℃)")},
                                            {2540, 2540, 2540, 2540, 2540, 2540});
    place(ListView1, 45, 645, 8340, 3645);

    Frame1 = new QGroupBox(tr("计算类型"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    place(Frame1, 60, 4485, 1695, 1215);
    Option1 = new QRadioButton(tr("平衡温度"), Frame1);
    Option1->setObjectName(QStringLiteral("Option1"));
    place(Option1, 135, 360, 1500, 300);
    Option2 = new QRadioButton(tr("水的氧同位素"), Frame1);
    Option2->setObjectName(QStringLiteral("Option2"));
    place(Option2, 120, 720, 1560, 300);

    Label7 = label(this, "Label7", tr("矿物"));
    place(Label7, 2310, 4485, 600, 255);
    Label8 = label(this, "Label8", QStringLiteral("δ"));
    place(Label8, 3240, 4470, 1000, 315);

    lbMinA = label(this, "lbMinA", QString());
    place(lbMinA, 1845, 4890, 960, 270);
    txtMinAValue = textBox(this, "txtMinAValue");
    place(txtMinAValue, 2925, 4800, 1035, 390);
    Label5 = label(this, "Label5", QStringLiteral("‰"));
    place(Label5, 4125, 4860, 330, 330);

    lbMinB = label(this, "lbMinB", QString());
    place(lbMinB, 1845, 5370, 960, 270);
    txtMinBValue = textBox(this, "txtMinBValue");
    place(txtMinBValue, 2925, 5310, 1035, 390);
    Label6 = label(this, "Label6", QStringLiteral("‰"));
    place(Label6, 4125, 5370, 330, 330);

    Label4 = label(this, "Label4", tr("温度"));
    place(Label4, 4740, 5340, 540, 315);
    txtT = textBox(this, "txtT");
    place(txtT, 5280, 5295, 1035, 390);
    Label15 = label(this, "Label15", QStringLiteral("℃"));
    place(Label15, 6450, 5355, 330, 300);

    Command1 = new QPushButton(tr("计算"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    place(Command1, 7020, 5205, 1155, 450);

    StatusBar1 = new QStatusBar(this);
    place(StatusBar1, 0, 5730, 8430, 375);
    const QList<QLabel *> panels = CalcWidgets::makeStatusBar(StatusBar1, QStringLiteral("StatusBar1"),
                                                              {tr("状态"), QString(), QString()});
    panel2_ = panels[1];
    panel3_ = panels[2];

    Option1->setChecked(true);
    txtT->setEnabled(false);

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
    for (QLineEdit *box : {txtMinAValue, txtMinBValue, txtT})
        connect(box, &QLineEdit::textChanged, panel3_, &QLabel::clear);
    connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { Option2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Toolbar1, &QToolBar::actionTriggered, this, [this](QAction *a) { Toolbar1_ButtonClick(a); });
}

frmCalculateIso::~frmCalculateIso() = default;

void frmCalculateIso::Form_Load()
{
    mdlFunction::SetToolbarImages(Toolbar1, ToolbarImages());
    mdlFunction::LoadFormLayout(this);
    catalogue_ = std::make_unique<clsIsoplotItems>();
    Guarded(this, [this] {
        LoadIsotopeTypes();
        if (lst1->count() > 0) {
            lst1->setCurrentIndex(0);
            lst1_Click();
        }
    });
}

void frmCalculateIso::Form_Unload()
{
    catalogue_.reset();
    mdlFunction::SaveFormLayout(this);
}

void frmCalculateIso::LoadIsotopeTypes()
{
    CalcWidgets::addNames(lst1, Names::Kind::Type, catalogue_->FindIsoType(*mdlFunction::adoConn()));
    CalcWidgets::fitChoices({lst1, lst2, lst3}, Toolbar1);
}

void frmCalculateIso::LoadMinerals(const QString &typeName, const QString &mineralA)
{
    if (mineralA.isEmpty()) {
        lst2->clear();
        CalcWidgets::addNames(lst2, Names::Kind::Mineral,
                              catalogue_->FindMineral(*mdlFunction::adoConn(), typeName));
    } else {
        lst3->clear();
        QStringList partners = catalogue_->FindMineral(*mdlFunction::adoConn(), typeName, mineralA);
        // The minerals a dataset pairs with this one without a stored row, after the stored ones.
        library_ = std::make_shared<const Batch::Library>(
            Batch::Library::Load(*mdlFunction::adoConn(), Batch::Kind::Isotope));
        for (const QString &derived : library_->derivedPartners(typeName, mineralA))
            if (!partners.contains(derived, Qt::CaseInsensitive)) partners << derived;
        CalcWidgets::addNames(lst3, Names::Kind::Mineral, partners);
    }
}

void frmCalculateIso::clearValues()
{
    txtMinAValue->clear();
    txtMinBValue->clear();
    txtT->clear();
}

void frmCalculateIso::lst1_Click()
{
    LoadMinerals(CalcWidgets::chosenName(lst1), QString());
    lst3->clear();
    ListView1->clear();
    SetModeOptions(false);
    lbMinA->clear();
    lbMinB->clear();
    clearValues();
    panel2_->clear();
    panel3_->clear();
    const QString notation = notationOf(CalcWidgets::chosenName(lst1));
    if (!notation.isEmpty()) Label8->setText(notation);
}

void frmCalculateIso::lst2_Click()
{
    LoadMinerals(CalcWidgets::chosenName(lst1), CalcWidgets::chosenName(lst2));
    ListView1->clear();
    SetModeOptions(false);
    lbMinA->setText(lst2->currentText());
    lbMinB->clear();
    clearValues();
    panel2_->clear();
    panel3_->clear();
}

void frmCalculateIso::lst3_Click()
{
    ShowThermometers();
    const QString mineralB = CalcWidgets::chosenName(lst3);
    SetModeOptions(mineralB == kWater && CalcWidgets::chosenName(lst1) == kOxygen);
    lbMinB->setText(lst3->currentText());
    clearValues();
    // A one-phase calibration solves the phase's own value: δB is 0 and not typed.
    if (mineralB == kSinglePhase) {
        txtMinBValue->setText(QStringLiteral("0"));
        txtMinBValue->setEnabled(false);
    }
}

void frmCalculateIso::ShowThermometers()
{
    ListView1->clear();
    panel3_->clear();
    const QString type = CalcWidgets::chosenName(lst1), mineralA = CalcWidgets::chosenName(lst2),
                  mineralB = CalcWidgets::chosenName(lst3);
    catalogue_->FuzzyQuery(*mdlFunction::adoConn(), type, mineralA, mineralB);
    QList<QStringList> rows;
    for (const auto &item : *catalogue_)
        rows << QStringList{Num::Str(item->ConstA()), Num::Str(item->ConstB()), Num::Str(item->ConstC()),
                            item->Mark(), item->Source()};
    // Then the pairs a dataset determines without storing them, their source greyed.
    const int stored = int(rows.size());
    Guarded(this, [&] {
        if (!library_)
            library_ = std::make_shared<const Batch::Library>(
                Batch::Library::Load(*mdlFunction::adoConn(), Batch::Kind::Isotope));
        for (const Batch::Calibration *c : library_->forPair(type, mineralA, mineralB))
            if (c->derived)
                rows << QStringList{Num::Str(float(c->a)), Num::Str(float(c->b)), Num::Str(float(c->c)),
                                    c->remark, c->source};
    });
    QTreeWidgetItem *first = CalcWidgets::showRows(ListView1, rows);
    for (int i = stored; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = ListView1->topLevelItem(i);
        item->setForeground(kSourceColumn, QBrush(Qt::gray));
        item->setToolTip(kSourceColumn, item->text(kSourceColumn));
    }
    if (first) ListView1_ItemClick(first);
}

void frmCalculateIso::ListView1_ItemClick(QTreeWidgetItem *item)
{
    Guarded(this, [&] {
        currentA_ = Num::ToSingle(item->text(0));
        currentB_ = Num::ToSingle(item->text(1));
        currentC_ = Num::ToSingle(item->text(2));
        ShowParameters(currentA_, currentB_, currentC_, QStringLiteral("="), QStringLiteral(";"));
    });
}

void frmCalculateIso::ShowParameters(float a, float b, float c, const QString &separator,
                                     const QString &terminator)
{
    panel2_->setText(QStringLiteral("A") + separator + Num::Str(a) + terminator + QStringLiteral("B") +
                     separator + Num::Str(b) + terminator + QStringLiteral("C") + separator + Num::Str(c));
}

void frmCalculateIso::SetModeOptions(bool enable)
{
    Option1->setChecked(true);
    Option1_Click();
    Option1->setEnabled(enable);
    Option2->setEnabled(enable);
}

void frmCalculateIso::Option1_Click()
{
    txtMinBValue->setEnabled(true);
    txtT->setEnabled(false);
}

void frmCalculateIso::Option2_Click()
{
    txtMinBValue->setEnabled(false);
    txtT->setEnabled(true);
}

bool frmCalculateIso::ValidateInputs()
{
    QList<QLineEdit *> boxes{txtMinAValue, Option2->isChecked() ? txtT : txtMinBValue};
    for (QLineEdit *box : boxes) {
        if (!Num::IsNumeric(box->text())) {
            MsgBox(this, tr("必须为数字"), Dialogs::Buttons::Ok, Dialogs::Icon::None, tr("提示"));
            CalcWidgets::focusAndSelect(box);
            return false;
        }
    }
    return true;
}

void frmCalculateIso::Command1_Click()
{
    const QString calcError = tr("计算错误");
    Guarded(
        this,
        [&] {
            if (!CalcWidgets::selectedRow(ListView1)) {
                MsgBox(this, tr("请选择参数!"));
                return;
            }
            if (!ValidateInputs()) return;
            const std::optional<CalibrationRange> range =
                ReadRange(CalcWidgets::selectedRow(ListView1)->text(kRangeColumn));
            if (!Option2->isChecked()) {
                const float deltaA = Num::ToSingle(txtMinAValue->text());
                const float deltaB = Num::ToSingle(txtMinBValue->text());
                const float delta = Num::CSng(double(deltaA) - double(deltaB));
                ShowRowTemperatures(delta);
                const IsoEquation::Solution s = solve(delta, currentA_, currentB_, currentC_, range);
                if (s.kelvin <= 0) {
                    MsgBox(this, tr("计算结果无效：温度低于绝对零度"), Dialogs::Buttons::Ok,
                           Dialogs::Icon::None, calcError);
                    return;
                }
                const double shown = shownDegrees(s.kelvin);
                txtT->setText(wholeDegrees(shown));
                panel3_->setText(CalcWidgets::rootNotice(RootRule::Judge(s.choice, range, shown, 0), range,
                                                         secondText(s)));
            } else {
                const float t = Num::ToSingle(txtT->text());
                const float deltaA = Num::ToSingle(txtMinAValue->text());
                const float water = IsoEquation::WaterDelta(currentA_, currentB_, currentC_, t, deltaA);
                txtMinBValue->setText(Num::Str(water));
                CalcWidgets::showRangeNotice(panel3_, range, t);
            }
        },
        calcError);
}

void frmCalculateIso::ShowRowTemperatures(float delta)
{
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = ListView1->topLevelItem(i);
        const std::optional<CalibrationRange> range = ReadRange(row->text(kRangeColumn));
        const IsoEquation::Solution s = IsoEquation::Solve(
            delta, IsoEquation::APrime(Num::ToSingle(row->text(0))),
            IsoEquation::BPrime(Num::ToSingle(row->text(1))), Num::ToSingle(row->text(2)), range);
        // Δ<0, Δ = C or an overflow: this calibration gives no temperature.
        const bool solved = s.status == IsoEquation::SolveStatus::Ok && s.kelvin > 0;
        const double shown = solved ? shownDegrees(s.kelvin) : 0;
        CalcWidgets::showRowTemperature(row, kTemperatureColumn, solved ? wholeDegrees(shown) : QString(),
                                        RootRule::Judge(s.choice, range, shown, 0), range, secondText(s));
    }
    CalcWidgets::revealColumn(ListView1, kTemperatureColumn);
}

void frmCalculateIso::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    if (key == QLatin1String("database")) {
        Unload();
        if (FormHost *host = FormHost::current()) host->ShowForm(QStringLiteral("frmIsoMgr"), false);
    } else if (key == QLatin1String("about")) {
        FormFactory::ShowModal(QStringLiteral("frmIsoAbout"), this);
    } else if (key == QLatin1String("close")) {
        Unload();
    }
}
