// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/AppError.h"

QString runtimeErrorText(int32_t number)
{
    switch (number) {
    case ErrNo::InvalidCall: return QStringLiteral("无效的过程调用或参数");
    case ErrNo::Overflow: return QStringLiteral("溢出");
    case ErrNo::DivisionByZero: return QStringLiteral("除数为零");
    case ErrNo::TypeMismatch: return QStringLiteral("类型不匹配");
    case ErrNo::FileNotFound: return QStringLiteral("文件未找到");
    case ErrNo::FileAccess: return QStringLiteral("路径/文件访问错误");
    case ErrNo::InvalidNull: return QStringLiteral("无效使用 Null");
    case ErrNo::NoCurrentRow:
        return QStringLiteral(
            "BOF 或 EOF 中有一个是“真”，或者当前记录已被删除，所需的操作要求一个当前的记录。");
    case ErrNo::Timeout: return QStringLiteral("查询超时已过期");
    default: return QStringLiteral("应用程序定义的错误或对象定义的错误");
    }
}

void raiseRuntimeError(int32_t number, const QString &source)
{
    throw AppError(number, source.isEmpty() ? QStringLiteral("Lorvane") : source, runtimeErrorText(number));
}
