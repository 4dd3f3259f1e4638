// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/thermometry/Equations.h"
#include "ui/ChildForm.h"

#include <vector>

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
// the ratio of the two concentrations) into a temperature, at the pressure,
// composition and activities its equation takes.
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
    // The conditions the boxes give. Strict: for the chosen calibration, every box
    // it uses checked, a message and false at the first bad one, the defaulted
    // activities named in *defaults. Lenient: whatever the shown boxes hold.
    struct Inputs {
        TraceEquation::Conditions conditions;
        bool pressure = false, composition = false; // given
    };
    bool ReadConditions(const TraceEquation::Form &form, Inputs *inputs, QStringList *defaults);
    Inputs ShownConditions() const;
    // Shows the boxes the chosen calibration uses, with the names of X and K.
    void ShowConditionBoxes(int row);
    // Fills the last column with each listed calibration's temperature for K.
    void ShowRowTemperatures(float k, const Inputs &inputs);

    float currentConstA_ = 0;
    float currentConstB_ = 0;
    QString currentLogType_;

    // The listed calibrations beyond their shown columns, by the row's position.
    struct Listed {
        TraceEquation::Form form;
        QString xName, kUnit;
    };
    std::vector<Listed> listed_;
    int current_ = -1;

    QToolBar *Toolbar1;
    QComboBox *lst1, *lst2, *lst3;
    QTreeWidget *ListView1;
    QLabel *lblA, *lblB, *Label10, *Label11, *Label13;
    QLineEdit *txtA, *txtB, *txtK, *txtT;
    QLabel *lblKUnit, *lblP, *lblATiO2, *lblASiO2, *lblX;
    QLineEdit *txtP, *txtATiO2, *txtASiO2, *txtX;
    QPushButton *btnCal;
    QStatusBar *StatusBar1;
    QLabel *panel2_;
    QLabel *panel3_; // range notice
};
