// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/AppError.h"

#include <QCoreApplication>

QString runtimeErrorText(int32_t number)
{
    switch (number) {
    case ErrNo::InvalidCall: return QCoreApplication::translate("AppError", "无效的过程调用或参数");
    case ErrNo::Overflow: return QCoreApplication::translate("AppError", "溢出");
    case ErrNo::DivisionByZero: return QCoreApplication::translate("AppError", "除数为零");
    case ErrNo::TypeMismatch: return QCoreApplication::translate("AppError", "类型不匹配");
    case ErrNo::FileNotFound: return QCoreApplication::translate("AppError", "文件未找到");
    case ErrNo::FileAccess: return QCoreApplication::translate("AppError", "路径/文件访问错误");
    case ErrNo::InvalidNull: return QCoreApplication::translate("AppError", "无效使用 Null");
    case ErrNo::NoCurrentRow:
        return QCoreApplication::translate(
            "AppError", "BOF 或 EOF 中有一个是“真”，或者当前记录已被删除，所需的操作要求一个当前的记录。");
    case ErrNo::Timeout: return QCoreApplication::translate("AppError", "查询超时已过期");
    default: return QCoreApplication::translate("AppError", "应用程序定义的错误或对象定义的错误");
    }
}

void raiseRuntimeError(int32_t number, const QString &source)
{
    throw AppError(number, source.isEmpty() ? QStringLiteral("Lorvane") : source, runtimeErrorText(number));
}
