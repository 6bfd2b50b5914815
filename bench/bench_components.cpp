// The program's components against what they wrap (bench/peers/components.py in the same run):
// - TMtxOptimization.Recalculate on Rosenbrock from (-1.2, 1) with the component's settings (10000 iterations,
//   Tolerance and GradTolerance 1e-8, the Richardson gradient) against a direct call of the method with the same
//   settings, and scipy.optimize.minimize (Nelder-Mead with xatol and fatol 1e-8; BFGS with its own
//   finite-difference gradient and gtol 1e-8). Both of ours copy the start into the parameters before each run.
// - 1500 products of 100 x 100 matrices through TMtxProgressDialog.Execute (InternalLoop, Loops 1500), the window
//   shown and hidden, UpdateInterval 200 and 10 ms, each run from Execute until peFinish, against the same products
//   in a plain std::thread started and joined per run, and a numpy A @ B loop (numpy.matmul with out=).
// - The optimisation component's record with 10^6 parameters saved into memory and loaded into another component,
//   against the bare vector stream (TVec SaveToStream and LoadFromStream) of the same vector.
// Runs on Qt's offscreen platform. OpenBLAS (the products) runs with the thread count scripts/bench sets
// (OPENBLAS_NUM_THREADS, 1 unless given) on every side.
#include <QEventLoop>
#include <cmath>
#include <thread>
#include <vector>

#include "bench/BenchRow.h"
#include "bench/QtBenchMain.h"
#include "components/MtxDialogs.h"
#include "components/TarnelTools.h"

using namespace tarnel;

namespace {

double Rosenbrock(std::span<const double> x, std::span<const double>, std::span<void* const>)
{
    const double a = x[1] - x[0] * x[0], b = 1 - x[0];
    return 100 * a * a + b * b;
}

void OursRecalculate(benchmark::State& st, TOptMethod Method)
{
    TMtxOptimization opt(nullptr);
    opt.SetObjective(Rosenbrock);
    opt.SetOptimizationMethod(Method);
    TVec start;
    start.SetIt(false, {-1.2, 1});
    for (auto _ : st) {
        opt.SetVariableParameters(start);
        opt.Recalculate();
        benchmark::DoNotOptimize(opt.FunMin());
    }
}

// The call Recalculate makes, with the component's settings.
void DirectMethod(benchmark::State& st, TOptMethod Method)
{
    const std::vector<double> start = {-1.2, 1};
    std::vector<double> x;
    void* const objects[] = {nullptr};
    double fmin = 0;
    TOptStopReason reason = OptResNotFound;
    TMtx hess;
    for (auto _ : st) {
        x = start;
        if (Method == optSimplex) {
            Simplex(Rosenbrock, x, {}, objects, fmin, reason, 10000, 1e-8, nullptr);
        } else {
            BFGS(Rosenbrock, NumericGradRichardson, x, {}, objects, fmin, &hess, reason, false, true, 10000, 1e-8, 1e-8,
                 nullptr);
        }
        benchmark::DoNotOptimize(fmin);
    }
}

constexpr int kProducts = 1500;
constexpr int kOrder = 100;

void Fill(TMtx& M, double Shift)
{
    M.Size(kOrder, kOrder);
    for (int i = 0; i < kOrder * kOrder; ++i) M.Values()[i] = std::sin(0.001 * i + Shift);
}

void OursProgress(benchmark::State& st, bool Shown, int Interval)
{
    TMtx a, b, c;
    Fill(a, 0);
    Fill(b, 1);
    TMtxProgressDialog d(nullptr);
    d.SetInternalLoop(true);
    d.SetMin(1);
    d.SetLoops(kProducts);
    d.SetShowDialog(Shown);
    d.SetUpdateInterval(Interval);
    d.SetOnCompute([&](TComponent*) { c.Mul(a, b); });
    QEventLoop loop;
    d.SetOnProgressUpdate([&](TComponent*, TMtxProgressEvent e) {
        if (e == peFinish) loop.quit();
    });
    for (auto _ : st) {
        d.Execute();
        loop.exec();
    }
}

void PlainThread(benchmark::State& st)
{
    TMtx a, b, c;
    Fill(a, 0);
    Fill(b, 1);
    for (auto _ : st) {
        std::thread t([&] {
            for (int k = 0; k < kProducts; ++k) c.Mul(a, b);
        });
        t.join();
    }
}

constexpr int kParameters = 1000000;

void Parameters(TVec& V)
{
    V.Size(kParameters);
    for (int i = 0; i < kParameters; ++i) V.Values()[i] = std::sin(1.0 + i);
}

void OursSaveLoad(benchmark::State& st)
{
    TVec v;
    Parameters(v);
    TMtxOptimization src(nullptr), dst(nullptr);
    src.SetVariableParameters(v);
    TMemoryStream m;
    const auto pass = [&] {
        m.Clear();
        src.SaveToStream(m);
        m.SetPosition(0);
        dst.LoadFromStream(m);
    };
    // Warm-up: the first pass maps new 8 MB blocks and the second grows the heap the allocator then moves them to;
    // both pay page faults that every later pass is spared.
    pass();
    pass();
    for (auto _ : st) pass();
}

void BareVectorStream(benchmark::State& st)
{
    TVec v, w;
    Parameters(v);
    TMemoryStream m;
    const auto pass = [&] {
        m.Clear();
        v.SaveToStream(m);
        m.SetPosition(0);
        w.LoadFromStream(m);
    };
    pass();  // the same warm-up as the component's
    pass();
    for (auto _ : st) pass();
}

const bool kRegistered = [] {
    using tarnel_bench::Row;
    for (TOptMethod m : {optSimplex, optBFGS}) {
        const std::string op = std::string("Recalculate ") + (m == optSimplex ? "Simplex" : "BFGS") + " Rosenbrock";
        Row(op, 2, "ours", [m](benchmark::State& s) { OursRecalculate(s, m); });
        Row(op, 2, "direct call", [m](benchmark::State& s) { DirectMethod(s, m); });
    }
    for (bool shown : {true, false}) {
        for (int interval : {200, 10}) {
            const std::string op =
                std::string("Progress Mul 100 ") + (shown ? "shown" : "hidden") + " " + std::to_string(interval);
            // The work runs on another thread; the table reads wall-clock time.
            Row(op, kProducts, "ours", [shown, interval](benchmark::State& s) { OursProgress(s, shown, interval); })
                ->Unit(benchmark::kMillisecond);
            Row(op, kProducts, "std::thread", [](benchmark::State& s) { PlainThread(s); })
                ->Unit(benchmark::kMillisecond);
        }
    }
    Row("Component save+load", kParameters, "ours", [](benchmark::State& s) { OursSaveLoad(s); })
        ->Unit(benchmark::kMillisecond);
    Row("Component save+load", kParameters, "vector stream", [](benchmark::State& s) { BareVectorStream(s); })
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

int main(int argc, char** argv)
{
    return tarnel_bench::QtBenchMain(argc, argv, [] {});
}
