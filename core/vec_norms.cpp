// Norms of a vector and of the difference of two, dot products, and the comparison of two vectors within a
// tolerance, with the unit functions that forward to them.
//
// Norms and the unconjugated dot products run in the signal layer (nspdNorm and nspzNorm scale against overflow;
// the dot products sum pairwise); the conjugated complex dot product is BLAS ZDOTC. Two vectors of different kinds
// meet as complex numbers: the real one counts as x + 0i.
#include <algorithm>
#include <cmath>

#include "core/BlasCalls.h"
#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/stats_shared.h"
#include "core/vec_class.h"

namespace tarnel {

using detail::TCheck;

namespace detail {

bool EqualNumbers(const double* A, const double* B, std::int64_t Count, double Tolerance)
{
    for (std::int64_t i = 0; i < Count; ++i) {
        const double x = A[i], y = B[i];
        if (x == y) continue;  // equal numbers, infinities of one sign too
        if (std::isnan(x) || std::isnan(y)) return false;
        if (!(Tolerance > 0) || Tolerance < std::fabs(x - y)) return false;
    }
    return true;
}

}  // namespace detail

namespace {

double OwnNorm(const TVecs& Self, int Kind)
{
    const int n = Self.Length();
    if (n == 0) return NAN;
    return Self.Complex() ? nspzNorm(Self.CValues(), nullptr, n, Kind) : nspdNorm(Self.Values(), nullptr, n, Kind);
}

// The norm of Self − Vec over the shorter length, with RelativeError divided by the norm of Vec.
double NormOfDifference(const TVecs& Self, const TVecs& Vec, int Kind, bool RelativeError)
{
    const int n = std::min(Self.Length(), Vec.Length());
    if (n == 0) return NAN;
    const int flag = Kind | (RelativeError ? NSP_RELATIVE : 0);
    if (Self.Complex() == Vec.Complex())
        return Self.Complex() ? nspzNorm(Self.CValues(), Vec.CValues(), n, flag)
                              : nspdNorm(Self.Values(), Vec.Values(), n, flag);
    detail::TVecTemp widened;
    const TVecs& real = Self.Complex() ? Vec : Self;
    detail::WidenInto(real.Values(), n, *widened, true);
    const TCplx* w = widened->CValues();
    return Self.Complex() ? nspzNorm(Self.CValues(), w, n, flag) : nspzNorm(w, Vec.CValues(), n, flag);
}

}  // namespace

// ---- Norms ----------------------------------------------------------------------------------------------------------

double TVec0::NormC() const
{
    return OwnNorm(*this, NSP_C);
}

double TVec0::NormL1() const
{
    return OwnNorm(*this, NSP_L1);
}

double TVec0::NormL2() const
{
    return OwnNorm(*this, NSP_L2);
}

double TVecs::NormC(const TVecs& Vec, bool RelativeError) const
{
    return NormOfDifference(*this, Vec, NSP_C, RelativeError);
}

double TVecs::NormL1(const TVecs& Vec, bool RelativeError) const
{
    return NormOfDifference(*this, Vec, NSP_L1, RelativeError);
}

double TVecs::NormL2(const TVecs& Vec, bool RelativeError) const
{
    return NormOfDifference(*this, Vec, NSP_L2, RelativeError);
}

// ---- Dot products -------------------------------------------------------------------------------------------------

double TVec0::DotProd(const TVecs& Vec) const
{
    const int n = std::min(FLength, Vec.Length());
    if (n == 0) return NAN;
    TCheck(*this).Always(FComplex || Vec.Complex(), msg::kDotComplex);
    return nspdDotProd(FValues, Vec.Values(), n);
}

void TVecs::DotProd(const TVecs& Vec, TCplx& X, bool ConjVec) const
{
    TCheck(*this)
        .Always(!(Vec.Complex() || FComplex), msg::kDotNotComplex)
        .Always(&Vec == this, msg::kSelfVec)
        .Always(ConjVec && Vec.Complex() != FComplex, msg::kDotConjReal);
    const int n = std::min(FLength, Vec.Length());
    if (n == 0) {
        X = C_ZERO;
    } else if (FComplex && Vec.Complex()) {
        // ZDOTC conjugates its first vector: Σ conj(Vec[i])·Self[i].
        X = ConjVec ? blas::Dotc(n, Vec.CValues(), CValues()) : nspzDotProd(CValues(), Vec.CValues(), n);
    } else if (FComplex) {
        X = nspzdDotProd(CValues(), Vec.Values(), n);
    } else {
        X = nspdzDotProd(FValues, Vec.CValues(), n);
    }
}

// ---- Comparison ---------------------------------------------------------------------------------------------------

bool TVecs::Equal(const TVecs& Vec, double Tolerance) const
{
    if (Vec.Length() != FLength || Vec.Complex() != FComplex) return false;
    return detail::EqualNumbers(FValues, Vec.Values(), detail::Numbers(*this), Tolerance);
}

// ---- Unit functions -----------------------------------------------------------------------------------------------

double NormC(const TVec& Vec)
{
    return Vec.NormC();
}

double NormL1(const TVec& Vec)
{
    return Vec.NormL1();
}

double NormL2(const TVec& Vec)
{
    return Vec.NormL2();
}

double NormC(const TVec& Vec1, const TVecs& Vec2, bool RelativeError)
{
    return Vec1.NormC(Vec2, RelativeError);
}

double NormL1(const TVec& Vec1, const TVecs& Vec2, bool RelativeError)
{
    return Vec1.NormL1(Vec2, RelativeError);
}

double NormL2(const TVec& Vec1, const TVecs& Vec2, bool RelativeError)
{
    return Vec1.NormL2(Vec2, RelativeError);
}

bool Equal(const TVecs& Vec1, const TVecs& Vec2, double Tolerance)
{
    return Vec1.Equal(Vec2, Tolerance);
}

}  // namespace tarnel
