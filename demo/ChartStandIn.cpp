#include "demo/ChartStandIn.h"

#include <cmath>

#include "core/TempGuard.h"
#include "platform/rtl/Fpu.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

int ChartWidth(TChartSeries& Series)
{
    auto* plottable = dynamic_cast<QCPAbstractPlottable*>(&Series);
    if (!plottable || !plottable->parentPlot()) return 0;
    return plottable->parentPlot()->axisRect()->width();
}

void Plot(TChartSeries& Series, const double* X, double X0, double Step, const double* Y, int Count)
{
    Series.Clear();
    for (int i = 0; i < Count; ++i) {
        const double x = X ? X[i] : X0 + i * Step;
        if (std::isfinite(x) && std::isfinite(Y[i])) Series.AddXY(x, Y[i]);
    }
}

}  // namespace

void StandInDrawValues(const TVec& Y, TChartSeries& Series, bool DownSample, double Step)
{
    if (Y.Complex()) throw Exception("Y.Complex");
    ClearFpuExceptions();
    const int width = ChartWidth(Series);
    if (DownSample && width > 0 && width < 3 * Y.Length()) {
        detail::TVecTemp reduced;
        reduced->PixelDownSample(3 * width, Y, nullptr, nullptr, true);
        Plot(Series, nullptr, 0, Y.Length() * Step / reduced->Length(), reduced->Values(), reduced->Length());
        return;
    }
    Plot(Series, nullptr, 0, Step, Y.Values(), Y.Length());
}

void StandInDrawValues(const TVec& X, const TVec& Y, TChartSeries& Series, bool DownSample)
{
    if (X.Complex() || Y.Complex()) throw Exception("X.Complex or Y.Complex");
    if (X.Length() != Y.Length()) throw Exception("X.Length or Y.Length");
    ClearFpuExceptions();
    const int width = ChartWidth(Series);
    if (DownSample && width > 0 && width < 3 * X.Length()) {
        detail::TVecTemp nx, ny;
        ny->PixelDownSample(3 * width, Y, &X, nx.get(), false);
        Plot(Series, nx->Values(), 0, 0, ny->Values(), ny->Length());
        return;
    }
    Plot(Series, X.Values(), 0, 0, Y.Values(), Y.Length());
}

}  // namespace paxtor
