// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ChildForm.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolBar;
class QTreeWidget;
class QWidget;

// Olivine-melt thermometer: a list of samples (XFo, XFa of the olivine, XMg,
// XFe of the melt) and a temperature in kelvin for each, for ultramafic or
// mafic rocks. The list can be read from and written to delimited text files.
class frmGLS : public ChildForm {
    Q_OBJECT
  public:
    explicit frmGLS(QWidget *parent = nullptr);

    // Computes every row's temperature with the chosen rock type.
    void CalculateAll();

  protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    bool ValidateInputs();
    void AddRow();
    void ListView1_KeyDown(int keyCode);
    void Toolbar1_ButtonClick(QAction *button);
    void Toolbar1_ButtonMenuClick(QAction *item);
    void ImportList();
    void ExportList();

    int filterIndex_ = 1; // the file dialog's filter index, kept between uses

    QToolBar *Toolbar1;
    QMenu *dataMenu_;
    QWidget *Picture1;
    QRadioButton *Option1, *Option2;
    QPushButton *Command1;
    QGroupBox *Frame1;
    QLabel *Label1, *Label2, *Label3, *Label4;
    QLineEdit *Text1[4];
    QPushButton *Command2;
    QTreeWidget *ListView1;
};
