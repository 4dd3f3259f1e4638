// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/CalibrationManager.h"

#include "ui/Fonts.h"

#include "core/base/AppError.h"
#include "core/base/Twips.h"
#include "core/database/Connection.h"
#include "core/database/SharedConnection.h"
#include "core/store/CalibrationSave.h"
#include "core/store/CoefficientCovariance.h"
#include "core/store/RowKey.h"
#include "core/store/SaveOutcome.h"
#include "manage/CalibrationExport.h"
#include "manage/CalibrationImport.h"
#include "manage/PendingRows.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormBuilder.h"
#include "ui/FormLayout.h"
#include "ui/ImageList.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QTreeWidget>

using FormBuilder::place;

namespace {

QString treeQuestion() { return CalibrationManager::tr("当前修改未保存，立即保存？"); }
QString closeQuestion() { return CalibrationManager::tr("修改尚未保存,立即保存？"); }
QString notice() { return CalibrationManager::tr("提示"); }

// Design sizes shared by both managers (twips).
constexpr int kClientWidth = 10785;
constexpr int kClientHeight = 7080;
constexpr int kResizeWidth = 10755;
constexpr int kFilterMargin = 240;

QFont managerFont() { return Fonts::uiFont(9); }

// Columns 2 to 6 are centred, and a manager's own columns that ask for it; the
// icon column and the texts stay left.
class ColumnAlignment : public QStyledItemDelegate {
  public:
    ColumnAlignment(QList<int> centred, QObject *parent)
        : QStyledItemDelegate(parent), centred_(std::move(centred))
    {
    }

  protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool centred = centred_.contains(index.column());
        option->displayAlignment = (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
    }

  private:
    QList<int> centred_;
};

} // namespace

Connection &CalibrationManager::db()
{
    Connection *conn = mdlFunction::adoConn();
    if (!conn) throw AppError(3704, QStringLiteral("CalibrationManager"), tr("对象关闭时，不允许操作。"));
    return *conn;
}

CalibrationManager::CalibrationManager(Design design, QWidget *parent)
    : ChildForm(parent), design_(std::move(design))
{
    setObjectName(design_.formName);
    setWindowTitle(design_.caption);
    setFont(managerFont());
    resize(Twips::toPx(kClientWidth), Twips::toPx(kClientHeight));

    buildList();
    buildLeftPanel();
    buildToolbar();
    buildFilterPanel();
}

void CalibrationManager::buildToolbar()
{
    const QString separator;
    toolbar_ = FormBuilder::makeToolbar(this,
                                        {{QStringLiteral("new"), tr("增加")},
                                         {QStringLiteral("modify"), tr("修改")},
                                         {QStringLiteral("delete"), tr("删除")},
                                         {separator, separator},
                                         {QStringLiteral("refresh"), tr("刷新")},
                                         {QStringLiteral("filter"), tr("筛选")},
                                         {separator, separator},
                                         {QStringLiteral("import"), tr("导入")},
                                         {QStringLiteral("export"), tr("导出")},
                                         {QStringLiteral("save"), tr("保存")},
                                         {separator, separator},
                                         {QStringLiteral("close"), tr("关闭")}},
                                        FormBuilder::ToolbarLook::TextBeside);
    place(toolbar_, QRect(0, 0, kClientWidth, 375));
    action(QStringLiteral("filter"))->setCheckable(true);
    action(QStringLiteral("save"))->setToolTip(tr("保存至数据库"));
    connect(toolbar_, &QToolBar::actionTriggered, this,
            [this](QAction *button) { Toolbar1_ButtonClick(button); });
}

void CalibrationManager::buildFilterPanel()
{
    filterPanel_ = new QWidget(this);
    filterPanel_->setObjectName(QStringLiteral("Picture1"));
    filterPanel_->setAutoFillBackground(true);
    place(filterPanel_, design_.filterPanel);

    filterText_ = new QLineEdit(tr("请输入矿物"), filterPanel_);
    filterText_->setObjectName(QStringLiteral("Text1"));
    place(filterText_, QRect(60, 15, 1260, 345));

    filterButton_ = new QPushButton(tr("查"), filterPanel_);
    filterButton_->setObjectName(QStringLiteral("Command1"));
    place(filterButton_, QRect(1410, 15, 360, 315));
    connect(filterButton_, &QPushButton::clicked, this, [this] { Command1_Click(); });

    filterPanel_->hide();
    filterPanel_->raise(); // it lies over the right end of the toolbar
}

void CalibrationManager::buildLeftPanel()
{
    picLeft_ = new QWidget(this);
    picLeft_->setObjectName(QStringLiteral("picLeft"));
    picLeft_->setAutoFillBackground(true);
    picLeft_->setBackgroundRole(QPalette::Window);
    place(picLeft_, QRect(0, 360, 2520, 6675));

    auto label = [this](const char *name, const QString &text, const QRect &at) {
        auto *l = new QLabel(text, picLeft_);
        l->setObjectName(QString::fromLatin1(name));
        place(l, at);
        return l;
    };
    label("Label2", tr("统计信息"), QRect(510, 315, 1335, 255));
    label("lblCur", tr("当前记录："), QRect(690, 795, 975, 255));
    // The count runs to the panel's edge: at 975 twips a total of three digits or more was cut off.
    lblTotal_ = label("lblTotal", tr("总记录："), QRect(675, 1140, 2520 - 675, 255));
    label("Label3", tr("浏览"), QRect(510, 2190, 1110, 255));
    ownerLabel_ = new QLabel(picLeft_);
    ownerLabel_->setObjectName(design_.ownerLabelName);
    place(ownerLabel_, design_.ownerLabel);

    tree_ = new QTreeWidget(picLeft_);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    place(tree_, design_.tree);
    connect(tree_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *node) { TreeView1_NodeClick(node); });
    tree_->installEventFilter(this);
}

void CalibrationManager::buildList()
{
    QList<int> widths{400};
    for (int c = 1; c <= kValueColumns; ++c) widths << 1440;
    QStringList headers{QString(),           tr("矿物A"),           tr("矿物B"),    QStringLiteral("A"),
                        QStringLiteral("B"), design_.column6Header, tr("适用范围"), tr("资料来源")};
    QList<int> centred{1, 2, 3, 4, 5};
    for (int i = 0; i < design_.extraColumns.size(); ++i) {
        const ExtraColumn &extra = design_.extraColumns.at(i);
        headers << extra.header;
        widths << extra.width;
        if (extra.centred) centred << kValueColumns + 1 + i;
    }
    list_ = FormBuilder::makeReportList(this, headers, widths);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setIconSize(QSize(16, 16));
    list_->setItemDelegate(new ColumnAlignment(centred, list_));
    place(list_, design_.list);

    QTreeWidgetItem *header = list_->headerItem();
    for (int c : centred) header->setTextAlignment(c, Qt::AlignCenter);
    list_->header()->setSectionsClickable(true);
    list_->header()->setSortIndicatorShown(false);
    connect(list_->header(), &QHeaderView::sectionClicked, this,
            [this](int index) { ListView1_ColumnClick(index + 1); });
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
}

QAction *CalibrationManager::action(const QString &key) const
{
    return toolbar_->findChild<QAction *>(key, Qt::FindDirectChildrenOnly);
}

QString CalibrationManager::currentOwner() const { return ownerLabel_->text(); }

void CalibrationManager::setCurrentOwner(const QString &owner)
{
    if (ownerLabel_->text() == owner) return;
    ownerLabel_->setText(owner);
    setImportEnabled(true); // the label's change: from now on there is a type to import into
}

void CalibrationManager::setPending(bool value)
{
    pending_ = value;
    action(QStringLiteral("save"))->setEnabled(value);
}

bool CalibrationManager::hasPendingRows(const QString &owner) const
{
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list_->topLevelItem(i);
        const QString state = PendingRows::State(row);
        if (state != PendingRows::kAdd && state != PendingRows::kEdit) continue;
        QString rowOwner = row->data(0, OwnerRole).toString();
        if (rowOwner.isEmpty()) rowOwner = currentOwner();
        if (rowOwner == owner) return true;
    }
    return false;
}

void CalibrationManager::setImportEnabled(bool value) { action(QStringLiteral("import"))->setEnabled(value); }

QTreeWidgetItem *CalibrationManager::selectedRow() const
{
    for (QTreeWidgetItem *row : list_->selectedItems())
        if (!row->isHidden()) return row;
    return nullptr;
}

// ---- loading -------------------------------------------------------------

void CalibrationManager::Form_Load()
{
    static const ImageList rowImages = RowImages();
    PendingRows::setIconProvider([](const QString &key) { return rowImages.icon(key); });
    mdlFunction::SetToolbarImages(toolbar_, ToolbarImages());
    // The pictures are 24 px; at 16 px the captions fit beside them in the design height.
    toolbar_->setIconSize(QSize(16, 16));
    mdlFunction::LoadFormLayout(this);
    setImportEnabled(false);
    setPending(false);
    Guarded(this, [this] { LoadTree(); });
    Form_Resize();
}

void CalibrationManager::LoadTree()
{
    tree_->clear();
    fillTree(ownerNames());
    selectOwnerNode();
}

void CalibrationManager::fillTree(const QStringList &names)
{
    QList<QTreeWidgetItem *> nodes;
    nodes.reserve(names.size());
    for (const QString &name : names) nodes << new QTreeWidgetItem(QStringList{name});
    tree_->addTopLevelItems(nodes);
}

bool CalibrationManager::isListingNode(const QTreeWidgetItem *) const { return true; }

void CalibrationManager::LoadRecords(const QString &owner, const QString &minA, const QString &minB)
{
    const QList<QTreeWidgetItem *> rows = queryRows(owner, minA, minB);
    list_->setUpdatesEnabled(false);
    list_->clear();
    PendingRows::AppendRows(list_, rows);
    list_->setUpdatesEnabled(true);
}

void CalibrationManager::showTotal() { lblTotal_->setText(tr("总记录：%1").arg(list_->topLevelItemCount())); }

// The tree shows the node of the current type or element as selected, so that
// a cancelled click does not leave another node looking chosen.
void CalibrationManager::selectOwnerNode()
{
    const QString owner = currentOwner();
    QTreeWidgetItem *match = nullptr;
    if (!owner.isEmpty()) {
        const QList<QTreeWidgetItem *> found =
            tree_->findItems(owner, Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive);
        for (QTreeWidgetItem *node : found)
            if (isListingNode(node)) {
                match = node;
                break;
            }
    }
    const QSignalBlocker block(tree_);
    tree_->clearSelection();
    if (match) {
        tree_->setCurrentItem(match);
        match->setSelected(true);
    } else {
        tree_->setCurrentItem(nullptr);
    }
}

bool CalibrationManager::settlePending(const QString &question, bool reloads)
{
    if (!pending_) return true;
    switch (MsgBox(this, question, Dialogs::Buttons::YesNoCancel, Dialogs::Icon::Question, notice())) {
    case Dialogs::Answer::Yes:
        SaveChanges();
        // Rows that could not be stored stay in view with their marks instead of being dropped.
        return !pending_;
    case Dialogs::Answer::No:
        // The pending rows go only with a list that is reloaded; a list that
        // stays keeps them pending, and the next question is asked again.
        if (reloads) setPending(false);
        return true;
    default: return false;
    }
}

void CalibrationManager::TreeView1_NodeClick(QTreeWidgetItem *node)
{
    if (!node || inNodeClick_) return;
    inNodeClick_ = true;
    Guarded(this, [this, node] {
        if (!settlePending(treeQuestion(), isListingNode(node))) {
            selectOwnerNode();
            return;
        }
        if (isListingNode(node)) {
            const QString owner = node->text(0);
            setCurrentOwner(owner);
            LoadRecords(owner, QString(), QString());
        }
        showTotal();
    });
    inNodeClick_ = false;
}

void CalibrationManager::RefreshList()
{
    if (currentOwner().isEmpty()) return;
    if (!settlePending(treeQuestion())) return;
    LoadRecords(currentOwner(), QString(), QString());
}

// ---- filter and sort -----------------------------------------------------

void CalibrationManager::Command1_Click()
{
    const QString wanted = filterText_->text().trimmed();
    list_->setUpdatesEnabled(false);
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list_->topLevelItem(i);
        const bool hide = !wanted.isEmpty() && row->text(1) != wanted && row->text(2) != wanted;
        row->setHidden(hide);
        if (hide && row->isSelected()) row->setSelected(false);
    }
    list_->setUpdatesEnabled(true);
}

void CalibrationManager::ListView1_ColumnClick(int column)
{
    if (column != 2 && column != 3) return;
    sortAscending_ = !sortAscending_;
    list_->sortItems(column - 1, sortAscending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

// ---- add, modify, delete -------------------------------------------------

void CalibrationManager::NewRecord()
{
    if (!mayAddRecord()) return;
    openEditor(true);
}

void CalibrationManager::ModifyRecord()
{
    if (!selectedRow()) return;
    openEditor(false);
}

void CalibrationManager::ListView1_DblClick()
{
    if (list_->topLevelItemCount() > 0) ModifyRecord();
}

QTreeWidgetItem *CalibrationManager::appendNewRow(const QStringList &values, const QString &owner)
{
    QTreeWidgetItem *row =
        PendingRows::AppendRow(list_, values, QString(), PendingRows::kAdd, PendingRows::kAdd);
    row->setData(0, OwnerRole, owner);
    list_->clearSelection();
    list_->setCurrentItem(row);
    row->setSelected(true);
    list_->scrollToItem(row);
    return row;
}

void CalibrationManager::reviseRow(QTreeWidgetItem *row, const QStringList &values)
{
    for (int c = 0; c < values.size(); ++c) row->setText(c + 1, values.at(c));
    if (PendingRows::State(row) == PendingRows::kAdd) {
        PendingRows::SetIcon(row, PendingRows::kAdd);
    } else {
        PendingRows::SetIcon(row, PendingRows::kEdit);
        PendingRows::SetState(row, PendingRows::kEdit);
    }
    // A changed row is no longer the one whose save failed.
    PendingRows::SetToolTip(row, QString());
}

void CalibrationManager::DeleteRecord()
{
    QTreeWidgetItem *row = selectedRow();
    if (!row) return;
    const QString state = PendingRows::State(row);
    bool remove = false;
    if (state == PendingRows::kAdd) {
        remove = true;
    } else if (state == PendingRows::kOk || state == PendingRows::kEdit) {
        const int32_t id = RowKeyId(PendingRows::Key(row));
        switch (deleteStored(id)) {
        case 0: remove = true; break;
        case 1: MsgBox(this, design_.deleteMissing); break;
        case 2: MsgBox(this, design_.deleteFailed); break;
        default: break;
        }
    }
    if (remove) {
        const int at = list_->indexOfTopLevelItem(row);
        delete row;
        // The row that takes its place becomes the selected one.
        QTreeWidgetItem *next = nullptr;
        for (int i = at; i < list_->topLevelItemCount() && !next; ++i)
            if (!list_->topLevelItem(i)->isHidden()) next = list_->topLevelItem(i);
        for (int i = at - 1; i >= 0 && !next; --i)
            if (!list_->topLevelItem(i)->isHidden()) next = list_->topLevelItem(i);
        list_->clearSelection();
        if (next) {
            list_->setCurrentItem(next);
            next->setSelected(true);
        }
    }
    if (QTreeWidgetItem *selected = selectedRow()) list_->scrollToItem(selected);
}

// ---- save ----------------------------------------------------------------

void CalibrationManager::SaveChanges()
{
    std::vector<CalibrationSave::Row> jobs;
    std::vector<QTreeWidgetItem *> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list_->topLevelItem(i);
        const QString state = PendingRows::State(row);
        if (state != PendingRows::kAdd && state != PendingRows::kEdit) continue;
        CalibrationSave::Row job;
        job.add = state == PendingRows::kAdd;
        job.owner = row->data(0, OwnerRole).toString();
        job.values = valuesToStore(PendingRows::Values(row, valueColumns()));
        if (!job.add) job.id = RowKeyId(PendingRows::Key(row));
        if (job.owner.isEmpty()) job.owner = currentOwner();
        job.problem = rowProblem(job.values);
        jobs.push_back(std::move(job));
        rows.push_back(row);
    }

    CalibrationSave::StoreRows(mdlFunction::adoConn(), jobs,
                               [this](const CalibrationSave::Row &job, int32_t *newId) {
                                   return storeRow(job.add, job.id, job.owner, job.values, newId);
                               });

    bool failed = false;
    list_->setUpdatesEnabled(false);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const CalibrationSave::Row &job = jobs[i];
        QTreeWidgetItem *row = rows[i];
        const SaveOutcome::Outcome outcome = job.problem.isEmpty()
                                                 ? SaveOutcome::ForStatus(job.add, job.status)
                                                 : SaveOutcome::Refused(job.add, job.problem);
        if (outcome.stored && job.add) PendingRows::SetKey(row, RowKey(job.newId));
        if (outcome.stored) {
            row->setData(0, OwnerRole, job.owner);
            for (int c = 0; c < job.values.size(); ++c)
                if (row->text(c + 1) != job.values.at(c)) row->setText(c + 1, job.values.at(c));
        }
        PendingRows::SetIcon(row, outcome.icon);
        PendingRows::SetState(row, outcome.state);
        PendingRows::SetToolTip(row, outcome.toolTip);
        failed = failed || !outcome.stored;
    }
    list_->setUpdatesEnabled(true);
    // Failed rows are still pending: the save stays possible and leaving asks first.
    setPending(failed);
}

namespace {

// One row's writes as a unit, inside the save's transaction or on their own.
class RowSavepoint {
  public:
    explicit RowSavepoint(Connection &conn) : conn_(conn)
    {
        if (conn_.State() != 1) conn_.Open();
        conn_.Execute(QStringLiteral("savepoint calibration_row"));
    }
    ~RowSavepoint()
    {
        // Where SQLite has ended the transaction itself (a full disk, an interrupt)
        // nothing of the row is left to undo. The save still learns whether the
        // row failed on a lock.
        if (!done_)
            conn_.ExecuteKeepingError(
                {QStringLiteral("rollback to calibration_row"), QStringLiteral("release calibration_row")});
    }
    void keep()
    {
        conn_.Execute(QStringLiteral("release calibration_row"));
        done_ = true;
    }

  private:
    Connection &conn_;
    bool done_ = false;
};

} // namespace

int32_t CalibrationManager::StoreWithParts(bool add, int32_t id, const RowParts &parts, int32_t *newId)
{
    try {
        Connection &conn = db();
        RowSavepoint unit(conn);
        int32_t status = 0, storedId = id;
        if (add || !parts.mainAsStored() || parts.extrasAsStored(id)) status = parts.storeMain(&storedId);
        if (status != 0) return status; // nothing written: the savepoint goes back
        parts.writeExtras(storedId);
        unit.keep();
        if (add) *newId = storedId;
        return 0;
    } catch (const AppError &) {
        return 2;
    }
}

int32_t CalibrationManager::DeleteWithParts(int32_t id, const QString &table,
                                            const std::function<int32_t()> &deleteMain)
{
    try {
        Connection &conn = db();
        RowSavepoint unit(conn);
        const int32_t status = deleteMain();
        if (status != 0) return status;
        // A covariance left behind would sit on the next row given this identifier.
        CoefficientCovariance::Write(conn, table, id, std::nullopt);
        unit.keep();
        return 0;
    } catch (const AppError &) {
        return 2;
    }
}

QString CalibrationManager::rowProblem(const QStringList &values) const
{
    return SaveOutcome::ConstantsProblem(values, design_.constantColumns);
}

// ---- toolbar, keys and mouse ---------------------------------------------

void CalibrationManager::Toolbar1_ButtonClick(QAction *button)
{
    const QString key = button->objectName();
    Guarded(this, [this, button, &key] {
        if (key == QLatin1String("new")) {
            NewRecord();
        } else if (key == QLatin1String("modify")) {
            ModifyRecord();
        } else if (key == QLatin1String("delete")) {
            if (selectedRow() && MsgBox(this, tr("是否永久删除？【Y/N】"), Dialogs::Buttons::YesNo,
                                        Dialogs::Icon::Exclamation, notice()) == Dialogs::Answer::Yes)
                DeleteRecord();
        } else if (key == QLatin1String("refresh")) {
            RefreshList();
        } else if (key == QLatin1String("filter")) {
            filterPanel_->setVisible(button->isChecked());
            filterPanel_->raise();
        } else if (key == QLatin1String("import")) {
            ImportRows();
        } else if (key == QLatin1String("export")) {
            ExportRows();
        } else if (key == QLatin1String("save")) {
            SaveChanges();
        } else if (key == QLatin1String("close")) {
            Unload();
        }
    });
}

void CalibrationManager::ImportRows()
{
    const int before = list_->topLevelItemCount();
    const ImportResult result = ImportFromText(this, list_);
    for (int i = before; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list_->topLevelItem(i);
        if (row->data(0, OwnerRole).toString().isEmpty()) row->setData(0, OwnerRole, currentOwner());
    }
    setPending(true);
    if (result.cancelled || result.failed) return; // a failure has said what it was
    // What the save of the rows will find: new rows, rows the database holds, rows it cannot store.
    int added = 0, existing = 0, wrong = 0;
    for (int i = before; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list_->topLevelItem(i);
        const QStringList values = valuesToStore(PendingRows::Values(row, valueColumns()));
        if (!rowProblem(values).isEmpty())
            ++wrong;
        else if (isStored(row->data(0, OwnerRole).toString(), values))
            ++existing;
        else
            ++added;
    }
    MsgBox(this, tr("导入完成：新增%1条，已存在%2条，出错%3条").arg(added).arg(existing).arg(wrong),
           Dialogs::Buttons::Ok, Dialogs::Icon::Information);
}

void CalibrationManager::ExportRows()
{
    // The template is filled as ever; where it goes, the user says.
    const QString templatePath = CalibrationExport::TemplatePath(design_.kind);
    Dialogs::FileRequest request;
    request.title = tr("导出");
    request.kind = QStringLiteral("calibrations");
    request.initialDir = CalibrationExport::OutputFolder();
    request.filter = tr("Excel 工作簿(*.xlsx)|*.xlsx");
    request.fileName = QFileInfo(templatePath).completeBaseName() + QStringLiteral(".xlsx");
    const Dialogs::FileResult chosen = Dialogs::instance().saveFile(this, request);
    if (chosen.cancelled || chosen.fileName.isEmpty()) return;
    QString path = chosen.fileName;
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");
    ExportToExcel(this, list_, templatePath, currentOwner(), true, path);
}

bool CalibrationManager::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        Guarded(this, [this] { DeleteRecord(); });
        return true;
    }
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Guarded(this, [this] { ListView1_DblClick(); });
        return true;
    }
    // Moving through the tree with the keys chooses a node as a click does.
    if (watched == tree_ && event->type() == QEvent::KeyPress && !inNodeClick_) {
        QTreeWidgetItem *before = tree_->currentItem();
        tree_->removeEventFilter(this);
        QApplication::sendEvent(tree_, event);
        tree_->installEventFilter(this);
        QTreeWidgetItem *after = tree_->currentItem();
        if (after && after != before) TreeView1_NodeClick(after);
        return true;
    }
    return ChildForm::eventFilter(watched, event);
}

// ---- size and closing ----------------------------------------------------

void CalibrationManager::resizeEvent(QResizeEvent *event)
{
    ChildForm::resizeEvent(event);
    Form_Resize();
}

void CalibrationManager::Form_Resize()
{
    const int w = width();
    const int h = height();
    if (!toolbar_ || !list_ || !picLeft_ || !tree_ || !filterPanel_) return;
    toolbar_->resize(w, toolbar_->height());
    // Each step stands alone; a size that would come out negative is skipped.
    if (!(Twips::fromPx(h) <= kClientHeight && Twips::fromPx(w) <= kResizeWidth)) {
        if (h - list_->y() >= 0) list_->resize(list_->width(), h - list_->y());
        if (w - list_->x() >= 0) list_->resize(w - list_->x(), list_->height());
        if (h - picLeft_->y() >= 0) picLeft_->resize(picLeft_->width(), h - picLeft_->y());
    }
    filterPanel_->move(w - filterPanel_->width() - Twips::toPx(kFilterMargin), filterPanel_->y());
    tree_->move(0, tree_->y());
    tree_->resize(picLeft_->width(), tree_->height());
    if (picLeft_->height() - tree_->y() >= 0) tree_->resize(tree_->width(), picLeft_->height() - tree_->y());
}

bool CalibrationManager::Form_QueryUnload()
{
    bool leave = false;
    Guarded(this, [this, &leave] { leave = settlePending(closeQuestion()); });
    return leave;
}

void CalibrationManager::Form_Unload() { mdlFunction::SaveFormLayout(this); }
