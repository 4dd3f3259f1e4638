// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// About the isotope thermometer: the fractionation equation. Only the close
// box closes it.
class frmIsoAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmIsoAbout(QWidget *parent = nullptr);

    static int ShowModal(QWidget *parent);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};
