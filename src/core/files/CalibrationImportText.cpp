// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/CalibrationImportText.h"

#include "core/base/AppError.h"
#include "core/files/DelimitedText.h"
#include "core/files/TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace CalibrationImportText {

QString TooManyFieldsText() { return QCoreApplication::translate("CalibrationImportText", "无效的属性值"); }

Rows Parse(const QString &text, int maxFields)
{
    Rows result;
    const QStringList lines = DelimitedText::SplitLines(text);
    result.rows.reserve(lines.size());
    for (const QString &line : lines) {
        // SplitFields gives no field for an empty line: the row stays empty.
        QStringList fields = DelimitedText::SplitFields(line, 1);
        // A line with more fields than the list has columns is no calibration
        // of ours: the import stops before it rather than keep a cut-off row
        // that the next save would store.
        if (fields.size() > maxFields) {
            result.failed = true;
            result.errorNumber = kTooManyFields;
            result.errorText = TooManyFieldsText();
            break;
        }
        for (QString &f : fields) f = f.trimmed();
        result.rows << fields;
    }
    return result;
}

Rows ReadFile(const QString &fileName, int maxFields)
{
    QFile file(fileName);
    const QFileInfo info(fileName);
    int32_t number = 0;
    QByteArray bytes;
    if (!info.exists())
        number = ErrNo::FileNotFound;
    else if (info.isDir() || !file.open(QIODevice::ReadOnly))
        number = ErrNo::FileAccess;
    else {
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) number = ErrNo::FileAccess;
    }
    if (number != 0) {
        Rows failed;
        failed.failed = true;
        failed.errorNumber = number;
        failed.errorText = runtimeErrorText(number);
        return failed;
    }
    return Parse(TextCodec::Decode(bytes), maxFields);
}

} // namespace CalibrationImportText
