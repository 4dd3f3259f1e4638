// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QListWidget;
class QPushButton;
class clsIsoplotItems;
class isotype;

// The list of isotope types the isotope manager shows as its tree: add a name,
// delete a name no thermometer uses any more.
class frmIsotopeList : public QDialog {
    Q_OBJECT
  public:
    // Reads the names at once; raises when the shared connection is missing or closed.
    explicit frmIsotopeList(QWidget *parent = nullptr);
    ~frmIsotopeList() override;

    // A type was added or deleted: the manager rebuilds its tree.
    bool hasChanged() const { return hasChanged_; }

    QListWidget *List1() const { return list_; }

    // Asked before a delete: whether the manager still holds unsaved rows of a
    // type, which a save would store under a type that no longer exists.
    void setPendingRowsCheck(std::function<bool(const QString &name)> check)
    {
        pendingRows_ = std::move(check);
    }

  private:
    void Command1_Click();
    void Command2_Click();

    std::unique_ptr<clsIsoplotItems> catalogue_;
    std::unique_ptr<isotype> registry_;
    QListWidget *list_;
    QPushButton *command1_;
    QPushButton *command2_;
    bool hasChanged_ = false;
    std::function<bool(const QString &)> pendingRows_;
    QString registryMessage_; // the registry's last notification
};
