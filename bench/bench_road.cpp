// The road of the timing pages: what "Multiplying large matrices" and "Copy and  transpose operation" time, at
// the pages' sizes. TMtx.Mul of two matrices of random integers 0 to 9 against the page's own triple loop and a
// direct dgemm_ call on the same data; TMtx.Copy and TMtx.Transp against the page's element loops and memcpy
// (for Transp, memcpy of the same bytes is the bound that no transposition beats). numpy's rows come from
// bench/peers/road.py in the same run. The rows are named "page ..." to keep them apart from the library's own
// product rows.
#include <cstring>
#include <random>
#include <vector>

#include "Feldrin.h"
#include "bench/BenchRow.h"
#include "demo/TimingLoops.h"

using namespace tarnel;
using paxtor::TSquareArray;

namespace {

// The sizes of the product rows: dimensions the page runs (2, 4, ..., 50, 75, ...), from each preset's range.
constexpr int kMulSizes[] = {10, 24, 50, 100, 250, 375};
// The copy rows: around the page's repetition steps, up to the track bar's end.
constexpr int kCopySizes[] = {14, 100, 500, 1300};

// Two operands of random integers 0 to 9, as the page fills them, as arrays and as matrices.
struct TOperands {
    TSquareArray A, B, C;
    TMtx MA, MB, MC;
    explicit TOperands(int n) : A(n, std::vector<double>(n)), B(n, std::vector<double>(n)), C(n, std::vector<double>(n))
    {
        std::mt19937 gen(7);
        std::uniform_int_distribution<int> digit(0, 9);
        MA.Size(n, n);
        MB.Size(n, n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                A[i][j] = MA.Values2D()[i][j] = digit(gen);
                B[i][j] = MB.Values2D()[i][j] = digit(gen);
            }
    }
};

void OursMul(benchmark::State& st, int n)
{
    TOperands o(n);
    for (auto _ : st) {
        o.MC.Mul(o.MA, o.MB, mtGeneral, mtGeneral, opNone, opNone);
        benchmark::ClobberMemory();
    }
}

void PageLoopMul(benchmark::State& st, int n)
{
    TOperands o(n);
    for (auto _ : st) {
        paxtor::LoopProduct(o.A, o.B, o.C, n);
        benchmark::DoNotOptimize(o.C[0].data());
        benchmark::ClobberMemory();
    }
}

void DirectDgemm(benchmark::State& st, int n)
{
    TOperands o(n);
    o.MC.Size(n, n);
    for (auto _ : st) {
        tarnel_bench::Dgemm(n, o.MA.Values(), o.MB.Values(), o.MC.Values());
        benchmark::ClobberMemory();
    }
}

// The page's source: n × n with the distinct values i·n + j.
void FillSource(TMtx& S, int n)
{
    S.Size(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) S.Values2D()[i][j] = static_cast<double>(i) * n + j;
}

template <class Op>
void CopyRow(benchmark::State& st, int n, Op op)
{
    TMtx src, dst;
    src.SetConditionCheck(false);
    dst.SetConditionCheck(false);
    FillSource(src, n);
    dst.Size(n, n);
    op(src, dst);
    for (auto _ : st) {
        op(src, dst);
        benchmark::DoNotOptimize(dst.Values());
        benchmark::ClobberMemory();
    }
}

void Memcpy(const TMtx& src, TMtx& dst)
{
    std::memcpy(dst.Values(), src.Values(), sizeof(double) * static_cast<std::size_t>(src.Rows()) * src.Cols());
}

const bool kRegistered = [] {
    using tarnel_bench::Bytes;
    using tarnel_bench::MulWork;
    using tarnel_bench::Row;
    for (int n : kMulSizes) {
        Row("page Mul", n, "ours", MulWork(n), [n](benchmark::State& s) { OursMul(s, n); });
        Row("page Mul", n, "page loop", [n](benchmark::State& s) { PageLoopMul(s, n); });
        Row("page Mul", n, "dgemm_", [n](benchmark::State& s) { DirectDgemm(s, n); });
    }
    // Copies and transpositions read and write every element once: 16 bytes each.
    const auto moved = [](int n) { return Bytes(16.0 * n * n); };
    for (int n : kCopySizes) {
        Row("page Copy", n, "ours", moved(n),
            [n](benchmark::State& s) { CopyRow(s, n, [](const TMtx& a, TMtx& b) { b.Copy(a); }); });
        Row("page Copy", n, "loop", [n](benchmark::State& s) { CopyRow(s, n, paxtor::LoopCopy); });
        Row("page Copy", n, "memcpy", [n](benchmark::State& s) { CopyRow(s, n, Memcpy); });
    }
    for (int n : kCopySizes) {
        Row("page Transp", n, "ours", moved(n),
            [n](benchmark::State& s) { CopyRow(s, n, [](const TMtx& a, TMtx& b) { b.Transp(a); }); });
        Row("page Transp", n, "loop", [n](benchmark::State& s) { CopyRow(s, n, paxtor::LoopTransp); });
        Row("page Transp", n, "memcpy bound", [n](benchmark::State& s) { CopyRow(s, n, Memcpy); });
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
