// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/Names.h"

#include "core/base/ProgramFolders.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <mutex>

namespace Names {
namespace {

// names.csv is a hundred lines; anything near this is not one.
constexpr qint64 kMaxBytes = 1 << 20;
constexpr int kMaxSpellingLength = 200;

int kindIndex(Kind kind) { return kind == Kind::Type ? 0 : 1; }

// Spaces trimmed and runs of them made one, case folded.
QString Folded(const QString &spelling) { return spelling.simplified().toCaseFolded(); }

// Levenshtein distance, giving up (returning limit + 1) once it passes limit.
int distance(const QString &a, const QString &b, int limit)
{
    if (std::abs(a.size() - b.size()) > limit) return limit + 1;
    std::vector<int> row(size_t(b.size()) + 1);
    for (int j = 0; j <= b.size(); ++j) row[size_t(j)] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        int best = row[0];
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] =
                std::min({above + 1, row[size_t(j) - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
            best = std::min(best, row[size_t(j)]);
        }
        if (best > limit) return limit + 1;
    }
    return row[size_t(b.size())];
}

struct SharedTable {
    std::mutex mutex;
    std::optional<Table> table;
};

SharedTable &shared()
{
    static SharedTable s;
    return s;
}

} // namespace

QString Shown(Kind kind, const QString &name)
{
    const Language::Choice language = Language::Installed();
    return language == Language::Choice::Chinese ? name : Table::Shared().shown(kind, name, language);
}

Table Table::Read(const QByteArray &text, QString *error)
{
    auto refuse = [error](int line, const QString &why) {
        if (error) *error = QCoreApplication::translate("Names", "名称表第%1行：%2").arg(line).arg(why);
        return Table();
    };
    if (text.size() > kMaxBytes) return refuse(1, QCoreApplication::translate("Names", "文件过大"));
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    Table table;
    bool header = true;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList fields = line.split(QLatin1Char(','));
        if (header) {
            header = false;
            if (fields.value(0).trimmed() != QLatin1String("kind"))
                return refuse(i + 1, QCoreApplication::translate("Names", "缺少标题行"));
            continue;
        }
        if (fields.size() != 5) return refuse(i + 1, QCoreApplication::translate("Names", "应有5列"));
        Entry entry;
        const QString kind = fields[0].trimmed();
        if (kind == QLatin1String("type"))
            entry.kind = Kind::Type;
        else if (kind == QLatin1String("mineral"))
            entry.kind = Kind::Mineral;
        else
            return refuse(i + 1, QCoreApplication::translate("Names", "未知种类 '%1'").arg(kind));
        entry.zh = fields[1].simplified();
        entry.en = fields[2].simplified();
        entry.symbol = fields[3].simplified();
        for (const QString &other : fields[4].split(QLatin1Char(';')))
            if (!other.simplified().isEmpty()) entry.also << other.simplified();
        if (entry.zh.isEmpty() || entry.en.isEmpty())
            return refuse(i + 1, QCoreApplication::translate("Names", "缺少中文或英文名称"));

        const int index = int(table.entries_.size());
        QHash<QString, int> &spellings = table.index_[kindIndex(entry.kind)];
        QStringList all = {entry.zh, entry.en, entry.symbol};
        all += entry.also;
        for (const QString &spelling : all) {
            if (spelling.isEmpty()) continue;
            if (spelling.size() > kMaxSpellingLength)
                return refuse(i + 1, QCoreApplication::translate("Names", "名称过长"));
            const QString folded = Folded(spelling);
            const auto taken = spellings.constFind(folded);
            if (taken != spellings.constEnd() && *taken != index)
                return refuse(i + 1, QCoreApplication::translate("Names", "'%1'已属于%2")
                                         .arg(spelling, table.entries_[size_t(*taken)].zh));
            spellings.insert(folded, index);
        }
        table.entries_.push_back(entry);
    }
    return table;
}

Table Table::Load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QCoreApplication::translate("Names", "无法读取%1").arg(path);
        return Table();
    }
    const QByteArray text = file.read(kMaxBytes + 1);
    return Read(text, error);
}

const Table &Table::Shared()
{
    SharedTable &s = shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.table) s.table = Load(ProgramFolders::NamesFile());
    return *s.table;
}

void Table::SetShared(Table table)
{
    SharedTable &s = shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.table = std::move(table);
}

const Entry *Table::find(Kind kind, const QString &spelling) const
{
    const auto it = index_[kindIndex(kind)].constFind(Folded(spelling));
    return it == index_[kindIndex(kind)].constEnd() ? nullptr : &entries_[size_t(*it)];
}

QString Table::key(Kind kind, const QString &spelling) const
{
    const Entry *entry = find(kind, spelling);
    return entry ? entry->zh : Folded(spelling);
}

QString Table::stored(Kind kind, const QString &spelling) const
{
    const Entry *entry = find(kind, spelling);
    return entry ? entry->zh : spelling.trimmed();
}

QString Table::shown(Kind kind, const QString &spelling, Language::Choice language) const
{
    return language == Language::Choice::English ? english(kind, spelling) : spelling;
}

QString Table::english(Kind kind, const QString &spelling) const
{
    const Entry *entry = find(kind, spelling);
    return entry ? entry->en : spelling;
}

std::optional<Suggestion> Table::nearest(Kind kind, const QString &spelling) const
{
    const QString folded = Folded(spelling);
    if (folded.isEmpty() || folded.size() > kMaxSpellingLength) return std::nullopt;
    std::optional<Suggestion> best;
    int bestDistance = 0;
    for (const Entry &entry : entries_) {
        if (entry.kind != kind) continue;
        QStringList all = {entry.en, entry.symbol, entry.zh};
        all += entry.also;
        for (const QString &candidate : all) {
            if (candidate.isEmpty()) continue;
            const QString other = Folded(candidate);
            const int limit = std::max<int>(1, int(std::max(folded.size(), other.size())) / 3);
            const int d = distance(folded, other, best ? std::min(limit, bestDistance - 1) : limit);
            if (d <= limit && (!best || d < bestDistance)) {
                best = Suggestion{candidate, &entry};
                bestDistance = d;
            }
        }
    }
    return best;
}

QString UnknownMessage(Kind kind, const QString &spelling, const std::optional<Suggestion> &suggestion)
{
    const QString what = kind == Kind::Type ? QCoreApplication::translate("Names", "未知同位素类型 '%1'")
                                            : QCoreApplication::translate("Names", "未知矿物 '%1'");
    QString text = what.arg(spelling.trimmed());
    if (!suggestion) return text;
    if (suggestion->spelling == suggestion->entry->zh)
        return QCoreApplication::translate("Names", "%1，是否为 '%2'？").arg(text, suggestion->spelling);
    return QCoreApplication::translate("Names", "%1，是否为 '%2'（%3）？")
        .arg(text, suggestion->spelling, suggestion->entry->zh);
}

} // namespace Names
