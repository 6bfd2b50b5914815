// The pointer collections the expression parser is built on: an owning list, a list that never frees its items,
// and an owning list kept sorted by a key.
//
// Owning and non-owning lists are distinct types on a common list base, so no destructor has to reach a derived
// ReleaseItem (a C++ base destructor never would). A class that overrides ReleaseItem calls ReleaseAll in its own
// destructor.
#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <type_traits>
#include <vector>

#include "core/messages.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel {

// The list operations of the framework's pointer list: add, insert, delete, get, put, count, capacity. An index
// outside the list raises the framework's list-index error.
template <class T>
class TPtrList {
public:
    TPtrList() = default;
    TPtrList(const TPtrList&) = delete;
    TPtrList& operator=(const TPtrList&) = delete;
    virtual ~TPtrList() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    int Capacity() const { return static_cast<int>(FItems.capacity()); }
    void SetCapacity(int Value)
    {
        if (Value > 0) FItems.reserve(static_cast<std::size_t>(Value));
    }
    T* Items(int Index) const { return FItems[CheckedIndex(Index)]; }
    void Put(int Index, T* Item) { FItems[CheckedIndex(Index)] = Item; }
    int Add(T* Item)
    {
        FItems.push_back(Item);
        return Count() - 1;
    }
    void Insert(int Index, T* Item)
    {
        if (Index < 0 || Index > Count()) throw Exception(msg::ListIndexError(Index));
        FItems.insert(FItems.begin() + Index, Item);
    }
    void Delete(int Index) { FItems.erase(FItems.begin() + CheckedIndex(Index)); }
    // The items themselves, for the passes that rewrite a whole sequence at once.
    std::vector<T*>& List() { return FItems; }
    const std::vector<T*>& List() const { return FItems; }

protected:
    std::vector<T*> FItems;

private:
    std::size_t CheckedIndex(int Index) const
    {
        if (Index < 0 || Index >= Count()) throw Exception(msg::ListIndexError(Index));
        return static_cast<std::size_t>(Index);
    }
};

// A list that owns its items: ReleaseItem frees one, ReleaseAll frees them all, from the last to the first.
template <class T>
class TOCollection : public TPtrList<T> {
public:
    explicit TOCollection(int Capacity = 0) { this->SetCapacity(Capacity); }
    // Destructors never raise: a release that fails here is dropped.
    ~TOCollection() override
    {
        try {
            ReleaseAll();
        } catch (...) {
        }
    }

    virtual void ReleaseItem(T* Item) { delete Item; }

    // Hands every item to ReleaseItem, last first, and empties the list. When a release raises, the others are
    // still released and the first exception is raised again afterwards, with the list empty.
    void ReleaseAll()
    {
        std::exception_ptr first;
        for (std::size_t i = this->FItems.size(); i-- > 0;) {
            try {
                ReleaseItem(this->FItems[i]);
            } catch (...) {
                if (!first) first = std::current_exception();
            }
        }
        this->FItems.clear();
        if (first) std::rethrow_exception(first);
    }
};

// A list that never frees its items.
template <class T>
class TNoOwnerCollection : public TPtrList<T> {
public:
    explicit TNoOwnerCollection(int Capacity = 0) { this->SetCapacity(Capacity); }
    void ReleaseItem(T*) {}
    void ReleaseAll() { this->FItems.clear(); }
};

// An owning list kept sorted by the key ItemKey gives for an item, compared by CompareKeys. Without Duplicates a
// key is held once.
template <class T, class K = const T*>
class TSortedCollection : public TOCollection<T> {
public:
    explicit TSortedCollection(int Capacity = 0) : TOCollection<T>(Capacity) {}

    bool Duplicates = false;

    virtual int CompareKeys(K Key1, K Key2) const = 0;

    // -1 when the key is absent. With Duplicates the scan moves forward from the leftmost equal key until it meets
    // the item itself, and gives -1 when it runs off the end.
    virtual int IndexOfItem(T* Item) const
    {
        int Index;
        if (!SearchKey(ItemKey(Item), Index)) return -1;
        if (!Duplicates) return Index;
        while (Index < this->Count() && this->FItems[static_cast<std::size_t>(Index)] != Item) ++Index;
        return Index < this->Count() ? Index : -1;
    }

    // Inserts the item at its place. An existing key without Duplicates refuses it: the result is False, nothing
    // changes, and the caller keeps the item.
    virtual bool InsertItem(T* Item)
    {
        int Index;
        if (SearchKey(ItemKey(Item), Index) && !Duplicates) return false;
        this->Insert(Index, Item);
        return true;
    }

    // Takes out the item that has the same key, if any, without freeing it, then inserts this one.
    virtual bool ReplaceItem(T* Item)
    {
        int Index;
        if (SearchKey(ItemKey(Item), Index)) this->Delete(Index);
        return InsertItem(Item);
    }

    // The item itself by default; a collection keyed by anything else overrides this.
    virtual K ItemKey(T* Item) const
    {
        if constexpr (std::is_convertible_v<T*, K>) {
            return Item;
        } else {
            return K{};
        }
    }

    // Binary search: Index is the position of the key (with Duplicates the leftmost equal one) or, when the key is
    // absent, the position where it would be inserted.
    virtual bool SearchKey(K Key, int& Index) const
    {
        int lo = 0;
        int hi = this->Count() - 1;
        bool found = false;
        while (lo <= hi) {
            const int mid = (lo + hi) / 2;
            const int c = CompareKeys(ItemKey(this->FItems[static_cast<std::size_t>(mid)]), Key);
            if (c < 0) {
                lo = mid + 1;
            } else {
                hi = mid - 1;
                if (c == 0) {
                    found = true;
                    if (!Duplicates) lo = mid;
                }
            }
        }
        Index = lo;
        return found;
    }
};

}  // namespace tarnel
