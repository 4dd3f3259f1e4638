#pragma once

#include <QMainWindow>

class QMdiArea;

// The program's frame: every calculator and manager opens inside it.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return mdi_; }

private:
    QMdiArea *mdi_;
};
