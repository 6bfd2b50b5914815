#include "core/CellGrid.h"

#include <algorithm>

#include "core/Dovi387.h"
#include "core/messages.h"

namespace tarnel {

void TCellGrid::CheckCell(int Col, int Row) const
{
    if (Col < 0 || Row < 0 || Col >= ColCount() || Row >= RowCount()) ERaise(msg::kGridIndex);
}

TStringGrid::TStringGrid(int ColCount, int RowCount)
{
    Resize(ColCount, RowCount);
}

std::size_t TStringGrid::At(int Col, int Row) const
{
    CheckCell(Col, Row);
    return static_cast<std::size_t>(Row) * static_cast<std::size_t>(FColCount) + static_cast<std::size_t>(Col);
}

std::string TStringGrid::Cells(int Col, int Row) const
{
    return FCells[At(Col, Row)];
}

void TStringGrid::SetCells(int Col, int Row, const std::string& S)
{
    FCells[At(Col, Row)] = S;
}

void TStringGrid::SetColCount(int Value)
{
    Resize(Value, FRowCount);
}

void TStringGrid::SetRowCount(int Value)
{
    Resize(FColCount, Value);
}

void TStringGrid::Resize(int Cols, int Rows)
{
    if (Cols < 0 || Rows < 0) ERaise(msg::kGridSizeNeg);
    std::vector<std::string> cells(static_cast<std::size_t>(Cols) * static_cast<std::size_t>(Rows));
    for (int r = 0; r < std::min(Rows, FRowCount); ++r)
        for (int c = 0; c < std::min(Cols, FColCount); ++c)
            cells[static_cast<std::size_t>(r) * Cols + c] =
                std::move(FCells[static_cast<std::size_t>(r) * FColCount + c]);
    FCells = std::move(cells);
    FColCount = Cols;
    FRowCount = Rows;
}

}  // namespace tarnel
