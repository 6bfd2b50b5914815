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

std::size_t TStringList::CheckedIndex(int Index) const
{
    if (Index < 0 || Index >= Count()) RaiseListIndex(Index);
    return static_cast<std::size_t>(Index);
}

int TStringList::Add(const std::string& S)
{
    FLines.push_back(S);
    return Count() - 1;
}

void TStringList::Insert(int Index, const std::string& S)
{
    if (Index < 0 || Index > Count()) RaiseListIndex(Index);
    FLines.insert(FLines.begin() + Index, S);
}

void TStringList::Delete(int Index)
{
    FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(Index)));
}

void TStringList::LoadFromStream(TStream& Stream)
{
    const std::int64_t n = std::max<std::int64_t>(0, Stream.Size() - Stream.Position());
    std::string text(static_cast<std::size_t>(n), '\0');
    Stream.ReadBuffer(text.data(), n);
    FLines.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        FLines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) FLines.push_back(text.substr(start));
}

std::string TStringList::Text() const
{
    std::string s;
    for (const std::string& line : FLines) s += line + '\n';
    return s;
}

}  // namespace tarnel
