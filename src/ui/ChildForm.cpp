// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChildForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiSubWindow>

ChildForm::ChildForm(QWidget *parent) : QWidget(parent) {}

void ChildForm::setCaption(const char *source)
{
    // In a constructor the meta-object is that of the class being built: the
    // context its source text was marked in.
    setWindowTitle(QCoreApplication::translate(metaObject()->className(), source));
    layoutSection_ = QString::fromUtf8(source);
}

void ChildForm::Load()
{
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

QMdiSubWindow *ChildForm::subWindow() const { return qobject_cast<QMdiSubWindow *>(parentWidget()); }

QWidget *ChildForm::frameWidget()
{
    if (QMdiSubWindow *sub = subWindow()) return sub;
    return this;
}

bool ChildForm::Unload(bool ask)
{
    if (unloaded_) return true;
    askOnClose_ = ask;
    frameWidget()->close();
    askOnClose_ = true;
    return unloaded_;
}

bool ChildForm::QueryUnload() { return unloaded_ || Form_QueryUnload(); }

void ChildForm::closeEvent(QCloseEvent *event)
{
    if (unloaded_) {
        event->accept();
        return;
    }
    if (askOnClose_ && !Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    unloaded_ = true;
    event->accept();
    emit unloaded();
}
