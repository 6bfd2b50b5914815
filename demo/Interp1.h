// TInterpolating1, "Linear and cubic interpolation": a random walk interpolated linearly or by a cubic spline on a
// grid a chosen factor finer, timed, both curves charted.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "core/Tarnel.h"
#include "demo/Basic1.h"
#include "demo/PageContract.h"
#include "numerics/Polynoms.h"

namespace paxtor {

class TInterpolating1 : public TBasicForm1 {
    Q_OBJECT
public:
    explicit TInterpolating1(QWidget* owner);

    QSlider* TrackBar1;  // "Data points : ", 60 to 100000
    QLabel* lblPoints;
    QSlider* TrackBar2;  // "Factor : ", 1 to 10
    QLabel* lblFactor;
    QComboBox* ComboBox1;  // "Interpolation : ", "Linear" and "Cubic"
    QLabel* lblTime;       // after "Time needed : "
    QPushButton* btnRecreate;
    tarnel::gui::TChartSeries* Series1;  // "Original data"
    tarnel::gui::TChartSeries* Series2;  // "Fitted values"

    int DataPoints() const { return FN; }
    int Factor() const { return FM; }
    tarnel::TInterpolationType InterpolationType() const { return FType; }

    // "Recreate": a new walk of N points, interpolated at the M-times finer grid, both drawn. The four vectors come
    // from the pool for the run and go back, and the cursor is restored, also after an error.
    void Recreate();
    // The timed step of a run: XI := 0, 1/M, 2/M, ... (N·M values, N = Y.Length) and YI := the interpolant of
    // (X, Y) there.
    static void InterpolateFiner(const tarnel::TVec& X, const tarnel::TVec& Y, int M, tarnel::TInterpolationType Type,
                                 tarnel::TVec& XI, tarnel::TVec& YI);
    // The help handler.
    void bthHelpClick() const { FHelp.HelpClick(); }

    const TPageHelp& Help() const { return FHelp; }

private:
    void TrackBarChange();
    void ComboChange(int Item);

    int FN = 5000;
    int FM = 8;
    tarnel::TInterpolationType FType = tarnel::IntCubic;
    bool FRunning = false;
    TPageHelp FHelp;
};

}  // namespace paxtor
