// Lists of text lines, as the framework's string lists: the abstract TStrings, through which the library reads and
// writes lines of any holder (a control's lines, a list in memory, a log), and the list in memory TStringList,
// which also loads the report stream.
//
// Every line access is checked: an index outside the list raises EListError "List index out of bounds (N)".
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel {

// The framework's error of lists: an index or a count out of range.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Raise EListError with "List index out of bounds (Index)" and "List count out of bounds (Count)".
[[noreturn]] void RaiseListIndex(int Index);
[[noreturn]] void RaiseListCount(int Count);

class TStrings {
public:
    TStrings() = default;
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    // Line Index (0-based).
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

    // Every line followed by a carriage return and a line feed, at the stream's position.
    void SaveToStream(TStream& Stream) const;
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
    int Count() const override { return static_cast<int>(FLines.size()); }
    // The line itself, without a copy.
    const std::string& Line(int Index) const { return FLines[CheckedIndex(Index)]; }
    int Add(const std::string& S) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override { FLines.clear(); }
    // Replaces the lines with the text from the stream's position to its end, split at LF, CR LF and CR; a last line
    // without a line end is a line too. The position is left at the end.
    void LoadFromStream(TStream& Stream);
    // Every line followed by a line feed.
    std::string Text() const;

protected:
    std::string Get(int Index) const override { return Line(Index); }
    void Put(int Index, const std::string& S) override { FLines[CheckedIndex(Index)] = S; }

private:
    std::size_t CheckedIndex(int Index) const;
    std::vector<std::string> FLines;
};

}  // namespace tarnel
