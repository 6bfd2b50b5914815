// Lists of text lines, as the framework's string lists: the abstract TStrings, through which the library reads and
// writes lines of any holder (a control's lines, a list in memory, a log, the expression parser), and the list in
// memory TStringList, which also loads the report stream. A TStringList line may carry an object pointer, the list
// can be kept sorted, and a change event follows every change; descendants (the expression parser) replace its
// virtual operations.
//
// Every line access is checked: an index outside the list raises EListError "List index out of bounds (N)". The
// objects are the caller's: the list stores the pointers and never reads or frees what they point to.
#pragma once

#include <concepts>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel {

// The framework's error of lists: an index or a count out of range, a change a sorted list refuses.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Raise EListError with "List index out of bounds (Index)" and "List count out of bounds (Count)".
[[noreturn]] void RaiseListIndex(int Index);
[[noreturn]] void RaiseListCount(int Count);

// What Insert and Put say on a sorted list.
inline constexpr const char* kSortedListError = "Operation not allowed on sorted list";

class TStrings {
public:
    TStrings() = default;
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    // Line Index (0-based), a copy: a holder need not keep its lines as strings.
    std::string Strings(int Index) const { return Get(Index); }
    std::string operator[](int Index) const { return Get(Index); }
    void SetStrings(int Index, const std::string& S) { Put(Index, S); }
    // Appends S and returns its index; Append does the same without the index.
    virtual int Add(const std::string& S);
    void Append(const std::string& S) { Add(S); }
    // S becomes line Index (0..Count); the lines from Index on move down by one.
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    // Every line followed by a carriage return and a line feed, at the stream's position. A holder with a record
    // of its own (the expression parser) writes that instead.
    virtual void SaveToStream(TStream& Stream) const;
    // SaveToStream into a new file (an existing one is emptied first). A file that cannot be created raises
    // EFCreateError, one that cannot be written whole EWriteError.
    void SaveToFile(const std::string& FileName) const;

protected:
    // Lists in memory copy as values; a holder seen through TStrings cannot be sliced.
    TStrings(const TStrings&) = default;
    TStrings& operator=(const TStrings&) = default;
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S) = 0;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    // A copy has the lines, their objects (still the caller's) and Sorted, but no OnChange and no update bracket.
    // A descendant cannot be copied into a plain list (the expression parser owns its objects), and a list is not
    // assigned: through a reference to this class the target could be such a descendant.
    TStringList(const TStringList& Other);
    template <class D>
    requires(std::derived_from<D, TStringList> && !std::same_as<D, TStringList>) TStringList(const D&)
    = delete;
    TStringList& operator=(const TStringList&) = delete;

    int Count() const override { return static_cast<int>(FItems.size()); }
    // The line itself, without a copy.
    const std::string& Line(int Index) const { return FItems[Checked(Index)].S; }
    // Replaces the text of line Index; a sorted list refuses, as Insert does.
    void Put(int Index, const std::string& S) override;
    void* Objects(int Index) const { return FItems[Checked(Index)].Object; }

    // Appends a line (in a sorted list: inserts it at its place) and returns its index.
    int Add(const std::string& S) override;
    virtual int AddObject(const std::string& S, void* Object);
    // Inserts a line before Index (0..Count); a sorted list refuses with "Operation not allowed on sorted list".
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;
    // Exchanges lines I and J with their objects.
    virtual void Exchange(int I, int J);

    // Sorted lists keep their lines in ascending order, compared without regard to ASCII case; setting Sorted sorts
    // the lines (a stable sort: equal lines keep their order).
    bool Sorted() const { return FSorted; }
    virtual void SetSorted(bool Value);

    // Replaces the lines with the text from the stream's position to its end, split at LF, CR LF and CR; a last line
    // without a line end is a line too. The position is left at the end.
    virtual void LoadFromStream(TStream& Stream);
    // LoadFromStream from the start of the file; a missing file or a folder raises EFOpenError.
    void LoadFromFile(const std::string& FileName);
    // Every line followed by a line feed.
    std::string Text() const;

    // Changes between BeginUpdate and the matching EndUpdate fire OnChange once, at that EndUpdate.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Runs after every change of the lines or their objects.
    std::function<void(TStringList& Sender)> OnChange;

protected:
    std::string Get(int Index) const override { return Line(Index); }
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
