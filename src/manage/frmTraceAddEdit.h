#pragma once

#include "manage/CalibrationEditDialog.h"

class QRadioButton;
class frmTraceMgr;

// The trace-element thermometer edit dialog: Text2_0 (the element) to Text2_6,
// the log type chosen with the options "E" and "10", mirrored in Text2_5.
class frmTraceAddEdit : public CalibrationEditDialog {
    Q_OBJECT
  public:
    explicit frmTraceAddEdit(frmTraceMgr *manager);

    QRadioButton *Option1() const { return option1_; }
    QRadioButton *Option2() const { return option2_; }

  protected:
    QString ownerForNewRow() const override;

  private:
    void Text2_Change(int index);
    void Option1_Click();
    void Option2_Click();

    QRadioButton *option1_;
    QRadioButton *option2_;
};
