// Lists of text lines, as the framework's string lists: loaded from a stream (the report stream, for one), read line
// by line, written to by the library's logs.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Streams.h"

namespace tarnel {

// The framework's list of text lines as its users see it: what a routine that writes a log or reads lines takes,
// whichever list the caller keeps. TStringList is the one kept in memory.
class TStrings {
public:
    virtual ~TStrings() = default;
    virtual int Count() const = 0;
    // Line Index (0-based); "List index (N) out of bounds" outside 0..Count-1.
    virtual const std::string& Strings(int Index) const = 0;
    const std::string& operator[](int Index) const { return Strings(Index); }
    // Adds S as the last line and returns its index.
    virtual int Add(const std::string& S) = 0;
    // Adds S as the last line.
    void Append(const std::string& S) { Add(S); }
    virtual void Clear() = 0;
};

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(FLines.size()); }
    const std::string& Strings(int Index) const override;
    int Add(const std::string& S) override;
    void Clear() override { FLines.clear(); }
    // Replaces the lines with the text from the stream's position to its end, split at LF, CR LF and CR; a last line
    // without a line end is a line too. The position is left at the end.
    void LoadFromStream(TStream& Stream);
    // Every line followed by a line feed.
    std::string Text() const;

private:
    std::vector<std::string> FLines;
};

}  // namespace tarnel
