// lapack's complex Bessel and Airy routines on Arb's ball arithmetic (core/Nmkl.h states what callers rely on).
//
// Each value is computed as a ball at a working precision that starts at 64 bits and doubles until the ball's
// radius is below 2^-53 of its modulus, up to 2^15 bits; the midpoint is then rounded to the nearest Double.
// Arb's exponent range is unbounded, so a scaled value is formed before anything meets the Double range.
//
// Paths, chosen for accuracy and speed:
// - real z > 0: Arb's real functions (Airy: every real z);
// - Im z < 0 from the mirror image: f(z) = conj f(conj z), H⁽¹⁾(z) = conj H⁽²⁾(conj z) and the other way round;
// - J and I with Re z < 0 from −z: J_ν(z) = e^(iπν)·J_ν(−z), I_ν(z) = e^(iπν)·I_ν(−z) above the axis (Arb's own
//   path for I in the left half-plane is far slower at large order and argument);
// - H⁽¹⁾_ν(z) = −(2i/π)·e^(−iπν/2)·K_ν(−iz) for −π/2 < arg z ≤ π and H⁽²⁾_ν(z) = (2i/π)·e^(iπν/2)·K_ν(iz) for
//   −π < arg z ≤ π/2, where J ± iY would cancel; J ± iY elsewhere. The scaled forms take e^w·K_ν(w), which is
//   e^(∓iz)·K_ν(∓iz) there.
//
// The first precision: where Arb sums the power series (small and moderate |z|), the series' terms grow to about
// e^|z| before they settle on a value that can be far smaller (e^(−Re z) for K, e^|Im z| for J), so that many bits
// cancel; the first attempt adds them, where starting at 64 bits failed once or twice before (every failed attempt
// costs a full evaluation). K (and the Hankel functions through K) first tries the asymptotic expansion at 64 bits
// where it converges quickly enough, |w| ≥ 20 + ν²/4, or where it ends after finitely many terms (ν = n + ½, exact
// at every argument); Arb bounds its error, and when the ball is too wide the series follows.
#include <acb.h>
#include <acb_hypgeom.h>
#include <arb.h>
#include <arb_hypgeom.h>
#include <flint/flint.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>

#include "core/Nmkl.h"

namespace tarnel {

namespace {

constexpr slong kFirstPrec = 64;
constexpr slong kMaxPrec = slong(1) << 15;
constexpr slong kGoalBits = 53;  // radius below 2^-53·|value|: within about one unit in the last place
constexpr slong kKeepBits = 26;  // fewer correct bits at the cap: the value is refused (IERR 4)
constexpr double kTiny = 0x1p-1022;
constexpr double kLog2E = 1.4426950408889634;
constexpr double kAsymptoticFrom = 20;  // |w| from which K's expansion is tried first (plus ν²/4)
constexpr double kFiniteExpansionUpTo = 24;  // half-integer orders up to this one: the expansion is summed in full

// One RAII owner per Arb ball; copying deleted.
class Ball {
public:
    Ball() { acb_init(v); }
    ~Ball() { acb_clear(v); }
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;
    acb_t v;
};

class RealBall {
public:
    RealBall() { arb_init(v); }
    ~RealBall() { arb_clear(v); }
    RealBall(const RealBall&) = delete;
    RealBall& operator=(const RealBall&) = delete;
    arb_t v;
};

// Arb keeps caches of constants per thread; those of the thread that ends the process go at exit, so that a
// leak checker sees nothing left.
void FreeArbCachesAtExit()
{
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(flint_cleanup_master); });
}

enum class Fn { J, Y, I, K, H1, H2, Ai, Bi };

struct Call {
    Fn F;
    double Re, Im;  // Im is +0 for a zero imaginary part of either sign
    bool Scaled;
    bool Derivative;  // Airy only
};

bool RealPositive(const Call& c)
{
    return c.Im == 0 && c.Re > 0;
}

// r := r·e^(s·x) for a real x (s = ±1).
void MulExpReal(acb_t r, double x, int s, slong prec)
{
    RealBall e;
    arb_set_d(e.v, s * x);
    arb_exp(e.v, e.v, prec);
    acb_mul_arb(r, r, e.v, prec);
}

// r := r·e^(s·z) for the complex argument z.
void MulExpCplx(acb_t r, const acb_t z, int s, slong prec)
{
    Ball e;
    acb_set(e.v, z);
    if (s < 0) acb_neg(e.v, e.v);
    acb_exp(e.v, e.v, prec);
    acb_mul(r, r, e.v, prec);
}

// r := r·e^(iπ·t) for a real t.
void MulExpPiI(acb_t r, const arb_t t, slong prec)
{
    Ball e;
    acb_set_arb(e.v, t);
    acb_exp_pi_i(e.v, e.v, prec);
    acb_mul(r, r, e.v, prec);
}

// Whether K_ν(w), |w| = modulus, is tried first by its asymptotic expansion (see the head of the file).
bool AsymptoticK(double fnu, double modulus)
{
    const double twice = 2 * fnu;
    if (twice <= 2 * kFiniteExpansionUpTo && twice == std::floor(twice) && std::fmod(twice, 2.0) == 1.0) return true;
    return modulus >= kAsymptoticFrom + fnu * fnu / 4;
}

// r := K_ν(w) or e^w·K_ν(w); by the expansion alone when asked (its ball may come out wide), else Arb's choice.
void BesselK(acb_t r, const acb_t nu, const acb_t w, bool scaled, bool asymptotic, slong prec)
{
    if (asymptotic)
        acb_hypgeom_bessel_k_asymp(r, nu, w, scaled ? 1 : 0, prec);
    else if (scaled)
        acb_hypgeom_bessel_k_scaled(r, nu, w, prec);
    else
        acb_hypgeom_bessel_k(r, nu, w, prec);
}

// The Hankel function of kind 1 or 2 through K (the caller has checked the side).
void HankelFromK(acb_t r, const acb_t nu, const acb_t z, int kind, bool scaled, bool asymptotic, slong prec)
{
    Ball w;
    acb_mul_onei(w.v, z);
    if (kind == 1) acb_neg(w.v, w.v);  // −iz
    BesselK(r, nu, w.v, scaled, asymptotic, prec);
    RealBall t;  // ∓ν/2
    arb_mul_2exp_si(t.v, acb_realref(nu), -1);
    if (kind == 1) arb_neg(t.v, t.v);
    MulExpPiI(r, t.v, prec);
    Ball c;  // ∓2i/π
    arb_const_pi(acb_realref(c.v), prec);
    arb_inv(acb_realref(c.v), acb_realref(c.v), prec);
    arb_mul_2exp_si(acb_realref(c.v), acb_realref(c.v), 1);
    acb_mul_onei(c.v, c.v);
    if (kind == 1) acb_neg(c.v, c.v);
    acb_mul(r, r, c.v, prec);
}

void EvaluateUpper(acb_t r, const Call& c, double fnu, bool asymptotic, slong prec);

// r := the value of the call at this precision, as a ball. Below the real axis from the mirror image above it:
// f(z) = conj f(conj z) for J, Y, I, K, Ai, Bi and their scalings, H⁽¹⁾(z) = conj H⁽²⁾(conj z) and the other way
// round (Arb's paths below the axis are far slower for Y and H at large orders, minutes at ν = 1e5, |z| = 1e4).
void Evaluate(acb_t r, const Call& c, double fnu, bool asymptotic, slong prec)
{
    if (!(c.Im < 0)) {
        EvaluateUpper(r, c, fnu, asymptotic, prec);
        return;
    }
    Call up = c;
    up.Im = -c.Im;
    if (c.F == Fn::H1) up.F = Fn::H2;
    if (c.F == Fn::H2) up.F = Fn::H1;
    EvaluateUpper(r, up, fnu, asymptotic, prec);
    acb_conj(r, r);
}

// The value for Im z ≥ 0; asymptotic: K's expansion alone, for the calls that take K (see TakesK).
void EvaluateUpper(acb_t r, const Call& c, double fnu, bool asymptotic, slong prec)
{
    Ball z, nu;
    acb_set_d_d(z.v, c.Re, c.Im);
    acb_set_d(nu.v, fnu);

    if (c.F == Fn::Ai || c.F == Fn::Bi) {
        acb_ptr ai = nullptr, aip = nullptr, bi = nullptr, bip = nullptr;
        if (c.F == Fn::Ai)
            (c.Derivative ? aip : ai) = r;
        else
            (c.Derivative ? bip : bi) = r;
        if (c.Im == 0) {
            RealBall x, v;
            arb_set_d(x.v, c.Re);
            arb_ptr rv = v.v;
            arb_hypgeom_airy(ai ? rv : nullptr, aip ? rv : nullptr, bi ? rv : nullptr, bip ? rv : nullptr, x.v, prec);
            acb_set_arb(r, v.v);
        } else {
            acb_hypgeom_airy(ai, aip, bi, bip, z.v, prec);
        }
        if (c.Scaled) {
            Ball zeta;  // ⅔·z^(3/2)
            acb_sqrt(zeta.v, z.v, prec);
            acb_mul(zeta.v, zeta.v, z.v, prec);
            acb_mul_ui(zeta.v, zeta.v, 2, prec);
            acb_div_ui(zeta.v, zeta.v, 3, prec);
            if (c.F == Fn::Ai) {
                MulExpCplx(r, zeta.v, 1, prec);
            } else {
                RealBall e;
                arb_abs(e.v, acb_realref(zeta.v));
                arb_neg(e.v, e.v);
                arb_exp(e.v, e.v, prec);
                acb_mul_arb(r, r, e.v, prec);
            }
        }
        return;
    }

    if (RealPositive(c) && c.F != Fn::H1 && c.F != Fn::H2 && !asymptotic) {
        RealBall x, v, res;
        arb_set_d(x.v, c.Re);
        arb_set_d(v.v, fnu);
        switch (c.F) {
            case Fn::J:
                arb_hypgeom_bessel_j(res.v, v.v, x.v, prec);
                break;
            case Fn::Y:
                arb_hypgeom_bessel_y(res.v, v.v, x.v, prec);
                break;
            case Fn::I:
                if (c.Scaled)
                    arb_hypgeom_bessel_i_scaled(res.v, v.v, x.v, prec);
                else
                    arb_hypgeom_bessel_i(res.v, v.v, x.v, prec);
                break;
            default:
                if (c.Scaled)
                    arb_hypgeom_bessel_k_scaled(res.v, v.v, x.v, prec);
                else
                    arb_hypgeom_bessel_k(res.v, v.v, x.v, prec);
                break;
        }
        acb_set_arb(r, res.v);
        return;
    }

    switch (c.F) {
        case Fn::J:
        case Fn::I: {
            const bool reflect = c.Re < 0;
            if (reflect) acb_neg(z.v, z.v);
            if (c.F == Fn::J)
                acb_hypgeom_bessel_j(r, nu.v, z.v, prec);
            else
                acb_hypgeom_bessel_i(r, nu.v, z.v, prec);
            if (reflect) {
                RealBall t;
                arb_set_d(t.v, fnu);  // the upper side: z = (−z)·e^(iπ)
                MulExpPiI(r, t.v, prec);
            }
            if (c.Scaled) MulExpReal(r, c.F == Fn::J ? std::fabs(c.Im) : std::fabs(c.Re), -1, prec);
            break;
        }
        case Fn::Y:
            acb_hypgeom_bessel_y(r, nu.v, z.v, prec);
            if (c.Scaled) MulExpReal(r, std::fabs(c.Im), -1, prec);
            break;
        case Fn::K:
            BesselK(r, nu.v, z.v, c.Scaled, asymptotic, prec);
            break;
        default: {
            // Here 0 ≤ arg z ≤ π: H⁽¹⁾ always through K, H⁽²⁾ unless π/2 < arg z ≤ π, where it is J − iY.
            const int kind = c.F == Fn::H1 ? 1 : 2;
            if (kind == 1 || c.Re >= 0) {
                HankelFromK(r, nu.v, z.v, kind, c.Scaled, asymptotic, prec);
                break;
            }
            Ball y;
            acb_hypgeom_bessel_jy(r, y.v, nu.v, z.v, prec);
            acb_mul_onei(y.v, y.v);
            acb_sub(r, r, y.v, prec);
            if (c.Scaled) {
                acb_mul_onei(z.v, z.v);  // e^(iz)
                MulExpCplx(r, z.v, 1, prec);
            }
            break;
        }
    }
}

// Whether the call's value comes from K (K itself and the Hankel functions on their K side).
bool TakesK(const Call& c)
{
    const bool below = c.Im < 0;  // taken from the mirror image, where H⁽¹⁾ and H⁽²⁾ trade places
    switch (c.F) {
        case Fn::K:
            return true;
        case Fn::H1:
            return !below || c.Re >= 0;
        case Fn::H2:
            return below || c.Re >= 0;
        default:
            return false;
    }
}

// The first precision of the series route: 64 bits plus those its terms cancel (about e^|z| against the value),
// 64 bits where Arb sums its asymptotic expansion instead.
slong SeriesPrec(const Call& c, double fnu)
{
    if (c.F == Fn::Ai || c.F == Fn::Bi) return kFirstPrec;
    Ball z;
    acb_set_d_d(z.v, c.Re, c.Im);
    if (acb_hypgeom_u_use_asymp(z.v, kFirstPrec)) return kFirstPrec;
    const double mod = std::hypot(c.Re, c.Im), x = std::fabs(c.Re), y = std::fabs(c.Im);
    double size = y;  // log of the value's size: J, Y and J ∓ iY grow as e^|Im z|
    if (c.F == Fn::I) size = x;
    if (TakesK(c)) {
        // K_ν(w) falls as e^(−Re w); w = z for K, −iz for H⁽¹⁾ and iz for H⁽²⁾ above the axis (Re w = ±|Im z|)
        const bool h1 = (c.F == Fn::H1) != (c.Im < 0);
        size = c.F == Fn::K ? -c.Re : (h1 ? -y : y);
    }
    // A large order damps the terms' growth (their peak sits near k = (√(ν² + |z|²) − ν)/2): fewer bits cancel.
    const double cancelled = std::max(0.0, mod - size) * kLog2E * mod / std::hypot(mod, fnu);
    return std::min(kMaxPrec, kFirstPrec + static_cast<slong>(std::ceil(cancelled)));
}

// Part of a ball as the nearest Double; +0 where the ball holds 0.
double Nearest(const arb_t x)
{
    if (arb_contains_zero(x)) return 0.0;
    return arf_get_d(arb_midref(x), ARF_RND_NEAR);
}

// One member: its value, its IERR (0, 2, 3 or 4) and whether it underflowed.
int Member(const Call& c, double fnu, TCplx& out, bool& under)
{
    under = false;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // The values at z = 0 that the series would leave as 0^ν.
    if (c.Re == 0 && c.Im == 0 && (c.F == Fn::J || c.F == Fn::I)) {
        out = {fnu == 0 ? 1.0 : 0.0, 0.0};
        return 0;
    }
    Ball r;
    int ierr = 0;
    bool asymptotic = TakesK(c) && AsymptoticK(fnu, std::hypot(c.Re, c.Im));
    for (slong prec = asymptotic ? kFirstPrec : SeriesPrec(c, fnu);;) {
        Evaluate(r.v, c, fnu, asymptotic, prec);
        const slong bits = acb_rel_accuracy_bits(r.v);
        if (bits >= kGoalBits) break;
        mag_t m;
        mag_init(m);
        acb_get_mag(m, r.v);
        const bool tiny = mag_cmp_2exp_si(m, -1080) < 0;  // certainly below the Double range
        mag_clear(m);
        if (tiny) {
            out = {0.0, 0.0};
            under = true;
            return 0;
        }
        if (prec >= kMaxPrec) {
            ierr = bits >= kKeepBits ? 3 : 4;
            break;
        }
        if (asymptotic) {
            asymptotic = false;
            prec = SeriesPrec(c, fnu);
        } else {
            prec = std::min(2 * prec, kMaxPrec);
        }
    }
    if (ierr == 4) {
        out = {nan, nan};
        return ierr;
    }
    out = {Nearest(acb_realref(r.v)), Nearest(acb_imagref(r.v))};
    if (std::isinf(out.Re) || std::isinf(out.Im)) return 2;
    if (std::hypot(out.Re, out.Im) < kTiny) {
        out = {0.0, 0.0};
        under = true;
    }
    return ierr;
}

bool Finite(const TCplx& z)
{
    return std::isfinite(z.Re) && std::isfinite(z.Im);
}

// The orders FNU .. FNU + N − 1 into CY; NZ and IERR as core/Nmkl.h states.
void Orders(Fn f, const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, int* IERR,
            bool bad = false)
{
    *NZ = 0;
    const TCplx z = *Z;
    const double fnu = *FNU;
    const int n = *N;
    const bool zero = z.Re == 0 && z.Im == 0;
    if (bad || n < 1 || !(fnu >= 0) || !std::isfinite(fnu) || (*KODE != 1 && *KODE != 2) || !Finite(z) ||
        (zero && (f == Fn::Y || f == Fn::K || f == Fn::H1 || f == Fn::H2))) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (int k = 0; k < n; ++k) CY[k] = {nan, nan};
        *IERR = 1;
        return;
    }
    FreeArbCachesAtExit();
    const Call c{f, z.Re, z.Im == 0 ? 0.0 : z.Im, *KODE == 2, false};
    int worst = 0;
    for (int k = 0; k < n; ++k) {
        bool under = false;
        worst = std::max(worst, Member(c, fnu + k, CY[k], under));
        if (under) ++*NZ;
    }
    *IERR = worst;
}

void Airy(Fn f, const TCplx* Z, const int* ID, const int* KODE, TCplx* R, int* NZ, int* IERR)
{
    *NZ = 0;
    const TCplx z = *Z;
    if ((*ID != 0 && *ID != 1) || (*KODE != 1 && *KODE != 2) || !Finite(z)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        *R = {nan, nan};
        *IERR = 1;
        return;
    }
    FreeArbCachesAtExit();
    const Call c{f, z.Re, z.Im == 0 ? 0.0 : z.Im, *KODE == 2, *ID == 1};
    bool under = false;
    *IERR = Member(c, 0, *R, under);
    if (under) *NZ = 1;
}

}  // namespace

extern "C" {

void CAIRY(const TCplx* Z, const int* ID, const int* KODE, TCplx* AI, int* NZ, int* IERR)
{
    Airy(Fn::Ai, Z, ID, KODE, AI, NZ, IERR);
}

void CBIRY(const TCplx* Z, const int* ID, const int* KODE, TCplx* BI, int* IERR)
{
    int nz = 0;
    Airy(Fn::Bi, Z, ID, KODE, BI, &nz, IERR);
}

void CBESJ(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, int* IERR)
{
    Orders(Fn::J, Z, FNU, KODE, N, CY, NZ, IERR);
}

void CBESI(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, int* IERR)
{
    Orders(Fn::I, Z, FNU, KODE, N, CY, NZ, IERR);
}

void CBESK(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, int* IERR)
{
    Orders(Fn::K, Z, FNU, KODE, N, CY, NZ, IERR);
}

void CBESY(const TCplx* Z, const double* FNU, const int* KODE, const int* N, TCplx* CY, int* NZ, TCplx* /*CWRK*/,
           int* IERR)
{
    Orders(Fn::Y, Z, FNU, KODE, N, CY, NZ, IERR);
}

void CBESH(const TCplx* Z, const double* FNU, const int* KODE, const int* M, const int* N, TCplx* CY, int* NZ,
           int* IERR)
{
    const bool badM = *M != 1 && *M != 2;
    Orders(*M == 2 ? Fn::H2 : Fn::H1, Z, FNU, KODE, N, CY, NZ, IERR, badM);
}

}  // extern "C"

}  // namespace tarnel
