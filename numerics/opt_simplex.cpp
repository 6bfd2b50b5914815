// The Nelder-Mead simplex method. The n + 1 vertices are the rows of S, their values F. A pass ranks the vertices
// (best: the lowest value, worst: the highest; a new lowest value is not compared with the worst, ties keep the lower
// index), reflects the worst vertex through the centroid C of the others to R = (C - S[worst]) + C and then:
// - R below the best: tries the expansion E = 3·R - 2·C and keeps E if it is below the best too, else R;
// - R below some other vertex: keeps R;
// - otherwise: keeps R if it is not above the worst, then contracts the worst towards C, E = (S[worst] + C)·0.5,
//   keeping E if it is not above the worst value, else shrinks every vertex halfway towards the best (their values
//   in F stay as they were: the next ranking sees the stale values).
// The pass ends with the spread max |S[worst][i] - S[best][i]|, S[worst] being the row just written.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/TempGuard.h"
#include "numerics/Optimization.h"
#include "numerics/OptimizationLog.h"

namespace tarnel {

namespace {

// The start of the best-so-far value the log shows (bits 7FEFFFFFFFFFFFFB, four units below the largest Double).
constexpr double kBestStart = 1.797693134862315E308;

}  // namespace

int Simplex(TOptFunction Fun, std::span<double> Pars, std::span<const double> Consts, std::span<void* const> OConsts,
            double& FMin, TOptStopReason& StopReason, int MaxIter, double Tol, TStrings* Verbose)
{
    const int n = static_cast<int>(Pars.size());
    const std::size_t un = Pars.size();
    detail::TMtxTemp sm;
    detail::TVecTemp fv, cv, rv, ev, buf;
    sm->Size(n + 1, n);
    fv->Size(n + 1);
    cv->Size(n);
    rv->Size(n);
    ev->Size(n);
    buf->Size(n);
    double* const S = sm->Values();
    double* const F = fv->Values();
    double* const C = cv->Values();
    double* const R = rv->Values();
    double* const E = ev->Values();
    double* const row = buf->Values();
    const auto Row = [&](int j) { return S + static_cast<std::int64_t>(j) * n; };
    const auto f = [&](const double* At) { return Fun(std::span<const double>(At, un), Consts, OConsts); };
    const auto Replace = [&](int j, const double* From, double Value) {
        std::copy(From, From + n, Row(j));
        F[j] = Value;
    };

    const detail::TOptLog log(Verbose, "Simplex", "Iteration Fun", Tol);
    StopReason = OptResNotFound;
    // Vertex j < n is the start point with coordinate j scaled, vertex n the start point itself; each is built in
    // the row buffer, evaluated there and stored.
    for (int j = 0; j <= n; ++j) {
        std::copy(Pars.begin(), Pars.end(), row);
        if (j < n) row[j] = row[j] != 0 ? 1.05 * row[j] : 0.0025;
        Replace(j, row, f(row));
    }

    double bestSoFar = kBestStart;
    int iter = 0;
    int best = 0;
    while (StopReason == OptResNotFound) {
        best = 0;
        int worst = 0;
        for (int j = 1; j <= n; ++j) {
            if (F[j] < F[best])
                best = j;
            else if (F[j] > F[worst])
                worst = j;
        }
        if (F[best] < bestSoFar) bestSoFar = F[best];
        log.Line(iter, bestSoFar);

        std::fill(C, C + n, 0.0);
        for (int j = 0; j <= n; ++j) {
            if (j == worst) continue;
            const double* s = Row(j);
            for (int i = 0; i < n; ++i) C[i] += s[i];
        }
        for (int i = 0; i < n; ++i) C[i] /= n;

        double* const sw = Row(worst);
        for (int i = 0; i < n; ++i) R[i] = (C[i] - sw[i]) + C[i];
        const double fr = f(R);
        if (fr < F[best]) {
            for (int i = 0; i < n; ++i) E[i] = 3 * R[i] - 2 * C[i];
            const double fe = f(E);
            if (fe >= F[best])
                Replace(worst, R, fr);
            else
                Replace(worst, E, fe);
        } else {
            bool belowOther = false;
            for (int j = 0; j <= n && !belowOther; ++j) belowOther = j != worst && F[j] > fr;
            if (belowOther) {
                Replace(worst, R, fr);
            } else {
                if (fr <= F[worst]) Replace(worst, R, fr);
                for (int i = 0; i < n; ++i) E[i] = (sw[i] + C[i]) * 0.5;
                const double fc = f(E);
                if (fc <= F[worst]) {
                    Replace(worst, E, fc);
                } else {
                    const double* sb = Row(best);
                    for (int j = 0; j <= n; ++j) {
                        double* s = Row(j);
                        for (int i = 0; i < n; ++i) s[i] = (s[i] + sb[i]) * 0.5;
                    }
                }
            }
        }

        const double* sb = Row(best);
        double spread = 0;
        for (int i = 0; i < n; ++i) spread = std::max(spread, std::fabs(sw[i] - sb[i]));
        ++iter;
        if (Tol > spread)
            StopReason = OptResConverged;
        else if (iter > MaxIter)
            StopReason = OptResMaxIter;
    }
    std::copy(Row(best), Row(best) + n, Pars.begin());
    FMin = F[best];
    if (iter > MaxIter) StopReason = OptResMaxIter;
    return iter;
}

}  // namespace tarnel
