// TPiecePoly: break points and one coefficient row per piece, evaluated by Horner in (x − Breaks[k]).
//
// The piece of x is the largest k ≤ Pieces − 1 with x > Breaks[k] (0 when there is none): piece k serves
// (Breaks[k], Breaks[k + 1]], piece 0 also what lies below, the last piece what lies beyond. The scalar form finds
// it by bisection; the vector form for sorted X walks forward from its first element's piece, which starts at the
// last piece when X[0] ≥ Breaks[Pieces − 1] (so at X[0] = Breaks[Pieces − 1] the two forms use neighbouring
// pieces, which agree to rounding when the polynomial is continuous there).
#include <algorithm>

#include "core/Tarnel.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Polynoms.h"

namespace tarnel {

namespace {

// The largest k in [0, pieces − 1] with x > b[k], or 0: bisection without branches (the comparisons of random
// points cannot be predicted).
int Bisect(const double* b, int pieces, double x)
{
    int lo = 0, hi = pieces;
    while (hi - lo != 1) {
        const int mid = (lo + hi) / 2;
        const bool above = x > b[mid];
        lo = above ? mid : lo;
        hi = above ? hi : mid;
    }
    return lo;
}

// Bisect's answer when Hint already is it (x in (b[k], b[k + 1]], the first and last piece open outward), which
// saves the search for points that follow each other closely; otherwise the search.
int Piece(const double* b, int pieces, double x, int Hint)
{
    if ((Hint == 0 || x > b[Hint]) && (Hint == pieces - 1 || !(x > b[Hint + 1]))) return Hint;
    return Bisect(b, pieces, x);
}

double Horner(const double* c, int order, double t)
{
    if (order == 0) return 0;
    double y = c[0];
    for (int j = 1; j < order; ++j) y = y * t + c[j];
    return y;
}

}  // namespace

TPiecePoly::TPiecePoly() : FBreaks(std::make_unique<TVec>()), FCoefficients(std::make_unique<TMtx>())
{
    FBreaks->SetOnSetLength([this](TVecs& Sender) { IOnSetLength(Sender); });
    FCoefficients->SetOnSetSize([this](TMtx1& Sender) { IOnSetSize(Sender); });
}

TPiecePoly::~TPiecePoly()
{
    FBreaks->SetOnSetLength(nullptr);
    FCoefficients->SetOnSetSize(nullptr);
}

void TPiecePoly::SetBreaks(const TVec& Value)
{
    FBreaks->Assign(Value);
}

void TPiecePoly::SefCoefficients(const TMtx& Value)
{
    FCoefficients->Assign(Value);
}

int TPiecePoly::Pieces() const
{
    return FBreaks->Length() == 0 ? 0 : FBreaks->Length() - 1;
}

int TPiecePoly::Order() const
{
    return FCoefficients->Cols();
}

// Both setters fire on a real change only, so the pair settles after one exchange.
void TPiecePoly::IOnSetLength(TVecs& Sender)
{
    FCoefficients->Size(std::max(0, Sender.Length() - 1), FCoefficients->Cols(), FCoefficients->Complex());
}

void TPiecePoly::IOnSetSize(TMtx1& Sender)
{
    FBreaks->SetLength(Sender.Rows() + 1);
}

void TPiecePoly::CheckEvaluate() const
{
    // No piece (one break) is refused too: there is nothing to evaluate.
    if (FBreaks->Length() <= 1 || FCoefficients->Rows() != FBreaks->Length() - 1 || FCoefficients->Complex())
        ERaise(msg::kPieceEvaluate);
}

void TPiecePoly::Evaluate(double X, double& Y) const
{
    CheckEvaluate();
    const double* b = FBreaks->Values();
    const int k = Bisect(b, Pieces(), X);
    const int order = Order();
    Y = Horner(FCoefficients->Values() + static_cast<std::int64_t>(k) * order, order, X - b[k]);
}

void TPiecePoly::Evaluate(const TVec& X, TVec& Y, bool Ascending) const
{
    CheckEvaluate();
    if (X.Complex()) ERaise(msg::kPieceComplex);
    const detail::TStable x(X, Y);
    const int n = x->Length(), pieces = Pieces(), order = Order();
    Y.Size(n, false);
    if (n == 0) return;
    const double* b = FBreaks->Values();
    const double* c = FCoefficients->Values();
    const double* xs = x->Values();
    double* ys = Y.Values();
    if (Ascending) {
        int k = xs[0] >= b[pieces - 1] ? pieces - 1 : 0;
        for (int i = 0; i < n; ++i) {
            while (k < pieces - 1 && xs[i] > b[k + 1]) ++k;
            ys[i] = Horner(c + static_cast<std::int64_t>(k) * order, order, xs[i] - b[k]);
        }
    } else {
        int k = 0;
        for (int i = 0; i < n; ++i) {
            k = Piece(b, pieces, xs[i], k);
            ys[i] = Horner(c + static_cast<std::int64_t>(k) * order, order, xs[i] - b[k]);
        }
    }
}

}  // namespace tarnel
