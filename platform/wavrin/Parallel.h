// Splitting large element-wise work among a few threads. Internal to the library.
//
// Pieces(n, run) calls run(lo, hi) on contiguous pieces that cover [0, n): one piece for small n (below two least
// pieces, or below a length given by the kernel's time per element, MinSplitFor), else pieces of at least kMinPiece
// elements (kMinStreamPiece for passes that only stream their Doubles; starting at multiples of 8)
// that the calling thread and up to UsefulThreads() − 1 workers take in turn. Callers keep every element's
// computation independent of the cut, so the results are the same as from one piece; arrays that the pieces write
// must not overlap the arrays that other pieces read.
//
// Every piece runs compiled for AVX2 where the processor has it (RunWide), so the loops of run vectorise four
// Doubles wide whatever the baseline the library is built for; passes of real arithmetic may ask for AVX-512F,
// eight wide.
#pragma once

#include <algorithm>
#include <functional>

namespace tarnel::parallel {

constexpr long long kMinPiece = 1 << 15;
// The least piece of a pass that does little more than move its Doubles (a copy, a fill, a sum, product or absolute
// value per element): it runs at the speed of the caches, a few microseconds for kMinPiece elements, which is less
// than waking a worker costs; up to 10^6 elements one thread keeps up with the caches (measured: 4 threads took
// 1.3 times as long as one for an in-place scaling of 10^6 elements), beyond them the threads' bandwidth counts.
constexpr long long kMinStreamPiece = 1 << 19;
// Whether a heavier kernel is shared out at all is a question of work, not of elements: from kMinSplitNs of one
// thread's time on. Waking a worker costs tens of microseconds here, and what a worker writes lands in its own
// caches, from where the caller's next pass has to fetch it back: 3 pieces of an exponential of 10^5 elements
// (some 60 µs of work) made a chain of passes over those elements slower than one thread alone.
constexpr double kMinSplitNs = 200'000;
// The least length at which a kernel taking NsPerElement nanoseconds per element on one thread (with the data in
// the caches) is shared out, never below two pieces of kMinPiece.
constexpr long long MinSplitFor(double NsPerElement)
{
    return std::max(2 * kMinPiece, static_cast<long long>(kMinSplitNs / NsPerElement));
}
// A pass whose destination lies apart from its sources and whose arrays together hold at least kStreamBytes
// writes results that the caches would not keep anyway: its stores go past the caches (non-temporal), which spares
// reading every destination line before it is overwritten. Measured here on a difference of two arrays followed by
// a pass that reads the result: streamed stores lost below some 17 MB of arrays (7·10^5 Doubles each), broke even
// at 24 MB and won from there on (a third less time for the difference alone at 24 MB).
constexpr long long kStreamBytes = 20LL << 20;
constexpr bool StreamStores(long long Bytes)
{
    return Bytes >= kStreamBytes;
}
constexpr int kMaxThreads = 8;
// Pieces per thread: a thread the system holds back leaves its share to the others.
constexpr int kPiecesPerThread = 4;

// The number of worker threads beside the caller (started on first use).
int WorkerCount();
// The threads worth sharing element-wise work among now, the caller included: 1 + WorkerCount() on an idle machine,
// fewer while other processes keep the processors busy (from the system's load average less this process's own
// share, looked at a few times a second), down to the caller alone. A worker the system has to hold back mid-piece
// makes the caller wait for it, which costs more than the piece; so on a busy machine the caller works alone.
int UsefulThreads();

// For tests: while one lives, UsefulThreads() is Threads (at most 1 + WorkerCount()) whatever the machine's load,
// so that work is shared out the same way on a busy machine as on an idle one.
class TFixedThreads {
public:
    explicit TFixedThreads(int Threads);
    ~TFixedThreads();
    TFixedThreads(const TFixedThreads&) = delete;
    TFixedThreads& operator=(const TFixedThreads&) = delete;

private:
    int FBefore;
};
// Runs job(0) .. job(parts − 1) at the same time, each part once, in the calling thread and in the workers that
// are free to take one (up to UsefulThreads() − 1 of them are woken); false, without running anything, when the
// workers are busy with another thread's job.
bool RunParts(int parts, const std::function<void(int)>& job);

// True when the processor runs AVX2, AVX-512F (found once; inline, as every piece asks).
inline bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
inline bool HasAvx512()
{
    static const bool has = __builtin_cpu_supports("avx512f");
    return has;
}

// The widest copy of a piece's loops a pass may run (RunWide).
enum class TIsa {
    // AVX2 without FMA, for every pass: element-wise IEEE operations round alike at every vector width, and
    // products and sums stay apart, so the copy changes no result.
    Avx2,
    // AVX-512F where the processor has it, else as Avx2: only for passes of real arithmetic (products, sums,
    // quotients, roots, absolute values of Doubles), never complex products: for AVX-512 GCC fuses the complex
    // products it recognises into fmaddsub whatever -ffp-contract says.
    Avx512,
};

// run(lo, hi) inlined into a copy compiled for AVX2 or AVX-512F.
template <class Run>
[[gnu::target("avx2"), gnu::flatten]] void RunAvx2(const Run& run, long long lo, long long hi)
{
    run(lo, hi);
}
template <class Run>
[[gnu::target("avx512f"), gnu::flatten]] void RunAvx512(const Run& run, long long lo, long long hi)
{
    run(lo, hi);
}
template <TIsa Widest = TIsa::Avx2, class Run>
void RunWide(const Run& run, long long lo, long long hi)
{
    if constexpr (Widest == TIsa::Avx512)
        if (HasAvx512()) return RunAvx512(run, lo, hi);
    if (HasAvx2()) return RunAvx2(run, lo, hi);
    run(lo, hi);
}

template <TIsa Widest = TIsa::Avx2, class Run>
void Pieces(long long n, const Run& run, long long minPiece = kMinPiece, long long minSplit = 0)
{
    if (n < std::max(2 * minPiece, minSplit)) return RunWide<Widest>(run, 0, n);
    const long long threads = UsefulThreads();
    const long long parts = std::min<long long>(threads * kPiecesPerThread, n / minPiece);
    if (threads <= 1 || parts <= 1) return RunWide<Widest>(run, 0, n);
    const long long piece = ((n + parts - 1) / parts + 7) / 8 * 8;
    const std::function<void(int)> job = [&](int p) {
        const long long lo = p * piece, hi = std::min(n, lo + piece);
        if (lo < hi) RunWide<Widest>(run, lo, hi);
    };
    if (!RunParts(static_cast<int>(parts), job)) RunWide<Widest>(run, 0, n);
}

// Pieces of a kernel taking NsPerElement nanoseconds per element, shared out from MinSplitFor(NsPerElement)
// elements on. An array too short for any split goes straight to one piece, without the division of MinSplitFor,
// which would otherwise be a good part of a short call's cost.
template <TIsa Widest = TIsa::Avx2, class Run>
void PiecesOfWork(long long n, const Run& run, double NsPerElement)
{
    if (n < 2 * kMinPiece) return RunWide<Widest>(run, 0, n);
    Pieces<Widest>(n, run, kMinPiece, MinSplitFor(NsPerElement));
}

}  // namespace tarnel::parallel
