// The shared machinery of the element-wise operations: aliasing tests, stable operands, checks and widening.
#include "core/elementwise.h"

#include <cstring>
#include <functional>

#include "core/Raroz.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel::detail {

void CopyDoubles(const double* Src, double* Dst, std::int64_t Count)
{
    if (Count <= 0 || Src == Dst) return;
    if (Overlap(Src, Count, Dst, Count)) return nspdbCopy(Src, Dst, static_cast<int>(Count));
    parallel::Pieces(
        Count, [&](long long Lo, long long Hi) { nspdbCopy(Src + Lo, Dst + Lo, static_cast<int>(Hi - Lo)); },
        parallel::kMinStreamPiece);
}

bool SharesMemory(const TVecs& Src, const TMtx1& Dst)
{
    const std::int64_t n = Numbers(Src);
    if (n == 0) return false;
    const std::int64_t numbers = static_cast<std::int64_t>(Dst.Rows()) * Dst.Cols() * (Dst.Complex() ? 2 : 1);
    if (Overlap(Src.Values(), n, Dst.Values(), numbers)) return true;
    const auto* block = static_cast<const double*>(Dst.AllocatedBlock());
    return Overlap(Src.Values(), n, block, Dst.AllocatedSize() / static_cast<std::int64_t>(sizeof(double)));
}

bool SharesMemory(const TMtx1& Src, const TMtx1& Dst)
{
    const auto numbers = [](const TMtx1& M) {
        return static_cast<std::int64_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    };
    const std::int64_t n = numbers(Src);
    if (n == 0) return false;
    return Overlap(Src.Values(), n, Dst.Values(), numbers(Dst)) ||
           Overlap(Src.Values(), n, static_cast<const double*>(Dst.AllocatedBlock()),
                   Dst.AllocatedSize() / static_cast<std::int64_t>(sizeof(double)));
}

bool OutputsShare(const TVecs& A, const TVecs& B)
{
    return &A != &B && (SharesMemory(A, B) || SharesMemory(B, A));
}

const TVecs& Snapshot(const TVecs& V, TVec& Into)
{
    Into.Size(V.Length(), V.Complex());
    const std::int64_t n = Numbers(V);
    if (n > 0) std::memcpy(Into.Values(), V.Values(), static_cast<std::size_t>(n) * sizeof(double));
    return Into;
}

void TStable::Hold()
{
    FSrc = &Snapshot(*FSrc, FCopy.Get());
}

TStable::TStable(const TVecs& Src, const TMtx1& Dst) : FSrc(&Src)
{
    if (SharesMemory(Src, Dst)) Hold();
}

const double* Detached(const double* Src, std::int64_t Count, const double* Dst, std::int64_t DCount,
                       bool SameStartSafe, TLazyTemp& Temp)
{
    if (!Overlap(Src, Count, Dst, DCount)) return Src;
    if (SameStartSafe && Src == Dst && Count == DCount) return Src;
    TVec& t = Temp.Get();
    // A real temporary of Count Doubles; Count never exceeds an Integer (it is within one vector's data).
    t.Size(static_cast<int>(Count), false);
    std::memcpy(t.Values(), Src, static_cast<std::size_t>(Count) * sizeof(double));
    return t.Values();
}

void TCheck::Raise(const char* Msg)
{
    ERaise(Msg);
}

TCheck& TCheck::Bound(const TVecs& V, int Index, int Len, int W, const char* Msg)
{
    if (FOn && static_cast<std::int64_t>(Index) + Len > V.Length()) ERaise(Msg);
    if (FCount == kGuards) {
        // No room to keep the guard for Done: it runs now rather than not at all.
        TCheck now(false);
        now.Bound(V, Index, Len, W, Msg).Done();
        return *this;
    }
    FGuards[FCount++] = {&V, Index, Len, W, Msg, false};
    return *this;
}

TCheck& TCheck::Bound(bool Exceeded, const char* Msg)
{
    if (FOn && Exceeded) ERaise(Msg);
    if (FCount == kGuards) {
        // No room to keep the guard for Done: it runs now rather than not at all.
        if (Exceeded) ERaise(Msg);
        return *this;
    }
    FGuards[FCount++] = {nullptr, 0, 0, 0, Msg, Exceeded};
    return *this;
}

void TCheck::Done() const
{
    for (int i = 0; i < FCount; ++i) {
        const TGuard& g = FGuards[i];
        if (!g.V) {
            if (g.Exceeded) ERaise(g.Msg);
            continue;
        }
        if (g.Len <= 0) continue;
        const std::int64_t first = static_cast<std::int64_t>(g.Index) * Width(*g.V);
        if (g.Index < 0 || first + static_cast<std::int64_t>(g.Len) * g.W > Numbers(*g.V)) ERaise(g.Msg);
    }
}

void CheckRange(const TVecs& Self, const TVecs& Vec, int VecIndex, int Index, int Len)
{
    const int w = Width(Self);
    TCheck(Self)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Bound(Vec, VecIndex, Len, w, msg::kVecIndexLen)
        .Bound(Self, Index, Len, w, msg::kIndexLen)
        .Gated(Self.Complex() != Vec.Complex(), msg::kComplexVec)
        .Gated(&Self == &Vec, msg::kSelfVec)
        .Done();
}

void CheckRange(const TVecs& Self, const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index,
                int Len)
{
    const int w = Width(Self);
    TCheck(Self)
        .Negative({Len, Index, Vec1Index, Vec2Index}, msg::kNegRange2)
        .Bound(Vec1, Vec1Index, Len, w, msg::kVec1IndexLen)
        .Bound(Vec2, Vec2Index, Len, w, msg::kVec2IndexLen)
        .Bound(Self, Index, Len, w, msg::kIndexLen)
        .Gated(Vec1.Complex() != Vec2.Complex(), msg::kVec1Vec2Complex2)
        .Gated(Vec2.Complex() != Self.Complex(), msg::kComplexVec2)
        .Gated(&Self == &Vec1 || &Self == &Vec2, msg::kSelfVec12)
        .Done();
}

int CheckWhole(TVecs& Self, const TVecs& X, int XIndex, int Index, int Len, int W, const char* SelfText)
{
    TCheck(Self).Negative({XIndex, Index}, msg::kNegX).Always(Len < -1, msg::kLenBelowDefault);
    const bool whole = Len == -1;
    if (whole) {
        Self.CheckSize(X.Length(), X.Complex());
        Len = X.Length();
    }
    // Sized like X, Self has X's kind and length: X stands for it in the checks until then.
    const TVecs& self = whole ? X : static_cast<const TVecs&>(Self);
    TCheck(Self)
        .Gated(SelfText && &X == &Self && XIndex != Index, SelfText ? SelfText : "")
        .Gated(self.Complex() != X.Complex(), msg::kComplexX)
        .Bound(self, Index, Len, W, msg::kIndexFLength)
        .Bound(X, XIndex, Len, W, msg::kXIndexLen)
        .Done();
    if (whole) Self.Size(X.Length(), X.Complex());
    return Len;
}

void WidenInto(const double* S, int N, TVecs& Into, bool Zeros)
{
    Into.Size(N, true);
    if (N > 0) nspzb2RealToCplx(S, Zeros ? nullptr : S, Into.CValues(), N);
}

}  // namespace tarnel::detail
