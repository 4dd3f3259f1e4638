// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// About the olivine thermometer: what the four inputs mean and the two
// calibrations. Enter closes it.
class frmOlivineAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmOlivineAbout(QWidget *parent = nullptr);

    static int ShowModal(QWidget *parent);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};
