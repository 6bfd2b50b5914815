// Vector FFT: the five transforms in place, from a source vector and on index ranges, on the signal library.
//
// The order cache: a vector keeps log2 of its length (FFTOrder) and a flag that the length is not known to be a
// power of two (NotPowerOfTwo, set by every change of length). The order check rebuilds the cache through
// IsPowerOfTwo only while the flag is set, so a vector transformed in place keeps working from its cached order
// when SetComplex halves or doubles its length (N = 2: FFT then IRealFFT in place works, while a vector sized to
// one complex element by FFT (Vec) has its flag set and fails the check). A cached order that does not describe
// the length is never trusted: it is rebuilt, so that no transform reads or writes past the data.
//
// Packed spectrum: the N/2 + 1 bins of N real samples occupy N + 2 Doubles, bin N/2 in the element just past a
// complex vector's end. Every owned block keeps room for it; a view or an adopted array may not, and a transform
// that would touch that element outside the vector's memory raises "No room past Length for bin N/2" before the
// library is called.
#include <cstring>

#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/vec_class.h"

namespace tarnel {

using detail::Numbers;
using detail::TCheck;

namespace {

int InverseFlags(bool NoScale)
{
    return NoScale ? NSP_Inv | NSP_NoScale : NSP_Inv;
}

// The order of V after the order check: the cached one while it is known and describes V's length, otherwise
// rebuilt; a length that is not a power of two raises "Length is not power of two!".
int CheckedOrder(const TVecs& V)
{
    const int order = V.FFTOrder();
    const bool stale = order < 0 || order > 30 || (std::int64_t{1} << order) != V.Length();
    if ((V.NotPowerOfTwo() || stale) && !V.IsPowerOfTwo()) ERaise(msg::kLengthNotPow2);
    return V.FFTOrder();
}

// The Doubles [0, Count) of V's data must be V's own memory (bin N/2 of a packed spectrum lies past the end).
void RequireRoom(const TVecs& V, std::int64_t Count)
{
    if (Count > V.RoomDoubles()) ERaise(msg::kNoRoomBin);
}

// The Count Doubles that a source form reads from Src, held where sizing Self cannot free or move them: Src's own
// data, or a pooled copy when they lie in Self's data or block.
const double* Held(const TVecs& Src, std::int64_t Count, const TVecs& Self, detail::TLazyTemp& Temp)
{
    const double* p = Src.Values();
    const auto* block = static_cast<const double*>(Self.AllocatedBlock());
    const std::int64_t blockDoubles = Self.AllocatedSize() / static_cast<std::int64_t>(sizeof(double));
    if (!detail::Overlap(p, Count, Self.Values(), Self.RoomDoubles()) &&
        !detail::Overlap(p, Count, block, blockDoubles)) {
        return p;
    }
    TVec& t = Temp.Get();
    t.Size(static_cast<int>(Count), false);
    std::memcpy(t.Values(), p, static_cast<std::size_t>(Count) * sizeof(double));
    return t.Values();
}

const TCplx* AsCplx(const double* P)
{
    return reinterpret_cast<const TCplx*>(P);
}

// ---- The indexed forms share their checks ----------------------------------------------------------------------

enum class TDest { Same, Twice, Half };  // the destination range in Self's elements: Len, 2·Len or Len div 2

struct TIndexedForm {
    bool SelfComplex;  // Self's required kind
    int VecComplex;    // Vec's required kind: 1 complex, 0 real, -1 either
    TDest Dest;
    const char* DestText;  // the destination range text
    const char* Pow2Text;
    bool PackedSource;  // reads the n + 1 bins of a packed Vec (n the count transformed)
    bool PackedDest;    // writes n/2 + 1 packed bins into Self (FFT too, from a real Vec)
};

constexpr TIndexedForm kFft{true, -1, TDest::Same, msg::kIndexLen, msg::kLenNotPow2, false, false};
constexpr TIndexedForm kIfft{true, 1, TDest::Same, msg::kIndexLen, msg::kLenNotPow2, false, false};
constexpr TIndexedForm kIRealFft{false, 1, TDest::Twice, msg::kIndexLen, msg::kLenMustPow2, true, false};
constexpr TIndexedForm kIFftReal{true, 0, TDest::Half, msg::kIndexHalfLen, msg::kLenMustPow2, false, true};

// The checks of an indexed form in their order, all before anything is read. Only the power-of-two refusal
// depends on ConditionCheck. Returns the count the library transforms: Len when it is a power of two, else
// 2^floor(log2 Len) (Len 0 gives 0).
int CheckIndexed(const TVecs& Self, const TVecs& Vec, int VecIndex, int Index, int Len, const TIndexedForm& F)
{
    const std::int64_t len = Len;
    const std::int64_t destEnd = Index + (F.Dest == TDest::Twice ? 2 * len : F.Dest == TDest::Half ? len / 2 : len);
    const bool pow2 = Len >= 2 && (Len & (Len - 1)) == 0;
    const char* vecKind = F.VecComplex == 1 ? msg::kVecComplexFalse : msg::kVecComplexTrue;
    TCheck(Self)
        .Negative({Len, Index, VecIndex}, msg::kNegRange)
        .Always(VecIndex + len > Vec.Length(), msg::kVecIndexLen)
        .Always(destEnd > Self.Length(), F.DestText)
        .Gated(!pow2, F.Pow2Text)
        .Always(Self.Complex() != F.SelfComplex, F.SelfComplex ? msg::kComplexFalse : msg::kComplexTrue)
        .Always(F.VecComplex >= 0 && Vec.Complex() != (F.VecComplex == 1), vecKind)
        .Always(&Self == &Vec, msg::kSelfVec);
    if (Len == 0) return 0;
    int n = 1;
    while (n <= Len / 2) n *= 2;
    // Bin N/2 of a packed spectrum: element VecIndex + n of Vec, element Index + n/2 of Self.
    if (F.PackedSource) RequireRoom(Vec, 2 * (static_cast<std::int64_t>(VecIndex) + n + 1));
    if (F.PackedDest || (F.VecComplex < 0 && !Vec.Complex())) {
        RequireRoom(Self, 2 * (static_cast<std::int64_t>(Index) + n / 2 + 1));
    }
    return n;
}

int FftOrder(int N)
{
    int order = 0;
    while ((1 << order) < N) ++order;
    return order;
}

}  // namespace

// ---- The order cache ---------------------------------------------------------------------------------------------

bool TVecs::IsPowerOfTwo() const
{
    // p in 64 bits: a 32-bit p would overflow before passing a length above 2^30 and never stop.
    int order = 1;
    std::int64_t p = 2;
    while (p < FLength) {
        p *= 2;
        ++order;
    }
    FFFTOrder = order;
    FNotPowerOfTwo = p != FLength;
    return p == FLength;
}

// ---- In place -------------------------------------------------------------------------------------------------------

TVecs& TVecs::FFT()
{
    if (FLength == 0) return *this;
    const int order = CheckedOrder(*this);
    if (FComplex) {
        nspzFft(CValues(), order, NSP_Forw);
        return *this;
    }
    RequireRoom(*this, static_cast<std::int64_t>(FLength) + 2);
    nspdRealFft(FValues, order, NSP_Forw);
    SetComplex(true);
    return *this;
}

TVecs& TVecs::IFFT(bool NoScale)
{
    if (FLength == 0) return *this;
    const int order = CheckedOrder(*this);
    if (!FComplex) ERaise(msg::kComplexFalse);
    nspzFft(CValues(), order, InverseFlags(NoScale));
    return *this;
}

TVecs& TVecs::IRealFFT(bool NoScale)
{
    if (FLength == 0) return *this;
    const int order = CheckedOrder(*this);
    if (!FComplex) ERaise(msg::kComplexFalse);
    RequireRoom(*this, 2 * static_cast<std::int64_t>(FLength) + 2);
    nspdCcsFft(FValues, order + 1, InverseFlags(NoScale));
    SetComplex(false);
    return *this;
}

TVecs& TVecs::FFTReal()
{
    if (FLength == 0) {
        SetComplex(false);
        return *this;
    }
    const int order = CheckedOrder(*this);
    if (!FComplex) ERaise(msg::kNotComplexBare);
    RequireRoom(*this, 2 * static_cast<std::int64_t>(FLength) + 2);
    nspdCcsFft(FValues, order + 1, NSP_Forw);
    SetComplex(false);
    return *this;
}

TVecs& TVecs::IFFTReal()
{
    if (FLength == 0) {
        SetComplex(true);
        return *this;
    }
    const int order = CheckedOrder(*this);
    if (FComplex) ERaise(msg::kComplexTrue);
    RequireRoom(*this, static_cast<std::int64_t>(FLength) + 2);
    nspdRealFft(FValues, order, NSP_Inv);
    SetComplex(true);
    return *this;
}

// ---- From a source ----------------------------------------------------------------------------------------------
// The order check runs on Vec before Self is sized, so a refused call leaves Self as it was.

TVec& TVec::FFT(const TVecs& Vec)
{
    if (&Vec == this) ERaise(msg::kSelfVec);
    const int len = Vec.Complex() ? Vec.Length() : Vec.Length() / 2;
    const int order = len != 0 ? CheckedOrder(Vec) : 0;
    detail::TLazyTemp t;
    const double* src = Held(Vec, Numbers(Vec), *this, t);
    Size(len, true);
    if (len == 0) return *this;
    if (Vec.Complex()) {
        nspzFftNip(AsCplx(src), CValues(), order, NSP_Forw);
    } else {
        RequireRoom(*this, 2 * static_cast<std::int64_t>(len) + 2);
        nspdRealFftNip(src, CValues(), order, NSP_Forw);
    }
    return *this;
}

TVec& TVec::IFFT(const TVecs& Vec, bool NoScale)
{
    const int order = CheckedOrder(Vec);
    if (!Vec.Complex()) ERaise(msg::kVecComplexFalse);
    if (&Vec == this) return static_cast<TVec&>(TVecs::IFFT(NoScale));
    detail::TLazyTemp t;
    const double* src = Held(Vec, Numbers(Vec), *this, t);
    Size(Vec.Length(), true);
    if (FLength > 0) nspzFftNip(AsCplx(src), CValues(), order, InverseFlags(NoScale));
    return *this;
}

TVec& TVec::IRealFFT(const TVecs& Vec, bool NoScale)
{
    if (!Vec.Complex()) ERaise(msg::kVecComplexFalse);
    if (&Vec == this) ERaise(msg::kSelfVec);
    const int order = CheckedOrder(Vec);
    const std::int64_t packed = 2 * static_cast<std::int64_t>(Vec.Length()) + 2;
    RequireRoom(Vec, packed);
    detail::TLazyTemp t;
    const double* src = Held(Vec, packed, *this, t);
    Size(2 * Vec.Length(), false);
    nspdCcsFftNip(AsCplx(src), FValues, order + 1, InverseFlags(NoScale));
    return *this;
}

TVec& TVec::FFTReal(const TVecs& Vec)
{
    if (!Vec.Complex()) ERaise(msg::kNotComplexBare);
    if (&Vec == this) ERaise(msg::kVecSelf);
    const int len = 2 * Vec.Length();
    const int order = len != 0 ? CheckedOrder(Vec) : 0;
    const std::int64_t packed = len != 0 ? static_cast<std::int64_t>(len) + 2 : 0;
    RequireRoom(Vec, packed);
    detail::TLazyTemp t;
    const double* src = Held(Vec, packed, *this, t);
    Size(len, false);
    if (len > 0) nspdCcsFftNip(AsCplx(src), FValues, order + 1, NSP_Forw);
    return *this;
}

TVec& TVec::IFFTReal(const TVecs& Vec, bool NoScale)
{
    if (Vec.Complex()) ERaise(msg::kComplexTrue);
    if (&Vec == this) ERaise(msg::kVecSelf);
    const int len = Vec.Length() / 2;
    const int order = len != 0 ? CheckedOrder(Vec) : 0;
    detail::TLazyTemp t;
    const double* src = Held(Vec, Numbers(Vec), *this, t);
    Size(len, true);
    if (len == 0) return *this;
    RequireRoom(*this, 2 * static_cast<std::int64_t>(len) + 2);
    nspdRealFftNip(src, CValues(), order, InverseFlags(NoScale));
    return *this;
}

// ---- On index ranges ----------------------------------------------------------------------------------------------
// The library is called at the given offsets directly: its plan cache keys the alignment of the addresses.

TVec1& TVec1::FFT(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    const int n = CheckIndexed(*this, Vec, VecIndex, Index, Len, kFft);
    if (n == 0) return *this;
    if (Vec.Complex()) {
        nspzFftNip(Vec.CValues() + VecIndex, CValues() + Index, FftOrder(n), NSP_Forw);
    } else {
        nspdRealFftNip(Vec.Values() + VecIndex, CValues() + Index, FftOrder(n), NSP_Forw);
    }
    return *this;
}

TVec1& TVec1::IFFT(const TVecs& Vec, int VecIndex, int Index, int Len, bool NoScale)
{
    const int n = CheckIndexed(*this, Vec, VecIndex, Index, Len, kIfft);
    if (n > 0) nspzFftNip(Vec.CValues() + VecIndex, CValues() + Index, FftOrder(n), InverseFlags(NoScale));
    return *this;
}

TVec1& TVec1::IRealFFT(const TVecs& Vec, int VecIndex, int Index, int Len, bool NoScale)
{
    const int n = CheckIndexed(*this, Vec, VecIndex, Index, Len, kIRealFft);
    if (n > 0) nspdCcsFftNip(Vec.CValues() + VecIndex, Values() + Index, FftOrder(n) + 1, InverseFlags(NoScale));
    return *this;
}

TVec1& TVec1::FFTReal(const TVecs& Vec, int VecIndex, int Index, int Len)
{
    const int n = CheckIndexed(*this, Vec, VecIndex, Index, Len, kIRealFft);
    if (n > 0) nspdCcsFftNip(Vec.CValues() + VecIndex, Values() + Index, FftOrder(n) + 1, NSP_Forw);
    return *this;
}

TVec1& TVec1::IFFTReal(const TVecs& Vec, int VecIndex, int Index, int Len, bool NoScale)
{
    const int n = CheckIndexed(*this, Vec, VecIndex, Index, Len, kIFftReal);
    if (n > 0) nspdRealFftNip(Vec.Values() + VecIndex, CValues() + Index, FftOrder(n), InverseFlags(NoScale));
    return *this;
}

}  // namespace tarnel
