// TSparseMtx: direct solution through UMFPACK 5.7 (Solve for one and for several right-hand sides, Inv).
//
// The matrix goes to UMFPACK as it is stored (Ap, Ai, Ax: the column pointers, row indices and values, never copied
// and never as null pointers), as an order-Cols system; Rows is not passed. Steps of the vector form:
//   X sized like B; nothing more when Cols is 0 (MtxError and the report stay as they are);
//   "FCols <> B.Length", "B.Complex", then "Complex = True" (UMFPACK's real routines would read the interleaved
//   Doubles of a complex matrix as entries) and "Invalid sparse pattern!" (UMFPACK trusts Ap[Cols] and would read
//   past shorter arrays) - all before anything else changes;
//   RtlStrings emptied (AutoClearReport), MtxError emptied, report of b;
//   symbolic analysis (see below), numeric factorisation, solve, each through UmfErrorCheck; a failed step does not
//   stop the sequence, the later ones report the missing object;
//   the numeric object freed, report of x, ActualIters and BackError.
// UMFPACK's failures never raise: the first one is kept in MtxError, and RtlStrings holds the reports as far as
// ReportLevel asks and a line "<step> failed!" for each failed step. 5.7's report routines print no label, so the
// labels ("Vector b: ", ...) are written here from print level 3 on, where those routines print.
//
// ActualIters := Info[UMFPACK_IR_TAKEN] rounded and BackError := Info[UMFPACK_OMEGA1] + Info[UMFPACK_OMEGA2], as
// UMFPACK left them after the last solve; where it did no refinement it gives -1 for each, so ActualIters is -1 and
// BackError -2 then.
//
// The symbolic analysis: with AutoPattern on, every solve analyses and frees the analysis right after the numeric
// factorisation. With AutoPattern off, the analysis is kept with the pattern it was made for and reused while the
// matrix has that pattern and the control settings the analysis uses stay; a solve with another pattern or other
// settings analyses anew. Destroy and the next analysis free it; Copy
// and Assign never copy it.
//
// The C library's allocator serves UMFPACK, so a failed allocation is status -1 (": Out of memory!") and the
// handles are freed. Every exit frees the numeric object (and an analysis that is not kept), exceptions included.
#include <umfpack.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "sparse/SparseInternal.h"
#include "sparse/UMFsparse.h"
#include "sparse/ansicrtl.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

// UMFPACK's report routines print from this print level on.
constexpr double kReportLevel = 3;

// Stand-ins for the arrays of a matrix without entries: UMFPACK refuses null pointers and reads nothing there.
const int kNoIndex = 0;
const double kNoValue = 0;

// The control settings of two analyses agree, but for the print level and the refinement steps, which the analysis
// does not use.
bool SameAnalysisSettings(const std::array<double, TSparseMtx1::kControlCount>& A,
                          const std::array<double, TSparseMtx1::kControlCount>& B)
{
    for (std::size_t i = 0; i < A.size(); ++i)
        if (i != UMFPACK_PRL && i != UMFPACK_IRSTEP && std::memcmp(&A[i], &B[i], sizeof(double)) != 0) return false;
    return true;
}

// The UMFPACK code of the system string.
int SystemCode(const std::string& Text)
{
    for (const TUmfSystem& s : kUmfSystems)
        if (Text == s.Text) return s.Code;
    return UMFPACK_A;
}

}  // namespace

// ---- The steps shared by both forms -----------------------------------------------------------------------------

class TSparseMtx1::TDirectSolve {
public:
    explicit TDirectSolve(TSparseMtx1& M) : FM(M) {}
    ~TDirectSolve() { FM.EndDirectSolve(); }
    TDirectSolve(const TDirectSolve&) = delete;
    TDirectSolve& operator=(const TDirectSolve&) = delete;

private:
    TSparseMtx1& FM;
};

void TSparseMtx1::ReleaseSymbolic() noexcept
{
    if (FSymbolic) umfpack_di_free_symbolic(&FSymbolic);
    FSymbolic = nullptr;
    FSymbolicColPointers.clear();
    FSymbolicRowIndices.clear();
}

void TSparseMtx1::EndDirectSolve() noexcept
{
    if (FNumeric) umfpack_di_free_numeric(&FNumeric);
    FNumeric = nullptr;
    if (FAutoPattern) ReleaseSymbolic();
}

void TSparseMtx1::BeginDirectSolve()
{
    if (FComplex) ERaise(msg::kComplexTrue);
    CheckPattern(false);
    if (FAutoClearReport) RtlStringsClear();
    FMtxError.clear();
}

void TSparseMtx1::ReportLabel(const char* Label) const
{
    if (FControl[UMFPACK_PRL] >= kReportLevel) RtlStringsAppend(Label);
}

const int* TSparseMtx1::UmfAi() const
{
    return FNonZeros > 0 ? FRowIndices.data() : &kNoIndex;
}

const double* TSparseMtx1::UmfAx() const
{
    return FNonZeros > 0 ? FValues->Values() : &kNoValue;
}

void TSparseMtx1::FactorDirect()
{
    const int* ap = FColPointers.data();
    const int* ai = UmfAi();
    const double* ax = UmfAx();
    const auto nz = static_cast<std::size_t>(FNonZeros);
    const bool reuse = !FAutoPattern && FSymbolic && FSymbolicColPointers == FColPointers &&
                       FSymbolicRowIndices.size() == nz && std::equal(ai, ai + nz, FSymbolicRowIndices.begin()) &&
                       SameAnalysisSettings(FControl, FSymbolicControl);
    if (!reuse) {
        ReleaseSymbolic();
        UmfErrorCheck(*this, umfpack_di_symbolic(FCols, FCols, ap, ai, ax, &FSymbolic, FControl.data(), FInfo.data()),
                      "umfpack_symbolic", false, false);
        ReportLabel("Symbolic factorization: ");
        umfpack_di_report_symbolic(FSymbolic, FControl.data());
        if (!FAutoPattern && FSymbolic) {
            FSymbolicColPointers = FColPointers;
            FSymbolicRowIndices.assign(ai, ai + nz);
            FSymbolicControl = FControl;
        }
    }
    UmfErrorCheck(*this, umfpack_di_numeric(ap, ai, ax, FSymbolic, &FNumeric, FControl.data(), FInfo.data()),
                  "umfpack_numeric", false, false);
    ReportLabel("Numeric factorization: ");
    umfpack_di_report_numeric(FNumeric, FControl.data());
    if (FAutoPattern) ReleaseSymbolic();
}

void TSparseMtx1::SolveOne(const double* B, double* X)
{
    UmfErrorCheck(*this,
                  umfpack_di_solve(SystemCode(FSystemString), FColPointers.data(), UmfAi(), UmfAx(), X, B, FNumeric,
                                   FControl.data(), FInfo.data()),
                  "umfpack_solve", true, false);
}

void TSparseMtx1::FinishDirectSolve()
{
    const double taken = FInfo[UMFPACK_IR_TAKEN];
    FActualIters = std::isfinite(taken) && std::fabs(taken) < 2147483647.0 ? detail::RoundHalfEven(taken) : 0;
    FBackError = FInfo[UMFPACK_OMEGA1] + FInfo[UMFPACK_OMEGA2];
}

// ---- The vector form --------------------------------------------------------------------------------------------

void TSparseMtx1::Solve(const TVec& B, TVec& X)
{
    X.Size(B);
    if (FCols == 0) return;
    if (FCols != B.Length()) ERaise(msg::sparse::kFColsBLength);
    if (B.Complex()) ERaise(msg::sparse::kBComplex);
    BeginDirectSolve();
    TDirectSolve end(*this);
    ReportLabel("Vector b: ");
    umfpack_di_report_vector(FCols, B.Values(), FControl.data());
    FactorDirect();
    // UMFPACK reads B while it refines X, so X must not share B's memory: such an X is solved through a copy.
    std::optional<detail::TVecTemp> work;
    double* x = X.Values();
    if (detail::Overlap(B.Values(), FCols, X.Values(), FCols)) {
        work.emplace();
        (*work)->Size(FCols);
        x = (*work)->Values();
    }
    SolveOne(B.Values(), x);
    if (x != X.Values()) std::copy_n(x, FCols, X.Values());
    EndDirectSolve();
    ReportLabel("Vector x: ");
    umfpack_di_report_vector(FCols, X.Values(), FControl.data());
    FinishDirectSolve();
}

// ---- The matrix form and the inverse ----------------------------------------------------------------------------

void TSparseMtx::Solve(const TMtx& B, TMtx& X)
{
    X.Size(B);
    if (FCols == 0) return;
    if (B.Rows() != FCols) ERaise(msg::sparse::kFColsBRows);
    if (B.Complex()) ERaise(msg::sparse::kBComplex);
    BeginDirectSolve();
    TDirectSolve end(*this);
    FactorDirect();
    const std::int64_t n = FCols;
    const std::int64_t k = B.Cols();
    // Column j of X is written after column j of B was read, so only an X that shares B's memory in another place
    // needs B copied first.
    std::optional<detail::TMtxTemp> copy;
    const double* src = B.Values();
    if (&X != &B && detail::Overlap(B.Values(), n * k, X.Values(), n * k)) {
        copy.emplace();
        (*copy)->Copy(B);
        src = (*copy)->Values();
    }
    detail::TVecTemp b, x;
    b->Size(FCols);
    x->Size(FCols);
    double* dst = X.Values();
    for (std::int64_t j = 0; j < k; ++j) {
        for (std::int64_t i = 0; i < n; ++i) b->Values()[i] = src[i * k + j];
        SolveOne(b->Values(), x->Values());
        for (std::int64_t i = 0; i < n; ++i) dst[i * k + j] = x->Values()[i];
    }
    EndDirectSolve();
    FinishDirectSolve();
}

void TSparseMtx::Inv(TMtx& X)
{
    detail::TMtxTemp eye;
    eye->Size(FCols, FCols, FComplex);
    const std::int64_t n = FCols;
    const std::int64_t doubles = n * n * (FComplex ? 2 : 1);
    std::fill_n(eye->Values(), doubles, 0.0);
    for (std::int64_t i = 0; i < n; ++i) eye->Values()[(i * n + i) * (FComplex ? 2 : 1)] = 1;
    Solve(*eye, X);
}

}  // namespace tarnel
