// Rational (IIR) filtering of vectors, polynomial division and the residue helpers.
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

}  // namespace

void IIRFilter(const TVec& B, const TVec& A, const TVec& X, TVec& Y)
{
    // Y is sized before the checks; what it may overwrite is held first.
    const detail::TStable b(B, Y), a(A, Y), x(X, Y);
    const int n = x->Length();
    const bool complexTaps = a->Complex();
    Y.Size(n, x->Complex() || complexTaps);
    if (a->Complex() != b->Complex()) ERaise(msg::kIirComplex);
    // An empty A has no a₀: as a zero one.
    if (complexTaps) {
        if (a->Length() == 0 || (a->CValues()[0].Re == 0 && a->CValues()[0].Im == 0)) ERaise(msg::kIirA0Complex);
    } else if (a->Length() == 0 || a->Values()[0] == 0) {
        ERaise(msg::kIirA0);
    }
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

void ResCompose(TVec&, TVec&, TVec&, TVec&, double) {}

}  // namespace tarnel
