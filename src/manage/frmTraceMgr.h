// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "manage/CalibrationManager.h"

class QLabel;

// The trace-element thermometers of table TraceElement, listed by element under
// the root node "元素". After the seven columns the isotope manager has too, the
// list shows each row's terms (TraceTermFields); an import line may carry them
// in the same places: minerals A and B, A, B, the log type, the remark, the
// source of data (kept in the remark), then C, n, E, F, X, ν(SiO2), ν(TiO2) and
// the unit of K, then the error of A and B (σA σB cov(A,B)). Lines of six or
// seven fields keep the defaults.
class frmTraceMgr : public CalibrationManager {
    Q_OBJECT
  public:
    // The list column of σA, after the terms: σA σB cov(A,B).
    static constexpr int kErrorColumn = 16;
    // The list column of the reference's DOI, after the error.
    static constexpr int kDoiColumn = 19;

    explicit frmTraceMgr(QWidget *parent = nullptr);

    // True: nothing is pending.
    bool hasSaved() const { return !pending(); }
    void setHasSaved(bool value) { setPending(!value); }
    QLabel *lbele() const { return ownerLabel(); }

  protected:
    QStringList ownerNames() override;
    void fillTree(const QStringList &names) override;
    bool isListingNode(const QTreeWidgetItem *node) const override;
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
};
