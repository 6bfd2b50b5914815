// TCopyComp, "Copy and  transpose operation": times copying and transposing a square matrix by plain loops
// against TMtx.Copy and TMtx.Transp and charts the four times as bars. Creating the page empties the library's
// matrix pool (0 matrices of 0 elements) for the rest of the run.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <cstdint>

#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"

namespace paxtor {

class TCopyComp : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TCopyComp(QWidget* owner);

    QSlider* TrackBar1;       // "Matrix dimension : ", 2 to 1300
    QLabel* lblDim;           // the track bar's value, right-aligned
    QPushButton* btnCompare;  // "Do comparison"
    tarnel::gui::TChart* Chart1;
    tarnel::gui::TBarSeries* LoopSeries;    // the loops of this page ("C++")
    tarnel::gui::TBarSeries* TarnelSeries;  // TMtx.Copy and TMtx.Transp ("Tarnel")

    int Dim() const { return FDim; }

    // How often each timed block repeats its operation at dimension n: 50000 below 15, 5000 below 30, 2000
    // below 50, 1000 below 80, 500 below 200, 50 below 500, once from 500 on.
    static int Repetitions(int n);
    // The title of the time axis for that count: "time [ms] (" count " executions)".
    static QString TimeAxisTitle(int Count);

    // Sizes the source to n × n real and fills it with the distinct values i·n + j.
    void PrepareSource(int n);
    // The timed blocks: the operation Repeat times, the elapsed milliseconds.
    std::uint32_t TimeLoopCopy(int Repeat);
    std::uint32_t TimeLibraryCopy(int Repeat);
    std::uint32_t TimeLoopTransp(int Repeat);
    std::uint32_t TimeLibraryTransp(int Repeat);
    // "Do comparison".
    void DoComparison();

    const tarnel::TMtx& Source() const { return FSource; }
    const tarnel::TMtx& Destination() const { return FDest; }
    const TPageHelp& Help() const { return FHelp; }

private:
    void TrackBarChange();

    TPageHelp FHelp;
    tarnel::TMtx FSource, FDest;
    int FDim = 0;
    bool FRunning = false;
};

}  // namespace paxtor
