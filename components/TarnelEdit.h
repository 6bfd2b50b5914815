// The value viewer and editor, and the string grid it and the matrix pages show values in.
//
// TGridView shows the cells of any TCellGrid (core/CellGrid.h) through a table model that asks the grid for a text
// only when a cell is painted: no item per cell. The first FixedRows rows and FixedCols columns are header cells,
// painted as such, never selected and never edited; the other cells are edited only while Editing is set, and an
// edit reaches the grid through its SetCells, so a grid that refuses a text (by raising) keeps the cell as it was
// and the error goes to the error box. The view's own headers are hidden: headers are cells, as in the framework.
//
// TStringGrid is the framework's string grid on Qt: a TGridView over cells held in memory, itself a TCellGrid, so
// ValuesToGrid and GridToValues of vectors and matrices write and read it. It lives in tarnel::gui because
// tarnel::TStringGrid is the core's grid in memory (the cells this one holds).
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <string>

#include "core/CellGrid.h"

namespace tarnel::gui {

// The cells of a TCellGrid as a Qt table model. Rows and columns are the grid's; DisplayRole and EditRole give the
// cell's text, BackgroundRole the header colour on fixed cells.
class TCellGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TCellGridModel(TCellGrid& Cells, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Hands the text to the grid's SetCells, guarded: false (and the cell unchanged) when the grid raised.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int FixedRows() const { return FFixedRows; }
    int FixedCols() const { return FFixedCols; }
    void SetFixed(int Rows, int Cols);
    bool Editing() const { return FEditing; }
    void SetEditing(bool Value);
    bool IsFixed(int Col, int Row) const { return Row < FFixedRows || Col < FFixedCols; }

    // The grid's counts or many of its texts changed: views ask again.
    void Reset();
    // One cell's text changed; the notifications of a burst are gathered into one, sent when control returns to
    // the event loop (writing a 100 × 100 block costs one repaint, not 10,000).
    void CellChanged(int Col, int Row);

private:
    void FlushChanges();
    TCellGrid& FCells;
    int FFixedRows = 0;
    int FFixedCols = 0;
    bool FEditing = false;
    bool FPending = false;  // a gathered change waits for the event loop
    int FTop = 0, FLeft = 0, FBottom = -1, FRight = -1;
};

// A table view of a TCellGrid with the string grid's display: lines, range selection, fixed header cells, a default
// column width and row height (every column and row has it), editing off until switched on.
class TGridView : public QTableView {
    Q_OBJECT
public:
    explicit TGridView(QWidget* parent);

    // The model over the cells given to Attach.
    TCellGridModel& Model() const { return *FModel; }
    int FixedRows() const { return FModel->FixedRows(); }
    int FixedCols() const { return FModel->FixedCols(); }
    // Raises "Fixed row count must be less than row count" (and the column text) unless 0 <= Value < the count.
    void SetFixedRows(int Value);
    void SetFixedCols(int Value);
    // Whether cells other than the fixed ones can be edited (double click, F2 or typing).
    bool Editing() const { return FModel->Editing(); }
    void SetEditing(bool Value);
    int DefaultColWidth() const;
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int Value);

protected:
    // Shows Cells (which must outlive the view); called once, from the constructor of the class that holds them.
    void Attach(TCellGrid& Cells);
    // After the grid's counts changed: fewer rows or columns than fixed ones leave count - 1 fixed ones.
    void CountsChanged();

private:
    TCellGridModel* FModel = nullptr;
};

// The framework's string grid: 5 × 5 empty cells at creation, one fixed row and column, columns 64 and rows 24
// pixels, editing off.
class TStringGrid : public TGridView, public TCellGrid {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    int ColCount() const override { return FCells.ColCount(); }
    int RowCount() const override { return FCells.RowCount(); }
    std::string Cells(int Col, int Row) const override { return FCells.Cells(Col, Row); }
    void SetCells(int Col, int Row, const std::string& S) override;
    // New counts keep the cells that stay inside, the new ones are empty; a negative count raises "Grid size < 0".
    void SetColCount(int Value);
    void SetRowCount(int Value);

private:
    tarnel::TStringGrid FCells{5, 5};
};

}  // namespace tarnel::gui
