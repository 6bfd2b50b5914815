// TYuleLev, "Levinson Yule Walker": the spectrum of the stored signal FFTData.vec estimated twice, from an
// autoregressive model fitted with the Levinson recursion and from a plain FFT of its first p samples, both on a
// logarithmic scale, with the time each estimate took.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "core/Tarnel.h"
#include "core/TempGuard.h"
#include "demo/Basic1.h"
#include "demo/PageContract.h"

namespace paxtor {

class TYuleLev : public TBasicForm1 {
    Q_OBJECT
public:
    explicit TYuleLev(QWidget* owner);

    QSlider* TrackBar1;      // "CorrLength : ", 50 to 8000
    QLabel* lblCorrLength;   // its value
    QSlider* TrackBar2;      // "LPCCoef : ", 1 to CorrLength
    QLabel* lblLPCCoef;      // its value
    QGroupBox* RadioGroup1;  // "Zero padding": "1x" .. "16x"
    QButtonGroup* RadioItems;
    QLabel* lblTimeLYW;                   // "Time for LYW", then the model's time
    QLabel* lblTimeFFT;                   // "Time for FFT", then the FFT's time
    QPushButton* btnCalc;                 // "Calculate spectrum"
    tarnel::gui::TLineSeries* ARSeries;   // "Yule Walker AR"
    tarnel::gui::TLineSeries* FFTSeries;  // "FFT"

    int CorrLength() const { return FCorrLength; }
    int LPCCoef() const { return FLPCCoef; }
    int PaddingFactor() const { return FFactor; }
    // Item 0 .. 4 of "Zero padding": the factors 1, 2, 4, 8, 16.
    void SelectPadding(int Item);

    // The estimates, each into Spectrum() (log10 of the magnitudes), the elapsed milliseconds returned.
    std::uint32_t EstimateAR();
    std::uint32_t EstimateFFT();
    // Plots the spectrum into a series: as it is, or with DownSample reduced to the chart's width.
    void PlotSpectrum(tarnel::gui::TLineSeries& Series);
    // "Calculate spectrum".
    void CalculateSpectrum();

    const tarnel::TVec& Spectrum() const { return *FSpectrum; }
    const tarnel::TVec& Coefficients() const { return *FSignal; }  // after EstimateAR: the model (1, a)
    // The x step of a down-sampled plot of Length values into Width pixels: 1 when PixelDownSample hands back a
    // copy, else half the group size, so the x extent matches the plot without down-sampling.
    static double DownSampledStep(int Length, int Width);

private:
    void CorrLengthChange();
    void LPCCoefChange();
    // The signal of FFTData.vec cut or extended with zeros to Len elements, into the working signal.
    void LoadSignal(int Len);

    tarnel::detail::TVecTemp FFFT, FSignal, FSpectrum, FAutoCorr;  // from the pool for the page's lifetime
    int FCorrLength = 0, FLPCCoef = 0, FFactor = 4;
    bool FRunning = false;
    TPageHelp FHelp;
};

}  // namespace paxtor
