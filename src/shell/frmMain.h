// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/Language.h"

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include "ui/FormHost.h"

class ChildForm;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QMdiSubWindow;
class QStatusBar;
class QTimer;
class QToolBar;
class MdiClient;

// The program's frame: every calculator and manager opens inside it. Menus,
// the toolbar with the calculator, editor and exit, the status bar with date
// and time, a background picture, and its own position in section "Settings".
class frmMain : public QMainWindow, public FormHost {
    Q_OBJECT
  public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The running main window, or nullptr.
    static frmMain *current();

    QMdiArea *mdiArea() const;

    // The form host's contract (ui/FormHost.h): the active child is unloaded
    // first unless closeActive is false, then the window is created and loaded
    // or brought to the front.
    ChildForm *ShowForm(const QString &formName, bool closeActive = true) override;
    // The loaded child of that name, or nullptr.
    ChildForm *loadedForm(const QString &formName) const;

    // The open-file dialog of the background picture; a cancelled dialog or a
    // file that is not a picture leaves the background as it is.
    void ChooseBackground();
    // The picture behind the child windows; a null image means the built-in one.
    QImage backgroundImage() const;

    // No context menu on the bars: they are switched from the view menu only.
    QMenu *createPopupMenu() override;

  protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    void MDIForm_Load();
    bool MDIForm_QueryUnload();
    void MDIForm_Unload();
    bool closeAll();
    void applyOuterSize();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void updateClock();
    void showHelp();
    void chooseLanguage(Language::Choice choice);
    void Toolbar1_ButtonClick(QAction *button);
    ChildForm *activeChild() const;

    MdiClient *mdi_;
    QToolBar *toolbar_ = nullptr;
    QStatusBar *statusBar_ = nullptr;
    QLabel *datePanel_ = nullptr;
    QLabel *timePanel_ = nullptr;
    QTimer *clock_ = nullptr;
    QHash<QString, QPointer<ChildForm>> children_;
    QPointer<QMdiSubWindow> lastActive_;
    QSize wantedSize_;
    QSize appliedSize_;
    bool shownOnce_ = false;
    bool closing_ = false;
};
