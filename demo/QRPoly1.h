// TLQRPoly, "Least-square fitting": a polynomial of chosen order fitted to a random walk of 1000 points by least
// squares (QR), evaluated on a finer grid and charted with its error band.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "core/Tarnel.h"
#include "core/TempGuard.h"
#include "demo/Basic1.h"
#include "demo/PageContract.h"

namespace paxtor {

class TLQRPoly : public TBasicForm1 {
    Q_OBJECT
public:
    explicit TLQRPoly(QWidget* owner);

    QSlider* TrackBar1;  // "Polynomial order", 1 to 100
    QLabel* lblOrder;
    QSlider* TrackBar2;  // "Factor", 1 to 20
    QLabel* lblFactor;
    QLabel* lblTime;  // after "Time needed : "
    QPushButton* btnFit;
    QPushButton* btnCoeff;               // "View coefficients"
    QPushButton* btnDelta;               // "Delta"
    tarnel::gui::TChartSeries* Series1;  // "Original data"
    tarnel::gui::TChartSeries* Series2;  // "Fitted polynomial"
    tarnel::gui::TChartSeries* Series3;  // "YCalc + Delta"
    tarnel::gui::TChartSeries* Series4;  // "YCalc - Delta"

    int Order() const { return FOrder; }
    int Factor() const { return FM; }

    // "Fit": the polynomial, its values on the grid 1/Factor apart and their error estimates, drawn.
    void Fit();
    // The timed step of "Fit": the fit of the chosen order, XI := 0, 1/M, 2/M, ... (1000·M values) and YCalc and
    // Delta there.
    void FitAndEvaluate();
    // "View coefficients" and "Delta": the value viewer, modal.
    void ViewCoefficients();
    void ViewDelta();

    // The page's data and the last fit.
    const tarnel::TVec& X() const { return *FX; }
    const tarnel::TVec& Y() const { return *FY; }
    const tarnel::TVec& Coefficients() const { return *FCoeff; }
    const tarnel::TVec& XI() const { return *FXI; }
    // After a fit YCalc holds YCalc + Delta, as the drawing leaves it.
    const tarnel::TVec& YCalc() const { return *FYCalc; }
    const tarnel::TVec& Delta() const { return *FDelta; }
    int DegFreedom() const { return FDegFreedom; }
    double L2R() const { return FL2R; }

protected:
    // Does what the base form does, then disables "View coefficients" and "Delta".
    void CheckDownSampleClick() override;

private:
    void TrackBarChange();
    void DisableViews();
    // Reduces Values to the chart's width and draws it with the reduction's spacing, or draws it whole.
    void DrawFitted(tarnel::gui::TChartSeries& Series, const tarnel::TVec& Values);

    // From the pool for the page's lifetime, taken in this order and given back in the reverse one.
    tarnel::detail::TVecTemp FX, FY, FCoeff, FXI, FYCalc, FDelta;
    tarnel::detail::TMtxTemp FR;
    int FDegFreedom = 0;
    double FL2R = 0;
    int FOrder = 20;
    int FM = 5;
    TPageHelp FHelp;
};

}  // namespace paxtor
