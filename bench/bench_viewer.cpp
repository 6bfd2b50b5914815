// The value viewer on large values: opening a 1000 x 1000 complex matrix up to its first paint (the grid formats
// only the cells it shows), and Copy and Paste of a 1000 x 1000 real matrix through the clipboard as tab-delimited
// 15-digit text. numpy's rows (bench/peers/viewer.py): numpy.savetxt of the complex matrix into memory (the text a
// grid holding every cell would make), and numpy.savetxt ("%.15g") and numpy.loadtxt of the real matrix. Runs on
// Qt's offscreen platform; no BLAS is involved.
#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

#include "bench/BenchRow.h"
#include "bench/QtBenchMain.h"
#include "components/TarnelEdit.h"
#include "platform/gui/Settings.h"

using namespace tarnel;

namespace {

void Fill(TMtx& M, int Rows, int Cols, bool Complex, unsigned Seed)
{
    M.Size(Rows, Cols, Complex);
    std::mt19937_64 gen(Seed);
    std::uniform_real_distribution<double> u(-1000, 1000);
    const std::int64_t n = std::int64_t{Rows} * Cols * (Complex ? 2 : 1);
    for (std::int64_t i = 0; i < n; ++i) M.Values()[i] = u(gen);
}

void OursOpen(benchmark::State& st, int n)
{
    TMtx m;
    Fill(m, n, n, true, 1);
    for (auto _ : st) {
        auto f = std::make_unique<TTarnelEditForm>();
        f->Values().Copy(m);
        f->Setup("", false, false, &m, nullptr);
        benchmark::DoNotOptimize(f->grab());  // the first paint: every visible cell formatted and drawn
        st.PauseTiming();
        f.reset();
        st.ResumeTiming();
    }
}

void OursCopy(benchmark::State& st, int n)
{
    TMtx m;
    Fill(m, n, n, false, 2);
    TTarnelEditForm f;
    f.Values().Copy(m);
    f.CopyValues(false);
    for (auto _ : st) f.CopyValues(false);
}

void OursPaste(benchmark::State& st, int n)
{
    TMtx m;
    Fill(m, n, n, false, 2);
    TTarnelEditForm f;
    f.Values().Copy(m);
    f.CopyValues(false);
    f.PasteValues(false);
    for (auto _ : st) f.PasteValues(false);
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("Viewer open to first paint", 1000, "ours", [](benchmark::State& s) {
        OursOpen(s, 1000);
    })->Unit(benchmark::kMillisecond);
    Row("Viewer Copy", 1000, "ours", [](benchmark::State& s) { OursCopy(s, 1000); })->Unit(benchmark::kMillisecond);
    Row("Viewer Paste", 1000, "ours", [](benchmark::State& s) { OursPaste(s, 1000); })->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir settings;  // the viewer's settings go here, not into the user's
    return tarnel_bench::QtBenchMain(argc, argv, [&settings] { gui::SetSettingsFolder(settings.path()); });
}
