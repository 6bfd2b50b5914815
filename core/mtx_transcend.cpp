// Transcendental functions of matrices, element by element: exponentials, logarithms, powers, Expj and the
// trigonometric and hyperbolic functions with their inverses.
//
// A matrix is one block of Rows·Cols elements, so every member runs the kernel of its vector counterpart
// (vec_exp.cpp, vec_trig.cpp) over that block: real data through the vector-math routines, complex data from real
// pieces fused in cache-sized chunks, long blocks shared among the worker threads. A matrix and a vector of the
// same elements give the same values. The source forms size Self like the source, an empty one too.
#include <cstdint>
#include <optional>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/arith_kernels.h"
#include "core/elementwise.h"

namespace tarnel {

using detail::AsCplx;
using detail::TCheck;
using detail::TTrig;

namespace {

std::int64_t ElementsOf(const TMtx1& M)
{
    return static_cast<std::int64_t>(M.Rows()) * M.Cols();
}

std::int64_t DoublesOf(const TMtx1& M)
{
    return ElementsOf(M) * (M.Complex() ? 2 : 1);
}

// Self := Kernel(Mtx) over all elements, Self sized like Mtx with the kind Complex; Kernel(Complex, Src, Dst,
// Doubles). Mtx is read from a copy when sizing or writing Self could change it first.
template <class K>
void FromMtx(TMtx1& Self, const TMtx1& Mtx, bool Complex, const K& Kernel)
{
    detail::TLazyTemp t;
    const double* src = detail::Held(Mtx, {&Self}, t);
    Self.Size(Mtx.Rows(), Mtx.Cols(), Complex);
    if (ElementsOf(Self) > 0) Kernel(Self.Complex(), src, Self.Values(), DoublesOf(Self));
}

template <class K>
void InPlace(TMtx1& Self, const K& Kernel)
{
    if (ElementsOf(Self) > 0) Kernel(Self.Complex(), Self.Values(), Self.Values(), DoublesOf(Self));
}

auto LnOf(double Divisor)
{
    return [Divisor](bool Complex, const double* S, double* D, std::int64_t N) {
        detail::LnElems(Complex, S, D, N, Divisor);
    };
}

auto TrigOf(TTrig F)
{
    return [F](bool Complex, const double* S, double* D, std::int64_t N) { detail::TrigElems(F, Complex, S, D, N); };
}

auto IntPowerOf(int Exponent)
{
    return [Exponent](bool Complex, const double* S, double* D, std::int64_t N) {
        if (Complex)
            detail::ComplexIntPower(AsCplx(S), AsCplx(D), N / 2, Exponent, true);
        else
            detail::RealIntPower(S, D, N, Exponent);
    };
}

auto PowerOf(const TCplx& Exponent)
{
    return [Exponent](bool Complex, const double* S, double* D, std::int64_t N) {
        if (Complex)
            detail::ComplexPower(AsCplx(S), AsCplx(D), static_cast<int>(N / 2), Exponent);
        else
            detail::RealPower(S, D, N, Exponent.Re);
    };
}

}  // namespace

// ---- Exponentials and logarithms --------------------------------------------------------------------------------

TMtx1& TMtx1::Exp()
{
    InPlace(*this, detail::ExpElems);
    return *this;
}

TMtx& TMtx::Exp(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Gated(&Mtx == this, msg::kSelfMtx);
    FromMtx(*this, Mtx, Mtx.Complex(), detail::ExpElems);
    return *this;
}

TMtx1& TMtx1::Ln()
{
    InPlace(*this, LnOf(1));
    return *this;
}

TMtx& TMtx::Ln(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Gated(&Mtx == this, msg::kMtxSelf);
    FromMtx(*this, Mtx, Mtx.Complex(), LnOf(1));
    return *this;
}

TMtx1& TMtx1::Log10(const TMtx1& Mtx)
{
    TCheck(FConditionCheck).Gated(&Mtx == this, msg::kMtxSelf);
    FromMtx(*this, Mtx, Mtx.Complex(), detail::Log10Elems);
    return *this;
}

TMtx& TMtx::Log10()
{
    InPlace(*this, detail::Log10Elems);
    return *this;
}

TMtx1& TMtx1::LogN(double N, const TMtx1& Mtx)
{
    const double divisor = detail::LogNDivisor(N, true);
    TCheck(FConditionCheck).Gated(&Mtx == this, msg::kMtxSelf);
    FromMtx(*this, Mtx, Mtx.Complex(), LnOf(divisor));
    return *this;
}

TMtx& TMtx::LogN(double N)
{
    InPlace(*this, LnOf(detail::LogNDivisor(N, true)));
    return *this;
}

// ---- Powers -----------------------------------------------------------------------------------------------------

TMtx1& TMtx1::IntPower(const TMtx1& Mtx, int Exponent)
{
    FromMtx(*this, Mtx, Mtx.Complex(), IntPowerOf(Exponent));
    return *this;
}

TMtx& TMtx::IntPower(int Exponent)
{
    InPlace(*this, IntPowerOf(Exponent));
    return *this;
}

TMtx1& TMtx1::Power(const TMtx1& Mtx, double Exponent)
{
    TCheck(FConditionCheck).Gated(&Mtx == this, msg::kBaseSelf);
    FromMtx(*this, Mtx, Mtx.Complex(), PowerOf(TCplx{Exponent, 0}));
    return *this;
}

TMtx& TMtx::Power(const TMtx1& Mtx, const TCplx& Exponent)
{
    // A real matrix has no room for the imaginary part of a complex power.
    TCheck(FConditionCheck)
        .Always(!Mtx.Complex() && Exponent.Im != 0, msg::kBaseComplexFalse)
        .Gated(&Mtx == this, msg::kMtxSelf);
    FromMtx(*this, Mtx, Mtx.Complex(), PowerOf(Exponent));
    return *this;
}

TMtx1& TMtx1::PowerMtx(const TMtx1& Base, const TMtx1& Exponent)
{
    // The checks of Ln, then those of MulElem: Exponent must hold Base's count of elements of Base's kind.
    TCheck(FConditionCheck)
        .Gated(&Base == this, msg::kMtxSelf)
        .Gated(ElementsOf(Exponent) == 0, msg::kLengthZero)
        .Always(Exponent.Complex() != Base.Complex(), msg::kComplexVec)
        .Gated(ElementsOf(Exponent) != ElementsOf(Base), msg::kMtxCountRowsCols)
        .Gated(&Exponent == this, msg::kMtxSelf)
        .Always(ElementsOf(Exponent) < ElementsOf(Base), msg::kMtxCountRowsCols);
    detail::TLazyTemp t1, t2;
    const double* b = detail::Held(Base, {this}, t1);
    const double* e = detail::Held(Exponent, {this}, t2);
    Size(Base.Rows(), Base.Cols(), Base.Complex());
    if (ElementsOf(*this) > 0) detail::PowerOfVectors(b, FComplex, e, FComplex, FValues, ElementsOf(*this), false);
    return *this;
}

TMtx1& TMtx1::Expj(const TMtx1& Omega)
{
    TCheck(FConditionCheck).Gated(Omega.Complex(), msg::kOmegaComplex).Gated(&Omega == this, msg::kOmegaSelf);
    // Self turns complex: Omega as Self (ConditionCheck off) is read from a copy.
    std::optional<detail::TMtxTemp> copy;
    if (&Omega == this) copy.emplace()->Copy(Omega);
    // Self := cos ω + i·sin ω over the first Rows·Cols Doubles of Omega.
    FromMtx(*this, copy ? static_cast<const TMtx1&>(**copy) : Omega, true,
            [](bool, const double* S, double* D, std::int64_t N) {
                detail::Chunked(N / 2, [&](std::int64_t Lo, int Count, double* Work) {
                    double* s = Work;
                    double* c = Work + detail::kChunk;
                    VDSINCOS(&Count, S + Lo, s, c);
                    nspzb2RealToCplx(c, s, AsCplx(D) + Lo, Count);
                });
            });
    return *this;
}

// ---- Trigonometric and hyperbolic functions ----------------------------------------------------------------------

TMtx1& TMtx1::Sin(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::Sin));
    return *this;
}

TMtx1& TMtx1::Cos(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::Cos));
    return *this;
}

TMtx1& TMtx1::Tan(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::Tan));
    return *this;
}

TMtx1& TMtx1::ArcSin(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::ArcSin));
    return *this;
}

TMtx1& TMtx1::ArcCos(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::ArcCos));
    return *this;
}

TMtx1& TMtx1::ArcTan(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::ArcTan));
    return *this;
}

TMtx1& TMtx1::Sinh(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::Sinh));
    return *this;
}

TMtx1& TMtx1::Cosh(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::Cosh));
    return *this;
}

TMtx1& TMtx1::Tanh(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::Tanh));
    return *this;
}

TMtx1& TMtx1::ArcSinh(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::ArcSinh));
    return *this;
}

TMtx1& TMtx1::ArcCosh(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::ArcCosh));
    return *this;
}

TMtx1& TMtx1::ArcTanh(const TMtx1& Mtx)
{
    FromMtx(*this, Mtx, Mtx.Complex(), TrigOf(TTrig::ArcTanh));
    return *this;
}

TMtx& TMtx::Sin()
{
    InPlace(*this, TrigOf(TTrig::Sin));
    return *this;
}

TMtx& TMtx::Cos()
{
    InPlace(*this, TrigOf(TTrig::Cos));
    return *this;
}

TMtx& TMtx::Tan()
{
    InPlace(*this, TrigOf(TTrig::Tan));
    return *this;
}

TMtx& TMtx::ArcSin()
{
    InPlace(*this, TrigOf(TTrig::ArcSin));
    return *this;
}

TMtx& TMtx::ArcCos()
{
    InPlace(*this, TrigOf(TTrig::ArcCos));
    return *this;
}

TMtx& TMtx::ArcTan()
{
    InPlace(*this, TrigOf(TTrig::ArcTan));
    return *this;
}

TMtx& TMtx::Sinh()
{
    InPlace(*this, TrigOf(TTrig::Sinh));
    return *this;
}

TMtx& TMtx::Cosh()
{
    InPlace(*this, TrigOf(TTrig::Cosh));
    return *this;
}

TMtx& TMtx::Tanh()
{
    InPlace(*this, TrigOf(TTrig::Tanh));
    return *this;
}

TMtx& TMtx::ArcSinh()
{
    InPlace(*this, TrigOf(TTrig::ArcSinh));
    return *this;
}

TMtx& TMtx::ArcCosh()
{
    InPlace(*this, TrigOf(TTrig::ArcCosh));
    return *this;
}

TMtx& TMtx::ArcTanh()
{
    InPlace(*this, TrigOf(TTrig::ArcTanh));
    return *this;
}

}  // namespace tarnel
