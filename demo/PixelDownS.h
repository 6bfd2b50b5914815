// TDownS, "Displaying large amounts of data": a long random walk plotted twice, point by point and through pixel
// down-sampling, with both drawing times.
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

class TDownS : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TDownS(QWidget* owner);

    QSlider* TrackBar1;                // "Number of points : ", 100000 to 1000000
    QLabel* lblPoints;                 // its value
    tarnel::gui::TChart* ChartNormal;  // "Normal", on top, half the panel's height
    tarnel::gui::TChart* ChartDown;    // "Using PixelDownSample"
    tarnel::gui::TLineSeries* SeriesNormal;
    tarnel::gui::TLineSeries* SeriesDown;
    QLabel* lblNormalTime;  // right-aligned, "0000" at start
    QLabel* lblDownTime;
    QPushButton* btnCompare;  // "Do comparison"

    int Points() const { return FPoints; }
    // The walk of n points: x := a random integer 0 to 999, then for each element x := x + (0 to 999) - 500.
    void BuildWalk(int n);
    // The two timed plots of the walk; the elapsed milliseconds.
    std::uint32_t PlotNormal();
    std::uint32_t PlotDownSampled();
    // "Do comparison".
    void DoComparison();

    const tarnel::TVec& Walk() const { return FWalk; }

private:
    void TrackBarChange();

    tarnel::TVec FWalk;
    int FPoints = 0;
    bool FRunning = false;
    TPageHelp FHelp;
};

}  // namespace paxtor
