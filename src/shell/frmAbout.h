// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPushButton;

// About the program: version, maintainer, thanks. OK is both the default and
// the cancel button, so Enter and Esc close it.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Shows the window modally, owned by parent, through the dialogs service.
    static int ShowModal(QWidget *parent);

  protected:
    void keyPressEvent(QKeyEvent *event) override;

  private slots:
    void cmdOK_Click();

  private:
    QPushButton *cmdOK_;
};
