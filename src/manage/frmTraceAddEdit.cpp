// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/frmTraceAddEdit.h"

#include "core/base/Twips.h"
#include "core/store/CoefficientCovariance.h"
#include "manage/TraceTermFields.h"
#include "manage/frmTraceMgr.h"
#include "ui/FormBuilder.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>

using FormBuilder::place;

namespace {

// The boxes of the terms, in the order of the list's columns 8..15.
struct TermBox {
    const char *name;
    const char *label;
    const char *labelText;
};
constexpr TermBox kTermBoxes[TraceTermFields::kCount] = {
    {"txtC", "lblC", QT_TRANSLATE_NOOP("frmTraceAddEdit", "压力项C")},
    {"txtN", "lblN", QT_TRANSLATE_NOOP("frmTraceAddEdit", "指数n")},
    {"txtE", "lblE", QT_TRANSLATE_NOOP("frmTraceAddEdit", "成分项E")},
    {"txtF", "lblF", QT_TRANSLATE_NOOP("frmTraceAddEdit", "成分项F")},
    {"txtXName", "lblXName", QT_TRANSLATE_NOOP("frmTraceAddEdit", "成分变量X")},
    {"txtNuSiO2", "lblNuSiO2", "ν(SiO2)"},
    {"txtNuTiO2", "lblNuTiO2", "ν(TiO2)"},
    {"txtKUnit", "lblKUnit", QT_TRANSLATE_NOOP("frmTraceAddEdit", "K的含义")},
};

QList<CalibrationEditDialog::ExtraBox> termBoxes()
{
    QList<CalibrationEditDialog::ExtraBox> boxes;
    for (int i = 0; i < TraceTermFields::kCount; ++i)
        boxes << CalibrationEditDialog::ExtraBox{QString::fromLatin1(kTermBoxes[i].name),
                                                 TraceTermFields::kFirstColumn + i,
                                                 !TraceTermFields::IsText(i)};
    // The σ of A and B; the covariance comes only with an import or the library.
    boxes << CalibrationEditDialog::ExtraBox{QStringLiteral("txtSigmaA"), frmTraceMgr::kErrorColumn, true}
          << CalibrationEditDialog::ExtraBox{QStringLiteral("txtSigmaB"), frmTraceMgr::kErrorColumn + 1, true}
          << CalibrationEditDialog::ExtraBox{QStringLiteral("txtDOI"), frmTraceMgr::kDoiColumn, false};
    return boxes;
}

// Where each term box stands: two columns of four rows, below the remark.
struct Cell {
    int field; // 0..7
    int row, column;
};
constexpr Cell kCells[TraceTermFields::kCount] = {
    {0, 0, 0}, {1, 0, 1}, {2, 1, 0}, {3, 1, 1}, {4, 2, 0}, {7, 2, 1}, {5, 3, 0}, {6, 3, 1},
};

} // namespace

frmTraceAddEdit::frmTraceAddEdit(frmTraceMgr *manager)
    : CalibrationEditDialog(manager, Rules{tr("微量元素温度计"),
                                           QStringLiteral("fraTrace"),
                                           QStringLiteral("Text2"),
                                           kValueBoxes,
                                           {1, 2},
                                           {3, 4},
                                           false,
                                           termBoxes()})
{
    setObjectName(QStringLiteral("frmTraceAddEdit"));
    setFixedSize(Twips::toPx(9075), Twips::toPx(6045));
    place(frame(), 120, 195, 7500, 5670);

    // The texts are the table's and the marked ones below, looked up in this dialog's context.
    auto label = [this](const char *name, const char *text, int left, int top) {
        auto *l = new QLabel(QCoreApplication::translate("frmTraceAddEdit", text), frame());
        l->setObjectName(QString::fromLatin1(name));
        l->adjustSize();
        l->move(Twips::toPx(left), Twips::toPx(top));
    };
    label("Label9", QT_TRANSLATE_NOOP("frmTraceAddEdit", "元素"), 375, 450);
    place(field(0), 1080, 375, 1500, 390);
    label("Label10", QT_TRANSLATE_NOOP("frmTraceAddEdit", "矿物A"), 2850, 450);
    place(field(1), 3495, 375, 1500, 390);
    label("Label11", QT_TRANSLATE_NOOP("frmTraceAddEdit", "矿物B"), 5220, 450);
    place(field(2), 5820, 375, 1500, 390);
    label("Label13", QT_TRANSLATE_NOOP("frmTraceAddEdit", "常数A"), 375, 945);
    place(field(3), 1080, 870, 1500, 390);
    label("Label14", QT_TRANSLATE_NOOP("frmTraceAddEdit", "常数B"), 2865, 945);
    place(field(4), 3480, 870, 1500, 390);
    label("Label12", QT_TRANSLATE_NOOP("frmTraceAddEdit", "函数"), 5205, 945);
    option1_ = new QRadioButton(QStringLiteral("E"), frame());
    option1_->setObjectName(QStringLiteral("Option1"));
    place(option1_, 5700, 900, 555, 330);
    option2_ = new QRadioButton(QStringLiteral("10"), frame());
    option2_->setObjectName(QStringLiteral("Option2"));
    place(option2_, 6255, 900, 660, 330);
    // The log type as stored; the options set it.
    place(field(5), 6930, 870, 390, 390);
    field(5)->setReadOnly(true);
    label("Label15", QT_TRANSLATE_NOOP("frmTraceAddEdit", "备注"), 375, 1455);
    place(field(6), 1080, 1380, 6240, 390);

    // The terms beyond A/T + B; an empty box keeps its default.
    constexpr int kRowTop = 1875, kRowStep = 495;
    constexpr int kLabelLeft[2] = {375, 3945};
    constexpr int kBoxLeft[2] = {1350, 4920};
    constexpr int kBoxWidth = 2400;
    for (const Cell &cell : kCells) {
        const int top = kRowTop + cell.row * kRowStep;
        label(kTermBoxes[cell.field].label, kTermBoxes[cell.field].labelText, kLabelLeft[cell.column],
              top + 75);
        place(termBox(cell.field), kBoxLeft[cell.column], top, kBoxWidth, 390);
    }
    // The published error of A and B, below the terms.
    const int sigmaTop = kRowTop + 4 * kRowStep;
    label("lblSigmaA", "σA", kLabelLeft[0], sigmaTop + 75);
    place(sigmaBox(0), kBoxLeft[0], sigmaTop, kBoxWidth, 390);
    label("lblSigmaB", "σB", kLabelLeft[1], sigmaTop + 75);
    place(sigmaBox(1), kBoxLeft[1], sigmaTop, kBoxWidth, 390);
    // The DOI of the reference the remark cites.
    label("lblDOI", "DOI", kLabelLeft[0], sigmaTop + kRowStep + 75);
    place(doiBox(), kBoxLeft[0], sigmaTop + kRowStep, kBoxLeft[1] + kBoxWidth - kBoxLeft[0], 390);
    auto *equation = new QLabel(QStringLiteral("log K = (A + C·P^n + E·X)/T + B + F·X\n"
                                               "           + ν(SiO2)·log a(SiO2) + ν(TiO2)·log a(TiO2)\n") +
                                    tr("T：开尔文；P：千巴；空白项取默认值（n = 1，其余为 0）"),
                                frame());
    equation->setObjectName(QStringLiteral("lblEquation"));
    place(equation, 375, kRowTop + 6 * kRowStep - 15, 6945, 780);

    place(Command1(), 7725, 1200, 1215, 405);
    place(Command2(), 7740, 1815, 1215, 405);

    for (int i = 1; i < 4; ++i) setTabOrder(field(i), field(i + 1));
    setTabOrder(field(4), option1_);
    setTabOrder(option1_, option2_);
    setTabOrder(option2_, field(6));
    setTabOrder(field(6), termBox(0));
    for (int i = 0; i + 1 < TraceTermFields::kCount; ++i) setTabOrder(termBox(i), termBox(i + 1));
    setTabOrder(termBox(TraceTermFields::kCount - 1), sigmaBox(0));
    setTabOrder(sigmaBox(0), sigmaBox(1));
    setTabOrder(sigmaBox(1), doiBox());
    setTabOrder(doiBox(), Command1());
    setTabOrder(Command1(), Command2());
    setTabOrder(Command2(), field(0));
    setTabOrder(field(0), field(5));

    connect(field(5), &QLineEdit::textChanged, this, [this] { Text2_Change(5); });
    // Only the user's choice of an option writes the log type; showing the
    // option of a stored type leaves its text ("E", "ln") as it is.
    connect(option1_, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(option2_, &QRadioButton::clicked, this, [this] { Option2_Click(); });
}

QLineEdit *frmTraceAddEdit::termBox(int i) const { return field(kValueBoxes + 1 + i); }

QLineEdit *frmTraceAddEdit::sigmaBox(int i) const
{
    return field(kValueBoxes + 1 + TraceTermFields::kCount + i);
}

QLineEdit *frmTraceAddEdit::doiBox() const { return sigmaBox(2); }

QLineEdit *frmTraceAddEdit::crossCheck(QString *message) const
{
    QStringList texts;
    for (int i = 0; i < TraceTermFields::kCount; ++i) texts << termBox(i)->text();
    const TraceTermFields::Check check = TraceTermFields::Examine(texts);
    switch (check.problem) {
    case TraceTermFields::Problem::PowerNotPositive:
        *message = TraceTermFields::PowerNotPositiveText();
        break;
    case TraceTermFields::Problem::XNameMissing: *message = TraceTermFields::XNameMissingText(); break;
    default: {
        // The σ typed with the covariance the row holds.
        const QStringList error{sigmaBox(0)->text(), sigmaBox(1)->text(),
                                rowText(frmTraceMgr::kErrorColumn + 2)};
        const CoefficientCovariance::Check sigma = CoefficientCovariance::Examine(error, 2);
        if (sigma.problem == CoefficientCovariance::Problem::None) return nullptr;
        *message = CoefficientCovariance::Message(sigma.problem);
        return sigmaBox(std::min(sigma.field, 1));
    }
    }
    return termBox(check.field);
}

QString frmTraceAddEdit::ownerForNewRow() const
{
    const QList<QTreeWidgetItem *> selected = manager()->TreeView1()->selectedItems();
    return selected.isEmpty() ? manager()->currentOwner() : selected.first()->text(0);
}

void frmTraceAddEdit::Text2_Change(int index)
{
    if (index != 5) return;
    const QString logType = field(5)->text();
    if (logType == QLatin1String("e") || logType == QLatin1String("E"))
        option1_->setChecked(true);
    else
        option2_->setChecked(true);
}

void frmTraceAddEdit::Option1_Click()
{
    if (option1_->isChecked()) field(5)->setText(QStringLiteral("e"));
}

void frmTraceAddEdit::Option2_Click()
{
    if (option2_->isChecked()) field(5)->setText(QStringLiteral("10"));
}
