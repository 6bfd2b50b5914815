// TSparseMtx: MatrixMarket text and files.
//
// The writer gives coordinate files of general structure with the header of the dense writer (core/text_exchange.h)
// and its number text, the shortest that reads back to the same Double. The reader takes coordinate and array
// files of every field and symmetry that other programs write. It reads the whole text into triplets first and
// converts them with the triplet conversion (duplicates summed, rows ascending, zeros dropped unless
// DontStripZeros), so a text that fails anywhere leaves the matrix as it was. The triplets are counted as they are
// read: a symmetric file need not list its diagonal, and nothing pads the arrays.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <typeinfo>
#include <vector>

#include "core/Dovi387.h"
#include "core/text_exchange.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "sparse/SparseInternal.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

// ---- Writing ------------------------------------------------------------------------------------------------------

void AppendInteger(std::string& S, std::int64_t V)
{
    char buf[24];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, V);
    S.append(buf, r.ptr);
}

// ---- Reading ------------------------------------------------------------------------------------------------------

enum class TSymmetry { General, Symmetric, Skew, Hermitian };

bool Contains(std::string_view S, std::string_view Word)
{
    return S.find(Word) != std::string_view::npos;
}

std::string LowerCase(std::string_view S)
{
    std::string out(S);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool Blank(std::string_view S)
{
    return S.find_first_not_of(" \t\r") == std::string_view::npos;
}

// The file routines' own list: one text instead of a string per line. Loaded from a file, its lines are views of
// the text, split at LF, CR LF and CR as a string list splits them; added lines go onto the text, each with its
// CR LF, and the text is saved in one write, or, given a stream to write to, goes there in pieces of kPiece bytes
// as it grows (Flush writes the rest), so a long file never needs its whole text in memory. Its lines are not
// changed one by one.
class TTextLines final : public TStrings {
public:
    static constexpr std::size_t kPiece = std::size_t{1} << 18;
    TTextLines() = default;
    explicit TTextLines(TStream& Target) : FTarget(&Target) { FText.reserve(kPiece + 256); }
    void LoadFromFile(const std::string& FileName)
    {
        TFileStream file(FileName, fmOpenRead);
        const std::int64_t size = std::max<std::int64_t>(0, file.Size());
        FRead = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size));
        file.ReadBuffer(FRead.get(), size);
        const std::string_view text(FRead.get(), static_cast<std::size_t>(size));
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\n' && text[i] != '\r') continue;
            FLines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        if (start < text.size()) FLines.push_back(text.substr(start));
    }
    int Count() const override { return static_cast<int>(FLines.size()) + FAdded; }
    std::string_view Line(int Index) const { return FLines[static_cast<std::size_t>(Index)]; }
    int Add(const std::string& S) override
    {
        FText += S;
        FText += "\r\n";
        if (FTarget && FText.size() >= kPiece) Flush();
        return FAdded++;
    }
    void Flush()
    {
        FTarget->WriteBuffer(FText.data(), static_cast<std::int64_t>(FText.size()));
        FText.clear();
    }
    void SaveToStream(TStream& Stream) const override
    {
        Stream.WriteBuffer(FText.data(), static_cast<std::int64_t>(FText.size()));
    }
    void Insert(int Index, const std::string&) override { RaiseListIndex(Index); }
    void Delete(int Index) override { RaiseListIndex(Index); }
    void Clear() override
    {
        FText.clear();
        FRead.reset();
        FLines.clear();
        FAdded = 0;
    }

protected:
    std::string Get(int Index) const override
    {
        if (Index < 0 || Index >= static_cast<int>(FLines.size())) RaiseListIndex(Index);
        return std::string(Line(Index));
    }
    void Put(int Index, const std::string&) override { RaiseListIndex(Index); }

private:
    TStream* FTarget = nullptr;            // where added lines go in pieces, if anywhere
    std::string FText;                     // the lines added (not yet written to FTarget)
    std::unique_ptr<char[]> FRead;         // the text loaded
    std::vector<std::string_view> FLines;  // its lines
    int FAdded = 0;
};

// The lines of a list: a plain TStringList's own strings and a TTextLines's views without a copy, any other
// holder's through one. A line split at LF alone keeps no CR at its end.
class TLines {
public:
    explicit TLines(const TStrings& Strings)
        : FStrings(Strings),
          FList(typeid(Strings) == typeid(TStringList) ? static_cast<const TStringList*>(&Strings) : nullptr),
          FText(dynamic_cast<const TTextLines*>(&Strings)), FCount(Strings.Count())
    {
    }
    int Count() const { return FCount; }
    // Line Index; the list's index error past the end.
    std::string_view operator[](int Index)
    {
        if (Index >= FCount) RaiseListIndex(Index);
        std::string_view s;
        if (FText) {
            s = FText->Line(Index);
        } else if (FList) {
            s = FList->Line(Index);
        } else {
            FCopy = FStrings.Strings(Index);
            s = FCopy;
        }
        if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
        return s;
    }
    // The next line at or after At that is not blank; At is left on it.
    std::string_view NextFilled(int& At)
    {
        for (;; ++At) {
            const std::string_view s = (*this)[At];
            if (!Blank(s)) return s;
        }
    }

private:
    const TStrings& FStrings;
    const TStringList* FList;
    const TTextLines* FText;
    int FCount;
    std::string FCopy;
};

// The numbers of a line one after the other, as ExtractSample reads them with the blank as delimiter: runs of
// blanks separate fields, a field past the end reads 0.
class TFields {
public:
    explicit TFields(std::string_view Line) : FLine(Line) {}
    double Next() { return ExtractSample(FLine, FPos, " "); }

private:
    std::string_view FLine;
    int FPos = 1;
};

// A size of the size line: the nearest integer, ties to even; one that no Integer holds is refused as a count.
int SizeValue(double X)
{
    if (!(std::fabs(X) <= INT_MAX)) ERaise(msg::sparse::kRowColCount);
    return detail::RoundHalfEven(X);
}

// A 1-based index of a data line as a 0-based one; an index no Integer holds becomes -1, which the conversion
// refuses as an invalid triplet.
int IndexValue(double X)
{
    if (!(std::fabs(X) <= INT_MAX)) return -1;
    const std::int64_t i = static_cast<std::int64_t>(detail::RoundHalfEvenValue(X)) - 1;
    return i < 0 ? -1 : static_cast<int>(i);
}

// The triplets a text describes, in the order read; CValues for complex files, Values otherwise.
struct TTriplets {
    bool Complex = false;
    std::vector<int> Row;
    std::vector<int> Col;
    std::vector<double> Values;
    std::vector<TCplx> CValues;

    // The entry at (R, C), and its mirror at (C, R) off the diagonal of a file of symmetric structure.
    void Add(int R, int C, TCplx V, TSymmetry Symmetry)
    {
        Put(R, C, V);
        if (Symmetry == TSymmetry::General || R == C) return;
        if (Symmetry == TSymmetry::Skew) V = TCplx{-V.Re, -V.Im};
        if (Symmetry == TSymmetry::Hermitian) V.Im = -V.Im;
        Put(C, R, V);
    }

private:
    void Put(int R, int C, const TCplx& V)
    {
        Row.push_back(R);
        Col.push_back(C);
        if (Complex)
            CValues.push_back(V);
        else
            Values.push_back(V.Re);
    }
};

}  // namespace

// ---- Writer -----------------------------------------------------------------------------------------------------

void TSparseMtx1::ValuesToStrings(TStrings& Strings, TSparseFormat Format, bool /*Reserved*/) const
{
    if (Format != spfMatrixMarket) return;
    CheckPattern(true);
    detail::AddMatrixMarketHeader(Strings, "coordinate", FComplex);
    std::string line;
    AppendInteger(line, FRows);
    line += ' ';
    AppendInteger(line, FCols);
    line += ' ';
    AppendInteger(line, FNonZeros);
    Strings.Add(line);
    const double* v = FValues->Values();
    for (int j = 0; j < FCols; ++j) {
        for (int k = FColPointers[static_cast<std::size_t>(j)]; k < FColPointers[static_cast<std::size_t>(j) + 1];
             ++k) {
            line.clear();
            AppendInteger(line, std::int64_t{FRowIndices[static_cast<std::size_t>(k)]} + 1);
            line += "  ";
            AppendInteger(line, std::int64_t{j} + 1);
            line += "  ";
            if (FComplex) {
                line += FloatToStrShortest(v[2 * static_cast<std::size_t>(k)]);
                line += "  ";
                line += FloatToStrShortest(v[2 * static_cast<std::size_t>(k) + 1]);
            } else {
                line += FloatToStrShortest(v[k]);
            }
            Strings.Add(line);
        }
    }
}

void TSparseMtx1::SaveToMatrixMarketFile(const std::string& FileName) const
{
    CheckPattern(true);  // a refused matrix creates no file
    TFileStream file(FileName, fmCreate);
    TTextLines lines(file);
    ValuesToStrings(lines, spfMatrixMarket, false);
    lines.Flush();
}

// ---- Reader -----------------------------------------------------------------------------------------------------

void TSparseMtx1::StringsToValues(const TStrings& Strings, TSparseFormat Format)
{
    if (Format != spfMatrixMarket) ERaise(msg::sparse::kMarketFormat);
    if (Strings.Count() <= 1) ERaise(msg::sparse::kMarketLines);
    TLines lines(Strings);
    const std::string h = LowerCase(lines[0]);
    if (!Contains(h, "matrixmarket")) ERaise(msg::sparse::kMarketHeader);
    if (!Contains(h, " matrix ")) ERaise(msg::sparse::kMarketMatrix);
    const bool coordinate = Contains(h, "coordinate");
    // The field: the last word found wins, real when there is none.
    bool complex = false;
    bool pattern = false;
    if (Contains(h, "real") || Contains(h, "integer")) complex = false;
    if (Contains(h, "complex")) complex = true;
    if (Contains(h, "pattern")) complex = false, pattern = true;
    TSymmetry symmetry = TSymmetry::General;
    if (Contains(h, "skew-symmetric"))
        symmetry = TSymmetry::Skew;
    else if (Contains(h, "symmetric"))
        symmetry = TSymmetry::Symmetric;
    if (Contains(h, "hermitian")) symmetry = TSymmetry::Hermitian;

    // The comment lines up to the size line.
    std::string caption;
    int at = 1;
    std::string_view line;
    for (;; ++at) {
        line = lines.NextFilled(at);
        if (!Contains(line, "%")) break;
        caption.append(line);
        caption += "\r\n";
    }
    TFields size(line);
    const int rows = SizeValue(size.Next());
    const int cols = SizeValue(size.Next());
    if (rows < 0 || cols < 0) ERaise(msg::sparse::kRowColCount);

    TTriplets t;
    t.Complex = complex;
    const auto value = [&](TFields& F) {
        const double re = F.Next();
        return TCplx{re, complex ? F.Next() : 0.0};
    };
    if (coordinate) {
        double count = size.Next();
        if (!(count >= 0)) ERaise(msg::sparse::kRowEmpty);
        if (std::isfinite(count)) count = detail::RoundHalfEvenValue(count);
        // Lines are read as long as they are announced: a count past the lines ends in the list's index error.
        for (double k = 0; k < count; ++k) {
            ++at;
            TFields f(lines.NextFilled(at));
            const int r = IndexValue(f.Next());
            const int c = IndexValue(f.Next());
            t.Add(r, c, pattern ? TCplx{1.0, 0.0} : value(f), symmetry);
        }
    } else {
        // Column by column; a file of symmetric structure lists the lower triangle (skew: without the diagonal).
        const int skip = symmetry == TSymmetry::General ? -1 : symmetry == TSymmetry::Skew ? 1 : 0;
        const int lastCol = skip < 0 ? cols : std::min(cols, rows);
        for (int j = 0; j < lastCol && rows > 0; ++j) {
            for (int i = skip < 0 ? 0 : j + skip; i < rows; ++i) {
                ++at;
                TFields f(lines.NextFilled(at));
                t.Add(i, j, value(f), symmetry);
            }
        }
    }

    if (t.Row.empty()) {
        Install(rows, cols, complex, std::vector<int>(static_cast<std::size_t>(cols) + 1, 0));
    } else {
        InternalTripletsToSparse(rows, cols, t.Row, t.Col, complex ? t.CValues.data() : nullptr, t.Values.data(), 0);
    }
    SetCaption(caption);
}

void TSparseMtx1::LoadFromMatrixMarketFile(const std::string& FileName)
{
    std::error_code ec;
    if (!std::filesystem::exists(FileName, ec) || std::filesystem::is_directory(FileName, ec)) return;
    TTextLines lines;
    lines.LoadFromFile(FileName);
    StringsToValues(lines, spfMatrixMarket);
}

// ---- Harwell-Boeing -----------------------------------------------------------------------------------------------

void TSparseMtx1::LoadFromHarwellBoeingFile(const std::string& /*FileName*/)
{
    ERaise(msg::sparse::kHarwellBoeing);
}

void TSparseMtx1::SaveToHarwellBoeingFile(const std::string& /*FileName*/) const
{
    ERaise(msg::sparse::kHarwellBoeing);
}

}  // namespace tarnel
