// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/frmIsoAddEdit.h"

#include "core/base/Twips.h"
#include "core/store/CoefficientCovariance.h"
#include "manage/frmIsoMgr.h"
#include "ui/FormBuilder.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

using FormBuilder::place;

namespace {
constexpr int kFirstSigma = 10; // the box of σA: after the row's seven, the dataset and the DOI
} // namespace

frmIsoAddEdit::frmIsoAddEdit(frmIsoMgr *manager)
    : CalibrationEditDialog(manager,
                            Rules{tr("同位素温度计"),
                                  QStringLiteral("fraIsotope"),
                                  QStringLiteral("Text1"),
                                  7,
                                  {1, 2},
                                  {3, 4, 5},
                                  true,
                                  {{QStringLiteral("txtDataset"), frmIsoMgr::kDatasetColumn, false},
                                   {QStringLiteral("txtDOI"), frmIsoMgr::kDoiColumn, false},
                                   {QStringLiteral("txtSigmaA"), frmIsoMgr::kErrorColumn, true},
                                   {QStringLiteral("txtSigmaB"), frmIsoMgr::kErrorColumn + 1, true},
                                   {QStringLiteral("txtSigmaC"), frmIsoMgr::kErrorColumn + 2, true}}})
{
    setObjectName(QStringLiteral("frmIsoAddEdit"));
    setFixedSize(Twips::toPx(9075), Twips::toPx(3795));
    place(frame(), 120, 195, 7500, 3465);

    struct Box {
        const char *label;
        const char *text;
        int labelLeft, labelTop, left, top, width, height;
    };
    static const Box boxes[] = {
        // The eight boxes of the row, then the dataset and the σ of A, B and C.
        {"Label1", QT_TRANSLATE_NOOP("frmIsoAddEdit", "同位素"), 375, 450, 1080, 375, 1500, 390},
        {"Label2", QT_TRANSLATE_NOOP("frmIsoAddEdit", "矿物A"), 2850, 450, 3495, 375, 1500, 390},
        {"Label3", QT_TRANSLATE_NOOP("frmIsoAddEdit", "矿物B"), 5220, 450, 5820, 360, 1500, 390},
        {"Label4", QT_TRANSLATE_NOOP("frmIsoAddEdit", "常数A"), 375, 930, 1080, 870, 1500, 390},
        {"Label5", QT_TRANSLATE_NOOP("frmIsoAddEdit", "常数B"), 2865, 945, 3480, 870, 1500, 390},
        {"Label6", QT_TRANSLATE_NOOP("frmIsoAddEdit", "常数C"), 5205, 945, 5835, 870, 1500, 390},
        {"Label7", QT_TRANSLATE_NOOP("frmIsoAddEdit", "适用范围"), 240, 1440, 1080, 1380, 6255, 390},
        {"Label8", QT_TRANSLATE_NOOP("frmIsoAddEdit", "资料来源"), 255, 1920, 1095, 1845, 6255, 390},
        {"lblDataset", QT_TRANSLATE_NOOP("frmIsoAddEdit", "数据集"), 375, 2400, 1095, 2325, 2700, 390},
        {"lblDOI", "DOI", 3945, 2400, 4470, 2325, 2880, 390},
        {"lblSigmaA", "σA", 375, 2880, 1080, 2805, 1500, 390},
        {"lblSigmaB", "σB", 2865, 2880, 3480, 2805, 1500, 390},
        {"lblSigmaC", "σC", 5205, 2880, 5835, 2805, 1500, 390},
    };
    for (int i = 0; i < 13; ++i) {
        const Box &b = boxes[i];
        auto *label = new QLabel(QCoreApplication::translate("frmIsoAddEdit", b.text), frame());
        label->setObjectName(QString::fromLatin1(b.label));
        label->adjustSize();
        label->move(Twips::toPx(b.labelLeft), Twips::toPx(b.labelTop));
        place(field(i), b.left, b.top, b.width, b.height);
    }
    place(Command1(), 7725, 1680, 1215, 405);
    place(Command2(), 7740, 2295, 1215, 405);

    // Tab order: the values, the two buttons, then the locked type box.
    for (int i = 1; i < 12; ++i) setTabOrder(field(i), field(i + 1));
    setTabOrder(field(12), Command1());
    setTabOrder(Command1(), Command2());
    setTabOrder(Command2(), field(0));
}

QString frmIsoAddEdit::ownerForNewRow() const { return manager()->currentOwner(); }

QLineEdit *frmIsoAddEdit::crossCheck(QString *message) const
{
    // The σ typed with the covariances the row holds.
    QStringList error;
    for (int i = 0; i < 3; ++i) error << field(kFirstSigma + i)->text();
    for (int i = 3; i < CoefficientCovariance::FieldCount(3); ++i)
        error << rowText(frmIsoMgr::kErrorColumn + i);
    const CoefficientCovariance::Check check = CoefficientCovariance::Examine(error, 3);
    if (check.problem == CoefficientCovariance::Problem::None) return nullptr;
    *message = CoefficientCovariance::Message(check.problem);
    return field(kFirstSigma + std::min(check.field, 2));
}
