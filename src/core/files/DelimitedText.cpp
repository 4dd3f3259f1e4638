// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/DelimitedText.h"

namespace DelimitedText {

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    const int n = text.size();
    int start = 0;
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            start = i + 1;
        }
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

bool IsValidFileType(int fileType) { return fileType >= 1 && fileType <= 3; }

QStringList SplitFields(const QString &line, int fileType)
{
    if (line.isEmpty()) return QStringList();
    switch (fileType) {
    case 1: return line.split(QLatin1Char('\t'));
    case 2: {
        QStringList fields;
        int start = 0;
        for (int i = 0; i < line.size(); ++i) {
            if (line[i] == QLatin1Char(',') || line[i] == QChar(0xFF0C)) {
                fields << line.mid(start, i - start);
                start = i + 1;
            }
        }
        fields << line.mid(start);
        return fields;
    }
    default: return line.split(QLatin1Char(' '));
    }
}

QString WriteSeparator(int fileType)
{
    switch (fileType) {
    case 1: return QStringLiteral("\t");
    case 2: return QStringLiteral(",");
    default: return QStringLiteral(" ");
    }
}

QStringList FitFields(QStringList fields, int count)
{
    if (fields.size() > count) fields.erase(fields.begin() + count, fields.end());
    while (fields.size() < count) fields << QString();
    for (QString &f : fields) f = f.trimmed();
    return fields;
}

QVector<QStringList> ParseRecords(const QString &text, int fileType, int count)
{
    QVector<QStringList> records;
    const QStringList lines = SplitLines(text);
    records.reserve(lines.size());
    for (const QString &line : lines) records << FitFields(SplitFields(line, fileType), count);
    return records;
}

QString JoinLines(const QStringList &lines)
{
    QString out;
    qsizetype size = 0;
    for (const QString &l : lines) size += l.size() + 2;
    out.reserve(size);
    for (const QString &l : lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

} // namespace DelimitedText
