// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "manage/CalibrationManager.h"

class QLabel;

// The isotope thermometers of table Isoplot, one isotope type at a time, with
// the link to the list of isotope types.
class frmIsoMgr : public CalibrationManager {
    Q_OBJECT
  public:
    // The list columns past the seven both managers have: the dataset, the
    // coefficients' error (σA σB σC cov(A,B) cov(A,C) cov(B,C)), the source's DOI.
    static constexpr int kDatasetColumn = 8;
    static constexpr int kErrorColumn = 9;
    static constexpr int kDoiColumn = 15;

    explicit frmIsoMgr(QWidget *parent = nullptr);

    bool canSave() const { return pending(); }
    void setCanSave(bool value) { setPending(value); }
    void setCanImport(bool value) { setImportEnabled(value); }
    QLabel *lbIsoType() const { return ownerLabel(); }

    // The link "【列表维护】": the type list dialog, then the tree again if types changed.
    void Label4_Click();

  protected:
    QStringList ownerNames() override;
    QList<QTreeWidgetItem *> queryRows(const QString &owner, const QString &minA,
                                       const QString &minB) override;
    int32_t storeRow(bool add, int32_t id, const QString &owner, const QStringList &values,
                     int32_t *newId) override;
    int32_t deleteStored(int32_t id) override;
    bool isStored(const QString &owner, const QStringList &values) override;
    QStringList valuesToStore(const QStringList &values) const override;
    QString rowProblem(const QStringList &values) const override;
    bool mayAddRecord() const override;
    void openEditor(bool add) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QLabel *label4_ = nullptr;
    QLabel *image2_ = nullptr;
};
