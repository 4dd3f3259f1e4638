// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "manage/CalibrationExport.h"
#include "manage/StoredRowItem.h"
#include "ui/ChildForm.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

class Connection;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// What the isotope and the trace-element manager have in common: the toolbar,
// the filter panel, the left panel with its statistics and tree, the list of
// pending rows, and the walk that loads, filters, sorts, deletes and saves them.
// A manager supplies its design and the record class behind its rows.
class CalibrationManager : public ChildForm {
    Q_OBJECT
  public:
    // Each row also remembers the type or element it is stored under, so that a
    // save never moves a row to whatever happens to be current.
    static constexpr int OwnerRole = StoredRowItem::OwnerRole;
    // The list columns both managers have after the icon column.
    static constexpr int kValueColumns = 7;

    // A list column a manager has after the shared ones.
    struct ExtraColumn {
        QString header;
        int width = 1440; // twips
        bool centred = false;
    };

    struct Design {
        QString formName;
        CalibrationKind kind;
        QString caption;
        QString ownerLabelName; // the label that holds the current type or element
        QRect ownerLabel;       // twips, inside picLeft
        QRect tree;             // twips, inside picLeft
        QRect filterPanel;      // twips
        QRect list;             // twips
        QString column6Header;
        QList<int> constantColumns;      // value columns (1-based) that must hold numbers
        QList<ExtraColumn> extraColumns; // columns 8.. (the trace manager's terms)
        QString deleteMissing;           // Delete status 1
        QString deleteFailed;            // Delete status 2
    };

    QTreeWidget *ListView1() const { return list_; }
    QTreeWidget *TreeView1() const { return tree_; }
    QToolBar *Toolbar1() const { return toolbar_; }

    // The value columns of the list: the shared seven and the manager's own.
    int valueColumns() const { return kValueColumns + int(design_.extraColumns.size()); }

    // The type or element whose calibrations the list was loaded for ("" before the first).
    QString currentOwner() const;
    // The selected row, when it is visible; hidden rows are out of reach of modify and delete.
    QTreeWidgetItem *selectedRow() const;

    // Appends a new pending row (state and icon "add") for the given owner,
    // selects it and scrolls it into view.
    QTreeWidgetItem *appendNewRow(const QStringList &values, const QString &owner);
    // Rewrites a row with what the edit dialog gives: an added row stays "add", any other becomes
    // "edit".
    void reviseRow(QTreeWidgetItem *row, const QStringList &values);

    bool pending() const { return pending_; }
    // Whether the list holds added or changed rows, not yet stored, of that type or element.
    bool hasPendingRows(const QString &owner) const;
    void setPending(bool value);

    // The manager's actions, public so that dialogs and tests reach them.
    void LoadRecords(const QString &owner, const QString &minA, const QString &minB);
    void RefreshList();
    void NewRecord();
    void ModifyRecord();
    void DeleteRecord();
    void SaveChanges();
    void LoadTree();

  protected:
    CalibrationManager(Design design, QWidget *parent);

    void Form_Load() override;
    bool Form_QueryUnload() override;
    void Form_Unload() override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // What the record class behind the rows answers.
    virtual QStringList ownerNames() = 0;
    // The rows of the stored calibrations that match, in the catalogue's order.
    virtual QList<QTreeWidgetItem *> queryRows(const QString &owner, const QString &minA,
                                               const QString &minB) = 0;
    // 0 stored, 1 refused as a duplicate, 2 failed; newId receives the identifier of an added row.
    virtual int32_t storeRow(bool add, int32_t id, const QString &owner, const QStringList &values,
                             int32_t *newId) = 0;
    virtual int32_t deleteStored(int32_t id) = 0;
    // Whether the database already holds a row of these values (an add would be refused).
    virtual bool isStored(const QString &owner, const QStringList &values) = 0;
    // The values a pending row is stored with; the row shows them once stored.
    virtual QStringList valuesToStore(const QStringList &values) const { return values; }
    // Why the values of a pending row cannot be stored ("" when they can): by
    // default the constants' check. Such a row keeps its place, marked with the reason.
    virtual QString rowProblem(const QStringList &values) const;
    // Whether "增加" may open the dialog now.
    virtual bool mayAddRecord() const = 0;
    virtual void openEditor(bool add) = 0;
    // The tree: top-level nodes by default; the trace-element manager hangs them under a root.
    virtual void fillTree(const QStringList &names);
    // A click on a node that lists no calibrations of its own (the root).
    virtual bool isListingNode(const QTreeWidgetItem *node) const;

    QWidget *picLeft() const { return picLeft_; }
    QLabel *ownerLabel() const { return ownerLabel_; }
    void setImportEnabled(bool value);
    QAction *action(const QString &key) const;

    // The shared connection; raises when there is none.
    static Connection &db();

    // A row's parts beside its table row: the covariance of its coefficients
    // and, for an isotope row, its dataset.
    struct RowParts {
        std::function<int32_t(int32_t *newId)> storeMain; // the record class's add or update: 0, 1, 2
        std::function<bool()> mainAsStored;               // the stored row already holds these values
        std::function<bool(int32_t id)> extrasAsStored;   // and these parts
        std::function<void(int32_t id)> writeExtras;      // raises AppError
    };
    // The parts a record class gives: its add or update, and whether the stored row holds its values.
    template <class Record> static RowParts RecordParts(Record &item, bool add)
    {
        RowParts parts;
        parts.storeMain = [&item, add](int32_t *storedId) {
            const int32_t status = add ? item.AddNew(db()) : item.Update(db());
            *storedId = item.id();
            return status;
        };
        parts.mainAsStored = [&item] { return item.HoldsStoredRow(db()); };
        return parts;
    }
    // Stores a row and its parts together or not at all. An edit that changes
    // only the parts writes only them; one that changes nothing is left to the
    // record class (which finds the row itself and refuses it).
    static int32_t StoreWithParts(bool add, int32_t id, const RowParts &parts, int32_t *newId);
    // Deletes a row and its covariance together: the record class's delete (0, 1, 2).
    static int32_t DeleteWithParts(int32_t id, const QString &table,
                                   const std::function<int32_t()> &deleteMain);

  private:
    void buildToolbar();
    void buildFilterPanel();
    void buildLeftPanel();
    void buildList();

    void Toolbar1_ButtonClick(QAction *button);
    void TreeView1_NodeClick(QTreeWidgetItem *node);
    void ListView1_ColumnClick(int column);
    void ListView1_DblClick();
    void Command1_Click();
    void Form_Resize();
    void ImportRows();
    void ExportRows();

    // Asks about pending rows before they would be dropped; false means stay.
    // reloads: the list is about to be reloaded (or closed), so No drops the rows.
    bool settlePending(const QString &question, bool reloads = true);
    void selectOwnerNode();
    void showTotal();
    void setCurrentOwner(const QString &owner);

    Design design_;
    QToolBar *toolbar_ = nullptr;
    QWidget *filterPanel_ = nullptr;
    QLineEdit *filterText_ = nullptr;
    QPushButton *filterButton_ = nullptr;
    QWidget *picLeft_ = nullptr;
    QLabel *lblTotal_ = nullptr;
    QLabel *ownerLabel_ = nullptr;
    QTreeWidget *tree_ = nullptr;
    QTreeWidget *list_ = nullptr;
    bool pending_ = false;
    bool sortAscending_ = false;
    bool inNodeClick_ = false;
};
