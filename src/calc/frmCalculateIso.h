// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/store/CalibrationLibrary.h"
#include "core/store/clsIsoplotItems.h"
#include "ui/ChildForm.h"

#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// Isotope thermometer: type, mineral A and mineral B narrow the calibrations;
// the chosen one turns two δ values into a temperature, or (oxygen, mineral B
// water) a temperature and δA into the δ of the water.
class frmCalculateIso : public ChildForm {
    Q_OBJECT
  public:
    explicit frmCalculateIso(QWidget *parent = nullptr);
    ~frmCalculateIso() override;

  protected:
    void Form_Load() override;
    void Form_Unload() override;

  private:
    void lst1_Click();
    void lst2_Click();
    void lst3_Click();
    void ListView1_ItemClick(QTreeWidgetItem *item);
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Toolbar1_ButtonClick(QAction *button);

    void LoadIsotopeTypes();
    void LoadMinerals(const QString &typeName, const QString &mineralA);
    void ShowThermometers();
    void ShowParameters(float a, float b, float c, const QString &separator, const QString &terminator);
    void SetModeOptions(bool enable);
    bool ValidateInputs();
    void clearValues();
    // Fills the last column with each listed calibration's temperature for Δ.
    void ShowRowTemperatures(float delta);

    std::unique_ptr<clsIsoplotItems> catalogue_;
    // The rows and derived pairs, read when mineral A is chosen and kept for its mineral B list and rows.
    std::shared_ptr<const Batch::Library> library_;
    float currentA_ = 0;
    float currentB_ = 0;
    float currentC_ = 0;

    QToolBar *Toolbar1;
    QComboBox *lst1, *lst2, *lst3;
    QTreeWidget *ListView1;
    QGroupBox *Frame1;
    QRadioButton *Option1, *Option2;
    QLabel *Label7, *Label8, *lbMinA, *lbMinB, *Label5, *Label6, *Label4, *Label15;
    QLineEdit *txtMinAValue, *txtMinBValue, *txtT;
    QPushButton *Command1;
    QStatusBar *StatusBar1;
    QLabel *panel2_;
    QLabel *panel3_; // range notice
};
