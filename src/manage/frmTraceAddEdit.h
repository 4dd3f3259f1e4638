// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "manage/CalibrationEditDialog.h"

class QLineEdit;
class QRadioButton;
class frmTraceMgr;

// The trace-element thermometer edit dialog: Text2_0 (the element) to Text2_6,
// the log type chosen with the options "E" and "10", mirrored in Text2_5; then
// the terms txtC, txtN, txtE, txtF, txtXName, txtNuSiO2, txtNuTiO2 and txtKUnit
// (list columns 8..15), empty for their defaults; then txtSigmaA and txtSigmaB,
// the published σ of A and B (the covariance is not edited here).
class frmTraceAddEdit : public CalibrationEditDialog {
    Q_OBJECT
  public:
    explicit frmTraceAddEdit(frmTraceMgr *manager);

    QRadioButton *Option1() const { return option1_; }
    QRadioButton *Option2() const { return option2_; }
    // The box of term i (0..7, the order of the list's columns).
    QLineEdit *termBox(int i) const;
    // The box of σA (0) or σB (1).
    QLineEdit *sigmaBox(int i) const;
    // The box of the reference's DOI (txtDOI).
    QLineEdit *doiBox() const;

  protected:
    QString ownerForNewRow() const override;
    // n > 0 where C ≠ 0; a name of X where E or F ≠ 0; σ that fit the covariance.
    QLineEdit *crossCheck(QString *message) const override;

  private:
    static constexpr int kValueBoxes = 6;

    void Text2_Change(int index);
    void Option1_Click();
    void Option2_Click();

    QRadioButton *option1_;
    QRadioButton *option2_;
};
