// The block processing page's three forms of the Maxwell density (parameter 1) over x = 2, one evaluation of the
// whole vector per call, at the page's lengths 10 to 10^6, run through the page itself on Qt's offscreen platform:
// "ours" the whole-vector operations, "blocks" the same operations block by block (TarnelBlockSize), "plain loop"
// the scalar MaxwellPDF per element; against numpy's vectorised form with preallocated outputs
// (bench/peers/block_proc.py). numpy and OpenBLAS on one thread; ours shares its long passes among the threads the
// machine has free, as the library does everywhere.
#include <cmath>

#include "bench/QtBenchMain.h"
#include "demo/BlockProcessing.h"
#include "numerics/Probabilities.h"

namespace {

using paxtor::TfrmBlockProc;

void Form(benchmark::State& st, int n, TfrmBlockProc::TEvalForm form)
{
    TfrmBlockProc page(nullptr);
    page.Prepare(n);
    page.Evaluate(form);
    for (auto _ : st) page.Evaluate(form);
    // The scalar routine's value at 2, which all three forms give (the page's test holds them to 1e-15).
    const double want = tarnel::MaxwellPDF(2, 1), got = page.Y().Values()[n - 1];
    if (std::fabs(got - want) > 1e-15 * want) st.SkipWithError("the density differs from MaxwellPDF");
    st.SetItemsProcessed(st.iterations() * static_cast<long long>(n));
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (int n = 10; n <= 1000000; n *= 10) {
        Row("Maxwell PDF", n, "ours", [n](benchmark::State& s) { Form(s, n, TfrmBlockProc::fmVectorized); });
        Row("Maxwell PDF", n, "blocks", [n](benchmark::State& s) { Form(s, n, TfrmBlockProc::fmBlock); });
        Row("Maxwell PDF", n, "plain loop", [n](benchmark::State& s) { Form(s, n, TfrmBlockProc::fmPlain); });
    }
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    return tarnel_bench::QtBenchMain(argc, argv, [] {});
}
