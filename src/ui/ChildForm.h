// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QMdiSubWindow;

// A window that opens inside the main frame (a calculator or a manager). Its
// caption is the window title; the left/top/width/height and state the user
// sees are those of the sub-window that frames it (or of the form itself when
// it stands alone, as in tests).
//
// Life: the frame (or a test) creates it, calls Load() once, which runs
// Form_Load. Closing - the close box, Unload(), or the frame - asks
// Form_QueryUnload (false keeps it open), then runs Form_Unload.
class ChildForm : public QWidget {
    Q_OBJECT
  public:
    explicit ChildForm(QWidget *parent = nullptr);

    void Load();
    bool isLoaded() const { return loaded_; }
    bool isUnloaded() const { return unloaded_; }
    // Closes the window the way the user would; false when Form_QueryUnload refused.
    // With ask false the close question is not put again: the frame asked it
    // through QueryUnload already.
    bool Unload(bool ask = true);
    // The close question alone (Form_QueryUnload); nothing is unloaded. The
    // frame asks every child before it unloads any of them.
    bool QueryUnload();

    // The widget whose geometry and state are the window's: the MDI sub-window when framed.
    QWidget *frameWidget();
    QMdiSubWindow *subWindow() const;

    // The caption, from its source text (marked QT_TR_NOOP in the window's
    // class, or QT_TRANSLATE_NOOP with the class as context): shown in the
    // interface's language, and the settings section its layout is kept under
    // in the program's own words, so that a change of language keeps it.
    void setCaption(const char *source);
    // That section; without setCaption, the caption as shown.
    QString layoutSection() const { return layoutSection_.isEmpty() ? windowTitle() : layoutSection_; }

  signals:
    void unloaded();

  protected:
    virtual void Form_Load() {}
    virtual bool Form_QueryUnload() { return true; }

  public:
    // Whether keeping this window open (its Form_QueryUnload refused) also
    // stops the frame from opening the window it was asked for instead.
    virtual bool RefusalStopsOpening() const { return false; }

  protected:
    virtual void Form_Unload() {}

    void closeEvent(QCloseEvent *event) override;

  private:
    QString layoutSection_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool askOnClose_ = true;
};
