// Grids of text cells, as the framework's string grid: the abstract TCellGrid through which vectors and matrices
// write and read their values (the program's grid control is one), and the grid in memory TStringGrid.
//
// A cell is addressed column first, Cells(Col, Row), as the framework addressed it; a cell outside 0..ColCount-1,
// 0..RowCount-1 raises "Grid index out of range".
#pragma once

#include <string>
#include <vector>

namespace tarnel {

class TCellGrid {
public:
    TCellGrid() = default;
    virtual ~TCellGrid() = default;

    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual std::string Cells(int Col, int Row) const = 0;
    virtual void SetCells(int Col, int Row, const std::string& S) = 0;

protected:
    // Grids in memory copy as values; a grid seen through TCellGrid cannot be sliced.
    TCellGrid(const TCellGrid&) = default;
    TCellGrid& operator=(const TCellGrid&) = default;
    // Raises "Grid index out of range" unless (Col, Row) lies in the grid.
    void CheckCell(int Col, int Row) const;
};

// ColCount × RowCount empty cells; a negative count raises "Grid size < 0".
class TStringGrid : public TCellGrid {
public:
    TStringGrid(int ColCount, int RowCount);

    int ColCount() const override { return FColCount; }
    int RowCount() const override { return FRowCount; }
    std::string Cells(int Col, int Row) const override;
    void SetCells(int Col, int Row, const std::string& S) override;
    // New counts keep the cells that stay inside; the cells added are empty.
    void SetColCount(int Value);
    void SetRowCount(int Value);

private:
    void Resize(int Cols, int Rows);
    std::size_t At(int Col, int Row) const;
    int FColCount = 0;
    int FRowCount = 0;
    std::vector<std::string> FCells;  // row by row
};

}  // namespace tarnel
