// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#ifdef __linux__
#include <sys/mman.h>
#endif

// Compact stand-ins for std::optional in the batch results: a run keeps a
// dozen optional numbers for each of millions of results, and one result in
// many has a second root.
namespace Batch {

// An optional double in the space of a double: NaN stands for none, so a NaN
// assigned reads back as none (the batch never keeps one as a value).
class Maybe {
  public:
    constexpr Maybe() = default;
    constexpr Maybe(std::nullopt_t) {}
    constexpr Maybe(double value) : v_(value) {}
    Maybe(const std::optional<double> &value) : v_(value ? *value : kNone) {}

    bool has_value() const { return !std::isnan(v_); }
    explicit operator bool() const { return has_value(); }
    double operator*() const { return v_; }
    double value_or(double fallback) const { return has_value() ? v_ : fallback; }
    void reset() { v_ = kNone; }
    std::optional<double> optional() const { return has_value() ? std::optional<double>(v_) : std::nullopt; }

    friend bool operator==(const Maybe &x, const Maybe &y)
    {
        return x.has_value() == y.has_value() && (!x.has_value() || x.v_ == y.v_);
    }
    friend bool operator!=(const Maybe &x, const Maybe &y) { return !(x == y); }
    friend bool operator==(const Maybe &x, std::nullopt_t) { return !x.has_value(); }
    friend bool operator!=(const Maybe &x, std::nullopt_t) { return x.has_value(); }

  private:
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    double v_ = kNone;
};

// An optional value kept on the heap: a pointer's space where it is absent,
// copied with its owner like std::optional.
template <class T> class Rare {
  public:
    Rare() = default;
    Rare(std::nullopt_t) {}
    Rare(const T &value) : p_(std::make_unique<T>(value)) {}
    Rare(const Rare &other) : p_(other.p_ ? std::make_unique<T>(*other.p_) : nullptr) {}
    Rare(Rare &&) noexcept = default;
    Rare &operator=(const Rare &other)
    {
        if (this != &other) p_ = other.p_ ? std::make_unique<T>(*other.p_) : nullptr;
        return *this;
    }
    Rare &operator=(Rare &&) noexcept = default;
    ~Rare() = default;

    bool has_value() const { return p_ != nullptr; }
    explicit operator bool() const { return has_value(); }
    T &operator*() { return *p_; }
    const T &operator*() const { return *p_; }
    T *operator->() { return p_.get(); }
    const T *operator->() const { return p_.get(); }
    void reset() { p_.reset(); }

  private:
    std::unique_ptr<T> p_;
};

// A text most results do not have (why a row cannot be used): a pointer's
// space where it is absent; it reads as a QString.
class RareText {
  public:
    RareText() = default;
    RareText(const QString &text)
    {
        if (!text.isEmpty()) text_ = text;
    }

    operator QString() const { return text_ ? *text_ : QString(); }
    bool isEmpty() const { return !text_; }

  private:
    Rare<QString> text_;
};

// Memory for millions of results: a large block is asked for in huge pages
// where the system gives them, so that its first use costs a few page faults,
// not one for every 4 KiB (on a virtual machine, some microseconds each).
template <class T> struct LargeAllocator {
    using value_type = T;
    static constexpr size_t kHuge = size_t(2) << 20;

    LargeAllocator() = default;
    template <class U> LargeAllocator(const LargeAllocator<U> &) {}

    static bool large(size_t n) { return n * sizeof(T) >= 2 * kHuge; }
    T *allocate(size_t n)
    {
        if (n > std::numeric_limits<size_t>::max() / sizeof(T)) throw std::bad_alloc();
        if (!large(n)) return static_cast<T *>(::operator new(n * sizeof(T)));
        const size_t bytes = (n * sizeof(T) + kHuge - 1) / kHuge * kHuge;
        void *p = std::aligned_alloc(kHuge, bytes);
        if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        madvise(p, bytes, MADV_HUGEPAGE); // advice only: without huge pages it works as before
#endif
        return static_cast<T *>(p);
    }
    void deallocate(T *p, size_t n)
    {
        if (large(n))
            std::free(p);
        else
            ::operator delete(p);
    }
    friend bool operator==(const LargeAllocator &, const LargeAllocator &) { return true; }
    friend bool operator!=(const LargeAllocator &, const LargeAllocator &) { return false; }
};

} // namespace Batch
