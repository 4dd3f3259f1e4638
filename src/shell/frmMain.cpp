// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frmMain.h"

#include "core/base/AppError.h"
#include "core/base/Language.h"
#include "core/base/ProgramFolders.h"
#include "core/base/Twips.h"
#include "shell/frmAbout.h"
#include "ui/ChildForm.h"
#include "ui/Dialogs.h"
#include "ui/FormFactory.h"
#include "ui/FormLayout.h"
#include "ui/ImageList.h"
#include "ui/Launcher.h"
#include "ui/Pictures.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <tuple>

// The client area: the child windows over the background picture, which is
// scaled to the area (the built-in one is drawn at the area's size).
class MdiClient : public QMdiArea {
  public:
    explicit MdiClient(QWidget *parent) : QMdiArea(parent)
    {
        setObjectName(QStringLiteral("MDIClient"));
        // A child larger than the frame (the batch windows are, at first) stays reachable.
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    void setPicture(const QImage &image)
    {
        picture_ = image;
        cache_ = QPixmap();
        viewport()->update();
    }
    QImage picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        const QRect area = viewport()->rect();
        if (cache_.size() != area.size() * devicePixelRatioF()) {
            cache_ = QPixmap(area.size() * devicePixelRatioF());
            cache_.setDevicePixelRatio(devicePixelRatioF());
            QPainter p(&cache_);
            if (picture_.isNull()) {
                Pictures::PaintBackground(p, area);
            } else {
                p.fillRect(area, Qt::white);
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                const QSize scaled = picture_.size().scaled(area.size(), Qt::KeepAspectRatioByExpanding);
                const QRect target(
                    QPoint((area.width() - scaled.width()) / 2, (area.height() - scaled.height()) / 2),
                    scaled);
                p.drawImage(target, picture_);
            }
        }
        QPainter p(viewport());
        p.drawPixmap(0, 0, cache_);
    }

  private:
    QImage picture_;
    QPixmap cache_;
};

namespace {

frmMain *g_current = nullptr;

const QString kSection = QStringLiteral("Settings");

// The child windows of the menus.
struct ChildEntry {
    const char *menuName;
    const char *formName;
};
const ChildEntry kChildEntries[] = {
    {"mnuIsotopeCalculate", "frmCalculateIso"},
    {"mnuIsotopeDBMgr", "frmIsoMgr"},
    {"mnuIsotopeBatch", "frmIsoBatch"},
    {"mnuTraceElementCalculate", "frmCalculateTrace"},
    {"mnuTraceElementDBMgr", "frmTraceMgr"},
    {"mnuTraceElementBatch", "frmTraceBatch"},
    {"mnuOtherOlivine", "frmGLS"},
    {"mnuOtherOlivineLiquid", "frmOlivineLiquid"},
};

// The main window's client area as designed, in twips.
constexpr int kDesignWidth = 11145;
constexpr int kDesignHeight = 7545;

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), mdi_(new MdiClient(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Lorvane"));
    setWindowIcon(Pictures::ProgramIcon());
    setCentralWidget(mdi_);
    resize(Twips::toPx(kDesignWidth), Twips::toPx(kDesignHeight));
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (sub) lastActive_ = sub;
    });

    buildMenus();
    buildToolbar();
    buildStatusBar();
    MDIForm_Load();
    g_current = this;
    FormHost::install(this);
}

frmMain::~frmMain()
{
    if (g_current == this) g_current = nullptr;
}

frmMain *frmMain::current() { return g_current; }

QMdiArea *frmMain::mdiArea() const { return mdi_; }

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto menu = [bar](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto entry = [this](QMenu *m, const char *name, const QString &caption) {
        QAction *a = m->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto separator = [](QMenu *m, const char *name) {
        m->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu *iso = menu("mnuIsotope", tr("同位素温度计(&I)"));
    entry(iso, "mnuIsotopeCalculate", tr("温度计算(&C)"));
    entry(iso, "mnuIsotopeDBMgr", tr("数据库管理(&M)"));
    entry(iso, "mnuIsotopeBatch", tr("批量计算(&B)"));
    QMenu *trace = menu("mnuTraceElement", tr("微量元素温度计(&T)"));
    entry(trace, "mnuTraceElementCalculate", tr("温度计算(&C)"));
    entry(trace, "mnuTraceElementDBMgr", tr("数据库管理(&M)"));
    entry(trace, "mnuTraceElementBatch", tr("批量计算(&B)"));
    QMenu *other = menu("mnuOther", tr("其他(&O)"));
    entry(other, "mnuOtherOlivine", tr("橄榄石温度计"));
    entry(other, "mnuOtherOlivineLiquid", tr("橄榄石-熔体温度计（氧化物）"));

    for (const ChildEntry &child : kChildEntries) {
        QAction *a = findChild<QAction *>(QString::fromLatin1(child.menuName));
        const QString formName = QString::fromLatin1(child.formName);
        // A window that is not part of this build yet cannot be opened.
        a->setEnabled(FormFactory::IsRegistered(formName));
        connect(a, &QAction::triggered, this, [this, formName] {
            // An error a window lets out of its load must not end the program.
            try {
                ShowForm(formName);
            } catch (const AppError &e) {
                MsgBox(this, e.description());
            } catch (const std::exception &e) {
                MsgBox(this, QString::fromLocal8Bit(e.what()));
            }
        });
    }

    QMenu *view = menu("mnuView", tr("视图(&V)"));
    connect(entry(view, "mnuViewBack", tr("背景...")), &QAction::triggered, this, &frmMain::ChooseBackground);
    separator(view, "mnuViewS");
    QAction *viewToolBar = entry(view, "mnuViewToolBar", tr("工具栏(&T)"));
    QAction *viewStatusBar = entry(view, "mnuViewStatusBar", tr("状态栏(&B)"));
    for (QAction *a : {viewToolBar, viewStatusBar}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    // The entry's check mark leads: the bar is shown exactly when it is checked.
    connect(viewToolBar, &QAction::triggered, this, [this](bool on) { toolbar_->setVisible(on); });
    connect(viewStatusBar, &QAction::triggered, this, [this](bool on) { statusBar_->setVisible(on); });
    // In both languages, so that whoever cannot read the one shown finds it.
    separator(view, "mnuViewS2");
    QMenu *language = view->addMenu(QStringLiteral("语言/Language"));
    language->setObjectName(QStringLiteral("mnuViewLanguage"));
    language->menuAction()->setObjectName(QStringLiteral("mnuViewLanguageMenu"));
    auto *languages = new QActionGroup(language);
    const Language::Choice chosen = Language::Stored().value_or(Language::Installed());
    for (const auto &[name, caption, choice] :
         {std::tuple{"mnuLanguageZh", QStringLiteral("中文"), Language::Choice::Chinese},
          std::tuple{"mnuLanguageEn", QStringLiteral("English"), Language::Choice::English}}) {
        QAction *a = entry(language, name, caption);
        a->setCheckable(true);
        a->setChecked(choice == chosen);
        languages->addAction(a);
        connect(a, &QAction::triggered, this,
                [this, languageChoice = choice] { chooseLanguage(languageChoice); });
    }

    QMenu *help = menu("mnuHelp", tr("帮助(&H)"));
    connect(entry(help, "mnuHelpContents", tr("目录(&C)")), &QAction::triggered, this, &frmMain::showHelp);
    connect(entry(help, "mnuHelpSearchForHelpOn", tr("搜索帮助目录(&S)...")), &QAction::triggered, this,
            &frmMain::showHelp);
    separator(help, "mnuHelpBar0");
    connect(entry(help, "mnuHelpAbout", tr("关于(&A)")), &QAction::triggered, this,
            [this] { frmAbout::ShowModal(this); });

    QAction *exit = bar->addAction(tr("退出(&Q)"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

void frmMain::buildToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const std::pair<const char *, QString> buttons[] = {
        {"calculate", tr("计算器")},
        {"notepad", tr("记事本")},
        {"quit", tr("退出")},
    };
    for (const auto &[key, text] : buttons)
        toolbar_->addAction(text)->setObjectName(QString::fromLatin1(key));
    connect(toolbar_, &QToolBar::actionTriggered, this, &frmMain::Toolbar1_ButtonClick);
}

void frmMain::buildStatusBar()
{
    statusBar_ = statusBar();
    statusBar_->setObjectName(QStringLiteral("sbStatusBar"));
    statusBar_->setSizeGripEnabled(true);
    QFont font = statusBar_->font();
    QStringList families = font.families();
    families.prepend(QStringLiteral("Tahoma"));
    font.setFamilies(families);
    statusBar_->setFont(font);

    auto panel = [this](int index, int stretch) {
        auto *label = new QLabel(statusBar_);
        label->setObjectName(QStringLiteral("sbStatusBar_") + QString::number(index));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        if (stretch == 0) {
            label->setMinimumWidth(Twips::toPx(1440));
            label->setAlignment(Qt::AlignCenter);
        }
        statusBar_->addWidget(label, stretch);
        return label;
    };
    panel(1, 1)->setText(tr("状态"));
    datePanel_ = panel(2, 0);
    timePanel_ = panel(3, 0);
    updateClock();
    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &frmMain::updateClock);
    clock_->start();
}

void frmMain::updateClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    datePanel_->setText(now.toString(QStringLiteral("yyyy/M/d")));
    timePanel_->setText(now.toString(QStringLiteral("H:mm:ss")));
}

void frmMain::MDIForm_Load()
{
    ImageList imgToolBar(QSize(24, 24));
    const ImageList all = ToolbarImages();
    for (const char *key : {"notepad", "quit", "calculate"})
        imgToolBar.add(QString::fromLatin1(key), all.icon(QString::fromLatin1(key)));
    mdlFunction::SetToolbarImages(toolbar_, imgToolBar);

    // A stored frame that no screen can show (lost off every screen, or far too
    // large to paint) gives way to the defaults.
    const mdlFunction::StoredRect stored =
        mdlFunction::ReadStoredRect(kSection, QStringLiteral("MainLeft"), QStringLiteral("MainTop"),
                                    QStringLiteral("MainWidth"), QStringLiteral("MainHeight"));
    // Without one: the designed client area, centred on the screen (and no
    // larger than it). A stored value that cannot be used falls back to the same.
    const QRect area = mdlFunction::AvailableArea(this);
    QSize design(Twips::toPx(kDesignWidth), Twips::toPx(kDesignHeight));
    if (!area.isEmpty()) design = design.boundedTo(area.size());
    const QPoint centred = area.isEmpty() ? QPoint(0, 0)
                                          : area.topLeft() + QPoint((area.width() - design.width()) / 2,
                                                                    (area.height() - design.height()) / 2);
    if (!stored.left && !stored.top && !stored.width && !stored.height) {
        resize(design);
        move(centred);
        wantedSize_ = QSize();
        return;
    }
    const QRect usable = mdlFunction::UsableRect(stored, QRect(centred, design), area);
    wantedSize_ = usable.size();
    move(usable.topLeft());
    applyOuterSize();
}

// The stored size is the outer one, frame included; the frame is known only
// once the window is on the screen, so the size is applied again then.
void frmMain::applyOuterSize()
{
    if (!wantedSize_.isValid()) return;
    const QSize frame = frameGeometry().size() - size();
    resize((wantedSize_ - frame).expandedTo(QSize(1, 1)));
    appliedSize_ = size();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        QTimer::singleShot(0, this, [this] {
            // Unless someone resized the window in between.
            if (size() == appliedSize_ && frameGeometry().size() != size()) applyOuterSize();
            wantedSize_ = QSize();
        });
    }
}

bool frmMain::MDIForm_QueryUnload()
{
    return Dialogs::instance().message(this, tr("确认要退出系统吗?"), tr("提示"), Dialogs::Buttons::YesNo,
                                       Dialogs::Icon::Information) == Dialogs::Answer::Yes;
}

void frmMain::MDIForm_Unload()
{
    // A minimised window's position means nothing at the next start.
    if (isMinimized()) return;
    QRect outer = frameGeometry();
    // Closed maximised: the size it had before, which the next start shows as
    // a normal window (the maximised frame can reach past the screen's edges).
    if (isMaximized() || isFullScreen()) {
        const QRect normal = normalGeometry();
        if (normal.isValid() && !normal.isEmpty()) {
            const QMargins frame(geometry().left() - outer.left(), geometry().top() - outer.top(),
                                 outer.right() - geometry().right(), outer.bottom() - geometry().bottom());
            outer = normal.marginsAdded(frame);
        }
    }
    mdlFunction::StorePixels(kSection, QStringLiteral("MainLeft"), outer.x());
    mdlFunction::StorePixels(kSection, QStringLiteral("MainTop"), outer.y());
    mdlFunction::StorePixels(kSection, QStringLiteral("MainWidth"), outer.width());
    mdlFunction::StorePixels(kSection, QStringLiteral("MainHeight"), outer.height());
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (closing_) {
        event->ignore();
        return;
    }
    closing_ = true;
    const bool done = closeAll();
    closing_ = false;
    if (!done) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

// The exit question, then every child's own close logic; false when the user
// or a child stopped the closing. Every child is asked before any is unloaded,
// so one that refuses keeps all of them open.
bool frmMain::closeAll()
{
    if (!MDIForm_QueryUnload()) return false;
    const QList<QMdiSubWindow *> subs = mdi_->subWindowList();
    for (QMdiSubWindow *sub : subs) {
        auto *form = qobject_cast<ChildForm *>(sub->widget());
        if (form && !form->QueryUnload()) return false;
    }
    for (QMdiSubWindow *sub : subs) {
        auto *form = qobject_cast<ChildForm *>(sub->widget());
        const bool closed = form ? form->Unload(false) : sub->close();
        if (!closed) return false;
    }
    return true;
}

QMenu *frmMain::createPopupMenu()
{
    // The bars are switched from the view menu only, so its check marks stay true.
    return nullptr;
}

void frmMain::showHelp()
{
    // The guide in the interface's language, else the other one.
    const QString folder = ProgramFolders::GuideFolder();
    const Language::Choice shown = Language::Installed();
    const Language::Choice other =
        shown == Language::Choice::Chinese ? Language::Choice::English : Language::Choice::Chinese;
    for (const Language::Choice choice : {shown, other}) {
        const QString guide = Language::GuideFile(folder, choice);
        if (QFileInfo(guide).isFile()) {
            Launcher::OpenDocument(this, guide);
            return;
        }
    }
    MsgBox(this, tr("无法显示帮助目录，该工程没有相关联的帮助。"), Dialogs::Buttons::Ok,
           Dialogs::Icon::Information, windowTitle());
}

void frmMain::chooseLanguage(Language::Choice choice)
{
    Language::Store(choice);
    if (choice == Language::Installed()) return;
    // Said in the language chosen as well as the one shown.
    MsgBox(this,
           QStringLiteral(
               "界面语言将在下次启动时更改。\nThe language of the interface changes at the next start."),
           Dialogs::Buttons::Ok, Dialogs::Icon::Information, windowTitle());
}

void frmMain::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    if (key == QLatin1String("calculate"))
        Launcher::StartCalculator(this);
    else if (key == QLatin1String("notepad"))
        Launcher::StartEditor(this);
    else if (key == QLatin1String("quit"))
        close();
}

void frmMain::ChooseBackground()
{
    Dialogs::FileRequest request;
    request.title = tr("选择背景图片");
    request.initialDir = ProgramFolders::PictureFolder();
    request.filter = tr("位图(*.bmp)|*.bmp|GIF图像(*.gif)|*.gif|JPEG图像(*.jpg)|*.jpg");
    request.filterIndex = 1;
    const Dialogs::FileResult chosen = Dialogs::instance().openFile(this, request);
    if (chosen.cancelled) return;
    const QImage picture(chosen.fileName);
    // Not a picture: the background stays, and nothing is said.
    if (picture.isNull()) return;
    mdi_->setPicture(picture);
}

QImage frmMain::backgroundImage() const { return mdi_->picture(); }

ChildForm *frmMain::loadedForm(const QString &formName) const
{
    ChildForm *form = children_.value(formName);
    return form && !form->isUnloaded() ? form : nullptr;
}

ChildForm *frmMain::activeChild() const
{
    QMdiSubWindow *sub = mdi_->currentSubWindow();
    if (!sub) sub = lastActive_;
    if (!sub || !mdi_->subWindowList().contains(sub)) return nullptr;
    auto *form = qobject_cast<ChildForm *>(sub->widget());
    return form && !form->isUnloaded() ? form : nullptr;
}

ChildForm *frmMain::ShowForm(const QString &formName, bool closeActive)
{
    if (!FormFactory::IsRegistered(formName)) return nullptr;

    // The active child goes first, with its own close logic. When it refuses
    // (a manager whose user keeps the unsaved rows) the requested window still
    // opens, unless the child says its refusal keeps the others out (a batch
    // window whose user keeps the work is where the user stays).
    if (ChildForm *active = closeActive ? activeChild() : nullptr)
        if (!active->Unload() && active->RefusalStopsOpening()) return nullptr;

    if (ChildForm *form = loadedForm(formName)) {
        QMdiSubWindow *sub = form->subWindow();
        if (sub) {
            sub->show();
            sub->raise();
            mdi_->setActiveSubWindow(sub);
        }
        return form;
    }

    ChildForm *form = FormFactory::Create(formName);
    if (!form) return nullptr;
    if (form->objectName().isEmpty()) form->setObjectName(formName);
    const QSize design = form->testAttribute(Qt::WA_Resized) ? form->size() : form->sizeHint();
    QMdiSubWindow *sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(formName + QStringLiteral("_frame"));
    sub->setWindowIcon(form->windowIcon().isNull() ? windowIcon() : form->windowIcon());
    const QMargins frame = sub->contentsMargins();
    sub->resize(design.grownBy(frame));
    children_.insert(formName, form);

    form->Load();
    sub->show();
    if (!form->isUnloaded()) mdi_->setActiveSubWindow(sub);
    return form;
}
