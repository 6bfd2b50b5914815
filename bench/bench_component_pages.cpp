// The grid series page's animation tick, run through the page itself on Qt's offscreen platform: a new random
// 2000 × 2000 sparse system (RandomSparse at 1 %, about 20000 entries with the mirrored ones and the diagonal) and
// its 500 × 500 pattern picture ("ours"), against scipy.sparse.random of the same order and density plus numpy's
// 4 × 4 block sum (bench/peers/component_pages.py); a second row adds what the tick does beyond the numbers: the
// series refreshed and the chart repainted. One thread on every side.
#include <QTemporaryDir>

#include "bench/QtBenchMain.h"
#include "demo/MtxGridSeries_Demo.h"
#include "platform/gui/Settings.h"

using namespace tarnel;

namespace {

void Tick(benchmark::State& st, bool Repaint)
{
    paxtor::TfrmMtxGridSeries page(nullptr);
    page.resize(900, 700);
    TVec b, x;
    TMtx p;
    for (auto _ : st) {
        if (Repaint) {
            page.NewMatrix();
        } else {
            page.S().RandomSparse(b, x, false, 1.0, paxtor::TfrmMtxGridSeries::kNonZeros);
            page.S().PixelDownSample(p, paxtor::TfrmMtxGridSeries::kPixels, pdsPattern);
        }
    }
    st.counters["entries"] = page.S().NonZeros();
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    Row("Grid animation tick", 2000, "ours", [](benchmark::State& s) { Tick(s, false); })
        ->Unit(benchmark::kMillisecond);
    Row("Grid animation tick with repaint", 2000, "ours", [](benchmark::State& s) { Tick(s, true); })
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir folder;
    return tarnel_bench::QtBenchMain(argc, argv, [&] { gui::SetSettingsFolder(folder.path()); });
}
