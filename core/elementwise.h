// The machinery that the element-wise operations of vectors share: addressing by element kind, the checks with
// their gating, operands held still against aliasing, the real/complex mixing of the in-place operand forms and
// the calling forms themselves. Internal to the library.
//
// Rules every family follows through these helpers:
// - Checks run in the order of the family's table and the first failure raises its text. A gated check runs only
//   while Self's ConditionCheck is on. Negative indexes and lengths are refused always. Bound checks compare
//   elements with ConditionCheck on; with it off they still refuse, with the same text, any range whose Doubles
//   would leave the operand's data (a memory guard run after the other checks), so that no setting lets an
//   operation read or write outside a vector.
// - A source whose memory the operation would overwrite before reading it (one vector given twice, overlapping
//   views of one buffer, a source inside the buffer that sizing Self may free) is read from a pooled copy, so the
//   result is that of distinct vectors. Exactly coinciding element-wise ranges of the same element size are
//   safe without a copy (element i is read before it is written).
// - Temporaries come from the pool through TTemp and go back on every path, in the reverse order of taking.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel::detail {

// ---- Addressing -------------------------------------------------------------------------------------------------

// Doubles per element of the vector's kind, and Doubles of its current data.
inline int Width(const TVecs& V)
{
    return V.Complex() ? 2 : 1;
}
inline std::int64_t Numbers(const TVecs& V)
{
    return static_cast<std::int64_t>(V.Length()) * Width(V);
}
// The address of element Index in the vector's own kind.
inline const double* At(const TVecs& V, int Index)
{
    return V.Values() + static_cast<std::int64_t>(Index) * Width(V);
}
inline double* At(TVecs& V, int Index)
{
    return V.Values() + static_cast<std::int64_t>(Index) * Width(V);
}

// Doubles seen as complex elements (two per element) and back.
inline const TCplx* AsCplx(const double* P)
{
    return reinterpret_cast<const TCplx*>(P);
}
inline TCplx* AsCplx(double* P)
{
    return reinterpret_cast<TCplx*>(P);
}

// ---- Aliasing ---------------------------------------------------------------------------------------------------

// The Doubles [A, A + ACount) and [B, B + BCount) share memory (inline: every element-wise call asks it).
inline bool Overlap(const double* A, std::int64_t ACount, const double* B, std::int64_t BCount)
{
    if (!A || !B || ACount <= 0 || BCount <= 0) return false;
    // std::less gives a total order also for pointers into different blocks.
    const std::less<const double*> before;
    return before(A, B + BCount) && before(B, A + ACount);
}
// Src's data may be overwritten or freed by writing or sizing Dst: the same object, data that overlap Dst's
// current data, or data inside Dst's own block (inline: every element-wise call asks it of its sources).
inline bool SharesMemory(const TVecs& Src, const TVecs& Dst)
{
    if (&Src == &Dst) return true;
    const std::int64_t n = Numbers(Src);
    if (n == 0) return false;
    if (Overlap(Src.Values(), n, Dst.Values(), Numbers(Dst))) return true;
    // Sizing Dst may free its own block, which Src may view while Dst views something else or nothing.
    const auto* block = static_cast<const double*>(Dst.AllocatedBlock());
    return Overlap(Src.Values(), n, block, Dst.AllocatedSize() / static_cast<std::int64_t>(sizeof(double)));
}
// The same for a matrix destination: Src's data overlap Dst's data or lie inside Dst's block.
bool SharesMemory(const TVecs& Src, const TMtx1& Dst);
// The same between matrices: Src's data overlap Dst's data or lie inside Dst's block (an empty Src shares nothing).
bool SharesMemory(const TMtx1& Src, const TMtx1& Dst);
// Two distinct outputs of one call of which one views the other's memory: sizing one would free or overwrite what
// the other is to hold, so such a call is refused.
bool OutputsShare(const TVecs& A, const TVecs& B);

// Dst[0, Count) := Src[0, Count) through nspdbCopy: overlapping arrays as if through a buffer; long arrays that lie
// apart in pieces that the worker threads share (one thread does not saturate the memory bus).
void CopyDoubles(const double* Src, double* Dst, std::int64_t Count);

// A pooled vector taken at first use only, so that the common case costs nothing.
class TLazyTemp {
public:
    TVec& Get()
    {
        if (!FTemp) FTemp.emplace();
        return **FTemp;
    }

private:
    std::optional<TVecTemp> FTemp;
};

// The Doubles of the matrix Src that a member reads while it sizes and writes the destination matrices: Src's own,
// or a pooled copy in Temp when they share memory with a destination's data or block (mtx_arith.cpp).
const double* Held(const TMtx1& Src, std::initializer_list<const TMtx1*> Dsts, TLazyTemp& Temp);

// Into := a copy of V (kind, length and values).
const TVecs& Snapshot(const TVecs& V, TVec& Into);

// A source operand held still while the destinations are sized and written: the source itself, or a pooled copy
// when it shares memory with any destination.
class TStable {
public:
    TStable(const TVecs& Src, std::initializer_list<const TVecs*> Dsts) : FSrc(&Src)
    {
        for (const TVecs* d : Dsts) {
            if (d && SharesMemory(Src, *d)) {
                Hold();
                return;
            }
        }
    }
    TStable(const TVecs& Src, const TVecs& Dst) : TStable(Src, {&Dst}) {}
    TStable(const TVecs& Src, const TMtx1& Dst);
    const TVecs& operator*() const { return *FSrc; }
    const TVecs* operator->() const { return FSrc; }

private:
    // FSrc := a pooled copy of it.
    void Hold();
    TLazyTemp FCopy;
    const TVecs* FSrc;
};

// The Count Doubles at Src that an operation reads while it writes DCount Doubles at Dst: Src itself when apart
// from the destination, or when SameStartSafe and both start at the same address (an element-wise pass of equal
// element sizes); otherwise a copy in Temp.
const double* Detached(const double* Src, std::int64_t Count, const double* Dst, std::int64_t DCount,
                       bool SameStartSafe, TLazyTemp& Temp);

// ---- Checks -----------------------------------------------------------------------------------------------------

// The checks of one call, written in the order of the family's table:
//     TCheck(*this).Negative({Len, Index, VecIndex}, msg::kNegRange).Bound(Vec, VecIndex, Len, W, ...)...Done();
// Matrix members use the same chain on TCheck(FConditionCheck), with their memory guards on Rows·Cols.
class TCheck {
public:
    explicit TCheck(const TVecs& Self) : FOn(Self.ConditionCheck()) {}
    explicit TCheck(bool On) : FOn(On) {}
    bool On() const { return FOn; }
    // Always: any of the values below 0.
    TCheck& Negative(std::initializer_list<int> Values, const char* Msg)
    {
        for (int v : Values)
            if (v < 0) Raise(Msg);
        return *this;
    }
    // Gated: Index + Len > V.Length. Always, in Done: the same text when Len·W Doubles from element Index of V
    // (W the Doubles per element of the operation) would leave V's data.
    TCheck& Bound(const TVecs& V, int Index, int Len, int W, const char* Msg);
    // Gated: a bound of a matrix member, compared by the caller within the matrices' Rows·Cols elements. Always,
    // in Done: the same test, as the memory guard of that bound.
    TCheck& Bound(bool Exceeded, const char* Msg);
    // Gated only when memory stays safe without it.
    TCheck& Gated(bool Failed, const char* Msg)
    {
        if (FOn && Failed) Raise(Msg);
        return *this;
    }
    TCheck& Always(bool Failed, const char* Msg)
    {
        if (Failed) Raise(Msg);
        return *this;
    }
    // The memory guards of the Bound checks, in their order.
    void Done() const;

private:
    // The short checks are inline, as every element-wise call makes several; the raise stays out of line.
    [[noreturn, gnu::cold]] static void Raise(const char* Msg);
    struct TGuard {
        const TVecs* V;  // nil for a bound the caller compared: Exceeded holds its result
        int Index;
        int Len;
        int W;
        const char* Msg;
        bool Exceeded;
    };
    static constexpr int kGuards = 8;
    bool FOn;
    int FCount = 0;
    // Only the first FCount are set and read: left uninitialised, a check costs no clearing of the whole array.
    TGuard FGuards[kGuards];
};

// The usual checks of a range form from one source, in the usual order: negative arguments, VecIndex + Len,
// Index + Len, kinds, Self = Vec (all gated but the memory guards and the negative check).
void CheckRange(const TVecs& Self, const TVecs& Vec, int VecIndex, int Index, int Len);
// The same for two sources (the order of the two-source Add).
void CheckRange(const TVecs& Self, const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index,
                int Len);

// The checks of the whole-vector-default forms Op (X, XIndex, Index, Len), in their order: negative indexes and a
// Len below -1 (always); then, gated, SelfText when X is Self at another index (nil where the form has no such
// check), "Complex <> X.Complex", "(Index + Len) > FLength", "(XIndex + Len) > X.Length". W is the Doubles per
// element of the operation for the memory guards. With Len = -1 the checks see Self as it will be, sized like X,
// and Self is sized only after all of them passed. Returns the length to work on (X's Length for -1).
// X must not share memory with Self when Len = -1 (hold it with TStable first).
int CheckWhole(TVecs& Self, const TVecs& X, int XIndex, int Index, int Len, int W, const char* SelfText);

// ---- Widening ---------------------------------------------------------------------------------------------------

// Into := N complex elements from the N Doubles at S: s + i·s, or s + 0i with Zeros. Into must not hold S.
void WidenInto(const double* S, int N, TVecs& Into, bool Zeros);

// ---- Calling forms ----------------------------------------------------------------------------------------------
// Kernels work on Doubles: K2(Src, Dst, Count) computes Dst := Dst ∘ Src, K3(A, B, Dst, Count) Dst := A ∘ B, and
// K1(Src, Dst, Count) Dst := f(Src). Count is in Doubles (2 per complex element).

// In place with an operand, Self := Self ∘ Vec over Self's Length, mixing kinds: equal kinds are combined
// directly; otherwise the real one is widened in a pooled vector (x + 0i with ZeroImag, for sums and differences;
// x + i·x for products and quotients) and combined Double by Double; a real Self becomes complex first. Vec must
// hold at least Self's Length elements (the caller checks).
template <class K2, class K3>
void CombineInPlace(TVecs& Self, const TVecs& Vec, bool ZeroImag, const K2& Kernel2, const K3& Kernel3)
{
    const int n = Self.Length();
    if (Self.Complex() == Vec.Complex()) {
        if (n == 0) return;
        TLazyTemp t;
        const double* src = Detached(Vec.Values(), Numbers(Self), Self.Values(), Numbers(Self), true, t);
        Kernel2(src, Self.Values(), Numbers(Self));
        return;
    }
    if (Self.Complex()) {
        TVecTemp w;
        WidenInto(Vec.Values(), n, *w, ZeroImag);
        if (n > 0) Kernel2(w->Values(), Self.Values(), 2 * static_cast<std::int64_t>(n));
        return;
    }
    TStable v(Vec, Self);
    TVecTemp w;
    WidenInto(Self.Values(), n, *w, ZeroImag);
    Self.Size(n, true);
    if (n > 0) Kernel3(w->Values(), v->Values(), Self.Values(), 2 * static_cast<std::int64_t>(n));
}

// From a source: Self := f(Vec), sized like Vec.
template <class K1>
void FromSource(TVecs& Self, const TVecs& Vec, const K1& Kernel)
{
    TStable src(Vec, Self);
    Self.Size(src->Length(), src->Complex());
    if (Self.Length() > 0) Kernel(src->Values(), Self.Values(), Numbers(Self));
}

// From two sources of equal kind and length: Self := Vec1 ∘ Vec2, sized like Vec1.
template <class K3>
void FromTwoSources(TVecs& Self, const TVecs& Vec1, const TVecs& Vec2, const K3& Kernel)
{
    TStable a(Vec1, Self), b(Vec2, Self);
    Self.Size(a->Length(), a->Complex());
    if (Self.Length() > 0) Kernel(a->Values(), b->Values(), Self.Values(), Numbers(Self));
}

// Range from a source (after the checks): Kernel(Src, Dst, Len·W) on Self from Index and Vec from VecIndex, W
// the Doubles per element of Self.
template <class K>
void OnRange(TVecs& Self, const TVecs& Vec, int VecIndex, int Index, int Len, const K& Kernel)
{
    if (Len <= 0) return;
    const std::int64_t count = static_cast<std::int64_t>(Len) * Width(Self);
    double* dst = At(Self, Index);
    TLazyTemp t;
    const double* src = Detached(At(Vec, VecIndex), count, dst, count, true, t);
    Kernel(src, dst, count);
}

// Range from two sources (after the checks).
template <class K3>
void OnRange(TVecs& Self, const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len,
             const K3& Kernel)
{
    if (Len <= 0) return;
    const std::int64_t count = static_cast<std::int64_t>(Len) * Width(Self);
    double* dst = At(Self, Index);
    TLazyTemp t1, t2;
    const double* a = Detached(At(Vec1, Vec1Index), count, dst, count, true, t1);
    const double* b = Detached(At(Vec2, Vec2Index), count, dst, count, true, t2);
    Kernel(a, b, dst, count);
}

// The three calling forms of a kernel F(Complex, Src, Dst, Count) that sees Self's kind (Count in Doubles; Dst may
// be Src): in place, from a source sized like it, and on a checked range.
template <class F>
void InPlace(TVecs& Self, const F& Kernel)
{
    if (Self.Length() > 0) Kernel(Self.Complex(), Self.Values(), Self.Values(), Numbers(Self));
}

template <class F>
void FromVec(TVecs& Self, const TVecs& Vec, const F& Kernel)
{
    FromSource(Self, Vec, [&](const double* S, double* D, std::int64_t N) { Kernel(Self.Complex(), S, D, N); });
}

template <class F>
void OnRangeOf(TVecs& Self, const TVecs& Vec, int VecIndex, int Index, int Len, const F& Kernel)
{
    OnRange(Self, Vec, VecIndex, Index, Len,
            [&](const double* S, double* D, std::int64_t N) { Kernel(Self.Complex(), S, D, N); });
}

// The whole-vector-default form Op (X, XIndex, Index, Len) of such a kernel: X held still while Self is sized, the
// checks of CheckWhole (SelfText as there), then the kernel on the range.
template <class F>
void OnWhole(TVecs& Self, const TVecs& X, int XIndex, int Index, int Len, const char* SelfText, const F& Kernel)
{
    TStable x(X, {Len == -1 && &X != &Self ? &Self : nullptr});
    // Sized like X, Self will have X's kind: the memory guards count X's Doubles per element then.
    Len = CheckWhole(Self, *x, XIndex, Index, Len, Width(Len == -1 ? *x : Self), SelfText);
    OnRangeOf(Self, *x, XIndex, Index, Len, Kernel);
}

// The in-place range form Op (Index, Len) of such a kernel: negative arguments ("(Len <= 0) or (Index < 0)"), then
// Index + Len past the end (BoundText), both always; then the kernel on Self[Index .. Index+Len-1].
template <class F>
void OnOwnRange(TVecs& Self, int Index, int Len, const char* BoundText, const F& Kernel)
{
    TCheck(Self)
        .Negative({Len, Index}, msg::kNegIndexLen)
        .Always(static_cast<std::int64_t>(Index) + Len > Self.Length(), BoundText);
    if (Len == 0) return;
    double* d = At(Self, Index);
    Kernel(Self.Complex(), d, d, static_cast<std::int64_t>(Len) * Width(Self));
}

// A kernel of the calling forms above from a real and a complex scalar function, element by element, long ranges
// cut among the worker threads (each element alone, so the cut changes no result).
template <class FR, class FC>
auto EachElement(FR Real, FC Complex)
{
    return [Real, Complex](bool IsComplex, const double* S, double* D, std::int64_t N) {
        if (IsComplex) {
            const TCplx* s = AsCplx(S);
            TCplx* d = AsCplx(D);
            parallel::Pieces(N / 2, [&](long long Lo, long long Hi) {
                for (long long k = Lo; k < Hi; ++k) d[k] = Complex(s[k]);
            });
        } else {
            parallel::Pieces(N, [&](long long Lo, long long Hi) {
                for (long long k = Lo; k < Hi; ++k) D[k] = Real(S[k]);
            });
        }
    };
}

}  // namespace tarnel::detail
