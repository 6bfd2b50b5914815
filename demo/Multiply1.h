// TMult1, "Multiplying large matrices": times the matrix product of a plain triple loop against TMtx.Mul for
// matrix sizes from 2 up to a chosen maximum and charts both times in milliseconds.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <cstdint>
#include <vector>

#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "demo/TimingLoops.h"
#include "platform/gui/Chart.h"

namespace paxtor {

class TMult1 : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TMult1(QWidget* owner);

    // Controls.
    QSlider* TrackBar1;      // "Matrix dimension", 1 to 1000
    QLabel* lblDim;          // the track bar's value, right-aligned
    QGroupBox* RadioGroup1;  // "Matrix size"
    QButtonGroup* RadioItems;
    QPushButton* btnCompare;  // "Do comparison"
    tarnel::gui::TChart* Chart1;
    tarnel::gui::TLineSeries* LoopSeries;    // the triple loop of this page ("C++")
    tarnel::gui::TLineSeries* TarnelSeries;  // TMtx.Mul ("Tarnel")

    // The maximum dimension of a comparison, as the track bar set it.
    int MaxDim() const { return FMaxDim; }
    // Item 0, 1 or 2 of "Matrix size" moves the track bar to 25, 60 or 400.
    void SelectSize(int Item);

    // The dimensions a comparison runs over: from 2 while below MaxDim, growing by 2 while below 50 and by 25
    // from 50 on (2, 4, ..., 48, 50, 75, 100, ...).
    static std::vector<int> Dimensions(int MaxDim);
    // How often each timed block repeats its product: 1000 times for a maximum up to 30, 100 up to 60, else once.
    static int Repetitions(int MaxDim);

    // Sizes the operands and the arrays to n × n and fills both operands with random integers 0 to 9 from the
    // freshly re-seeded generator, the arrays and the matrices alike.
    void PrepareDim(int n);
    // The timed blocks: the product Repeat times, the elapsed milliseconds.
    std::uint32_t TimeLoopProduct(int Repeat);
    std::uint32_t TimeLibraryProduct(int Repeat);
    // "Do comparison".
    void DoComparison();

    const TSquareArray& OperandA() const { return FA; }
    const TSquareArray& OperandB() const { return FB; }
    const TSquareArray& LoopResult() const { return FC; }
    const tarnel::TMtx& MtxA() const { return FMtxA; }
    const tarnel::TMtx& MtxB() const { return FMtxB; }
    const tarnel::TMtx& MtxResult() const { return FMtxC; }
    const TPageHelp& Help() const { return FHelp; }

private:
    void TrackBarChange();
    void LoopProductOnce();
    void LibraryProductOnce();

    tarnel::TMtx FMtxA, FMtxB, FMtxC;  // the library's operands and product
    TSquareArray FA, FB, FC;           // the loop's operands and product
    int FDim = 0;                      // the dimension prepared last
    int FMaxDim = 0;
    bool FRunning = false;
    TPageHelp FHelp;
};

}  // namespace paxtor
