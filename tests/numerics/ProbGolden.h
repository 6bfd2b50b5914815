// The golden tables of Probabilities (tests/data/prob_special_golden.inc).
#pragma once

#include "Feldrin.h"

namespace probtest {

struct ProbGammaRow {
    double A, X, P, Q;
};
struct ProbCGammaRow {
    double A, ZRe, ZIm, PRe, PIm, QRe, QIm;
};
struct ProbBetaRow {
    double X, A, B, I;
};
struct ProbErfRow {
    double X, Erf, Erfc;
};
struct ProbErfInvRow {
    double Y, X;
};
struct ProbBinomialRow {
    int N, K;
    double C;
};
#include "prob_special_golden.inc"
// Python's math.erf and math.erfc (tests/data/erf_golden.inc).
using ErfRow = ProbErfRow;
#include "erf_golden.inc"

}  // namespace probtest

namespace probtest {

struct ProbDistRow {
    const char* Name;
    double X, P1, P2, Pdf, Cdf;
};
struct ProbInvRow {
    const char* Name;
    double P, P1, P2, X;
};
#include "prob_dist_golden.inc"

}  // namespace probtest

namespace probtest {

struct ProbDiscreteRow {
    const char* Name;
    double X, P1, P2, P3, Pdf, Cdf;
};
struct ProbDiscreteInvRow {
    const char* Name;
    double Y, P1, P2, P3, K;
};
#include "prob_discrete_golden.inc"

}  // namespace probtest
