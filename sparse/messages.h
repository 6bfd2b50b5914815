// The texts the sparse matrices raise, in one place. They are part of the library's interface and are quoted letter
// for letter; tests compare them exactly. Internal to the library.
#pragma once

namespace tarnel::msg::sparse {

// ---- Sizing -------------------------------------------------------------------------------------------------
// A negative column count (the column pointers cannot have Cols + 1 entries).
inline constexpr const char* kColsNeg = "SetCols: Value < 0";
// A reader found column pointers that do not describe NonZeros entries (they decrease, pass NonZeros or do not end
// at it, as after Size with another count), or a row index outside 0..Rows-1 where rows are addressed.
inline constexpr const char* kInvalidPattern = "Invalid sparse pattern!";

// ---- Element access through the triplet buffer --------------------------------------------------------------
inline constexpr const char* kFlushFirst = "Call TripletsToSparseAndFlush first!";
inline constexpr const char* kAColHigh = "ACol > (FCols-1)";
inline constexpr const char* kARowHigh = "ARow > (FRows-1)";
// Negative indexes of SetValue, SetMtxCValue, GetValue and GetMtxCValue.
inline constexpr const char* kARowNeg = "ARow < 0";
inline constexpr const char* kAColNeg = "ACol < 0";
// An index of SetValue or SetMtxCValue that no Integer row or column count can hold (the index of the largest
// Integer would need a count one beyond it).
inline constexpr const char* kARowMax = "ARow too large";
inline constexpr const char* kAColMax = "ACol too large";

// ---- Element-wise forms of two operands: the operand whose kind, size or pattern differs ------------------------
inline constexpr const char* kNotEqualDen = "not IsEqualSize(Den)";
inline constexpr const char* kNotEqualSparse = "not IsEqualSize(Sparse)";
inline constexpr const char* kNotEqualSparseBang = "not IsEqualSize(Sparse)!";
inline constexpr const char* kNotEqualSparse12 = "not Sparse1.IsEqualSize(Sparse2)";
inline constexpr const char* kNotEqualReIm = "not ReSparse.IsEqualSize(ImSparse)";
inline constexpr const char* kNotEqualAmpltPhase = "not AmpltSparse.IsEqualSize(PhaseSparse)";

// ---- Transpose: an order that is not a permutation of the source's rows or columns ---------------------------
inline constexpr const char* kPNotPermutation = "P is not a permutation";
inline constexpr const char* kQNotPermutation = "Q is not a permutation";

// ---- Sparse product and sum ----------------------------------------------------------------------------------
inline constexpr const char* kMulRowsCols = "B.Rows <> C.Cols";
inline constexpr const char* kMulMaxReached = "Sparse matrix multiply: MaxNonZeroCount reached!";
inline constexpr const char* kMulLimitReached = "Sparse matrix multiply: MaxNonZeroCount limit reached!";
inline constexpr const char* kAddSizes = "(A.Rows <> B.Rows) or (A.Cols <> B.Cols)";
inline constexpr const char* kAddMaxReached = "Sparse matrix add: MaxNonZeroCount reached!";

// ---- Products with dense vectors and the residual norm ----------------------------------------------------------
inline constexpr const char* kXLengthCols = "x.Length <> FCols";
inline constexpr const char* kXLengthRows = "X.Length <> FRows";
inline constexpr const char* kRowsCols = "Rows <> Cols";
inline constexpr const char* kColsXRows = "Cols <> X.Rows";
inline constexpr const char* kRowsXCols = "Rows <> X.Cols";
inline constexpr const char* kFRowsYRows = "fRows <> Y.Rows";
inline constexpr const char* kFColsYCols = "fCols <> Y.Cols";

// ---- Stream format: sizes above 2^24 would not be stored exactly in the header's singles -------------------------
inline constexpr const char* kStreamSizes = "Sparse sizes too large for a stream";

// ---- MatrixMarket text (sparse_market.cpp) -------------------------------------------------------------------
inline constexpr const char* kMarketFormat = "Format must be HarwellBoeing or MatrixMarket!";
inline constexpr const char* kMarketLines = "not (Strings.Count > 1)";
inline constexpr const char* kMarketHeader = "Strings not in MatrixMarket format!";
inline constexpr const char* kMarketMatrix = "Matrix object required!";
inline constexpr const char* kHarwellBoeing = "Harwell-Boeing files are not supported";

// ---- Triplet and dense conversions --------------------------------------------------------------------------
inline constexpr const char* kRowColCount = "(RowCount <= 0) or (ColCount <= 0)";
inline constexpr const char* kRowColumnLength = "(Length(Row) <> Length(Column))";
inline constexpr const char* kRowEmpty = "Length(Row) <= 0";
inline constexpr const char* kInvalidTriplet = "Invalid triplet!";
// More triplets than an Integer entry count can hold.
inline constexpr const char* kRowTooLong = "Length(Row) too large";
// The value array of the array forms of TripletsToSparse is not as long as Row.
inline constexpr const char* kRowValuesLength = "(Length(Row) <> Length(Values))";
inline constexpr const char* kTripletsRows = "Triplets.Rows <> 3";
inline constexpr const char* kRowNonZeros = "Length(Row) < NonZeros";
inline constexpr const char* kColumnNonZeros = "Length(Column) < NonZeros";
inline constexpr const char* kValuesNonZeros = "Length(Values) < NonZeros";
inline constexpr const char* kMaxElemCount = "MaxElemCount reached!";

// ---- Iterative solution ---------------------------------------------------------------------------------------
inline constexpr const char* kIterLength = "B.Length <> X.Length";
inline constexpr const char* kIterComplex = "B.Complex or X.Complex";
inline constexpr const char* kFColsBLength = "FCols <> B.Length";
inline constexpr const char* kIterLowerOnly = "Iterative solve: Symmetric matrix must contain only lower triangle!";
// A work length of GMRES or Orthomin past the Integer range.
inline constexpr const char* kVectorCountTooLarge = "VectorCount too large";
// A work length of the other methods past the Integer range (only for orders near the Integer range).
inline constexpr const char* kIterWorkTooLarge = "Iterative solve: system too large";
// IterativeMethod holds an ordinal outside TIterativeMethod (as a stream may give); nothing would be solved.
inline constexpr const char* kIterMethod = "Iterative solve: unknown IterativeMethod";

// The solver's IERR as MtxError: GMRES's own table, and the one of every other method.
inline constexpr const char* kGmresIerr1 = "Insufficient internal storage allocated.";
inline constexpr const char* kGmresIerr2 =
    "Routine DPIGMR failed to reduce the norm of the current residual on its last call, and so the iteration has "
    "stalled.  In this case, X equals the last computed approximation.  The user must either increase MAXL, or "
    "choose a different initial guess.";
inline constexpr const char* kGmresIerrM1 = "Insufficient length for RGWK array.";
inline constexpr const char* kGmresIerrM2 = "Inconsistent ITOL and JPRE values.";
inline constexpr const char* kSlapIerr1 = "Insufficient internal storage allocated";
inline constexpr const char* kSlapIerr2 = "Method failed to converge in ITMAX steps";
inline constexpr const char* kSlapIerr3 = "Error in user input.  Check input value of N, ITOL";
inline constexpr const char* kSlapIerr4 =
    "User error tolerance set too tight. Reset to 500.0*D1MACH(3). Iteration proceeded.";
inline constexpr const char* kSlapIerr5 = "Preconditioning matrix, M, is notPositive Definite.  $(r,z) < 0.0$.";
inline constexpr const char* kSlapIerr6 = "A is not Positive Definite $(p,Ap) < 0.0$.";
inline constexpr const char* kSlapIerr7 =
    "Incomplete factorization broke down and was fudged.  Resulting preconditioning maybe less than the best.";

// ---- Direct solve through UMFPACK ----------------------------------------------------------------------------
inline constexpr const char* kBComplex = "B.Complex";
// The matrix form: B must have Cols rows, one right-hand side per column.
inline constexpr const char* kFColsBRows = "FCols <> B.Rows";
// The line written to the report stream after a failed step: the step's name, then this.
inline constexpr const char* kFailedLine = " failed!";
// The suffixes of UMFPACK's status codes in MtxError, after the step's name. A status without its own text gets
// kStatusPrefix and the code (": status 2").
inline constexpr const char* kOutOfMemory = ": Out of memory!";
inline constexpr const char* kSingularMatrix = ": Singular matrix!";
inline constexpr const char* kInvalidNumeric = ": invalid_Numeric_object!";
inline constexpr const char* kInvalidSymbolic = ": invalid_Symbolic_object";
inline constexpr const char* kArgumentMissing = ": argument_missing";
inline constexpr const char* kNNonPositive = ": n_nonpositive";
inline constexpr const char* kNzNegative = ": nz_negative";
inline constexpr const char* kJumbledMatrix = ": jumbled_matrix";
inline constexpr const char* kAp0NonZero = ": Ap0_nonzero";
inline constexpr const char* kRowIndexOutOfBounds = ": row_index_out_of_bounds";
inline constexpr const char* kDifferentPattern = ": different_pattern";
inline constexpr const char* kColLengthNegative = ": col_length_negative";
inline constexpr const char* kInvalidSystem = ": invalid_system";
inline constexpr const char* kInvalidTripletStatus = ": invalid_triplet";
inline constexpr const char* kInvalidPermutation = ": invalid_permutation";
inline constexpr const char* kProblemTooLarge = ": problem_too_large";
inline constexpr const char* kInternalError = ": internal_error";
inline constexpr const char* kFileIO = ": file_IO";
inline constexpr const char* kOrderingFailed = ": ordering_failed";
inline constexpr const char* kStatusPrefix = ": status ";

// ---- Banded, diagonal, triangular and split forms ----------------------------------------------------------------
// Band storage that does not hold SuperDiag + SubDiag + 1 rows, or a negative count of either.
inline constexpr const char* kBandedRows = "(SuperDiag+SubDiag+1) <> Rows";
inline constexpr const char* kDiagAbove = "abs(kk) > Rows";
inline constexpr const char* kDiagBelow = "(kk > Cols";
inline constexpr const char* kSplitLowerComplex = "Diag.Complex <> LowerTriang.Complex";
inline constexpr const char* kSplitUpperComplex = "Diag.Compelx <> UpperTriang.Complex";
inline constexpr const char* kSplitDiagLength = "Diag.Length <> Min(FCols,FRows)";
inline constexpr const char* kSplitPartsComplex = "UpperTriang.Complex <> LowerTriang.Complex";

// ---- Random systems ----------------------------------------------------------------------------------------------
inline constexpr const char* kRandomMaxReached = "Random sparse: MaxNonZeroCount reached!";
// RandomSparse on a matrix without room for a first entry (its triplet arrays could never grow).
inline constexpr const char* kRandomNonZeros = "Random sparse: NonZeros <= 0";
inline constexpr const char* kIndxShort = "Length(indx) <= 1";
// dmpl asked for more distinct values than 0..N holds (it would draw for ever).
inline constexpr const char* kIndxLong = "Length(indx) > N+1";

}  // namespace tarnel::msg::sparse
