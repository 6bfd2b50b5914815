// The band storage of the general band solvers, as the dense and the sparse band conversions share it: a band
// matrix of Ku super-diagonals and Kl sub-diagonals is a matrix of Ku + Kl + 1 rows and Cols columns, element (R, C)
// of the full matrix in band row Ku + R - C, column C (LAPACK's general band layout read row by row). Internal to
// the library.
#pragma once

#include <cstdint>

#include "core/LinAlgTypes.h"

namespace tarnel {

class TMtx;

namespace detail {

// The row-major position of element (R, C) of the full matrix in band storage of Ku super-diagonals and Cols columns.
inline std::int64_t BandSlot(int Ku, int Cols, int R, int C)
{
    return (static_cast<std::int64_t>(Ku) + R - C) * Cols + C;
}

// Dst := zero band storage for Ku super- and Kl sub-diagonals of Cols columns (real or complex), with its SuperDiag
// Ku and SubDiag Kl. Raises "(SuperDiag+SubDiag)*Cols > MaxElemCount" before Dst changes when the (Ku+Kl+1)·Cols
// elements it would hold exceed MaxElemCount (counted in 64 bits).
void PrepareBand(TMtx& Dst, int Ku, int Kl, int Cols, bool Complex, int MaxElemCount);

// A.LUSolveInt(X, X, 1, MtxType, opNone) for a band A that is the caller's own temporary: a general band of one sub-
// and one super-diagonal solved without refinement or estimate is factored on A's own rows, which it overwrites
// (no copy of them), and X is undefined after a failure; any other case is LUSolveInt's, A unchanged. The checks,
// Info, MtxError, the text raised and the control word are LUSolveInt's.
void LUSolveOnBand(TMtx& A, double* X, TMtxType MtxType);

}  // namespace detail

}  // namespace tarnel
