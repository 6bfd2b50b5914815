// Shared between the files of Probabilities; not installed for callers.
#pragma once

namespace tarnel {

// ln(1 + t) − t without the cancellation of the two terms near t = 0 (prob_special.cpp).
double Log1pMinus(double t);
// lnΓ(A) − ((A − ½)ln A − A + ln√(2π)), Stirling's series; for A ≥ 10, error below 1e-15 (prob_special.cpp).
double StirlingTail(double A);

// lnΓ(A), remembered for the last A on this thread: the vector forms and the Newton inverses call the gamma
// distribution's routines with one A again and again (prob_special.cpp).
double LnGammaOfShape(double A);

// e^−λ·λ^X/X! at a whole count X held in a Double (0 below 0 and at INF, NaN for λ ≤ 0).
double PoissonMass(double X, double Lambda);

}  // namespace tarnel
