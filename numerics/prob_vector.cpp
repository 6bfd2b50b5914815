// The element-by-element vector forms of Probabilities: Res[i] := the scalar routine at X[i].
//
// X is held still through detail::TStable (a pooled copy when it shares memory with Res, as X = Res or an
// overlapping view), Res is sized like X, and the loop addresses both blocks directly.
#include <climits>
#include <cmath>

#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Probabilities.h"
#include "numerics/prob_internal.h"

namespace tarnel {

namespace {

template <class F>
void PerElement(const TVec& X, TVec& Res, const char* ComplexMsg, const F& Fn)
{
    if (X.Complex()) ERaise(ComplexMsg);
    detail::TStable x(X, Res);
    const int n = x->Length();
    Res.Size(n, false);
    const double* src = x->Values();
    double* dst = Res.Values();
    for (int i = 0; i < n; ++i) dst[i] = Fn(src[i]);
}

// A count for the Integer arguments: truncated, held at the ends of the Integers (NaN is handled before).
int Count(double v)
{
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(std::trunc(v));
}

// A degree of freedom taken as whole within 0.0001, rounded; false for anything else (non-finite included).
bool WholeNu(double v, int& Nu)
{
    if (!(std::fabs(v) < 2147483647.0)) return false;
    const double r = std::nearbyint(v);
    if (std::fabs(v - r) > 0.0001) return false;
    Nu = static_cast<int>(r);
    return true;
}

}  // namespace

void BetaPDF(const TVec& X, double A, double B, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return BetaPDF(x, A, B); });
}

void BetaCDF(const TVec& X, double A, double B, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return BetaCDF(x, A, B); });
}

void BetaCDFInv(const TVec& X, double A, double B, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double p) { return BetaCDFInv(p, A, B); });
}

void BinomPDF(const TVec& X, int N, double P, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return BinomPDF(x, N, P); });
}

void BinomCDF(const TVec& X, int N, double P, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return BinomCDF(x, N, P); });
}

void BinomCDFInv(const TVec& Y, int N, double P, TVec& Res)
{
    PerElement(Y, Res, msg::kProbYComplex, [=](double y) { return BinomCDFInv(y, N, P); });
}

void ChiSquarePDF(const TVec& X, double Nu, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return ChiSquarePDF(x, Nu); });
}

void ChiSquareCDF(const TVec& X, int Nu, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return ChiSquareCDF(x, Nu); });
}

void ChiSquareCDFInv(const TVec& P, int Nu, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return ChiSquareCDFInv(p, Nu); });
}

void FCDF(const TVec& X, int Nu1, int Nu2, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return FCDF(x, Nu1, Nu2); });
}

void FCDFInv(double P, const TVec& Nu1, const TVec& Nu2, TVec& Res)
{
    if (Nu1.Complex() || Nu2.Complex()) ERaise(msg::kProbNuComplex);
    if (Nu1.Length() != Nu2.Length()) ERaise(msg::kProbNuLength);
    detail::TStable a(Nu1, Res), b(Nu2, Res);
    const int n = a->Length();
    Res.Size(n, false);
    const double *n1 = a->Values(), *n2 = b->Values();
    double* dst = Res.Values();
    for (int i = 0; i < n; ++i) {
        int v1 = 0, v2 = 0;
        dst[i] = WholeNu(n1[i], v1) && WholeNu(n2[i], v2) ? FCDFInv(P, v1, v2) : NAN;
    }
}

void GammaPDF(const TVec& X, double A, double B, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return GammaPDF(x, A, B); });
}

void GammaCDF(const TVec& X, double A, double B, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return GammaCDF(x, A, B); });
}

void GammaCDFInv(const TVec& P, double A, double B, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return GammaCDFInv(p, A, B); });
}

void GeometricPDF(const TVec& X, double P, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return GeometricPDF(x, P); });
}

void GeometricCDF(const TVec& X, double P, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return GeometricCDF(x, P); });
}

void GeometricCDFInv(const TVec& Y, double P, TVec& Res)
{
    PerElement(Y, Res, msg::kProbYComplex, [=](double y) { return GeometricCDFInv(y, P); });
}

void HypGeometricPDF(const TVec& X, int M, int K, int N, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex,
               [=](double x) { return std::isnan(x) ? NAN : HypGeometricPDF(Count(x), M, K, N); });
}

void HypGeometricCDF(const TVec& X, int M, int K, int N, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex,
               [=](double x) { return std::isnan(x) ? NAN : HypGeometricCDF(Count(x), M, K, N); });
}

void HypGeometricCDFInv(const TVec& P, int M, int K, int N, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return HypGeometricCDFInv(p, M, K, N); });
}

void LogNormalCDF(const TVec& X, double Mu, double Sigma, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return LogNormalCDF(x, Mu, Sigma); });
}

void LogNormalCDFInv(const TVec& P, double Mu, double Sigma, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return LogNormalCDFInv(p, Mu, Sigma); });
}

void MaxwellCDF(const TVec& X, double A, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return MaxwellCDF(x, A); });
}

void MaxwellCDFInv(const TVec& P, double A, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return MaxwellCDFInv(p, A); });
}

void NegBinomPDF(const TVec& X, int R, double P, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return NegBinomPDF(x, R, P); });
}

void NegBinomCDF(const TVec& X, int R, double P, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return NegBinomCDF(x, R, P); });
}

void NegBinomCDFInv(const TVec& Y, int R, double P, TVec& Res)
{
    PerElement(Y, Res, msg::kProbYComplex, [=](double y) { return NegBinomCDFInv(y, R, P); });
}

void NormalCDF(const TVec& X, double Mu, double Sigma, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return NormalCDF(x, Mu, Sigma); });
}

void NormalCDFInv(const TVec& P, double Mu, double Sigma, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return NormalCDFInv(p, Mu, Sigma); });
}

void PoissonPDF(const TVec& X, double Lambda, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return std::trunc(x) == x ? PoissonMass(x, Lambda) : NAN; });
}

void PoissonCDF(const TVec& X, double Lambda, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return PoissonCDF(x, Lambda); });
}

void PoissonCDFInv(const TVec& P, double Lambda, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return PoissonCDFInv(p, Lambda); });
}

void StudentPDF(const TVec& X, int Nu, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return StudentPDF(x, Nu); });
}

void StudentCDF(const TVec& X, int Nu, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return StudentCDF(x, Nu); });
}

void StudentCDFInv(const TVec& P, int Nu, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return StudentCDFInv(p, Nu); });
}

void UniformDPDF(const TVec& X, int N, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return UniformDPDF(x, N); });
}

void UniformDCDF(const TVec& X, int N, TVec& Res)
{
    PerElement(X, Res, msg::kProbXComplex, [=](double x) { return UniformDCDF(x, N); });
}

void UniformDCDFInv(const TVec& P, int N, TVec& Res)
{
    PerElement(P, Res, msg::kProbPComplex, [=](double p) { return UniformDCDFInv(p, N); });
}

}  // namespace tarnel
