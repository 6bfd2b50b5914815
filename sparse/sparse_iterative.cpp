// TSparseMtx: iterative solution through lapack's nine iterative solvers (core/Nmkl.h).
//
// The matrix goes to the solver as 1-based triplets in storage order, the tolerance, iteration count and error
// estimate as the matrix's own fields, so the solver writes them through (a tolerance it resets stays reset).
// ITOL is ConvergenceCheck + 1, except CGS (always 2) and GMRES (always 0). LENW and LENIW are the lengths of
// the solver's table, which the solver checks; it keeps its own storage and never reads the work arrays, so none
// are taken (SlapSolve leaves them out). Everything taken here goes back on every path; RtlStrings is never
// touched.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Nmkl.h"
#include "core/TempGuard.h"
#include "core/messages.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

static_assert(static_cast<int>(itmSGS) == slapSGS && static_cast<int>(itmICCG) == slapICCG &&
                  static_cast<int>(itmILUR) == slapILUR && static_cast<int>(itmJAC) == slapJAC &&
                  static_cast<int>(itmLUBC) == slapLUBC && static_cast<int>(itmSLUCN) == slapSLUCN &&
                  static_cast<int>(itmLUCS) == slapLUCS && static_cast<int>(itmLUGMRES) == slapLUGM &&
                  static_cast<int>(itmLUOM) == slapLUOM,
              "TIterativeMethod and the solver table share their order");

namespace {

// The text of IERR: GMRES's own table first, the other table for the codes it lacks; "" for a code in neither.
std::string IerrText(TIterativeMethod Method, int Ierr)
{
    namespace m = msg::sparse;
    if (Method == itmLUGMRES) {
        switch (Ierr) {
            case 1:
                return m::kGmresIerr1;
            case 2:
                return m::kGmresIerr2;
            case -1:
                return m::kGmresIerrM1;
            case -2:
                return m::kGmresIerrM2;
            default:
                break;
        }
    }
    switch (Ierr) {
        case 1:
            return m::kSlapIerr1;
        case 2:
            return m::kSlapIerr2;
        case 3:
            return m::kSlapIerr3;
        case 4:
            return m::kSlapIerr4;
        case 5:
            return m::kSlapIerr5;
        case 6:
            return m::kSlapIerr6;
        case 7:
            return m::kSlapIerr7;
        default:
            return "";
    }
}

}  // namespace

void TSparseMtx1::SolveIterative(const TVec& B, TVec& X, bool Symmetric)
{
    if (B.Length() != X.Length()) ERaise(msg::sparse::kIterLength);
    if (B.Complex() || X.Complex()) ERaise(msg::sparse::kIterComplex);
    if (FCols != B.Length()) ERaise(msg::sparse::kFColsBLength);
    if (Symmetric) {
        CheckPattern(false);
        for (int j = 0; j < FCols; ++j)
            for (int k = FColPointers[static_cast<std::size_t>(j)]; k < FColPointers[static_cast<std::size_t>(j) + 1];
                 ++k)
                if (FRowIndices[static_cast<std::size_t>(k)] < j) ERaise(msg::sparse::kIterLowerOnly);
    }
    if (FComplex) ERaise(msg::kComplexTrue);
    if (FIterativeMethod < itmSGS || FIterativeMethod > itmLUOM) ERaise(msg::sparse::kIterMethod);
    const TSlapRoutine routine = static_cast<TSlapRoutine>(FIterativeMethod);
    const TSlapLengths need = SlapWorkLengths(routine, FCols, FNonZeros, FVectorCount);
    if (need.LenW > INT_MAX || need.LenIW > INT_MAX)
        ERaise(routine == slapLUGM || routine == slapLUOM ? msg::sparse::kVectorCountTooLarge
                                                          : msg::sparse::kIterWorkTooLarge);

    const std::size_t nz = static_cast<std::size_t>(FNonZeros);
    TIntArray ia(nz), ja(nz);
    TSampleArray a(nz);
    SparseToTriplets(ia, ja, a);
    for (std::size_t k = 0; k < nz; ++k) {
        ++ia[k];
        ++ja[k];
    }
    detail::TVecTemp b;
    b->Copy(B);
    const int lenW = static_cast<int>(need.LenW);
    const int lenIW = static_cast<int>(need.LenIW);

    FMtxError.clear();
    const int n = FCols;
    const int nelt = FNonZeros;
    const int isym = Symmetric ? 1 : 0;
    const int itol = FIterativeMethod == itmLUCS ? 2 : FIterativeMethod == itmLUGMRES ? 0 : FConvergenceCheck + 1;
    int ierr = 0;
    SlapSolve(routine, &n, b->Values(), X.Values(), &nelt, ia.data(), ja.data(), a.data(), &isym, &FVectorCount, &itol,
              &FTolerance, &FMaxIters, &FActualIters, &FBackError, &ierr, &lenW, &lenIW);
    FMtxError = IerrText(FIterativeMethod, ierr);
}

}  // namespace tarnel
