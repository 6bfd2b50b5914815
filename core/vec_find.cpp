// Searches over the elements of vectors: Find (the first element equal to a value), FindIndexes (a mask of the
// elements for which a relation holds) and FindAndGather (those elements and their indexes).
//
// The relation is given as text and matched once, before the loops; each loop is instantiated for its relation and
// its operand kinds, so it compiles to plain comparisons over the Doubles. Long vectors are shared among the worker
// threads: FindIndexes writes each mask entry alone, FindAndGather counts the matches per block first and then
// writes each block's matches at its own offset, so the results do not depend on the cut.
#include <algorithm>
#include <cmath>
#include <optional>
#include <type_traits>
#include <vector>

#include "core/TempGuard.h"
#include "core/elementwise.h"

namespace tarnel {

using detail::TCheck;

namespace {

enum class TOp { Less, LessOrEqual, GreaterOrEqual, Greater, Equal, NotEqual };

// The relations of the table, texts compared exactly in this order; none for another text.
std::optional<TOp> Known(const std::string& Op)
{
    if (Op == "<") return TOp::Less;
    if (Op == "<=" || Op == "=<") return TOp::LessOrEqual;
    if (Op == ">=" || Op == "=>") return TOp::GreaterOrEqual;
    if (Op == ">") return TOp::Greater;
    if (Op == "=" || Op == "==") return TOp::Equal;
    if (Op == "<>") return TOp::NotEqual;
    return std::nullopt;
}

TOp Relation(const std::string& Op)
{
    const std::optional<TOp> op = Known(Op);
    if (!op) ERaise(msg::ParameterNotRecognized(Op));
    return *op;
}

// The orderings: Doubles directly (false with a NaN), otherwise the library's order of complex numbers, in which a
// NaN fails every comparison too.
bool Lt(double x, double y)
{
    return x < y;
}
bool Le(double x, double y)
{
    return x <= y;
}
bool Ge(double x, double y)
{
    return x >= y;
}
bool Gt(double x, double y)
{
    return x > y;
}
template <class X, class Y>
bool Lt(const X& x, const Y& y)
{
    return Smaller(x, y);
}
template <class X, class Y>
bool Le(const X& x, const Y& y)
{
    return SmallerOrEqual(x, y);
}
template <class X, class Y>
bool Ge(const X& x, const Y& y)
{
    return BiggerOrEqual(x, y);
}
template <class X, class Y>
bool Gt(const X& x, const Y& y)
{
    return Bigger(x, y);
}

// Equality with the NaN and infinity rule: a NaN b matches a NaN a, an infinite b an infinite a of either sign.
bool Same(double x, double y)
{
    if (y != y) return x != x;
    if (std::isinf(y)) return std::isinf(x);
    return x == y;
}
template <class X, class Y>
bool Same(const X& x, const Y& y)
{
    if (IsNan(y)) return IsNan(x);
    if (IsInf(y)) return IsInf(x);
    return Equal(x, y);
}

// Run(Holds) with the predicate of the relation.
template <class Body>
void WithRelation(TOp Op, const Body& Run)
{
    switch (Op) {
        case TOp::Less:
            return Run([](const auto& x, const auto& y) { return Lt(x, y); });
        case TOp::LessOrEqual:
            return Run([](const auto& x, const auto& y) { return Le(x, y); });
        case TOp::GreaterOrEqual:
            return Run([](const auto& x, const auto& y) { return Ge(x, y); });
        case TOp::Greater:
            return Run([](const auto& x, const auto& y) { return Gt(x, y); });
        case TOp::Equal:
            return Run([](const auto& x, const auto& y) { return Same(x, y); });
        case TOp::NotEqual:
            return Run([](const auto& x, const auto& y) { return !Same(x, y); });
    }
}

// The right-hand side: the elements of b, or one value (a Double, or a complex number when ValueComplex).
struct TRight {
    const TVecs* vec;
    TCplx value;
    bool valueComplex;
};

// Run(Holds, A, B) with A(k) the k-th element of a and B(k) that of the right-hand side, each a Double or a TCplx
// by kind, and Holds the relation's predicate.
template <class Body>
void WithOperands(TOp Op, const TVecs& A, const TRight& R, const Body& Run)
{
    const auto withRight = [&](const auto& Left) {
        if (R.vec && R.vec->Complex()) {
            const TCplx* b = R.vec->CValues();
            return WithRelation(Op, [&](const auto& Holds) { Run(Holds, Left, [b](std::int64_t k) { return b[k]; }); });
        }
        if (R.vec) {
            const double* b = R.vec->Values();
            return WithRelation(Op, [&](const auto& Holds) { Run(Holds, Left, [b](std::int64_t k) { return b[k]; }); });
        }
        if (R.valueComplex) {
            const TCplx v = R.value;
            return WithRelation(Op, [&](const auto& Holds) { Run(Holds, Left, [v](std::int64_t) { return v; }); });
        }
        const double v = R.value.Re;
        WithRelation(Op, [&](const auto& Holds) { Run(Holds, Left, [v](std::int64_t) { return v; }); });
    };
    if (A.Complex()) {
        const TCplx* a = A.CValues();
        withRight([a](std::int64_t k) { return a[k]; });
    } else {
        const double* a = A.Values();
        withRight([a](std::int64_t k) { return a[k]; });
    }
}

void Mask(TVecs& Self, const TVecs& A, const std::string& Op, const TRight& R, int N)
{
    // Self may be a or b (a complex a would turn real under its own reading): both are held still first.
    const detail::TStable a(A, Self);
    std::optional<detail::TStable> b;
    TRight right = R;
    if (R.vec) {
        b.emplace(*R.vec, Self);
        right.vec = &**b;
    }
    Self.Size(N, false);
    const TOp op = Relation(Op);
    double* d = Self.Values();
    WithOperands(op, *a, right, [&](const auto& Holds, const auto& At, const auto& Bt) {
        parallel::Pieces(N, [&](long long Lo, long long Hi) {
            for (long long k = Lo; k < Hi; ++k) d[k] = Holds(At(k), Bt(k)) ? 1.0 : 0.0;
        });
    });
}

// Elements per block of the two passes of FindAndGather.
constexpr std::int64_t kGatherBlock = std::int64_t{1} << 14;

void Collect(TVecs& Self, const TVecs& A, const std::string& Op, const TRight& R, TVecs* Indexes, int N)
{
    TCheck(Self).Always(Indexes == &Self, msg::kSelfIndexes);
    detail::TLazyTemp pooled;
    TVecs& idx = Indexes ? *Indexes : static_cast<TVecs&>(pooled.Get());
    // Self and Indexes may be a or b: the sources are held still while both are sized and written.
    const detail::TStable a(A, {&Self, &idx});
    std::optional<detail::TStable> b;
    TRight right = R;
    if (R.vec) {
        b.emplace(*R.vec, std::initializer_list<const TVecs*>{&Self, &idx});
        right.vec = &**b;
    }
    // An unknown text raises with Self and Indexes sized for all N elements; a known one sizes them once, to the
    // count of matches, so that no block is allocated, filled and shrunk again.
    if (!Known(Op)) {
        Self.Size(N, a->Complex());
        idx.Size(N, false);
    }
    const TOp op = Relation(Op);
    const std::int64_t blocks = (N + kGatherBlock - 1) / kGatherBlock;
    std::vector<std::int64_t> start(static_cast<std::size_t>(blocks) + 1, 0);
    WithOperands(op, *a, right, [&](const auto& Holds, const auto& At, const auto& Bt) {
        // Pass 1: the matches of each block.
        parallel::Pieces(blocks, [&](long long Lo, long long Hi) {
            for (long long blk = Lo; blk < Hi; ++blk) {
                std::int64_t count = 0;
                const std::int64_t end = std::min<std::int64_t>(N, (blk + 1) * kGatherBlock);
                for (std::int64_t k = blk * kGatherBlock; k < end; ++k) count += Holds(At(k), Bt(k)) ? 1 : 0;
                start[static_cast<std::size_t>(blk) + 1] = count;
            }
        });
        for (std::size_t blk = 1; blk < start.size(); ++blk) start[blk] += start[blk - 1];
        Self.Size(static_cast<int>(start.back()), a->Complex());
        idx.Size(static_cast<int>(start.back()), false);
        // Pass 2: each block writes its matches from its own offset.
        double* ix = idx.Values();
        parallel::Pieces(blocks, [&](long long Lo, long long Hi) {
            for (long long blk = Lo; blk < Hi; ++blk) {
                std::int64_t q = start[static_cast<std::size_t>(blk)];
                const std::int64_t end = std::min<std::int64_t>(N, (blk + 1) * kGatherBlock);
                for (std::int64_t k = blk * kGatherBlock; k < end; ++k) {
                    const auto x = At(k);
                    if (!Holds(x, Bt(k))) continue;
                    ix[q] = static_cast<double>(k);
                    if constexpr (std::is_same_v<std::decay_t<decltype(x)>, TCplx>)
                        Self.CValues()[q] = x;
                    else
                        Self.Values()[q] = x;
                    ++q;
                }
            }
        });
    });
}

template <class V>
int FirstSame(const V* Data, int N, const V& Value)
{
    for (int k = 0; k < N; ++k)
        if (Same(Data[k], Value)) return k;
    return -1;
}

}  // namespace

// ---- Find -------------------------------------------------------------------------------------------------------

int TVecs::Find(double Value) const
{
    TCheck(*this).Always(FComplex, msg::kComplexBare);
    return FirstSame(FValues, FLength, Value);
}

int TVec0::Find(const TCplx& Value) const
{
    TCheck(*this).Always(!FComplex, msg::kNotComplexBare);
    return FirstSame(CValues(), FLength, Value);
}

int Find(const TVec& Vec, double Value)
{
    return Vec.Find(Value);
}

int Find(const TVec& Vec, const TCplx& Value)
{
    return Vec.Find(Value);
}

// ---- FindIndexes and FindAndGather ------------------------------------------------------------------------------

void TVecs::FindIndexes(const TVecs& a, const std::string& Op, const TVecs& b)
{
    TCheck(*this).Always(a.Complex() != b.Complex(), msg::kFindABComplex);
    Mask(*this, a, Op, {&b, C_ZERO, false}, std::min(a.Length(), b.Length()));
}

void TVec1::FindIndexes(const TVecs& a, const std::string& Op, double Value)
{
    Mask(*this, a, Op, {nullptr, {Value, 0.0}, false}, a.Length());
}

void TVec::FindIndexes(const TVecs& a, const std::string& Op, const TCplx& Value)
{
    Mask(*this, a, Op, {nullptr, Value, true}, a.Length());
}

void TVecs::FindAndGather(const TVecs& a, const std::string& Op, const TVecs& b, TVecs* Indexes)
{
    TCheck(*this).Always(a.Complex() != b.Complex(), msg::kFindABComplex);
    Collect(*this, a, Op, {&b, C_ZERO, false}, Indexes, std::min(a.Length(), b.Length()));
}

void TVec1::FindAndGather(const TVecs& a, const std::string& Op, double Value, TVecs* Indexes)
{
    Collect(*this, a, Op, {nullptr, {Value, 0.0}, false}, Indexes, a.Length());
}

void TVec::FindAndGather(const TVecs& a, const std::string& Op, const TCplx& Value, TVecs* Indexes)
{
    Collect(*this, a, Op, {nullptr, Value, true}, Indexes, a.Length());
}

}  // namespace tarnel
