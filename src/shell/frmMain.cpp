#include "shell/frmMain.h"

#include "shell/ChildForm.h"
#include "shell/FormFactory.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

class MdiClient : public QMdiArea {
public:
    using QMdiArea::QMdiArea;
};

namespace {
frmMain *g_current = nullptr;
}

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), mdi_(new MdiClient(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Lorvane"));
    setCentralWidget(mdi_);
    resize(6500 / 15, 6500 / 15);
    g_current = this;
}

frmMain::~frmMain()
{
    if (g_current == this) g_current = nullptr;
}

frmMain *frmMain::current() { return g_current; }

QMdiArea *frmMain::mdiArea() const { return mdi_; }

ChildForm *frmMain::loadedForm(const QString &formName) const
{
    ChildForm *form = children_.value(formName);
    return form && !form->isUnloaded() ? form : nullptr;
}

ChildForm *frmMain::ShowForm(const QString &formName)
{
    if (!FormFactory::IsRegistered(formName)) return nullptr;
    if (ChildForm *active = activeChild()) active->Unload();
    if (ChildForm *form = loadedForm(formName)) {
        mdi_->setActiveSubWindow(form->subWindow());
        return form;
    }
    ChildForm *form = FormFactory::Create(formName);
    if (!form) return nullptr;
    QMdiSubWindow *sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    children_.insert(formName, form);
    form->Load();
    sub->show();
    return form;
}

ChildForm *frmMain::activeChild() const
{
    QMdiSubWindow *sub = mdi_->currentSubWindow();
    return sub ? qobject_cast<ChildForm *>(sub->widget()) : nullptr;
}

void frmMain::ChooseBackground() {}
QImage frmMain::backgroundImage() const { return QImage(); }
void frmMain::closeEvent(QCloseEvent *event) { QMainWindow::closeEvent(event); }
QMenu *frmMain::createPopupMenu() { return nullptr; }
void frmMain::MDIForm_Load() {}
bool frmMain::MDIForm_QueryUnload() { return true; }
void frmMain::MDIForm_Unload() {}
void frmMain::buildMenus() {}
void frmMain::buildToolbar() {}
void frmMain::buildStatusBar() {}
void frmMain::updateClock() {}
void frmMain::showHelp() {}
void frmMain::Toolbar1_ButtonClick(QAction *) {}
