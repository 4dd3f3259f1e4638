// SPDX-License-Identifier: GPL-3.0-or-later
#include "manage/frmIsotopeList.h"

#include "core/base/AppError.h"
#include "core/base/Twips.h"
#include "core/database/SharedConnection.h"
#include "core/store/clsIsoplotItems.h"
#include "core/store/isotype.h"
#include "ui/Dialogs.h"
#include "ui/EventGuard.h"
#include "ui/FormBuilder.h"

#include <QListWidget>
#include <QPushButton>

using FormBuilder::place;

frmIsotopeList::frmIsotopeList(QWidget *parent)
    : QDialog(parent), catalogue_(std::make_unique<clsIsoplotItems>()),
      registry_(std::make_unique<isotype>(mdlFunction::adoConn()))
{
    setObjectName(QStringLiteral("frmIsotopeList"));
    setWindowTitle(tr("同位素类型"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (parent) setFont(parent->font());
    setFixedSize(Twips::toPx(2985), Twips::toPx(4245));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    place(list_, 240, 225, 2445, 3210);
    command1_ = new QPushButton(tr("增加"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAutoDefault(false);
    place(command1_, 330, 3690, 960, 360);
    command2_ = new QPushButton(tr("删除"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setAutoDefault(false);
    place(command2_, 1620, 3690, 960, 360);
    setTabOrder(list_, command1_);
    setTabOrder(command1_, command2_);

    list_->addItems(registry_->GetAllIsoTypeName());
    // A failure of the database has no message of its own here; the registry's notification says what went
    // wrong.
    IsoTypeEvents events;
    events.AddEvent = [this](const QString &message, const QString &) { registryMessage_ = message; };
    events.DeleteEvent = events.AddEvent;
    registry_->setEvents(std::move(events));

    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

frmIsotopeList::~frmIsotopeList() = default;

void frmIsotopeList::Command1_Click()
{
    // The proposed name is a type name as stored, not a text of the window.
    const QString name =
        Dialogs::instance().inputBox(this, tr("请输入同位素类型"), tr("增加"), QStringLiteral("同位素"));
    // A cancelled input box gives the empty text: adding it would create a
    // nameless type (or repeat the last name the registry held).
    if (name.trimmed().isEmpty()) return;
    switch (registry_->AddNew(name, QString())) {
    case 0:
        hasChanged_ = true;
        list_->addItem(name);
        break;
    case 1: MsgBox(this, tr("存在相同记录,请勿重复添加！")); break;
    case 2: MsgBox(this, registryMessage_); break;
    default: break;
    }
}

void frmIsotopeList::Command2_Click()
{
    QListWidgetItem *line = list_->currentItem();
    if (!line || !line->isSelected()) return;
    const QString name = line->text();
    Guarded(this, [this, line, &name] {
        if (catalogue_->HasIsotopeRecord(*registry_->connection(), name) ||
            (pendingRows_ && pendingRows_(name))) {
            MsgBox(this, tr("还存在【%1】温度计，不能删除此项目!").arg(name));
            return;
        }
        switch (registry_->Delete(name)) {
        case 0:
            hasChanged_ = true;
            delete line;
            break;
        case 2: MsgBox(this, registryMessage_); break;
        default: break;
        }
    });
}
