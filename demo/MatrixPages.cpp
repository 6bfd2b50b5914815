#include "demo/MatrixPages.h"

#include <QMessageBox>
#include <QScrollBar>
#include <algorithm>
#include <string>

#include "platform/gui/Guard.h"
#include "platform/rtl/SysUtils.h"

namespace paxtor {

using tarnel::TMtx;
using tarnel::gui::TStringGrid;

namespace {

TValuesViewerProc& ViewerProc()
{
    static TValuesViewerProc proc;
    return proc;
}

TMessageBoxProc& MessageProc()
{
    static TMessageBoxProc proc;
    return proc;
}

}  // namespace

void SetValuesViewer(TValuesViewerProc Proc)
{
    ViewerProc() = std::move(Proc);
}

void ViewMatrix(TMtx& Mtx, const QString& Caption)
{
    if (ViewerProc()) {
        ViewerProc()(Mtx, Caption);
    } else {
        tarnel::ViewValues(Mtx, Caption, true, false);
    }
}

void SetMessageBox(TMessageBoxProc Proc)
{
    MessageProc() = std::move(Proc);
}

void ShowMessage(const QString& Message)
{
    if (MessageProc()) {
        MessageProc()(Message);
    } else {
        QMessageBox::information(QApplication::activeWindow(), tarnel::gui::ApplicationTitle(), Message);
    }
}

void RaiseOnFailure(const TMtx& Mtx, const char* Member)
{
    if (Mtx.Info() == 0) return;
    if (!Mtx.MtxError().empty()) tarnel::ERaise(Mtx.MtxError());
    tarnel::ERaise(std::string(Member) + ": Info = " + std::to_string(Mtx.Info()));
}

TStringGrid* MakeGrid(QWidget* Parent, const char* Name, bool Editable)
{
    auto* grid = new TStringGrid(Parent);
    grid->setObjectName(Name);
    grid->SetEditing(Editable);
    return grid;
}

QLabel* MakeGridCaption(QWidget* Parent, const QString& Text, TStringGrid* Grid)
{
    auto* label = new QLabel(Text, Parent);
    label->setBuddy(Grid);
    return label;
}

void FitGrid(TStringGrid& Grid, const QString& Sample, int Minimum, int RowsShown)
{
    const int text = Grid.fontMetrics().horizontalAdvance(Sample) + 12;
    Grid.SetDefaultColWidth(std::max(Minimum, text));
    if (RowsShown > 0)
        Grid.setMinimumHeight(RowsShown * Grid.DefaultRowHeight() + 2 * Grid.frameWidth() +
                              Grid.horizontalScrollBar()->sizeHint().height());
}

void ResetGrid(TStringGrid& Grid, int Cols, int Rows, bool Headers)
{
    Grid.SetRowCount(0);  // every cell empty: nothing of a former result stays
    Grid.SetColCount(0);
    Grid.SetRowCount(Rows);
    Grid.SetColCount(Cols);
    const int fixed = Headers ? 1 : 0;
    Grid.Model().SetFixed(Rows > fixed ? fixed : 0, Cols > fixed ? fixed : 0);
    Grid.Model().SetHeaderLines(fixed, fixed);
    Grid.Model().Reset();
}

void ShowMatrix(TStringGrid& Grid, const TMtx& Mtx, std::string_view Format, bool Headers)
{
    const int h = Headers ? 1 : 0;
    ResetGrid(Grid, Mtx.Cols() * (Mtx.Complex() ? 2 : 1) + h, Mtx.Rows() + h, Headers);
    Mtx.ValuesToGrid(Grid, 0, 0, Format, Headers);
}

}  // namespace paxtor
