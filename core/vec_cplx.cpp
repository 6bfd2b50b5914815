// Complex parts of vectors and the conversions between real and complex vectors: conjugates, polar and Cartesian
// forms, magnitudes, phases, power spectra, real and imaginary parts, widening, swapping the parts, i·x and e^(iω).
//
// The arithmetic runs in the signal library's nspzb... routines and in VDSINCOS. Outputs that are real vectors are
// made real before they are sized. Every member checks before it changes anything.
#include <cmath>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/elementwise.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

using detail::At;
using detail::Numbers;
using detail::TCheck;
using detail::TStable;
using detail::Width;

namespace {

const TCplx* CAt(const TVecs& V, int Index)
{
    return reinterpret_cast<const TCplx*>(At(V, Index));
}

TCplx* CAt(TVecs& V, int Index)
{
    return reinterpret_cast<TCplx*>(At(V, Index));
}

// Flip: Im + i·Re; FlipConj: Im - i·Re; MulI: -Im + i·Re.
enum class TSwap { Flip, FlipConj, MulI };

TCplx Swapped(TSwap Kind, const TCplx& Z)
{
    switch (Kind) {
        case TSwap::Flip:
            return {Z.Im, Z.Re};
        case TSwap::FlipConj:
            return {Z.Im, -Z.Re};
        default:
            return {-Z.Im, Z.Re};
    }
}

// Flip, FlipConj and MulI in their form (X, XIndex, Index, Len).
void SwapParts(TVecs& Self, const TVecs& X, int XIndex, int Index, int Len, TSwap Kind)
{
    if (XIndex < 0 || Index < 0) ERaise(msg::kNegX);
    if (!X.Complex()) {
        // A real X gives the complex vector 0 + i·x (Flip, MulI) or 0 - i·x (FlipConj), sized like X.
        if (Kind == TSwap::MulI) {
            if (Len != -1 && Len != Self.Length()) ERaise(msg::kRealXLen);
        } else if (Len != -1) {
            ERaise(msg::kRealXLen);
        }
        TStable x(X, Self);
        const int n = x->Length();
        Self.Size(n, true);
        const double sign = Kind == TSwap::FlipConj ? -1.0 : 1.0;
        TCplx* d = Self.CValues();
        for (int k = 0; k < n; ++k) d[k] = {0.0, sign * x->Values()[k]};
        return;
    }
    // The whole-vector default sizes Self, which may free the block that another X views: X is held first.
    TStable x(X, {Len == -1 && &X != &Self ? &Self : nullptr});
    Len = detail::CheckWhole(Self, *x, XIndex, Index, Len, 2, Kind == TSwap::MulI ? msg::kMulISelf : msg::kSelfVec);
    if (Len <= 0) return;
    TCplx* dst = CAt(Self, Index);
    detail::TLazyTemp t;
    const auto* src = reinterpret_cast<const TCplx*>(
        detail::Detached(At(*x, XIndex), 2 * static_cast<std::int64_t>(Len), reinterpret_cast<double*>(dst),
                         2 * static_cast<std::int64_t>(Len), true, t));
    for (int k = 0; k < Len; ++k) dst[k] = Swapped(Kind, src[k]);
}

// Sizes two real outputs to Len elements: both sizings are checked before either happens, and outputs of which one
// views the other's memory are refused with Shared (sizing one would free or overwrite what the other holds).
void SizeOutputs(TVecs& A, TVecs& B, int Len, const char* Shared)
{
    A.CheckSize(Len, false);
    B.CheckSize(Len, false);
    TCheck(A).Always(detail::OutputsShare(A, B), Shared);
    A.Size(Len, false);
    B.Size(Len, false);
}

// nspzbCartToPolar on pieces that threads share for long vectors (each element is computed alone, so the cut
// changes no result). The outputs never overlap the source here.
void CartToPolarParts(const TCplx* Src, double* Mag, double* Phase, int N)
{
    parallel::Pieces(N, [&](long long Lo, long long Hi) {
        nspzbCartToPolar(Src + Lo, Mag + Lo, Phase + Lo, static_cast<int>(Hi - Lo));
    });
}

// e^(i·ω) for Len elements of Omega from OmegaIndex into Self from Index.
void ExpjRange(TVecs& Self, const TVecs& Omega, int OmegaIndex, int Index, int Len)
{
    TCheck(Self)
        .Always(&Omega == &Self, msg::kSelfOmega)
        .Negative({Len, OmegaIndex, Index}, msg::kExpjNeg)
        .Bound(Omega, OmegaIndex, Len, 1, msg::kOmegaIndexLen)
        .Bound(Self, Index, Len, 2, msg::kIndexLen)
        .Gated(Omega.Complex(), msg::kOmegaComplex)
        .Gated(!Self.Complex(), msg::kComplexFalse)
        .Done();
    if (Len == 0) return;
    detail::TVecTemp s, c;
    s->Size(Len, false);
    c->Size(Len, false);
    VDSINCOS(&Len, At(Omega, OmegaIndex), s->Values(), c->Values());
    nspzb2RealToCplx(c->Values(), s->Values(), CAt(Self, Index), Len);
}

}  // namespace

// ---- Conjugates -------------------------------------------------------------------------------------------------

TVecs& TVecs::Conj()
{
    if (FComplex && FLength > 0) nspzbConj1(CValues(), FLength);
    return *this;
}

TVec& TVec::Conj(const TVecs& Vec)
{
    if (&Vec == this) {
        TVecs::Conj();
        return *this;
    }
    detail::FromSource(*this, Vec, [this](const double* Src, double* Dst, std::int64_t Count) {
        if (FComplex)
            nspzbConj2(reinterpret_cast<const TCplx*>(Src), reinterpret_cast<TCplx*>(Dst), FLength);
        else
            nspdbCopy(Src, Dst, static_cast<int>(Count));
    });
    return *this;
}

TVec0& TVec0::Conj(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    const int w = Width(*this);
    TCheck(*this)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Bound(Vec, VecIndex, Len, w, msg::kVecIndexLen)
        .Bound(*this, Index, Len, w, msg::kIndexLen)
        .Gated(&Vec == this, msg::kSelfVec)
        .Done();
    detail::OnRange(*this, Vec, VecIndex, Index, Len, [&](const double* Src, double* Dst, std::int64_t Count) {
        if (FComplex)
            nspzbConj2(reinterpret_cast<const TCplx*>(Src), reinterpret_cast<TCplx*>(Dst), Len);
        else
            nspdbCopy(Src, Dst, static_cast<int>(Count));
    });
    return *this;
}

// ---- Polar and Cartesian forms ----------------------------------------------------------------------------------

TVecs& TVecs::CartToPolar(TVecs& AmpltVec, TVecs& PhaseVec)
{
    if (FLength == 0) return *this;
    TCheck(*this)
        .Always(!FComplex, msg::kCartNotComplex)
        .Always(&AmpltVec == this || &PhaseVec == this, msg::kSelfAmplPhase);
    TStable self(*this, {&AmpltVec, &PhaseVec});
    SizeOutputs(AmpltVec, PhaseVec, FLength, msg::kAmplPhaseShared);
    CartToPolarParts(self->CValues(), AmpltVec.Values(), PhaseVec.Values(), FLength);
    return *this;
}

TVec0& TVec0::CartToPolar(TVecs& AmpltVec, TVecs& PhaseVec, int Index, int Len)
{
    TCheck(*this)
        .Negative({Len, Index}, msg::kNegRange)
        .Always(static_cast<std::int64_t>(Index) + Len > FLength, msg::kIndexLen)
        .Always(&AmpltVec == this || &PhaseVec == this, msg::kSelfAmplPhase)
        .Bound(*this, Index, Len, 2, msg::kIndexLen)
        .Done();
    TStable self(*this, {&AmpltVec, &PhaseVec});
    SizeOutputs(AmpltVec, PhaseVec, FLength, msg::kAmplPhaseShared);
    if (Len > 0) CartToPolarParts(CAt(*self, Index), AmpltVec.Values(), PhaseVec.Values(), Len);
    return *this;
}

void TVecs::PolarToCart(const TVecs& AmpltVec, const TVecs& PhaseVec)
{
    TCheck(*this)
        .Gated(AmpltVec.Complex(), msg::kAmplComplex)
        .Gated(PhaseVec.Complex(), msg::kPhaseComplex)
        .Gated(AmpltVec.Length() != PhaseVec.Length(), msg::kAmplPhaseLength)
        .Gated(&AmpltVec == this || &PhaseVec == this, msg::kSelfAmplPhase)
        .Always(PhaseVec.Length() < AmpltVec.Length(), msg::kAmplPhaseLength);
    TStable a(AmpltVec, *this), p(PhaseVec, *this);
    TVecs::Size(a->Length(), true);
    if (FLength > 0) nspzbPolarToCart(a->Values(), p->Values(), CValues(), FLength);
}

void TVec0::PolarToCart(const TVecs& AmpltVec, const TVecs& PhaseVec, int AIndex, int PIndex, int Index, int Len)
{
    // Self's bound is that of the complex vector it becomes; each source is held to its own Length.
    const int complexLength = FComplex ? FLength : FLength / 2;
    TCheck(*this)
        .Negative({Len, Index, AIndex, PIndex}, msg::kNegRange)
        .Gated(AmpltVec.Complex(), msg::kAmplComplex)
        .Gated(PhaseVec.Complex(), msg::kPhaseComplex)
        .Gated(AmpltVec.Length() != PhaseVec.Length(), msg::kAmplPhaseLength)
        .Always(static_cast<std::int64_t>(Index) + Len > complexLength, msg::kIndexLen)
        .Bound(AmpltVec, AIndex, Len, 1, msg::kAIndexLen)
        .Bound(PhaseVec, PIndex, Len, 1, msg::kPIndexLen)
        .Gated(&AmpltVec == this, msg::kSelfAmplPhase)
        .Gated(&PhaseVec == this, msg::kSelfAmplPhase)
        .Done();
    // The sources' addresses are taken before the kind change, which moves no data.
    const double* a = At(AmpltVec, AIndex);
    const double* p = At(PhaseVec, PIndex);
    SetComplex(true);
    if (Len == 0) return;
    TCplx* dst = CAt(*this, Index);
    detail::TLazyTemp ta, tp;
    const std::int64_t out = 2 * static_cast<std::int64_t>(Len);
    a = detail::Detached(a, Len, reinterpret_cast<double*>(dst), out, false, ta);
    p = detail::Detached(p, Len, reinterpret_cast<double*>(dst), out, false, tp);
    nspzbPolarToCart(a, p, dst, Len);
}

// ---- Magnitudes, phases and parts -------------------------------------------------------------------------------

namespace {

// Self := f(Vec) for a complex Vec into a real Self of Vec's Length (Mag, ImagPart, PhaseSpectrum, ...).
template <class Routine>
void ComplexToReal(TVecs& Self, const TVecs& Vec, const Routine& F)
{
    TStable src(Vec, Self);
    Self.Size(src->Length(), false);
    if (Self.Length() > 0) F(src->CValues(), Self.Values(), Self.Length());
}

}  // namespace

TVecs& TVecs::Mag(const TVecs& Vec)
{
    TCheck(*this).Always(!Vec.Complex(), msg::kComplexFalse).Always(&Vec == this, msg::kSelfVec);
    ComplexToReal(*this, Vec, nspzbMag);
    return *this;
}

TVec1& TVec1::Mag(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    // Self's Doubles receive the magnitudes; Self keeps its Length.
    TCheck(*this)
        .Gated(Vec.Length() == 0, msg::kVecLengthZero)
        .Bound(Vec, VecIndex, Len, 2, msg::kVecIndexLen)
        .Bound(*this, Index, Len, 1, msg::kIndexLen)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Gated(!Vec.Complex(), msg::kVecComplexFalse)
        .Gated(&Vec == this, msg::kSelfVec)
        .Done();
    if (Len == 0) return *this;
    double* dst = At(*this, Index);
    detail::TLazyTemp t;
    const double* src = detail::Detached(At(Vec, VecIndex), 2 * static_cast<std::int64_t>(Len), dst, Len, false, t);
    nspzbMag(reinterpret_cast<const TCplx*>(src), dst, Len);
    return *this;
}

TVecs& TVecs::ImagPart(const TVecs& Vec)
{
    TCheck(*this).Always(!Vec.Complex(), msg::kVecComplexFalse).Always(&Vec == this, msg::kSelfVec);
    ComplexToReal(*this, Vec, nspzbImag);
    return *this;
}

TVecs& TVecs::RealPart(const TVecs& Vec)
{
    TCheck(*this).Always(&Vec == this, msg::kSelfVec);
    if (Vec.Complex())
        ComplexToReal(*this, Vec, nspzbReal);
    else
        Copy(Vec);
    return *this;
}

TVecs& TVecs::PhaseSpectrum(const TVecs& Vec)
{
    TCheck(*this).Always(!Vec.Complex(), msg::kVecComplexFalse).Always(&Vec == this, msg::kSelfVec);
    ComplexToReal(*this, Vec, nspzbPhase);
    return *this;
}

TVecs& TVecs::PowerSpectrum(const TVecs& Vec)
{
    // Checked before Self is made real, so that a refused call (Vec = Self) changes nothing.
    if (Vec.Length() > 0)
        TCheck(*this).Always(!Vec.Complex(), msg::kVecComplexFalse).Always(&Vec == this, msg::kSelfVec);
    if (Vec.Length() == 0) {
        SetComplex(false);
        return *this;
    }
    ComplexToReal(*this, Vec, nspzbPowerSpectr);
    return *this;
}

TVecs& TVecs::Norm(const TVecs& Vec)
{
    return PowerSpectrum(Vec);
}

// ---- Splitting into and joining from two real vectors -----------------------------------------------------------

void TVecs::CplxToReal(TVecs& ReVec, TVecs& ImVec) const
{
    TCheck(*this)
        .Always(!FComplex, msg::kComplexFalse)
        .Always(&ReVec == this || &ImVec == this, msg::kSelfReIm)
        .Always(&ReVec == &ImVec, msg::kReIm);
    TStable self(*this, {&ReVec, &ImVec});
    SizeOutputs(ReVec, ImVec, FLength, msg::kReImShared);
    if (FLength > 0) nspzbCplxTo2Real(self->CValues(), ReVec.Values(), ImVec.Values(), FLength);
}

void TVec0::CplxToReal(TVecs& ReVec, TVecs& ImVec, int ReIndex, int ImIndex, int Index, int Len) const
{
    TCheck(*this)
        .Negative({Len, Index, ReIndex, ImIndex}, msg::kNegRange)
        .Bound(ReVec, ReIndex, Len, 1, msg::kReIndexLen)
        .Bound(ImVec, ImIndex, Len, 1, msg::kImIndexLen)
        .Bound(*this, Index, Len, 2, msg::kIndexLen)
        .Gated(!FComplex, msg::kComplexFalse)
        .Gated(ReVec.Complex(), msg::kReComplex)
        .Gated(ImVec.Complex(), msg::kImComplex)
        .Gated(&ReVec == this, msg::kSelfReIm)
        .Gated(&ImVec == this, msg::kSelfReIm)
        .Always(&ReVec == &ImVec, msg::kReIm)
        .Done();
    if (Len == 0) return;
    double* re = At(ReVec, ReIndex);
    double* im = At(ImVec, ImIndex);
    detail::TLazyTemp t1, t2;
    const double* src = detail::Detached(At(*this, Index), 2 * static_cast<std::int64_t>(Len), re, Len, false, t1);
    src = detail::Detached(src, 2 * static_cast<std::int64_t>(Len), im, Len, false, t2);
    nspzbCplxTo2Real(reinterpret_cast<const TCplx*>(src), re, im, Len);
}

TVecs& TVecs::RealToCplx(const TVecs& ReVec, const TVecs& ImVec)
{
    TCheck(*this)
        .Always(ReVec.Length() != ImVec.Length(), msg::kReImLength)
        .Always(&ReVec == this || &ImVec == this, msg::kSelfReIm);
    TStable re(ReVec, *this), im(ImVec, *this);
    const int n = re->Length();
    TVecs::Size(n, true);
    if (n > 0) nspzb2RealToCplx(re->Values(), im->Values(), CValues(), n);
    return *this;
}

TVec0& TVec0::RealToCplx(const TVecs& ReVec, const TVecs& ImVec, int ReIndex, int ImIndex, int Index, int Len)
{
    TCheck(*this)
        .Negative({Len, Index, ReIndex, ImIndex}, msg::kNegRange)
        .Bound(ReVec, ReIndex, Len, 1, msg::kReIndexLen)
        .Bound(ImVec, ImIndex, Len, 1, msg::kImIndexLen)
        .Bound(*this, Index, Len, 2, msg::kIndexLen)
        .Gated(!FComplex, msg::kComplexFalse)
        .Gated(ReVec.Complex(), msg::kReComplex)
        .Gated(ImVec.Complex(), msg::kImComplex)
        .Gated(&ReVec == this, msg::kSelfReIm)
        .Gated(&ImVec == this, msg::kSelfReIm)
        .Done();
    if (Len == 0) return *this;
    double* dst = At(*this, Index);
    const std::int64_t out = 2 * static_cast<std::int64_t>(Len);
    detail::TLazyTemp t1, t2;
    const double* re = detail::Detached(At(ReVec, ReIndex), Len, dst, out, false, t1);
    const double* im = detail::Detached(At(ImVec, ImIndex), Len, dst, out, false, t2);
    nspzb2RealToCplx(re, im, reinterpret_cast<TCplx*>(dst), Len);
    return *this;
}

// ---- Widening ---------------------------------------------------------------------------------------------------

TVecs& TVecs::ExtendToComplex(bool Zeros)
{
    if (FComplex) return *this;
    detail::TVecTemp copy;
    detail::Snapshot(*this, *copy);
    TVecs::Size(FLength, true);
    if (FLength > 0) nspzb2RealToCplx(copy->Values(), Zeros ? nullptr : copy->Values(), CValues(), FLength);
    return *this;
}

TVec& TVec::ExtendToComplex(const TVecs& Src, bool Zeros)
{
    TCheck(*this).Always(&Src == this, msg::kSelfSrc);
    // Of a complex Src the first Length Doubles are taken, as of a real one.
    TStable src(Src, *this);
    detail::WidenInto(src->Values(), src->Length(), *this, Zeros);
    return *this;
}

// ---- Swapping the parts -----------------------------------------------------------------------------------------

TVecs& TVecs::Flip(const TVecs& X, int XIndex, int Index, int Len)
{
    SwapParts(*this, X, XIndex, Index, Len, TSwap::Flip);
    return *this;
}

TVecs& TVecs::FlipConj(const TVecs& X, int XIndex, int Index, int Len)
{
    SwapParts(*this, X, XIndex, Index, Len, TSwap::FlipConj);
    return *this;
}

TVecs& TVecs::MulI(const TVecs& X, int XIndex, int Index, int Len)
{
    SwapParts(*this, X, XIndex, Index, Len, TSwap::MulI);
    return *this;
}

TVec0& TVec0::Flip(int Index, int Len)
{
    SwapParts(*this, *this, Index, Index, Len, TSwap::Flip);
    return *this;
}

TVec0& TVec0::FlipConj(int Index, int Len)
{
    SwapParts(*this, *this, Index, Index, Len, TSwap::FlipConj);
    return *this;
}

TVec0& TVec0::MulI(int Index, int Len)
{
    SwapParts(*this, *this, Index, Index, Len, TSwap::MulI);
    return *this;
}

// ---- e^(iω) -----------------------------------------------------------------------------------------------------

TVec0& TVec0::Expj(const TVecs& Omega, int OmegaIndex, int Index, int Len)
{
    ExpjRange(*this, Omega, OmegaIndex, Index, Len);
    return *this;
}

TVecs& TVecs::Expj(const TVecs& Omega)
{
    TCheck(*this).Always(&Omega == this, msg::kSelfOmega).Gated(Omega.Complex(), msg::kOmegaComplex);
    TStable omega(Omega, *this);
    TVecs::Size(omega->Length(), true);
    if (FLength > 0) ExpjRange(*this, *omega, 0, 0, FLength);
    return *this;
}

TVec& TVec::Expj()
{
    TCheck(*this).Always(FComplex, msg::kComplexTrue);
    detail::TVecTemp copy;
    TVecs::Expj(detail::Snapshot(*this, *copy));
    return *this;
}

}  // namespace tarnel
