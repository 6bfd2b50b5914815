// Vectors exchanging their values with lines of text and with the cells of a grid (core/text_exchange.h holds
// what they share with the matrices).
//
// The readers parse every line or cell into a pooled temporary before the vector changes, so a text that makes no
// number, or a line or cell that is missing, leaves the vector as it was.
#include <climits>

#include "core/elementwise.h"
#include "core/text_exchange.h"

namespace tarnel {

using detail::TCheck;

namespace {

std::string ElementText(const TVecs& V, int I, std::string_view ReFormat, std::string_view ImFormat,
                        const TFormatSettings& Settings)
{
    if (V.Complex()) return FormatCplx(V.CValues()[I], ReFormat, ImFormat, Settings);
    return FormatSample(ReFormat, V.Values()[I], Settings);
}

// Into := lines ListIndex .. ListIndex+Len-1 as complex numbers (StrToCplx); whether any has a nonzero imaginary
// part.
bool ParseLines(const TStrings& Strings, int ListIndex, int Len, TVecs& Into)
{
    Into.Size(Len, true);
    bool complex = false;
    TCplx* z = Into.CValues();
    for (int k = 0; k < Len; ++k) {
        z[k] = StrToCplx(Strings.Strings(ListIndex + k));
        complex = complex || z[k].Im != 0;
    }
    return complex;
}

// The checks of TVec1.GridToValues for Self at TargetLength elements, then Into := the Len elements of the cells.
void ReadGridElements(const TVecs& Self, std::int64_t TargetLength, const TCellGrid& Src, int SrcRow, int SrcCol,
                      int Index, int Len, bool IsComplex, bool Vertical, TVecs& Into)
{
    const int w = IsComplex ? 2 : 1;
    TCheck check(Self);
    check.Negative({SrcRow, SrcCol, Index, Len}, msg::kGridNegVecRead)
        .Bound(std::int64_t{Index} + Len > TargetLength, msg::kTextIndexLenParen);
    if (Vertical)
        check.Gated(std::int64_t{SrcRow} + Len > Src.RowCount(), msg::kGridReadVertRows)
            .Gated(std::int64_t{SrcCol} + w > Src.ColCount(), msg::kGridReadVertCols);
    else
        check.Gated(std::int64_t{SrcRow} + 1 > Src.RowCount(), msg::kGridReadHorzRows)
            .Gated(std::int64_t{SrcCol} + std::int64_t{Len} * w > Src.ColCount(), msg::kGridReadHorzCols);
    check.Done();
    Into.Size(Len, IsComplex);
    detail::ReadGrid(Src, SrcRow, SrcCol, Vertical ? Len : 1, Vertical ? 1 : Len, w, Into.Values());
}

void WriteGridElements(const TVecs& V, TCellGrid& Dst, int DstRow, int DstCol, int Index, int Len,
                       std::string_view FloatFormat, bool Headers, bool Vertical)
{
    TCheck(V).Negative({DstRow, DstCol, Index, Len}, msg::kGridNegVecWrite);
    const int w = detail::Width(V);
    if (Vertical)
        detail::CheckGridRoom(Dst, DstRow, DstCol, Len, 1, w, Headers, msg::kGridVertCols, msg::kGridVertRows);
    else
        detail::CheckGridRoom(Dst, DstRow, DstCol, 1, Len, w, Headers, msg::kGridHorzCols, msg::kGridHorzRows);
    TCheck(V).Always(std::int64_t{Index} + Len > V.Length(), msg::kGridIndexLen);
    detail::TGridBlock block;
    block.Base = detail::At(V, Index);
    block.Complex = V.Complex();
    block.Rows = Vertical ? Len : 1;
    block.Cols = Vertical ? 1 : Len;
    block.RowStep = Vertical ? 1 : 0;
    block.ColStep = Vertical ? 0 : 1;
    // Horizontal complex headers number the elements themselves; every other header counts from 0.
    block.ColHeader = !Vertical && V.Complex() ? Index : 0;
    detail::WriteGrid(Dst, DstRow, DstCol, block, FloatFormat, Headers);
}

}  // namespace

// ---- Lines ------------------------------------------------------------------------------------------------------

void TVecs::ValuesToStrings(TStrings& Strings, std::string_view ReFormat, std::string_view ImFormat) const
{
    const TFormatSettings settings = CurrentFormatSettings();
    for (int i = 0; i < FLength; ++i) Strings.Add(ElementText(*this, i, ReFormat, ImFormat, settings));
}

void TVec0::ValuesToStrings(TStrings& Strings, int ListIndex, int Index, int Len, std::string_view ReFormat,
                            std::string_view ImFormat) const
{
    TCheck(*this)
        .Negative({ListIndex, Index, Len}, msg::kTextNegVec)
        .Always(std::int64_t{Index} + Len > FLength, msg::kTextIndexLen);
    const TFormatSettings settings = CurrentFormatSettings();
    for (int k = 0; k < Len; ++k)
        detail::PutLine(Strings, std::int64_t{ListIndex} + k,
                        ElementText(*this, Index + k, ReFormat, ImFormat, settings));
}

TVecs& TVecs::StringsToValues(const TStrings& Strings, int ListIndex, int Index, int Len)
{
    if (Len < 0) Len = Strings.Count();
    TCheck(*this)
        .Negative({ListIndex, Index}, msg::kTextNegVecRead)
        .Always(std::int64_t{Index} + Len > FLength, msg::kTextIndexLenParen)
        .Always(std::int64_t{ListIndex} + Len > Strings.Count(), msg::kTextListIndexLen);
    detail::TVecTemp values;
    const bool complex = ParseLines(Strings, ListIndex, Len, *values);
    detail::PlaceElements(*this, Index, *values, complex);
    return *this;
}

TVec0& TVec0::StringsToValues(const TStrings& Strings)
{
    const int n = Strings.Count();
    detail::TVecTemp values;
    const bool complex = ParseLines(Strings, 0, n, *values);
    SetLength(n);
    detail::PlaceElements(*this, 0, *values, complex);
    return *this;
}

// ---- Grids ------------------------------------------------------------------------------------------------------

void TVecs::ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, std::string_view FloatFormat, bool Headers,
                         bool Vertical) const
{
    WriteGridElements(*this, Dst, DstRow, DstCol, 0, FLength, FloatFormat, Headers, Vertical);
}

void TVec1::ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, int Index, int Len, std::string_view FloatFormat,
                         bool Headers, bool Vertical) const
{
    WriteGridElements(*this, Dst, DstRow, DstCol, Index, Len, FloatFormat, Headers, Vertical);
}

TVecs& TVecs::GridToValues(const TCellGrid& Src, bool IsComplex, bool Vertical, bool Headers)
{
    const int h = Headers ? 1 : 0;
    int len = (Vertical ? Src.RowCount() : Src.ColCount()) - h;
    if (!Vertical && IsComplex) len /= 2;
    CheckSize(len, IsComplex);
    detail::TVecTemp values;
    ReadGridElements(*this, len, Src, h, h, 0, len, IsComplex, Vertical, *values);
    Size(len, IsComplex);
    detail::PlaceElements(*this, 0, *values, IsComplex);
    return *this;
}

TVec1& TVec1::GridToValues(const TCellGrid& Src, int SrcRow, int SrcCol, int Index, int Len, bool IsComplex,
                           bool Vertical)
{
    detail::TVecTemp values;
    ReadGridElements(*this, FLength, Src, SrcRow, SrcCol, Index, Len, IsComplex, Vertical, *values);
    detail::PlaceElements(*this, Index, *values, IsComplex);
    return *this;
}

}  // namespace tarnel
