// TSparseMtx: the library's sparse matrix of real or complex numbers in compressed-column form, with its class chain
// TSparseMtx1 -> TSparseMtx2 -> TSparseMtx.
//
// All fields live in TSparseMtx1; TSparseMtx2 adds the complex forms, TSparseMtx the forms that take dense matrices
// and the explicit Size. Each level brings the overloads of the level below back into scope with `using`. Programs
// create TSparseMtx, and every member that takes a sparse matrix takes a TSparseMtx. Matrices have identity: they
// are not copyable (copy with Copy or Assign).
//
// Storage (0-based): column j holds the entries at positions ColPointers[j] .. ColPointers[j+1]-1 of the row
// indices and of the values; ColPointers[0] = 0 and ColPointers[Cols] = NonZeros. The conversions from triplets
// and from dense matrices leave the rows of every column ascending without repeats; other producers (the sparse
// product) may leave them in the order they were reached. An explicit zero may be stored; an absent entry reads 0.
// Rows is a plain number that only the range checks of the readers use.
//
// The entry count follows the value vector: every change of the values' length or kind runs DoSetCols, which takes
// over their kind as Complex and their length as NonZeros. Setting Complex therefore halves the entries of a real
// matrix (or doubles those of a complex one), as the value memory is seen the other way; a complex matrix is built
// by setting Complex before NonZeros, as Size does. The row indices keep the entries past NonZeros as spare room,
// so a shrink and a regrowth within one operation (the value vector switching kind, then length) restore them.
//
// Size with another count keeps the old pattern, so the column pointers may no longer describe NonZeros entries.
// Every reader checks the part of the pattern it uses and raises "Invalid sparse pattern!" rather than read outside
// the arrays.
//
// Single elements are set through a triplet buffer: SetValue / SetMtxCValue append (row, column, value) and
// TripletsToSparseAndFlush replaces the compressed form with the buffered triplets (dimensions from the largest
// indices, duplicates summed). While triplets are pending, GetValue and GetMtxCValue refuse to read.
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/Dovi387.h"
#include "core/TempGuard.h"
#include "core/binary_stream.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "sparse/SparseTypes.h"

// The functions of the stored values that the sparse matrices forward to the vector operation of the same name:
// from a source (TSparseMtx1) and in place (TSparseMtx2).
#define TARNEL_SPARSE_FROM_SOURCE_LIST(X)                                                                            \
    X(Abs)                                                                                                           \
    X(ArcCos)                                                                                                        \
    X(ArcCosh)                                                                                                       \
    X(ArcSin)                                                                                                        \
    X(ArcTan)                                                                                                        \
    X(ArcTanh)                                                                                                       \
    X(Cbrt)                                                                                                          \
    X(Conj)                                                                                                          \
    X(Cos)                                                                                                           \
    X(Cosh) X(Exp) X(Expj) X(ImagPart) X(InvCbrt) X(InvSqrt) X(Ln) X(Log10) X(Mag) X(PhaseSpectrum) X(PowerSpectrum) \
        X(RealPart) X(Round) X(Sin) X(Sinh) X(Sqr) X(Sqrt) X(Tan) X(Tanh) X(Trunc)
#define TARNEL_SPARSE_IN_PLACE_LIST(X)                                                                                \
    X(Abs)                                                                                                            \
    X(ArcCos)                                                                                                         \
    X(ArcCosh)                                                                                                        \
    X(ArcSin)                                                                                                         \
    X(ArcTan)                                                                                                         \
    X(ArcTanh)                                                                                                        \
    X(Cbrt)                                                                                                           \
    X(Conj)                                                                                                           \
    X(Cos)                                                                                                            \
    X(Cosh) X(Exp) X(Expj) X(InvCbrt) X(InvSqrt) X(Ln) X(Log10) X(Round) X(Sign) X(Sin) X(Sinh) X(Sqr) X(Sqrt) X(Tan) \
        X(Trunc)

namespace tarnel {

class TSparseMtx;

class TSparseMtx1 {
public:
    // Sizes of the UMFPACK control and info arrays each matrix owns (UMFPACK 5.7 uses the first 20 and 90 entries;
    // the spare ones stay 0).
    static constexpr int kControlCount = 21;
    static constexpr int kInfoCount = 91;

    // An empty real 0 × 0 matrix with UMFPACK's default control settings (block size and refinement steps taken
    // from them), ReportLevel prlBasic, SparseSystem spsA, Tolerance 500·2^-52, MaxIters 500, VectorCount 10,
    // AutoPattern and AutoClearReport on, and the column pointers {0}.
    TSparseMtx1();
    virtual ~TSparseMtx1();
    TSparseMtx1(const TSparseMtx1&) = delete;
    TSparseMtx1& operator=(const TSparseMtx1&) = delete;

    // ---- Published properties, in their streaming order --------------------------------------------------------
    int Rows() const { return FRows; }
    void SetRows(int Value) { FRows = Value; }
    int Cols() const { return FCols; }
    // A new count resizes the column pointers to Value + 1 entries, keeping the existing ones (new ones 0).
    // "SetCols: Value < 0" for a negative count.
    void SetCols(int Value);
    bool Complex() const { return FComplex; }
    // Switches the kind of the value vector (which reruns DoSetCols): n real entries become n div 2 complex ones.
    void SetComplex(bool Value);
    int NonZeros() const { return FNonZeros; }
    // A new count resizes the row indices and the values, keeping the first ones. Raises
    // "SetActualLength: Value < 0" for a negative count before anything changes.
    void SetNonZeros(int Value);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    bool Dirty() const { return FDirty; }
    void SetDirty(bool Value) { FDirty = Value; }
    // The triplet conversions keep entries at or below their threshold (an explicit zero, for one).
    bool DontStripZeros() const { return FDontStripZeros; }
    void SetDontStripZeros(bool Value) { FDontStripZeros = Value; }
    bool AutoClearReport() const { return FAutoClearReport; }
    void SetAutoClearReport(bool Value) { FAutoClearReport = Value; }
    TReportLevel ReportLevel() const { return FReportLevel; }
    // Also control entry 0 (UMFPACK's print level) := the ordinal.
    void SetReportLevel(TReportLevel Value);
    int RefinmentIters() const { return FRefinmentIters; }
    // The property keeps max(Value, 0); control entry 7 receives Value as given.
    void SetRefinmentIters(int Value);
    TSparseSystem SparseSystem() const { return FSparseSystem; }
    // Also selects the system string; an ordinal outside the table leaves the string as it is.
    void SetSparseSystem(TSparseSystem Value);
    int BlockSize() const { return FBlockSize; }
    // Also control entry 4 := Value.
    void SetBlockSize(int Value);
    TIterativeMethod IterativeMethod() const { return FIterativeMethod; }
    void SetIterativeMethod(TIterativeMethod Value) { FIterativeMethod = Value; }
    TConvergenceCheck ConvergenceCheck() const { return FConvergenceCheck; }
    void SetConvergenceCheck(TConvergenceCheck Value) { FConvergenceCheck = Value; }
    double Tolerance() const { return FTolerance; }
    void SetTolerance(double Value) { FTolerance = Value; }
    int MaxIters() const { return FMaxIters; }
    void SetMaxIters(int Value) { FMaxIters = Value; }
    int VectorCount() const { return FVectorCount; }
    // Keeps at least 2.
    void SetVectorCount(int Value);

    // ---- Public settings and results of the solvers ----------------------------------------------------------
    // The text of the last solver failure; empty after a successful solve.
    const std::string& MtxError() const { return FMtxError; }
    void SetMtxError(const std::string& Value) { FMtxError = Value; }
    int ActualIters() const { return FActualIters; }
    void SetActualIters(int Value) { FActualIters = Value; }
    double BackError() const { return FBackError; }
    void SetBackError(double Value) { FBackError = Value; }
    bool AutoPattern() const { return FAutoPattern; }
    void SetAutoPattern(bool Value) { FAutoPattern = Value; }
    // The UMFPACK system string SparseSystem selected ("Ax=b", "A'x=b", ...).
    const std::string& SystemString() const { return FSystemString; }

    // ---- The stored form (read only) ---------------------------------------------------------------------------
    // Cols + 1 column pointers, NonZeros row indices, and the values (NonZeros real or complex entries).
    std::span<const int> ColPointers() const { return {FColPointers.data(), FColPointers.size()}; }
    std::span<const int> RowIndices() const { return {FRowIndices.data(), static_cast<std::size_t>(FNonZeros)}; }
    const TVec& Values() const { return *FValues; }
    std::span<const double, kControlCount> ControlArray() const { return FControl; }
    std::span<const double, kInfoCount> InfoArray() const { return FInfo; }

    // ---- Size, copy and comparison (sparse_storage.cpp) --------------------------------------------------------
    // Src's kind, dimensions and entry count; the own pattern stays (the column pointers and row indices are not
    // copied).
    void Size(const TSparseMtx& Src);
    // Src's dimensions, entry count, column pointers, row indices and values, with its kind. Settings, caption and
    // results stay.
    void Copy(const TSparseMtx& Src);
    // Copy, then the settings: Complex, AutoClearReport, ReportLevel, RefinmentIters, SparseSystem, BlockSize,
    // IterativeMethod, ConvergenceCheck, Tolerance, MaxIters, VectorCount, Caption and Dirty. AutoPattern,
    // DontStripZeros, MtxError, ActualIters and BackError stay.
    virtual void Assign(const TSparseMtx& Source);
    // Complex, NonZeros, Rows and Cols all equal Src's (the patterns are not compared).
    virtual bool IsEqualSize(const TSparseMtx& Src) const;
    // The same dimensions, entry count, pattern and (by the vector's Equal with Tolerance) values; two new matrices
    // are equal.
    bool Equal(const TSparseMtx& Sparse, double Tolerance) const;

    // ---- Element access through the triplet buffer (sparse_elements.cpp) ---------------------------------------
    // Buffers (ARow, ACol, Value) for the next TripletsToSparseAndFlush; nothing is stored in the compressed form
    // yet. In this order: "Complex = True" on a complex matrix, "ARow < 0", "ACol < 0", "ARow too large",
    // "ACol too large", and "Call TripletsToSparseAndFlush first!" while complex triplets are pending.
    void SetValue(int ARow, int ACol, double Value);
    // The complex twin: "not Complex" on a real matrix, then the same checks (pending real triplets refuse).
    void SetMtxCValue(int ARow, int ACol, const TCplx& Value);
    // Replaces the compressed form with the buffered triplets, converted in the kind they were set in: Rows and
    // Cols from the largest indices + 1, duplicates summed, zeros dropped unless DontStripZeros. The buffer is
    // empty afterwards, also when the conversion raises.
    void TripletsToSparseAndFlush();
    // The stored value at (ARow, ACol), 0 when there is no entry. In this order: "Call TripletsToSparseAndFlush
    // first!", "ACol > (FCols-1)", "ARow > (FRows-1)", "Complex = True", "ACol < 0", and "Invalid sparse pattern!"
    // when the column's pointers do not lie within the entries. A negative ARow finds no entry.
    double GetValue(int ARow, int ACol) const;
    // The complex twin ("not Complex" on a real matrix); C_ZERO when there is no entry.
    TCplx GetMtxCValue(int ARow, int ACol) const;
    // Triplets buffered and the length the buffers have grown to (they grow geometrically, from 100 entries).
    int TripletCount() const { return FTripletCount; }
    int TripletBufferLength() const { return static_cast<int>(FTripletRows.size()); }

    // ---- Triplet and dense conversions (sparse_triplets.cpp) ---------------------------------------------------
    // The compressed form of the triplets (Row[i], Column[i], Values[i]) in an ARows × ACols real matrix: triplets
    // whose magnitude is at or below Thresh are dropped before duplicates are summed (all kept with
    // DontStripZeros), and the rows of every column ascend. Checks, all before anything changes:
    // "(Length(Row) <> Length(Values))", "(RowCount <= 0) or (ColCount <= 0)", "(Length(Row) <> Length(Column))",
    // "Length(Row) <= 0", "Invalid triplet!" (an index outside the dimensions). A failure changes nothing.
    void TripletsToSparse(int ARows, int ACols, const TIntArray& Row, const TIntArray& Column,
                          const TSampleArray& Values, double Thresh);
    // Row index, column index and value of every entry in storage order. The arrays must hold exactly NonZeros
    // entries ("Length(Row) < NonZeros", "Length(Column) < NonZeros", "Length(Values) < NonZeros"). Of a complex
    // matrix this form copies the first NonZeros Doubles of the values (interleaved real and imaginary parts).
    void SparseToTriplets(TIntArray& Row, TIntArray& Column, TSampleArray& Values) const;
    // Entries of magnitude at or below Thresh become zero and are then dropped (kept as explicit zeros with
    // DontStripZeros); the dimensions stay. A matrix without entries stays as it is.
    void ZeroThresh(double Thresh);

    // ---- Functions of the stored values (sparse_values.cpp) ---------------------------------------------------
    // Self := f(Src): Src's kind, dimensions and pattern, and the vector operation of the same name applied to Src's
    // values (implicit zeros are not touched, so Cos or Exp give the function of the stored entries only). Src may
    // be Self.
#define TARNEL_SPARSE_FROM_SOURCE(Name) TSparseMtx1& Name(const TSparseMtx& Src);
    TARNEL_SPARSE_FROM_SOURCE_LIST(TARNEL_SPARSE_FROM_SOURCE)
#undef TARNEL_SPARSE_FROM_SOURCE
    // The whole of Src's values (the range form with Len -1).
    TSparseMtx1& ArcSinh(const TSparseMtx& Src);
    TSparseMtx1& ExtendToComplex(const TSparseMtx& Src, bool Zeros);
    TSparseMtx1& IntPower(const TSparseMtx& Src, int N);
    TSparseMtx1& Power(const TSparseMtx& Src, const TCplx& Exponent);
    TSparseMtx1& LogN(double Base, const TSparseMtx& Src);
    // 1/x with the vector's threshold rule.
    TSparseMtx1& InvElem(const TSparseMtx& Src, double Threshold);
    // (x - Offset)/Factor.
    TSparseMtx1& Normalize(const TSparseMtx& Src, double Offset, double Factor);
    TSparseMtx1& ThreshBottom(const TSparseMtx& Src, double Value);
    TSparseMtx1& ThreshTop(const TSparseMtx& Src, double Value);
    // In place on the values of a real or complex matrix.
    TSparseMtx1& Offset(double Value);
    TSparseMtx1& Scale(double Value);
    TSparseMtx1& SetVal(double Value);
    // Values := -values.
    TSparseMtx1& Sign();
    // Reductions over the stored values: the complex sum and mean (over the stored entries only); the extreme
    // stored value (by the vector's complex Max / Min) into Value and its position in storage order; the position
    // of the first stored value equal to Value, -1 when none.
    void Sum(TCplx& Value) const;
    void Mean(TCplx& Value) const;
    int Max(TCplx& Value) const;
    int Min(TCplx& Value) const;
    int Find(double Value) const;

    // ---- Element-wise forms of two sparse operands (sparse_values.cpp) -----------------------------------------
    // The operands pair their values by position, so they must have the same kind, dimensions, entry count and
    // pattern; otherwise the message names the operand. Operands are only read (one of them may be Self).
    // Values := values / Sparse's values: "not IsEqualSize(Sparse)".
    TSparseMtx1& DivideElem(const TSparseMtx& Sparse);
    // Values := values · Sparse's values: "not IsEqualSize(Sparse)!".
    TSparseMtx1& MulElem(const TSparseMtx& Sparse);
    // Values := values · conj(Sparse's values): "not IsEqualSize(Sparse)!".
    TSparseMtx1& ConjMulElem(const TSparseMtx& Sparse);
    // ReSparse and ImSparse := Self's pattern with the real and imaginary parts of its values; Self stays.
    void CplxToReal(TSparseMtx& ReSparse, TSparseMtx& ImSparse) const;
    // AmpltSparse and PhaseSparse := Self's pattern with the amplitudes and phases of its values; Self stays.
    void CartToPolar(TSparseMtx& AmpltSparse, TSparseMtx& PhaseSparse) const;

    // ---- Sparse product and sum (sparse_products.cpp) ---------------------------------------------------------
    // Self := Left·Right ("B.Rows <> C.Cols"). Column by column: the rows of a result column in the order they are
    // first reached, cancellations stored as zeros. The result starts with room for Left's and Right's entries
    // together and doubles when full; where twice the room would pass MaxNonZeroCount it raises
    // "Sparse matrix multiply: MaxNonZeroCount reached!" ("... limit reached!" for a complex Right and a real
    // Left). Operands may be Self; a refused call leaves Self as it was.
    void Mul(const TSparseMtx& Left, const TSparseMtx& Right, int MaxNonZeroCount);
    // Self := Left·conj(Right), as Mul; Right is only read.
    void ConjMul(const TSparseMtx& Left, const TSparseMtx& Right, int MaxNonZeroCount);
    // Self := A + B ("(A.Rows <> B.Rows) or (A.Cols <> B.Cols)"), rows ascending in every column whatever order
    // the operands' rows are in; a sum of 0 stays stored. Room starts at the larger entry count and doubles;
    // "Sparse matrix add: MaxNonZeroCount reached!" where twice it would pass MaxNonZeroCount.
    void Add(const TSparseMtx& A, const TSparseMtx& B, int MaxNonZeroCount);
    // Self := A - B, as Add with MaxNonZeroCount 10000000. B is only read.
    void Sub(const TSparseMtx& A, const TSparseMtx& B);
    static constexpr int kSubMaxNonZeroCount = 10000000;

    // ---- Stream format and files (sparse_stream.cpp) ----------------------------------------------------------
    // Writes 21 singles of settings and sizes, the row indices, the column pointers (32-bit integers), the value
    // vector in its stream format with Precision and Rounding, and the caption. Sizes above 2^24, which a single
    // cannot hold exactly, are refused before anything is written ("Sparse sizes too large for a stream").
    void SaveToStream(TStream& Stream, TPrecision Precision, TRounding Rounding) const;
    // Reads that layout back: "Error reading stream!" for a cut stream or a header with ordinals or sizes out of
    // range, "Invalid sparse pattern!" when the pattern does not describe the values; nothing changes then.
    // AutoClearReport, DontStripZeros, Dirty and the solver results are not stored and stay.
    void LoadFromStream(TStream& Stream);
    // SaveToStream (prDouble, rnTrunc) into a new or emptied file, or at the end of an existing one with Append.
    void SaveToFile(const std::string& FileName, bool Append) const;
    // LoadFromStream from the start of the file; a missing file changes nothing.
    void LoadFromFile(const std::string& FileName);

    // ---- MatrixMarket text and files (sparse_market.cpp) --------------------------------------------------------
    // Appends a MatrixMarket coordinate text of the matrix to Strings when Format is spfMatrixMarket (no other
    // ordinal appends anything; Reserved has no effect): "%%MatrixMarket matrix coordinate real general " (or
    // "complex"; the line ends with a blank), "%Created with Tarnel version 150", "%Date: " and the short date,
    // "Rows Cols NonZeros", then one line per entry in storage order: row + 1, column + 1 and the value, or its real
    // and imaginary parts, separated by two blanks. Values in the shortest text that reads back to the same Double,
    // always with "."; the caption is not written. "Invalid sparse pattern!" before anything is appended.
    void ValuesToStrings(TStrings& Strings, TSparseFormat Format, bool Reserved) const;
    // Replaces the matrix with the one a MatrixMarket text describes: coordinate or array storage; real, integer,
    // complex or pattern values (pattern entries are 1.0); general, symmetric, skew-symmetric or Hermitian (the
    // other triangle mirrored; array files of these kinds hold one triangle by columns, skew ones without the
    // diagonal). The header's words are found case-insensitively anywhere in line 0; the lines holding "%" that
    // follow become Caption, each followed by CR LF; blank lines are skipped. Duplicates are summed, the rows of
    // every column ascend, zeros are dropped unless DontStripZeros; a text without entries gives an empty matrix
    // of its size. In this order: "Format must be HarwellBoeing or MatrixMarket!", "not (Strings.Count > 1)",
    // "Strings not in MatrixMarket format!", "Matrix object required!"; then the number parser's error, the list's
    // index error for missing lines, "(RowCount <= 0) or (ColCount <= 0)" for a negative size (or one past the
    // Integer range), "Length(Row) <= 0" for a negative entry count and "Invalid triplet!" for an index outside
    // the matrix. The whole text is read before the matrix changes: a failure changes nothing.
    void StringsToValues(const TStrings& Strings, TSparseFormat Format);
    // ValuesToStrings into a new list saved to FileName (lines ended by CR LF).
    void SaveToMatrixMarketFile(const std::string& FileName) const;
    // The lines of the file (ended by LF, CR LF or CR) through StringsToValues; a missing file (or a folder)
    // changes nothing and raises nothing.
    void LoadFromMatrixMarketFile(const std::string& FileName);
    // The Harwell-Boeing format is not supported: both raise "Harwell-Boeing files are not supported" and touch
    // neither the matrix nor the file.
    void LoadFromHarwellBoeingFile(const std::string& FileName);
    void SaveToHarwellBoeingFile(const std::string& FileName) const;

    // ---- Products with dense vectors (sparse_dense_products.cpp) ----------------------------------------------
    // Y := A·X, Rows elements ("x.Length <> FCols"), complex when X or A is. Y may be X.
    void MulRight(const TVec& X, TVec& Y) const;
    // Y := X·A (X as a row vector), Cols elements ("X.Length <> FRows"), complex when X or A is. Y may be X.
    void MulLeft(const TVec& X, TVec& Y) const;
    // The largest magnitude of A·X - B (of Aᵀ·X - B when Transposed) for a square A. In this order:
    // "Rows <> Cols", "FCols <> B.Length", "B.Length <> X.Length", "B.Complex <> Complex", "X.Complex <> Complex".
    double ResidualNorm(const TVec& B, const TVec& X, bool Transposed) const;

    // Transposes Self (sparse_transp.cpp).
    void Transp();

protected:
    // The product and the sum, checked, then built with elements of type T (double or std::complex<double>).
    void ProductOf(const TSparseMtx& Left, const TSparseMtx& Right, bool ConjRight, int MaxNonZeroCount);
    template <class T>
    void BuildProduct(const TSparseMtx& Left, const TSparseMtx& Right, bool ConjRight, int MaxNonZeroCount,
                      const char* Msg);
    void SumOf(const TSparseMtx& A, const TSparseMtx& B, double BSign, int MaxNonZeroCount);
    template <class T>
    void BuildSum(const TSparseMtx& A, const TSparseMtx& B, double BSign, int MaxNonZeroCount);
    // Installs a result built in local arrays.
    template <class T>
    void InstallBuilt(int ARows, int ACols, std::vector<int>&& ColPtr, const std::vector<int>& RowIdx,
                      const std::vector<T>& Values);
    // Y := A·X (or X·A when Left) with elements of type T (double or std::complex<double>).
    template <class T>
    void DenseProduct(const TVec& X, TVec& Y, bool Left) const;
    // Raises Msg unless A and B have the same kind, dimensions, entry count and pattern.
    static void CheckSamePattern(const TSparseMtx& A, const TSparseMtx& B, const char* Msg);
    // M's values, or a copy of them in Own when M is Self (the vector operations refuse Self as a source).
    const TVec& OperandValues(const TSparseMtx& M, detail::TVecTemp& Own) const;
    // A := Self's kind, dimensions and pattern with AValues, then B likewise with BValues (each may be Self).
    void PartsTo(TSparseMtx& A, const TVec& AValues, TSparseMtx& B, const TVec& BValues) const;
    // The one route of the source forms: takes Src's kind, dimensions and pattern, then Op(values, Src's values)
    // with the vector operation's source form. Src may be Self.
    template <class Op>
    TSparseMtx1& FromSource(const TSparseMtx& Src, Op&& F);

public:
    // ---- Iterative solution (sparse_iterative.cpp) --------------------------------------------------------------
    // Solves A·X = B with IterativeMethod, X holding the first guess on entry and the last iterate on return;
    // Symmetric: only the lower triangle of a symmetric matrix is stored. Checks, in this order, before anything
    // changes: "B.Length <> X.Length", "B.Complex or X.Complex", "FCols <> B.Length", with Symmetric
    // "Iterative solve: Symmetric matrix must contain only lower triangle!" at the first entry above the
    // diagonal, "Complex = True" on a complex matrix, an unknown IterativeMethod, and "VectorCount too large" when
    // a work length of GMRES or Orthomin passes the Integer range. Solver failures do not raise: MtxError is
    // emptied, then holds the text of the solver's code; ActualIters, BackError and a reset Tolerance are written
    // through. X may be B or share its memory: the solve reads a copy of B.
    void SolveIterative(const TVec& B, TVec& X, bool Symmetric);

protected:
    // The values' OnSetLength handler: Complex := the values' kind, then SetNonZeros(their length).
    void DoSetCols(TVecs& Sender);

    // The one conversion from triplets to the compressed form: complex values from CValues when it is not nil,
    // real ones from Values otherwise, each array as long as Row. Validates everything before it changes anything.
    void InternalTripletsToSparse(int ARows, int ACols, std::span<const int> Row, std::span<const int> Column,
                                  const TCplx* CValues, const double* Values, double Thresh);
    // The conversion itself, for values of type T (double or TCplx), after the argument checks.
    template <class T>
    void BuildFromTriplets(int ARows, int ACols, std::span<const int> Row, std::span<const int> Column, const T* Values,
                           double Thresh);
    // DenseToSparse for elements of type T, after the argument checks.
    template <class T>
    void BuildFromDense(const TMtx& Src, double Thresh);
    // Makes the matrix ARows × ACols of kind AComplex with the given column pointers (ACols + 1 of them, ending at
    // the entry count); the row indices and values are then the caller's to fill.
    void Install(int ARows, int ACols, bool AComplex, std::vector<int>&& ColPtr);
    // The entries of column ACol: raises "Invalid sparse pattern!" unless
    // 0 <= ColPointers[ACol] <= ColPointers[ACol+1] <= NonZeros.
    void CheckColumn(int ACol) const;
    // The whole pattern: ColPointers[0] = 0, never decreasing, ColPointers[Cols] = NonZeros, and with RowsToo every
    // row index within 0..Rows-1; "Invalid sparse pattern!" otherwise.
    void CheckPattern(bool RowsToo) const;
    // The position of (ARow, ACol) among the entries, or -1; the checks of GetValue (AComplex: of GetMtxCValue).
    int FindEntry(int ARow, int ACol, bool AComplex) const;
    // The checks of SetValue / SetMtxCValue after the kind check, then room for one more triplet.
    void PrepareTriplet(int ARow, int ACol, bool AComplex);

    // Fields, in the order of the class's data model.
    TIntArray FTripletRows;
    TIntArray FTripletCols;
    TSampleArray FTripletValues;
    TCplxArray FTripletCValues;
    int FTripletRowExtent = 0;  // largest buffered row index + 1; 0 when the buffer is empty
    int FTripletColExtent = 0;
    int FTripletCount = 0;
    bool FTripletComplex = false;  // the kind of the pending triplets
    std::string FSystemString;
    int FNonZeros = 0;
    int FRefinmentIters = 0;
    TIterativeMethod FIterativeMethod = itmSGS;
    TSparseSystem FSparseSystem = spsA;
    std::string FMtxError;
    bool FAutoPattern = false;
    TReportLevel FReportLevel = prlNone;
    TConvergenceCheck FConvergenceCheck = cvcNorm2;
    double FTolerance = 0;
    int FMaxIters = 0;
    int FActualIters = 0;
    int FVectorCount = 0;
    bool FAutoClearReport = false;
    int FRows = 0;
    int FCols = 0;
    double FBackError = 0;
    int FBlockSize = 0;
    bool FComplex = false;
    bool FDirty = false;
    std::string FCaption;
    bool FDontStripZeros = false;
    void* FSymbolic = nullptr;  // UMFPACK's symbolic analysis; exists only inside a direct solve
    void* FNumeric = nullptr;   // UMFPACK's numeric factorisation; likewise
    std::array<double, kControlCount> FControl{};
    std::array<double, kInfoCount> FInfo{};
    std::vector<int> FColPointers;  // Cols + 1 entries
    std::vector<int> FRowIndices;   // at least NonZeros entries; those past NonZeros are spare room
    std::unique_ptr<TVec> FValues;

    // ---- Direct solve through UMFPACK (sparse_umf_solve.cpp) ---------------------------------------------------
public:
    // X := the solution of the system SparseSystem selects for the right-hand side B (see sparse_umf_solve.cpp).
    // Raises "FCols <> B.Length", "B.Complex", "Complex = True" and "Invalid sparse pattern!"; UMFPACK's failures do
    // not raise: they leave MtxError and the report in RtlStrings. ActualIters and BackError are UMFPACK's
    // Info[80] and Info[82] + Info[83] of the last solve, also where it did no refinement and gives -1 for each.
    void Solve(const TVec& B, TVec& X);

protected:
    // The steps of a direct solve shared by both forms: the checks that follow the forms' own and the start,
    // analysis and factorisation, one solve, freeing the handles (also on the way out of an exception, through
    // TDirectSolve), and ActualIters with BackError.
    class TDirectSolve;
    void BeginDirectSolve();
    void FactorDirect();
    void SolveOne(const double* B, double* X);
    void EndDirectSolve() noexcept;
    void FinishDirectSolve();
    // The row indices and values as UMFPACK takes them: never a null pointer.
    const int* UmfAi() const;
    const double* UmfAx() const;
    // Writes Label to RtlStrings from the print level on which UMFPACK's report routines print.
    void ReportLabel(const char* Label) const;
    // Frees the kept symbolic analysis and forgets its pattern.
    void ReleaseSymbolic() noexcept;
    // With AutoPattern off, the symbolic analysis outlives the solve together with the pattern and the control
    // settings it was made with.
    std::vector<int> FSymbolicColPointers;
    std::vector<int> FSymbolicRowIndices;
    std::array<double, kControlCount> FSymbolicControl{};

    // ---- Banded, diagonal, triangular and split forms (sparse_banded.cpp) ---------------------------------------
    // Diagonal k is the one of the entries (r, c) with r - c = k: k > 0 below the main diagonal, k < 0 above it.
public:
    // SuperDiag := the largest c - r of the stored entries above the diagonal, SubDiag := the largest r - c of those
    // on or below it (0 when there are none). Stored zeros count.
    void DiagonalsCount(int& SuperDiag, int& SubDiag) const;
    // Vec := diagonal k in min(Rows, Cols) elements: element c is the first stored entry of column c in row c + k, 0
    // where there is none. Vec is sized (with the matrix's kind) and zeroed before the checks "abs(kk) > Rows" (k < 0)
    // and "(kk > Cols" (k >= 0) run; only the elements Vec has are filled.
    void Diag(TVec& Vec, int k) const;
    // Self := the lower (r >= c) or upper (r <= c) triangle of Src, strictly (r > c, r < c) without Diagonal; Src's
    // size and kind, Src's entries in Src's order. Src may be Self.
    void LowerTriangle(const TSparseMtx& Src, bool Diagonal);
    void UpperTriangle(const TSparseMtx& Src, bool Diagonal);
    // Self into LowerTriang (r > c; with DiagonalInLower also r = c), the diagonal vector Diag (min(Rows, Cols)
    // elements, zero where there is no entry; all zero with DiagonalInLower) and UpperTriang (r < c), each with Self's
    // size and kind, entries in storage order. Any of the matrices may be Self; when LowerTriang and UpperTriang are
    // one matrix, it ends as the upper part.
    void Split(TSparseMtx& LowerTriang, TVec& Diag, TSparseMtx& UpperTriang, bool DiagonalInLower) const;

protected:
    // Self := the entries of Src for which Keep(row, column) holds, in Src's order, with Src's size and kind.
    template <class Keep>
    void KeepEntries(const TSparseMtx& Src, Keep&& F);
    // Self := the assembly of the split parts (sparse_banded.cpp).
    void AssembleSplit(const TSparseMtx& LowerTriang, const TVec* Diag, const TSparseMtx& UpperTriang);
    // Installs a result built in local arrays: the row indices and the values as Doubles, two per complex entry.
    void InstallDoubles(int ARows, int ACols, bool AComplex, std::vector<int>&& ColPtr, const std::vector<int>& RowIdx,
                        const std::vector<double>& Values);
    // Installs the pattern of ColPtr, then Fill(row indices, values as Doubles) writes the entries: straight into
    // the matrix when Direct, else into local arrays installed afterwards (when the matrix is among the sources).
    template <class Fill>
    void BuildColumns(int ARows, int ACols, bool AComplex, std::vector<int>&& ColPtr, bool Direct, Fill&& F);
};

class TSparseMtx2 : public TSparseMtx1 {
public:
    using TSparseMtx1::SparseToTriplets;
    using TSparseMtx1::TripletsToSparse;

    // The complex form of TripletsToSparse: the matrix becomes complex; a triplet's magnitude is its modulus.
    void TripletsToSparse(int ARows, int ACols, const TIntArray& Row, const TIntArray& Column, const TCplxArray& Values,
                          double Thresh);
    // The complex form of SparseToTriplets: the same length checks, then "Not complex!" on a real matrix.
    void SparseToTriplets(TIntArray& Row, TIntArray& Column, TCplxArray& Values) const;
    // ---- Functions of the stored values, in place (sparse_values.cpp) -----------------------------------------
    // Values := f(values) by the vector operation of the same name; the pattern is untouched.
#define TARNEL_SPARSE_IN_PLACE(Name) \
    using TSparseMtx1::Name;         \
    TSparseMtx2& Name();
    TARNEL_SPARSE_IN_PLACE_LIST(TARNEL_SPARSE_IN_PLACE)
#undef TARNEL_SPARSE_IN_PLACE
    TSparseMtx2& SetZero();
    using TSparseMtx1::DivideElem;
    using TSparseMtx1::ExtendToComplex;
    using TSparseMtx1::Find;
    using TSparseMtx1::IntPower;
    using TSparseMtx1::InvElem;
    using TSparseMtx1::LogN;
    using TSparseMtx1::Max;
    using TSparseMtx1::Mean;
    using TSparseMtx1::Min;
    using TSparseMtx1::MulElem;
    using TSparseMtx1::Normalize;
    using TSparseMtx1::Offset;
    using TSparseMtx1::Power;
    using TSparseMtx1::Scale;
    using TSparseMtx1::SetVal;
    using TSparseMtx1::Sum;
    using TSparseMtx1::ThreshBottom;
    using TSparseMtx1::ThreshTop;
    using TSparseMtx1::Transp;
    // The values become complex (x + 0i with Zeros, else x + i·x); Complex follows.
    TSparseMtx2& ExtendToComplex(bool Zeros);
    TSparseMtx2& IntPower(int N);
    TSparseMtx2& Power(double Exponent);
    TSparseMtx2& LogN(double Base);
    // 1/x with the vector's threshold rule.
    TSparseMtx2& InvElem(double Threshold);
    TSparseMtx2& ThreshBottom(double Value);
    TSparseMtx2& ThreshTop(double Value);
    TSparseMtx2& Offset(const TCplx& Value);
    TSparseMtx2& Scale(const TCplx& Value);
    TSparseMtx2& SetVal(const TCplx& Value);
    // Self := (Src - Offset)/Factor on the values, with Src's kind, dimensions and pattern.
    TSparseMtx2& Normalize(const TSparseMtx& Src, const TCplx& Offset, double Factor);
    // Values := Base's values to the power of Exponent's values, with Base's kind, dimensions and pattern.
    TSparseMtx2& PowerSparse(const TSparseMtx& Base, const TSparseMtx& Exponent);
    // The vector's Sum of the values; Mean and RMS over all Rows·Cols elements, implicit zeros counting (0 for a
    // matrix without elements); Max and Min of the stored values only.
    double Sum() const;
    double Mean() const;
    double RMS() const;
    double Max() const;
    double Min() const;
    // The position of the first stored value equal to Value, -1 when none.
    int Find(const TCplx& Value) const;
    // Self := Num's pattern with Num's values / Den's values: "not IsEqualSize(Den)".
    TSparseMtx2& DivideElem(const TSparseMtx& Num, const TSparseMtx& Den);
    // Self := Sparse1's pattern with the products of the values: "not Sparse1.IsEqualSize(Sparse2)".
    TSparseMtx2& MulElem(const TSparseMtx& Sparse1, const TSparseMtx& Sparse2);
    // Self := the transpose of Src (sparse_transp.cpp); Src may be Self.
    void Transp(const TSparseMtx& Src);
    // Self := the conjugate transpose of Src; Src may be Self.
    void Adjung(const TSparseMtx& Src);
    // Self := ReSparse's pattern with values ReSparse's + i·ImSparse's: "not ReSparse.IsEqualSize(ImSparse)".
    TSparseMtx2& RealToCplx(const TSparseMtx& ReSparse, const TSparseMtx& ImSparse);
    // Self := AmpltSparse's pattern with values amplitude·e^(i·phase):
    // "not AmpltSparse.IsEqualSize(PhaseSparse)".
    TSparseMtx2& PolarToCart(const TSparseMtx& AmpltSparse, const TSparseMtx& PhaseSparse);

    // ---- Split assembly (sparse_banded.cpp) ---------------------------------------------------------------------
    // Self := LowerTriang + diag(Diag) + UpperTriang. In this order: "Diag.Complex <> LowerTriang.Complex",
    // "Diag.Compelx <> UpperTriang.Complex"; then Complex := Diag's kind, Cols := UpperTriang.Cols,
    // Rows := LowerTriang.Rows, and "Diag.Length <> Min(FCols,FRows)". Column j is UpperTriang's column j, the
    // diagonal entry Diag[j] unless it is 0, then LowerTriang's column j; when a part holds entries outside its
    // triangle (or rows that do not ascend) the result is built through the triplet conversion instead, rows
    // ascending and duplicates summed, stored zeros kept. Any operand may be Self.
    void AddSplit(const TSparseMtx& LowerTriang, const TVec& Diag, const TSparseMtx& UpperTriang);
};

class TSparseMtx : public TSparseMtx2 {
public:
    using TSparseMtx2::Size;
    using TSparseMtx2::SparseToTriplets;
    using TSparseMtx2::TripletsToSparse;

    // Reserves storage: SetComplex, SetCols, SetRows, SetNonZeros, in this order (checked first, so a refused call
    // changes nothing). The pattern is not set.
    void Size(int ARows, int ACols, int ANonZeros, bool AComplex);
    // From a triplet matrix of one column per entry and 3 rows (row indices, column indices, values; "Triplets.Rows
    // <> 3" otherwise), real or complex (indices from the real parts). Indices round to the nearest integer, ties to
    // even, whatever the rounding mode; a non-finite index or one outside the Integer range is "Invalid triplet!".
    // Converts with threshold 0; a failure changes nothing.
    void TripletsToSparse(int ARows, int ACols, const TMtx& Triplets);
    // Triplets := one column per entry in storage order: a real matrix gives 3 real rows (row index, column index,
    // value); a complex one 4 real rows (row, column, real part, imaginary part) with Split, else 3 complex rows
    // (row + 0i, column + 0i, value).
    void SparseToTriplets(TMtx& Triplets, bool Split) const;
    // The matrix of Src's dimensions and kind holding Src's elements whose magnitude is above Thresh (all with
    // DontStripZeros). "(RowCount <= 0) or (ColCount <= 0)" for an empty Src.
    void DenseToSparse(const TMtx& Src, double Thresh);
    // Dst := the dense Rows × Cols matrix of the matrix's kind, zero where there is no entry. Raises
    // "MaxElemCount reached!" when Rows·Cols exceeds MaxElemCount.
    void SparseToDense(TMtx& Dst, int MaxElemCount) const;
    // Same dimensions and kind as Mtx, and: with StoredOnly, every stored value equals Mtx's element at its
    // position (exactly with Tolerance 0, else each part within Tolerance; Mtx's other elements are not looked
    // at); without it, the pattern of Mtx's nonzero elements is the stored pattern and the values agree (an
    // explicit zero stored makes the two unequal).
    using TSparseMtx1::Equal;
    bool Equal(const TMtx& Mtx, double Tolerance, bool StoredOnly) const;

    // ---- Products with dense matrices (sparse_dense_products.cpp) ---------------------------------------------
    using TSparseMtx2::MulLeft;
    using TSparseMtx2::MulRight;
    // Y := A·X ("Cols <> X.Rows"), Rows × X.Cols, complex when X or A is. Y may be X.
    void MulRight(const TMtx& X, TMtx& Y) const;
    // Y := X·A ("Rows <> X.Cols"), X.Rows × Cols, complex when X or A is. Y may be X.
    void MulLeft(const TMtx& X, TMtx& Y) const;
    // Y := Y + A ("fRows <> Y.Rows", "fCols <> Y.Cols"); a real Y becomes complex (zero imaginary parts) for a
    // complex A.
    void Add(TMtx& Y) const;
    using TSparseMtx2::Add;

    // ---- Transpose (sparse_transp.cpp) -------------------------------------------------------------------------
    using TSparseMtx2::Transp;
    // Self(i, c) := Src(P[c], Q[i]): the transpose of Src with its rows taken in the order P and its columns in the
    // order Q (an empty array: the natural order). The rows of every column ascend. P must hold each of
    // 0..Src.Rows-1 once ("P is not a permutation"), Q each of 0..Src.Cols-1 once ("Q is not a permutation");
    // checked before anything changes. Src may be Self.
    void Transp(const TSparseMtx& Src, const TIntArray& P, const TIntArray& Q);

    // ---- Direct solve through UMFPACK (sparse_umf_solve.cpp) ---------------------------------------------------
    using TSparseMtx2::Solve;
    // One factorisation, then column i of X := the solution for column i of B. Raises "FCols <> B.Rows",
    // "B.Complex", "Complex = True" and "Invalid sparse pattern!".
    void Solve(const TMtx& B, TMtx& X);
    // X := the inverse, the solution for the identity of order Cols ("B.Complex" for a complex matrix).
    void Inv(TMtx& X);

private:
    // Y := A·X (or X·A when Left) with elements of type T (double or std::complex<double>).
    template <class T>
    void DenseMtxProduct(const TMtx& X, TMtx& Y, bool Left) const;

    // ---- Band storage and the split assembly of two parts (sparse_banded.cpp) -----------------------------------
public:
    // Dst := the matrix in band storage (core/BandLayout.h): SuperDiag ku and SubDiag kl from DiagonalsCount,
    // (ku + kl + 1) × Cols of the matrix's kind, zero but for the stored entries. "(SuperDiag+SubDiag)*Cols >
    // MaxElemCount" when the (ku + kl + 1)·Cols elements exceed MaxElemCount.
    void SparseToBanded(TMtx& Dst, int MaxElemCount) const;
    // Self := the square matrix of order Src.Cols that the band storage Src holds (its SuperDiag and SubDiag), with
    // the slots whose magnitude is above Thresh (stored zeros only with DontStripZeros), complex when Src is; no
    // such slot gives a matrix without entries. "(SuperDiag+SubDiag+1) <> Rows" unless Src has SuperDiag + SubDiag
    // + 1 rows and neither count is negative.
    void BandedToSparse(const TMtx& Src, double Thresh);
    using TSparseMtx2::AddSplit;
    // Self := LowerTriang + UpperTriang: "UpperTriang.Complex <> LowerTriang.Complex", then the kind, Cols :=
    // UpperTriang.Cols, Rows := LowerTriang.Rows; column j is UpperTriang's column j, then LowerTriang's, real or
    // complex; parts outside their triangles are summed through the triplet conversion as in the form with a
    // diagonal. Either operand may be Self.
    void AddSplit(const TSparseMtx& LowerTriang, const TSparseMtx& UpperTriang);

    // ---- Random systems and pictures of the pattern (sparse_random.cpp) ----------------------------------------
    // Replaces the matrix by a random real Cols × Cols matrix that is strictly diagonally dominant by columns, X by
    // Cols uniform values in [0, 1) (X's own generator) and B by A·X, summed from the triplets. Below the diagonal
    // of column j lie Trunc(r·m·Fill) entries (m = Cols - 1 - j, Fill = FillPercent clamped to [0, 100] / 100),
    // each -r mirrored above the diagonal as 1.0 (Symmetric) or 3.5 times itself; duplicates are summed; the
    // diagonal is 1.0001·(1 + the column's off-diagonal magnitudes). The run-time generator is reseeded from its
    // clock at every call (Randomize). NonZeros is the starting capacity of the triplet arrays, which double while
    // twice them stays within MaxNonZeroCount. "Random sparse: NonZeros <= 0" and "Random sparse: MaxNonZeroCount
    // reached!" leave the matrix, B and X as they were.
    void RandomSparse(TVec& B, TVec& X, bool Symmetric, double FillPercent, int MaxNonZeroCount);
    // Dst := a real picture of the matrix with max(Rows, Cols) scaled to Width pixels (s = Width / max(Rows, Cols)):
    // entry (r, c) lands on pixel (Trunc(r·s), Trunc(c·s)), a side of n is max(Trunc(n·s), Trunc((n-1)·s) + 1)
    // pixels. pdsPattern adds s² per stored entry, pdsAverage s²·|v|, pdsPeak keeps the largest s²·|v| (|v| the
    // modulus of a complex value). "Width < 1"; a matrix without rows or columns gives an empty picture.
    void PixelDownSample(TMtx& Dst, int Width, TPixelDownSample Method) const;

protected:
    // The capacity step of RandomSparse: when Index is not below Capacity, the capacity and the three triplet
    // arrays double, or "Random sparse: MaxNonZeroCount reached!" when twice the capacity passes MaxNonZeroCount.
    static void RandomSparseGrow(std::int64_t Index, std::int64_t& Capacity, int MaxNonZeroCount, TIntArray& Row,
                                 TIntArray& Column, TSampleArray& Values);
};

// Fills indx with distinct random integers Round(N·r) (ties to even), r uniform in [0, 1) from the run-time
// generator, so from 0 to N. "Length(indx) <= 1" for fewer than 2 elements, "Length(indx) > N+1" for more than the
// N + 1 values there are.
void dmpl(int N, std::span<int> indx);

}  // namespace tarnel
