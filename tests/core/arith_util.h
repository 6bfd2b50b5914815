// Shared by the tests of vector arithmetic on two operands and on one operand: the golden inputs as vectors and a
// runner for tables of calling forms checked against the golden results.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "elem_util.h"
// clang-format off
#include "arith_golden.inc"
// clang-format on

namespace arithtest {

using namespace elemtest;

// Golden inputs (tests/data/gen_arith_golden.py): x, y real; z, w complex; q complex roots; qr positive and
// negative reals for the real roots. y and w hold zero and tiny divisors.
struct Inputs {
    TVec x, y, z, w, q, qr;
    Inputs()
    {
        Set(x, false, kArithX);
        Set(y, false, kArithY);
        Set(z, true, kArithZ);
        Set(w, true, kArithW);
        Set(q, true, kArithQ);
        Set(qr, false, kArithQr);
    }
};

// One calling form: Run computes into the result vector, which must then hold Expected (of the kind Complex).
struct GoldenCase {
    const char* what;
    std::function<void()> run;
    bool complex;
    const std::vector<double>* expected;
    double rel;  // 0: bit for bit
};

// Runs each case on R (first made a real vector of 3 elements, so that the sizing of every form shows) and
// compares.
inline void RunCases(TVec& R, const std::vector<GoldenCase>& Cases)
{
    for (const GoldenCase& c : Cases) {
        R.Size(3, false);
        c.run();
        if (c.rel == 0)
            ExpectSame(R, c.complex, *c.expected, c.what);
        else
            ExpectNear(R, c.complex, *c.expected, c.rel, c.what);
    }
}

// A complex vector of N copies of the element (Re, Im), or a real one of N copies of Re.
inline void Fill(TVec& V, int N, bool Complex, double Re, double Im = 0)
{
    V.Size(N, Complex);
    for (int i = 0; i < N; ++i) {
        if (Complex)
            V.CValues()[i] = Cplx(Re, Im);
        else
            V.Values()[i] = Re;
    }
}

}  // namespace arithtest
