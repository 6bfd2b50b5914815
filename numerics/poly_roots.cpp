// Roots of polynomials (eigenvalues of the companion matrix) and polynomials from roots or from a matrix.
#include <algorithm>
#include <type_traits>

#include "core/Tarnel.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Polynoms.h"

namespace tarnel {

namespace {

bool IsZero(const TVecs& V, int i)
{
    const double* e = detail::At(V, i);
    return V.Complex() ? e[0] == 0 && e[1] == 0 : e[0] == 0;
}

// The index of the first nonzero element (Length when there is none) and of the last (−1 then).
void NonZeroRange(const TVecs& V, int& First, int& Last)
{
    const int n = V.Length();
    First = 0;
    while (First < n && IsZero(V, First)) ++First;
    Last = First == n ? -1 : n - 1;
    while (Last > First && IsZero(V, Last)) --Last;
}

// Dst := Src[First .. Last] in Src's kind (empty when Last < First).
void CopyRange(const TVecs& Src, TVec& Dst, int First, int Last)
{
    const detail::TStable src(Src, Dst);
    const int count = std::max(Last - First + 1, 0);
    Dst.Size(count, src->Complex());
    if (count > 0) detail::CopyDoubles(detail::At(*src, First), Dst.Values(), detail::Numbers(Dst));
}

// a − r·b, in the library's complex arithmetic for complex numbers.
inline double MulSub(double a, double r, double b)
{
    return a - r * b;
}
inline TCplx MulSub(const TCplx& a, const TCplx& r, const TCplx& b)
{
    return CSub(a, CMul(r, b));
}

// Coeff := the monic polynomial with the roots r: Coeff[k + 1] −= rᵢ·Coeff[k] for k = 0..i from a copy of
// Coeff[0..i], as a convolution with (1, −rᵢ).
template <class T>
void FromRoots(const T* r, int n, T* c, T* previous)
{
    if constexpr (std::is_same_v<T, TCplx>) {
        c[0] = C_ONE;
        std::fill(c + 1, c + n + 1, C_ZERO);
    } else {
        c[0] = 1;
        std::fill(c + 1, c + n + 1, 0.0);
    }
    for (int i = 0; i < n; ++i) {
        std::copy(c, c + i + 1, previous);
        const T root = r[i];
        for (int k = 0; k <= i; ++k) c[k + 1] = MulSub(c[k + 1], root, previous[k]);
    }
}

}  // namespace

void StripZeros(const TVec& Src, TVec& Dst, int& First, int& Last)
{
    int first, last;
    NonZeroRange(Src, first, last);
    CopyRange(Src, Dst, first, last);
    First = first;
    Last = last;
}

void StripLeadZeros(const TVec& Src, TVec& Dst, int& First)
{
    int first, last;
    NonZeroRange(Src, first, last);
    CopyRange(Src, Dst, first, Src.Length() - 1);
    First = first;
}

void PolyCoeff(const TVec& Roots, TVec& Coeff)
{
    const detail::TStable roots(Roots, Coeff);
    const int n = roots->Length();
    detail::TVecTemp previous;
    previous->Size(n + 1, roots->Complex());
    Coeff.Size(n + 1, roots->Complex());
    if (roots->Complex()) {
        FromRoots(roots->CValues(), n, Coeff.CValues(), previous->CValues());
    } else {
        FromRoots(roots->Values(), n, Coeff.Values(), previous->Values());
    }
}

void PolyCoeff(TMtx& Mtx, TVec& Coeff)
{
    if (!Mtx.Quadratic()) ERaise(msg::kPolyMtxQuadratic);
    detail::TVecTemp d;
    Mtx.Eig(*d, mtGeneral);
    if (Mtx.Info() == 0) PolyCoeff(*d, Coeff);
}

void PolyRoots(TVec& Roots, const TVec& Coeff)
{
    detail::TVecTemp p;
    int first, last;
    NonZeroRange(Coeff, first, last);
    CopyRange(Coeff, *p, first, last);
    // The trailing zero coefficients are that many roots at 0.
    const int zeros = last < 0 ? 0 : Coeff.Length() - 1 - last;
    const int m = p->Length() - 1;  // the degree left
    if (m < 1) {
        Roots.Size(zeros, zeros > 0);
        if (zeros > 0) std::fill_n(Roots.Values(), 2 * static_cast<std::int64_t>(zeros), 0.0);
        return;
    }
    // Companion matrix: first row −P[1..m]/P[0], ones on the first sub-diagonal; its eigenvalues are the roots.
    detail::TMtxTemp companion;
    companion->Size(m, m, p->Complex());
    std::fill_n(companion->Values(), static_cast<std::int64_t>(m) * m * detail::Width(*p), 0.0);
    if (p->Complex()) {
        const TCplx scale = CDiv(Cplx(-1, 0), p->CValues()[0]);
        TCplx* row = companion->CValues();
        for (int j = 0; j < m; ++j) row[j] = CMul(p->CValues()[j + 1], scale);
        for (int i = 1; i < m; ++i) row[static_cast<std::int64_t>(i) * m + i - 1] = C_ONE;
    } else {
        const double scale = -1 / p->Values()[0];
        double* row = companion->Values();
        for (int j = 0; j < m; ++j) row[j] = p->Values()[j + 1] * scale;
        for (int i = 1; i < m; ++i) row[static_cast<std::int64_t>(i) * m + i - 1] = 1;
    }
    detail::TVecTemp eig;
    companion->Eig(*eig, mtGeneral);
    if (companion->Info() != 0) ERaise(companion->MtxError());
    Roots.Size(zeros + m, true);
    std::fill_n(Roots.Values(), 2 * static_cast<std::int64_t>(zeros), 0.0);
    detail::CopyDoubles(eig->Values(), detail::At(Roots, zeros), 2 * static_cast<std::int64_t>(m));
}

}  // namespace tarnel
