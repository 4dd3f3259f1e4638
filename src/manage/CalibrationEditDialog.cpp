// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/CalibrationEditDialog.h"

#include "core/base/NumberText.h"
#include "core/base/Twips.h"
#include "core/store/SaveOutcome.h"
#include "manage/CalibrationManager.h"
#include "manage/PendingRows.h"
#include "ui/Dialogs.h"
#include "ui/FormBuilder.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidgetItem>
#include <algorithm>

using FormBuilder::place;

namespace {
// The caption of OK in add mode; the click tells add from modify by it, in the
// language it was set in.
QString addCaption() { return CalibrationEditDialog::tr("添加"); }
} // namespace

CalibrationEditDialog::CalibrationEditDialog(CalibrationManager *manager, Rules rules)
    : QDialog(manager), manager_(manager), rules_(std::move(rules))
{
    setWindowTitle(rules_.caption);
    setFont(manager->font());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    frame_ = new QGroupBox(this);
    frame_->setObjectName(rules_.frameName);
    for (int i = 0; i <= rules_.valueCount; ++i) {
        auto *box = new QLineEdit(frame_);
        box->setObjectName(rules_.fieldName + QLatin1Char('_') + QString::number(i));
        fields_ << box;
        columns_ << i;
        remembered_ << QString();
    }
    for (const ExtraBox &extra : rules_.extra) {
        auto *box = new QLineEdit(frame_);
        box->setObjectName(extra.name);
        fields_ << box;
        columns_ << extra.column;
        remembered_ << QString();
    }
    fields_.first()->setReadOnly(true);

    command1_ = new QPushButton(tr("确定"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setDefault(true); // Enter
    command2_ = new QPushButton(tr("取消"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void CalibrationEditDialog::ShowDialog(int32_t mode, int style)
{
    if (mode == 0) {
        command1_->setText(addCaption());
        frame_->setTitle(tr("新建"));
        fields_[0]->setText(ownerForNewRow());
    } else if (mode == 1) {
        QTreeWidgetItem *row = manager_->selectedRow();
        if (!row) return;
        frame_->setTitle(tr("修改"));
        // The row's own type or element: the one its save will store it under.
        QString owner = row->data(0, CalibrationManager::OwnerRole).toString();
        if (owner.isEmpty()) owner = manager_->currentOwner();
        fields_[0]->setText(owner);
        remembered_[0] = fields_[0]->text();
        rowTexts_ = PendingRows::Values(row, manager_->valueColumns());
        for (int i = 1; i < fields_.size(); ++i) {
            fields_[i]->setText(row->text(columns_[i]));
            remembered_[i] = fields_[i]->text();
        }
    }
    fields_[0]->setReadOnly(true);
    fields_[rules_.valueCount > 0 ? 1 : 0]->setFocus();
    if (style == 1)
        Dialogs::instance().execModal(this);
    else
        show();
}

bool CalibrationEditDialog::IsChanged() const
{
    for (int i = 0; i < fields_.size(); ++i) {
        const QString text = rules_.trimmedCompare ? fields_[i]->text().trimmed() : fields_[i]->text();
        if (text != remembered_[i]) return true;
    }
    return false;
}

bool CalibrationEditDialog::ValidateInput()
{
    for (int i = 1; i <= rules_.valueCount; ++i) {
        QLineEdit *box = fields_[i];
        QString message;
        if (rules_.required.contains(i) && box->text().isEmpty())
            message = tr("不能为空！");
        else if (rules_.numeric.contains(i) && !Num::IsNumeric(box->text().trimmed()))
            message = tr("必须为数字！");
        else if (rules_.numeric.contains(i) && !Num::FitsSingle(box->text()))
            message = SaveOutcome::OutOfRangeText();
        if (message.isEmpty()) continue;
        refuse(box, message);
        return false;
    }
    // The extra boxes that take numbers: empty is their default, else the same rules.
    for (int i = 0; i < rules_.extra.size(); ++i) {
        QLineEdit *box = fields_[rules_.valueCount + 1 + i];
        const QString text = box->text().trimmed();
        if (!rules_.extra[i].optional || text.isEmpty()) continue;
        const QString message = !Num::IsNumeric(text)    ? tr("必须为数字！")
                                : !Num::FitsSingle(text) ? SaveOutcome::OutOfRangeText()
                                                         : QString();
        if (message.isEmpty()) continue;
        refuse(box, message);
        return false;
    }
    QString message;
    if (QLineEdit *box = crossCheck(&message)) {
        refuse(box, message);
        return false;
    }
    return true;
}

void CalibrationEditDialog::refuse(QLineEdit *box, const QString &message)
{
    MsgBox(this, message);
    box->setFocus();
    box->selectAll();
}

QLineEdit *CalibrationEditDialog::crossCheck(QString *) const { return nullptr; }

void CalibrationEditDialog::Command1_Click()
{
    if (!IsChanged()) {
        accept();
        return;
    }
    if (!ValidateInput()) return;
    // Columns no box shows keep the row's text (empty for a new row).
    QStringList values = rowTexts_;
    int last = rules_.valueCount;
    for (int column : columns_) last = std::max(last, column);
    while (values.size() < last) values << QString();
    for (int i = 1; i < fields_.size(); ++i) values[columns_[i] - 1] = fields_[i]->text();
    if (command1_->text() == addCaption()) {
        manager_->appendNewRow(values, fields_[0]->text());
    } else if (QTreeWidgetItem *row = manager_->selectedRow()) {
        manager_->reviseRow(row, values);
    }
    accept();
    manager_->setPending(true);
}

void CalibrationEditDialog::Command2_Click() { reject(); }
