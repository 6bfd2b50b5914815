// Matrices exchanging their values with lines of delimited text, MatrixMarket array files and the cells of a grid
// (core/text_exchange.h holds what they share with the vectors).
//
// The readers parse every line or cell into a pooled temporary before the matrix changes, so a text that makes no
// number, or a line or cell that is missing, leaves the matrix as it was.
#include <climits>

#include "core/elementwise.h"
#include "core/text_exchange.h"

namespace tarnel {

using detail::TCheck;

namespace {

std::string ElementText(const TMtx1& M, std::int64_t At, std::string_view ReFormat, std::string_view ImFormat,
                        const TFormatSettings& Settings)
{
    if (M.Complex()) return FormatCplx(M.CValues()[At], ReFormat, ImFormat, Settings);
    return FormatSample(ReFormat, M.Values()[At], Settings);
}

// Into := the Len × C block of lines ListIndex .. ListIndex+Len-1, row i from line ListIndex + i read field by
// field as ExtractCplx reads it; a row without enough fields ends in zeros. Whether any value has a nonzero
// imaginary part.
bool ParseLines(const TStrings& Strings, int ListIndex, int Len, int C, std::string_view Delimiter, TVecs& Into)
{
    // A line past the list is refused before the block is taken, whatever its size: it is the first line the walk
    // would miss.
    if (std::int64_t{ListIndex} + Len > Strings.Count()) RaiseListIndex(Strings.Count());
    const std::int64_t count = std::int64_t{Len} * C;
    Into.CheckSize(count > INT_MAX ? -1 : static_cast<int>(count), true);
    Into.Size(static_cast<int>(count), true);
    Into.SetZero();
    TCplx* z = Into.CValues();
    bool complex = false;
    for (int i = 0; i < Len; ++i) {
        const std::string line = Strings.Strings(ListIndex + i);
        TCplx* row = z + std::int64_t{i} * C;
        int pos = 1;
        for (int j = 0; pos <= static_cast<int>(line.size()); ++j) {
            if (j > C - 1) ERaise(msg::kTextFieldIndex);
            row[j] = ExtractCplx(line, pos, Delimiter);
            complex = complex || row[j].Im != 0;
        }
    }
    return complex;
}

void WriteGridBlock(const TMtx1& M, TCellGrid& Dst, int DstRow, int DstCol, int SrcRow, int SrcCol, int RowCount,
                    int ColCount, std::string_view FloatFormat, bool Headers)
{
    TCheck check(M.ConditionCheck());
    check.Negative({DstRow, DstCol, SrcRow, SrcCol, RowCount, ColCount}, msg::kGridNegMtxWrite);
    const int w = M.Complex() ? 2 : 1;
    detail::CheckGridRoom(Dst, DstRow, DstCol, RowCount, ColCount, w, Headers, msg::kGridMtxCols, msg::kGridMtxRows);
    check.Always(std::int64_t{SrcRow} + RowCount > M.Rows(), msg::kGridSrcRows)
        .Always(std::int64_t{SrcCol} + ColCount > M.Cols(), msg::kGridSrcCols);
    detail::TGridBlock block;
    if (RowCount > 0 && ColCount > 0) block.Base = M.Values() + (std::int64_t{SrcRow} * M.Cols() + SrcCol) * w;
    block.Rows = RowCount;
    block.Cols = ColCount;
    block.Complex = M.Complex();
    block.RowStep = M.Cols();
    block.ColStep = 1;
    block.RowHeader = SrcRow;
    block.ColHeader = SrcCol;
    detail::WriteGrid(Dst, DstRow, DstCol, block, FloatFormat, Headers);
}

// The checks of TMtx.GridToValues for Self at TargetRows × TargetCols, then Into := the block of the cells.
void ReadGridBlock(const TMtx1& Self, int TargetRows, int TargetCols, const TCellGrid& Src, int SrcRow, int SrcCol,
                   int Row, int Col, int RowCount, int ColCount, bool IsComplex, TVecs& Into)
{
    const int w = IsComplex ? 2 : 1;
    TCheck(Self.ConditionCheck())
        .Negative({SrcRow, SrcCol, Row, Col, RowCount, ColCount}, msg::kGridNegMtxRead)
        .Bound(std::int64_t{Row} + RowCount > TargetRows, msg::kGridRowRows)
        .Bound(std::int64_t{Col} + ColCount > TargetCols, msg::kGridColCols)
        .Gated(std::int64_t{SrcRow} + RowCount > Src.RowCount(), msg::kGridReadRows)
        .Gated(std::int64_t{SrcCol} + std::int64_t{ColCount} * w > Src.ColCount(), msg::kGridReadCols)
        .Done();
    const std::int64_t count = std::int64_t{RowCount} * ColCount;
    Into.CheckSize(count > INT_MAX ? -1 : static_cast<int>(count), IsComplex);
    Into.Size(static_cast<int>(count), IsComplex);
    detail::ReadGrid(Src, SrcRow, SrcCol, RowCount, ColCount, w, Into.Values());
}

}  // namespace

// ---- Lines ------------------------------------------------------------------------------------------------------

int ColumnCount(const TStrings& Strings, int Row, std::string_view Delimiter)
{
    if (Row < 0) ERaise(msg::kNegRow);
    if (Row > Strings.Count() - 1) ERaise(msg::kTextColumnCountRow);
    if (Delimiter.empty()) ERaise(msg::kDelimiterEmpty);
    const std::string line = Strings.Strings(Row);
    int count = 1;
    for (std::size_t at = line.find(Delimiter); at != std::string::npos;
         at = line.find(Delimiter, at + Delimiter.size()))
        if (at + Delimiter.size() != line.size()) ++count;
    return count;
}

void TMtx1::ValuesToStrings(TStrings& Strings, int ListIndex, int Row, int Col, int RowCount, int ColCount,
                            std::string_view Delimiter, std::string_view ReFormat, std::string_view ImFormat) const
{
    TCheck(FConditionCheck)
        .Negative({ListIndex, Row, Col, RowCount, ColCount}, msg::kTextNegMtx)
        .Always(std::int64_t{Row} + RowCount > FRows, msg::kTextRowCount)
        .Always(std::int64_t{Col} + ColCount > FCols, msg::kTextColCount);
    const TFormatSettings settings = detail::SettingsBeside(Delimiter);
    std::string line;
    for (int k = 0; k < RowCount; ++k) {
        line.clear();
        const std::int64_t first = std::int64_t{Row + k} * FCols + Col;
        for (int j = 0; j < ColCount; ++j) {
            if (j > 0) line += Delimiter;
            line += ElementText(*this, first + j, ReFormat, ImFormat, settings);
        }
        detail::PutLine(Strings, std::int64_t{ListIndex} + k, line);
    }
}

void TMtx::ValuesToStrings(TStrings& Strings, std::string_view Delimiter, std::string_view ReFormat,
                           std::string_view ImFormat) const
{
    TMtx1::ValuesToStrings(Strings, Strings.Count(), 0, 0, FRows, FCols, Delimiter, ReFormat, ImFormat);
}

TMtx1& TMtx1::StringsToValues(const TStrings& Strings, int ListIndex, int ListLen, int Row, int Col,
                              std::string_view Delimiter)
{
    TCheck(FConditionCheck).Negative({ListIndex, ListLen, Row, Col}, msg::kTextNegMtxRead);
    const int c = ColumnCount(Strings, ListIndex, Delimiter);
    // As documented, each of these lets one row or line too many pass: the list access and the placing of the
    // block refuse it.
    TCheck(FConditionCheck)
        .Gated(std::int64_t{Row} + ListLen - 1 > FRows, msg::kTextListLenRows)
        .Gated(std::int64_t{Col} + c > FCols, msg::kTextColumnCountCols)
        .Gated(std::int64_t{ListIndex} + ListLen - 1 > Strings.Count(), msg::kTextListLenCount);
    detail::TVecTemp block;
    const bool complex = ParseLines(Strings, ListIndex, ListLen, c, Delimiter, *block);
    detail::PlaceBlock(*this, Row, Col, ListLen, c, *block, complex);
    return *this;
}

TMtx& TMtx::StringsToValues(const TStrings& Strings, std::string_view Delimiter)
{
    const int n = Strings.Count();
    const int c = ColumnCount(Strings, 0, Delimiter);
    detail::TVecTemp block;
    const bool complex = ParseLines(Strings, 0, n, c, Delimiter, *block);
    Size(n, c, complex);
    detail::PlaceBlock(*this, 0, 0, n, c, *block, complex);
    return *this;
}

// ---- MatrixMarket -----------------------------------------------------------------------------------------------

void TMtx::SaveToMatrixMarketFile(const std::string& FileName) const
{
    TStringList lines;
    detail::AddMatrixMarketHeader(lines, "array", FComplex);
    lines.Add(std::to_string(FRows) + " " + std::to_string(FCols) + " ");
    // Column by column, read in place.
    const int w = Width();
    for (int c = 0; c < FCols; ++c) {
        for (int r = 0; r < FRows; ++r) {
            const double* e = FValues + (std::int64_t{r} * FCols + c) * w;
            lines.Add(FComplex ? FloatToStrShortest(e[0]) + " " + FloatToStrShortest(e[1]) : FloatToStrShortest(e[0]));
        }
    }
    lines.SaveToFile(FileName);
}

// ---- Grids ------------------------------------------------------------------------------------------------------

void TMtx1::ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, std::string_view FloatFormat, bool Headers) const
{
    WriteGridBlock(*this, Dst, DstRow, DstCol, 0, 0, FRows, FCols, FloatFormat, Headers);
}

void TMtx::ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, int SrcRow, int SrcCol, int RowCount, int ColCount,
                        std::string_view FloatFormat, bool Headers) const
{
    WriteGridBlock(*this, Dst, DstRow, DstCol, SrcRow, SrcCol, RowCount, ColCount, FloatFormat, Headers);
}

TMtx1& TMtx1::GridToValues(const TCellGrid& Src, bool IsComplex, bool Headers)
{
    const int h = Headers ? 1 : 0;
    const int rows = Src.RowCount() - h;
    const int cols = (Src.ColCount() - h) / (IsComplex ? 2 : 1);
    CheckSize(rows, cols, IsComplex);
    detail::TVecTemp block;
    ReadGridBlock(*this, rows, cols, Src, h, h, 0, 0, rows, cols, IsComplex, *block);
    Size(rows, cols, IsComplex);
    detail::PlaceBlock(*this, 0, 0, rows, cols, *block, IsComplex);
    return *this;
}

TMtx& TMtx::GridToValues(const TCellGrid& Src, int SrcRow, int SrcCol, int Row, int Col, int RowCount, int ColCount,
                         bool IsComplex)
{
    detail::TVecTemp block;
    ReadGridBlock(*this, FRows, FCols, Src, SrcRow, SrcCol, Row, Col, RowCount, ColCount, IsComplex, *block);
    detail::PlaceBlock(*this, Row, Col, RowCount, ColCount, *block, IsComplex);
    return *this;
}

}  // namespace tarnel
