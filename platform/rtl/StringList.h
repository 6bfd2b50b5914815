// A list of text lines, as the framework's string list: loaded from a stream (the report stream, for one) and read
// line by line.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Streams.h"

namespace tarnel {

class TStringList {
public:
    int Count() const { return static_cast<int>(FLines.size()); }
    // Line Index (0-based); "List index (N) out of bounds" outside 0..Count-1.
    const std::string& Strings(int Index) const;
    const std::string& operator[](int Index) const { return Strings(Index); }
    void Add(const std::string& S) { FLines.push_back(S); }
    void Clear() { FLines.clear(); }
    // Replaces the lines with the text from the stream's position to its end, split at LF, CR LF and CR; a last line
    // without a line end is a line too. The position is left at the end.
    void LoadFromStream(TStream& Stream);
    // Every line followed by a line feed.
    std::string Text() const;

private:
    std::vector<std::string> FLines;
};

}  // namespace tarnel
