// What the matrix pages share: their grids (the value viewer's string grid), the value viewer and the message box
// behind seams that tests answer, and the rule that a numerical failure of the library raises before a page shows
// or keeps anything of the result.
#pragma once

#include <QLabel>
#include <QString>
#include <functional>
#include <string_view>

#include "components/TarnelEdit.h"
#include "core/Tarnel.h"

namespace paxtor {

// Opens the value viewer on Mtx, modal and not on top, with that caption (tarnel::ViewValues). SetValuesViewer
// replaces the viewer (tests record what would be shown); an empty procedure restores it.
using TValuesViewerProc = std::function<void(tarnel::TMtx& Mtx, const QString& Caption)>;
void SetValuesViewer(TValuesViewerProc Proc);
void ViewMatrix(tarnel::TMtx& Mtx, const QString& Caption);

// A message in a modal box with an "OK" button. SetMessageBox replaces the box; an empty procedure restores it.
using TMessageBoxProc = std::function<void(const QString& Message)>;
void SetMessageBox(TMessageBoxProc Proc);
void ShowMessage(const QString& Message);

// The library's routines report a numerical failure through Info and MtxError without raising: a nonzero Info
// raises MtxError, or "<Member>: Info = N" when the routine left no text.
void RaiseOnFailure(const tarnel::TMtx& Mtx, const char* Member);

// A grid of a matrix page, named, editable or read-only, above its caption label (returned in Caption).
tarnel::gui::TStringGrid* MakeGrid(QWidget* Parent, const char* Name, bool Editable);
QLabel* MakeGridCaption(QWidget* Parent, const QString& Text, tarnel::gui::TStringGrid* Grid);

// Columns at least Minimum pixels wide and wide enough for Sample in the grid's font (the widest text a column
// shows); rows tall enough that RowsShown rows show without scrolling (0: leave the height).
void FitGrid(tarnel::gui::TStringGrid& Grid, const QString& Sample, int Minimum, int RowsShown = 0);

// Empties the grid and gives it Cols × Rows cells; with Headers its first row and column are header cells
// (painted as fixed cells, never edited).
void ResetGrid(tarnel::gui::TStringGrid& Grid, int Cols, int Rows, bool Headers);
// Shows Mtx in a grid emptied and sized for it (its rows and its columns, complex ones as pairs, plus a header
// row and column with Headers).
void ShowMatrix(tarnel::gui::TStringGrid& Grid, const tarnel::TMtx& Mtx, std::string_view Format, bool Headers);

}  // namespace paxtor
