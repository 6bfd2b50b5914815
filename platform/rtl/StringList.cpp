#include "platform/rtl/StringList.h"

#include <algorithm>

namespace tarnel {

const std::string& TStringList::Strings(int Index) const
{
    if (Index < 0 || Index >= Count()) throw Exception("List index (" + std::to_string(Index) + ") out of bounds");
    return FLines[static_cast<std::size_t>(Index)];
}

int TStringList::Add(const std::string& S)
{
    FLines.push_back(S);
    return Count() - 1;
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
