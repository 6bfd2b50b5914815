#include "demo/MatrixPages.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QRadioButton>
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

QGroupBox* MakeRadioGroup(QWidget* Parent, const char* Name, const QString& Caption, const QStringList& Items,
                          int Columns, QButtonGroup*& Group)
{
    auto* box = new QGroupBox(Caption, Parent);
    box->setObjectName(Name);
    auto* layout = new QGridLayout(box);
    Group = new QButtonGroup(box);
    const int rows = (static_cast<int>(Items.size()) + Columns - 1) / Columns;
    for (int i = 0; i < Items.size(); ++i) {
        auto* item = new QRadioButton(Items[i], box);
        Group->addButton(item, i);
        layout->addWidget(item, i % rows, i / rows);
    }
    layout->setRowStretch(rows, 1);
    return box;
}

QPushButton* MakeButton(QWidget* Parent, const char* Name, const QString& Caption)
{
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(Name);
    return button;
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

void FitGrid(TStringGrid& Grid, const QString& Sample, int Minimum)
{
    const int text = Grid.fontMetrics().horizontalAdvance(Sample) + 12;
    Grid.SetDefaultColWidth(std::max(Minimum, text));
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
