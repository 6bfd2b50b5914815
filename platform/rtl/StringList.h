// A list of text lines, as the framework's string list: each line may carry an object pointer, the list can be kept
// sorted, and a change event follows every change. It is loaded from a stream (the report stream, for one) and read
// line by line, and descendants (the expression parser) replace its virtual operations.
//
// The objects are the caller's: the list stores the pointers and never reads or frees what they point to.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"

namespace tarnel {

// What Insert and Put say on a sorted list.
inline constexpr const char* kSortedListError = "Operation not allowed on sorted list";

class TStringList {
public:
    TStringList() = default;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;
    virtual ~TStringList() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Line Index (0-based); "List index out of bounds (N)" outside 0..Count-1, as for every index below.
    const std::string& Strings(int Index) const;
    const std::string& operator[](int Index) const { return Strings(Index); }
    // Replaces the text of line Index; a sorted list refuses, as Insert does.
    virtual void Put(int Index, const std::string& S);
    void* Objects(int Index) const;

    // Appends a line (in a sorted list: inserts it at its place) and returns its index.
    virtual int Add(const std::string& S);
    virtual int AddObject(const std::string& S, void* Object);
    // Inserts a line before Index (0..Count); a sorted list refuses with "Operation not allowed on sorted list".
    virtual void Insert(int Index, const std::string& S);
    virtual void Delete(int Index);
    virtual void Clear();
    // Exchanges lines I and J with their objects.
    virtual void Exchange(int I, int J);

    // Sorted lists keep their lines in ascending order, compared without regard to ASCII case; setting Sorted sorts
    // the lines (a stable sort: equal lines keep their order).
    bool Sorted() const { return FSorted; }
    virtual void SetSorted(bool Value);

    // Replaces the lines with the text from the stream's position to its end, split at LF, CR LF and CR; a last line
    // without a line end is a line too. The position is left at the end.
    virtual void LoadFromStream(TStream& Stream);
    // Writes Text at the stream's position.
    virtual void SaveToStream(TStream& Stream);
    // Every line followed by a line feed.
    std::string Text() const;

    // Changes between BeginUpdate and the matching EndUpdate fire OnChange once, at that EndUpdate.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Runs after every change of the lines or their objects.
    std::function<void(TStringList& Sender)> OnChange;

protected:
    // Stores the line without any check of Sorted and without the virtual operations above.
    void InsertItem(int Index, const std::string& S, void* Object);
    // Replaces line Index and its object, without the virtual operations above.
    void PutItem(int Index, const std::string& S, void* Object);
    // An index of a line, or the list-index error.
    std::size_t Checked(int Index) const;
    // Fires OnChange now, or at the end of the update bracket.
    void Changed();
    // Runs F inside an update bracket that ends on every path (a change event raised while an exception is on its
    // way out replaces that exception, as a raise in a finally block does).
    template <class F>
    void Updating(F&& Work)
    {
        BeginUpdate();
        try {
            Work();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    }

private:
    struct TItem {
        std::string S;
        void* Object;
    };
    std::vector<TItem> FItems;
    bool FSorted = false;
    int FUpdateCount = 0;
    bool FPending = false;  // a change inside the update bracket
};

// The lines of a text split at LF, CR LF and CR; a last line without a line end is a line too, an empty text has none.
std::vector<std::string> SplitLines(const std::string& Text);

}  // namespace tarnel
