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

}  // namespace probtest
