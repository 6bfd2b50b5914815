// The error function and its complement: direct kernels, accurate to a few units in the last place.
//
//   |x| ≤ ½:   erf(x) = x·P(x²), erfc(x) = 1 − erf(x);
//   |x| > ½:   erfc(|x|) = e^(−x²)·R(|x|), R = e^(x²)·erfc(x) a polynomial on five intervals of [½, 4] and, from 4
//              on, x·R(x) a polynomial in 1/x²; erf(x) = ±(1 − erfc(|x|)), erfc(−|x|) = 2 − erfc(|x|).
//
// The polynomials are fitted by tests/data/gen_erf_coefficients.py (each within 1e-17 relative). e^(−x²) is formed
// without the rounding of x², which would cost up to x²·2^-53 relative (700 units of the last place near the
// underflow): x = h + l with h holding 26 bits, so h² is exact, and e^(−x²) = e^(−h²)·e^(−l(x + h)).
#include <bit>
#include <cmath>
#include <cstdint>

#include "numerics/Probabilities.h"

namespace tarnel {

namespace {

struct TErfcPiece {
    double A, B, M;
    double C[16];
    int Terms;
};

// erf(x)/x in x², |x| <= 1/2
constexpr double kErfSmall[] = {
    -1.462091340945175e-07, 1.637123442577e-06,    -1.4923003368152099e-05, 0.00012055286202005714,
    -0.0008548326510724796, 0.0052239776220169365, -0.02686617064499972,    0.1128379167095487,
    -0.3761263890318375,    1.1283791670955126,
};
// e^(x²)·erfc(x) in x − m on [a, b]: a, b, m, then the coefficients
constexpr TErfcPiece kErfcMid[] = {
    {0.5,
     1,
     0.75,
     {4.6468063021709155e-06, -1.4426531927022256e-05, 4.236277872839012e-05, -0.00012332254905491935,
      0.00034675112699586235, -0.0009385135840131843, 0.002437637348879293, -0.006051532258236163, 0.014289198666091785,
      -0.03189726204019368, 0.06679054252756783, -0.12983606199487813, 0.2309581315512983, -0.3679726916557954,
      0.5069376502931449},
     15},
    {1,
     1.5,
     1.25,
     {-1.6610767030625112e-06, 5.501701839828387e-06, -1.7341459254977562e-05, 5.404491508514403e-05,
      -0.00016296012111131222, 0.0004739707006153454, -0.0013257829272368543, 0.003553109894683297,
      -0.009081627632959959, 0.022011364250946238, -0.05021827439590747, 0.10679557149659845, -0.20882187596460985,
      0.3678229164523611},
     14},
    {1.5,
     2,
     1.75,
     {-2.3131132443809953e-07, 8.406449608561853e-07, -2.92763224927802e-06, 1.0085518680104132e-05,
      -3.375536830552878e-05, 0.0001095053381684006, -0.00034353335318474803, 0.001039204521356914,
      -0.0030209746514281146, 0.008404319207340187, -0.022259995241388317, 0.05576363008708723, -0.1309763455144852,
      0.2849722347374364},
     14},
    {2,
     2.75,
     2.375,
     {6.092021907797493e-09, -2.529732617457948e-08, 9.968944266241095e-08, -3.9624737452233866e-07,
      1.5398272795716446e-06, -5.837333142112131e-06, 2.1562741825104055e-05, -7.74794334154884e-05,
      0.00027026462492897547, -0.0009130565046291915, 0.002979303073191575, -0.009358486060329844, 0.028185010539667613,
      -0.08097712912220592, 0.22050569220490668},
     15},
    {2.75,
     4,
     3.375,
     {-4.7988402915689315e-11, 2.385985523243169e-10, -1.0931349260957122e-09, 5.254797513358509e-09,
      -2.4884191192334578e-08, 1.1556987366157374e-07, -5.268974887594399e-07, 2.356112719522604e-06,
      -1.032292155801962e-05, 4.4264313430377405e-05, -0.00018552228305012154, 0.0007589306454143947,
      -0.0030251966359095945, 0.011727899937029227, -0.044119457241337846, 0.1606310681265444},
     16},
};
// x·e^(x²)·erfc(x) in 1/x², x >= 4
constexpr double kErfcTail[] = {
    -583029210.4454905,  345022818.1402942,   -98105742.03701618,   18253198.281488802,
    -2590303.65713741,   315353.50094006304,  -36630.851164382475,  4437.032220264238,
    -595.1288191881648,  91.63048369357551,   -16.661170063440455,  3.7024938372936087,
    -1.0578554680951964, 0.42314218765887884, -0.28209479177387675, 0.5641895835477563,
};
// largest relative error of the fits: 1.3e-18

double Horner(const double* C, int N, double T)
{
    double s = C[0];
    for (int k = 1; k < N; ++k) s = s * T + C[k];
    return s;
}

template <int N>
double Horner(const double (&C)[N], double T)
{
    return Horner(C, N, T);
}

// e^(−x²) for 0 ≤ x < 27.5, to about an ulp.
double ExpMinusSquare(double x)
{
    const double h = std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) & ~((std::uint64_t{1} << 27) - 1));
    const double d = (x - h) * (x + h);  // below 2^-25·x² ≤ 2.3e-5: four terms of e^−d are exact to 1e-20
    return std::exp(-h * h) * (1 - d * (1 - d * (0.5 - d / 6)));
}

// erfc(x) for x > ½ (INF included).
double ErfcAbove(double x)
{
    if (x >= 27.5) return 0;  // below the smallest subnormal from 27.3 on
    for (const TErfcPiece& p : kErfcMid)
        if (x <= p.B) return ExpMinusSquare(x) * Horner(p.C, p.Terms, x - p.M);
    return ExpMinusSquare(x) * Horner(kErfcTail, 1 / (x * x)) / x;
}

}  // namespace

double Erf(double X)
{
    if (std::isnan(X)) return NAN;
    const double a = std::fabs(X);
    // Below 2^-26 the next term, 2x³/(3√π), is under half a unit of the first; and x² would underflow further on.
    if (a < 0x1p-26) return 2 / SQRTPI * X;
    if (a <= 0.5) return X * Horner(kErfSmall, X * X);
    const double r = a >= 6 ? 1 : 1 - ErfcAbove(a);  // erfc(6) = 2e-17 no longer changes 1
    return X < 0 ? -r : r;
}

double Erfc(double X)
{
    if (std::isnan(X)) return NAN;
    if (std::fabs(X) <= 0.5) return 1 - (std::fabs(X) < 0x1p-26 ? 2 / SQRTPI * X : X * Horner(kErfSmall, X * X));
    const double c = ErfcAbove(std::fabs(X));
    return X > 0 ? c : 2 - c;
}

}  // namespace tarnel
