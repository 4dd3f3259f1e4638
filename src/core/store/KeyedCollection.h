// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/base/AppError.h"
#include "core/store/RowKey.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace CollectionError {
constexpr int32_t SubscriptOutOfRange = 9; // "下标越界"
constexpr int32_t DuplicateKey = 457;      // "此键已与该集合的一个元素相关联"
} // namespace CollectionError

// An ordered collection of shared records, reachable by 1-based position or by
// key. Keys compare without regard to case, as the collections of the old
// platform did. Bad positions, unknown keys and repeated keys raise AppError.
template <class T> class KeyedCollection {
  public:
    using Pointer = std::shared_ptr<T>;
    using const_iterator = typename std::vector<Pointer>::const_iterator;

    // Stores the record at the end under "A" followed by its id.
    void Add(Pointer item)
    {
        // "A" and digits: already in the folded form of a key.
        QString key = RowKey(item->id());
        insert(std::move(item), std::move(key));
    }
    void Add(Pointer item, const QString &key) { insert(std::move(item), key.toUpper()); }

    Pointer Item(int position) const { return items_[slot(position)]; }
    Pointer Item(const QString &key) const { return items_[slot(key)]; }
    int32_t Count() const { return int32_t(items_.size()); }

    void Remove(int position) { erase(slot(position)); }
    void Remove(const QString &key) { erase(slot(key)); }

    void Clear()
    {
        items_.clear();
        keys_.clear();
        index_.clear();
    }

    // Room for a query's rows, so that filling a large result does not rehash.
    void reserve(int count)
    {
        items_.reserve(size_t(count));
        keys_.reserve(size_t(count));
        index_.reserve(count);
    }

    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

  private:
    void insert(Pointer item, QString folded)
    {
        if (index_.contains(folded))
            throw AppError(CollectionError::DuplicateKey, QStringLiteral("Collection.Add"),
                           QCoreApplication::translate("KeyedCollection", "此键已与该集合的一个元素相关联"));
        index_.insert(folded, int(items_.size()));
        items_.push_back(std::move(item));
        keys_.push_back(std::move(folded));
    }
    size_t slot(int position) const
    {
        if (position < 1 || position > Count())
            throw AppError(CollectionError::SubscriptOutOfRange, QStringLiteral("Collection.Item"),
                           QCoreApplication::translate("KeyedCollection", "下标越界"));
        return size_t(position - 1);
    }
    size_t slot(const QString &key) const
    {
        const auto found = index_.constFind(key.toUpper());
        if (found == index_.constEnd())
            raiseRuntimeError(ErrNo::InvalidCall, QStringLiteral("Collection.Item"));
        return size_t(found.value());
    }
    void erase(size_t at)
    {
        index_.remove(keys_[at]);
        items_.erase(items_.begin() + ptrdiff_t(at));
        keys_.erase(keys_.begin() + ptrdiff_t(at));
        for (size_t i = at; i < keys_.size(); ++i) index_[keys_[i]] = int(i);
    }

    std::vector<Pointer> items_;
    std::vector<QString> keys_;
    QHash<QString, int> index_;
};
