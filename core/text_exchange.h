// What the text and grid exchange of vectors and matrices shares: lines replaced or appended, the separators for
// numbers beside a delimiter, the cells of a block written and read with their headers, and parsed values placed
// into their target. Internal to the library.
//
// A grid block is the general layout: Rows × Cols elements, W = 1 or 2 cells each (real and imaginary part side by
// side), with an optional header row and column in front. A vector is such a block of Len × 1 elements (vertical)
// or 1 × Len (horizontal), so one writer, one reader and one room check serve vectors and matrices alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/CellGrid.h"
#include "core/Dovi387.h"
#include "platform/rtl/StringList.h"

namespace tarnel {

class TVecs;
class TMtx1;

namespace detail {

// Line Line := S when the list has that line, else S appended at the end.
void PutLine(TStrings& Strings, std::int64_t Line, const std::string& S);

// The first three lines of the library's MatrixMarket files: "%%MatrixMarket matrix <Storage> " followed by "complex "
// or "real " and "general " (the line ends with a blank), "%Created with Tarnel version 150" and "%Date: " with the
// short date. The dense writer gives "array", the sparse one "coordinate".
void AddMatrixMarketHeader(TStrings& Lines, std::string_view Storage, bool Complex);

// The process-wide separators, with the other decimal separator ("." for ",", else ",") when Delimiter contains
// the current one, so that the fields of a line read back as the numbers written (StrToVal's fallback).
TFormatSettings SettingsBeside(std::string_view Delimiter);

// The elements of a block in memory: element (i, k) at Base + (i·RowStep + k·ColStep)·W Doubles; the headers
// number row i as RowHeader + i and column k as ColHeader + k.
struct TGridBlock {
    const double* Base = nullptr;
    int Rows = 0;
    int Cols = 0;
    bool Complex = false;
    std::int64_t RowStep = 0;
    std::int64_t ColStep = 0;
    std::int64_t RowHeader = 0;
    std::int64_t ColHeader = 0;
};

// Raises ColMsg, then RowMsg, when a cell the layout of Rows × Cols elements of W cells at (DstRow, DstCol) writes
// (headers included) lies outside the grid. Nothing is written for an empty block but its headers: a header row
// for Cols > 0, a header column for Rows > 0.
void CheckGridRoom(const TCellGrid& Dst, int DstRow, int DstCol, int Rows, int Cols, int W, bool Headers,
                   const char* ColMsg, const char* RowMsg);
// The header cell of element column Number: the number, followed by "-Re" (Part = 0) or "-Im" (Part = 1) when Complex.
std::string GridColumnHeader(std::int64_t Number, bool Complex, int Part);
// Writes the block (after CheckGridRoom): the headers, then every number by FormatSample (x, FloatFormat).
void WriteGrid(TCellGrid& Dst, int DstRow, int DstCol, const TGridBlock& Block, std::string_view FloatFormat,
               bool Headers);
// Out := Rows × Cols elements of W numbers from the cells (StrToSample), grid row SrcRow + i from column SrcCol on
// giving the numbers of row i. A cell outside the grid raises the grid's error.
void ReadGrid(const TCellGrid& Src, int SrcRow, int SrcCol, int Rows, int Cols, int W, double* Out);

// Count elements into Dst of its own kind from Src, which holds SrcW Doubles per element (Re, Im pairs for 2):
// with Complex the imaginary parts are taken too, otherwise a complex destination gets zero imaginary parts. A
// real destination takes the real parts.
void PutElements(const double* Src, int SrcW, bool Complex, double* Dst, bool DstComplex, std::int64_t Count);
// Vec[Index ..] := the elements of Block: complex values when Complex (a real Vec is widened first, x + 0i), else
// the real parts.
void PlaceElements(TVecs& Vec, int Index, const TVecs& Block, bool Complex);
// The Rows × Cols block (row by row in Block) into Mtx at (Row, Col), as PlaceElements. The block must lie inside
// the matrix: "Row + NrRows > Rows", "Col + NrCols > Cols" otherwise, before anything changes.
void PlaceBlock(TMtx1& Mtx, int Row, int Col, int Rows, int Cols, const TVecs& Block, bool Complex);

}  // namespace detail
}  // namespace tarnel
