// The shared pieces of the text and grid exchange (core/text_exchange.h).
#include "core/text_exchange.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/stream_detail.h"
#include "core/vec_class.h"
#include "platform/rtl/DateTime.h"

namespace tarnel::detail {

void PutLine(TStrings& Strings, std::int64_t Line, const std::string& S)
{
    if (Line < Strings.Count())
        Strings.SetStrings(static_cast<int>(Line), S);
    else
        Strings.Add(S);
}

void AddMatrixMarketHeader(TStrings& Lines, std::string_view Storage, bool Complex)
{
    Lines.Add("%%MatrixMarket matrix " + std::string(Storage) + (Complex ? " complex " : " real ") + "general ");
    Lines.Add("%Created with Tarnel version " + std::to_string(kStreamVersion));
    Lines.Add("%Date: " + DateToStr(Date()));
}

TFormatSettings SettingsBeside(std::string_view Delimiter)
{
    TFormatSettings s = CurrentFormatSettings();
    if (Delimiter.find(s.DecimalSeparator) != std::string_view::npos)
        s.DecimalSeparator = s.DecimalSeparator == '.' ? ',' : '.';
    return s;
}

// ---- Grids ------------------------------------------------------------------------------------------------------

namespace {

// A cell coordinate past the Integer range lies outside every grid.
int Cell(std::int64_t V)
{
    if (V > INT_MAX) ERaise(msg::kGridIndex);
    return static_cast<int>(V);
}

}  // namespace

void CheckGridRoom(const TCellGrid& Dst, int DstRow, int DstCol, int Rows, int Cols, int W, bool Headers,
                   const char* ColMsg, const char* RowMsg)
{
    // One past the last row and column written, 0 where nothing is written.
    const std::int64_t h = Headers ? 1 : 0;
    const std::int64_t width = static_cast<std::int64_t>(W) * Cols;
    std::int64_t rowEnd = 0;
    std::int64_t colEnd = 0;
    if (Headers && Cols > 0) {  // the header row, from DstCol + 1 on
        rowEnd = std::max<std::int64_t>(rowEnd, DstRow + std::int64_t{1});
        colEnd = std::max<std::int64_t>(colEnd, DstCol + 1 + width);
    }
    if (Headers && Rows > 0) {  // the header column, from DstRow + 1 on
        rowEnd = std::max<std::int64_t>(rowEnd, DstRow + std::int64_t{1} + Rows);
        colEnd = std::max<std::int64_t>(colEnd, DstCol + std::int64_t{1});
    }
    if (Rows > 0 && Cols > 0) {
        rowEnd = std::max<std::int64_t>(rowEnd, DstRow + h + Rows);
        colEnd = std::max<std::int64_t>(colEnd, DstCol + h + width);
    }
    if (colEnd > Dst.ColCount()) ERaise(ColMsg);
    if (rowEnd > Dst.RowCount()) ERaise(RowMsg);
}

std::string GridColumnHeader(std::int64_t Number, bool Complex, int Part)
{
    std::string n = std::to_string(Number);
    if (Complex) n += Part == 0 ? "-Re" : "-Im";
    return n;
}

void WriteGrid(TCellGrid& Dst, int DstRow, int DstCol, const TGridBlock& Block, std::string_view FloatFormat,
               bool Headers)
{
    const int w = Block.Complex ? 2 : 1;
    if (Headers) {
        for (int k = 0; k < Block.Cols; ++k)
            for (int part = 0; part < w; ++part)
                Dst.SetCells(DstCol + 1 + w * k + part, DstRow,
                             GridColumnHeader(Block.ColHeader + k, Block.Complex, part));
        for (int i = 0; i < Block.Rows; ++i) Dst.SetCells(DstCol, DstRow + 1 + i, std::to_string(Block.RowHeader + i));
        ++DstRow;
        ++DstCol;
    }
    const TFormatSettings settings = CurrentFormatSettings();
    for (int i = 0; i < Block.Rows; ++i) {
        for (int k = 0; k < Block.Cols; ++k) {
            const double* e = Block.Base + (i * Block.RowStep + k * Block.ColStep) * w;
            for (int part = 0; part < w; ++part)
                Dst.SetCells(DstCol + w * k + part, DstRow + i, FormatSample(FloatFormat, e[part], settings));
        }
    }
}

void ReadGrid(const TCellGrid& Src, int SrcRow, int SrcCol, int Rows, int Cols, int W, double* Out)
{
    const std::int64_t numbers = static_cast<std::int64_t>(Cols) * W;
    for (int i = 0; i < Rows; ++i) {
        const int row = Cell(std::int64_t{SrcRow} + i);
        for (std::int64_t j = 0; j < numbers; ++j) *Out++ = StrToSample(Src.Cells(Cell(SrcCol + j), row));
    }
}

// ---- Placing parsed values --------------------------------------------------------------------------------------

void PutElements(const double* Src, int SrcW, bool Complex, double* Dst, bool DstComplex, std::int64_t Count)
{
    if (Count <= 0) return;
    if (DstComplex && Complex && SrcW == 2) {
        std::memcpy(Dst, Src, static_cast<std::size_t>(Count) * 2 * sizeof(double));
    } else if (DstComplex) {
        for (std::int64_t k = 0; k < Count; ++k) {
            Dst[2 * k] = Src[k * SrcW];
            Dst[2 * k + 1] = Complex ? Src[k * SrcW + 1] : 0.0;
        }
    } else if (SrcW == 1) {
        std::memcpy(Dst, Src, static_cast<std::size_t>(Count) * sizeof(double));
    } else {
        for (std::int64_t k = 0; k < Count; ++k) Dst[k] = Src[k * SrcW];
    }
}

void PlaceElements(TVecs& Vec, int Index, const TVecs& Block, bool Complex)
{
    if (Complex) Vec.ExtendToComplex(true);
    const int w = Vec.Complex() ? 2 : 1;
    PutElements(Block.Values(), Block.Complex() ? 2 : 1, Complex, Vec.Values() + static_cast<std::int64_t>(Index) * w,
                Vec.Complex(), Block.Length());
}

void PlaceBlock(TMtx1& Mtx, int Row, int Col, int Rows, int Cols, const TVecs& Block, bool Complex)
{
    if (std::int64_t{Row} + Rows > Mtx.Rows()) ERaise(msg::kRowNrRows);
    if (std::int64_t{Col} + Cols > Mtx.Cols()) ERaise(msg::kColNrCols);
    if (Complex) Mtx.ExtendToComplex(true);
    const int w = Mtx.Complex() ? 2 : 1;
    const int bw = Block.Complex() ? 2 : 1;
    for (int i = 0; i < Rows; ++i) {
        double* dst = Mtx.Values() + (static_cast<std::int64_t>(Row + i) * Mtx.Cols() + Col) * w;
        PutElements(Block.Values() + static_cast<std::int64_t>(i) * Cols * bw, bw, Complex, dst, Mtx.Complex(), Cols);
    }
}

}  // namespace tarnel::detail
