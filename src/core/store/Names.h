// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/Language.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Minerals and isotope types in the spellings a geologist types: the Chinese
// name the library stores, the English name, the IMA–CNMNC symbol and a few
// others (δ18O, sulphur, barite). The table is data (names.csv beside the
// program's data); every spelling is found regardless of case and of spaces.
namespace Names {

enum class Kind { Type, Mineral };

struct Entry {
    Kind kind = Kind::Mineral;
    QString zh;     // as the library stores it
    QString en;     // English
    QString symbol; // IMA–CNMNC symbol or formula, may be empty
    QStringList also;
};

// The nearest known spelling of a name the table does not know.
struct Suggestion {
    QString spelling;
    const Entry *entry = nullptr;
};

class Table {
  public:
    // Reads names.csv: a header line "kind,zh,en,symbol,also", then one line
    // an entry; `also` holds further spellings separated by ';'. A line that
    // cannot be read, or a spelling two entries of one kind share, is refused
    // with its line in `error` (the table is then empty).
    static Table Read(const QByteArray &text, QString *error = nullptr);
    static Table Load(const QString &path, QString *error = nullptr);

    // The table the program reads: names.csv in the data folder, read on first
    // use (empty when missing or unreadable: every name then stands for itself).
    static const Table &Shared();
    // For start-up and tests: the table Shared gives from now on.
    static void SetShared(Table table);

    bool isEmpty() const { return entries_.empty(); }
    int size() const { return int(entries_.size()); }

    const Entry *find(Kind kind, const QString &spelling) const;
    // The name to look a spelling up by: the stored (Chinese) name of a known
    // spelling, else the spelling case-folded and trimmed. Two spellings of one
    // entry give one key.
    QString key(Kind kind, const QString &spelling) const;
    // The stored name of a known spelling, else the spelling trimmed.
    QString stored(Kind kind, const QString &spelling) const;
    // The name in the interface's language: English for a known spelling under
    // English, else the spelling as given.
    QString shown(Kind kind, const QString &spelling, Language::Choice language) const;
    // English for a known spelling, else the spelling as given.
    QString english(Kind kind, const QString &spelling) const;
    // For an unknown spelling: the known spelling fewest edits away (at most a
    // third of the longer one's letters, and at least one), if any.
    std::optional<Suggestion> nearest(Kind kind, const QString &spelling) const;

  private:
    std::vector<Entry> entries_;
    QHash<QString, int> index_[2]; // folded spelling -> entry, per kind
};

// A name as the running interface shows it: the shared table's English under
// English, the name as given under Chinese.
QString Shown(Kind kind, const QString &name);

// "未知矿物 'quarz'，是否为 'quartz'（石英）？" - or, with no near spelling,
// "未知矿物 'xyz'".
QString UnknownMessage(Kind kind, const QString &spelling, const std::optional<Suggestion> &suggestion);

} // namespace Names
