// The vocabulary of the sparse matrices: solver report detail, the systems of the direct solve, the iterative
// methods and their stopping test, file formats and storage forms.
// The order of the values is part of the interface: streams and the UMFPACK print level use the ordinals. Each
// type has int as its fixed underlying type, so an ordinal read from a stream is a well-defined value even where
// it lies outside the table (SetSparseSystem, for one, has a rule for such values).
#pragma once

namespace tarnel {

enum TReportLevel : int { prlNone, prlErrorsOnly, prlBasic, prlExtensive, prlComplete, prlAll };

enum TSparseSystem : int { spsA, spsAT, spsPTL, spsLTP, spsUQT, spsQUT, spsL, spsLT, spsU, spsUT };

enum TIterativeMethod : int { itmSGS, itmICCG, itmILUR, itmJAC, itmLUBC, itmSLUCN, itmLUCS, itmLUGMRES, itmLUOM };

enum TConvergenceCheck : int { cvcNorm2, cvcNorm2InvA };

enum TSparseFormat : int { spfMatrixMarket };

// Declared for completeness; nothing in the library uses it.
enum TSparseStorage : int { spsFullMatrix, spsLowerTriangle, spsUpperTriangle };

}  // namespace tarnel
