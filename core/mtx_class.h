// TMtx: the library's dense matrix of Doubles or of complex numbers, with its class chain TMtx1 -> TMtx (not
// derived from the vector).
//
// All fields and the storage logic live in TMtx1; TMtx adds overloads only and brings those of TMtx1 back into
// scope with `using`. Programs, lists and the pool create TMtx.
//
// Storage: the elements lie row by row in one owned block. For a capacity of c elements (c even, c > 0) the block
// holds c·8 + 72 bytes for a real matrix and c·16 + 104 bytes for a complex one; new blocks are zero-filled. The
// data begin at the highest 32-byte boundary not above the block start + 40, so they are 32-byte aligned with at
// least 8 bytes before them. Those 8 bytes are a header of two 32-bit integers, a reference count (1) and the
// element count Rows·Cols, written whenever the row table is rebuilt.
//
// The row table holds Rows addresses: entry i is the address of element (i, 0), that is the data plus
// i·Cols·8 bytes (real) or i·Cols·16 bytes (complex). Every sizing operation (Size, SetRows, SetCols,
// SetActualSize, Resize, Adopt, Disown, Reset, FreeMemory) leaves the table matching Rows, Cols and the data
// address; SetComplex keeps it valid without rebuilding because a row keeps its byte length.
//
// Values() and CValues() give the same address as double* and as TCplx*: the data are held once as a double*,
// and CValues() is that pointer cast (see vec_class.h for why TCplx may alias it). Values2D() and CValues2D() view
// the row table, with rows typed as double* or TCplx*.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/Dovi387.h"
#include "core/LinAlgTypes.h"
#include "core/OpenArray.h"
#include "core/binary_stream.h"

namespace tarnel {

class TMtx1;
class TMtx;
class TVecs;
class TVec;
class TStrings;
class TCellGrid;

// The scalar function MtxFunction applies: D := f(D) in place, D the eigenvalues (real or complex), Params the
// caller's parameters. An empty function is refused ("not Assigned(Func)").
using TMtxFunction = std::function<void(TVec& D, std::span<const TCplx> Params)>;

// Called after the size or the complexity of the matrix changed.
using TMtxNotifyEvent = std::function<void(TMtx1& Sender)>;

// A view of a row table: R[i] is the address of row i, typed as T* (double or TCplx), and R[i][j] element
// (i, j). Length() is the number of rows; a row is a bare address with no length of its own.
template <class T>
class TRowsView {
public:
    TRowsView() = default;
    TRowsView(double* const* Rows, int Count) : FRows(Rows), FLength(Count) {}

    T* operator[](std::ptrdiff_t I) const { return reinterpret_cast<T*>(FRows[I]); }
    int Length() const { return FLength; }
    bool empty() const { return FLength == 0; }

private:
    double* const* FRows = nullptr;
    int FLength = 0;
};

// How TMtx1.PixelDownSample fills a cell of its reduced matrix from the elements that fall into it: the count of
// nonzero elements, the sum of magnitudes, or the largest magnitude, each weighted by the square of the scale.
enum TPixelDownSample { pdsPattern, pdsAverage, pdsPeak };

// The sizes of the random generators' work areas every matrix carries (normal and uniform generators).
inline constexpr int kMtxGaussStateBytes = 52;
inline constexpr int kMtxUniformStateBytes = 40;

class TMtx1 {
public:
    TMtx1();
    virtual ~TMtx1();
    TMtx1(const TMtx1&) = delete;
    TMtx1& operator=(const TMtx1&) = delete;

    // ---- Published properties (setters store the value only, unless noted) -------------------------------
    bool AutoMtxType() const { return FAutoMtxType; }
    void SetAutoMtxType(bool B) { FAutoMtxType = B; }
    TBalanceType Balance() const { return FBalance; }
    void SetBalance(TBalanceType B) { FBalance = B; }
    bool ConditionCheck() const { return FConditionCheck; }
    void SetConditionCheck(bool B) { FConditionCheck = B; }
    int Cols() const { return FCols; }
    void SetCols(int N);  // Size(Rows, N, Complex)
    bool Complex() const { return FComplex; }
    // Switching to complex halves Cols and the capacity, switching to real doubles them; the bytes stay. A real
    // matrix with an odd number of columns cannot be seen as complex rows: refused with
    // "SetComplex: Cols is odd" (Size, which rebuilds the row table, has no such limit).
    void SetComplex(bool B);
    TConditionNumber ConditionNumber() const { return FConditionNumber; }
    void SetConditionNumber(TConditionNumber C) { FConditionNumber = C; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& S) { FCaption = S; }
    TEigGenType EigGenType() const { return FEigGenType; }
    void SetEigGenType(TEigGenType E) { FEigGenType = E; }
    bool RefineSolution() const { return FRefineSolution; }
    // Also sets BackError and ForwError to 0.
    void SetRefineSolution(bool B);
    int Rows() const { return FRows; }
    void SetRows(int N);  // Size(N, Cols, Complex)
    int SuperDiag() const { return FSuperDiag; }
    void SetSuperDiag(int N) { FSuperDiag = N; }
    int SubDiag() const { return FSubDiag; }
    void SetSubDiag(int N) { FSubDiag = N; }
    TTriangleForm TriangleForm() const { return FTriangleForm; }
    void SetTriangleForm(TTriangleForm T) { FTriangleForm = T; }
    bool TriangleUnit() const { return FTriangleUnit; }
    void SetTriangleUnit(bool B) { FTriangleUnit = B; }
    int Tag() const { return FTag; }
    void SetTag(int T) { FTag = T; }

    // ---- Results of the linear algebra (read-only to users; written by the solvers) ----------------------
    const std::string& MtxError() const { return FMtxError; }
    int Info() const { return FInfo; }
    double BackError() const { return FBackError; }
    double ForwError() const { return FForwError; }
    double ConditionNr() const { return FConditionNr; }

    // ---- Flags derived from the size (computed from Rows and Cols at every call) --------------------------
    bool Quadratic() const { return FRows == FCols; }
    // Rows and Cols are both powers of two of at least 2.
    bool IsPowerOfTwo() const;

    // ---- Sizing -------------------------------------------------------------------------------------------
    // The one sizing operation: SetComplex(AComplex), then, when the dimensions change, the capacity
    // max(ARows·ACols, MtxCacheElements²) (half of that minimum for complex) through SetActualSize, the new
    // dimensions, the row table and OnSetSize. Checked first, so a refused call changes nothing: negative
    // dimensions raise "SetActualSize: Value < 0", a size beyond what an Integer capacity holds raises
    // "SetActualSize: Value too large".
    TMtx1& Size(int ARows, int ACols, bool AComplex = false);
    TMtx1& Size(const TMtx1& Src);
    // Capacity in elements (complex elements when Complex). Setting it reallocates unless it equals the current
    // capacity; the new block is zero-filled and nothing is copied. When the new capacity holds fewer than
    // Rows·Cols elements, only the whole rows that fit are kept (Rows := C div Cols).
    int ActualSize() const { return FActualSize; }
    void SetActualSize(int C);
    // Releases the block and the row table; the matrix is 0 × 0 with capacity 0.
    void FreeMemory();
    // Sets the dimensions keeping the top-left min(NewRows, Rows) × min(NewCols, Cols) block; the other elements
    // are zero.
    void Resize(int NewRows, int NewCols);

    // ---- Element access -----------------------------------------------------------------------------------
    double* Values() { return FValues; }
    const double* Values() const { return FValues; }
    TCplx* CValues() { return reinterpret_cast<TCplx*>(FValues); }
    const TCplx* CValues() const { return reinterpret_cast<const TCplx*>(FValues); }
    TRowsView<double> Values2D() const { return TRowsView<double>(FRowTable.get(), FRows); }
    TRowsView<TCplx> CValues2D() const { return TRowsView<TCplx>(FRowTable.get(), FRows); }

    // The checked indexed property: Values[Row·Cols + Col]. With ConditionCheck, in this order:
    // "Indx1 > Rows-1", "Indx2 > Cols-1", "Indx1 < 0", "Indx2 < 0". Without it the indexes are not held to the
    // dimensions, but the element is still held to the memory of the matrix and raises the same texts outside.
    double GetDefaultArray(int Row, int Col) const { return FValues[CheckedIndex(Row, Col)]; }
    void SetDefaultArray(int Row, int Col, double Value) { FValues[CheckedIndex(Row, Col)] = Value; }

    class TElementRef {
    public:
        operator double() const { return FMtx.GetDefaultArray(FRow, FCol); }
        TElementRef& operator=(double Value)
        {
            FMtx.SetDefaultArray(FRow, FCol, Value);
            return *this;
        }
        TElementRef& operator=(const TElementRef& Other) { return *this = static_cast<double>(Other); }

    private:
        friend class TMtx1;
        TElementRef(TMtx1& Mtx, int Row, int Col) : FMtx(Mtx), FRow(Row), FCol(Col) {}
        TMtx1& FMtx;
        int FRow;
        int FCol;
    };
    TElementRef operator()(int Row, int Col) { return TElementRef(*this, Row, Col); }
    double operator()(int Row, int Col) const { return GetDefaultArray(Row, Col); }

    // ---- Rows and columns ---------------------------------------------------------------------------------
    // Element (Row+k, Col) := Vec[VecIndex+k] for k < Len. Nothing happens when Len = 0 or the matrix is empty.
    // Negative arguments always raise; the checks against the dimensions run with ConditionCheck, and without it
    // the copy is still held to the memory of both objects.
    void SetCol(const TVecs& Vec, int VecIndex, int Row, int Col, int Len);
    // Element (Row, Col+k) := Vec[VecIndex+k] for k < Len, one contiguous copy; the same rules as SetCol.
    void SetRow(const TVecs& Vec, int VecIndex, int Row, int Col, int Len);

    // ---- Assignment and outside data ----------------------------------------------------------------------
    // With TarnelAssignCopyData the size, complexity and values, then the settings (AutoMtxType, EigGenType,
    // Balance, ConditionCheck, ConditionNumber, ConditionNr, RefineSolution, TriangleForm, TriangleUnit,
    // SuperDiag, SubDiag, Caption, Dirty, Tag). "Mtx = Self" when Mtx is this matrix.
    void Assign(const TMtx1& Mtx);
    // Works on the caller's memory from now on: FreeMemory, SetComplex(AComplex), the dimensions and the row
    // table over Data (no OnSetSize for the dimensions). ARows·ACols elements (twice as many Doubles when
    // complex) must lie within the DataLength Doubles of the array, and nothing is written outside them. The
    // array must outlive its use by the matrix.
    void Adopt(double* Data, std::int64_t DataLength, int ARows, int ACols, bool AComplex);
    void Adopt(TSampleArray& Data, int ARows, int ACols, bool AComplex);
    // Hands the adopted array back (address, dimensions, complexity) and leaves the matrix 0 × 0. A matrix that
    // owns its data has nothing to hand back: its block is freed and Data is nil.
    void Disown(double*& Data, int& ARows, int& ACols, bool& AComplex);
    // Empties the matrix for reuse: real, 0 × 0, the settings of a new matrix, keeping Tag, Dirty, SuperDiag,
    // SubDiag, OnSetSize, ConditionNr, BackError, ForwError and the capacity.
    void Reset();

    // ---- Whole-matrix fills and element-wise operations (nothing happens on an empty matrix) -------------
    TMtx1& SetVal(double X);  // complex: X + 0i
    TMtx1& SetZero();
    TMtx1& Sign();
    TMtx1& SqrElem();   // complex: z²
    TMtx1& SqrtElem();  // the principal square root; real negative numbers give NaN

    // ---- Norms (NaN for an empty matrix) ------------------------------------------------------------------
    // The largest column sum of absolute values (moduli for complex elements).
    double Norm1() const;
    // The largest row sum of absolute values (moduli); real rows through BLAS DASUM.
    double NormInf() const;

    // ---- Element-wise arithmetic and complex parts (mtx_arith.cpp) ----------------------------------------------
    // A matrix is one block of Rows·Cols elements: each member runs its vector counterpart's routine over it. Checks
    // that keep the operands' memory safe run whatever ConditionCheck is, with the same texts.
    // Real only: a complex, non-empty matrix raises "Complex = True".
    TMtx1& Abs();
    TMtx1& Conj();
    // Thresholded reciprocals: an element below Threshold in magnitude gives ±1/Threshold.
    TMtx1& InvElem(double Threshold);
    // Both parts of complex elements; Factor = 1 changes nothing.
    TMtx1& Scale(double Factor);
    // Complex elements get Value + 0i.
    TMtx1& Offset(double Value);
    TMtx1& ThreshBottom(double Value);
    TMtx1& ThreshTop(double Value);
    // Self := Self + (Re + i·Im)·Mtx; a real matrix refuses Im <> 0 ("TMtx.Add: Not Complex").
    TMtx1& Add(const TMtx1& Mtx, double Re = 1, double Im = 0);
    // Self := Self - Mtx; Mtx must be of Self's kind ("Mtx.Complex <> Complex").
    TMtx1& Sub(const TMtx1& Mtx);
    // Self := Self·Mtx element by element.
    TMtx1& MulElem(const TMtx1& Mtx);
    // Self := Mtx rounded (ties to even), in floating point: every Double keeps its range, NaN and ±inf stay.
    TMtx1& Round(const TMtx1& Mtx);
    // Truncated toward zero, in place (in floating point).
    TMtx1& Trunc();
    // Self := the real part (a real Mtx is copied), the imaginary parts, magnitudes or phases of a complex Mtx.
    TMtx1& RealPart(const TMtx1& Mtx);
    TMtx1& ImagPart(const TMtx1& Mtx);
    TMtx1& Mag(const TMtx1& Mtx);
    TMtx1& Phase(const TMtx1& Mtx);
    // Magnitudes and phases of the complex Self into two real matrices of Self's size.
    TMtx1& CartToPolar(TMtx1& AmpltMtx, TMtx1& PhaseMtx);
    // Self := AmpltMtx·e^(i·PhaseMtx), complex.
    TMtx1& PolarToCart(const TMtx1& AmpltMtx, const TMtx1& PhaseMtx);
    // Self := ReMtx + i·ImMtx, complex.
    TMtx1& RealToCplx(const TMtx1& ReMtx, const TMtx1& ImMtx);

    // ---- Transcendental functions (mtx_transcend.cpp) ----------------------------------------------------------
    // Element by element over the Rows·Cols elements, through the kernels of the vector forms (vec_exp.cpp,
    // vec_trig.cpp): the same values as a vector of the same elements. The source forms size Self like the source,
    // an empty one too. Checks through ConditionCheck, with memory held safe whatever it is.
    TMtx1& Exp();
    TMtx1& Ln();
    // Self := log10 Mtx, ln Mtx / ln N ("Mtx = Self"; LogN first "N = 0" for N = 0 or NaN).
    TMtx1& Log10(const TMtx1& Mtx);
    TMtx1& LogN(double N, const TMtx1& Mtx);
    // Self := Mtx^Exponent element by element, as the vector IntPower (Base, Exponent); Self may be Mtx.
    TMtx1& IntPower(const TMtx1& Mtx, int Exponent);
    // Self := exp(Exponent·ln Mtx): NaN for negative real elements ("Base = Self").
    TMtx1& Power(const TMtx1& Mtx, double Exponent);
    // Self := exp(Exponent·ln Base) element by element, the kinds and counts of MulElem ("Mtx = Self" first).
    TMtx1& PowerMtx(const TMtx1& Base, const TMtx1& Exponent);
    // Self := cos ω + i·sin ω, complex, sized like Omega ("Omega.Complex := True", "Omega = Self").
    TMtx1& Expj(const TMtx1& Omega);
    // Self := f(Mtx), sized like Mtx.
    TMtx1& Sin(const TMtx1& Mtx);
    TMtx1& Cos(const TMtx1& Mtx);
    TMtx1& Tan(const TMtx1& Mtx);
    TMtx1& ArcSin(const TMtx1& Mtx);
    TMtx1& ArcCos(const TMtx1& Mtx);
    TMtx1& ArcTan(const TMtx1& Mtx);
    TMtx1& Sinh(const TMtx1& Mtx);
    TMtx1& Cosh(const TMtx1& Mtx);
    TMtx1& Tanh(const TMtx1& Mtx);
    TMtx1& ArcSinh(const TMtx1& Mtx);
    TMtx1& ArcCosh(const TMtx1& Mtx);
    TMtx1& ArcTanh(const TMtx1& Mtx);

    // ---- Sylvester, outer products, Vandermonde, widening, fills (mtx_small.cpp) ------------------------------
    // Self := X solving op(A)·X + s·X·op(B) = scale·C (s = +1 for siPlus, -1 for siMinus) through DTRSYL/ZTRSYL;
    // returns scale. A and B must be in Schur form: upper quasi-triangular (real) or upper triangular (complex),
    // refused otherwise. Info and MtxError receive the routine's INFO; nothing is raised for it. A, B and C may be
    // Self. The control word is Tarnel8087CW afterwards.
    double Sylvester(const TMtx1& A, const TMtx1& B, const TMtx1& C, TSign Sign, TMtxOperation OpA = opNone,
                     TMtxOperation OpB = opNone);
    // Update: Self(i, j) += Alpha·Vec1(i)·Vec2(j) (Vec2 conjugated with Conjugate), Self keeping its size and kind.
    // Otherwise Self := the outer product Vec1·Vec2ᵀ (Vec2ᴴ with Conjugate), complex when either vector is. Alpha
    // and Beta are 1 and 0 afterwards.
    TMtx1& TensorProd(const TVecs& Vec1, const TVecs& Vec2, bool Update = false, bool Conjugate = false);
    // Self := the Vec.Length × Cols matrix with column j = Vec^(Cols-1-j), of Vec's kind.
    TMtx1& VanderMonde(int Cols, const TVecs& Vec);
    // Widens a real Self in place: a + 0i with ZeroImag, a + a·i without.
    TMtx1& ExtendToComplex(bool ZeroImag);
    // Size(ARows, ACols, AComplex), then the values of A row by row ((Re, Im) pairs when complex). A must hold
    // exactly that many Doubles ("Rows*Cols <> (High(A)+1)", "Rows*Cols*2 <> (High(A)+1)"); a short array is refused
    // always, and a refused call changes nothing.
    TMtx1& SetIt(int ARows, int ACols, bool AComplex, TOpenArray<double> A);

    // ---- Plain settings -----------------------------------------------------------------------------------
    bool Dirty() const { return FDirty; }
    void SetDirty(bool B) { FDirty = B; }
    int CacheIndex() const { return FCacheIndex; }
    TMtx1& SetCacheIndex(int I)
    {
        FCacheIndex = I;
        return *this;
    }
    const TMtxNotifyEvent& OnSetSize() const { return FOnSetSize; }
    void SetOnSetSize(TMtxNotifyEvent Handler) { FOnSetSize = std::move(Handler); }
    TCplx Alpha() const { return FAlpha; }
    void SetAlpha(const TCplx& Z) { FAlpha = Z; }
    TCplx Beta() const { return FBeta; }
    void SetBeta(const TCplx& Z) { FBeta = Z; }

    // ---- State kept for the random fills ------------------------------------------------------------------
    void* GaussState() { return FGaussState; }
    void* UniformState() { return FUniformState; }
    bool GaussSet() const { return FGaussSet; }
    void SetGaussSet(bool B) { FGaussSet = B; }
    bool UniformSet() const { return FUniformSet; }
    void SetUniformSet(bool B) { FUniformSet = B; }

    // ---- The owned block and the row table ----------------------------------------------------------------
    std::int64_t AllocatedSize() const { return FAllocatedSize; }
    const void* AllocatedBlock() const { return FBlockStart; }
    // Byte size of the row table (Rows addresses), 0 when there is none.
    std::int64_t RowTableSize() const { return FRowTableSize; }

    // ---- Sorting (mtx_sort.cpp) -----------------------------------------------------------------------------
    // Sorts every row by itself, as the vector sorts do (complex rows in the complex order).
    TMtx1& SortAscend();
    TMtx1& SortDescend();

    // ---- Reductions and norms (mtx_reduce.cpp) --------------------------------------------------------------
    // The forms that give a Double refuse a complex matrix ("Complex = True"), the TCplx forms a real one
    // ("Complex = False"; the complex NormFro says "Complex = True" there too).
    // The largest or least element; the first NaN wins. NAN for an empty matrix.
    double Max() const;
    double Min() const;
    // The greatest or least element in the complex order (|z|² rounded to a Double, ties by quadrant code, then by
    // the real part; the first of equal elements wins). CNAN for an empty matrix.
    void Max(TCplx& X) const;
    void Min(TCplx& X) const;
    // The sum of the elements (pairwise), 0 for an empty matrix; the complex form sums the parts apart.
    double Sum() const;
    void Sum(TCplx& X) const;
    // The mean (0 for an empty matrix); the complex form leaves X as it is for an empty matrix.
    double Mean() const;
    void Mean(TCplx& X) const;
    // The sum of the elements (k, k), k < min(Rows, Cols), from 0 + 0i; a real matrix gives (sum, 0).
    TCplx Trace() const;
    // sqrt(Σ|a|²), scaled against overflow and underflow (0 for an empty matrix); the complex form gives it + 0i.
    double NormFro() const;
    void NormFro(TCplx& X) const;
    // Shapes and kinds alike and every pair of Doubles within Tolerance: equal numbers (infinities too) always
    // match, a pair with a NaN never does, Tolerance 0 asks for exact equality and a negative Tolerance makes
    // every non-empty pair of matrices unequal.
    bool Equal(const TMtx1& Mtx, double Tolerance = 0) const;
    // Vec := the Cols column sums or the Rows row sums, of Self's kind; the means scale them by 1/Rows or 1/Cols.
    void SumCols(TVecs& Vec) const;
    void SumRows(TVecs& Vec) const;
    void MeanCols(TVecs& Vec) const;
    void MeanRows(TVecs& Vec) const;

    // ---- Blocks and special matrices (mtx_blocks.cpp, Kron in mtx_small.cpp) --------------------------------
    // Lists are read in index order; a grid of ARows × ACols blocks is given row by row. Every source is checked
    // before Self changes, sources are never changed, and Self may be among them. An empty list gives a 0 × 0
    // real matrix.
    // Self := the sources stacked top to bottom (Src[0]'s Cols and kind; "Src[0].Complex <> Src[i].Complex",
    // "Src[0].Cols <> Src[i].Cols"), or side by side (the same with "Src[0].Rows <> Src[i].Rows").
    TMtx1& ConcatVert(TOpenArray<const TMtx1*> Src);
    TMtx1& ConcatHorz(TOpenArray<const TMtx1*> Src);
    // Self := the block matrix of the grid: "(ARows*ACols) <> (High(Dst)+1)", "Src[0].Complex <> Src[i].Complex";
    // every block of a block row as high as its first block, every block row as wide as the first
    // ("Size mismatch: a.Rows+RowOffset > fRows", "Size mismatch: a.Cols+ColOffset > fCols").
    TMtx1& Concat(int ARows, int ACols, TOpenArray<const TMtx1*> Src);
    // The reverse: each destination keeps its size, takes Self's kind and receives its block of Self. The grid is
    // checked as Concat's and must lie within Self; returns the last block's Rows (0 for an empty grid).
    int Split(int ARows, int ACols, TOpenArray<TMtx1*> Dst) const;
    // Self := the Vec1.Length × Vec2.Length matrix Vec1·Vec2ᵀ (no conjugation), complex when either vector is.
    TMtx1& Kron(const TVecs& Vec1, const TVecs& Vec2);
    // Vec onto diagonal K of Self (K > 0 above the main diagonal, K < 0 below); Self is neither sized nor cleared.
    // Checked always: "Vec.Length = 0", "Vec.Length + k  > Cols" (K >= 0) or "Vec.Length - k  > Rows" (K < 0),
    // "Vec.Complex <> Complex".
    TMtx1& Diag(const TVecs& Vec, int K);
    // Self := ARows × ACols, zero with 1 on the main diagonal.
    TMtx1& Eye(int ARows, int ACols, bool AComplex = false);
    // Self := the (FirstCol.Length + 1) × FirstRow.Length Toeplitz matrix: (i, j) := FirstRow[j - i] for j >= i,
    // FirstCol[i - j - 1] below (FirstCol is the first column without its top element).
    // "FirstRow.Complex <> FirstCol.Complex".
    TMtx1& Toeplitz(const TVecs& FirstRow, const TVecs& FirstCol);
    // Self := the real N × N symmetric Pascal matrix, (i, j) := C(i + j, i): exact up to N = 29.
    TMtx1& Pascl(int N);

    // ---- Two-dimensional FFT (mtx_fft2d.cpp) ----------------------------------------------------------------
    // In place. A complex matrix with IsPowerOfTwo is transformed as it stands ("IsPowerOfTwo = False"). A real
    // (m + 2) × (n + 2) matrix (m, n powers of two of at least 2) holds m × n samples in the first n Doubles of its
    // first m rows; FFT turns them into the complex (m + 2) × (n/2 + 1) matrix whose element (k, l) is bin (k, l),
    // l <= n/2, the spare rows zero, and IRealFFT brings them back. Forward transforms are unscaled, the inverses
    // divide by the number of samples, so a round trip gives the data back.
    TMtx1& FFT();
    TMtx1& IFFT();
    TMtx1& IRealFFT();

    // ---- Text and grid exchange (mtx_text.cpp) ------------------------------------------------------------------
    // Number text of Dovi387 (FormatSample, FormatCplx; StrToCplx, StrToSample): a parse failure raises
    // EConvertError. Every check runs, and every line or cell is read, before the matrix changes; a real matrix that
    // receives complex values is widened first, its values becoming a + 0i.
    // Matrix row Row + k as line ListIndex + k (replaced where it exists, else appended): the texts of its elements
    // Col .. Col+ColCount-1, FormatSample (x, ReFormat) or FormatCplx (z, ReFormat, ImFormat), joined by Delimiter.
    // When Delimiter holds the decimal separator, the numbers are written with the other one ("." for ",", else
    // ","), which StrToVal reads back. Always: "(ListIndex < 0) or (Row < 0) or (Col < 0) or (RowCount < 0) or
    // (ColCount < 0)", "TMtx.ValuesToStrings: (Row + RowCount) > FRows", "TMtx.ValuesToStrings: (Col + ColCount) >
    // FCols".
    void ValuesToStrings(TStrings& Strings, int ListIndex, int Row, int Col, int RowCount, int ColCount,
                         std::string_view Delimiter, std::string_view ReFormat = "",
                         std::string_view ImFormat = "") const;
    // Lines ListIndex .. ListIndex+ListLen-1 into the matrix at (Row, Col), one line per matrix row, read field by
    // field as ExtractCplx reads them; c = ColumnCount (Strings, ListIndex, Delimiter) columns. A field past column
    // c - 1 raises "k > AMtx.Cols-1"; an element without a field is 0. A value with a nonzero imaginary part makes
    // a real matrix complex; otherwise a complex matrix takes the values with zero imaginary parts. Always:
    // "(ListIndex < 0) or (ListLen < 0) or (Row < 0) or (Col < 0)". With ConditionCheck: "(Row + ListLen-1) >
    // fRows", "(Col + ColumnCount) > fCols", "(ListIndex+ListLen-1) > Alist.Count". Whatever the setting, a
    // line outside the list raises EListError and a block outside the matrix "Row + NrRows > Rows" or "Col + NrCols
    // > Cols".
    TMtx1& StringsToValues(const TStrings& Strings, int ListIndex, int ListLen, int Row, int Col,
                           std::string_view Delimiter);
    // TMtx.ValuesToGrid (Dst, DstRow, DstCol, 0, 0, Rows, Cols, FloatFormat, Headers).
    void ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, std::string_view FloatFormat, bool Headers) const;
    // Size (RowCount - h, (ColCount - h) div (1 + Ord(IsComplex)), IsComplex), h = 1 with Headers, then
    // TMtx.GridToValues (Src, h, h, 0, 0, Rows, Cols, IsComplex). The cells are read before the matrix changes.
    TMtx1& GridToValues(const TCellGrid& Src, bool IsComplex, bool Headers);

    // ---- Convolution, signal-library status, random fills, pixel down-sampling ------------------------------
    // (vec_convolve.cpp, vec_signal.cpp, vec_random.cpp, pixel_downsample.cpp)
    // Self := the real 2-D convolution of X by H: Filter gives X's size (scipy convolve2d mode 'same'), otherwise
    // the full (X.Rows + H.Rows − 1) × (X.Cols + H.Cols − 1) result. "X = nil", "X.Rows*X.Cols = 0",
    // "H.Rows*H.Cols = 0", "X.Complex or H.Complex", "(X = Self) or (H = Self)", always.
    TMtx1& Convolve(const TMtx1* X, const TMtx1* H, bool Filter);
    // Msg := the signal library's text for its last error status, or '' when the status is 0.
    void nspError(std::string& Msg) const;
    // Uniform in [0, 1) or standard normal, from a random seed the first time (or after ResetRand).
    TMtx1& RandUniform();
    TMtx1& RandGauss();
    void ResetRand();
    // Dst := the matrix reduced to about Width cells along its longer side (scale f = Width / max(Rows, Cols),
    // Dst Ceil(Rows·f) × Ceil(Cols·f)); element (i, j) falls into cell (floor(i·f), floor(j·f)). "Width < 1".
    void PixelDownSample(TMtx1& Dst, int Width, TPixelDownSample Mode);

protected:
    friend class TVecs;  // a vector may view the matrix's data (SetSubRange)

    // N is 2, 4, 8, ... (false for 0 and 1).
    static bool CheckPowerOfTwo(int N);
    std::int64_t CheckedIndex(int Row, int Col) const
    {
        const std::int64_t flat = static_cast<std::int64_t>(Row) * FCols + Col;
        if (FConditionCheck) {
            if (Row > FRows - 1 || Col > FCols - 1 || Row < 0 || Col < 0) RaiseIndex(Row, Col);
        } else if (Row < 0 || Col < 0 || flat >= FRoom) {
            RaiseIndex(Row, Col);
        }
        return flat;
    }
    [[noreturn]] void RaiseIndex(int Row, int Col) const;
    std::size_t ElementBytes() const { return FComplex ? sizeof(TCplx) : sizeof(double); }
    // Doubles per element, elements (Rows·Cols: the memory guard of the checks) and Doubles of the whole matrix.
    int Width() const { return FComplex ? 2 : 1; }
    std::int64_t Elements() const { return static_cast<std::int64_t>(FRows) * FCols; }
    std::int64_t Numbers() const { return Elements() * Width(); }
    // Refuses, before anything changes, what Size(ARows, ACols, AComplex) would refuse half-way.
    void CheckSize(int ARows, int ACols, bool AComplex) const;
    // The capacity Size requests for ARows × ACols.
    static std::int64_t RequestedCapacity(int ARows, int ACols, bool AComplex);
    // Allocates a zero-filled block of capacity C (or none for 0) for the kind AComplex, releasing the old one;
    // leaves the dimensions, the kind and the row table to the caller. A failed allocation changes nothing.
    void AllocateCapacity(std::int64_t C, bool AComplex);
    void ReleaseBlock();
    void RebuildRowTable();
    // Makes Table (at least Rows entries, taken before the change) the row table for Rows, Cols and the data.
    void InstallRowTable(std::unique_ptr<double*[]> Table) noexcept;
    void WriteHeaderCount();
    // SetComplex without the refusal of odd columns; the row table is rebuilt when a row changes its byte
    // length (Size uses it).
    void SwitchComplex(bool B);
    void FireSetSize();
    // Copies the top-left Rows × Cols block of Src (a matrix of SrcCols columns) into this matrix's data,
    // row by row, optionally transposed (element (j, i) := Src(i, j)).
    void CopyBlockFrom(const double* Src, int SrcCols, int BlockRows, int BlockCols, bool Transpose);

    // Fields, in the order of the class's data model.
    std::byte* FHeader = nullptr;      // 8 bytes before the own data; nil without a block
    std::byte* FBlockStart = nullptr;  // the owned block as allocated
    std::int64_t FAllocatedSize = 0;
    std::int64_t FRowTableSize = 0;
    std::string FMtxError;
    bool FComplex = false;
    int FInfo = 0;
    int FRows = 0;
    int FCols = 0;
    bool FConditionCheck = true;
    bool FRefineSolution = false;
    double FBackError = 0;
    double FForwError = 0;
    TConditionNumber FConditionNumber = cnNone;
    double FConditionNr = 0;
    TTriangleForm FTriangleForm = tfUpper;
    bool FTriangleUnit = false;
    TBalanceType FBalance = btFull;
    TEigGenType FEigGenType = etAzBz;
    bool FAutoMtxType = false;
    int FCacheIndex = -1;
    int FSuperDiag = 0;
    int FSubDiag = 0;
    std::string FCaption;
    bool FDirty = false;
    TMtxNotifyEvent FOnSetSize;
    int FTag = 0;
    int FActualSize = 0;
    std::byte* FGaussState = nullptr;
    std::byte* FUniformState = nullptr;
    bool FGaussSet = false;
    bool FUniformSet = false;
    double* FValues = nullptr;  // the own data or an adopted array
    std::int64_t FRoom = 0;     // Doubles addressable from FValues
    bool FAdopted = false;      // FValues is the caller's array (Adopt)
    std::unique_ptr<double*[]> FRowTable;
    TCplx FAlpha = C_ONE;
    TCplx FBeta = C_ZERO;
};

class TMtx : public TMtx1 {
public:
    using TMtx1::Resize;
    using TMtx1::SetCol;
    using TMtx1::SetRow;
    using TMtx1::SetVal;
    // Every element := Z; a real matrix takes Z.Re.
    TMtx& SetVal(const TCplx& Z);
    // Column Col := Vec (Vec.Length must equal Rows: "Vec.Length <> Vec.Rows"; the complexity must match).
    void SetCol(const TVecs& Vec, int Col);
    // Row Row := Vec (Vec.Length must equal Cols: "Vec.Length <> Cols"; the complexity must match).
    void SetRow(const TVecs& Vec, int Row);
    // This matrix := A's top-left min(NewRows, A.Rows) × min(NewCols, A.Cols) block in a NewRows × NewCols
    // matrix, or with Transpose its transpose in a NewCols × NewRows matrix (the other elements are zero).
    // Equal dimensions give a copy of A or its transpose. "A = Self" when A is this matrix.
    void Resize(const TMtx1& A, int NewRows, int NewCols, bool Transpose = false);

    // ---- Copying, transposition and rearrangement (mtx_copy.cpp) ------------------------------------------
    // Checks marked "gated" run only with ConditionCheck; without it the bounds are still checked, with the same
    // messages, so no call reads or writes outside the matrices.
    // Self := Mtx (size, complexity, values). Gated: "Mtx = Self".
    TMtx& Copy(const TMtx1& Mtx);
    // The NrRows × NrCols block of Mtx at (MtxRow, MtxCol) into Self at (Row, Col), or its transpose with
    // Transpose; Self is not resized. Gated, in this order: "Mtx.Rows*MTx.Cols = 0", "Mtx.Complex <> Complex",
    // "MtxRow + NrRows > Mtx.Rows", "MtxCol + NrCols > Mtx.Cols", "Row + NrRows > Rows", "Col + NrCols > Cols"
    // (with Transpose the destination extent is NrCols × NrRows), "Mtx = Self". Negative positions raise
    // "MtxRow < 0" (and alike) always.
    TMtx& Copy(const TMtx1& Mtx, int MtxRow, int MtxCol, int Row, int Col, int NrRows, int NrCols,
               bool Transpose = false);
    // Self := NrRows × (Vec.Length div NrRows), Vec's complexity, filled row by row from Vec; an empty Vec makes
    // Self 0 × 0. "NrRows < 1" always; gated "Vec.Length mod NrRows <> 0".
    TMtx& CopyVec(const TVecs& Vec, int NrRows);
    // Len elements of Vec from VecIndex into Self's data from Row·Cols + Col on, running across row ends.
    // Gated: "Vec.Length = 0", "Vec.Complex <> Complex", "(VecIndex+Len-1) > Vec.Length" (raised for any range
    // that ends past Vec's last element), "(StartPos +VecIndex + Len) > Mtx.Cols*Mtx.Rows".
    TMtx& CopyVec(const TVecs& Vec, int VecIndex, int Len, int Row, int Col);
    // Self := Mtxᵀ ("Mtx = Self"), or in place: square matrices swap (i, j) and (j, i), others go through a pooled
    // copy. Adjung is the same with every element conjugated.
    TMtx& Transp(const TMtx1& Mtx);
    TMtx& Transp();
    TMtx& Adjung(const TMtx1& X);
    TMtx& Adjung();
    // Row r := Mtx's row Rows-1-r ("Self = SrcMtx"), or in place.
    TMtx& FlipVer(const TMtx1& Mtx);
    TMtx& FlipVer();
    // Element (r, Cols-1-c) := Mtx(r, c) ("Self = SrcMtx"), or in place.
    TMtx& FlipHor(const TMtx1& Mtx);
    TMtx& FlipHor();
    // A quarter turn clockwise: Self becomes Mtx.Cols × Mtx.Rows with (c, r) := Mtx(Mtx.Rows-1-r, c)
    // ("Mtx = Self"), or in place through a pooled matrix.
    TMtx& Rotate90(const TMtx1& Mtx);
    TMtx& Rotate90();
    // Self := Mtx's elements right of the diagonal, the diagonal when Diagonal is set, and zero everywhere else
    // ("Mtx = Self"). ZeroLower is accepted for compatibility: the lower part is always zero.
    TMtx& UpperTriangle(const TMtx1& Mtx, bool ZeroLower, bool Diagonal);

    // ---- Matrix types and band storage (mtx_types.cpp) ----------------------------------------------------
    // The type of Self: mtGeneral when not square; mtTriangle (TriangleForm set to the triangle that holds the
    // values) when one strict triangle is zero; else mtSymmetric/mtHermitian (a Hermitian diagonal is real),
    // promoted to the positive-definite types by a Cholesky test when TestPosDef is set (real symmetric and
    // Hermitian matrices only). Info is 0 afterwards; the control word is not changed.
    TMtxType DetectMtxType(bool TestPosDef = false);
    // The numbers of super- and sub-diagonals that hold nonzero elements.
    void DiagonalsCount(int& Upper, int& Lower) const;
    // Dst := Self in band storage: ku+kl+1 rows by Cols, element (i, j) in row ku+i-j, SuperDiag ku, SubDiag kl.
    // "(SuperDiag+SubDiag)*Cols > MaxElemCount" when the (ku+kl+1)·Cols elements exceed MaxElemCount; "Dst = Self".
    TMtx& DenseToBanded(TMtx& Dst, int MaxElemCount);
    // Self := the dense A.Cols × A.Cols matrix that the real band matrix A stores ("A.Complex = True").
    TMtx& BandedToDense(const TMtx1& A);

    // ---- Products (mtx_mul.cpp) ---------------------------------------------------------------------------
    // Self := Alpha·op1(Mtx1)·op2(Mtx2) + Beta·Self through DGEMM/ZGEMM, DSYMM/ZHEMM (Type Sym) or DTRMM/ZTRMM
    // (mtTriangle), on the operands' own data. The general product sets Alpha and Beta back to 1 and 0.
    TMtx& Mul(TMtx& Mtx1, TMtx& Mtx2, TMtxType Type1, TMtxType Type2, TMtxOperation Op1 = opNone,
              TMtxOperation Op2 = opNone);
    TMtx& Mul(TMtx& Mtx1, TMtx& Mtx2, TMtxOperation Op1 = opNone, TMtxOperation Op2 = opNone);
    // ---- The linear solver (mtx_lapack_solve.cpp) -----------------------------------------------------------
    // Solves op(A)·X = B, A this matrix, with the LAPACK family of MtxType (or of DetectMtxType with AutoMtxType):
    // Cholesky, Bunch-Kaufman, triangular, LU, band Cholesky, band LU. The dense types take a square A; the band
    // types take A in band storage with n = Cols: SubDiag+SuperDiag+1 rows for mtBandGeneral, the kd+1 rows of the
    // triangle TriangleForm names for the symmetric and Hermitian bands (kd = SuperDiag for tfUpper, else SubDiag).
    // With RefineSolution the solution is refined and ForwError/BackError receive the largest bounds over the
    // right-hand sides; with ConditionNumber not cnNone, ConditionNr receives the reciprocal condition number in
    // that norm. A numerical failure records Info and MtxError and raises "LUSolve: " + MtxError. Refusals
    // raise their texts before anything changes. A is never changed (AutoMtxType may set TriangleForm), and
    // every call ends with the control word Tarnel8087CW.
    // Matrices: X gets one solution column per column of B ("B = Self", "X = Self", "B.Complex <> Complex",
    // "Quadratic = False", "B.Rows <> Rows", band types "B.Rows <> Cols"). X may be B.
    TMtx& LUSolve(TMtx& B, TMtx& X, TMtxType MtxType = mtGeneral, TMtxOperation Operation = opNone);
    // Vectors: X := the solution for B ("B.Complex <> Complex", "Quadratic = False", "B.Length <> Rows", band types
    // "B.Length <> Cols"). X may be B.
    TMtx& LUSolve(const TVecs& B, TVecs& X, TMtxType MtxType = mtGeneral, TMtxOperation Operation = opNone);
    // The core on column-major blocks of n·NRHS elements (complex elements as pairs of Doubles): X holds the
    // right-hand sides on entry and the solutions on exit; B is read only by the refinement and may be X. Checks
    // this matrix's own shape for the type, not the blocks' lengths.
    TMtx& LUSolveInt(const double* B, double* X, int NRHS, TMtxType MtxType, TMtxOperation Operation);

    // Info := AInfo and MtxError := AError: the outcome of the last LAPACK-based operation.
    void SetLapackResult(int AInfo, std::string AError);

    // ---- Binary stream (mtx_stream.cpp) -------------------------------------------------------------------
    // The header (104 bytes of singles: Complex, Rows, Cols, Quadratic, AutoMtxType, EigGenType, Balance,
    // ConditionCheck, ConditionNumber, precision, RefineSolution, TriangleForm, TriangleUnit, SuperDiag, SubDiag,
    // 8, version 150, Tag, magic 64019, seven zeros), then the caption record; "Rows or Cols > 16777216" is
    // refused before anything is written.
    void WriteHeader(TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
    // Rows·Cols elements row by row; nothing for an empty matrix.
    void WriteValues(TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
    void SaveToStream(TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
    // As the vector's: header and caption read whole and checked first ("TMtx: Error reading stream!", "Wrong file
    // format!"), then applied; Quadratic follows from the sizes and is not read. Returns the stored precision.
    TPrecision ReadHeader(TStream& Stream);
    // Rows·Cols elements in the encoding; returns the numbers read.
    std::int64_t ReadValues(TStream& Stream, TPrecision Precision);
    // ReadHeader, then ReadValues; a values part cut short raises "TMtx: Error reading stream!".
    void LoadFromStream(TStream& Stream);
    void SaveToFile(const std::string& FileName, bool Append = false) const;
    void LoadFromFile(const std::string& FileName);
    // The streamed property "DataValues".
    void SaveBinaryStream(TStream& Stream) const;
    void LoadBinaryStream(TStream& Stream);

    // ---- Sorting (mtx_sort.cpp) -----------------------------------------------------------------------------
    using TMtx1::SortAscend;
    using TMtx1::SortDescend;
    // Reorders whole rows so that column Col is sorted (complex columns in the complex order; rows with equal
    // elements in Col keep the quicksort's order). "Col < 0", "Col > Cols-1".
    TMtx& SortAscend(int Col);
    TMtx& SortDescend(int Col);

    // ---- Least squares, LU, inverse, QR (mtx_lapack_lsq.cpp, mtx_lapack_lu.cpp, mtx_lapack_qr.cpp) ----------
    // None of these raises on a numerical failure: Info holds LAPACK's INFO (and MtxError a text where noted).
    // Only LQRSolve and SVDSolve switch the control word (Fortran8087CW, then Tarnel8087CW on every way out).

    // X := the least-squares (m ≥ n) or minimum-norm (m < n) solution of op(Self)·X = B through xGELS (Self is
    // m × n and never changed); with R, R := the min(m, n) square triangular factor. opTran/opHerm solve with
    // Selfᵀ/Selfᴴ. An empty Self returns at once. In order: "fRows <> B.Length" / "fCols <> B.Length",
    // "fComplex <> B.Complex", all before X changes. Info := INFO (> 0: a zero diagonal element of the factor).
    TMtx& LQRSolve(const TVecs& B, TVec& X, TMtxOperation Operation = opNone, TMtx* R = nullptr);
    // The same for the columns of B. In order: "B = Self or X = Self", (empty Self: return), "fRows <> B.Rows" /
    // "fCols <> B.Rows", "fComplex <> B.Complex", "R = X".
    TMtx& LQRSolve(const TMtx& B, TMtx& X, TMtxOperation Operation = opNone, TMtx* R = nullptr);
    // The core: B holds Nrhs right-hand sides column-major with leading dimension max(m, n) (Self's kind, so two
    // Doubles per complex element) and receives the solutions.
    void LQRSolveInt(std::span<double> B, int Nrhs, TMtxOperation Operation, TMtx* R);
    // X := the minimum-norm least-squares solution through xGELSD; S := the min(m, n) singular values, decreasing;
    // returns the effective rank (singular values not above RCOND times the largest count as zero; RCOND < 0:
    // machine precision). In order: "B.Lenght <> Rows", "fComplex <> B.Complex", "S = X"; an empty Self gives 0
    // without touching X or S.
    int SVDSolve(const TVecs& B, TVec& X, TVecs& S, double RCOND);
    // In order: "B.Rows <> Rows", "(B = Self) or (X = Self)", "fComplex <> B.Complex".
    int SVDSolve(const TMtx& B, TMtx& X, TVecs& S, double RCOND);
    // The core, on a block as LQRSolveInt's; Rank receives the rank.
    void SVDSolveInt(std::span<double> B, int Nrhs, int& Rank, double RCOND, TVecs& S);

    // Factorizes the square Self by its type (AutoMtxType: DetectMtxType without the definiteness test): Cholesky
    // (Self = L·Lᴴ with tfLower, Uᴴ·U with tfUpper), Bunch-Kaufman (the compact triangle) or LU with partial
    // pivoting (U and the unit lower L); P := the 0-based pivots as Doubles (IPIV − 1). Info and MtxError report
    // the factorization. "Quadratic = False", "L = U", "MtxType not supported", "LU: Hermitian and not complex!".
    void LUD(TVecs& P, TMtx& L, TMtx& U, TMtxType MtxType);
    // LUD, then the pivots applied as row exchanges, so that L·U = Self for mtGeneral (the Bunch-Kaufman rules
    // for the symmetric types; nothing for Cholesky and triangles).
    TMtx& LU(TMtx& L, TMtx& U, TMtxType MtxType);
    // Swap two rows or two columns: "i < 0", "j < 0", then "i > FRows-1", "j > FRows-1" (columns: FCols), always.
    TMtx& RowExchange(int i, int j);
    TMtx& ColExchange(int i, int j);
    // Self := Mtx's elements left of the diagonal, the diagonal when Diagonal is set, zero elsewhere; Self may be
    // Mtx, and then ZeroUpper decides whether the strict upper triangle is zeroed. "Mtx.Rows*Mtx.Cols = 0".
    TMtx& LowerTriangle(const TMtx1& Mtx, bool ZeroUpper, bool Diagonal);
    // The index forms on Last-First+1 rows and Mtx.Rows columns: Lower takes Self(i, k) := Mtx(i, First+k) for
    // k < i, Upper Self(i, k) := Mtx(i, k) for k > i, each with the diagonal Mtx(i, i) when Diagonal is set and
    // zero elsewhere (ZeroOther is kept for compatibility). "Mtx = Self", "Mtx.Rows*Mtx.Cols = 0" (Lower; an empty
    // Mtx makes Upper 0 × 0), "First < 0", "Last < First-1", "Triangle column > Mtx.Cols-1".
    TMtx& LowerTriangle(const TMtx1& Mtx, bool ZeroOther, bool Diagonal, int First, int Last);
    TMtx& UpperTriangle(const TMtx1& Mtx, bool ZeroOther, bool Diagonal, int First, int Last);

    // Self := Self⁻¹ by its type, in place; Info and MtxError report a failure (Self then holds LAPACK's partial
    // result). Symmetric and Hermitian inverses are whole (the other triangle mirrored). "Quadratic = False",
    // "MtxType not supported".
    TMtx& Inv(TMtxType MtxType);
    // The determinant by Gaussian elimination with rows exchanged and combined in Self (Self is changed); pivots
    // below MACHEP in magnitude count as zero. A 0 × 0 matrix gives 1. "Quadratic = False", "Complex = True".
    double Determinant();
    // The same on complex elements; a real Self gives its determinant + 0i. "Quadratic = False".
    void Determinant(TCplx& Det);

    // A = Q·R (m ≥ n) or A = L·Q (m < n) with an explicit Q; Economy: Q m × n and R n × n (or L m × m), else Q
    // square and R m × n (L m × n). nullptr skips an output. Info := INFO of each LAPACK call, MtxError only for
    // an illegal argument (cleared first). "L=Self", "Q=Self", "R=Self", "L=Q", "R=Q".
    TMtx& LQR(TMtx* L, TMtx* Q, TMtx* R, bool Economy);
    // LQR with Economy set; "L = Self", "Q = Self", "R = Self", "L = Q", "R = Q".
    TMtx& LMinQR(TMtx* L, TMtx* Q, TMtx* R);

    // ---- Eigenvalues, the singular value decomposition, matrix functions (mtx_lapack_eig.cpp, mtx_lapack_svd.cpp,
    // mtx_function.cpp) ---------------------------------------------------------------------------------------------
    // None of these raises on a numerical failure: Info holds the INFO of the last LAPACK call (and MtxError a text
    // where noted). The eigen routines and the full SVD end with the control word Tarnel8087CW on every way out.

    // D := the eigenvalues of the square Self by MtxType (AutoMtxType: DetectMtxType without the definiteness test).
    // Symmetric and Hermitian types: n reals, descending for the positive definite types, ascending for the others;
    // mtTriangle and mtGeneral: n complex values, unsorted. Both triangles of a symmetric or Hermitian Self are
    // never needed: the one TriangleForm names is read. MtxError is cleared first and gets "Failed to find
    // eigenvalues!" when the Hessenberg solver fails. "Quadratic = False", "MtxType not supported", "Eig: Complex
    // symmetric matrix type not supported. Use general!". An empty Self returns at once.
    TMtx& Eig(TVecs& D, TMtxType MtxType = mtGeneral);
    // Eigenvalues with eigenvectors, or the Schur form.
    // - Symmetric and Hermitian types: the orthonormal eigenvectors as the columns of VL (and of VR when given), in
    //   the order of D. "V = nil" without VL.
    // - mtTriangle, mtGeneral, vfEig: right eigenvectors into VR, left ones (uᴴ·Self = λ·uᴴ) into VL, each optional
    //   but not both ("VL or VR must be <> nil!"). Real data: one eigenvector per row, a complex pair as two rows
    //   (real part, imaginary part), or with ComplexVectors complex matrices with the eigenvectors as columns.
    //   Complex data: the eigenvectors as columns.
    // - mtTriangle, mtGeneral, vfSchur: VL := Tᵀ (lower quasi-triangular), VR := Wᵀ, so that Self = VR⁻¹·VL·VR; W
    //   is unitary without scaling (Balance btNone or btPerm). "V = nil" without VL.
    // Also "VL = Self", "VR = Self", "VL = VR" (the two results would overwrite each other), first.
    TMtx& Eig(TMtx* VL, TVecs& D, TMtx* VR, TMtxType MtxType = mtGeneral, TVectorForm VectorForm = vfEig,
              bool ComplexVectors = false);
    // The generalized problem with a Hermitian (symmetric) Self and a positive definite B: A·z = λ·B·z (etAzBz),
    // A·B·z = λ·z (etABz), B·A·z = λ·z (etBAz); D := the eigenvalues ascending, V := the eigenvectors as columns,
    // normalised to Vᴴ·B·V = I (Vᴴ·B⁻¹·V = I for etBAz). The triangles TriangleForm names of Self and B are read.
    // The first failing stage stops the chain with its INFO in Info (MtxError is not written); V is then left alone.
    // In order: "B.Rows = Rows", "B.Cols = Cols", "not Quadratic", "B.Complex = Complex" (always), "B = Self", "V =
    // Self" (gated). An empty Self returns after the checks.
    TMtx& EigGen(TMtx& B, TVecs& D, TEigGenType EigGenType, TMtx* V = nullptr);

    // S := the min(m, n) singular values, descending, through xGEBRD and xBDSQR. MtxError is cleared first; a failure
    // gives "Bidiagonal form error: " + INFO or "SVD failed to converge!". The control word is not changed. An empty
    // Self returns at once.
    TMtx& SVD(TVecs& S);
    // Self = U·diag(S)·Vᵀ through xGESDD: U m × k and V n × k with Economy (k = min(m, n)), else m × m and n × n;
    // V holds the right singular vectors for real data and their conjugates for complex data (the plain transpose
    // gives Self back). Either of U and V may be nil; what is given is computed. Info := INFO, MtxError cleared.
    // "U = Self", "V = Self", "U = V".
    TMtx& SVD(TMtx* U, TVecs& S, TMtx* V, bool Economy = false);

    // Self := f(Src) = V·f(D)·V⁻¹ from Src's eigenvalues D and eigenvectors V (Eig with ComplexVectors), or
    // V·f(D)·Vᴴ for the symmetric and Hermitian types; assembled by the type Eig used (AutoMtxType: detected). D and
    // V become complex where f may need it (a real D with a negative element, complex eigenvectors). A failure of
    // Eig or of the inverse, or eigenvectors singular to working precision (‖V‖₁·‖V⁻¹‖₁ > 1/ε: Info = n + 1,
    // "MtxFunction: eigenvectors are linearly dependent"), leaves Self unchanged with Info and MtxError set; nothing
    // is raised for it. An empty Src returns at once. "not Src.Quadratic", "not Assigned(Func)", then Eig's checks.
    TMtx& MtxFunction(TMtx& Src, std::span<const TCplx> Params, const TMtxFunction& Func, TMtxType MtxType);
    // Self := Src^Exponent through MtxFunction with MtxPowerFunc (the real form passes Exponent + 0i); MtxSqrt is
    // the power 0.5.
    TMtx& MtxPower(TMtx& Src, const TCplx& Exponent, TMtxType MtxType);
    TMtx& MtxPower(TMtx& Src, double Exponent, TMtxType MtxType);
    TMtx& MtxSqrt(TMtx& Src, TMtxType MtxType);
    // Self := Src^k by repeated squaring (Src square for |k| > 1: Mul's checks); k = 0 gives the identity of Src's
    // size and kind, k < 0 the inverse of Src^|k| (a singular one reported through Info and MtxError).
    TMtx& MtxIntPower(TMtx& Src, int k);

private:
    // The stages of LUSolve for a type already resolved and checked: records Info, MtxError and the bounds and
    // estimate that ran, without raising.
    void LUSolveCore(const double* B, double* X, int NRHS, TMtxType MtxType, TMtxOperation Operation);

public:
    // ---- Element-wise arithmetic and complex parts (mtx_arith.cpp) ----------------------------------------------
    using TMtx1::Abs;
    using TMtx1::Add;
    using TMtx1::Conj;
    using TMtx1::Disown;
    using TMtx1::ExtendToComplex;
    using TMtx1::InvElem;
    using TMtx1::MulElem;
    using TMtx1::Offset;
    using TMtx1::Round;
    using TMtx1::Scale;
    using TMtx1::SetIt;
    using TMtx1::SetZero;
    using TMtx1::SqrElem;
    using TMtx1::SqrtElem;
    using TMtx1::Sub;
    using TMtx1::ThreshBottom;
    using TMtx1::ThreshTop;
    using TMtx1::Trunc;
    // A real matrix refuses a factor with an imaginary part ("TMtx.Scale: Not Complex").
    TMtx& Scale(const TCplx& Factor);
    // A real, non-empty matrix raises "TMtx.Offset: Not Complex".
    TMtx& Offset(const TCplx& Value);
    TMtx& Round();
    // Self := f(Mtx), sized like Mtx (Abs: real); an empty Mtx leaves Self as it is (Conj, InvElem: Self sized).
    TMtx& Abs(const TMtx1& Mtx);
    TMtx& Conj(const TMtx1& Mtx);
    TMtx& InvElem(const TMtx1& Mtx, double Threshold);
    // Bit for bit the in-place SqrElem and SqrtElem of a copy of Mtx.
    TMtx& SqrElem(const TMtx1& Mtx);
    TMtx& SqrtElem(const TMtx1& Mtx);
    TMtx& ThreshBottom(const TMtx1& Mtx, double Value);
    TMtx& ThreshTop(const TMtx1& Mtx, double Value);
    // Self := Mtx1 ∘ Mtx2, sized like Mtx1.
    TMtx& Add(const TMtx1& Mtx1, const TMtx1& Mtx2);
    TMtx& Sub(const TMtx1& Mtx1, const TMtx1& Mtx2);
    TMtx& MulElem(const TMtx1& Mtx1, const TMtx1& Mtx2);
    // Self := Mtx truncated toward zero, in floating point.
    TMtx& Trunc(const TMtx1& Mtx);

    // ---- Transcendental functions (mtx_transcend.cpp) ----------------------------------------------------------
    using TMtx1::ArcCos;
    using TMtx1::ArcCosh;
    using TMtx1::ArcSin;
    using TMtx1::ArcSinh;
    using TMtx1::ArcTan;
    using TMtx1::ArcTanh;
    using TMtx1::Cos;
    using TMtx1::Cosh;
    using TMtx1::Exp;
    using TMtx1::IntPower;
    using TMtx1::Ln;
    using TMtx1::Log10;
    using TMtx1::LogN;
    using TMtx1::Power;
    using TMtx1::Sin;
    using TMtx1::Sinh;
    using TMtx1::Tan;
    using TMtx1::Tanh;
    // Self := f(Mtx), sized like Mtx ("Self = Mtx" for Exp, "Mtx = Self" for Ln).
    TMtx& Exp(const TMtx1& Mtx);
    TMtx& Ln(const TMtx1& Mtx);
    // In place.
    TMtx& Log10();
    TMtx& LogN(double N);
    TMtx& IntPower(int Exponent);
    TMtx& Sin();
    TMtx& Cos();
    TMtx& Tan();
    TMtx& ArcSin();
    TMtx& ArcCos();
    TMtx& ArcTan();
    TMtx& Sinh();
    TMtx& Cosh();
    TMtx& Tanh();
    TMtx& ArcSinh();
    TMtx& ArcCosh();
    TMtx& ArcTanh();
    // Self := exp(Exponent·ln Mtx) ("Mtx = Self"); a real Mtx refuses an Exponent with an imaginary part
    // ("Base.Complex = false") before anything changes.
    TMtx& Power(const TMtx1& Mtx, const TCplx& Exponent);

    // ---- Small operations (mtx_small.cpp) -------------------------------------------------------------------------
    // Self := SrcMtx widened: a + 0i with ZeroImag, a + a·i without ("SrcMtx.Complex = True", "SrcMtx = Self").
    TMtx& ExtendToComplex(const TMtx1& SrcMtx, bool ZeroImag);
    // The values of A into Self, which keeps its size (the same counts and texts as the sizing form).
    TMtx& SetIt(TOpenArray<double> A);
    // Elements (r, c) with Row <= r <= ToRow, Col <= c <= ToCol := 0.
    TMtx& SetZero(int Row, int Col, int ToRow, int ToCol);
    // Gives up the data without handing them back: an owned block is freed, Rows and Cols become 0.
    void Disown();

    // ---- Stacking into place (mtx_blocks.cpp) ---------------------------------------------------------------
    using TMtx1::ConcatHorz;
    using TMtx1::ConcatVert;
    // The sources stacked into Self from (DestRow, DestCol) downwards, or rightwards; Self keeps its size. Each
    // source is checked ("Complex <> Src[i].Complex", "DestCol + Src[i].Cols > Cols" or
    // "DestRow + Src[i].Rows > Rows"), then the total ("Too many rows!", "Too many columns!"), before any copy.
    TMtx& ConcatVert(int DestRow, int DestCol, TOpenArray<const TMtx1*> Src);
    TMtx& ConcatHorz(int DestRow, int DestCol, TOpenArray<const TMtx1*> Src);

    // ---- Text, MatrixMarket and grid exchange (mtx_text.cpp) ------------------------------------------------------
    using TMtx1::GridToValues;
    using TMtx1::StringsToValues;
    using TMtx1::ValuesToGrid;
    using TMtx1::ValuesToStrings;
    // Every row appended as a line: TMtx1.ValuesToStrings from ListIndex = the number of lines.
    void ValuesToStrings(TStrings& Strings, std::string_view Delimiter, std::string_view ReFormat = "",
                         std::string_view ImFormat = "") const;
    // Self := the matrix of the lines: one row per line, as many columns as ColumnCount (Strings, 0, Delimiter),
    // real unless a value has a nonzero imaginary part. "Row > AList.Count-1" for no lines.
    TMtx& StringsToValues(const TStrings& Strings, std::string_view Delimiter);
    // A MatrixMarket array file, lines ended by CR LF: "%%MatrixMarket matrix array real general " (or "complex"),
    // "%Created with Tarnel version 150", "%Date: " and the short date (DateToStr), "Rows Cols " (complex columns),
    // then the elements column by column, one per line, complex ones as the real and the imaginary part separated
    // by a blank. Numbers as FloatToStrShortest writes them, so that every Double reads back exactly. A file that
    // cannot be created or written whole raises.
    void SaveToMatrixMarketFile(const std::string& FileName) const;
    // The RowCount × ColCount block at (SrcRow, SrcCol) into the cells of a grid: element (SrcRow + i, SrcCol + k)
    // in row DstRow + i, column DstCol + k, or columns DstCol + 2k and DstCol + 2k + 1 (real and imaginary part).
    // With Headers the row and column in front hold the source row numbers and column numbers (complex: the column
    // number followed by "-Re" and "-Im") and the values move one row and column on. Numbers by FormatSample (x,
    // FloatFormat). Always, in this order: "(DstRow < 0) or (DstCol < 0) or (SrcRow < 0) or (SrcCol < 0) or
    // (RowCount < 0) or (ColCount < 0)"; the grid too narrow or too short for the cells written, "(Dst.ColCount+1) <
    // (ColCount*(1+Integer(Src.Complex))+DstCol)", "(Dst.RowCount+1) < (RowCount+DstRow)"; "(SrcRow + RowCount) >
    // Src.Rows", "(SrcCol + ColCount) > Src.Cols". No cell is written when a check fails.
    void ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, int SrcRow, int SrcCol, int RowCount, int ColCount,
                      std::string_view FloatFormat, bool Headers) const;
    // The block of RowCount × ColCount elements read from the cells (StrToSample), a grid row from column SrcCol on
    // giving the numbers of one matrix row, into the matrix at (Row, Col). IsComplex makes a real matrix complex;
    // real values in a complex matrix get zero imaginary parts. Always: "(SrcRow < 0) or (SrcCol < 0) or (Row < 0)
    // or (Col < 0) or (RowCount < 0) or (ColCount < 0)". With ConditionCheck: "(Row + RowCount) > fRows", "(Col +
    // ColCount) > fCols" (always as the guard of the matrix), "(SrcRow + RowCount) > Src.RowCount", "(SrcCol +
    // ColCount*(Byte(IsComplex)+1)) > Src.ColCount)" (without it a cell outside raises the grid's error). Every
    // cell is read before the matrix changes.
    TMtx& GridToValues(const TCellGrid& Src, int SrcRow, int SrcCol, int Row, int Col, int RowCount, int ColCount,
                       bool IsComplex);

    // ---- Random fills (vec_random.cpp) ----------------------------------------------------------------------
    using TMtx1::RandGauss;
    using TMtx1::RandUniform;
    // Continue while the parameters stay the generator's; new ones start it from a random seed.
    TMtx& RandUniform(double Low, double High);
    TMtx& RandGauss(double Mean, double StdDev);
};

// The power function of MtxPower: D := D^p for Params = {p}, through the real vector power when p has no imaginary
// part, else the complex one (a real D made complex first). "Power: Length(Params) <> 1".
void MtxPowerFunc(TVec& D, std::span<const TCplx> Params);

// Size(ARows, ACols, AComplex) of every matrix given ("Mtx = nil" for a nil entry, before any is sized).
void SetMtxSize(int ARows, int ACols, bool AComplex, TOpenArray<TMtx*> Mtxs);

// The number of fields of line Row: the occurrences of Delimiter (whole, one after the other) that do not end at
// the line's last character, plus one. Leading and doubled delimiters count as empty fields here, although the
// readers skip them. "Row < 0", "Row > AList.Count-1", "Delimiter is empty".
int ColumnCount(const TStrings& Strings, int Row, std::string_view Delimiter);

// The same values as the members.
double Norm1(const TMtx1& Mtx);
double NormInf(const TMtx1& Mtx);

// The same values as the members of the reductions.
double Max(const TMtx1& Mtx);
double Min(const TMtx1& Mtx);
double Mean(const TMtx1& Mtx);
TCplx Trace(const TMtx1& Mtx);
bool Equal(const TMtx1& Mtx1, const TMtx1& Mtx2, double Tolerance = 0);

}  // namespace tarnel
