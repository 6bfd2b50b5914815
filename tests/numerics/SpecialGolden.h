// The special functions' golden tables (tests/data/special_golden.inc): negative orders, complete elliptic
// integrals, Jacobi's elliptic functions and associated Legendre functions.
#pragma once

#include "Feldrin.h"

namespace specialtest {

using tarnel::TCplx;

struct NegOrderRow {
    const char* Fn;
    double Nu;
    TCplx Z;
    TCplx Plain;
    TCplx Scaled;
};
struct EllipRow {
    double M, K, E;
};
struct JacobiRow {
    double U, M, Sn, Cn, Dn;
};
struct LegendreRow {
    int N, M;
    double X, P;
};
#include "special_golden.inc"

}  // namespace specialtest
