// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/frmIsoMgr.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/database/Connection.h"
#include "core/database/Recordset.h"
#include "core/store/CoefficientCovariance.h"
#include "core/store/SchemaText.h"
#include "core/store/clsIsoItem.h"
#include "core/store/clsIsoplotItems.h"
#include "core/store/isotype.h"
#include "manage/StoredRowItem.h"
#include "manage/frmIsoAddEdit.h"
#include "manage/frmIsotopeList.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormBuilder.h"
#include "ui/ImageList.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

using FormBuilder::place;

namespace {

CalibrationManager::Design isoDesign()
{
    CalibrationManager::Design d;
    d.formName = QStringLiteral("frmIsoMgr");
    d.kind = CalibrationKind::Isotope;
    d.caption = frmIsoMgr::tr("同位素温度计_数据库管理");
    d.ownerLabelName = QStringLiteral("lbIsoType");
    d.ownerLabel = QRect(1080, 2190, 1110, 255);
    d.tree = QRect(480, 2865, 2250, 3885);
    d.filterPanel = QRect(8505, 0, 2115, 360);
    d.list = QRect(2550, 360, 8205, 6675);
    d.column6Header = QStringLiteral("C");
    d.constantColumns = {3, 4, 5};
    // The dataset the row belongs to, then the published error of A, B and C.
    d.extraColumns << CalibrationManager::ExtraColumn{frmIsoMgr::tr("数据集"), 1800, false};
    for (const QString &header : CoefficientCovariance::Headers(3))
        d.extraColumns << CalibrationManager::ExtraColumn{header, 1200, true};
    d.extraColumns << CalibrationManager::ExtraColumn{QStringLiteral("DOI"), 2400, false};
    d.deleteMissing = frmIsoMgr::tr("记录不存在,删除失败!!");
    d.deleteFailed = frmIsoMgr::tr("未知原因,删除记录失败!");
    return d;
}

} // namespace

frmIsoMgr::frmIsoMgr(QWidget *parent) : CalibrationManager(isoDesign(), parent)
{
    label4_ = new QLabel(tr("【列表维护】"), picLeft());
    label4_->setObjectName(QStringLiteral("Label4"));
    QFont bold = label4_->font();
    bold.setBold(true);
    label4_->setFont(bold);
    label4_->setCursor(Qt::PointingHandCursor);
    place(label4_, QRect(780, 2595, 1170, 225));

    image2_ = new QLabel(picLeft());
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->setPixmap(SmallImages().pixmap(QStringLiteral("list")));
    image2_->setCursor(Qt::PointingHandCursor);
    place(image2_, QRect(495, 2610, 240, 240));

    label4_->installEventFilter(this);
    image2_->installEventFilter(this);
}

bool frmIsoMgr::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == label4_ || watched == image2_) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Label4_Click();
        return true;
    }
    return CalibrationManager::eventFilter(watched, event);
}

void frmIsoMgr::Label4_Click()
{
    Guarded(this, [this] {
        frmIsotopeList dialog(this);
        dialog.setPendingRowsCheck([this](const QString &name) { return hasPendingRows(name); });
        Dialogs::instance().execModal(&dialog);
        if (dialog.hasChanged()) LoadTree();
    });
}

QStringList frmIsoMgr::ownerNames()
{
    isotype registry(&db());
    return registry.GetAllIsoTypeName();
}

QList<QTreeWidgetItem *> frmIsoMgr::queryRows(const QString &owner, const QString &minA, const QString &minB)
{
    clsIsoplotItems items;
    items.FuzzyQuery(db(), owner, minA, minB);
    QHash<int32_t, QStringList> parts; // dataset, DOI
    for (Recordset rs = db().Execute(
             QStringLiteral("select ID_N, Dataset_S, DOI_S from Isoplot where Dataset_S<>'' or DOI_S<>''"));
         !rs.Eof(); rs.MoveNext())
        parts.insert(rs.Fields(0).Long(), {rs.Fields(1).Text(), rs.Fields(2).Text()});
    const QHash<int32_t, CoefficientCovariance::Matrix> covariances =
        CoefficientCovariance::ReadAll(db(), CoefficientCovariance::kIsoplot);
    const QIcon ok = PendingRows::Icon(PendingRows::kOk);
    QList<QTreeWidgetItem *> rows;
    rows.reserve(items.Count());
    for (const auto &item : items) {
        auto *row = new StoredRowItem(item->id(), item->isotype(), ok);
        row->setValue(1, item->minA());
        row->setValue(2, item->MinB());
        row->setNumber(3, item->ConstA());
        row->setNumber(4, item->ConstB());
        row->setNumber(5, item->ConstC());
        row->setValue(6, item->Mark());
        row->setValue(7, item->Source());
        const QStringList texts = parts.value(item->id());
        row->setText(frmIsoMgr::kDatasetColumn, texts.value(0));
        row->setText(frmIsoMgr::kDoiColumn, texts.value(1));
        const auto found = covariances.constFind(item->id());
        const QStringList error = CoefficientCovariance::Texts(
            found == covariances.constEnd() ? std::nullopt : std::optional(*found), 3);
        for (int i = 0; i < error.size(); ++i) row->setText(frmIsoMgr::kErrorColumn + i, error.at(i));
        rows << row;
    }
    return rows;
}

namespace {

clsIsoItem itemOf(const QString &owner, const QStringList &values)
{
    clsIsoItem item;
    item.setIsotype(owner);
    item.setMinA(values.at(0));
    item.setMinB(values.at(1));
    item.setConstA(Num::ToSingle(values.at(2)));
    item.setConstB(Num::ToSingle(values.at(3)));
    item.setConstC(Num::ToSingle(values.at(4)));
    item.setMark(values.at(5));
    item.setSource(values.at(6));
    return item;
}

} // namespace

bool frmIsoMgr::isStored(const QString &owner, const QStringList &values)
{
    return itemOf(owner, values).IsStored(db());
}

int32_t frmIsoMgr::storeRow(bool add, int32_t id, const QString &owner, const QStringList &values,
                            int32_t *newId)
{
    clsIsoItem item = itemOf(owner, values);
    if (!add) item.setId(id);
    const QStringList texts{values.value(kDatasetColumn - 1).trimmed(),
                            values.value(kDoiColumn - 1).trimmed()};
    const QStringList error = values.mid(kErrorColumn - 1, CoefficientCovariance::FieldCount(3));
    auto storedTexts = [](int32_t rowId) {
        Recordset rs = db().Execute(QStringLiteral("select Dataset_S, DOI_S from Isoplot where ID_N=") +
                                    QString::number(rowId));
        if (rs.Eof()) return QStringList{QString(), QString()};
        return QStringList{rs.Fields(0).IsNull() ? QString() : rs.Fields(0).Text(),
                           rs.Fields(1).IsNull() ? QString() : rs.Fields(1).Text()};
    };
    RowParts parts = RecordParts(item, add);
    parts.extrasAsStored = [&](int32_t rowId) {
        return storedTexts(rowId) == texts &&
               CoefficientCovariance::Texts(
                   CoefficientCovariance::Read(db(), CoefficientCovariance::kIsoplot, rowId), 3) == error;
    };
    parts.writeExtras = [&](int32_t rowId) {
        db().Execute(QStringLiteral("update Isoplot set Dataset_S='") + EscapeSqlText(texts[0]) +
                     QStringLiteral("', DOI_S='") + EscapeSqlText(texts[1]) +
                     QStringLiteral("' where ID_N=") + QString::number(rowId));
        // Texts as shown for the stored matrix keep it exactly; anything else is what was typed.
        const std::optional<CoefficientCovariance::Matrix> stored =
            CoefficientCovariance::Read(db(), CoefficientCovariance::kIsoplot, rowId);
        if (CoefficientCovariance::Texts(stored, 3) != error)
            CoefficientCovariance::Write(db(), CoefficientCovariance::kIsoplot, rowId,
                                         CoefficientCovariance::FromTexts(error, 3));
    };
    return StoreWithParts(add, id, parts, newId);
}

QStringList frmIsoMgr::valuesToStore(const QStringList &values) const
{
    QStringList stored = values;
    while (stored.size() < valueColumns()) stored << QString();
    stored[kDatasetColumn - 1] = stored.at(kDatasetColumn - 1).trimmed();
    stored[kDoiColumn - 1] = stored.at(kDoiColumn - 1).trimmed();
    const QStringList error = stored.mid(kErrorColumn - 1, CoefficientCovariance::FieldCount(3));
    if (CoefficientCovariance::Examine(error, 3).problem == CoefficientCovariance::Problem::None) {
        const QStringList shown = CoefficientCovariance::Texts(CoefficientCovariance::FromTexts(error, 3), 3);
        for (int i = 0; i < shown.size(); ++i) stored[kErrorColumn - 1 + i] = shown.at(i);
    }
    return stored;
}

QString frmIsoMgr::rowProblem(const QStringList &values) const
{
    const QString constants = CalibrationManager::rowProblem(values);
    if (!constants.isEmpty()) return constants;
    return CoefficientCovariance::Message(
        CoefficientCovariance::Examine(values.mid(kErrorColumn - 1, CoefficientCovariance::FieldCount(3)), 3)
            .problem);
}

int32_t frmIsoMgr::deleteStored(int32_t id)
{
    clsIsoItem item;
    item.setId(id);
    return DeleteWithParts(id, CoefficientCovariance::kIsoplot,
                           [&item, id] { return item.Delete(db(), id); });
}

bool frmIsoMgr::mayAddRecord() const { return !currentOwner().isEmpty(); }

void frmIsoMgr::openEditor(bool add)
{
    frmIsoAddEdit dialog(this);
    dialog.ShowDialog(add ? 0 : 1, 1);
}
