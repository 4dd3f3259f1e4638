// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/isotype.h"

#include "core/base/AppError.h"
#include "core/database/Connection.h"
#include "core/store/ResultCells.h"
#include "core/store/SchemaText.h"

using StoreDetail::kLineBreak;

isotype::isotype(Connection *connection) { setConnection(connection); }

void isotype::setConnection(Connection *connection)
{
    const QString source = QStringLiteral("IsoType.Set Connection");
    if (!connection) throw AppError(ErrInvalidConnection, source, tr("连接属性无效"));
    if (connection->State() != 1) throw AppError(ErrConnectionClosed, source, tr("连接未打开"));
    connection_ = connection;
}

int32_t isotype::GetNextTypeID()
{
    return NextIdentifier(*connection_, QStringLiteral("select max(ID) from IsotopeType"));
}

bool isotype::Exist(const QString &isotypename)
{
    return connection_
               ->Execute(QStringLiteral("select Name from IsotopeType where Name='") +
                         EscapeSqlText(isotypename) + QStringLiteral("'"))
               .RecordCount() > 0;
}

int32_t isotype::AddNew(const QString &isotypename, const QString &shortname)
{
    int32_t code = 2;
    QString message;
    try {
        if (!isotypename.isEmpty()) name_ = isotypename;
        if (!shortname.isEmpty()) shortname_ = shortname;
        // The type list's input box gives an empty name when it is cancelled; a
        // type without a name would stand as a blank line in every tree.
        if (name_.isEmpty())
            throw AppError(ErrNo::InvalidCall, QStringLiteral("IsoType.AddNew"), tr("类型名称为空"));
        if (Exist(name_)) {
            code = 1;
            message = tr("%1 已存在，添加失败！").arg(name_);
        } else {
            id_ = GetNextTypeID();
            connection_->Execute(QStringLiteral("insert into IsotopeType (ID,Name,ShortName) values (") +
                                 QString::number(id_) + QStringLiteral(",") + QStringLiteral("'") +
                                 EscapeSqlText(name_) + QStringLiteral("',") + QStringLiteral("'") +
                                 EscapeSqlText(shortname_) + QStringLiteral("')"));
            code = 0;
            message = tr("添加 %1 成功！").arg(name_);
        }
    } catch (const AppError &e) {
        code = 2;
        message = tr("未知原因,添加记录失败!") + kLineBreak + tr("错误号：%1").arg(e.number()) + kLineBreak +
                  e.description();
    }
    if (events_.AddEvent) events_.AddEvent(message, name_);
    return code;
}

int32_t isotype::Delete(const QString &isotypename)
{
    int32_t code = 2;
    QString message;
    try {
        if (!isotypename.isEmpty()) name_ = isotypename;
        // Checked under the name that the delete statement uses, so that a call
        // without an argument is about the registry's own Name.
        if (Exist(name_)) {
            connection_->Execute(QStringLiteral("delete from IsotopeType where Name='") +
                                 EscapeSqlText(name_) + QStringLiteral("'"));
            code = 0;
            message = tr("删除成功！");
        } else {
            code = 1;
            message = tr("%1不存在，删除失败！").arg(name_);
        }
    } catch (const AppError &e) {
        code = 2;
        message = tr("未知错误,删除失败!") + kLineBreak + e.description();
    }
    if (events_.DeleteEvent) events_.DeleteEvent(message, name_);
    return code;
}

QStringList isotype::GetAllIsoTypeName()
{
    const Recordset rs = connection_->Execute(QStringLiteral("select distinct(Name) from IsotopeType"));
    return StoreDetail::NameList(rs, rs.FieldIndex(QStringLiteral("Name")),
                                 QStringLiteral("IsoType.GetAllIsoTypeName"));
}

QString isotype::GetNameBaseOnID(int32_t uid)
{
    if (uid != 0) id_ = uid;
    return connection_->Execute(QStringLiteral("select Name from IsoType where ID=") + QString::number(id_))
        .Fields(QStringLiteral("Name"))
        .Text();
}

int32_t isotype::GetIDBaseOnName(const QString &isotypename)
{
    if (!isotypename.isEmpty()) name_ = isotypename;
    if (!Exist(name_))
        throw AppError(ErrNameNotFound, QStringLiteral("IsoType.GetIDBaseOnName"),
                       tr("%1未找到!").arg(name_));
    return connection_
        ->Execute(QStringLiteral("select ID from IsoType where Name='") + EscapeSqlText(name_) +
                  QStringLiteral("'"))
        .Fields(QStringLiteral("ID"))
        .Long();
}
