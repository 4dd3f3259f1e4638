#pragma once

#include "ui/ChildForm.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// Trace-element thermometer: element, mineral A and mineral B narrow the
// calibrations; the chosen one turns the partition coefficient K (typed, or
// the ratio of the two concentrations) into a temperature.
class frmCalculateTrace : public ChildForm {
    Q_OBJECT
  public:
    explicit frmCalculateTrace(QWidget *parent = nullptr);

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void lst1_Click();
    void lst2_Click();
    void lst3_Click();
    void ListView1_ItemClick(QTreeWidgetItem *item);
    void btnCal_Click();
    void Toolbar1_ButtonClick(QAction *button);

    bool ValidateInput();
    void LoadSelectionList(const QString &element, const QString &mineralA);
    void ClearResults();
    void LoadThermometers();
    // Fills the last column with each listed calibration's temperature for K.
    void ShowRowTemperatures(float k);

    float currentConstA_ = 0;
    float currentConstB_ = 0;
    QString currentLogType_;

    QToolBar *Toolbar1;
    QComboBox *lst1, *lst2, *lst3;
    QTreeWidget *ListView1;
    QLabel *lblA, *lblB, *Label10, *Label11, *Label13;
    QLineEdit *txtA, *txtB, *txtK, *txtT;
    QPushButton *btnCal;
    QStatusBar *StatusBar1;
    QLabel *panel2_;
    QLabel *panel3_; // range notice
};
