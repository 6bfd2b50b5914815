// TGetMemC, "GetMem vs SliceIt": times four raw heap blocks against four arrays carved out of one pooled vector
// (SliceIt) against four dynamic Double arrays, for lengths up to a chosen maximum, and charts the three times.
// Creating the page sets the vector pool to 1 vector of 2000 elements for the rest of the run.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <cstdint>
#include <vector>

#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Chart.h"

namespace paxtor {

class TGetMemC : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TGetMemC(QWidget* owner);

    QSlider* TrackBar1;  // "Length : ", 16 to 2000
    QLabel* lblDim;      // the track bar's value, right-aligned
    QPushButton* btnCompare;  // "Do comparison"
    tarnel::gui::TChart* Chart1;
    tarnel::gui::TLineSeries* GetMemSeries;     // "GetMem"
    tarnel::gui::TLineSeries* SliceItSeries;    // "SliceIt"
    tarnel::gui::TLineSeries* SetLengthSeries;  // "SetLength"

    // Each timed block runs its pass this often.
    static constexpr int kPasses = 10001;

    int MaxLength() const { return FMaxLength; }
    // The x values of a comparison: from 4 in steps of 40 while at most MaxLength; each block uses m = x div 4.
    static std::vector<int> Lengths(int MaxLength);
    // The timed blocks for m elements per array, Passes times, the elapsed milliseconds: four malloc'd blocks of m
    // Doubles freed again; a pooled vector sliced into four arrays of m and given back; four std::vector<double>
    // given m elements and released.
    static std::uint32_t TimeGetMem(int m, int Passes = kPasses);
    static std::uint32_t TimeSliceIt(int m, int Passes = kPasses);
    static std::uint32_t TimeSetLength(int m, int Passes = kPasses);
    // "Do comparison".
    void DoComparison();
    // The page's help handler: the help at context 10230.
    void bthHelpClick();

    const TPageHelp& Help() const { return FHelp; }

private:
    void TrackBarChange();

    TPageHelp FHelp;
    int FMaxLength = 0;
    bool FRunning = false;
};

}  // namespace paxtor
