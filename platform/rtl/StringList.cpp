#include "platform/rtl/StringList.h"

#include <algorithm>

namespace tarnel {

void RaiseListIndex(int Index)
{
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void RaiseListCount(int Count)
{
    throw EListError("List count out of bounds (" + std::to_string(Count) + ")");
}

// ---- TStrings ---------------------------------------------------------------------------------------------------

int TStrings::Add(const std::string& S)
{
    const int at = Count();
    Insert(at, S);
    return at;
}

void TStrings::SaveToStream(TStream& Stream) const
{
    // The text goes out in pieces of about a megabyte: one write per piece, little memory held.
    constexpr std::size_t kPiece = 1 << 20;
    std::string piece;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        piece += Get(i);
        piece += "\r\n";
        if (piece.size() >= kPiece || i == n - 1) {
            Stream.WriteBuffer(piece.data(), static_cast<std::int64_t>(piece.size()));
            piece.clear();
        }
    }
}

void TStrings::SaveToFile(const std::string& FileName) const
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

// ---- TStringList ------------------------------------------------------------------------------------------------

namespace {

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Less(const std::string& A, const std::string& B)
{
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char a, char b) {
        return static_cast<unsigned char>(Upper(a)) < static_cast<unsigned char>(Upper(b));
    });
}

}  // namespace

TStringList::TStringList(const TStringList& Other) : TStrings(Other), FItems(Other.FItems), FSorted(Other.FSorted) {}

std::size_t TStringList::Checked(int Index) const
{
    if (Index < 0 || Index >= Count()) RaiseListIndex(Index);
    return static_cast<std::size_t>(Index);
}

void TStringList::Put(int Index, const std::string& S)
{
    if (FSorted) throw EListError(kSortedListError);
    FItems[Checked(Index)].S = S;
    Changed();
}

int TStringList::Add(const std::string& S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const std::string& S, void* Object)
{
    int Index = Count();
    if (FSorted) {
        const auto at = std::upper_bound(FItems.begin(), FItems.end(), S,
                                         [](const std::string& s, const TItem& item) { return Less(s, item.S); });
        Index = static_cast<int>(at - FItems.begin());
    }
    InsertItem(Index, S, Object);
    return Index;
}

void TStringList::Insert(int Index, const std::string& S)
{
    if (FSorted) throw EListError(kSortedListError);
    if (Index != Count()) Checked(Index);  // Count itself appends
    InsertItem(Index, S, nullptr);
}

void TStringList::InsertItem(int Index, const std::string& S, void* Object)
{
    FItems.insert(FItems.begin() + Index, TItem{S, Object});
    Changed();
}

void TStringList::PutItem(int Index, const std::string& S, void* Object)
{
    FItems[Checked(Index)] = TItem{S, Object};
    Changed();
}

void TStringList::Delete(int Index)
{
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(Checked(Index)));
    Changed();
}

void TStringList::Clear()
{
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

void TStringList::Exchange(int I, int J)
{
    std::swap(FItems[Checked(I)], FItems[Checked(J)]);
    Changed();
}

void TStringList::SetSorted(bool Value)
{
    if (Value == FSorted) return;
    FSorted = Value;
    if (Value) {
        std::stable_sort(FItems.begin(), FItems.end(), [](const TItem& a, const TItem& b) { return Less(a.S, b.S); });
        Changed();
    }
}

void TStringList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPending) {
        FPending = false;
        if (OnChange) OnChange(*this);
    }
}

void TStringList::Changed()
{
    if (FUpdateCount > 0) {
        FPending = true;
    } else if (OnChange) {
        OnChange(*this);
    }
}

void TStringList::LoadFromStream(TStream& Stream)
{
    const std::int64_t n = std::max<std::int64_t>(0, Stream.Size() - Stream.Position());
    std::string text(static_cast<std::size_t>(n), '\0');
    Stream.ReadBuffer(text.data(), n);
    Updating([&] {
        Clear();
        for (const std::string& line : SplitLines(text)) Add(line);
    });
}

void TStringList::LoadFromFile(const std::string& FileName)
{
    TFileStream file(FileName, fmOpenRead);
    LoadFromStream(file);
}

std::string TStringList::Text() const
{
    std::string s;
    for (const TItem& item : FItems) s += item.S + '\n';
    return s;
}

std::vector<std::string> SplitLines(const std::string& Text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\n' && Text[i] != '\r') continue;
        lines.push_back(Text.substr(start, i - start));
        if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < Text.size()) lines.push_back(Text.substr(start));
    return lines;
}

}  // namespace tarnel
