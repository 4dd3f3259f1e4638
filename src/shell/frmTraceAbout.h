// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// About the trace-element thermometer: the partition equation. Enter closes it.
class frmTraceAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmTraceAbout(QWidget *parent = nullptr);

    static int ShowModal(QWidget *parent);

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};
