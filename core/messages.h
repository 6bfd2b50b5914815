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
// Destinations of which one views the other's memory (sizing one would free or overwrite what the other holds).
inline constexpr const char* kVec1Vec2Shared = "Vec1 and Vec2 share memory";
inline constexpr const char* kDstShared = "Dst[i] and Dst[j] share memory";

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
// Two outputs of which one views the other's memory (sizing one would free or overwrite what the other holds).
inline constexpr const char* kAmplPhaseShared = "AmpltVec and PhaseVec share memory";
inline constexpr const char* kReImShared = "ReVec and ImVec share memory";
inline constexpr const char* kSelfSrc = "Self = Src";
inline constexpr const char* kMulISelf = "Self = Vec and (XIndex <> Index)";
inline constexpr const char* kRealXLen = "(X.Complex = false) and (Len = -1)";
inline constexpr const char* kSelfOmega = "Self = Omega";
inline constexpr const char* kOmegaIndexLen = "OmegaIndex + Len) > Omega.Length";
inline constexpr const char* kOmegaComplex = "Omega.Complex := True";
// A length below -1 (the whole-vector default) in the forms Op (X, XIndex, Index, Len).
inline constexpr const char* kLenBelowDefault = "Len < -1";
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
inline constexpr const char* kNotComplexBare = "not Complex";
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

// ---- Expression parser (parser/) ----------------------------------------------------------------------------
inline constexpr const char* kTooManyArguments = "Too many arguments";
inline constexpr const char* kNotStringOperand = " is not a valid string operand";
inline constexpr const char* kUnequalBrackets = "Unequal brackets";
inline constexpr const char* kTwoValueWords = " two space limited variables/constants";
inline constexpr const char* kUnknownFunction = " is an unknown function";
inline constexpr const char* kEmptyBrackets = "Empty brackets ()";
inline constexpr const char* kMissingBetweenBrackets = "Missing operand between )(";
inline constexpr const char* kMissingAfterBracket = "Missing operand between ) and constant/variable";
inline constexpr const char* kMissingBeforeBracket = "Missing operand between constant/variable and (";
inline constexpr const char* kSyntaxErrorIn = "Syntax error in expression ";
inline constexpr const char* kNoOperand = "Can not find operand/function";
inline constexpr const char* kTooFewArguments = "Syntax error: function or operand has too few arguments";
// The run-time's conversion error of a hexadecimal literal that is no 32-bit number.
inline std::string InvalidInteger(const std::string& Text)
{
    return "'" + Text + "' is not a valid integer value";
}
// The framework's list-index error of the parser's collections.
inline std::string ListIndexError(int Index)
{
    return "List index out of bounds (" + std::to_string(Index) + ")";
}
// A call or operator given more operands than it takes (words that would otherwise be dropped).
inline constexpr const char* kTooManyOperands = "Syntax error: function or operand has too many arguments";
// Words before a function name whose value the call would drop ("2 sin(x)", "sin(x) cos(x)").
inline constexpr const char* kOperatorBeforeFunction = "Syntax error: missing operator before function ";
// A string outside a comparison of two strings: it has no numeric value.
inline constexpr const char* kStringOperand = " can only be compared with a string";
// A text of blanks alone.
inline constexpr const char* kEmptyExpression = "Syntax error: empty expression";
// The limits of parser/MtxParseClass.h.
inline constexpr const char* kExpressionTooLong = "Syntax error: expression longer than 1000000 characters";
inline constexpr const char* kNestedTooDeep = "Syntax error: expression nested deeper than 1000 levels";

// ---- Built-in words and the parser class (parser/parse_builtin.cpp, parser/parse_expr.cpp) -------------------
inline constexpr const char* kFactorialComplex = "Factorial: Complex argument not supported!";
inline constexpr const char* kDivComplex = "Div: argument can not be complex!";
inline constexpr const char* kRandomG = "RandomG: not supported!";
inline constexpr const char* kArcTan2Complex = "ArcTan2: Arguments can not be complex!";
inline constexpr const char* kDegToRadComplex = "DegToRad: argument can not be complex!";
inline constexpr const char* kGcdComplex = "Gcd: argument can not be complex!";
inline constexpr const char* kCplxComplex = "Cplx: arguments can not be complex!";
inline constexpr const char* kExpjComplex = "Expj: argument can not be complex!";
inline constexpr const char* kCartToPolarReal = "CartToPolar: argument must be complex!";
inline constexpr const char* kPolarToCartReal = "PolarToCart: argument must be complex!";
inline constexpr const char* kNoExpression = "No expression found!";
// AddObject on a sorted parser; the remark in brackets is ours.
inline constexpr const char* kExpressionsNotSorted =
    "Expressions may not be sorted! (an expression's index is its place in the order of adding)";

// ---- Sorting, statistics, norms and dot products (vec_sort.cpp, mtx_sort.cpp, vec_stats.cpp, vec_norms.cpp) ----
// The range texts of these families come in three spellings; "Index+Len > Length" is kCopyIndexLen.
inline constexpr const char* kIndexLenSpaced = "Index + Len > Length";
inline constexpr const char* kLenIndexLength2 = "Len+Index > Length";
inline constexpr const char* kIndexLenVecLength = "Index+Len > Vec.Length";
inline constexpr const char* kSelfIndexVec = "Self = IndexVec";
// A sort column past the last one (a negative one is kNegCol).
inline constexpr const char* kColColsMinus1 = "Col > Cols-1";
inline constexpr const char* kDotComplex = "Vec.Complex or Self.Complex";
inline constexpr const char* kDotNotComplex = "not (Vec.Complex or Complex)";
inline constexpr const char* kDotConjReal = "Operation not supported: Conj(complex vector)*(real vector)!";

// ---- Vectors from matrix rows, columns and diagonals (vec_rows.cpp) ------------------------------------------
inline constexpr const char* kMtxRowsCols = "Mtx.Rows*Mtx.Cols = 0";
inline constexpr const char* kRowMtxRows = "Row > Mtx.Rows-1";
inline constexpr const char* kColMtxCols = "Col > Mtx.Cols-1";
inline constexpr const char* kRowMtxRowsParen = "Row > (Mtx.Rows-1)";
inline constexpr const char* kColMtxColsParen = "Col > (Mtx.Cols-1)";
// Raised when Col + Len > Mtx.Cols, whatever the text says.
inline constexpr const char* kColLenMtxCols1 = "(Col + Len) > (Mtx.Cols-1)";
inline constexpr const char* kColLenMtxCols = "(Col + Len) > Mtx.Cols";
inline constexpr const char* kRowLenMtxRows = "(Row + Len) > Mtx.Rows ";
inline constexpr const char* kIndexlenLength = "(Index + len) > Length";
inline constexpr const char* kKOutOfRange = "k out of range";

// ---- Toeplitz solvers (numerics/Toeplitz.cpp) ----------------------------------------------------------------
inline constexpr const char* kFirstColLengthB = "(FirstCol.Length+1) <> B.Length";
inline constexpr const char* kFirstRowLength = "FirstRow.Length <> (FirstCol.Length+1)";
inline constexpr const char* kFirstRowComplex =
    "(FirstRow.Complex <> FirstCol.Complex) or (FirstRow.Complex <> B.Complex)";
// X shares memory with the matrix that the recursion still reads while it writes X.
inline constexpr const char* kXFirstRow = "X = FirstRow";
inline constexpr const char* kXFirstCol = "X = FirstCol";

// ---- Optimisation (numerics/opt_*.cpp) --------------------------------------------------------------------------
// A gradient procedure given a Grad it would write past its end or with the wrong element width; our texts (the
// procedures write n real elements and do not size Grad).
inline constexpr const char* kGradLengthPars = "Grad.Length < Length(Pars)";
inline constexpr const char* kGradComplex = "Grad.Complex = True";
// A gradient or Hessian procedure called by a minimiser left Grad (or Hess) of another size than the minimiser gave it
// (n, n × n): the minimiser would read past its end.
inline constexpr const char* kGradLengthChanged = "Grad.Length <> Length(Pars)";
inline constexpr const char* kHessSizeChanged = "Hess size <> Length(Pars)";

// ---- Least squares, LU, inverse, QR (mtx_lapack_lsq.cpp, mtx_lapack_lu.cpp, mtx_lapack_qr.cpp) ----------------
inline constexpr const char* kFRowsBLength = "fRows <> B.Length";
inline constexpr const char* kFColsBLength = "fCols <> B.Length";
inline constexpr const char* kFRowsBRows = "fRows <> B.Rows";
inline constexpr const char* kFColsBRows = "fCols <> B.Rows";
inline constexpr const char* kFComplexB = "fComplex <> B.Complex";
inline constexpr const char* kLQRSolveSelf = "B = Self or X = Self";
inline constexpr const char* kSVDSolveSelf = "(B = Self) or (X = Self)";
inline constexpr const char* kBLenghtRows = "B.Lenght <> Rows";
// The triangular factor of LQRSolve given as X (it would overwrite the solutions), the singular values of SVDSolve
// given as X (they would overwrite the right-hand sides), and a data block of the cores shorter than
// max(Rows, Cols)·NRHS elements or a negative NRHS.
inline constexpr const char* kRX = "R = X";
inline constexpr const char* kSX = "S = X";
inline constexpr const char* kBlockShort = "Length(B) < Max(Rows,Cols)*NRHS";
inline constexpr const char* kLUHermitianReal = "LU: Hermitian and not complex!";
inline constexpr const char* kIFRows = "i > FRows-1";
inline constexpr const char* kJFRows = "j > FRows-1";
inline constexpr const char* kIFCols = "i > FCols-1";
inline constexpr const char* kJFCols = "j > FCols-1";
// Negative row or column indexes of RowExchange and ColExchange; one matrix given for both factors of LUD.
inline constexpr const char* kINeg = "i < 0";
inline constexpr const char* kJNeg = "j < 0";
inline constexpr const char* kLU = "L = U";
// The index forms of the triangle extractions: a negative First, fewer than zero rows, and a triangle that would
// read columns beyond Mtx's.
inline constexpr const char* kFirstNeg = "First < 0";
inline constexpr const char* kLastFirst = "Last < First-1";
inline constexpr const char* kTriangleCols = "Triangle column > Mtx.Cols-1";
inline constexpr const char* kLQRLSelf = "L=Self";
inline constexpr const char* kLQRQSelf = "Q=Self";
inline constexpr const char* kLQRRSelf = "R=Self";
inline constexpr const char* kLMinQRLSelf = "L = Self";
inline constexpr const char* kLMinQRQSelf = "Q = Self";
inline constexpr const char* kLMinQRRSelf = "R = Self";
// One matrix given for Q and for a triangular factor (the factor would overwrite the reflectors before Q is formed).
inline constexpr const char* kLQRLQ = "L=Q";
inline constexpr const char* kLQRRQ = "R=Q";
inline constexpr const char* kLMinQRLQ = "L = Q";
inline constexpr const char* kLMinQRRQ = "R = Q";
// Followed by INFO.
inline constexpr const char* kQRInvalid = "QR: Invalid parameter: ";
inline constexpr const char* kLQInvalid = "LQ: Invalid parameter: ";
inline constexpr const char* kQInvalid = "Q: Invalid parameter: ";
inline constexpr const char* kInverseErorr = "Erorr at inverse: ";
inline constexpr const char* kCholeskyInverse = "Cholesky: Erorr at inverse: ";
inline constexpr const char* kBunchKaufmanInverse = "Bunch-Kauffman: Erorr at inverse:";
inline constexpr const char* kBunchKaufmanInverseBlank = "Bunch-Kauffman: Erorr at inverse: ";
inline constexpr const char* kFactorizationInverse = "Factorization: Erorr at inverse: ";
inline constexpr const char* kTriangleInverse = "Triangle: Erorr at inverse:";
inline constexpr const char* kLUFactorizationInverse = "LU factorization: Erorr at inverse: ";
// A factorization's INFO > 0 inside its text (the others are above, with the linear solver's).
inline std::string GaussJordanSingular(int Info)
{
    const std::string i = std::to_string(Info);
    return "Gauss-Jordan: singular at U(" + i + "," + i + ") = 0";
}
inline std::string FactorizationSingular(int Info)
{
    const std::string i = std::to_string(Info);
    return "Factorization: U(" + i + "," + i + ") = 0 (singular)";
}
// The Cholesky factorization of Inv writes its own with a blank.
inline std::string InvalidParameterBlank(int Info)
{
    return std::to_string(Info) + " parameter is invalid!";
}

// ---- Fills, ramps, primes and rounding of vectors (vec_fill.cpp) --------------------------------------------
inline constexpr const char* kLenPlusIndexSpaced = "Len + Index > Length";
inline constexpr const char* kIndexALength = "(Index + a.Length) > Length";
inline constexpr const char* kIndexLenFLength = "Index+Len > fLength";
inline constexpr const char* kPrimeN = "n <= 0";
inline constexpr const char* kLengthDst = "Length(Dst) <> Length!";

// ---- Element-wise arithmetic and complex parts of matrices (mtx_arith.cpp) ------------------------------------
// A complex factor, offset or sum factor for a real matrix (its imaginary part would be lost).
inline constexpr const char* kMtxScaleNotComplex = "TMtx.Scale: Not Complex";
inline constexpr const char* kMtxAddNotComplex = "TMtx.Add: Not Complex";
inline constexpr const char* kMtxOffsetNotComplex = "TMtx.Offset: Not Complex";
inline constexpr const char* kMtxRowsRows = "Mtx.Rows <> Rows";
inline constexpr const char* kMtxColsCols = "Mtx.Cols <> Cols";
inline constexpr const char* kMtxRowsZero = "Mtx.Rows = 0";
inline constexpr const char* kMtxColsZero = "Mtx.Cols = 0";
inline constexpr const char* kLengthZero = "Length = 0";
inline constexpr const char* kMtxCountRowsCols = "Mtx.Rows*Mtx.Cols <> Rows*Cols";
inline constexpr const char* kSelfMtx = "Self = Mtx";
inline constexpr const char* kMtx2Mtx1Rows = "Mtx2.Rows <> Mtx1.Rows";
inline constexpr const char* kMtx2Mtx1Cols = "Mtx2.Cols <> Mtx1.Cols ";
inline constexpr const char* kMtx1Empty = "Mtx1.Rows*Mtx1.Cols = 0 ";
inline constexpr const char* kMtx1Count = "Mtx1.Rows*Mtx1.Cols";
inline constexpr const char* kMulElemSelf = "(Mtx1 = Self) or (Mtx1 = Self)";
inline constexpr const char* kMtxComplexFalse = "Mtx.Complex = False";
inline constexpr const char* kNotComplexCap = "Not complex!";
inline constexpr const char* kRowsColsZero = "Rows*Cols = 0";
inline constexpr const char* kSelfAmpltPhaseMtx = "(AmpltMtx = Self) or (PhaseMtx = Self)";
inline constexpr const char* kAmpltMtxEmpty = "AmpltMtx.Rows*AmpltMtx.Cols = 0 ";
inline constexpr const char* kPhaseAmpltRows = "PhaseMtx.Rows <> AmpltMtx.Rows";
inline constexpr const char* kPhaseAmpltCols = "PhaseMtx.Cols <> AmpltMtx.Cols";
inline constexpr const char* kAmpltMtxComplex = "AmpltMtx.Complex = True";
inline constexpr const char* kPhaseMtxComplex = "PhaseMtx.Complex = True";
inline constexpr const char* kReMtxEmpty = "ReMtx.Rows*ReMtx.Cols = 0";
inline constexpr const char* kImMtxEmpty = "ImMtx.Rows*ImMtx.Cols = 0 ";
inline constexpr const char* kReImRows = "ReMtx.Rows <> ImMtx.Rows";
inline constexpr const char* kReImCols = "ReMtx.Cols <> ImMtx.Cols";
inline constexpr const char* kSelfReImMtx = "(ReMtx = Self) or (ImMtx = Self)";

// ---- Sylvester, outer and Kronecker products, small matrix operations (mtx_small.cpp) ------------------------
inline constexpr const char* kABComplex = "A.Complex <> B.Complex";
inline constexpr const char* kANotQuadratic = "not A.Quadratic";
inline constexpr const char* kCRowsARows = "C.Rows <> A.Rows";
inline constexpr const char* kCColsACols = "C.Cols <> A.Cols";
// An A or B that is not in Schur form (upper quasi-triangular real, upper triangular complex): the solver would
// return a wrong X without a word.
inline constexpr const char* kANotQuasiTriangular = "A is not upper quasi-triangular";
inline constexpr const char* kBNotQuasiTriangular = "B is not upper quasi-triangular";
// MtxError of a Sylvester equation solved with perturbed values (INFO = 1: A and -B, or A and B, have common or
// close eigenvalues); INFO follows.
inline constexpr const char* kSylvesterPerturbed = "Sylvester: close eigenvalues, perturbed values used:";
inline constexpr const char* kVec1LengthRows = "Vec1.Length <> FRows";
inline constexpr const char* kVec1LengthCols = "Vec1.Length <> FCols";
// A rank-1 update of a matrix of the other kind (the vectors' elements would be written with the wrong width).
inline constexpr const char* kVec1ComplexSelf = "Vec1.Complex <> Complex";
inline constexpr const char* kSrcMtxComplex = "SrcMtx.Complex = True";
inline constexpr const char* kSrcMtxSelf = "SrcMtx = Self";
inline constexpr const char* kSetItCplxCount = "Rows*Cols*2 <> (High(A)+1)";
inline constexpr const char* kSetItCount = "Rows*Cols <> (High(A)+1)";
inline constexpr const char* kRowToRow = "Row > ToRow";
inline constexpr const char* kColToCol = "Col > ToCol";
inline constexpr const char* kToRowsRows = "ToRows > Rows-1";
inline constexpr const char* kToColsCols = "ToCols > Cols-1";

// ---- Eigenvalues, the singular value decomposition, matrix functions (mtx_lapack_eig.cpp, mtx_lapack_svd.cpp,
// mtx_function.cpp) -------------------------------------------------------------------------------------------------
inline constexpr const char* kEigComplexSymmetric = "Eig: Complex symmetric matrix type not supported. Use general!";
inline constexpr const char* kEigFailed = "Failed to find eigenvalues!";
inline constexpr const char* kVLSelf = "VL = Self";
inline constexpr const char* kVRSelf = "VR = Self";
// One matrix given as both VL and VR (the two results would overwrite each other).
inline constexpr const char* kVLVR = "VL = VR";
inline constexpr const char* kVNil = "V = nil";
inline constexpr const char* kVLVRNil = "VL or VR must be <> nil!";
// EigGen's checks name the condition that must hold.
inline constexpr const char* kEigGenBRows = "B.Rows = Rows";
inline constexpr const char* kEigGenBCols = "B.Cols = Cols";
inline constexpr const char* kNotQuadratic = "not Quadratic";
inline constexpr const char* kVSelf = "V = Self";
// A B of the other kind than Self (LAPACK would read its data with the wrong element width).
inline constexpr const char* kEigGenBComplex = "B.Complex = Complex";
inline constexpr const char* kBidiagonalError = "Bidiagonal form error: ";
inline constexpr const char* kSVDNoConvergence = "SVD failed to converge!";
inline constexpr const char* kUSelf = "U = Self";
// One matrix given as both U and V (sizing the second would free the data LAPACK writes the first into).
inline constexpr const char* kUV = "U = V";
inline constexpr const char* kNotSrcQuadratic = "not Src.Quadratic";
inline constexpr const char* kFuncNotAssigned = "not Assigned(Func)";
inline constexpr const char* kPowerParams = "Power: Length(Params) <> 1";
// MtxError of MtxFunction when the eigenvector matrix is singular to working precision (Info = n + 1).
inline constexpr const char* kMtxFunctionDependent = "MtxFunction: eigenvectors are linearly dependent";

// ---- Exponentials, logarithms, powers, trigonometric functions and searches of vectors and matrices ----------
inline constexpr const char* kSelfBase = "Self = Base";
inline constexpr const char* kBaseSelf = "Base = Self";
inline constexpr const char* kBaseComplexFalse = "Base.Complex = false";
inline constexpr const char* kSelfX = "Self = X";
inline constexpr const char* kNZero = "N = 0";
inline constexpr const char* kSinxSelf = "Sinx = Self";
inline constexpr const char* kCosxSelf = "Cosx = Self";
inline constexpr const char* kSinhxSelf = "Sinhx = Self";
inline constexpr const char* kCoshxSelf = "Coshx = Self";
inline constexpr const char* kComplexSinX = "Complex <> SinX.Complex";
inline constexpr const char* kComplexCosX = "Complex <> CosX.Complex";
inline constexpr const char* kComplexSinhX = "Complex <> SinhX.Complex";
inline constexpr const char* kComplexCoshX = "Complex <> CoshX.Complex";
inline constexpr const char* kXIndexSinX = "(XIndex + Len) > SinX.Length";
inline constexpr const char* kXIndexCosX = "(XIndex + Len) > CosX.Length";
inline constexpr const char* kXIndexSinhX = "(XIndex + Len) > SinhX.Length";
inline constexpr const char* kXIndexCoshX = "(XIndex + Len) > CoshX.Length";
inline constexpr const char* kXIndexLenOpen = "XIndex + Len) > X.Length";
inline constexpr const char* kIndexLenOpen = "Index + Len) > Length";
inline constexpr const char* kComplexBare = "Complex";
inline constexpr const char* kFindABComplex = "a.Complex <> b.Complex";
// FindAndGather asked to put the indexes into the vector that receives the elements.
inline constexpr const char* kSelfIndexes = "Self = Indexes";
inline constexpr const char* kOmegaSelf = "Omega = Self";
inline std::string ParameterNotRecognized(const std::string& Op)
{
    return "Parameter: " + Op + " not recognized!";
}

// ---- Matrix reductions, blocks and special matrices, 2-D FFT (mtx_reduce.cpp, mtx_blocks.cpp, mtx_fft2d.cpp) --
inline constexpr const char* kSrc0ComplexI = "Src[0].Complex <> Src[i].Complex";
inline constexpr const char* kSrc0ColsI = "Src[0].Cols <> Src[i].Cols";
inline constexpr const char* kSrc0RowsI = "Src[0].Rows <> Src[i].Rows";
inline constexpr const char* kComplexSrcI = "Complex <> Src[i].Complex";
inline constexpr const char* kDestColSrcCols = "DestCol + Src[i].Cols > Cols";
inline constexpr const char* kDestRowSrcRows = "DestRow + Src[i].Rows > Rows";
inline constexpr const char* kTooManyRows = "Too many rows!";
inline constexpr const char* kTooManyCols = "Too many columns!";
// A negative position of the stacking into place (its rows would land before Self's data).
inline constexpr const char* kDestRowNeg = "DestRow < 0";
inline constexpr const char* kDestColNeg = "DestCol < 0";
inline constexpr const char* kGridCount = "(ARows*ACols) <> (High(Dst)+1)";
inline constexpr const char* kBlockRows = "Size mismatch: a.Rows+RowOffset > fRows";
inline constexpr const char* kBlockCols = "Size mismatch: a.Cols+ColOffset > fCols";
inline constexpr const char* kDiagCols = "Vec.Length + k  > Cols";
inline constexpr const char* kDiagRows = "Vec.Length - k  > Rows";
inline constexpr const char* kFirstRowColComplex = "FirstRow.Complex <> FirstCol.Complex";
inline constexpr const char* kNotPowerOfTwo = "IsPowerOfTwo = False";
inline constexpr const char* kRealFFTSizes = "(CheckPowerOfTwo(FRows-2) and  CheckPowerOfTwo(FCols-2)) = False";
inline constexpr const char* kIRealFFTSizes = "(CheckPowerOfTwo(FRows-2) and  CheckPowerOfTwo(FCols-1)) = False";

// ---- DCT, Hilbert, resampling, Goertzel, convolution, random fills, pixel down-sampling (vec_signal.cpp,
// vec_convolve.cpp, vec_random.cpp, pixel_downsample.cpp) ------------------------------------------------------
inline constexpr const char* kDctVecComplex = "TVec.DCT: Vec.Complex = True";
inline constexpr const char* kDctSelfVec = "TVec.DCT: Self = Vec";
inline constexpr const char* kPhaseFactor = "(Phase+1) >= Factor";
inline constexpr const char* kFactorBelow1 = "Factor < 1";
inline constexpr const char* kSrcIndexLenSrc = "SrcIndex+Len > Src.Length";
inline constexpr const char* kIndexLenDivFactor = "Index+ (Len div Factor) > Length";
inline constexpr const char* kIndexLenSrcLength = "Index+Len > Src.Length";
inline constexpr const char* kIndexLenFactor = "Index + Len*Factor > Length";
// A negative phase, or a negative index or length of the indexed resampling forms.
inline constexpr const char* kPhaseNeg = "Phase < 0";
inline constexpr const char* kResampleRangeNeg = "(SrcIndex < 0) or (Index < 0) or (Len < 0)";
inline constexpr const char* kGoertzRealHalf = "(not Complex) and (Freq >= 0.5)";
inline constexpr const char* kGoertzFreqOne = "Freq >= 1)";
inline constexpr const char* kGoertzFreqZero = "Freq <= 0)";
// Goertz on a vector whose filter no GoertzInit has prepared.
inline constexpr const char* kGoertzNoInit = "GoertzInit not called";
inline constexpr const char* kConvolveSelf = "TVec.Convolve: (Self = X) or (Self = H)";
inline constexpr const char* kAutoCorrNormalLags = "TVec.AutoCorrNormal: Lags > Vec.Length";
inline constexpr const char* kAutoCorrBiasedLags = "TVec.AutoCorrBiased: Lags > Vec.Length";
inline constexpr const char* kAutoCorrUnBiasedLags = "TVec.AutoCorrUnBiased: Lags > Vec.Length";
inline constexpr const char* kAutoCorrNormalSelf = "TVec.AutoCorrNormal: Self = Vec";
inline constexpr const char* kAutoCorrBiasedSelf = "TVec.AutoCorrBiased: Self = Vec";
inline constexpr const char* kAutoCorrUnBiasedSelf = "TVec.AutoCorrUnBiased: Self = Vec";
// A negative number of lags.
inline constexpr const char* kLagsNeg = "Lags < 0";
inline constexpr const char* kCrossCorrLags = "TVec.CrossCorr: HiLag <= LoLag";
inline constexpr const char* kCrossCorrSelf = "TVec.CrossCorr: (Self = Vec1) or (Self = Vec2)";
inline constexpr const char* kConvXNil = "X = nil";
inline constexpr const char* kConvXEmpty = "X.Rows*X.Cols = 0";
inline constexpr const char* kConvHEmpty = "H.Rows*H.Cols = 0";
inline constexpr const char* kConvComplex = "X.Complex or H.Complex";
inline constexpr const char* kConvSelf = "(X = Self) or (H = Self)";
inline constexpr const char* kPixelSrcComplex = "Src.Complex = True";
inline constexpr const char* kPixelXNil = "(X = nil) or (NX = nil)";
inline constexpr const char* kPixelXLength = "SrcX.Length <> SrcY.Length";
// A display width below one pixel.
inline constexpr const char* kPixelWidth = "Width < 1";
// Unequally spaced samples whose positions do not increase over the range.
inline constexpr const char* kPixelSpan = "X[Index+Len-1] <= X[Index]";

// ---- Special functions (numerics/SpecialFuncs) --------------------------------------------------------------
inline constexpr const char* kEllipCompleteRange = "EllipComplete: (m < 0) or (1 < m)";
inline constexpr const char* kEllipJacobyRange = "EllipJacoby: (m < 0) or (1 < m)";
inline constexpr const char* kLegendreComplex = "Result = Complex";
inline constexpr const char* kLegendreNegN = "n < 0";
// A degree whose N + 1 values would not fit in a vector's Integer length.
inline constexpr const char* kLegendreTooLarge = "n + 1 > High(Integer)";

// ---- Polynomials, piecewise polynomials, splines and interpolation (numerics/poly_*.cpp, numerics/pp_*.cpp) ----
inline constexpr const char* kPolyFitComplex = "PolyFit : XValues.Complex <> YValues.Complex";
inline constexpr const char* kPolyFitLength = "PolyFit : XValues.Length <> YValues.Length";
// No data to fit, a negative degree and a fit without a unique solution (LAPACK's INFO > 0): raised instead of
// returning LAPACK's leftovers or the previous coefficients.
inline constexpr const char* kPolyFitEmpty = "PolyFit : XValues.Length = 0";
inline constexpr const char* kPolyFitDeg = "PolyFit : Deg < 0";
inline constexpr const char* kPolyFitRank = "PolyFit : Vandermonde matrix rank deficient";
inline constexpr const char* kPolyEvalComplex = "PolyEval : Val.Complex <> Coeff.Complex";
inline constexpr const char* kPolyEvalKinds = "not (Val.Complex = Coeff.Complex)!";
inline constexpr const char* kPolyEvalCoeffComplex = "Coeff.Complex = True";
inline constexpr const char* kPolyMtxQuadratic = "not Mtx.Quadratic";
inline constexpr const char* kDeConvComplex = "A.Complex<>B.Complex";
inline constexpr const char* kIirComplex = "A.Complex<>B.Complex!";
inline constexpr const char* kIirA0 = "A[0]=0 !";
inline constexpr const char* kIirA0Complex = "A.CValues[0]=(0,0) !";
inline constexpr const char* kPieceEvaluate = "(FBreaks.Length <= 0) or (FCoefficients.Rows <> FBreaks.Length -1)";
// A complex X for the vector form (the pieces are real functions of a real variable).
inline constexpr const char* kPieceComplex = "TPiecePoly.Evaluate : X.Complex = True";
inline constexpr const char* kLinear1DLength = "Linear1D : X.Length <> Y.Length";
inline constexpr const char* kLinear1DReal = "Linear1D : all vectors must be real!";
// Fewer than two points (no piece) and abscissae that decrease: refused instead of building a broken object.
inline constexpr const char* kLinear1DShort = "Linear1D : X.Length < 2";
inline constexpr const char* kLinear1DAscending = "Linear1D : X is not ascending";
inline constexpr const char* kSpline1DComplex = "Spline1D :(X.Complex) or (Y.Complex)";
inline constexpr const char* kSpline1DShort = "Spline1D : X.Length < 2";
inline constexpr const char* kSpline1DMatch = "Spline1D : Abscisa and ordinanta points DO NOT match!";
inline constexpr const char* kSpline1DYComplex = "Spline1D :(Y.Complex)";
// Repeated or decreasing abscissae (infinite or misread pieces otherwise).
inline constexpr const char* kSpline1DAscending = "Spline1D : X is not strictly ascending";
inline constexpr const char* kInterpolateLength = "Interpolate : X.Length <> Y.Length";
inline constexpr const char* kInterpolateReal = "Interpolate : all vectors must be real!";
inline constexpr const char* kInterpolateX3 = "Interpolate : X.Length < 3";
inline constexpr const char* kInterpolateX2 = "Interpolate : X.Length < 2";
inline constexpr const char* kInterpolateY3 = "Interpolate : Y.Length < 3";
inline constexpr const char* kInterpolateY2 = "Interpolate : Y.Length < 2";
inline constexpr const char* kInterpolateEqdLength = "InterpolateEqd : X.Length <> Y.Length";
inline constexpr const char* kInterpolateEqdReal = "InterpolateEqd : all vectors must be real!";
inline constexpr const char* kInterpolateEqdShort = "InterpolateEqd : X.Length < 3";
// A zero step (the first and last abscissa equal).
inline constexpr const char* kInterpolateEqdStep = "InterpolateEqd : X[0] = X[X.Length-1]";

// ---- Text, MatrixMarket and grid exchange (vec_text.cpp, mtx_text.cpp, CellGrid.cpp) ----------------------------
// Line lists of vectors.
inline constexpr const char* kTextIndexLen = "Index + Len > fLength";
inline constexpr const char* kTextIndexLenParen = "(Index + Len) > fLength";
inline constexpr const char* kTextListIndexLen = "ListIndex + Len > AList.Count";
// Line lists of matrices.
inline constexpr const char* kTextRowCount = "TMtx.ValuesToStrings: (Row + RowCount) > FRows";
inline constexpr const char* kTextColCount = "TMtx.ValuesToStrings: (Col + ColCount) > FCols";
inline constexpr const char* kTextColumnCountRow = "Row > AList.Count-1";
inline constexpr const char* kTextListLenRows = "(Row + ListLen-1) > fRows";
inline constexpr const char* kTextColumnCountCols = "(Col + ColumnCount) > fCols";
inline constexpr const char* kTextListLenCount = "(ListIndex+ListLen-1) > Alist.Count";
inline constexpr const char* kTextFieldIndex = "k > AMtx.Cols-1";
// Grids of vectors: written vertically, horizontally, read.
inline constexpr const char* kGridVertCols = "(Dst.ColCount) < (2+Integer(FComplex))";
inline constexpr const char* kGridVertRows = "(Dst.RowCount+1) < (DstRow+Len)";
inline constexpr const char* kGridIndexLen = "(Index+Len) > Length";
inline constexpr const char* kGridHorzCols = "(Dst.ColCount+1) < fLength";
inline constexpr const char* kGridHorzRows = "(Dst.RowCount+1) < (2+Integer(FComplex)";
inline constexpr const char* kGridReadVertRows = "((SrcRow + Len) > Src.RowCount) and Vertical";
inline constexpr const char* kGridReadVertCols = "(SrcCol+(Byte(IsComplex)+1)) > Src.ColCount";
inline constexpr const char* kGridReadHorzRows = "(SrcRow+1) > Src.RowCount";
inline constexpr const char* kGridReadHorzCols = "((SrcCol + Len) > Src.ColCount) and not Vertical";
// Grids of matrices.
inline constexpr const char* kGridMtxCols = "(Dst.ColCount+1) < (ColCount*(1+Integer(Src.Complex))+DstCol)";
inline constexpr const char* kGridMtxRows = "(Dst.RowCount+1) < (RowCount+DstRow)";
inline constexpr const char* kGridSrcRows = "(SrcRow + RowCount) > Src.Rows";
inline constexpr const char* kGridSrcCols = "(SrcCol + ColCount) > Src.Cols";
inline constexpr const char* kGridRowRows = "(Row + RowCount) > fRows";
inline constexpr const char* kGridColCols = "(Col + ColCount) > fCols";
inline constexpr const char* kGridReadRows = "(SrcRow + RowCount) > Src.RowCount";
inline constexpr const char* kGridReadCols = "(SrcCol + ColCount*(Byte(IsComplex)+1)) > Src.ColCount)";
// Negative positions and counts, refused before anything else.
inline constexpr const char* kTextNegVec = "(ListIndex < 0) or (Index < 0) or (Len < 0)";
inline constexpr const char* kTextNegVecRead = "(ListIndex < 0) or (Index < 0)";
inline constexpr const char* kTextNegMtx =
    "(ListIndex < 0) or (Row < 0) or (Col < 0) or (RowCount < 0) or (ColCount < 0)";
inline constexpr const char* kTextNegMtxRead = "(ListIndex < 0) or (ListLen < 0) or (Row < 0) or (Col < 0)";
inline constexpr const char* kGridNegVecWrite = "(DstRow < 0) or (DstCol < 0) or (Index < 0) or (Len < 0)";
inline constexpr const char* kGridNegVecRead = "(SrcRow < 0) or (SrcCol < 0) or (Index < 0) or (Len < 0)";
inline constexpr const char* kGridNegMtxWrite =
    "(DstRow < 0) or (DstCol < 0) or (SrcRow < 0) or (SrcCol < 0) or (RowCount < 0) or (ColCount < 0)";
inline constexpr const char* kGridNegMtxRead =
    "(SrcRow < 0) or (SrcCol < 0) or (Row < 0) or (Col < 0) or (RowCount < 0) or (ColCount < 0)";
// The grid's own: a cell outside it, and a negative size.
inline constexpr const char* kGridIndex = "Grid index out of range";
inline constexpr const char* kGridSizeNeg = "Grid size < 0";

// ---- Probabilities (numerics/prob_*.cpp) ------------------------------------------------------------------------
inline constexpr const char* kErfInvRange = "abs(y) > 0";
inline constexpr const char* kFailedToConverge = "Failed to converge!";
inline constexpr const char* kProbXComplex = " X.Complex = true ";
inline constexpr const char* kProbYComplex = " Y.Complex = true ";
inline constexpr const char* kProbPComplex = " P.Complex = true ";
inline constexpr const char* kProbNuComplex = " Nu.Complex = true ";
inline constexpr const char* kProbNuLength = " Nu1.Length <> Nu2.Length ";
inline constexpr const char* kProbMuNotPositive = "mu <= 0";

}  // namespace tarnel::msg
