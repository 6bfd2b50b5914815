// Charts of library values, on Qt's offscreen platform:
// - "Grid image <style>": the matrix grid series' image of an n × n matrix rebuilt (SetMatrix as a refresh:
//   range, palette, then every pixel), against numpy computing the same pixels (bench/peers/charts.py);
// - "Grid replot": the refresh and a full replot of a 600 × 500 chart, against a QCPColorMap given the same data
//   (copied in, its range rescaled, its image rebuilt and drawn) on the same chart;
// - "DrawValues" of n points (no thinning; the chart repaints at once), against a bare QCPGraph::setData of the
//   prepared keys and values plus an immediate replot, with QCustomPlot's adaptive sampling off and on;
// - "DrawValues thinned": the same 10^6 points thinned to the chart's width against plotting them whole.
// Uniform values in [0, 100); no BLAS is involved.
#include <QApplication>
#include <random>

#include "bench/BenchRow.h"
#include "bench/QtBenchMain.h"
#include "components/TarnelTee.h"

using namespace tarnel;

namespace {

void Fill(double* v, std::int64_t n, unsigned Seed)
{
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(0, 100);
    for (std::int64_t i = 0; i < n; ++i) v[i] = u(gen);
}

struct TChartHost {
    gui::TChart Chart{nullptr};
    TChartHost()
    {
        Chart.resize(600, 500);
        Chart.legend->setVisible(false);
    }
};

void OursGridImage(benchmark::State& st, int n, TGridPaletteStyle style)
{
    TChartHost host;
    auto* s = new TMtxGridSeries(host.Chart.xAxis, host.Chart.yAxis);
    TMtx a;
    a.Size(n, n);
    Fill(a.Values(), std::int64_t{n} * n, 1);
    s->SetPaletteStyle(style);
    if (style != palRange) s->Palette() = {{0, 0x800000}, {25, 0x008000}, {50, 0x000080}, {75, 0x808080}, {100, 0xFFFFFF}};
    s->SetMatrix(&a);
    s->Image();
    for (auto _ : st) {
        s->SetMatrix(&a);
        benchmark::DoNotOptimize(s->Image().constBits());
    }
}

void OursGridReplot(benchmark::State& st, int n)
{
    TChartHost host;
    auto* s = new TMtxGridSeries(host.Chart.xAxis, host.Chart.yAxis);
    TMtx a;
    a.Size(n, n);
    Fill(a.Values(), std::int64_t{n} * n, 1);
    host.Chart.xAxis->setRange(-0.5, n - 0.5);
    host.Chart.yAxis->setRange(-0.5, n - 0.5);
    s->SetMatrix(&a);
    host.Chart.replot();
    for (auto _ : st) {
        s->SetMatrix(&a);
        host.Chart.replot();
    }
}

void ColorMapReplot(benchmark::State& st, int n)
{
    TChartHost host;
    auto* map = new QCPColorMap(host.Chart.xAxis, host.Chart.yAxis);
    map->setInterpolate(false);
    map->setGradient(QCPColorGradient(QCPColorGradient::gpGrayscale));
    QCPColorMapData data(n, n, QCPRange(0, n - 1), QCPRange(0, n - 1));
    std::vector<double> v(std::size_t(n) * n);
    Fill(v.data(), std::int64_t{n} * n, 1);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) data.setCell(c, n - 1 - r, v[std::size_t(r) * n + c]);
    host.Chart.xAxis->setRange(-0.5, n - 0.5);
    host.Chart.yAxis->setRange(-0.5, n - 0.5);
    map->setData(&data, true);
    map->rescaleDataRange(true);
    host.Chart.replot();
    for (auto _ : st) {
        map->setData(&data, true);
        map->rescaleDataRange(true);
        host.Chart.replot();
    }
}

void OursDrawValues(benchmark::State& st, int n, bool adaptive, bool thin)
{
    TChartHost host;
    gui::TLineSeries* s = host.Chart.AddFastLineSeries("s", Qt::red);
    s->setAdaptiveSampling(adaptive);
    TVec y;
    y.Size(n);
    Fill(y.Values(), n, 2);
    DrawValues(y, *s, thin, 1);
    for (auto _ : st) DrawValues(y, *s, thin, 1);
}

void GraphSetData(benchmark::State& st, int n, bool adaptive)
{
    TChartHost host;
    auto* g = new QCPGraph(host.Chart.xAxis, host.Chart.yAxis);
    g->setPen(QPen(Qt::red, 0));
    g->setAdaptiveSampling(adaptive);
    QVector<double> x(n), y(n);
    for (int i = 0; i < n; ++i) x[i] = i;
    Fill(y.data(), n, 2);
    host.Chart.xAxis->setRange(0, n - 1);
    host.Chart.yAxis->setRange(0, 100);
    g->setData(x, y, true);
    host.Chart.replot(QCustomPlot::rpImmediateRefresh);
    for (auto _ : st) {
        g->setData(x, y, true);
        host.Chart.replot(QCustomPlot::rpImmediateRefresh);
    }
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    const std::pair<const char*, TGridPaletteStyle> styles[] = {
        {"Grid image palRange", palRange}, {"Grid image palRangeCustom", palRangeCustom}, {"Grid image palCustom", palCustom}};
    for (int n : {500, 2000}) {
        for (auto [name, style] : styles)
            Row(name, n, "ours", [n, style = style](benchmark::State& s) {
                OursGridImage(s, n, style);
            })->Unit(benchmark::kMillisecond);
        Row("Grid replot", n, "ours", [n](benchmark::State& s) { OursGridReplot(s, n); })->Unit(benchmark::kMillisecond);
        Row("Grid replot", n, "QCPColorMap", [n](benchmark::State& s) {
            ColorMapReplot(s, n);
        })->Unit(benchmark::kMillisecond);
    }
    for (int n : {100000, 1000000}) {
        Row("DrawValues", n, "ours", [n](benchmark::State& s) {
            OursDrawValues(s, n, false, false);
        })->Unit(benchmark::kMillisecond);
        Row("DrawValues", n, "QCPGraph", [n](benchmark::State& s) { GraphSetData(s, n, false); })->Unit(benchmark::kMillisecond);
        Row("DrawValues adaptive", n, "ours", [n](benchmark::State& s) {
            OursDrawValues(s, n, true, false);
        })->Unit(benchmark::kMillisecond);
        Row("DrawValues adaptive", n, "QCPGraph", [n](benchmark::State& s) {
            GraphSetData(s, n, true);
        })->Unit(benchmark::kMillisecond);
    }
    Row("DrawValues thinned", 1000000, "ours", [](benchmark::State& s) {
        OursDrawValues(s, 1000000, false, true);
    })->Unit(benchmark::kMillisecond);
    Row("DrawValues thinned", 1000000, "whole", [](benchmark::State& s) {
        OursDrawValues(s, 1000000, false, false);
    })->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    return tarnel_bench::QtBenchMain(argc, argv, [] {});
}
