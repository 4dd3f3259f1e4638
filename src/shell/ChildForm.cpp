#include "shell/ChildForm.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

ChildForm::ChildForm(QWidget *parent) : QWidget(parent) {}

void ChildForm::Load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

QMdiSubWindow *ChildForm::subWindow() const {
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

QWidget *ChildForm::frameWidget() {
    if (QMdiSubWindow *sub = subWindow()) return sub;
    return this;
}

bool ChildForm::Unload() {
    if (unloaded_) return true;
    frameWidget()->close();
    return unloaded_;
}

void ChildForm::closeEvent(QCloseEvent *event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    unloaded_ = true;
    event->accept();
    emit unloaded();
}
