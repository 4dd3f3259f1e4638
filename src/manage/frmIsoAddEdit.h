#pragma once

#include "manage/CalibrationEditDialog.h"

class frmIsoMgr;

// The isotope thermometer edit dialog: eight boxes Text1_0 (the isotope type)
// to Text1_7, in add or modify mode, writing into the isotope manager's list.
class frmIsoAddEdit : public CalibrationEditDialog {
    Q_OBJECT
  public:
    explicit frmIsoAddEdit(frmIsoMgr *manager);

  protected:
    QString ownerForNewRow() const override;
};
