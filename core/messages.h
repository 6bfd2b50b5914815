// The texts the checks of the core raise, vectors and matrices alike, in one place: no check text is written out
// anywhere else. They are part of the library's interface and are quoted letter for letter, odd spacing and
// unbalanced parentheses included; tests compare them exactly. Internal to the library.
#pragma once

#include <cstdint>
#include <string>

namespace tarnel::msg {

// ---- Range forms shared by many families --------------------------------------------------------------------
inline constexpr const char* kNegRange = "(Len <= 0) or (Index < 0) or (VecIndex < 0)";
inline constexpr const char* kNegRange2 = "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)";
inline constexpr const char* kVecIndexLen = "VecIndex + Len) > Vec.Length";
inline constexpr const char* kIndexLen = "(Index + Len) > Length";
inline constexpr const char* kVec1IndexLen = "(Vec1Index + Len) > Vec1.Length";
inline constexpr const char* kVec2IndexLen = "(Vec2Index + Len) > Vec2.Length";
inline constexpr const char* kComplexVec = "Complex <> Vec.Complex";
inline constexpr const char* kComplexVec2 = "Complex  <> Vec2.Complex";
inline constexpr const char* kVec1Vec2Complex2 = "Vec1.Complex  <> Vec2.Complex";
inline constexpr const char* kSelfVec = "Self = Vec";
inline constexpr const char* kSelfVec12 = "(Self = Vec1) or (Self = Vec2)";
// The whole-vector-default forms Op (X, XIndex, Index, Len).
inline constexpr const char* kComplexX = "Complex <> X.Complex";
inline constexpr const char* kIndexFLength = "(Index + Len) > FLength";
inline constexpr const char* kXIndexLen = "(XIndex + Len) > X.Length";

// ---- Single arguments below zero (refused always) -----------------------------------------------------------
inline constexpr const char* kNegIndex = "Index < 0";
inline constexpr const char* kNegAIndex = "AIndex < 0";
inline constexpr const char* kNegLen = "Len < 0";
inline constexpr const char* kNegVecIndex = "VecIndex < 0";
inline constexpr const char* kNegRow = "Row < 0";
inline constexpr const char* kNegCol = "Col < 0";
inline constexpr const char* kNegMtxRow = "MtxRow < 0";
inline constexpr const char* kNegMtxCol = "MtxCol < 0";

// ---- Vector storage, element access, the SetIt family --------------------------------------------------------
inline constexpr const char* kIndxNeg = "Indx < 0 ";
inline constexpr const char* kIndxLength = "Indx > Length-1";
inline constexpr const char* kIsSubRange = "IsSubRange = True!";
inline constexpr const char* kLengthNeg = "SetActualLength: Value < 0";
inline constexpr const char* kLengthTooLarge = "SetActualLength: Value too large";
inline constexpr const char* kAdoptLenNeg = "Adopt: Len < 0";
inline constexpr const char* kAdoptLenTooLarge = "Adopt: Len too large";
inline constexpr const char* kAdoptDataNil = "Adopt: Data = nil";
inline constexpr const char* kAdoptLenData = "Adopt: Len > Length(Data)";
inline constexpr const char* kBlockLevel = "BlockLevel > 0";
inline constexpr const char* kFirstSampleEmpty = "FirstSample: Length = 0";
inline constexpr const char* kLastSampleEmpty = "LastSample: Length = 0";
inline constexpr const char* kNotComplex = "not Complex!";
inline constexpr const char* kFirstCplxEmpty = "FirstCplx: Length = 0";
inline constexpr const char* kLastCplxEmpty = "LastCplx: Length = 0";
// An odd count of Doubles given for complex elements.
inline constexpr const char* kOddEntries = "Odd number of entries for complex data";
inline constexpr const char* kHighAHalf = "((High(A)+1) div 2) > Length";
inline constexpr const char* kHighA = "(High(a)+1) > Length";
inline constexpr const char* kHighAIndex = "(High(a)+1+Index) > Length";
inline constexpr const char* kLenIndexLength = "(Len+Index) > Length";
inline constexpr const char* kLenAIndex = "(Len+AIndex) > Length(a)";
inline constexpr const char* kSliceLen = "SliceIt: Len < 0";
inline constexpr const char* kVecNil = "Vec = nil";

// ---- Sub-ranges and blocks ----------------------------------------------------------------------------------
inline constexpr const char* kSrcLength = "(Index + Len) > Src.Length";
inline constexpr const char* kSrcLengthHalf = "(Index + Len) > (Src.Length div 2)";
inline constexpr const char* kSrcLengthTwice = "(Index + Len) > (Src.Length*2)";
inline constexpr const char* kSLength = "(Index + Len) > SLength";
inline constexpr const char* kBlockSize = "BlockInit: BlockSize < 1";

// ---- The pool -----------------------------------------------------------------------------------------------
inline constexpr const char* kVecCacheItemsNeg = "SetVecCacheSize: ItemCount < 0";
inline constexpr const char* kVecCacheElementsNeg = "SetVecCacheSize: Elements < 0";
inline constexpr const char* kMtxCacheItemsNeg = "SetMtxCacheSize: ItemCount < 0";
inline constexpr const char* kMtxCacheElementsNeg = "SetMtxCacheSize: Elements < 0";
inline constexpr const char* kMtxCacheElementsTooLarge = "SetMtxCacheSize: Elements too large";
inline constexpr const char* kTestNil = "TestNil: Nil pointer";
// The pools' names, which their refusals quote.
inline constexpr const char* kVecCache = "VecCache";
inline constexpr const char* kMtxCache = "MtxCache";
// A cache size changed while slot Slot of the pool is handed out: "VecCache[3] = Used".
inline std::string CacheUsed(const char* Pool, int Slot)
{
    return std::string(Pool) + "[" + std::to_string(Slot) + "] = Used";
}
// FreeIt of an object the pool did not hand out, or of one already back.
inline constexpr const char* kFreeNotPooled = "FreeIt: object does not belong to the pool";
inline constexpr const char* kFreeTwice = "FreeIt: object already returned to the pool";

// ---- BLAS and LAPACK ----------------------------------------------------------------------------------------
// A dimension that does not fit BLAS's 32-bit INTEGER.
inline std::string BlasRange(std::int64_t Value)
{
    return "Dimension out of the range of BLAS: " + std::to_string(Value);
}
// An illegal argument reported through xerbla_: "DGESV: argument 3 illegal".
inline std::string IllegalArgument(const char* Routine, int Argument)
{
    return std::string(Routine) + ": argument " + std::to_string(Argument) + " illegal";
}

// ---- Matrix storage, element access, band storage -----------------------------------------------------------
inline constexpr const char* kIndx1Rows = "Indx1 > Rows-1";
inline constexpr const char* kIndx2Cols = "Indx2 > Cols-1";
inline constexpr const char* kIndx1Neg = "Indx1 < 0";
inline constexpr const char* kIndx2Neg = "Indx2 < 0";
inline constexpr const char* kSizeTooLarge = "SetActualSize: Value too large";
inline constexpr const char* kSizeNeg = "SetActualSize: Value < 0";
inline constexpr const char* kColsOdd = "SetComplex: Cols is odd";
inline constexpr const char* kASelf = "A = Self";
inline constexpr const char* kMtxNil = "Mtx = nil";
inline constexpr const char* kMtxSelf = "Mtx = Self";
inline constexpr const char* kAdoptRowsColsNeg = "Adopt: Rows or Cols < 0";
inline constexpr const char* kAdoptRowsColsTooLarge = "Adopt: Rows*Cols too large";
inline constexpr const char* kAdoptRowsColsData = "Adopt: Rows*Cols > Length(Data)";
inline constexpr const char* kDstSelf = "Dst = Self";
inline constexpr const char* kBandTooLarge = "(SuperDiag+SubDiag)*Cols > MaxElemCount";
inline constexpr const char* kAComplex = "A.Complex = True";
inline constexpr const char* kBandRows = "A.Rows < SuperDiag+SubDiag+1";

// ---- Matrix copies, rows and columns ------------------------------------------------------------------------
inline constexpr const char* kMtxEmpty = "Mtx.Rows*MTx.Cols = 0";
inline constexpr const char* kMtxComplex = "Mtx.Complex <> Complex";
inline constexpr const char* kMtxRowRows = "MtxRow + NrRows > Mtx.Rows";
inline constexpr const char* kMtxColCols = "MtxCol + NrCols > Mtx.Cols";
inline constexpr const char* kRowNrRows = "Row + NrRows > Rows";
inline constexpr const char* kColNrCols = "Col + NrCols > Cols";
inline constexpr const char* kNrRows = "NrRows < 1";
inline constexpr const char* kVecLengthNrRows = "Vec.Length mod NrRows <> 0";
inline constexpr const char* kCopyVecIndexLen1 = "(VecIndex+Len-1) > Vec.Length";
inline constexpr const char* kCopyVecStartPos = "(StartPos +VecIndex + Len) > Mtx.Cols*Mtx.Rows";
inline constexpr const char* kXSelf = "X = Self";
inline constexpr const char* kSelfSrcMtx = "Self = SrcMtx";
inline constexpr const char* kRowLenRows = "(Row+Len) > Rows";
inline constexpr const char* kColCols = "Col > (Cols-1)";
inline constexpr const char* kRowRows = "Row > Rows-1";
inline constexpr const char* kColLenCols = "(Col + Len) > Cols";
inline constexpr const char* kSetColVecLen = "VecIndex+ Len > Vec.Length";
inline constexpr const char* kSetRowVecLen = "VecIndex + Len > Vec.Length";
inline constexpr const char* kVecLengthRows = "Vec.Length <> Vec.Rows";
inline constexpr const char* kVecLengthCols = "Vec.Length <> Cols";

// ---- Matrix products ----------------------------------------------------------------------------------------
inline constexpr const char* kMul12Complex = "Mtx1.Complex <> Mtx2.Complex";
inline constexpr const char* kMulSelf = "(Self = Mtx1) or (Self = Mtx2)";
// The inner dimensions of op1(Mtx1) and op2(Mtx2) differ; the text names the dimensions compared.
inline constexpr const char* kMulColsRows = "Mtx1.Cols <> Mtx2.Rows";
inline constexpr const char* kMulColsCols = "Mtx1.Cols <> Mtx2.Cols";
inline constexpr const char* kMulRowsRows = "Mtx1.Rows <> Mtx2.Rows";
inline constexpr const char* kMulRowsCols = "Mtx1.Rows <> Mtx2.Cols";
inline constexpr const char* kMtx1SymSquare = "Mtx1.Symmetric and not Mtx1.Quadratic";
inline constexpr const char* kMtx1HermSquare = "Mtx1.Hermitian and not Mtx1.Quadratic";
inline constexpr const char* kMtx1TriSquare = "Mtx1.Triangle and not Mtx1.Quadratic";
inline constexpr const char* kMtx2SymSquare = "Mtx2.Symmetric and not Mtx2.Quadratic";
inline constexpr const char* kMtx2HermSquare = "Mtx2.Hermitian and not Mtx2.Quadratic";
inline constexpr const char* kMtx2TriSquare = "Mtx2.Triangle and not Mtx2.Quadratic";
inline constexpr const char* kLengthRows = "Length <> Mtx.Rows";
inline constexpr const char* kLengthCols = "Length <> Mtx.Cols";
inline constexpr const char* kVecSelf = "Vec = Self";
inline constexpr const char* kMtxTypeUnsupported = "MtxType not supported";
inline constexpr const char* kMtxSymSquare = "Mtx.Symmetric and not Mtx.Quadratic";
inline constexpr const char* kMtxHermSquare = "Mtx.Hermitian and not Mtx.Quadratic";
inline constexpr const char* kMtxTriSquare = "Mtx.Triangle and not Mtx.Quadratic";

// ---- The linear solver (LUSolve) ---------------------------------------------------------------------------------
inline constexpr const char* kLUSolvePrefix = "LUSolve: ";
inline constexpr const char* kBSelf = "B = Self";
inline constexpr const char* kBComplex = "B.Complex <> Complex";
inline constexpr const char* kQuadraticFalse = "Quadratic = False";
inline constexpr const char* kBRowsRows = "B.Rows <> Rows";
inline constexpr const char* kBLengthRows = "B.Length <> Rows";
inline constexpr const char* kBRowsCols = "B.Rows <> Cols";
inline constexpr const char* kBLengthCols = "B.Length <> Cols";
inline constexpr const char* kBandGeneralRows = "SubDiag+SuperDiag+1 <> Rows";
// A symmetric or Hermitian band whose stored rows are not those of its triangle (kd + 1), and negative diagonal
// counts of any band type.
inline constexpr const char* kBandUpperRows = "SuperDiag+1 <> Rows";
inline constexpr const char* kBandLowerRows = "SubDiag+1 <> Rows";
inline constexpr const char* kSubDiagNeg = "SubDiag < 0";
inline constexpr const char* kSuperDiagNeg = "SuperDiag < 0";
inline constexpr const char* kComplexSymmPosDef =
    "Eig: Complex symmetric positive definite matrix type not supported. Use general!";
inline constexpr const char* kComplexBandSymmPosDef =
    "Eig: Complex band symmetric positive definite matrix type not supported. Use general!";
inline constexpr const char* kHermitianReal = "Hermitian solve: not complex!";
// A factorization's INFO > 0 inside its text, and its INFO < 0.
inline std::string CholeskyMinor(int Info)
{
    return "Cholesky: leading minor of order " + std::to_string(Info) + "is not positive definite";
}
inline std::string BunchKaufmanSingular(int Info)
{
    const std::string i = std::to_string(Info);
    return "Bunch Kauffman: singular at D(" + i + "," + i + ") = 0";
}
inline std::string LUSingular(int Info)
{
    const std::string i = std::to_string(Info);
    return "LU factorization: U(" + i + "," + i + ") = 0 (singular)";
}
inline std::string InvalidParameter(int Info)
{
    return std::to_string(Info) + "parameter is invalid!";
}
// The stage texts, followed by INFO.
inline constexpr const char* kErorrInverse = "Erorr at inverse:";
inline constexpr const char* kErorrSolve = "Erorr at solve:";
inline constexpr const char* kErorrRefine = "Erorr at refine solution:";
inline constexpr const char* kErorrEstimate = "Erorr at condition number estimate:";
inline constexpr const char* kCholeskySolve = "Cholesky: Erorr at solve:";
inline constexpr const char* kBunchKaufmanSolve = "Bunch-Kauffman: Erorr at solve:";
inline constexpr const char* kBunchKaufmanRefine = "Bunch-Kauffman: Erorr at refine solution:";
inline constexpr const char* kBunchKaufmanEstimate = "Bunch-Kauffman: Erorr at condition number estimate:";
inline constexpr const char* kTriangleSolve = "Triangle: Erorr at solve:";
inline constexpr const char* kTriangleRefine = "Triangle: Erorr at refine solution:";
inline constexpr const char* kTriangleEstimate = "Triangle: Erorr at condition number estimate:";
inline constexpr const char* kLUSolveSolve = "LU solve: Erorr at solve:";
inline constexpr const char* kLUSolve = "LU: Erorr at solve:";
inline constexpr const char* kLURefine = "LU: Erorr at refine solution:";
inline constexpr const char* kLUEstimate = "LU: Erorr at condition number estimate:";
inline constexpr const char* kBandGeneralEstimate = "Band general: Erorr at condition number estimate:";

// ---- Sums ---------------------------------------------------------------------------------------------------
inline constexpr const char* kAddSelf = "TVec.Add: Self = Vec";
inline constexpr const char* kVecLength = "Vec.Length <> Length";
inline constexpr const char* kAddComplex = "TVec.Add: Vec.Complex <> Complex";
// A complex factor for a scaled sum of real vectors (the factor's imaginary part would be lost).
inline constexpr const char* kAddNotComplex = "TVec.Add: Not Complex";
inline constexpr const char* kVec12Length = "Vec1.Length <> Vec2.Length";
inline constexpr const char* kVec12Complex = "Vec1.Complex <> Vec2.Complex";

// ---- Copies, reversal, joining, splitting -------------------------------------------------------------------
inline constexpr const char* kCopyNeg = "Len < 0 or Index < 0 VecIndex < 0";
inline constexpr const char* kCopyIndexLen = "Index+Len > Length";
inline constexpr const char* kCopyVecIndexLen = "VecIndex+Len > Vec.Length";
inline constexpr const char* kCopyComplex = "Vec.Complex <> Complex";
inline constexpr const char* kSelfVec1 = "Self = Vec1";
inline constexpr const char* kSelfVec2 = "Self = Vec2";
inline constexpr const char* kComplexMtx = "Complex <> Mtx.Complex";
inline constexpr const char* kStartPos = "(StartPos+Len) > Mtx.Rows*Mtx.Cols";
// Negative arguments of CopyMtx.
inline constexpr const char* kCopyMtxNeg = "(Len < 0) or (Index < 0) or (Row < 0) or (Col < 0)";
inline constexpr const char* kRevVecLen = "(Len + VecIndex) > Vec.Length";
inline constexpr const char* kRevLen = "(Len + Index) > fLength";
inline constexpr const char* kSrcComplex = "src[i].Complex <> src[0].Complex";
inline constexpr const char* kConcatLen = "(Index + Sum(Src[i].Length)) > Length";
inline constexpr const char* kOffsetLength = "Offset > fLength";
// Split into one vector given twice, or a negative Offset.
inline constexpr const char* kVec1Vec2 = "Vec1 = Vec2";
inline constexpr const char* kOffsetNeg = "Offset < 0";
inline constexpr const char* kSizeMismatch = "Size mismatch at vec ";
inline constexpr const char* kHighDst = "High(Dst) <> High(DstSize)";
inline constexpr const char* kLengthExceeded = "Self.Length exceeded at vec ";
// A negative piece size of the sized Split.
inline constexpr const char* kDstSizeNeg = "DstSize[i] < 0";

// ---- Gather and Scatter -------------------------------------------------------------------------------------
inline constexpr const char* kOffsetIncrement = "Offset > (Increment-1)";
// An Increment below 1 (0 would divide by zero, a negative one give a negative length).
inline constexpr const char* kIncrement = "Increment < 1";
inline constexpr const char* kGatherIndex = "Indexes.Values[Indexes.length-1] > (X.Length-1)";
inline constexpr const char* kGatherMask = "X.Length <> Indexes.Length";
inline constexpr const char* kIndexesComplex = "Indexes.Complex = True";
inline constexpr const char* kXComplex = "X.Complex <> Complex";
inline constexpr const char* kScatterIncrement = "Length < X.Length*Increment";
inline constexpr const char* kFComplexX = "FComplex <> X.Complex";
inline constexpr const char* kScatterIndex = "Length < (Indexes.Values[Indexes.Length-1]-1)";
inline constexpr const char* kScatterMask = "i > X.Length";
// An index entry below 0 (or not a number), and an X too short for the index vector of Scatter.
inline constexpr const char* kIndexNeg = "Indexes.Values[i] < 0";
inline constexpr const char* kScatterSource = "X.Length < Indexes.Length";

// ---- Complex parts ------------------------------------------------------------------------------------------
inline constexpr const char* kCartNotComplex = "TVec.CartToPolar: Not complex!";
inline constexpr const char* kSelfAmplPhase = "(Self = AmpltVec) or (Self = PhaseVec)";
inline constexpr const char* kAmplComplex = "AmpltVec.Complex = True";
inline constexpr const char* kPhaseComplex = "PhaseVec.Complex = True";
inline constexpr const char* kAmplPhaseLength = "AmpltVec.Length <> PhaseVec.Length";
inline constexpr const char* kAIndexLen = "(AIndex + Len) > Length";
inline constexpr const char* kPIndexLen = "(PIndex + Len) > Length";
inline constexpr const char* kComplexFalse = "Complex = False";
inline constexpr const char* kComplexTrue = "Complex = True";
inline constexpr const char* kVecLengthZero = "Vec.Length = 0";
inline constexpr const char* kVecComplexFalse = "Vec.Complex = False";
inline constexpr const char* kReIndexLen = "(ReIndex + Len) > ReVec.Length";
inline constexpr const char* kImIndexLen = "(ImIndex + Len) > ImVec.Length";
inline constexpr const char* kReComplex = "ReVec.Complex = True";
inline constexpr const char* kImComplex = "ImVec.Complex = True";
inline constexpr const char* kSelfReIm = "(Self = ReVec) or (Self = ImVec)";
inline constexpr const char* kReImLength = "ReVec.Length <> ImVec.Length";
// One vector for both parts of CplxToReal (the imaginary parts would overwrite the real ones).
inline constexpr const char* kReIm = "ReVec = ImVec";
inline constexpr const char* kSelfSrc = "Self = Src";
inline constexpr const char* kMulISelf = "Self = Vec and (XIndex <> Index)";
inline constexpr const char* kRealXLen = "(X.Complex = false) and (Len = -1)";
inline constexpr const char* kSelfOmega = "Self = Omega";
inline constexpr const char* kOmegaIndexLen = "OmegaIndex + Len) > Omega.Length";
inline constexpr const char* kOmegaComplex = "Omega.Complex := True";
// Negative arguments of Expj and of the whole-vector-default forms.
inline constexpr const char* kExpjNeg = "(Len <= 0) or (Index < 0) or (OmegaIndex < 0)";
inline constexpr const char* kNegX = "(Index < 0) or (XIndex < 0)";

// ---- Number text (number_text.cpp) --------------------------------------------------------------------------
inline constexpr const char* kOffsetLow = "Offset < 1";
// An empty delimiter of ExtractSample/ExtractCplx (it would be found at every position).
inline constexpr const char* kDelimiterEmpty = "Delimiter is empty";

// ---- Arithmetic on two operands and on one operand (vec_arith.cpp, vec_unary.cpp) ----------------------------
inline constexpr const char* kVecSrc = "Vec = Src";
inline constexpr const char* kLengthVec = "Length <> Vec.Length";
inline constexpr const char* kComplexVec1 = "Complex <> Vec1.Complex";
inline constexpr const char* kVec1Complex = "Vec1.Complex  <> Complex";
inline constexpr const char* kDivideLength = "TVec.Divide: Length <> Vec.Length";
inline constexpr const char* kDivideSelf = "TVec.Divide: Self = Vec";
inline constexpr const char* kNumDenLength = "Num.Length <> Den.Length";
inline constexpr const char* kNumDenComplex = "Num.Complex  <> Den.Complex";
inline constexpr const char* kSelfNumDen = "(Self = Num) or (Self = Den)";
inline constexpr const char* kVecComplex2 = "Vec.Complex  <> Complex";
inline constexpr const char* kSelfVecParen = "(Self = Vec)";
inline constexpr const char* kDifferenceSelf = "TVec.Difference: Self = Vec";
inline constexpr const char* kLenPlusIndexLength = "(Len + Index) > Length";
inline constexpr const char* kVecComplexNotTrue = "Vec.Complex <> True";
inline constexpr const char* kVecComplexTrue = "Vec.Complex = True";
inline constexpr const char* kNegIndexLen = "(Len <= 0) or (Index < 0)";
// A complex factor or offset for a real vector (its imaginary part would be lost).
inline constexpr const char* kScaleNotComplex = "TVec.Scale: Not Complex";
inline constexpr const char* kOffsetNotComplex = "TVec.Offset: Not Complex";
inline constexpr const char* kSqrNeg = "(Len < 0) or (Index < 0) or (VecIndex < 0)";
inline constexpr const char* kAbsComplex = "TVec.Abs: Complex = True";
inline constexpr const char* kComplexFalseLower = "Complex = false";

// ---- Vector FFT ---------------------------------------------------------------------------------------------
inline constexpr const char* kLengthNotPow2 = "Length is not power of two!";
inline constexpr const char* kLenNotPow2 = "Len is not power of two!";
inline constexpr const char* kLenMustPow2 = "Len must be power of two!";
inline constexpr const char* kNotComplexFft = "not Complex";
inline constexpr const char* kIndexHalfLen = "(Index + (Len div 2)) > Length";
// A transform would read or write bin N/2 of a packed spectrum where the element past the vector's end is not
// its own memory (a view, or an adopted array without room).
inline constexpr const char* kNoRoomBin = "No room past Length for bin N/2";

// ---- Binary stream format -----------------------------------------------------------------------------------
inline constexpr const char* kReadStream = "Error reading stream!";
inline constexpr const char* kMtxReadStream = "TMtx: Error reading stream!";
inline constexpr const char* kWrongFormat = "Wrong file format!";
// Sizes above 2^24 would not be stored exactly in the header's singles: refused before anything is written.
inline constexpr const char* kStreamLength = "Length > 16777216";
inline constexpr const char* kStreamRowsCols = "Rows or Cols > 16777216";
// A precision or rounding given by the caller outside its enumeration.
inline constexpr const char* kPrecisionRange = "Precision out of range";
inline constexpr const char* kRoundingRange = "Rounding out of range";

// ---- Special functions (numerics/SpecialFuncs) --------------------------------------------------------------
inline constexpr const char* kEllipCompleteRange = "EllipComplete: (m < 0) or (1 < m)";
inline constexpr const char* kEllipJacobyRange = "EllipJacoby: (m < 0) or (1 < m)";
inline constexpr const char* kLegendreComplex = "Result = Complex";
inline constexpr const char* kLegendreNegN = "n < 0";
// A degree whose N + 1 values would not fit in a vector's Integer length.
inline constexpr const char* kLegendreTooLarge = "n + 1 > High(Integer)";

}  // namespace tarnel::msg
