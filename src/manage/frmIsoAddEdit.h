// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "manage/CalibrationEditDialog.h"

class frmIsoMgr;

// The isotope thermometer edit dialog: eight boxes Text1_0 (the isotope type)
// to Text1_7, in add or modify mode, writing into the isotope manager's list;
// below them the dataset (txtDataset), the source's DOI (txtDOI) and the σ of the three constants
// (txtSigmaA, txtSigmaB, txtSigmaC). The covariances are not edited here: they
// come with an import or the library, and the σ typed must fit them.
class frmIsoAddEdit : public CalibrationEditDialog {
    Q_OBJECT
  public:
    explicit frmIsoAddEdit(frmIsoMgr *manager);

  protected:
    QString ownerForNewRow() const override;
    QLineEdit *crossCheck(QString *message) const override;
};
