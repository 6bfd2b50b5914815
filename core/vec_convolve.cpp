// Convolution and correlation of vectors, and the 2-D convolution of real matrices, on the signal library (which
// sums directly or through FFTs, whichever costs less).
//
// Every check runs before Self changes, the "Self =" refusals included; operands that share memory with Self are
// read from pooled copies.
#include <algorithm>
#include <climits>

#include "core/Raroz.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

using detail::TCheck;
using detail::TStable;

namespace {

TVecs& AutoCorr(TVecs& Self, const TVecs& Vec, int Lags, TNSPAutoCorrType Kind, const char* LagsMsg,
                const char* SelfMsg)
{
    TCheck(Self).Always(Lags < 0, msg::kLagsNeg).Always(Lags > Vec.Length(), LagsMsg).Always(&Vec == &Self, SelfMsg);
    TStable v(Vec, Self);
    Self.Size(Lags, v->Complex());
    if (Lags == 0) return Self;
    if (Self.Complex()) {
        nspzAutoCorr(v->CValues(), v->Length(), Self.CValues(), Lags, Kind);
    } else {
        nspdAutoCorr(v->Values(), v->Length(), Self.Values(), Lags, Kind);
    }
    return Self;
}

}  // namespace

TVecs& TVecs::Convolve(const TVecs& X, const TVecs& H)
{
    if (&X == this || &H == this) ERaise(msg::kConvolveSelf);
    const std::int64_t xn = X.Length(), hn = H.Length();
    const std::int64_t m = xn == 0 || hn == 0 ? 0 : xn + hn - 1;
    if (m > INT_MAX) ERaise(msg::kLengthTooLarge);
    TStable x(X, *this), h(H, *this);
    Size(static_cast<int>(m), X.Complex() || H.Complex());
    if (m == 0) return *this;
    const int a = x->Length(), b = h->Length();
    if (x->Complex() && h->Complex()) {
        nspzConv(x->CValues(), a, h->CValues(), b, CValues());
    } else if (x->Complex()) {
        nspzdConv(x->CValues(), a, h->Values(), b, CValues());
    } else if (h->Complex()) {
        nspdzConv(x->Values(), a, h->CValues(), b, CValues());
    } else {
        nspdConv(x->Values(), a, h->Values(), b, FValues);
    }
    return *this;
}

TVecs& TVecs::AutoCorrNormal(const TVecs& Vec, int Lags)
{
    return AutoCorr(*this, Vec, Lags, NSP_Normal, msg::kAutoCorrNormalLags, msg::kAutoCorrNormalSelf);
}

TVecs& TVecs::AutoCorrBiased(const TVecs& Vec, int Lags)
{
    return AutoCorr(*this, Vec, Lags, NSP_Biased, msg::kAutoCorrBiasedLags, msg::kAutoCorrBiasedSelf);
}

TVecs& TVecs::AutoCorrUnBiased(const TVecs& Vec, int Lags)
{
    return AutoCorr(*this, Vec, Lags, NSP_UnBiased, msg::kAutoCorrUnBiasedLags, msg::kAutoCorrUnBiasedSelf);
}

// Lags where the operands do not meet (an empty operand meets nowhere) give 0.
TVecs& TVecs::CrossCorr(const TVecs& Vec1, const TVecs& Vec2, int HiLag, int LoLag)
{
    TCheck(*this)
        .Always(HiLag <= LoLag, msg::kCrossCorrLags)
        .Always(&Vec1 == this || &Vec2 == this, msg::kCrossCorrSelf);
    const std::int64_t len = static_cast<std::int64_t>(HiLag) - LoLag + 1;
    if (len > INT_MAX) ERaise(msg::kLengthTooLarge);
    TStable a(Vec1, *this), b(Vec2, *this);
    Size(static_cast<int>(len), Vec1.Complex() || Vec2.Complex());
    const int an = a->Length(), bn = b->Length();
    if (an == 0 || bn == 0) {
        std::fill_n(FValues, static_cast<std::size_t>(len) * (FComplex ? 2 : 1), 0.0);
        return *this;
    }
    if (a->Complex() && b->Complex()) {
        nspzCrossCorr(a->CValues(), an, b->CValues(), bn, CValues(), LoLag, HiLag);
    } else if (a->Complex()) {
        nspzdCrossCorr(a->CValues(), an, b->Values(), bn, CValues(), LoLag, HiLag);
    } else if (b->Complex()) {
        nspdzCrossCorr(a->Values(), an, b->CValues(), bn, CValues(), LoLag, HiLag);
    } else {
        nspdCrossCorr(a->Values(), an, b->Values(), bn, FValues, LoLag, HiLag);
    }
    return *this;
}

TMtx1& TMtx1::Convolve(const TMtx1* X, const TMtx1* H, bool Filter)
{
    if (X == nullptr || H == nullptr) ERaise(msg::kConvXNil);
    const std::int64_t xr = X->Rows(), xc = X->Cols(), hr = H->Rows(), hc = H->Cols();
    if (xr * xc == 0) ERaise(msg::kConvXEmpty);
    if (hr * hc == 0) ERaise(msg::kConvHEmpty);
    if (X->Complex() || H->Complex()) ERaise(msg::kConvComplex);
    if (X == this || H == this) ERaise(msg::kConvSelf);
    const std::int64_t rows = Filter ? xr : xr + hr - 1, cols = Filter ? xc : xc + hc - 1;
    if (rows > INT_MAX || cols > INT_MAX) ERaise(msg::kSizeTooLarge);
    detail::TLazyTemp tx, th;
    const double* x = detail::Held(*X, {this}, tx);
    const double* h = detail::Held(*H, {this}, th);
    Size(static_cast<int>(rows), static_cast<int>(cols), false);
    const int a = static_cast<int>(xc), b = static_cast<int>(xr), c = static_cast<int>(hc), d = static_cast<int>(hr);
    if (Filter) {
        nspdFilter2D(x, a, b, h, c, d, FValues);
    } else {
        nspdConv2D(x, a, b, h, c, d, FValues);
    }
    return *this;
}

}  // namespace tarnel
