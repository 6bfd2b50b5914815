// The iteration cores of the iterative solvers. Each starts from the X it is given, runs the stopping test at
// ITER 0 and after every iteration, and leaves X at the last iterate however it ends.
//
//   Refine    x := x + M⁻¹(b − A·x)                                  (Jacobi, Gauss–Seidel, ILU refinement)
//   Pcg       conjugate gradients with M⁻¹ applied to the residual   (IC(0))
//   BiCg      biconjugate gradients, the shadow system with Aᵀ and M⁻ᵀ, shadow residual r̃₀ = r₀
//   Cgn       CG on A·Aᵀ·y = b, x = Aᵀ·y, preconditioned with M·Mᵀ; only x and Aᵀ·p are kept
//   Cgs       CG squared on the left-preconditioned system M⁻¹A·x = M⁻¹b; the true residual is carried too
//   Gmres     restarted GMRES on M⁻¹A·x = M⁻¹b: modified Gram–Schmidt, Givens rotations, the preconditioned
//             residual from the rotations
//   Orthomin  directions M⁻¹r made A-orthogonal (in the sense (A·p_i, A·p_j) = 0) to the last NSave ones, each
//             step minimising ‖b − A·x‖ along its direction
//
// Breakdowns: 5 where (r, z) (CG, CGN) is not positive or where BiCG's and CGS's ρ = (r̃, z) vanishes; 6 where
// (p, A·p) (CG), ‖Aᵀp‖² (CGN), BiCG's and CGS's (p̃, A·p) or Orthomin's ‖A·p‖² is not positive or vanishes. A
// scalar that is not finite is a breakdown too, so a poisoned system ends at once; a refinement whose estimate is
// no longer finite ends unconverged. GMRES has no breakdown: a step that cannot reduce the residual ends the
// solve as unconverged.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "platform/lapack/SlapInternal.h"

namespace tarnel::slap {

namespace {

using Vec = std::vector<double>;

double Dot(const double* a, const double* b, int n)
{
    // Four partial sums in a fixed order: the same result in every build.
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        s0 += a[i] * b[i];
        s1 += a[i + 1] * b[i + 1];
        s2 += a[i + 2] * b[i + 2];
        s3 += a[i + 3] * b[i + 3];
    }
    for (; i < n; ++i) s0 += a[i] * b[i];
    return (s0 + s1) + (s2 + s3);
}

// ‖a‖₂; rescaled by the largest magnitude where the plain sum of squares overflows or loses its digits to
// underflow, so the stopping test never compares an infinite or flushed norm of finite data.
double Norm(const double* a, int n)
{
    const double s = Dot(a, a, n);
    if (s < 0x1p1000 && s > 0x1p-900) return std::sqrt(s);
    double big = 0;
    for (int i = 0; i < n; ++i) big = std::max(big, std::fabs(a[i]));
    if (big == 0 || !std::isfinite(big)) return std::isnan(s) ? s : big;
    double t = 0;
    for (int i = 0; i < n; ++i) t += (a[i] / big) * (a[i] / big);
    return big * std::sqrt(t);
}

// y := y + a·x
void Axpy(double a, const double* x, double* y, int n)
{
    for (int i = 0; i < n; ++i) y[i] += a * x[i];
}

// Nonzero and finite: a usable divisor of ρ or σ.
bool Usable(double v)
{
    return v != 0 && std::isfinite(v);
}

bool Positive(double v)
{
    return v > 0 && std::isfinite(v);
}

struct TCore {
    TRun& R;
    const int n;
    double Den = 0;

    explicit TCore(TRun& Run) : R(Run), n(Run.A.N) {}

    // r := b − A·x
    void Residual(double* r) const
    {
        MatVec(R.A, R.X, r);
        for (int i = 0; i < n; ++i) r[i] = R.B[i] - r[i];
    }
    // z := M⁻¹·v
    void Precondition(const double* v, double* z) const
    {
        std::copy(v, v + n, z);
        Solve(R.M, z);
    }
    // The denominator of the test: ‖b‖ for ITOL 1, else ‖M⁻¹b‖.
    void SetDenominator()
    {
        if (R.Itol == 1) {
            Den = Norm(R.B, n);
        } else {
            Vec t(static_cast<std::size_t>(n));
            Precondition(R.B, t.data());
            Den = Norm(t.data(), n);
        }
    }
    // The test on a numerator measured after Iter iterations.
    bool Met(double Numerator)
    {
        R.Err = Numerator / Den;
        return R.Err <= R.Tol;
    }
    // ‖r‖ for ITOL 1, ‖z‖ (z = M⁻¹r) otherwise.
    bool Met(const double* r, const double* z) { return Met(Norm(R.Itol == 1 ? r : z, n)); }
    Vec New() const { return Vec(static_cast<std::size_t>(n)); }
};

}  // namespace

int Refine(TRun& R)
{
    TCore c(R);
    const int n = c.n;
    c.SetDenominator();
    Vec r = c.New(), z = c.New();
    c.Residual(r.data());
    c.Precondition(r.data(), z.data());
    if (c.Met(r.data(), z.data())) return 0;
    for (int k = 1; k <= R.ItMax; ++k) {
        Axpy(1, z.data(), R.X, n);
        c.Residual(r.data());
        c.Precondition(r.data(), z.data());
        R.Iter = k;
        if (c.Met(r.data(), z.data())) return 0;
        if (!std::isfinite(R.Err)) return 2;  // a poisoned iterate never recovers
    }
    return 2;
}

int Pcg(TRun& R)
{
    TCore c(R);
    const int n = c.n;
    c.SetDenominator();
    Vec r = c.New(), z = c.New(), p = c.New(), q = c.New();
    c.Residual(r.data());
    c.Precondition(r.data(), z.data());
    if (c.Met(r.data(), z.data())) return 0;
    double rz = Dot(r.data(), z.data(), n);
    if (!Positive(rz)) return 5;
    p = z;
    for (int k = 1; k <= R.ItMax; ++k) {
        MatVec(R.A, p.data(), q.data());
        const double pq = Dot(p.data(), q.data(), n);
        if (!Positive(pq)) return 6;
        const double alpha = rz / pq;
        Axpy(alpha, p.data(), R.X, n);
        Axpy(-alpha, q.data(), r.data(), n);
        c.Precondition(r.data(), z.data());
        R.Iter = k;
        if (c.Met(r.data(), z.data())) return 0;
        const double rzNew = Dot(r.data(), z.data(), n);
        if (!Positive(rzNew)) return 5;
        const double beta = rzNew / rz;
        rz = rzNew;
        for (int i = 0; i < n; ++i) p[i] = z[i] + beta * p[i];
    }
    return 2;
}

int BiCg(TRun& R)
{
    TCore c(R);
    const int n = c.n;
    c.SetDenominator();
    Vec r = c.New(), z = c.New(), p = c.New(), q = c.New();
    Vec rt = c.New(), zt = c.New(), pt = c.New(), qt = c.New();
    c.Residual(r.data());
    c.Precondition(r.data(), z.data());
    if (c.Met(r.data(), z.data())) return 0;
    rt = r;
    zt = rt;
    SolveT(R.M, zt.data());
    double rhoOld = 0;
    for (int k = 1; k <= R.ItMax; ++k) {
        const double rho = Dot(z.data(), rt.data(), n);
        if (!Usable(rho)) return 5;
        if (k == 1) {
            p = z;
            pt = zt;
        } else {
            const double beta = rho / rhoOld;
            for (int i = 0; i < n; ++i) {
                p[i] = z[i] + beta * p[i];
                pt[i] = zt[i] + beta * pt[i];
            }
        }
        MatVec(R.A, p.data(), q.data());
        MatVecT(R.A, pt.data(), qt.data());
        const double sigma = Dot(pt.data(), q.data(), n);
        if (!Usable(sigma)) return 6;
        const double alpha = rho / sigma;
        Axpy(alpha, p.data(), R.X, n);
        Axpy(-alpha, q.data(), r.data(), n);
        Axpy(-alpha, qt.data(), rt.data(), n);
        c.Precondition(r.data(), z.data());
        R.Iter = k;
        if (c.Met(r.data(), z.data())) return 0;
        zt = rt;
        SolveT(R.M, zt.data());
        rhoOld = rho;
    }
    return 2;
}

int Cgn(TRun& R)
{
    TCore c(R);
    const int n = c.n;
    Vec r = c.New(), z = c.New(), atz = c.New(), ph = c.New(), q = c.New();
    // z := (M·Mᵀ)⁻¹·v, atz := Aᵀ·z
    auto precondition = [&](const double* v) {
        std::copy(v, v + n, z.data());
        SolveMMT(R.M, z.data());
        MatVecT(R.A, z.data(), atz.data());
    };
    if (R.Itol == 1) {
        c.Den = Norm(R.B, n);
    } else {
        precondition(R.B);
        c.Den = Norm(atz.data(), n);
    }
    c.Residual(r.data());
    precondition(r.data());
    if (c.Met(r.data(), atz.data())) return 0;
    double rz = Dot(r.data(), z.data(), n);
    if (!Positive(rz)) return 5;
    ph = atz;  // Aᵀ·p with p = z
    for (int k = 1; k <= R.ItMax; ++k) {
        const double pap = Dot(ph.data(), ph.data(), n);
        if (!Positive(pap)) return 6;
        const double alpha = rz / pap;
        Axpy(alpha, ph.data(), R.X, n);
        MatVec(R.A, ph.data(), q.data());
        Axpy(-alpha, q.data(), r.data(), n);
        precondition(r.data());
        R.Iter = k;
        if (c.Met(r.data(), atz.data())) return 0;
        const double rzNew = Dot(r.data(), z.data(), n);
        if (!Positive(rzNew)) return 5;
        const double beta = rzNew / rz;
        rz = rzNew;
        for (int i = 0; i < n; ++i) ph[i] = atz[i] + beta * ph[i];
    }
    return 2;
}

int Cgs(TRun& R)
{
    TCore c(R);
    const int n = c.n;
    c.SetDenominator();
    Vec r = c.New(), rh = c.New(), rt = c.New(), u = c.New(), p = c.New(), q = c.New(), v = c.New(), w = c.New(),
        t = c.New();
    c.Residual(r.data());
    c.Precondition(r.data(), rh.data());
    if (c.Met(r.data(), rh.data())) return 0;
    rt = rh;
    double rhoOld = 0;
    for (int k = 1; k <= R.ItMax; ++k) {
        const double rho = Dot(rt.data(), rh.data(), n);
        if (!Usable(rho)) return 5;
        if (k == 1) {
            u = rh;
            p = u;
        } else {
            const double beta = rho / rhoOld;
            for (int i = 0; i < n; ++i) {
                u[i] = rh[i] + beta * q[i];
                p[i] = u[i] + beta * (q[i] + beta * p[i]);
            }
        }
        MatVec(R.A, p.data(), v.data());
        Solve(R.M, v.data());
        const double sigma = Dot(rt.data(), v.data(), n);
        if (!Usable(sigma)) return 6;
        const double alpha = rho / sigma;
        for (int i = 0; i < n; ++i) {
            q[i] = u[i] - alpha * v[i];
            w[i] = u[i] + q[i];
        }
        Axpy(alpha, w.data(), R.X, n);
        MatVec(R.A, w.data(), t.data());
        Axpy(-alpha, t.data(), r.data(), n);
        Solve(R.M, t.data());
        Axpy(-alpha, t.data(), rh.data(), n);
        R.Iter = k;
        if (c.Met(r.data(), rh.data())) return 0;
        rhoOld = rho;
    }
    return 2;
}

int Gmres(TRun& R)
{
    TCore c(R);
    const int n = c.n;
    // A cycle never holds more vectors than the order or the iterations allowed.
    const int m = std::max(1, std::min({R.NSave, n, std::max(R.ItMax, 1)}));
    c.SetDenominator();
    Vec r = c.New(), w = c.New();
    c.Residual(r.data());
    Solve(R.M, r.data());
    double beta = Norm(r.data(), n);
    if (c.Met(beta)) return 0;

    std::vector<Vec> V;  // the Krylov basis, grown as the cycle needs it
    std::vector<Vec> H;  // column j: h(0..j+1, j), rotated into R(0..j, j)
    Vec cs(static_cast<std::size_t>(m)), sn(static_cast<std::size_t>(m)), g(static_cast<std::size_t>(m) + 1);
    while (R.Iter < R.ItMax) {
        if (V.empty()) V.push_back(c.New());
        for (int i = 0; i < n; ++i) V[0][i] = r[i] / beta;
        std::fill(g.begin(), g.end(), 0.0);
        g[0] = beta;
        int k = 0;
        bool converged = false, stalled = false;
        for (int j = 0; j < m; ++j) {
            MatVec(R.A, V[j].data(), w.data());
            Solve(R.M, w.data());
            if (H.size() <= static_cast<std::size_t>(j)) H.emplace_back(static_cast<std::size_t>(j) + 2);
            Vec& h = H[j];
            for (int i = 0; i <= j; ++i) {
                h[i] = Dot(w.data(), V[i].data(), n);
                Axpy(-h[i], V[i].data(), w.data(), n);
            }
            const double hn = Norm(w.data(), n);
            for (int i = 0; i < j; ++i) {
                const double a = h[i], b = h[i + 1];
                h[i] = cs[i] * a + sn[i] * b;
                h[i + 1] = -sn[i] * a + cs[i] * b;
            }
            const double rr = std::hypot(h[j], hn);
            if (!(rr > 0) || !std::isfinite(rr)) {
                stalled = true;  // the new direction cannot reduce the residual (or it is poisoned)
                break;
            }
            cs[j] = h[j] / rr;
            sn[j] = hn / rr;
            h[j] = rr;
            h[j + 1] = 0;
            g[j + 1] = -sn[j] * g[j];
            g[j] = cs[j] * g[j];
            k = j + 1;
            ++R.Iter;
            if (c.Met(std::fabs(g[j + 1]))) {
                converged = true;
                break;
            }
            if (R.Iter >= R.ItMax || hn == 0) break;
            if (V.size() <= static_cast<std::size_t>(j) + 1) V.push_back(c.New());
            for (int i = 0; i < n; ++i) V[j + 1][i] = w[i] / hn;
        }
        // x := x + V·y with R·y = g, R upper triangular k × k.
        Vec y(g.begin(), g.begin() + k);
        for (int i = k - 1; i >= 0; --i) {
            for (int l = i + 1; l < k; ++l) y[i] -= H[l][i] * y[l];
            y[i] /= H[i][i];
        }
        for (int i = 0; i < k; ++i) Axpy(y[i], V[i].data(), R.X, n);
        if (converged) return 0;
        if (stalled || R.Iter >= R.ItMax) return 2;
        c.Residual(r.data());
        Solve(R.M, r.data());
        beta = Norm(r.data(), n);
        if (!(beta > 0)) return c.Met(beta) ? 0 : 2;
    }
    return 2;
}

int Orthomin(TRun& R)
{
    TCore c(R);
    const int n = c.n;
    c.SetDenominator();
    // Directions older than the iterations allowed never exist, whatever NSave says.
    const int saved = std::max(0, std::min(R.NSave, R.ItMax));
    const std::size_t slots = static_cast<std::size_t>(saved) + 1;
    std::vector<Vec> P(slots), Q(slots);  // grown as used
    Vec qq(slots);
    Vec r = c.New(), z = c.New();
    c.Residual(r.data());
    c.Precondition(r.data(), z.data());
    if (c.Met(r.data(), z.data())) return 0;
    P[0] = z;
    Q[0] = c.New();
    MatVec(R.A, P[0].data(), Q[0].data());
    for (int k = 1; k <= R.ItMax; ++k) {
        const std::size_t s = static_cast<std::size_t>(k - 1) % slots;
        qq[s] = Dot(Q[s].data(), Q[s].data(), n);
        if (!Positive(qq[s])) return 6;
        const double alpha = Dot(r.data(), Q[s].data(), n) / qq[s];
        Axpy(alpha, P[s].data(), R.X, n);
        Axpy(-alpha, Q[s].data(), r.data(), n);
        c.Precondition(r.data(), z.data());
        R.Iter = k;
        if (c.Met(r.data(), z.data())) return 0;
        if (k == R.ItMax) break;
        // The next direction, in the slot of the oldest, made orthogonal to the last `saved` ones.
        const std::size_t next = static_cast<std::size_t>(k) % slots;
        P[next] = z;
        if (Q[next].empty()) Q[next] = c.New();
        MatVec(R.A, P[next].data(), Q[next].data());
        for (int back = 0; back < std::min(saved, k); ++back) {
            const std::size_t j = static_cast<std::size_t>(k - 1 - back) % slots;
            const double b = Dot(Q[next].data(), Q[j].data(), n) / qq[j];
            Axpy(-b, P[j].data(), P[next].data(), n);
            Axpy(-b, Q[j].data(), Q[next].data(), n);
        }
    }
    return 2;
}

}  // namespace tarnel::slap
