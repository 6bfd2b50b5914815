// Fuzz target "core": vector and matrix calls from fuzzer bytes on four vectors and two matrices that may view one
// another, view adopted memory, have ConditionCheck on or off and take pooled vectors. Every call must work or
// raise tarnel::Exception; a call whose operands share memory must give what it gives on distinct copies of them
// (outputs that share memory with each other excepted); and every pooled object must be back after each input.
#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "FuzzInput.h"

using namespace tarnel;
using fuzz::Finding;
using fuzz::Same;
using fuzz::TInput;

namespace {

constexpr int kVecs = 4;
constexpr int kMtxs = 2;
constexpr int kSmall = 40;
constexpr int kNone = -1;
constexpr int kMatrix = 200;  // owner code of matrix k: kMatrix + k

// The objects of one run, and what each vector's data belong to.
struct TWorld {
    std::array<TVec, kVecs> V;
    std::array<TMtx, kMtxs> M;
    std::array<TVec, kVecs> Holder;                  // the data that views of a copy look at
    std::array<std::vector<double>, kVecs> Adopted;  // the arrays that copies of adopted vectors work on
};

// The harness's adoptable memory: vectors adopted from it overlap where their ranges do.
std::vector<double> gBuffer(256);
// The step being compared, named in a finding.
std::string gStep;

struct TState {
    TWorld World;
    std::array<int, kVecs> Owner{kNone, kNone, kNone, kNone};
};

bool IsAdopted(const TVecs& V)
{
    return !V.IsSubRange() && V.AllocatedSize() == 0 && V.Values() != nullptr;
}

std::vector<double> Doubles(const TVecs& V)
{
    const std::size_t n = static_cast<std::size_t>(V.Length()) * (V.Complex() ? 2 : 1);
    return n ? std::vector<double>(V.Values(), V.Values() + n) : std::vector<double>();
}

std::vector<double> Doubles(const TMtx& M)
{
    const std::size_t n = static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1);
    return n ? std::vector<double>(M.Values(), M.Values() + n) : std::vector<double>();
}

void SetValues(TVecs& V, bool Complex, const std::vector<double>& D)
{
    V.SetIt(Complex, D);
}

// Ends every view whose data belong to Owner (sizing the owner may have freed them).
void EndViewsOf(TState& S, int Owner)
{
    for (int i = 0; i < kVecs; ++i) {
        if (S.Owner[i] == Owner && S.World.V[i].IsSubRange()) {
            S.World.V[i].SetFullRange();
            S.Owner[i] = kNone;
        }
    }
}

// Zeros the spare capacity of the vectors and matrices that own their data: what a call that lengthens an object
// within its capacity shows there is whatever the memory held, which no copy can know.
void ClearSpare(TWorld& W)
{
    for (TVec& v : W.V) {
        if (v.IsSubRange() || IsAdopted(v) || !v.Values()) continue;
        const std::size_t w = v.Complex() ? 2 : 1;
        std::fill(v.Values() + v.Length() * w, v.Values() + v.ActualLength() * w, 0.0);
    }
    for (TMtx& m : W.M) {
        if (!m.Values() || m.AllocatedSize() == 0) continue;
        const std::size_t w = m.Complex() ? 2 : 1;
        std::fill(m.Values() + static_cast<std::size_t>(m.Rows()) * m.Cols() * w, m.Values() + m.ActualSize() * w, 0.0);
    }
}

// A copy of Real's objects that shares no memory between them: the same kinds, lengths, values, ConditionCheck
// and sub-range state, each of its own.
void CopyWorld(const TState& Real, TWorld& C)
{
    for (int i = 0; i < kVecs; ++i) {
        const TVec& v = Real.World.V[i];
        TVec& c = C.V[i];
        const std::vector<double> d = Doubles(v);
        if (v.IsSubRange()) {
            SetValues(C.Holder[i], v.Complex(), d);
            c.Size(0, v.Complex());
            c.SetSubRange(C.Holder[i], 0, v.Length());
        } else if (IsAdopted(v)) {
            C.Adopted[i] = d;
            c.Adopt(C.Adopted[i], v.Length(), v.Complex());
        } else {
            // The spare capacity too: a call that lengthens a vector within it leaves what was there.
            c.Size(0, v.Complex());
            c.SetActualLength(v.ActualLength());
            c.SetLength(v.Length());
            const std::size_t w = v.Complex() ? 2 : 1;
            const std::size_t n = c.ActualLength() == v.ActualLength() ? v.ActualLength() * w : d.size();
            if (n > 0) std::copy(v.Values(), v.Values() + n, c.Values());
        }
        c.SetConditionCheck(v.ConditionCheck());
    }
    for (int k = 0; k < kMtxs; ++k) {
        const TMtx& m = Real.World.M[k];
        TMtx& c = C.M[k];
        c.Size(m.Rows(), m.Cols(), m.Complex());
        const std::size_t w = m.Complex() ? 2 : 1;
        const std::size_t n = c.ActualSize() == m.ActualSize() ? m.ActualSize() * w : Doubles(m).size();
        if (n > 0) std::copy(m.Values(), m.Values() + n, c.Values());
        c.SetConditionCheck(m.ConditionCheck());
    }
}

// What a call left: its message (empty when it worked) and the outputs.
struct TOutcome {
    std::string Raised;
    std::vector<std::vector<double>> Data;
    std::vector<int> Shape;
};

// A call on a world; it names the vectors and matrices it may change.
struct TCall {
    std::function<void(TWorld&)> Run;
    std::vector<int> Vecs;  // output vectors
    std::vector<int> Mtxs;  // output matrices
    bool Rounding = false;  // BLAS may sum in another order for data at other addresses
};

TOutcome Perform(TWorld& W, const TCall& Call, const std::vector<bool>& Readable)
{
    TOutcome o;
    try {
        Call.Run(W);
    } catch (const Exception& e) {
        o.Raised = e.what();
        if (o.Raised.empty()) o.Raised = "(empty message)";
    }
    for (std::size_t n = 0; n < Call.Vecs.size(); ++n) {
        if (!Readable[n]) continue;
        const TVec& v = W.V[Call.Vecs[n]];
        o.Data.push_back(Doubles(v));
        o.Shape.insert(o.Shape.end(), {v.Complex(), v.Length()});
    }
    for (const int k : Call.Mtxs) {
        const TMtx& m = W.M[k];
        o.Data.push_back(Doubles(m));
        o.Shape.insert(o.Shape.end(), {m.Complex(), m.Rows(), m.Cols()});
    }
    return o;
}

bool Near(const std::vector<double>& A, const std::vector<double>& B)
{
    double scale = 0;
    for (const double b : B) {
        if (!std::isfinite(b)) return true;  // non-finite sums depend on their order
        scale = std::max(scale, std::fabs(b));
    }
    for (std::size_t i = 0; i < A.size(); ++i)
        if (!(std::fabs(A[i] - B[i]) <= 1e-12 * (scale + 1e-300) * static_cast<double>(A.size()))) return false;
    return true;
}

// The Doubles [Values, Values + Numbers) of two vectors overlap, or one owns the block the other views.
bool ShareMemory(const TState& S, int A, int B)
{
    if (A == B) return true;
    const auto root = [&](int i) { return S.Owner[i] == kNone ? i : S.Owner[i]; };
    if (root(A) == root(B)) return true;
    const TVec& a = S.World.V[A];
    const TVec& b = S.World.V[B];
    const std::int64_t na = static_cast<std::int64_t>(a.Length()) * (a.Complex() ? 2 : 1);
    const std::int64_t nb = static_cast<std::int64_t>(b.Length()) * (b.Complex() ? 2 : 1);
    if (na == 0 || nb == 0) return false;
    return a.Values() < b.Values() + nb && b.Values() < a.Values() + na;
}

void Compare(TState& S, const TCall& Call)
{
    const auto finding = [](const std::string& What) { Finding("core", (gStep + ": " + What).c_str()); };
    // Outputs that share memory with each other have no distinct-copy result to agree with.
    bool outputsShare = false;
    for (std::size_t a = 0; a < Call.Vecs.size(); ++a)
        for (std::size_t b = a + 1; b < Call.Vecs.size(); ++b)
            outputsShare |= Call.Vecs[a] != Call.Vecs[b] && ShareMemory(S, Call.Vecs[a], Call.Vecs[b]);
    // An output that views another output's block cannot be read once that one has been sized.
    std::vector<bool> readable;
    for (const int o : Call.Vecs) {
        bool ok = true;
        for (const int p : Call.Vecs) ok &= !(p != o && S.Owner[o] == p);
        for (const int k : Call.Mtxs) ok &= S.Owner[o] != kMatrix + k;
        readable.push_back(ok);
    }
    if (std::getenv("FUZZ_DEBUG")) {
        for (int n = 0; n < kVecs; ++n) {
            const TVec& v = S.World.V[n];
            std::fprintf(stderr, "V%d owner %d sub %d adopted %d cc %d complex %d len %d at %p block %p\n", n,
                         S.Owner[n], v.IsSubRange(), IsAdopted(v), v.ConditionCheck(), v.Complex(), v.Length(),
                         static_cast<const void*>(v.Values()), v.AllocatedBlock());
        }
    }
    ClearSpare(S.World);
    TWorld copy;
    CopyWorld(S, copy);
    // Sizing within the capacity keeps the values, beyond it gives zeros: a copy whose capacity could not be made
    // the same (lengths switched between kinds leave capacities no sizing makes) has no result to agree with.
    bool sameCapacity = true;
    for (int n = 0; n < kVecs; ++n) {
        const TVec& v = S.World.V[n];
        if (!v.IsSubRange() && !IsAdopted(v)) sameCapacity &= copy.V[n].ActualLength() == v.ActualLength();
    }
    for (int n = 0; n < kMtxs; ++n) sameCapacity &= copy.M[n].ActualSize() == S.World.M[n].ActualSize();
    const TOutcome want = Perform(copy, Call, readable);
    const TOutcome got = Perform(S.World, Call, readable);
    if (std::getenv("FUZZ_DEBUG")) {
        std::fprintf(stderr, "%s: raised '%s' / copies '%s'\n", gStep.c_str(), got.Raised.c_str(), want.Raised.c_str());
        for (std::size_t n = 0; n < got.Data.size() && n < want.Data.size(); ++n) {
            std::fprintf(stderr, " out %zu:", n);
            for (std::size_t m = 0; m < got.Data[n].size() && m < 12; ++m) std::fprintf(stderr, " %g", got.Data[n][m]);
            std::fprintf(stderr, " | copies:");
            for (std::size_t m = 0; m < want.Data[n].size() && m < 12; ++m)
                std::fprintf(stderr, " %g", want.Data[n][m]);
            std::fprintf(stderr, "\n");
        }
    }
    if (!outputsShare && sameCapacity) {
        if (got.Raised != want.Raised) {
            // TensorProd refuses a Vec in Self's memory with the text of Vec = Self.
            if (got.Raised != "Vec = Self") finding("raised \"" + got.Raised + "\", on copies \"" + want.Raised + "\"");
        } else if (got.Shape != want.Shape) {
            finding("outputs of another shape than on distinct copies");
        } else {
            for (std::size_t i = 0; i < got.Data.size(); ++i) {
                if (got.Data[i].size() != want.Data[i].size()) finding("outputs of another length");
                if (Call.Rounding) {
                    if (!Near(got.Data[i], want.Data[i])) finding("BLAS result differs from distinct copies");
                    continue;
                }
                for (std::size_t j = 0; j < got.Data[i].size(); ++j)
                    if (!Same(got.Data[i][j], want.Data[i][j])) finding("result differs from distinct copies");
            }
        }
    }
    for (const int o : Call.Vecs) EndViewsOf(S, o);
    for (const int k : Call.Mtxs) EndViewsOf(S, kMatrix + k);
}

std::vector<double> Values(TInput& In, int N)
{
    std::vector<double> d(static_cast<std::size_t>(std::clamp(N, 0, 4 * kSmall)));
    for (double& x : d) x = In.Value();
    return d;
}

void Step(TState& S, TInput& In)
{
    TWorld& W = S.World;
    const int op = In.Byte() % 40;
    const int i = In.Byte() % kVecs, j = In.Byte() % kVecs, l = In.Byte() % kVecs, k = In.Byte() % kMtxs;
    const int a = In.Count(kSmall), b = In.Count(kSmall), c = In.Count(kSmall), d = In.Count(kSmall);
    const bool bit = In.Bit(), bit2 = In.Bit();
    gStep = "step " + std::to_string(op) + " (i " + std::to_string(i) + ", j " + std::to_string(j) + ", l " +
            std::to_string(l) + ", k " + std::to_string(k) + ", " + std::to_string(a) + ", " + std::to_string(b) +
            ", " + std::to_string(c) + ", " + std::to_string(d) + ", " + std::to_string(bit) + ")";
    TVec& v = W.V[i];
    const auto call = [&](std::function<void(TWorld&)> Run, std::vector<int> Vecs, std::vector<int> Mtxs = {},
                          bool Rounding = false) {
        // Joining a vector to itself again and again doubles it: long vectors only cost time.
        for (const TVec& x : W.V)
            if (x.Length() > 4096) return;
        Compare(S, TCall{std::move(Run), std::move(Vecs), std::move(Mtxs), Rounding});
    };
    try {
        switch (op) {
            // ---- setting up: values, views, adopted memory, settings
            case 0:
            case 1: {
                v.SetFullRange();
                EndViewsOf(S, i);
                S.Owner[i] = kNone;
                SetValues(v, bit, Values(In, bit ? 2 * (a % (kSmall + 1)) : a % (kSmall + 1)));
                return;
            }
            case 2: {
                v.SetFullRange();
                S.Owner[i] = kNone;
                if (i == j) return;
                v.SetConditionCheck(bit2);
                v.Size(v.Length(), bit);
                EndViewsOf(S, i);
                v.SetSubRange(W.V[j], b, c);
                S.Owner[i] = S.Owner[j] == kNone ? j : S.Owner[j];
                return;
            }
            case 3: {
                v.SetFullRange();
                S.Owner[i] = kNone;
                v.SetConditionCheck(bit2);
                v.Size(v.Length(), bit);
                EndViewsOf(S, i);
                v.SetSubRange(W.M[k], b, c);
                S.Owner[i] = kMatrix + k;
                return;
            }
            case 4: {
                v.SetFullRange();
                EndViewsOf(S, i);
                S.Owner[i] = kNone;
                const int from = (b % 128 + 128) % 128;  // inside the buffer: the caller's part of the bargain
                // Not a view: views of it are owned by it (a later sizing gives it a block of its own).
                v.Adopt(gBuffer.data() + from, static_cast<std::int64_t>(gBuffer.size()) - from, c, bit);
                return;
            }
            case 5:
                v.SetConditionCheck(bit);
                W.M[k].SetConditionCheck(bit2);
                return;
            case 6: {
                EndViewsOf(S, kMatrix + k);
                const int rows = a % 9, cols = b % 9;
                W.M[k].Size(rows, cols, bit);
                const std::vector<double> d2 = Values(In, rows * cols * (bit ? 2 : 1));
                std::copy(d2.begin(), d2.end(), W.M[k].Values());
                return;
            }
            case 7:
                v.SetFullRange();
                S.Owner[i] = kNone;
                return;
            // ---- calls compared with distinct copies of their operands
            case 8:
                return call([=](TWorld& w) { w.V[i].Copy(w.V[j]); }, {i});
            case 9:
                return call([=](TWorld& w) { w.V[i].Add(w.V[j]); }, {i});
            case 10:
                return call([=](TWorld& w) { w.V[i].Add(w.V[j], w.V[l]); }, {i});
            case 11:
                return call([=](TWorld& w) { w.V[i].Resize(w.V[j], a, bit); }, {i});
            case 12:
                return call([=](TWorld& w) { w.V[i].Assign(w.V[j]); }, {i});
            case 13:
                return call([=](TWorld& w) { w.V[i].Flip(w.V[j], a, b, c); }, {i});
            case 14:
                return call([=](TWorld& w) { w.V[i].FlipConj(w.V[j], a, b, c); }, {i});
            case 15:
                return call([=](TWorld& w) { w.V[i].MulI(w.V[j], a, b, c); }, {i});
            case 16:
                return call([=](TWorld& w) { w.V[i].CartToPolar(w.V[j], w.V[l]); }, {j, l});
            case 17:
                return call([=](TWorld& w) { w.V[i].CplxToReal(w.V[j], w.V[l]); }, {j, l});
            case 18:
                return call([=](TWorld& w) { w.V[i].RealToCplx(w.V[j], w.V[l]); }, {i});
            case 19:
                return call([=](TWorld& w) { w.V[i].PolarToCart(w.V[j], w.V[l]); }, {i});
            case 20:
                return call([=](TWorld& w) { w.V[i].Split(w.V[j], a, w.V[l]); }, {j, l});
            case 21:
                return call([=](TWorld& w) { w.V[i].Concat({&w.V[j], &w.V[l]}); }, {i});
            case 22:
                return call([=](TWorld& w) { w.V[i].Reverse(w.V[j]); }, {i});
            case 23:
                return call([=](TWorld& w) { w.V[i].Conj(w.V[j]); }, {i});
            case 24:
                return call([=](TWorld& w) { w.V[i].Mag(w.V[j]); }, {i});
            case 25:
                return call([=](TWorld& w) { w.V[i].PowerSpectrum(w.V[j]); }, {i});
            case 26:
                return call([=](TWorld& w) { w.V[i].Expj(w.V[j]); }, {i});
            case 27:
                return call([=](TWorld& w) { w.V[i].ExtendToComplex(w.V[j], bit); }, {i});
            case 28:
                return call([=](TWorld& w) { w.V[i].Size(a, bit); }, {i});
            case 29:
                return call([=](TWorld& w) { w.V[i].Copy(w.V[j], a, b, c); }, {i});
            case 30:
                return call([=](TWorld& w) { w.V[i].TensorProd(w.V[j], w.M[k], mtGeneral, bit ? opTran : opNone); },
                            {i}, {}, true);
            case 31:
                return call([=](TWorld& w) { w.M[k].CopyVec(w.V[j], a); }, {}, {k});
            case 32:
                return call([=](TWorld& w) { SetVecSize(a, bit, {&w.V[i], &w.V[j]}); }, {i, j});
            case 33:
                return call([=](TWorld& w) { w.V[i].Split({&w.V[j], &w.V[l]}); }, {j, l});
            case 34:
                return call([=](TWorld& w) { w.V[i].Split({&w.V[j], &w.V[l]}, {a, b}); }, {j, l});
            case 35:
                return call([=](TWorld& w) { w.V[i].Flip(a, b); }, {i});
            case 36:
                return call([=](TWorld& w) { w.V[i].Resize(a, bit); }, {i});
            case 37:
                return call([=](TWorld& w) { w.V[i].Add(w.V[j], a, b, c); }, {i});
            case 38:
                return call([=](TWorld& w) { w.V[i].CartToPolar(w.V[j], w.V[l], a, b); }, {j, l});
            case 39: {
                // A pooled vector as an operand: it must go back whatever the call does.
                TVec* t = nullptr;
                CreateIt(t);
                try {
                    SetValues(*t, bit, Values(In, d % kSmall * (bit ? 2 : 1)));
                    v.Add(*t);
                } catch (...) {
                    FreeIt(t);
                    throw;
                }
                FreeIt(t);
                EndViewsOf(S, i);
                return;
            }
        }
    } catch (const Exception&) {
        // A refused set-up step: the state stays as the library left it.
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Small reserved capacities, so that short vectors and matrices are reallocated when they are sized and a
    // source read after sizing its destination shows.
    SetVecCacheSize(32, 4);
    SetMtxCacheSize(16, 2);
    for (std::size_t n = 0; n < gBuffer.size(); ++n) gBuffer[n] = static_cast<double>(n) + 0.25;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    {
        TInput in(Data, Size);
        TState s;
        for (int steps = 0; steps < 64 && !in.Empty(); ++steps) Step(s, in);
        for (TVec& v : s.World.V) v.SetFullRange();
    }
    if (VecCacheUsed.load() != 0 || MtxCacheUsed.load() != 0) Finding("core", "a pooled object was not given back");
    for (std::size_t n = 0; n < gBuffer.size(); ++n) gBuffer[n] = static_cast<double>(n) + 0.25;
    return 0;
}
