// The interpolation, least-squares and probability pages of the demonstration program: "Recreate"'s timed step
// (the grid 1/M apart and Interpolate) at N = 10^5, M = 10 against scipy's CubicSpline and numpy.interp; "Fit"'s
// timed step (PolyFit, the grid, PolyEval with the error estimate) at order 20 and M = 5 and 20 against
// numpy.polyfit, polyval and the estimate's formula; both buttons of the probability calculator for every
// distribution (the texts read, the results computed and written, with the 100-point density chart) against the
// same values from scipy.stats (bench/peers/fit_pages.py). Runs on Qt's offscreen platform; LAPACK on one
// OpenBLAS thread, as numpy's (OPENBLAS_NUM_THREADS=1 from scripts/bench).
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/BenchRow.h"
#include "demo/Interp1.h"
#include "demo/ProbCalc.h"
#include "demo/QRPoly1.h"
#include "platform/gui/Settings.h"

using namespace tarnel;

namespace {

// The walk of the interpolation page: from 1000, each step 250 - (0 .. 499), from a fixed seed.
void Walk(TVec& X, TVec& Y, int N)
{
    X.Size(N, false);
    Y.Size(N, false);
    X.Ramp(0, 1);
    std::uint64_t s = 7;
    double* y = Y.Values();
    y[0] = 1000;
    for (int i = 1; i < N; ++i) {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        y[i] = y[i - 1] + 250 - static_cast<int>((s >> 33) % 500);
    }
}

void OursInterpolate(benchmark::State& st, TInterpolationType Type)
{
    TVec x, y, xi, yi;
    Walk(x, y, 100000);
    paxtor::TInterpolating1::InterpolateFiner(x, y, 10, Type, xi, yi);
    for (auto _ : st) {
        paxtor::TInterpolating1::InterpolateFiner(x, y, 10, Type, xi, yi);
        benchmark::DoNotOptimize(yi.Values());
    }
}

void OursFit(benchmark::State& st, int M)
{
    paxtor::TLQRPoly page(nullptr);
    page.TrackBar1->setValue(20);
    page.TrackBar2->setValue(M);
    page.FitAndEvaluate();
    for (auto _ : st) {
        page.FitAndEvaluate();
        benchmark::DoNotOptimize(page.Delta().Values());
    }
}

paxtor::TProb1* gProbPage = nullptr;

void OursCalcProbability(benchmark::State& st, int Item)
{
    gProbPage->SelectDistribution(Item);
    gProbPage->CalcProbability();
    for (auto _ : st) gProbPage->CalcProbability();
}

void OursCalcX(benchmark::State& st, int Item)
{
    gProbPage->SelectDistribution(Item);
    gProbPage->EditCDF->setText(QStringLiteral("0.3"));
    gProbPage->CalcX();
    for (auto _ : st) gProbPage->CalcX();
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("Interpolate cubic", 100000, "ours", [](benchmark::State& s) {
        OursInterpolate(s, IntCubic);
    })->Unit(benchmark::kMillisecond);
    Row("Interpolate linear", 100000, "ours", [](benchmark::State& s) {
        OursInterpolate(s, IntLinear);
    })->Unit(benchmark::kMillisecond);
    for (const int m : {5, 20})
        Row("Fit order 20, M", m, "ours", [m](benchmark::State& s) { OursFit(s, m); })->Unit(benchmark::kMicrosecond);
    for (int item = 0; item < paxtor::kProbDistributionCount; ++item) {
        const std::string name = paxtor::ProbDistribution(item).Caption;
        Row("Calc probability " + name, 100, "ours", [item](benchmark::State& s) {
            OursCalcProbability(s, item);
        })->Unit(benchmark::kMicrosecond);
        Row("Calc x " + name, 1, "ours", [item](benchmark::State& s) {
            OursCalcX(s, item);
        })->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg) fprintf(stderr, "%s\n", qPrintable(msg));
    });
    QTemporaryDir folder;
    gui::SetSettingsFolder(folder.path());
    paxtor::TProb1 prob(nullptr);
    prob.resize(900, 500);
    gProbPage = &prob;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
