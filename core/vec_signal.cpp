// DCT, Hilbert transform, down- and up-sampling, the Goertzel filter and the signal library's status text.
//
// Every check runs before Self changes (the indexed resampling forms check Self's room in the kind it is about to
// take), negative phases, indexes and lengths first; a source sharing memory with Self is read from a pooled copy.
#include <climits>
#include <cmath>
#include <string>

#include "core/Nmkl.h"
#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

using detail::TCheck;
using detail::TStable;

namespace {

TVecs& Dct(TVecs& Self, const TVecs& Vec, int Flags, const char* ComplexMsg, const char* SelfMsg)
{
    if (Vec.Complex()) ERaise(ComplexMsg);
    if (&Vec == &Self) ERaise(SelfMsg);
    TStable src(Vec, Self);
    Self.Size(src->Length(), false);
    if (Self.Length() > 0) nspdDct(src->Values(), Self.Values(), Self.Length(), Flags);
    return Self;
}

// Self's Length once it has taken the kind AComplex (SetComplex halves or doubles it).
std::int64_t LengthAs(const TVecs& Self, bool AComplex)
{
    if (AComplex == Self.Complex()) return Self.Length();
    return AComplex ? Self.Length() / 2 : 2 * static_cast<std::int64_t>(Self.Length());
}

NSPDGoertzState* GoertzOf(TVecs& V)
{
    return static_cast<NSPDGoertzState*>(V.GoertzelState());
}

std::string StatusText()
{
    const int status = nspGetErrStatus();
    return status != 0 ? std::string(nspErrorStr(status)) : std::string();
}

}  // namespace

// ---- DCT and Hilbert -------------------------------------------------------------------------------------------

TVecs& TVecs::DCT(const TVecs& Vec)
{
    return Dct(*this, Vec, NSP_Forw, msg::kDctVecComplex, msg::kDctSelfVec);
}

TVecs& TVecs::IDCT(const TVecs& Vec)
{
    return Dct(*this, Vec, NSP_Inv, msg::kVecComplexTrue, msg::kSelfVec);
}

// The spectrum of the real samples times −i on the positive frequencies 1 .. N/2 − 1 and 0 at bins 0 and N/2 is
// the spectrum of the Hilbert transform; the in-place real FFT keeps its order cache, so N = 2 (one packed bin)
// transforms back as well.
TVecs& TVecs::Hilbert(const TVecs& Vec)
{
    if (Vec.Complex()) ERaise(msg::kVecComplexTrue);
    if (&Vec == this) ERaise(msg::kSelfVec);
    TStable src(Vec, *this);
    Size(src->Length(), true);
    const int n = FLength;
    if (n == 0) return *this;
    detail::TVecTemp s;
    s->Copy(*src);
    s->FFT();
    TCplx* z = s->CValues();
    z[0] = C_ZERO;
    for (int k = 1; k < n / 2; ++k) z[k] = {z[k].Im, -z[k].Re};
    z[n / 2] = C_ZERO;  // the packed bin N/2, just past the end
    s->IRealFFT();
    RealToCplx(*src, *s);
    return *this;
}

// ---- Resampling -------------------------------------------------------------------------------------------------

TVecs& TVecs::DownSample(const TVecs& Src, int Factor, int Phase)
{
    TCheck(*this)
        .Always(Phase < 0, msg::kPhaseNeg)
        .Always(Phase >= Factor, msg::kPhaseFactor)
        .Always(&Src == this, msg::kSelfSrc)
        .Always(Factor < 1, msg::kFactorBelow1);
    if (Factor == 1) {
        Copy(Src);
        return *this;
    }
    TStable src(Src, *this);
    const int len = src->Length();
    const auto n = static_cast<int>((static_cast<std::int64_t>(len) + Factor - 1) / Factor);
    Size(n, src->Complex());
    if (n == 0) return *this;
    // The samples that exist: Phase + i·Factor < len. With a Phase beyond (len − 1) mod Factor the last element
    // has no sample and is 0.
    const int avail =
        len > Phase ? static_cast<int>((static_cast<std::int64_t>(len) - Phase + Factor - 1) / Factor) : 0;
    if (avail > 0) {
        if (FComplex) {
            int room = avail, phase = Phase;
            nspzDownSample(src->CValues(), len, CValues(), &room, Factor, &phase);
        } else {
            int count = avail, inc = Factor;
            VDPACKI(&count, src->Values() + Phase, &inc, FValues);
        }
    }
    const int w = FComplex ? 2 : 1;
    for (std::int64_t i = static_cast<std::int64_t>(avail) * w; i < static_cast<std::int64_t>(n) * w; ++i)
        FValues[i] = 0;
    return *this;
}

TVec0& TVec0::DownSample(const TVecs& Src, int Factor, int SrcIndex, int Index, int Len, int Phase)
{
    TCheck(*this)
        .Always(Phase < 0, msg::kPhaseNeg)
        .Negative({SrcIndex, Index, Len}, msg::kResampleRangeNeg)
        .Always(Phase + std::int64_t{1} >= Factor, msg::kPhaseFactor)
        .Always(SrcIndex + static_cast<std::int64_t>(Len) > Src.Length(), msg::kSrcIndexLenSrc)
        .Always(&Src == this, msg::kSelfSrc);
    // Factor >= 2 here (Phase >= 0 and Phase + 1 < Factor).
    const int m = Len / Factor;
    if (Index + static_cast<std::int64_t>(m) > LengthAs(*this, Src.Complex())) ERaise(msg::kIndexLenDivFactor);
    TStable src(Src, *this);
    SetComplex(src->Complex());
    if (m == 0) return *this;
    if (FComplex) {
        int room = m, phase = Phase;
        nspzDownSample(src->CValues() + SrcIndex, Len, CValues() + Index, &room, Factor, &phase);
    } else {
        int count = m, inc = Factor;
        VDPACKI(&count, src->Values() + SrcIndex + Phase, &inc, FValues + Index);
    }
    return *this;
}

TVecs& TVecs::UpSample(const TVecs& Src, int Factor, int Phase)
{
    TCheck(*this)
        .Always(Phase < 0, msg::kPhaseNeg)
        .Always(Phase + std::int64_t{1} >= Factor, msg::kPhaseFactor)
        .Always(&Src == this, msg::kSelfSrc);
    if (Factor <= 1) return *this;
    const std::int64_t total = static_cast<std::int64_t>(Src.Length()) * Factor;
    if (total > INT_MAX) ERaise(msg::kLengthTooLarge);
    TStable src(Src, *this);
    Size(static_cast<int>(total), src->Complex());
    if (total == 0) return *this;
    int room = FLength, phase = Phase;
    if (FComplex) {
        nspzUpSample(src->CValues(), src->Length(), CValues(), &room, Factor, &phase);
    } else {
        nspdUpSample(src->Values(), src->Length(), FValues, &room, Factor, &phase);
    }
    return *this;
}

TVec0& TVec0::UpSample(const TVecs& Src, int Factor, int SrcIndex, int Index, int Len, int Phase)
{
    if (Factor <= 1) return *this;
    TCheck(*this)
        .Always(Phase < 0, msg::kPhaseNeg)
        .Negative({SrcIndex, Index, Len}, msg::kResampleRangeNeg)
        .Always(Phase + std::int64_t{1} >= Factor, msg::kPhaseFactor)
        .Always(&Src == this, msg::kSelfSrc)
        .Always(SrcIndex + static_cast<std::int64_t>(Len) > Src.Length(), msg::kIndexLenSrcLength)
        .Always(Index + static_cast<std::int64_t>(Len) * Factor > LengthAs(*this, Src.Complex()), msg::kIndexLenFactor);
    TStable src(Src, *this);
    SetComplex(src->Complex());
    if (Len == 0) return *this;
    int room = Len * Factor, phase = Phase;  // within Self's Length, so within an Integer
    if (FComplex) {
        nspzUpSample(src->CValues() + SrcIndex, Len, CValues() + Index, &room, Factor, &phase);
    } else {
        nspdUpSample(src->Values() + SrcIndex, Len, FValues + Index, &room, Factor, &phase);
    }
    return *this;
}

// ---- Goertzel ---------------------------------------------------------------------------------------------------
// The state keeps only the frequency and what follows from it, so the real and the complex routines share it and
// a vector that changed its kind since GoertzInit still computes right.

TVecs& TVecs::GoertzInit(double Freq)
{
    TCheck(*this)
        .Gated(!FComplex && Freq >= 0.5, msg::kGoertzRealHalf)
        .Gated(Freq >= 1, msg::kGoertzFreqOne)
        .Gated(!(Freq > 0), msg::kGoertzFreqZero);
    if (FComplex) {
        nspzGoertzInit(Freq, GoertzOf(*this));
    } else {
        nspdGoertzInit(Freq, GoertzOf(*this));
    }
    // The library refuses a frequency that is not finite and keeps the state it had.
    FGoertzSet = FGoertzSet || std::isfinite(Freq);
    return *this;
}

void TVecs::GoertzReset()
{
    if (FComplex) {
        nspzGoertzReset(GoertzOf(*this));
    } else {
        nspdGoertzReset(GoertzOf(*this));
    }
}

TCplx TVecs::Goertz()
{
    if (FLength == 0) return C_ZERO;
    if (!FGoertzSet) ERaise(msg::kGoertzNoInit);
    GoertzReset();
    return FComplex ? nspzbGoertz(GoertzOf(*this), CValues(), FLength) : nspdbGoertz(GoertzOf(*this), FValues, FLength);
}

TCplx Goertz(TVec& Vec)
{
    return Vec.Goertz();
}

// ---- Status of the signal library ----------------------------------------------------------------------------------

void TVecs::nspError(std::string& Msg) const
{
    Msg = StatusText();
}

void TMtx1::nspError(std::string& Msg) const
{
    Msg = StatusText();
}

}  // namespace tarnel
