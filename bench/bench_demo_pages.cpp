// The spectrum and memory pages' timed work, run through the pages themselves on Qt's offscreen platform:
// - the autoregressive and the FFT spectrum estimates of "Levinson Yule Walker" (load FFTData.vec, biased
//   autocorrelation, Levinson, zero padding, FFT, magnitudes, reciprocal, log10; or the FFT of the first p samples)
//   at (N, p, padding) = (2000, 1000, 4x) and (8000, 8000, 16x), against the same steps in numpy/scipy
//   (bench/peers/demo_pages.py);
// - "GetMem vs SliceIt": 1000 passes of four arrays of m Doubles from a pooled vector with SliceIt ("ours") against
//   four malloc/free ("malloc") and four std::vector<double> ("std::vector"), with the pool the page leaves (one
//   vector of 2000 elements);
// - "Using Default arrays": the sum of 10^4 elements through the checked indexed property ("ours") against the raw
//   Values array ("Values").
// Every side runs in one thread (FFTW and the recursion are single-threaded here).
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/BenchRow.h"
#include "bench/QtBenchMain.h"
#include "demo/DefaultArray.h"
#include "demo/GetMemComp.h"
#include "demo/YuleLevinson.h"
#include "platform/gui/Settings.h"

using namespace tarnel;

namespace {

constexpr int kPasses = 1000;

void Spectrum(benchmark::State& st, int N, int P, int Item, bool AR)
{
    paxtor::TYuleLev page(nullptr);
    page.TrackBar1->setValue(N);
    page.TrackBar2->setValue(P);
    page.SelectPadding(Item);
    AR ? page.EstimateAR() : page.EstimateFFT();  // plans the transforms
    for (auto _ : st) AR ? page.EstimateAR() : page.EstimateFFT();
}

template <class F>
void Passes(benchmark::State& st, F timed)
{
    timed(kPasses);
    for (auto _ : st) timed(kPasses);
}

void Sum(benchmark::State& st, bool Checked)
{
    paxtor::TDefArray page(nullptr);
    page.PrepareVector(10000);
    for (auto _ : st) benchmark::DoNotOptimize(Checked ? page.VectorDefaultSum() : page.VectorValuesSum());
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    struct TCase {
        const char* Name;
        int N, P, Item;
    };
    for (const TCase c : {TCase{"2000 4x", 2000, 1000, 2}, TCase{"8000 16x", 8000, 8000, 4}}) {
        const std::string suffix = std::string(" spectrum ") + c.Name;
        Row("AR" + suffix, c.P, "ours", [c](benchmark::State& s) {
            Spectrum(s, c.N, c.P, c.Item, true);
        })->Unit(benchmark::kMicrosecond);
        Row("FFT" + suffix, c.P, "ours", [c](benchmark::State& s) {
            Spectrum(s, c.N, c.P, c.Item, false);
        })->Unit(benchmark::kMicrosecond);
    }
    for (int m : {1, 125, 500}) {
        Row("1000 x four arrays", m, "ours", [m](benchmark::State& s) {
            Passes(s, [m](int n) { return paxtor::TGetMemC::TimeSliceIt(m, n); });
        })->Unit(benchmark::kMicrosecond);
        Row("1000 x four arrays", m, "malloc", [m](benchmark::State& s) {
            Passes(s, [m](int n) { return paxtor::TGetMemC::TimeGetMem(m, n); });
        })->Unit(benchmark::kMicrosecond);
        Row("1000 x four arrays", m, "std::vector", [m](benchmark::State& s) {
            Passes(s, [m](int n) { return paxtor::TGetMemC::TimeSetLength(m, n); });
        })->Unit(benchmark::kMicrosecond);
    }
    Row("Element sum", 10000, "ours", [](benchmark::State& s) { Sum(s, true); });
    Row("Element sum", 10000, "Values", [](benchmark::State& s) { Sum(s, false); });
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    return tarnel_bench::QtBenchMain(argc, argv, [&folder] {
        gui::SetSettingsFolder(folder.path());
        SetVecCacheSize(1, 2000);  // the pool "GetMem vs SliceIt" leaves
    });
}
