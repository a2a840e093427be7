#pragma once
// The measurement collections: points of three doubles, cycles of points, velocity samples,
// and their stream format (Int32 count, then the items as little-endian doubles).
#include <QIODevice>
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "foundations/StreamIO.h"

// The items of a collection seen through their owning pointers: walked in order, indexed, or
// from the n-th on. Plain iterators, so that every compiler the project builds with takes it.
template <class Item, class Ptr>
class TItemRange {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<Item>;
        using difference_type = std::ptrdiff_t;
        using pointer = Item*;
        using reference = Item&;
        iterator() = default;
        explicit iterator(Ptr* p) : p_(p) {}
        Item& operator*() const { return **p_; }
        Item* operator->() const { return p_->get(); }
        iterator& operator++() {
            ++p_;
            return *this;
        }
        iterator operator++(int) {
            iterator old = *this;
            ++p_;
            return old;
        }
        bool operator==(const iterator& o) const { return p_ == o.p_; }
        bool operator!=(const iterator& o) const { return p_ != o.p_; }

    private:
        Ptr* p_ = nullptr;
    };
    TItemRange(Ptr* first, Ptr* last) : first_(first), last_(last) {}
    iterator begin() const { return iterator(first_); }
    iterator end() const { return iterator(last_); }
    std::size_t size() const { return std::size_t(last_ - first_); }
    Item& operator[](std::size_t i) const { return *first_[i]; }
    // The items from the n-th on (none when there are fewer).
    TItemRange From(std::size_t n) const { return TItemRange(n < size() ? first_ + n : last_, last_); }

private:
    Ptr* first_;
    Ptr* last_;
};

// Items are owned by their collection and keep their address until deleted, so a reference
// from GetItem stays valid while other items are added.
template <class Item>
class TOwnedCollection {
public:
    TOwnedCollection() = default;
    TOwnedCollection(const TOwnedCollection& o) { Assign(o); }
    TOwnedCollection& operator=(const TOwnedCollection& o) {
        if (this != &o) Assign(o);
        return *this;
    }
    TOwnedCollection(TOwnedCollection&&) noexcept = default;
    TOwnedCollection& operator=(TOwnedCollection&&) noexcept = default;

    int Count() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    // Out-of-range index: std::out_of_range (the list index error).
    Item& GetItem(int i) { return *items_.at(checked(i)); }
    const Item& GetItem(int i) const { return *items_.at(checked(i)); }
    Item& operator[](int i) { return GetItem(i); }
    const Item& operator[](int i) const { return GetItem(i); }
    // The items in order, for walks over the whole collection with no per-item index check.
    TItemRange<const Item, const std::unique_ptr<Item>> Items() const {
        return {items_.data(), items_.data() + items_.size()};
    }
    TItemRange<Item, std::unique_ptr<Item>> Items() { return {items_.data(), items_.data() + items_.size()}; }
    // Exactly n items: the first ones kept as they are, missing ones added as new items, the
    // rest deleted. For results refilled on every evaluation without freeing and allocating
    // each item again.
    void Resize(int n) {
        const size_t want = n < 0 ? 0 : static_cast<size_t>(n);
        if (items_.size() > want) items_.resize(want);
        items_.reserve(want);
        while (items_.size() < want) items_.push_back(std::make_unique<Item>());
    }
    Item& Add() {
        items_.push_back(std::make_unique<Item>());
        return *items_.back();
    }
    void Delete(int i) { items_.erase(items_.begin() + checked(i)); }
    void Clear() { items_.clear(); }
    // Copies every item of Source (this collection's items are cleared first).
    void Assign(const TOwnedCollection& source) {
        std::vector<std::unique_ptr<Item>> copy;
        copy.reserve(source.items_.size());
        for (const auto& it : source.items_) {
            copy.push_back(std::make_unique<Item>());
            copy.back()->Assign(*it);
        }
        items_ = std::move(copy);
    }
    // Writes Count, then each item.
    void SaveToStream(QIODevice& s) const {
        foundations::writeInt32(s, Count());
        for (const auto& it : items_) it->WriteItem(s);
    }
    // Appends the stream's items; nothing is cleared first. A stream that ends early throws
    // StreamReadError, keeping only the items whose fields were read whole. No memory is set
    // aside from the stored count: items are added as they are read. A negative count is a
    // damaged stream, refused like a short one.
    void LoadFromStream(QIODevice& s) {
        const int32_t n = foundations::readInt32(s);
        if (n < 0) throw foundations::StreamReadError("negative item count");
        for (int32_t i = 0; i < n; ++i) {
            auto item = std::make_unique<Item>();
            item->ReadItem(s);
            items_.push_back(std::move(item));
        }
    }
    // The same two, in memory: the format, the checks and what a short input keeps are those of
    // the stream. Item room is set aside only for as many items as the bytes left can hold.
    void SaveToBytes(foundations::ByteWriter& w) const {
        w.writeInt32(Count());
        for (const auto& it : items_) it->WriteItem(w);
    }
    void LoadFromBytes(foundations::ByteReader& r) {
        const int32_t n = r.readInt32();
        if (n < 0) throw foundations::StreamReadError("negative item count");
        const int64_t fits = r.remaining() / Item::kMinBytes;
        items_.reserve(items_.size() + static_cast<size_t>(std::min<int64_t>(n, fits)));
        for (int32_t i = 0; i < n; ++i) {
            auto item = std::make_unique<Item>();
            item->ReadItem(r);
            items_.push_back(std::move(item));
        }
    }

private:
    size_t checked(int i) const {
        if (i < 0 || i >= Count()) throw std::out_of_range("List index out of bounds");
        return static_cast<size_t>(i);
    }
    std::vector<std::unique_ptr<Item>> items_;
};

class TPunktItem {
public:
    double Dystans = 0.0;
    double Xa = 0.0;
    double Xr = 0.0;
    void Assign(const TPunktItem& src) {
        Dystans = src.Dystans;
        Xa = src.Xa;
        Xr = src.Xr;
    }
    void WriteItem(QIODevice& s) const;
    void ReadItem(QIODevice& s);
    static constexpr int kMinBytes = 24;
    void WriteItem(foundations::ByteWriter& w) const {
        w.writeDouble(Dystans);
        w.writeDouble(Xa);
        w.writeDouble(Xr);
    }
    // All three fields or none.
    void ReadItem(foundations::ByteReader& r) {
        r.need(kMinBytes);
        double v[3];
        r.readDoublesUnchecked(v, 3);
        Dystans = v[0];
        Xa = v[1];
        Xr = v[2];
    }
};

class TPunkt : public TOwnedCollection<TPunktItem> {
public:
    // Keeps the list ordered by Dystans; refuses a value within 1e-6 of a stored one.
    // Only the Dystans values move; Xa and Xr stay at their positions.
    bool InsertSorted(int& Index, double Value);
    // True when every Xr equals 0.0 exactly (also for an empty list).
    bool AllThirdValuesZero() const;
};

class TCyklItem {
public:
    TPunkt Punkt;
    void Assign(const TCyklItem& src) { Punkt.Assign(src.Punkt); }
    void WriteItem(QIODevice& s) const { Punkt.SaveToStream(s); }
    void ReadItem(QIODevice& s) { Punkt.LoadFromStream(s); }
    static constexpr int kMinBytes = 4;
    void WriteItem(foundations::ByteWriter& w) const { Punkt.SaveToBytes(w); }
    void ReadItem(foundations::ByteReader& r) { Punkt.LoadFromBytes(r); }
};

class TCykl : public TOwnedCollection<TCyklItem> {};

class TVelValueItem {
public:
    double Value = 0.0;
    void Assign(const TVelValueItem& src) { Value = src.Value; }
    void WriteItem(QIODevice& s) const { foundations::writeDouble(s, Value); }
    void ReadItem(QIODevice& s) { Value = foundations::readDouble(s); }
    static constexpr int kMinBytes = 8;
    void WriteItem(foundations::ByteWriter& w) const { w.writeDouble(Value); }
    void ReadItem(foundations::ByteReader& r) { Value = r.readDouble(); }
};

class TVelValue : public TOwnedCollection<TVelValueItem> {};
