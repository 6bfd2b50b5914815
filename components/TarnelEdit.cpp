#include "components/TarnelEdit.h"

#include <QHeaderView>
#include <QPalette>
#include <QTimer>
#include <algorithm>

#include "core/Dovi387.h"
#include "platform/gui/Guard.h"

namespace tarnel::gui {

namespace {

// The framework's texts for fixed counts that leave no cell to scroll.
constexpr const char* kFixedRowTooBig = "Fixed row count must be less than row count";
constexpr const char* kFixedColTooBig = "Fixed column count must be less than column count";

}  // namespace

// ---- The model over a cell grid ---------------------------------------------------------------------------------

TCellGridModel::TCellGridModel(TCellGrid& Cells, QObject* parent) : QAbstractTableModel(parent), FCells(Cells) {}

int TCellGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FCells.RowCount();
}

int TCellGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FCells.ColCount();
}

QVariant TCellGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(FCells.Cells(index.column(), index.row()));
        case Qt::BackgroundRole:
            if (IsFixed(index.column(), index.row())) return QPalette().button();
            return {};
        default:
            return {};
    }
}

bool TCellGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int col = index.column();
    const int row = index.row();
    if (!Guarded([&] { FCells.SetCells(col, row, value.toString().toStdString()); })) return false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags TCellGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    if (IsFixed(index.column(), index.row())) return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (FEditing) f |= Qt::ItemIsEditable;
    return f;
}

void TCellGridModel::SetFixed(int Rows, int Cols)
{
    if (Rows == FFixedRows && Cols == FFixedCols) return;
    FFixedRows = Rows;
    FFixedCols = Cols;
    Reset();
}

void TCellGridModel::SetEditing(bool Value)
{
    if (Value == FEditing) return;
    FEditing = Value;
    Reset();
}

void TCellGridModel::Reset()
{
    beginResetModel();
    FPending = false;
    endResetModel();
}

void TCellGridModel::CellChanged(int Col, int Row)
{
    if (!FPending) {
        FPending = true;
        FTop = FBottom = Row;
        FLeft = FRight = Col;
        QTimer::singleShot(0, this, [this] { FlushChanges(); });
        return;
    }
    FTop = std::min(FTop, Row);
    FBottom = std::max(FBottom, Row);
    FLeft = std::min(FLeft, Col);
    FRight = std::max(FRight, Col);
}

void TCellGridModel::FlushChanges()
{
    if (!FPending) return;  // a reset came first and covered it
    FPending = false;
    // The counts may have shrunk since the cells changed.
    const int bottom = std::min(FBottom, rowCount() - 1);
    const int right = std::min(FRight, columnCount() - 1);
    if (FTop <= bottom && FLeft <= right) emit dataChanged(index(FTop, FLeft), index(bottom, right));
}

// ---- The view ---------------------------------------------------------------------------------------------------

TGridView::TGridView(QWidget* parent) : QTableView(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Fixed sections: no header measures 1000 columns of text, and every column has the default width.
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);  // a range of cells
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    SetDefaultColWidth(64);
    SetDefaultRowHeight(24);
}

void TGridView::Attach(TCellGrid& Cells)
{
    FModel = new TCellGridModel(Cells, this);
    setModel(FModel);
    CountsChanged();
}

void TGridView::SetFixedRows(int Value)
{
    if (Value < 0 || Value >= FModel->rowCount()) ERaise(kFixedRowTooBig);
    FModel->SetFixed(Value, FModel->FixedCols());
}

void TGridView::SetFixedCols(int Value)
{
    if (Value < 0 || Value >= FModel->columnCount()) ERaise(kFixedColTooBig);
    FModel->SetFixed(FModel->FixedRows(), Value);
}

void TGridView::SetEditing(bool Value)
{
    FModel->SetEditing(Value);
    setEditTriggers(Value ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                          : QAbstractItemView::NoEditTriggers);
}

// A section holds the cell and its grid line, as the framework's widths leave the line out.
int TGridView::DefaultColWidth() const
{
    return horizontalHeader()->defaultSectionSize() - 1;
}

void TGridView::SetDefaultColWidth(int Value)
{
    horizontalHeader()->setDefaultSectionSize(std::max(Value, 0) + 1);
}

int TGridView::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize() - 1;
}

void TGridView::SetDefaultRowHeight(int Value)
{
    verticalHeader()->setDefaultSectionSize(std::max(Value, 0) + 1);
}

void TGridView::CountsChanged()
{
    const int rows = std::min(FModel->FixedRows(), std::max(FModel->rowCount() - 1, 0));
    const int cols = std::min(FModel->FixedCols(), std::max(FModel->columnCount() - 1, 0));
    FModel->SetFixed(rows, cols);
    FModel->Reset();
}

// ---- The string grid --------------------------------------------------------------------------------------------

TStringGrid::TStringGrid(QWidget* parent) : TGridView(parent)
{
    Attach(*this);
    Model().SetFixed(1, 1);
}

void TStringGrid::SetCells(int Col, int Row, const std::string& S)
{
    FCells.SetCells(Col, Row, S);
    Model().CellChanged(Col, Row);
}

void TStringGrid::SetColCount(int Value)
{
    FCells.SetColCount(Value);
    CountsChanged();
}

void TStringGrid::SetRowCount(int Value)
{
    FCells.SetRowCount(Value);
    CountsChanged();
}

}  // namespace tarnel::gui
