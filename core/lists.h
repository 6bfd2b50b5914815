// TVecList and TMtxList: lists that own their vectors or matrices. The list creates its items (Add, SetCount,
// Assign, LoadFromStream), frees them when they are deleted, cleared or when the list is destroyed, copies values
// into them on assignment, and streams the collection as one counted sequence.
//
// List stream: a 32-bit signed little-endian count n, then the n items, each a complete vector or matrix stream
// written with prDouble and rnTrunc.
//
// Index errors raise EListError "List index out of bounds (N)", count errors "List count out of bounds (N)";
// both before the list changes. Items handed out by Items remain the list's: the caller must not free them.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/rtl/StringList.h"

namespace tarnel {

template <class T>
class TOwningList {
public:
    TOwningList() = default;
    virtual ~TOwningList() { Clear(); }
    TOwningList(const TOwningList&) = delete;
    TOwningList& operator=(const TOwningList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Appends new items up to N, or deletes them from the last down to index N.
    void SetCount(int N)
    {
        if (N < 0) RaiseListCount(N);
        while (Count() < N) Add();
        while (Count() > N) Delete(Count() - 1);
    }
    T& Items(int Index) { return *FItems[Checked(Index)]; }
    const T& Items(int Index) const { return *FItems[Checked(Index)]; }
    // Copies Item into the item at Index with the item's Assign; the list keeps its own object. (A matrix list
    // refuses an item assigned to itself: "Mtx = Self".)
    void SetItems(int Index, const T& Item) { Items(Index).Assign(Item); }

    // A new empty item at the end; returns its index.
    virtual int Add()
    {
        FItems.push_back(std::make_unique<T>());
        return Count() - 1;
    }
    virtual void Delete(int Index) { FItems.erase(FItems.begin() + Checked(Index)); }
    // Deletes every item, from the last to the first.
    virtual void Clear()
    {
        while (Count() > 0) Delete(Count() - 1);
    }
    // Makes the list an item-by-item copy of Src (values and settings through each item's Assign), reusing its
    // own items in place: new ones are added where the list is shorter, the ones past Src's count deleted from
    // the last down. A list assigned to itself does not change.
    virtual void Assign(const TOwningList& Src)
    {
        if (&Src == this) return;
        for (int i = 0; i < Src.Count(); ++i) {
            if (i >= Count()) Add();
            Items(i).Assign(Src.Items(i));
        }
        while (Count() > Src.Count()) Delete(Count() - 1);
    }
    virtual void SaveToStream(TStream& Stream) const
    {
        const std::uint32_t n = static_cast<std::uint32_t>(Count());
        const unsigned char bytes[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                        static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
        Stream.WriteBuffer(bytes, 4);
        for (const auto& item : FItems) item->SaveToStream(Stream, prDouble, rnTrunc);
    }
    // Reads the count n, then loads item i (added where the list is shorter) for i < n, reusing the existing
    // items in place, and deletes the items from n on. A count below 0, or one that the rest of the stream cannot
    // hold (every item takes at least its header), raises "List count out of bounds (n)" before the list changes.
    // A failure while loading item i leaves the items before it loaded and the list as it stands at that point.
    virtual void LoadFromStream(TStream& Stream)
    {
        unsigned char bytes[4];
        Stream.ReadBuffer(bytes, 4);
        const std::int32_t n = static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                                         std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
        const std::int64_t rest = Stream.Size() - Stream.Position();
        if (n < 0 || n > rest / kLeastItemBytes) RaiseListCount(n);
        for (int i = 0; i < n; ++i) {
            if (i >= Count()) Add();
            Items(i).LoadFromStream(Stream);
        }
        while (Count() > n) Delete(Count() - 1);
    }

private:
    // The shortest stream of one item: a header without a caption record (formats up to version 104).
    static constexpr std::int64_t kLeastItemBytes = std::is_same_v<T, TMtx> ? 104 : 44;

    std::size_t Checked(int Index) const
    {
        if (Index < 0 || Index >= Count()) RaiseListIndex(Index);
        return static_cast<std::size_t>(Index);
    }

    std::vector<std::unique_ptr<T>> FItems;
};

class TVecList : public TOwningList<TVec> {};
class TMtxList : public TOwningList<TMtx> {};

}  // namespace tarnel
