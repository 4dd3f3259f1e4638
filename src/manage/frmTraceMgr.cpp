// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/frmTraceMgr.h"

#include "core/base/NumberText.h"
#include "core/base/ProgramFolders.h"
#include "core/database/Connection.h"
#include "core/database/Recordset.h"
#include "core/store/CoefficientCovariance.h"
#include "core/store/SaveOutcome.h"
#include "core/store/SchemaText.h"
#include "core/store/clsTraceelement.h"
#include "core/store/clsTraceelements.h"
#include "manage/StoredRowItem.h"
#include "manage/TraceTermFields.h"
#include "manage/frmTraceAddEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

namespace {

const QString kRootKey = QStringLiteral("root");

CalibrationManager::Design traceDesign()
{
    CalibrationManager::Design d;
    d.formName = QStringLiteral("frmTraceMgr");
    d.kind = CalibrationKind::TraceElement;
    d.caption = frmTraceMgr::tr("微量元素温度计_数据库管理");
    d.ownerLabelName = QStringLiteral("lbele");
    d.ownerLabel = QRect(1215, 2190, 1110, 255);
    d.tree = QRect(-15, 2640, 2445, 3960);
    d.filterPanel = QRect(8130, -15, 2115, 360);
    d.list = QRect(2565, 375, 8220, 6675);
    d.column6Header = frmTraceMgr::tr("函数");
    d.constantColumns = {3, 4};
    // The terms: numbers narrow and centred, the name of X and the unit of K as texts.
    for (int i = 0; i < TraceTermFields::kCount; ++i) {
        const bool text = TraceTermFields::IsText(i);
        d.extraColumns << CalibrationManager::ExtraColumn{
            TraceTermFields::Headers().at(i), i == TraceTermFields::kCount - 1 ? 2400 : 1200, !text};
    }
    for (const QString &header : CoefficientCovariance::Headers(2))
        d.extraColumns << CalibrationManager::ExtraColumn{header, 1200, true};
    d.extraColumns << CalibrationManager::ExtraColumn{QStringLiteral("DOI"), 2400, false};
    d.deleteMissing = frmTraceMgr::tr("记录不存在!");
    d.deleteFailed = frmTraceMgr::tr("删除记录失败!");
    return d;
}

} // namespace

frmTraceMgr::frmTraceMgr(QWidget *parent) : CalibrationManager(traceDesign(), parent) {}

QStringList frmTraceMgr::ownerNames()
{
    clsTraceelements catalogue;
    QStringList names = catalogue.FindElementType(db());
    // The default library's trace/<element>.txt files name elements the tree
    // offers even when the database has no row of them yet, so that a database
    // older than the library can be given those rows by import.
    const QDir files(ProgramFolders::LibraryFolder() + QStringLiteral("/trace"));
    for (const QString &file : files.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        const QString element = QFileInfo(file).completeBaseName();
        if (!element.isEmpty() && !names.contains(element, Qt::CaseInsensitive)) names << element;
    }
    return names;
}

void frmTraceMgr::fillTree(const QStringList &names)
{
    auto *root = new QTreeWidgetItem(QStringList{tr("元素")});
    root->setData(0, Qt::UserRole, kRootKey);
    QList<QTreeWidgetItem *> nodes;
    nodes.reserve(names.size());
    for (const QString &name : names) nodes << new QTreeWidgetItem(QStringList{name});
    root->addChildren(nodes);
    TreeView1()->addTopLevelItem(root);
    root->setExpanded(true);
}

bool frmTraceMgr::isListingNode(const QTreeWidgetItem *node) const
{
    return node && node->data(0, Qt::UserRole).toString() != kRootKey;
}

QList<QTreeWidgetItem *> frmTraceMgr::queryRows(const QString &owner, const QString &minA,
                                                const QString &minB)
{
    clsTraceelements items;
    items.FuzzyQuery(db(), owner, minA, minB);
    const QHash<int32_t, CoefficientCovariance::Matrix> covariances =
        CoefficientCovariance::ReadAll(db(), CoefficientCovariance::kTraceElement);
    QHash<int32_t, QString> dois;
    for (Recordset rs = db().Execute(QStringLiteral("select ID_N, DOI_s from TraceElement where DOI_s<>''"));
         !rs.Eof(); rs.MoveNext())
        dois.insert(rs.Fields(0).Long(), rs.Fields(1).Text());
    const QIcon ok = PendingRows::Icon(PendingRows::kOk);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items.Count());
    // The element condition matches substrings, so each row keeps its own element.
    for (const auto &item : items) {
        auto *row = new StoredRowItem(item->id(), item->element(), ok);
        row->setValue(1, item->minA());
        row->setValue(2, item->MinB());
        row->setNumber(3, item->ConstA());
        row->setNumber(4, item->ConstB());
        row->setValue(5, item->logType());
        row->setValue(6, item->Mark());
        const QStringList terms = TraceColumns::Texts(item->terms());
        for (int i = 0; i < terms.size(); ++i) row->setText(TraceTermFields::kFirstColumn + i, terms.at(i));
        const auto found = covariances.constFind(item->id());
        const QStringList error = CoefficientCovariance::Texts(
            found == covariances.constEnd() ? std::nullopt : std::optional(*found), 2);
        for (int i = 0; i < error.size(); ++i) row->setText(kErrorColumn + i, error.at(i));
        row->setText(kDoiColumn, dois.value(item->id()));
        rows << row;
    }
    return rows;
}

namespace {

// The record of a row's values; false when its terms do not convert.
bool itemOf(const QString &owner, const QStringList &values, clsTraceelement *item)
{
    item->setElement(owner);
    item->setMinA(values.at(0));
    item->setMinB(values.at(1));
    item->setConstA(Num::ToSingle(values.at(2)));
    item->setConstB(Num::ToSingle(values.at(3)));
    item->setLogType(values.at(4));
    item->setMark(values.at(5));
    TraceTerms terms;
    if (!TraceColumns::FromTexts(values.mid(TraceTermFields::kFirstColumn - 1), &terms)) return false;
    item->setTerms(terms);
    return true;
}

} // namespace

bool frmTraceMgr::isStored(const QString &owner, const QStringList &values)
{
    clsTraceelement item;
    return itemOf(owner, values, &item) && item.IsStored(db());
}

int32_t frmTraceMgr::storeRow(bool add, int32_t id, const QString &owner, const QStringList &values,
                              int32_t *newId)
{
    clsTraceelement item;
    if (!add) item.setId(id);
    // rowProblem has refused terms that do not convert; nothing is stored half read.
    if (!itemOf(owner, values, &item)) return 2;
    const QStringList error = values.mid(kErrorColumn - 1, CoefficientCovariance::FieldCount(2));
    const QString doi = values.value(kDoiColumn - 1).trimmed();
    auto storedError = [](int32_t rowId) {
        return CoefficientCovariance::Read(db(), CoefficientCovariance::kTraceElement, rowId);
    };
    auto storedDoi = [](int32_t rowId) {
        Recordset rs = db().Execute(QStringLiteral("select DOI_s from TraceElement where ID_N=") +
                                    QString::number(rowId));
        return rs.Eof() || rs.Fields(0).IsNull() ? QString() : rs.Fields(0).Text();
    };
    RowParts parts = RecordParts(item, add);
    parts.extrasAsStored = [&](int32_t rowId) {
        return CoefficientCovariance::Texts(storedError(rowId), 2) == error && storedDoi(rowId) == doi;
    };
    // Texts as shown for the stored matrix keep it exactly; anything else is what was typed.
    parts.writeExtras = [&](int32_t rowId) {
        db().Execute(QStringLiteral("update TraceElement set DOI_s='") + EscapeSqlText(doi) +
                     QStringLiteral("' where ID_N=") + QString::number(rowId));
        if (CoefficientCovariance::Texts(storedError(rowId), 2) != error)
            CoefficientCovariance::Write(db(), CoefficientCovariance::kTraceElement, rowId,
                                         CoefficientCovariance::FromTexts(error, 2));
    };
    return StoreWithParts(add, id, parts, newId);
}

// The table has no column for the source of data an import brings (column 7):
// it goes into the remark, so that nothing imported disappears with the save.
// The terms are shown as they are stored: an empty field as its default.
QStringList frmTraceMgr::valuesToStore(const QStringList &values) const
{
    QStringList stored = values;
    constexpr int first = TraceTermFields::kFirstColumn - 1;
    while (stored.size() < first + TraceTermFields::kCount) stored << QString();
    const QStringList terms = TraceTermFields::Stored(stored.mid(first, TraceTermFields::kCount));
    for (int i = 0; i < TraceTermFields::kCount; ++i) stored[first + i] = terms.at(i);
    while (stored.size() < valueColumns()) stored << QString();
    const QStringList error = stored.mid(kErrorColumn - 1, CoefficientCovariance::FieldCount(2));
    if (CoefficientCovariance::Examine(error, 2).problem == CoefficientCovariance::Problem::None) {
        const QStringList shown = CoefficientCovariance::Texts(CoefficientCovariance::FromTexts(error, 2), 2);
        for (int i = 0; i < shown.size(); ++i) stored[kErrorColumn - 1 + i] = shown.at(i);
    }
    stored[kDoiColumn - 1] = stored.at(kDoiColumn - 1).trimmed();

    const QString source = stored.at(6).trimmed();
    if (source.isEmpty()) return stored;
    // Stored with the row: the words stay as the library's remarks have them, whatever the language.
    const QString note = QStringLiteral("资料来源：") + source;
    stored[5] = stored.at(5).isEmpty() ? note : stored.at(5) + QStringLiteral("；") + note;
    stored[6].clear();
    return stored;
}

QString frmTraceMgr::rowProblem(const QStringList &values) const
{
    const QString constants = CalibrationManager::rowProblem(values);
    if (!constants.isEmpty()) return constants;
    switch (TraceTermFields::Examine(values.mid(TraceTermFields::kFirstColumn - 1)).problem) {
    case TraceTermFields::Problem::None:
        return CoefficientCovariance::Message(
            CoefficientCovariance::Examine(values.mid(kErrorColumn - 1, CoefficientCovariance::FieldCount(2)),
                                           2)
                .problem);
    case TraceTermFields::Problem::NotANumber: return SaveOutcome::NotANumberText();
    case TraceTermFields::Problem::OutOfRange: return SaveOutcome::OutOfRangeText();
    case TraceTermFields::Problem::PowerNotPositive: return TraceTermFields::PowerNotPositiveText();
    case TraceTermFields::Problem::XNameMissing: return TraceTermFields::XNameMissingText();
    }
    return SaveOutcome::NotANumberText();
}

int32_t frmTraceMgr::deleteStored(int32_t id)
{
    clsTraceelement item;
    item.setId(id);
    return DeleteWithParts(id, CoefficientCovariance::kTraceElement,
                           [&item, id] { return item.Delete(db(), id); });
}

bool frmTraceMgr::mayAddRecord() const
{
    const QList<QTreeWidgetItem *> selected = TreeView1()->selectedItems();
    return !selected.isEmpty() && isListingNode(selected.first());
}

void frmTraceMgr::openEditor(bool add)
{
    frmTraceAddEdit dialog(this);
    dialog.ShowDialog(add ? 0 : 1, 1);
}
