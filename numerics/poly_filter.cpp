// Rational (IIR) filtering of vectors, polynomial division and the residue helpers.
//
// DeConv divides by filtering: the quotient Q of B by A is the response of B(z)/A(z) to a unit impulse of length
// B.Length − A.Length + 1 (the filter divides by a₀), and the remainder is B − A∗Q.
//
// IIRFilter puts B and A, zero-padded to one length m, into taps (b₀ … b_{m−1}, a₀ … a_{m−1}) of A's kind and runs
// the signal library's filter of order m − 1 from a zero state; the library divides the taps by a₀.
#include <algorithm>

#include "core/Raroz.h"
#include "core/Tarnel.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "numerics/Polynoms.h"

namespace tarnel {

namespace {

// The filter state, released on every way out.
class TIirState {
public:
    TIirState() = default;
    ~TIirState()
    {
        if (FState.impl != nullptr) nspIirFree(&FState);
    }
    TIirState(const TIirState&) = delete;
    TIirState& operator=(const TIirState&) = delete;
    NSPIirState* get() { return &FState; }

private:
    NSPIirState FState{};
};

// a₀ of the taps: zero, or missing (an empty A), raises the filter's text.
void CheckLead(const TVecs& A)
{
    if (A.Complex()) {
        if (A.Length() == 0 || (A.CValues()[0].Re == 0 && A.CValues()[0].Im == 0)) ERaise(msg::kIirA0Complex);
    } else if (A.Length() == 0 || A.Values()[0] == 0) {
        ERaise(msg::kIirA0);
    }
}

}  // namespace

void IIRFilter(const TVec& B, const TVec& A, const TVec& X, TVec& Y)
{
    // Y is sized before the checks; what it may overwrite is held first.
    const detail::TStable b(B, Y), a(A, Y), x(X, Y);
    const int n = x->Length();
    const bool complexTaps = a->Complex();
    Y.Size(n, x->Complex() || complexTaps);
    if (a->Complex() != b->Complex()) ERaise(msg::kIirComplex);
    CheckLead(*a);
    const int m = std::max(b->Length(), a->Length());
    detail::TVecTemp taps;
    taps->Size(2 * m, complexTaps);
    std::fill_n(taps->Values(), detail::Numbers(*taps), 0.0);
    std::copy_n(b->Values(), detail::Numbers(*b), taps->Values());
    std::copy_n(a->Values(), detail::Numbers(*a), detail::At(*taps, m));
    if (n == 0) return;
    TIirState state;
    if (complexTaps) {
        nspzIirInit(NSP_IirDefault, taps->CValues(), m - 1, state.get());
        if (x->Complex()) {
            nspzbIir(state.get(), x->CValues(), Y.CValues(), n);
        } else {
            detail::TVecTemp wide;  // real data filtered as x + 0i
            detail::WidenInto(x->Values(), n, *wide, true);
            nspzbIir(state.get(), wide->CValues(), Y.CValues(), n);
        }
    } else {
        nspdIirInit(NSP_IirDefault, taps->Values(), m - 1, state.get());
        if (x->Complex()) {
            nspdzbIir(state.get(), x->CValues(), Y.CValues(), n);
        } else {
            nspdbIir(state.get(), x->Values(), Y.Values(), n);
        }
    }
}

void DeConv(const TVec& B, const TVec& A, TVec& Q, TVec& R)
{
    if (A.Complex() != B.Complex()) ERaise(msg::kDeConvComplex);
    // Q and R may be A or B: the results go out only when everything has been read.
    detail::TVecTemp q, r;
    if (B.Length() < A.Length()) {
        q->Size(1, B.Complex());
        std::fill_n(q->Values(), detail::Numbers(*q), 0.0);
        r->Copy(B);
    } else {
        // The quotient is the filter's response to a unit impulse; the filter divides by A[0].
        detail::TVecTemp impulse, product;
        impulse->Size(B.Length() - A.Length() + 1);
        std::fill_n(impulse->Values(), impulse->Length(), 0.0);
        impulse->Values()[0] = 1;
        IIRFilter(B, A, *impulse, *q);
        product->Convolve(A, *q);
        r->Copy(B);
        r->Sub(*product);
    }
    Q.Copy(*q);
    R.Copy(*r);
}

// Incomplete as it stands: the quotient and remainder of the scaled polynomials, no residues; V5 is not touched.
void ResExtract(const TVec& B, const TVec& A, TVec& V3, TVec& V4, TVec&)
{
    if (A.Complex() != B.Complex()) ERaise(msg::kIirComplex);
    CheckLead(A);  // the scaling divides by A[0]
    detail::TVecTemp b, a;
    b->Copy(B);
    a->Copy(A);
    if (A.Complex()) {
        const TCplx inverse = CDiv(C_ONE, A.CValues()[0]);
        b->Scale(inverse);
        a->Scale(inverse);
    } else {
        const double inverse = 1 / A.Values()[0];
        b->Scale(inverse);
        a->Scale(inverse);
    }
    if (a->Length() < b->Length()) DeConv(*b, *a, V3, V4);
}

void ResCompose(TVec&, TVec&, TVec&, TVec&, double) {}

}  // namespace tarnel
