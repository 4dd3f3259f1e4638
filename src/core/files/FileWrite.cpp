// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/FileWrite.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace FileWrite {

QString Reason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC: return QCoreApplication::translate("FileWrite", "磁盘已满");
    case EDQUOT: return QCoreApplication::translate("FileWrite", "超出磁盘配额");
    case EFBIG: return QCoreApplication::translate("FileWrite", "文件超出允许的大小");
    case EROFS: return QCoreApplication::translate("FileWrite", "文件系统为只读");
    case EACCES:
    case EPERM: return QCoreApplication::translate("FileWrite", "没有写入权限");
    case ENOTDIR:
    case EEXIST: return QCoreApplication::translate("FileWrite", "同名文件已存在，无法建立文件夹");
    case ENOENT: return QCoreApplication::translate("FileWrite", "文件夹不存在");
    case EISDIR: return QCoreApplication::translate("FileWrite", "这是一个文件夹");
    case 0: return QCoreApplication::translate("FileWrite", "未知原因");
    }
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

bool WriteWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    // Unbuffered, so that a short write shows at once instead of vanishing in a
    // buffer flushed at commit.
    QSaveFile file(path);
    errno = 0;
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            ok = false;
        else
            done += qsizetype(n);
    }
    const int writeError = errno;
    if (!ok) {
        file.cancelWriting();
        if (error) *error = Reason(writeError);
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        if (error) *error = Reason(errno);
        return false;
    }
    return true;
}

} // namespace FileWrite
