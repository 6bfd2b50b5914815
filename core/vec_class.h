// TVec: the library's vector of Doubles or of complex numbers, with its class chain TVecs -> TVec0 -> TVec1 -> TVec.
//
// All fields and the storage logic live in TVecs; each further level only adds overloads (mostly range forms)
// and brings the overloads of the level below back into scope with `using`. Programs and the pool create TVec.
//
// Storage: a vector owns at most one block. For a capacity of c elements (c even, c > 0) the block holds
// (c + 2)·8 + 40 bytes for a real vector and (c + 2)·16 + 40 bytes for a complex one; new blocks are zero-filled.
// The data begin at the highest 32-byte boundary not above the block start + 40, so they are 32-byte aligned,
// at least 8 bytes lie before them and room for c + 2 elements lies after them (the two spare elements past the
// capacity take the extra numbers that the reader of old-format streams reads). The 8 bytes before the data are
// a header of two 32-bit integers, a reference count (1) and the element count (the capacity after allocation,
// then the length after every change of Length).
//
// Values() and CValues() give the same address as double* and as TCplx*. The data are held once, as a double*
// into the block; CValues() is that pointer cast to TCplx*. TCplx is a standard-layout pair of Doubles with no
// padding (checked in Dovi387.h), so TCplx element k is exactly Doubles 2k and 2k+1, and every access goes
// through a double lvalue (TCplx::Re, TCplx::Im), which the compiler treats as aliasing the double* view. The
// core is compiled with -fno-strict-aliasing (core/CMakeLists.txt), so that reading and writing the same bytes
// through both views is well defined there whatever the optimiser assumes about distinct types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "core/Dovi387.h"
#include "core/LinAlgTypes.h"
#include "core/OpenArray.h"
#include "core/binary_stream.h"

namespace tarnel {

class TVecs;
class TVec;
class TMtx1;
class TMtx;
class TStrings;
class TCellGrid;

// How Gather and Scatter read their index vector.
enum TIndexType {
    indIncrement,  // every Increment-th element from Offset on; no index vector
    indVector,     // the index vector holds element indexes (Doubles, rounded to the nearest integer)
    indMask        // an element takes part where its mask entry is above 0
};

// Called after Length or Complex of the vector changed.
using TVecNotifyEvent = std::function<void(TVecs& Sender)>;

// The parameters with which the random generators of a vector were last initialised.
struct TRandParams {
    double UniformLow = 0;
    double UniformHigh = 0;
    double UniformSeed = 0;
    double GaussSeed = 0;
};
static_assert(sizeof(TRandParams) == 32);

// Sizes of the generator work areas every vector carries (Goertzel filter, normal and uniform generators).
inline constexpr int kGoertzelStateBytes = 64;
inline constexpr int kGaussStateBytes = 52;
inline constexpr int kUniformStateBytes = 40;

namespace detail {
[[noreturn]] void RaiseIndex(int Index);
}  // namespace detail

class TVecs {
public:
    TVecs();
    virtual ~TVecs();
    TVecs(const TVecs&) = delete;
    TVecs& operator=(const TVecs&) = delete;

    // ---- Published properties ----------------------------------------------------------------------------
    bool Complex() const { return FComplex; }
    void SetComplex(bool B);
    bool ConditionCheck() const { return FConditionCheck; }
    void SetConditionCheck(bool B) { FConditionCheck = B; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& S) { FCaption = S; }
    int Length() const { return FLength; }
    void SetLength(int Len);
    int Tag() const { return FTag; }
    void SetTag(int T) { FTag = T; }

    // ---- Size and capacity --------------------------------------------------------------------------------
    // Capacity in elements (complex elements when Complex). Setting it reallocates unless it equals the current
    // capacity; the new block is zero-filled and nothing is copied.
    int ActualLength() const { return FActualLength; }
    void SetActualLength(int C);
    // SetComplex(AComplex), then SetLength(Len); checked first, so a refused call changes nothing.
    TVecs& Size(int Len, bool AComplex = false);
    // Raises, before anything changes, what Size(Len, AComplex) would refuse ("IsSubRange = True!",
    // "SetActualLength: Value < 0", "SetActualLength: Value too large"); callers that size several objects check
    // them all first.
    void CheckSize(int Len, bool AComplex) const;
    // Sets the length keeping the first min(Len, Length) values; with ZeroIt the elements added are zero.
    void Resize(int Len, bool ZeroIt = false);

    // ---- Element access -----------------------------------------------------------------------------------
    // The data seen as Doubles and as complex numbers (the same address); nil when there is no data.
    double* Values() { return FValues; }
    const double* Values() const { return FValues; }
    TCplx* CValues() { return reinterpret_cast<TCplx*>(FValues); }
    const TCplx* CValues() const { return reinterpret_cast<const TCplx*>(FValues); }

    // The checked indexed property (real elements). With ConditionCheck an index outside 0..Length-1 raises
    // "Indx > Length-1" or "Indx < 0 " (in that order). Without it the index is not held to Length, but it is
    // still held to the memory the vector may address, and raises the same texts outside it.
    double GetDefaultArray(int Index) const
    {
        CheckDefaultIndex(Index);
        return FValues[Index];
    }
    void SetDefaultArray(int Index, double Value)
    {
        CheckDefaultIndex(Index);
        FValues[Index] = Value;
    }

    class TElementRef {
    public:
        operator double() const { return FVec.GetDefaultArray(FIndex); }
        TElementRef& operator=(double Value)
        {
            FVec.SetDefaultArray(FIndex, Value);
            return *this;
        }
        TElementRef& operator=(const TElementRef& Other) { return *this = static_cast<double>(Other); }

    private:
        friend class TVecs;
        TElementRef(TVecs& Vec, int Index) : FVec(Vec), FIndex(Index) {}
        TVecs& FVec;
        int FIndex;
    };
    TElementRef operator[](int Index) { return TElementRef(*this, Index); }
    double operator[](int Index) const { return GetDefaultArray(Index); }

    // The first and last number, and the first and last complex element; all raise on an empty vector, the
    // complex forms also on a real one ("not Complex!").
    double FirstSample() const;
    double LastSample() const;
    TCplx FirstCplx() const;
    TCplx LastCplx() const;

    // ---- Copying in ---------------------------------------------------------------------------------------
    // SetComplex(AComplex) and Length := number of entries (half of it when complex), then copies the entries.
    // For complex data the array holds Re, Im pairs, so its number of entries must be even.
    void SetIt(bool AComplex, TOpenArray<double> A);

    // Four addresses into the data after sizing the vector real to L1+L2+L3+L4: P1 at element 0,
    // P2 = P1 + L1, P3 = P2 + L2, P4 = P3 + L3.
    void SliceIt(int L1, int L2, int L3, int L4, double*& P1, double*& P2, double*& P3, double*& P4);

    // ---- Outside data -------------------------------------------------------------------------------------
    // Works on the caller's array from now on: releases the own block (capacity 0), SetComplex(AComplex) and
    // Length := Len (no OnSetLength for the length). Len (2·Len for complex data) must not exceed the DataLength
    // Doubles of the array; nothing is ever written past them (an adopted array has no spare room). The array
    // must outlive its use by the vector.
    void Adopt(double* Data, std::int64_t DataLength, int Len, bool AComplex);
    void Adopt(TSampleArray& Data, int Len, bool AComplex);
    // Hands the adopted array back (address, Length, Complex) and leaves the vector empty. A vector that owns
    // its data has nothing to hand back: its block is freed and Data is nil with ALen 0.
    void Disown(double*& Data, int& ALen, bool& AComplex);

    // ---- Other whole-vector operations --------------------------------------------------------------------
    // Copies ConditionCheck, Caption, Dirty and Tag, and with TarnelAssignCopyData the complexity, length and
    // values.
    void Assign(const TVecs& Vec);
    // Empties the vector for reuse (real, length 0, default ConditionCheck, generators unset, Caption empty,
    // BLAS factors 1 and 0), keeping Tag, Dirty, OnSetLength and the capacity. Raises "IsSubRange = True!"
    // before changing anything while a sub-range is viewed, and "BlockLevel > 0" after emptying a vector that is
    // still inside a block walk.
    void Reset();
    void CondDisable();
    void CondEnable();
    // Moves whole elements by Offset places, toward the end for Offset > 0 and toward the start for Offset < 0;
    // the elements uncovered keep their old values. Nothing happens when |Offset| > Length.
    void Shift(int Offset);

    // ---- Plain settings -----------------------------------------------------------------------------------
    bool Dirty() const { return FDirty; }
    void SetDirty(bool B) { FDirty = B; }
    bool IsSubRange() const { return FIsSubRange; }
    void SetIsSubRange(bool B) { FIsSubRange = B; }
    int CacheIndex() const { return FCacheIndex; }
    TVecs& SetCacheIndex(int I)
    {
        FCacheIndex = I;
        return *this;
    }
    const TVecNotifyEvent& OnSetLength() const { return FOnSetLength; }
    void SetOnSetLength(TVecNotifyEvent Handler) { FOnSetLength = std::move(Handler); }
    // True when no block walk is active, otherwise the block state of the walk.
    bool BlockEnd() const { return FBlockLevel < 1 ? true : FBlockEnd; }
    TCplx BlasAlpha() const { return FBlasAlpha; }
    void SetBlasAlpha(const TCplx& Z) { FBlasAlpha = Z; }
    TCplx BlasBeta() const { return FBlasBeta; }
    void SetBlasBeta(const TCplx& Z) { FBlasBeta = Z; }

    // ---- Matrix-vector products (mtx_mul.cpp); BlasAlpha and BlasBeta go back to 1 and 0 afterwards -------
    // Self := BlasAlpha·Vec·op(Mtx) + BlasBeta·Self, Vec a row vector: "Length <> Mtx.Rows" (opNone) or
    // "Length <> Mtx.Cols" (opTran, opHerm) unless Vec.Length fits. The triangular product ignores both factors.
    TVecs& TensorProd(const TVecs& Vec, TMtx& Mtx, TMtxType MtxType, TMtxOperation Operation = opNone);
    // Self := Mtx·Vec: "Length <> Mtx.Cols" unless Vec.Length = Mtx.Cols.
    TVecs& TensorProd(TMtx& Mtx, const TVecs& Vec, TMtxType MtxType);
    // The shared core, without the length check of the forms above ("Complex <> Mtx.Complex", "Vec = Self",
    // "MtxType not supported" and a bound check against Vec's length still run).
    TVecs& TensorProdInt(const TVecs& Vec, TMtx& Mtx, TMtxType MtxType, TMtxOperation Operation);

    // ---- Element-wise: sums (vec_add.cpp) -------------------------------------------------------------------
    // Self := Self + (Re + i·Im)·Vec. The plain sum (Re = 1, Im = 0) mixes kinds: a real operand is widened with a
    // zero imaginary part, and a real Self becomes complex. A scaled sum needs equal kinds ("TVec.Add:
    // Vec.Complex <> Complex", always) and a real factor on real vectors ("TVec.Add: Not Complex").
    TVecs& Add(const TVecs& Vec, double Re = 1, double Im = 0);

    // ---- Arithmetic on two operands (vec_arith.cpp) -------------------------------------------------------
    // The in-place operand forms mix kinds: a real operand is widened as x + 0i for Sub and as x + i·x for Mul,
    // Divide and ConjMul (giving the complex-by-real product and quotient); a real Self becomes complex.
    TVecs& Sub(const TVecs& Vec);
    TVecs& Mul(const TVecs& Vec);
    // Self := Self·(1/Vec), the reciprocals thresholded: a divisor below Threshold in magnitude gives
    // ±1/Threshold (nspdbInvThresh2, nspzbInvThresh2), so a zero divisor gives a finite result.
    TVecs& Divide(const TVecs& Vec, double Threshold);
    // Self := Self·conj(Vec). Vec is only read.
    TVecs& ConjMul(const TVecs& Vec);
    // Self[i] := Vec[i+1] - Vec[i]: Vec's kind, Length - 1 elements (none for an empty Vec).
    TVecs& Difference(const TVecs& Vec);
    // Self := (Vec - Sub)/Div, sized like Vec, which must be complex ("Vec.Complex <> True").
    TVecs& Normalize(const TVecs& Vec, const TCplx& Sub, double Div);

    // ---- Arithmetic on one operand (vec_unary.cpp) --------------------------------------------------------
    // Both parts of complex elements are scaled; Factor = 1 changes nothing.
    TVecs& Scale(double Factor);
    // Adds Value to real elements, Value + 0i to complex ones.
    TVecs& Offset(double Value);
    // Thresholded reciprocals in place; complex data take √Threshold as their threshold.
    TVecs& Inv(double Threshold);
    TVecs& Sqr();
    // Real data: NaN for negatives. Complex data: the principal root, the sign of a zero imaginary part kept.
    TVecs& Sqrt();
    TVecs& InvSqrt();
    // Complex data: exp(ln(z)/3), the principal root (that of -8 + 0i is 1 + 1.732...i).
    TVecs& Cbrt();
    // Complex data: exp(-ln(z)/3).
    TVecs& InvCbrt();
    // Real only: a complex Self raises "TVec.Abs: Complex = True" (nothing happens to an empty one).
    TVecs& Abs();
    // Self := -Self.
    TVecs& Sign();
    // Elements below (above) Value become Value; complex elements compare their magnitude and keep their phase.
    TVecs& ThreshBottom(double Value);
    TVecs& ThreshTop(double Value);

    // ---- Data movement (vec_move.cpp) -----------------------------------------------------------------------
    // Self sized like Vec and its values copied; Vec = Self changes nothing.
    void Copy(const TVecs& Vec);
    TVecs& Reverse();
    // Element k moves to (k + Offset) mod Length: a positive Offset rotates toward the end.
    TVecs& Rotate(int Offset);
    // The sources one after the other into Self from element Index on; Self is not resized.
    TVecs& Concat(int Index, TOpenArray<const TVecs*> Src);
    // Vec1 := Self[0 .. Offset-1], Vec2 := the rest.
    void Split(TVecs& Vec1, int Offset, TVecs& Vec2) const;
    // Self := the elements of X selected by IndexType (Indexes may be nil for indIncrement).
    TVecs& Gather(const TVecs& X, const TVecs* Indexes, TIndexType IndexType, int Increment, int Offset);
    // The elements of X placed into Self at the positions IndexType selects.
    TVecs& Scatter(const TVecs& X, const TVecs* Indexes, TIndexType IndexType, int Increment, int Offset);

    // ---- Complex parts (vec_cplx.cpp) -----------------------------------------------------------------------
    TVecs& Conj();
    // Magnitudes and phases of Self into two real vectors of Self's Length.
    TVecs& CartToPolar(TVecs& AmpltVec, TVecs& PhaseVec);
    // Self := AmpltVec·e^(i·PhaseVec), complex.
    void PolarToCart(const TVecs& AmpltVec, const TVecs& PhaseVec);
    TVecs& Mag(const TVecs& Vec);
    TVecs& RealPart(const TVecs& Vec);
    TVecs& ImagPart(const TVecs& Vec);
    TVecs& PhaseSpectrum(const TVecs& Vec);
    // |Vec|² per element; Norm is the same operation.
    TVecs& PowerSpectrum(const TVecs& Vec);
    TVecs& Norm(const TVecs& Vec);
    // Real and imaginary parts of Self into two real vectors of Self's Length.
    void CplxToReal(TVecs& ReVec, TVecs& ImVec) const;
    // Self := ReVec + i·ImVec (of a complex source its first Length Doubles are taken).
    TVecs& RealToCplx(const TVecs& ReVec, const TVecs& ImVec);
    // Widens a real Self in place: x + i·x, or x + 0i with Zeros.
    TVecs& ExtendToComplex(bool Zeros);
    // Self[Index + k] := Im(X) + i·Re(X) of X[XIndex + k]; with Len = -1 Self is sized like X and all of X is
    // taken. A real X gives 0 + i·x (only with Len = -1).
    TVecs& Flip(const TVecs& X, int XIndex = 0, int Index = 0, int Len = -1);
    // The same with Im(X) - i·Re(X); a real X gives 0 - i·x.
    TVecs& FlipConj(const TVecs& X, int XIndex = 0, int Index = 0, int Len = -1);
    // Self := i·X; a real X gives 0 + i·x.
    TVecs& MulI(const TVecs& X, int XIndex = 0, int Index = 0, int Len = -1);
    // Self := cos(Omega) + i·sin(Omega), complex and sized like Omega.
    TVecs& Expj(const TVecs& Omega);

    // ---- Fills, ramps, primes and rounding (vec_fill.cpp) ------------------------------------------------------
    // Every element := Value (complex: Value + 0i).
    TVecs& SetVal(double Value);
    TVecs& SetZero();
    // Self := A as a complex vector of A's length.
    TVecs& SetCplx(TOpenArray<TCplx> A);
    // Element k := k (complex: k + 0i).
    TVecs& Ramp();
    // Self := the primes below n, real ("n <= 0" for n < 1).
    TVecs& PrimeNumbers(int n);
    // Self := Vec rounded to whole numbers (ties to even) or truncated toward zero, in floating point: every
    // Double keeps its value range (NaN and infinities stay); both parts of complex elements. An empty Vec leaves
    // Self as it is.
    TVecs& Round(const TVecs& Vec);
    TVecs& Trunc(const TVecs& Vec);
    // Self[Index + k] := the fractional part x - trunc(x) of X[XIndex + k] (both parts of complex elements); with
    // Len = -1 Self is sized like X and all of X is taken.
    TVecs& Frac(const TVecs& X, int XIndex, int Index, int Len = -1);
    // Self := the Kronecker product: block i of Vec2.Length elements is Vec1[i]·Vec2; complex when either is.
    TVecs& Kron(const TVecs& Vec1, const TVecs& Vec2);

    // ---- Sub-ranges and block processing ------------------------------------------------------------------
    // A view moves the data address and the length only: no copy, no event, nothing written to any buffer, and
    // never anything written past the view's length. While a view is active the vector cannot be sized.
    // Negative Index or Len always raise ("Index < 0", "Len < 0"); the bound checks run with ConditionCheck, and
    // without it the view is still held to the memory of its source (same messages).
    // Views the stretch [Index, Index+Len) of the vector's own full-range data, in elements of the current kind;
    // the first view saves the full-range state and later views move within it. "(Index + Len) > SLength".
    void SetSubRange(int Index, int Len);
    // Back to the full-range data, capacity, length and complexity; also ends an unfinished block walk (level 0,
    // index 0, BlockEnd True). Nothing else happens without a view.
    void SetFullRange();
    // Starts (at level 0) or joins (above it) a block walk. At level 0 the vector must not view a sub-range, the
    // block size is TarnelBlockSize for -1 (any other value below 1 raises "BlockInit: BlockSize < 1"), and the
    // first block becomes the view; a walk over no elements ends at once at level 0.
    void BlockInit(int BlockSize = -1);
    // At level 1 moves the view to the next block or, after the last one, ends the walk (full range, level 0);
    // above level 1 only lowers the level; at level 0 does nothing.
    void BlockNext();
    int BlockLevel() const { return FBlockLevel; }

    // ---- State kept for the transforms and the random fills ----------------------------------------------
    int FFTOrder() const { return FFFTOrder; }
    void SetFFTOrder(int Order) { FFFTOrder = Order; }
    // The length is not known to be a power of two (set by every change of length).
    bool NotPowerOfTwo() const { return FNotPowerOfTwo; }
    void SetNotPowerOfTwo(bool B) { FNotPowerOfTwo = B; }
    void* GoertzelState() { return FGoertzelState; }
    void* GaussState() { return FGaussState; }
    void* UniformState() { return FUniformState; }
    bool GaussSet() const { return FGaussSet; }
    void SetGaussSet(bool B) { FGaussSet = B; }
    bool UniformSet() const { return FUniformSet; }
    void SetUniformSet(bool B) { FUniformSet = B; }
    TRandParams& RandParams() { return FRandParams; }

    // ---- Vector FFT (vec_fft.cpp) ---------------------------------------------------------------------------
    // Lengths are powers of two. The order cache (FFTOrder, NotPowerOfTwo) is rebuilt by IsPowerOfTwo when a
    // change of length has marked it unknown; SetComplex keeps it in step. Forward transforms are unscaled,
    // X[k] = Σ x[j]·e^(−2πi·jk/N); inverse ones divide by N unless NoScale. The packed spectrum of N real samples
    // is a complex vector of Length N/2 whose bin N/2 lies in the element just past the end: transforms that
    // read or write it raise "No room past Length for bin N/2" where that element is not the vector's own memory
    // (a view, an adopted array without room). Real FFT = numpy rfft, IRealFFT = irfft, FFTReal = hfft,
    // IFFTReal = ihfft.
    // Recomputes the order cache: True for Lengths 2, 4, 8, ... (order 1, 2, 3, ...); Length 0 and 1 give False.
    bool IsPowerOfTwo() const;
    // In place; an empty vector is returned unchanged (FFTReal makes it real, IFFTReal complex). A real vector
    // becomes its packed spectrum (complex, Length halved), IRealFFT and FFTReal make a packed spectrum real.
    TVecs& FFT();
    TVecs& IFFT(bool NoScale = false);
    TVecs& IRealFFT(bool NoScale = false);
    TVecs& FFTReal();
    TVecs& IFFTReal();
    // Doubles addressable from Values: the length and any spare room.
    std::int64_t RoomDoubles() const { return FRoom; }

    // ---- Binary stream (vec_stream.cpp) ---------------------------------------------------------------------
    // The header (44 bytes of singles: Complex, Length, 0, ConditionCheck, precision, version 150, 8, Tag, magic
    // 64019, 0, 0), then the caption record; "Length > 16777216" is refused before anything is written.
    void WriteHeader(TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
    // All Length elements in the encoding; nothing for an empty vector.
    void WriteValues(TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
    void SaveToStream(TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
    // Reads the header and (versions above 104) the caption whole and checks them before the vector changes:
    // "Error reading stream!" for a header, caption or values part longer than the rest of the stream, "Wrong
    // file format!" for a bad magic, sizes that are not integers in range or ordinals out of range. Then
    // Tag, Caption (versions above 104), Complex, Length and ConditionCheck; returns the stored precision.
    TPrecision ReadHeader(TStream& Stream);
    // Length elements in the encoding, and after a header of version 0 .. 103 the two further numbers those
    // streams carry (into the spare room of an owning vector; a view or an adopted array reads and drops them).
    // Returns the numbers read.
    std::int64_t ReadValues(TStream& Stream, TPrecision Precision);
    // ReadHeader, then ReadValues; a values part cut short raises "Error reading stream!".
    void LoadFromStream(TStream& Stream);
    // LoadFromStream from the start of the file (the first object of a file written with Append).
    TVecs& LoadFromFile(const std::string& FileName);
    // The streamed property "DataValues": SaveToStream (prDouble, rnTrunc) and LoadFromStream.
    void SaveBinaryStream(TStream& Stream) const;
    void LoadBinaryStream(TStream& Stream);

    // ---- The owned block ----------------------------------------------------------------------------------
    // Byte size of the owned block (0 when none) and its address as allocated.
    std::int64_t AllocatedSize() const { return FAllocatedSize; }
    const void* AllocatedBlock() const { return FBlockStart; }

    // ---- Sorting, statistics, norms and dot products (vec_sort.cpp, vec_stats.cpp, vec_norms.cpp) -----------
    // Sorts Self[Index .. Index+Len-1] in place, real data by value, complex data in the complex order (m(z), then
    // the phase, as Smaller and Bigger); one quicksort for all sorts, so the order of equal elements is that of the
    // quicksort. Len <= 0 or Index < 0 changes nothing; a range past the end raises "Index+Len > Length"
    // (ascending) or "Index + Len > Length" (descending).
    TVecs& SortAscend(int Index, int Len);
    TVecs& SortDescend(int Index, int Len);
    // The mean (0 when empty) and the sum (NAN when empty) of a real vector; a complex one raises "Complex = True".
    double Mean() const;
    double Sum() const;
    // Result := the complex product; 1 + 0i when empty; a real vector raises "Complex = false".
    void Product(TCplx& Result) const;
    // The largest or smallest element of a real vector and its position (the first NaN wins, ties keep the first);
    // an empty vector gives NAN and position 0.
    void Max(double& AMax, int& AIndex) const;
    void Min(double& AMin, int& AIndex) const;
    // The unit function RMS (Self, 0, Length).
    double RMS() const;
    // sqrt(|Σ (x − AMean)² / (Length − 1)|) of a real vector; 0 when empty; a complex one raises "Complex = True".
    double StdDev(double AMean) const;
    // Σ ((x − AMean)/AStdDev)³ / Length, and Σ (f·(x − AMean))⁴ / Length with f = sqrt(Length/(Length − 1))/AStdDev;
    // real vectors only ("Complex = True").
    double Skewness(double AMean, double AStdDev) const;
    double Kurtosis(double AMean, double AStdDev) const;
    // The middle element, or the mean of the two middle elements; NAN when empty or when a NaN is among the data;
    // real vectors only ("Complex = True").
    double Median() const;
    // The C (largest magnitude), L1 and L2 norms of Self − Vec over the shorter length, with RelativeError divided
    // by the same norm of Vec; NAN when that length is 0. A real operand of a complex one counts as x + 0i.
    double NormC(const TVecs& Vec, bool RelativeError) const;
    double NormL1(const TVecs& Vec, bool RelativeError) const;
    double NormL2(const TVecs& Vec, bool RelativeError) const;
    // X := Σ Self[i]·Vec[i] over the shorter length, with ConjVec Σ Self[i]·conj(Vec[i]) (BLAS ZDOTC); at least
    // one vector complex ("not (Vec.Complex or Complex)"), never Self with itself ("Self = Vec"), and no conjugate
    // of a real Vec ("Operation not supported: Conj(complex vector)*(real vector)!"). 0 + 0i over no elements.
    void DotProd(const TVecs& Vec, TCplx& X, bool ConjVec) const;
    // Same length and kind, and every pair of Doubles the same: within Tolerance when it is above 0, else exactly.
    // Equal numbers (infinities too) never differ; a pair holding a NaN always differs.
    bool Equal(const TVecs& Vec, double Tolerance) const;

    // ---- Vectors from matrix rows, columns and diagonals (vec_rows.cpp) ------------------------------------
    // Every check of these forms runs whatever ConditionCheck is, in the order given, before Self changes;
    // negative Row, Col, Index or Len raise "Row < 0", "Col < 0", "Index < 0", "Len < 0" (in that order) first.
    // The vector takes the matrix's kind. Self := all Rows·Cols elements of the matrix, row by row.
    void CopyMtx(const TMtx1& Mtx);
    // Self := the K-th diagonal (K > 0 above, K < 0 below the main diagonal); an empty matrix leaves Self as it
    // was, a diagonal outside the matrix raises "k out of range".
    TVecs& Diag(const TMtx1& Mtx, int K);
    // Self := Len elements of row Row from column Col; Len = 0 empties Self (with the matrix's kind) before any
    // check. "Row > (Mtx.Rows-1)", then "(Col + Len) > (Mtx.Cols-1)" when Col + Len > Mtx.Cols.
    TVecs& GetRow(const TMtx1& Mtx, int Row, int Col, int Len);
    // Self := Len elements of column Col from row Row; Len = 0 leaves Self as it was. "Mtx.Rows*Mtx.Cols = 0",
    // "(Row + Len) > Mtx.Rows ", "Col > (Mtx.Cols-1)".
    TVecs& GetCol(const TMtx1& Mtx, int Row, int Col, int Len);

    // ---- Searches (vec_find.cpp) ----------------------------------------------------------------------------
    // The index of the first element equal to Value, -1 when there is none: for a NaN Value the first NaN, for an
    // infinite one the first infinite element of either sign. A complex Self raises "Complex".
    int Find(double Value) const;
    // Self := 1 where a[k] Op b[k] holds, else 0; real, of the shorter length ("a.Complex <> b.Complex" first).
    // Op is one of "<", "<=", "=<", ">=", "=>", ">", "=", "==", "<>", compared exactly, once, after Self is sized
    // (any other raises "Parameter: " + Op + " not recognized!"). "=" holds for a NaN b where a is NaN, for an
    // infinite b where a is infinite (either sign), else for equal values; "<>" is its negation; the orderings with
    // a NaN are false. As soon as one side is complex the library's order of complex numbers decides.
    void FindIndexes(const TVecs& a, const std::string& Op, const TVecs& b);
    // Self := the elements a[k] for which a[k] Op b[k] holds, in order, with a's kind; Indexes (real) := their
    // indexes k. A nil Indexes takes a pooled vector; Indexes = Self raises "Self = Indexes".
    void FindAndGather(const TVecs& a, const std::string& Op, const TVecs& b, TVecs* Indexes = nullptr);

    // ---- Trigonometric and hyperbolic functions (vec_trig.cpp) ---------------------------------------------
    // Self := f(X), sized like X. Real data: the vector-math routines (ArcCosh, ArcTanh: the scalar functions), NaN
    // outside the real domain. Complex sin, cos, tan, sinh, cosh, tanh from real pieces with C99's limits where the
    // pieces overflow (sin(0 + 800i) = 0 + ∞i, tan(0 + 400i) = i); the inverses element by element.
    TVecs& Sin(const TVecs& X);
    TVecs& Cos(const TVecs& X);
    TVecs& Tan(const TVecs& X);
    TVecs& ArcSin(const TVecs& X);
    TVecs& ArcCos(const TVecs& X);
    TVecs& ArcTan(const TVecs& X);
    TVecs& Sinh(const TVecs& X);
    TVecs& Cosh(const TVecs& X);
    TVecs& Tanh(const TVecs& X);
    TVecs& ArcCosh(const TVecs& X);
    TVecs& ArcTanh(const TVecs& X);
    // Self[Index + k] := f(X[XIndex + k]) for k < Len; Len = -1 sizes Self like X and takes all of X. The checks of
    // Log2 (X, XIndex, Index, Len); the reciprocal functions also "Self = Vec" when X is Self at another index.
    // ArcCot is atan2(1, x), in (0, π).
    TVecs& ArcSinh(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Cot(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Coth(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Csc(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Csch(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Sec(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Sech(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& ArcCot(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& ArcCoth(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& ArcCsc(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& ArcCsch(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& ArcSec(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& ArcSech(const TVecs& X, int XIndex, int Index, int Len = -1);
    // SinX[SinIndex + k], CosX[CosIndex + k] := sine and cosine of Self[Index + k] (real data only); Len = -1 sizes
    // SinX and CosX like Self and takes all of it. Checks in order: "Complex = True" (always), "Sinx = Self",
    // "Cosx = Self", "Complex <> SinX.Complex", "Complex <> CosX.Complex", "(Index + Len) > FLength",
    // "(XIndex + Len) > SinX.Length", "(XIndex + Len) > CosX.Length". SinX and CosX must be distinct vectors.
    void SinCos(TVecs& SinX, TVecs& CosX, int SinIndex, int CosIndex, int Index, int Len = -1) const;
    // The same for the hyperbolic sine and cosine, with the texts "Sinhx = Self", "Complex <> SinhX.Complex", ...
    void SinhCosh(TVecs& SinhX, TVecs& CoshX, int SinhIndex, int CoshIndex, int Index, int Len = -1) const;

    // ---- Exponentials, logarithms and powers (vec_exp.cpp) ------------------------------------------------
    // In place. Complex data: exp(a + ib) = e^a·(cos b + i·sin b) with C99's values at the edges (an exact zero
    // part stays zero, e^(-∞ + ib) is 0); ln z = ln|z| + i·arg z (arg in [-π, π], -x - 0i giving -π).
    TVecs& Exp();
    TVecs& Ln();
    // Self := log10 Vec, sized like Vec (complex data: ln z / ln 10).
    TVecs& Log10(const TVecs& Vec);
    // Self := ln Vec / ln N, sized like Vec; "N = 0" for N = 0 (N = 1 divides by 0).
    TVecs& LogN(double N, const TVecs& Vec);
    // Self[Index + k] := f(X[XIndex + k]) for k < Len; Len = -1 sizes Self like X and takes all of X. Checks in
    // order: "(Index < 0) or (XIndex < 0)" (always), "Complex <> X.Complex", "(Index + Len) > FLength",
    // "(XIndex + Len) > X.Length". Complex Exp2 and Exp10 are exp(z·ln 2) and exp(z·ln 10).
    TVecs& Log2(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Exp2(const TVecs& X, int XIndex, int Index, int Len = -1);
    TVecs& Exp10(const TVecs& X, int XIndex, int Index, int Len = -1);
    // Self := Base^Exponent, sized like Base, by repeated squaring over |Exponent| (an unsigned 32-bit count, so
    // -2^31 is 2^31 squarings deep); a negative Exponent ends with the reciprocal thresholded at
    // 5.56268464626801E-309. Complex data: magnitudes by squaring, phases times Exponent (the polar method).
    // Exponent 0 gives ones. "Self = Base" when Base is Self.
    TVecs& IntPower(const TVecs& Base, int Exponent);
    // Self := exp(Exponent·ln Base), sized like Base: NaN for negative real elements and for 0^0, as the formula.
    TVecs& Power(const TVecs& Base, double Exponent);
    // Self[k] := Base[k]^Exponent[k], sized like Base ("Length <> Vec.Length" unless the lengths agree). Both real:
    // C's pow (VDPOW). Otherwise complex: exp(Exponent·ln Base), a real operand taken as x + 0i.
    TVecs& PowerVec(const TVecs& Base, const TVecs& Exponent);

    // ---- Text and grid exchange (vec_text.cpp) ----------------------------------------------------------------
    // Number text of Dovi387: written by FormatSample and FormatCplx, read by StrToCplx and StrToSample (a parse
    // failure raises EConvertError). Every check runs, and every line or cell is read, before the vector changes.
    // A real vector that receives complex values is widened first, its values becoming x + 0i.
    // Appends one line per element: FormatSample (x, ReFormat), or FormatCplx (z, ReFormat, ImFormat).
    void ValuesToStrings(TStrings& Strings, std::string_view ReFormat = "", std::string_view ImFormat = "") const;
    // Elements Index .. Index+Len-1 := lines ListIndex .. ListIndex+Len-1 (Len < 0: the number of lines). A value
    // with a nonzero imaginary part makes a real vector complex; otherwise a complex vector takes the values with
    // zero imaginary parts and a real one their real parts. Always: "(ListIndex < 0) or (Index < 0)", "(Index +
    // Len) > fLength", "ListIndex + Len > AList.Count".
    TVecs& StringsToValues(const TStrings& Strings, int ListIndex, int Index, int Len);
    // TVec1.ValuesToGrid (Dst, DstRow, DstCol, 0, Length, FloatFormat, Headers, Vertical).
    void ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, std::string_view FloatFormat, bool Headers,
                      bool Vertical) const;
    // Sizes the vector from the grid and reads it whole: Length := RowCount (vertical) or ColCount (horizontal,
    // halved for complex), less one with Headers; Complex := IsComplex; then TVec1.GridToValues (Src, h, h, 0,
    // Length, IsComplex, Vertical), h = 1 with Headers. The cells are read before the vector changes.
    TVecs& GridToValues(const TCellGrid& Src, bool IsComplex, bool Vertical, bool Headers);

    // ---- DCT, Hilbert, resampling, Goertzel, convolution, random fills, pixel down-sampling ------------------
    // (vec_signal.cpp, vec_convolve.cpp, vec_random.cpp, pixel_downsample.cpp)
    // Every check runs whatever ConditionCheck is, before Self changes; negative phases, indexes, lengths and lags
    // are refused first. A source that shares memory with Self is read from a pooled copy.
    // Self := the orthonormal DCT-II (DCT) or DCT-III (IDCT) of the real Vec, any length (scipy's norm='ortho').
    TVecs& DCT(const TVecs& Vec);
    TVecs& IDCT(const TVecs& Vec);
    // Self := the analytic signal of the real Vec: Vec + i·H(Vec), H the Hilbert transform (scipy.signal.hilbert;
    // bins 1 .. N/2 − 1 times −i, bins 0 and N/2 zero). The Length must be a power of two ("Length is not power of
    // two!", raised after Self is made complex of Vec's Length).
    TVecs& Hilbert(const TVecs& Vec);
    // Self := Src[Phase], Src[Phase + Factor], ... in ceil(Src.Length / Factor) elements of Src's kind; an element
    // past Src's end is 0. Phase must be 0 .. Factor − 1; Factor 1 copies Src.
    TVecs& DownSample(const TVecs& Src, int Factor, int Phase);
    // Self := Src with each element at offset Phase of a group of Factor elements, the others 0 (Src.Length·Factor
    // elements). Phase must be 0 .. Factor − 2; Factor <= 1 leaves Self as it is.
    TVecs& UpSample(const TVecs& Src, int Factor, int Phase);
    // Prepares the Goertzel filter for the relative frequency Freq (a real vector below 0.5, a complex one below 1,
    // above 0; checked with ConditionCheck).
    TVecs& GoertzInit(double Freq);
    void GoertzReset();
    // Σ x[n]·e^(−2πi·Freq·n) over the whole vector (numpy.fft.fft(x)[k] at Freq = k/N), each call from a cleared
    // filter; 0 + 0i for an empty vector. "GoertzInit not called" before the first GoertzInit.
    TCplx Goertz();
    // Msg := the signal library's text for its last error status, or '' when the status is 0.
    void nspError(std::string& Msg) const;
    // Self := X convolved with H (np.convolve), X.Length + H.Length − 1 elements, complex when either is; an empty
    // operand gives an empty result.
    TVecs& Convolve(const TVecs& X, const TVecs& H);
    // Self := lags 0 .. Lags − 1 of Σ Vec[n + k]·conj(Vec[n]): raw, divided by N, divided by N − k.
    TVecs& AutoCorrNormal(const TVecs& Vec, int Lags);
    TVecs& AutoCorrBiased(const TVecs& Vec, int Lags);
    TVecs& AutoCorrUnBiased(const TVecs& Vec, int Lags);
    // Self := r(LoLag .. HiLag), r(k) = Σ Vec1[n + k]·conj(Vec2[n]) (numpy.correlate's direction).
    TVecs& CrossCorr(const TVecs& Vec1, const TVecs& Vec2, int HiLag, int LoLag);
    // Fills with uniform numbers in [Low, High), continuing the sequence while Low and High stay those recorded;
    // new parameters start it from a random seed.
    TVecs& RandUniform(double Low, double High);
    // Fills with normal numbers, continuing while Mean and StdDev stay the generator's.
    TVecs& RandGauss(double Mean, double StdDev);
    // The next fill of either kind starts its generator again.
    void ResetRand();
    // Self := (maximum, minimum) pairs of groups of Src[Index .. Index+Len-1] for a chart about Width pixels wide;
    // NX (when X and NX are given) the pairs' positions. Equidistant: X[0] is the first sample's position and
    // samples lie one apart; otherwise X holds every sample's position (PixelDownSample1).
    void PixelDownSample(int Width, const TVecs& Src, int Index, int Len, const TVecs* X, TVecs* NX,
                         bool Equidistant);

protected:
    // The views of another vector's or a matrix's data (the TVec1 and TVec forms of SetSubRange).
    void ViewVector(const TVecs& Src, int Index, int Len);
    void ViewMatrix(const TMtx1& Mtx, int Index, int Len, bool WholeForNegative);
    // Saves the full-range state unless a view already did, and makes [Start, Start+Len) the view.
    void ViewAt(double* Start, int Len);
    // The saved full Length in elements of the current kind.
    std::int64_t SavedLengthNow() const;

    void CheckDefaultIndex(int Index) const
    {
        if (FConditionCheck) {
            if (Index > FLength - 1 || Index < 0) detail::RaiseIndex(Index);
        } else if (Index < 0 || Index >= FRoom) {
            detail::RaiseIndex(Index);
        }
    }
    // Elements of the current kind addressable from Values (the length plus any spare room).
    std::int64_t RoomElements() const { return FComplex ? FRoom / 2 : FRoom; }
    std::size_t ElementBytes() const { return FComplex ? sizeof(TCplx) : sizeof(double); }
    // SetComplex without the event (the counters only).
    void SwitchKind(bool B);
    // The capacity for Len elements, then Length := Len, without the event; after the checks of SetLength only
    // the allocation can fail, before anything changes.
    void ApplyLength(int Len);
    static int RequestedLength(int Len, bool AComplex);
    void WriteHeaderCount(int Count);
    void ReleaseBlock();
    void FireSetLength();
    // Copies Count Doubles from A into the data from Double Offset on, converting each entry.
    template <class Src>
    void CopyIn(std::int64_t Offset, const Src* A, std::int64_t Count);
    template <class Src>
    void SetFromArray(bool AComplex, TOpenArray<Src> A);
    template <class Src>
    void SetAtIndex(int Index, TOpenArray<Src> A, const char* RealMessage);

    // Fields, in the order of the class's data model.
    std::int64_t FAllocatedSize = 0;
    bool FSavedConditionCheck = false;
    mutable int FFFTOrder = 0;         // the order cache is rebuilt by the const IsPowerOfTwo
    std::byte* FHeader = nullptr;      // 8 bytes before the own data; nil without a block
    std::byte* FBlockStart = nullptr;  // the owned block as allocated
    bool FDirty = false;
    int FActualLength = 0;
    int FCacheIndex = -1;
    std::byte* FGoertzelState = nullptr;
    std::byte* FGaussState = nullptr;
    std::byte* FUniformState = nullptr;
    bool FGaussSet = false;
    bool FUniformSet = false;
    bool FGoertzSet = false;  // a GoertzInit has prepared the Goertzel state
    TRandParams FRandParams;
    std::string FCaption;
    TVecNotifyEvent FOnSetLength;
    bool FIsSubRange = false;
    int FTag = 0;
    bool FBlockEnd = true;
    bool FConditionCheck = true;
    int FLength = 0;
    bool FComplex = false;
    mutable bool FNotPowerOfTwo = true;
    int FSavedActualLength = 0;  // full-range state kept while a sub-range is viewed
    int FSavedLength = 0;
    bool FSavedComplex = false;
    int FBlockSize = 0;  // block processing state
    int FBlockIndex = 0;
    int FBlockLevel = 0;
    double* FValues = nullptr;      // the data as seen now: own data, a view, or an adopted array
    std::int64_t FRoom = 0;         // Doubles addressable from FValues
    bool FAdopted = false;          // FValues is the caller's array (Adopt)
    bool FViewSaved = false;        // the full-range state below is saved (a view is active)
    double* FFullValues = nullptr;  // full-range data address and room while a view is active
    std::int64_t FFullRoom = 0;
    TCplx FBlasBeta = C_ZERO;
    TCplx FBlasAlpha = C_ONE;
    int FStreamVersion = -1;  // the version of the last header read, for this vector's next ReadValues (-1: none)
};

class TVec0 : public TVecs {
public:
    using TVecs::SetIt;
    using TVecs::SliceIt;

    // ---- Element-wise: shared members and sums ----------------------------------------------------------------
    using TVecs::Add;
    using TVecs::Disown;
    using TVecs::Size;
    // SetComplex(Vec.Complex), then SetLength(Vec.Length).
    TVec0& Size(const TVecs& Vec);
    // Length := 0 and the data dropped without handing them back (an owned block is freed).
    void Disown();
    // Self[Index + i] += (Re + i·Im)·Vec[VecIndex + i] for i < Len.
    TVec0& Add(const TVecs& Vec, int VecIndex, int Index, int Len, double Re = 1, double Im = 0);
    // SetSubRange(BeginIndex, EndIndex - BeginIndex + 1): a view of elements BeginIndex .. EndIndex.
    void SetSubIndex(int BeginIndex, int EndIndex);

    // ---- Arithmetic on two operands (vec_arith.cpp) -------------------------------------------------------
    using TVecs::ConjMul;
    using TVecs::Difference;
    using TVecs::Divide;
    using TVecs::Mul;
    using TVecs::Normalize;
    using TVecs::Sub;
    // Self[Index + i] := Self[Index + i] ∘ Vec[VecIndex + i] for i < Len.
    TVec0& Sub(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec0& Mul(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec0& Divide(const TVecs& Vec, double Threshold, int VecIndex, int Index, int Len);
    TVec0& ConjMul(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Self := Num/Den, sized like Num; real data divide plainly (a zero divisor gives an infinity or NaN),
    // complex data multiply by thresholded reciprocals.
    TVec0& DivideVec(const TVecs& Num, const TVecs& Den);
    // Len - 1 differences of Vec[VecIndex .. VecIndex+Len-1] into Self from Index; Self is not resized.
    TVec0& Difference(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Self := (Vec - Sub)/Div, real and sized like Vec, which must be real ("Vec.Complex = True").
    TVec0& Normalize(const TVecs& Vec, double Sub, double Div);

    // ---- Arithmetic on one operand (vec_unary.cpp) --------------------------------------------------------
    using TVecs::Cbrt;
    using TVecs::Offset;
    using TVecs::Scale;
    // On Self[Index .. Index+Len-1]; a real Self refuses a factor or value with an imaginary part.
    TVec0& Scale(const TCplx& Factor, int Index, int Len);
    TVec0& Offset(const TCplx& Value, int Index, int Len);
    // Self := ∛Vec, sized like Vec.
    TVec0& Cbrt(const TVecs& Vec);

    // ---- Binary stream (vec_stream.cpp) ---------------------------------------------------------------------
    // SaveToStream (prDouble, rnTrunc) into a new or emptied file, or at the end of an existing one with Append.
    void SaveToFile(const std::string& FileName, bool Append = false) const;

    // ---- Data movement ------------------------------------------------------------------------------------
    using TVecs::Concat;
    using TVecs::Reverse;
    using TVecs::Split;
    // Self[Index + k] := Vec[VecIndex + Len - 1 - k] for k < Len.
    TVec0& Reverse(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Self := the sources one after the other, with Src[0]'s kind; no sources give an empty real vector.
    TVec0& Concat(TOpenArray<const TVecs*> Src);
    // Consecutive pieces of Self into the destinations, each as long as the destination (in Self's kind).
    TVec0& Split(TOpenArray<TVecs*> Dst);

    // ---- Complex parts ----------------------------------------------------------------------------------------
    using TVecs::CartToPolar;
    using TVecs::Conj;
    using TVecs::CplxToReal;
    using TVecs::Expj;
    using TVecs::Flip;
    using TVecs::FlipConj;
    using TVecs::MulI;
    using TVecs::PolarToCart;
    using TVecs::RealToCplx;
    TVec0& Conj(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Magnitudes and phases of Self[Index .. Index+Len-1] into elements 0 .. Len-1 of the outputs, which become
    // real vectors of Self's whole Length.
    TVec0& CartToPolar(TVecs& AmpltVec, TVecs& PhaseVec, int Index, int Len);
    // Self becomes complex; Self[Index + k] := AmpltVec[AIndex + k]·e^(i·PhaseVec[PIndex + k]).
    void PolarToCart(const TVecs& AmpltVec, const TVecs& PhaseVec, int AIndex, int PIndex, int Index, int Len);
    void CplxToReal(TVecs& ReVec, TVecs& ImVec, int ReIndex, int ImIndex, int Index, int Len) const;
    TVec0& RealToCplx(const TVecs& ReVec, const TVecs& ImVec, int ReIndex, int ImIndex, int Index, int Len);
    // The in-place forms on Self[Index .. Index+Len-1].
    TVec0& Flip(int Index, int Len);
    TVec0& FlipConj(int Index, int Len);
    TVec0& MulI(int Index, int Len);
    // Self[Index + k] := cos ω + i·sin ω, ω = Omega[OmegaIndex + k], k < Len.
    TVec0& Expj(const TVecs& Omega, int OmegaIndex, int Index, int Len);
    // Copies the array from element 0 without sizing the vector. Only with ConditionCheck: more entries than the
    // vector holds raise "(High(a)+1) > Length" (complex: "((High(A)+1) div 2) > Length").
    void SetIt(TOpenArray<double> A);
    // As TVecs::SliceIt, with the vector complex and the addresses counting complex elements.
    void SliceIt(int L1, int L2, int L3, int L4, TCplx*& P1, TCplx*& P2, TCplx*& P3, TCplx*& P4);
    // ---- Sorting, statistics, norms and dot products ------------------------------------------------------
    using TVecs::DotProd;
    using TVecs::Max;
    using TVecs::Mean;
    using TVecs::Min;
    using TVecs::NormC;
    using TVecs::NormL1;
    using TVecs::NormL2;
    using TVecs::Product;
    using TVecs::RMS;
    using TVecs::SortAscend;
    using TVecs::SortDescend;
    using TVecs::StdDev;
    using TVecs::Sum;
    // The range sorts with the permutation: the checks ("Index + Len > Length", "Self = IndexVec") come first,
    // then Len <= 0 or Index < 0 leaves IndexVec real and empty. Otherwise IndexVec becomes real with Length Len,
    // entry k starting as Index + k and moving with the element at Index + k: afterwards it holds the position the
    // element now at Index + k had before.
    TVec0& SortAscend(int Index, int Len, TVecs& IndexVec);
    TVec0& SortDescend(int Index, int Len, TVecs& IndexVec);
    // Result := the complex mean of the whole vector (TVec1.Mean with 0, Length).
    void Mean(TCplx& Result) const;
    // Result := the complex sum; a real vector raises "Complex = False".
    void Sum(TCplx& Result) const;
    // Result := the product of a real vector; 1 when empty; a complex one raises "Complex = True".
    void Product(double& Result) const;
    // The extreme of Self[Index .. Index+Len-1] of a real vector and its position in the whole vector; Len 0 gives
    // NAN and −1. "Complex = True", "(Len <= 0) or (Index < 0)", "Len+Index > Length".
    void Max(double& AMax, int& AIndex, int Index, int Len) const;
    void Min(double& AMin, int& AIndex, int Index, int Len) const;
    // sqrt(Σ x² / Len) over the range of a real vector; NAN for Len 0.
    double RMS(int Index, int Len) const;
    // StdDev over the range (divided by Len − 1); NAN when the vector is empty.
    double StdDev(double AMean, int Index, int Len) const;
    // The norms of Self; NAN when empty.
    double NormC() const;
    double NormL1() const;
    double NormL2() const;
    // The real dot product over the shorter length; NAN over no elements; both real ("Vec.Complex or
    // Self.Complex").
    double DotProd(const TVecs& Vec) const;

    // ---- Vectors from matrix rows, columns and diagonals (vec_rows.cpp) ------------------------------------
    using TVecs::GetCol;
    using TVecs::GetRow;
    // Self := row Row (Cols elements): "Row < 0", "Mtx.Rows*Mtx.Cols = 0", "Row > Mtx.Rows-1".
    TVec0& GetRow(const TMtx1& Mtx, int Row);
    // Self := column Col (Rows elements): "Col < 0", "Mtx.Rows*Mtx.Cols = 0", "Col > Mtx.Cols-1".
    TVec0& GetCol(const TMtx1& Mtx, int Col);

    // ---- Searches (vec_find.cpp) ----------------------------------------------------------------------------
    using TVecs::Find;
    // The first element equal to Value with the rule of Find (Double), tested on whole elements; a real Self raises
    // "not Complex".
    int Find(const TCplx& Value) const;

    // ---- Trigonometric and hyperbolic functions (vec_trig.cpp) ---------------------------------------------
    using TVecs::ArcCos;
    using TVecs::ArcCosh;
    using TVecs::ArcCot;
    using TVecs::ArcCoth;
    using TVecs::ArcCsc;
    using TVecs::ArcCsch;
    using TVecs::ArcSec;
    using TVecs::ArcSech;
    using TVecs::ArcSin;
    using TVecs::ArcSinh;
    using TVecs::ArcTan;
    using TVecs::ArcTanh;
    using TVecs::Cos;
    using TVecs::Cosh;
    using TVecs::Cot;
    using TVecs::Coth;
    using TVecs::Csc;
    using TVecs::Csch;
    using TVecs::Sec;
    using TVecs::Sech;
    using TVecs::Sin;
    using TVecs::Sinh;
    using TVecs::Tan;
    using TVecs::Tanh;
    // In place.
    TVec0& Sin();
    TVec0& Cos();
    TVec0& Tan();
    TVec0& ArcSin();
    TVec0& ArcCos();
    TVec0& ArcTan();
    TVec0& Sinh();
    TVec0& Cosh();
    TVec0& Tanh();
    TVec0& ArcCosh();
    TVec0& ArcTanh();
    // In place on Self[Index .. Index+Len-1], Len = -1 the whole vector: "(Len <= 0) or (Index < 0)" for negative
    // arguments, then "(Index + Len) > FLength" (both always).
    TVec0& ArcSinh(int Index, int Len);
    TVec0& Cot(int Index, int Len);
    TVec0& Coth(int Index, int Len);
    TVec0& Csc(int Index, int Len);
    TVec0& Csch(int Index, int Len);
    TVec0& Sec(int Index, int Len);
    TVec0& Sech(int Index, int Len);
    TVec0& ArcCot(int Index, int Len);
    TVec0& ArcCoth(int Index, int Len);
    TVec0& ArcCsc(int Index, int Len);
    TVec0& ArcCsch(int Index, int Len);
    TVec0& ArcSec(int Index, int Len);
    TVec0& ArcSech(int Index, int Len);

    // ---- Exponentials, logarithms and powers (vec_exp.cpp) ------------------------------------------------
    using TVecs::Exp;
    using TVecs::Exp10;
    using TVecs::Exp2;
    using TVecs::IntPower;
    using TVecs::Ln;
    using TVecs::Log10;
    using TVecs::Log2;
    using TVecs::LogN;
    using TVecs::Power;
    // In place on Self[Index .. Index+Len-1]: "(Len <= 0) or (Index < 0)" for negative arguments (always), then
    // "Index + Len) > Length" (Exp) or "(Index + Len) > Length" (Ln).
    TVec0& Exp(int Index, int Len);
    TVec0& Ln(int Index, int Len);
    TVec0& Log10();
    TVec0& LogN(double N);
    // f(Self, Index, Index, Len): in place on a range, Len = -1 the whole vector.
    TVec0& Log2(int Index, int Len);
    TVec0& Exp2(int Index, int Len);
    TVec0& Exp10(int Index, int Len);
    // In place. A complex Self with |Exponent| > 4 takes the polar method, otherwise complex products; a negative
    // Exponent on complex data thresholds the reciprocal at the square root of 5.56268464626801E-309.
    TVec0& IntPower(int Exponent);
    // Self := exp(Exponent·ln Base) of a complex Base ("Base.Complex = false" for a real one).
    TVec0& Power(const TVecs& Base, const TCplx& Exponent);

    // ---- Fills, ramps and rounding (vec_fill.cpp) -------------------------------------------------------------
    using TVecs::Frac;
    using TVecs::Ramp;
    using TVecs::Round;
    using TVecs::SetCplx;
    using TVecs::SetVal;
    using TVecs::Trunc;
    // Every element := Value (a real vector takes Value.Re).
    TVec0& SetVal(const TCplx& Value);
    // Self[Index + k] := A[k]; Self must be complex ("not Complex") and is not resized.
    TVec0& SetCplx(int Index, TOpenArray<TCplx> A);
    // Self[Index + k] := Offset + Step·k for k < Len (complex: Im = 0).
    TVec0& Ramp(double Offset, double Step, int Index, int Len);
    // In place.
    TVec0& Round();
    TVec0& Trunc();
    // Frac(Self, Index, Index, Len), in place.
    TVec0& Frac(int Index, int Len);

    // ---- Text and grid exchange (vec_text.cpp) ----------------------------------------------------------------
    using TVecs::StringsToValues;
    using TVecs::ValuesToStrings;
    // Element Index + k as line ListIndex + k (k < Len): the line is replaced where it exists, else appended.
    // Always: "(ListIndex < 0) or (Index < 0) or (Len < 0)", "Index + Len > fLength".
    void ValuesToStrings(TStrings& Strings, int ListIndex, int Index, int Len, std::string_view ReFormat = "",
                         std::string_view ImFormat = "") const;
    // Length := the number of lines, then every line: StringsToValues (Strings, 0, 0, Length). The lines are read
    // before the vector changes.
    TVec0& StringsToValues(const TStrings& Strings);

    // ---- Resampling and pixel down-sampling on ranges (vec_signal.cpp, pixel_downsample.cpp) ----------------
    using TVecs::DownSample;
    using TVecs::PixelDownSample;
    using TVecs::UpSample;
    // Self[Index ..] := Len div Factor elements Src[SrcIndex + Phase + i·Factor]; Self takes Src's kind and is not
    // resized. Phase must be 0 .. Factor − 2.
    TVec0& DownSample(const TVecs& Src, int Factor, int SrcIndex, int Index, int Len, int Phase);
    // Self[Index .. Index + Len·Factor − 1] := Src[SrcIndex .. SrcIndex + Len − 1] up-sampled; Factor <= 1 does
    // nothing.
    TVec0& UpSample(const TVecs& Src, int Factor, int SrcIndex, int Index, int Len, int Phase);
    // The whole of Src.
    void PixelDownSample(int Width, const TVecs& Src, const TVecs* X, TVecs* NX, bool Equidistant);
    // Unequally spaced samples at positions X: P/2 bins of equal width over X[Index] .. X[Index+Len-1].
    void PixelDownSample1(int Width, const TVecs& Src, int Index, int Len, const TVecs* X, TVecs* NX);
};

class TVec1 : public TVec0 {
public:
    using TVec0::SetIt;
    using TVecs::Resize;

    // ---- Element-wise: sums, data movement, complex parts -----------------------------------------------------
    using TVec0::Add;
    using TVec0::Split;
    using TVecs::Copy;
    using TVecs::Mag;
    // Self[Index + i] := Vec1[Vec1Index + i] + Vec2[Vec2Index + i] for i < Len.
    TVec1& Add(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len);
    // Self := Vec1 followed by Vec2.
    TVec1& Copy(const TVecs& Vec1, const TVecs& Vec2);
    // Pieces of DstSize[i] elements into Dst[i] (a nil destination skips its piece).
    void Split(TOpenArray<TVecs*> Dst, TOpenArray<int> DstSize) const;
    TVec1& Mag(const TVecs& Vec, int VecIndex, int Index, int Len);

    // ---- Arithmetic on two operands (vec_arith.cpp) -------------------------------------------------------
    using TVec0::ConjMul;
    using TVec0::Difference;
    using TVec0::Divide;
    using TVec0::DivideVec;
    using TVec0::Mul;
    using TVec0::Normalize;
    using TVec0::Sub;
    // Self[Index + i] := Vec1[Vec1Index + i] ∘ Vec2[Vec2Index + i] for i < Len.
    TVec1& Sub(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len);
    TVec1& Mul(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len);
    TVec1& Divide(const TVecs& Vec1, const TVecs& Vec2, double Threshold, int Vec1Index, int Vec2Index, int Index,
                  int Len);
    // Self[Index + i] := Vec1[Vec1Index + i]·conj(Vec2[Vec2Index + i]); every check runs before Self changes.
    TVec1& ConjMul(const TVecs& Vec1, const TVecs& Vec2, int Vec1Index, int Vec2Index, int Index, int Len);
    // Self := Self/Vec (as TVec0::DivideVec).
    TVec1& DivideVec(const TVecs& Vec);
    // Self := the Len - 1 differences of Vec[VecIndex .. VecIndex+Len-1], of Vec's kind.
    TVec1& Difference(const TVecs& Vec, int VecIndex, int Len);
    // Self := (Vec + A)·B, complex; Vec must be complex ("Vec.Complex <> True").
    TVec1& Normalize(const TVecs& Vec, const TCplx& A, const TCplx& B);

    // ---- Arithmetic on one operand (vec_unary.cpp) --------------------------------------------------------
    using TVec0::Cbrt;
    using TVec0::Offset;
    using TVec0::Scale;
    using TVecs::Abs;
    using TVecs::Inv;
    using TVecs::InvCbrt;
    using TVecs::InvSqrt;
    using TVecs::Sqr;
    using TVecs::Sqrt;
    using TVecs::ThreshBottom;
    using TVecs::ThreshTop;
    // On Self[Index .. Index+Len-1]; Len = 0 returns before any check. Complex elements get Value + 0i.
    TVec1& Scale(double Factor, int Index, int Len);
    TVec1& Offset(double Value, int Index, int Len);
    // Self[Index + i] := f(Vec[VecIndex + i]) for i < Len.
    TVec1& Inv(const TVecs& Vec, double Threshold, int VecIndex, int Index, int Len);
    TVec1& Sqr(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec1& Sqrt(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec1& InvSqrt(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec1& Cbrt(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec1& InvCbrt(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Self must be real; a complex Vec gives its magnitudes.
    TVec1& Abs(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec1& ThreshBottom(const TVecs& Vec, double Value, int VecIndex, int Index, int Len);
    TVec1& ThreshTop(const TVecs& Vec, double Value, int VecIndex, int Index, int Len);

    using TVec0::SetSubIndex;
    using TVecs::SetSubRange;
    // Views [Index, Index+Len) of Src's data as it is now (a view of a view starts at that view's start), in
    // elements of this vector's kind. Index 0 with Len = Length on the vector itself does nothing. Bound
    // messages: "(Index + Len) > Src.Length", "(Index + Len) > (Src.Length div 2)" (this complex, Src real),
    // "(Index + Len) > (Src.Length*2)" (this real, Src complex).
    void SetSubRange(const TVecs& Src, int Index, int Len);
    // SetSubRange(Src, StartIndex, StopIndex - StartIndex + 1).
    void SetSubIndex(const TVecs& Src, int StartIndex, int StopIndex);
    // Copies the array into the vector from element Index on, without sizing it.
    void SetIt(int Index, TOpenArray<double> A);
    void SetDouble(int Index, TOpenArray<double> A);
    void SetSingle(int Index, TOpenArray<float> A);
    void SetInteger(int Index, TOpenArray<int> A);
    // Size(Len, Src.Complex) and the first min(Src.Length, Len) elements of Src; with ZeroIt the elements from
    // Src.Length up to Len-1 are zero.
    void Resize(const TVecs& Src, int Len, bool ZeroIt = false);

    // ---- Vector FFT (vec_fft.cpp) -------------------------------------------------------------------------
    using TVec0::FFT;
    using TVec0::FFTReal;
    using TVec0::IFFT;
    using TVec0::IFFTReal;
    using TVec0::IRealFFT;
    // Len elements of Vec from VecIndex transformed into Self from Index; Self is not resized. A Len that is not
    // a power of two is refused only with ConditionCheck ("Len is not power of two!" / "Len must be power of
    // two!"); without it the first 2^floor(log2 Len) elements are transformed. Every other check always runs.
    // FFT: complex Self; a complex Vec gives Len complex elements, a real Vec the Len/2 + 1 packed bins.
    TVec1& FFT(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec1& IFFT(const TVecs& Vec, int VecIndex, int Index, int Len, bool NoScale = false);
    // Len + 1 packed bins of a complex Vec into 2·Len reals of a real Self.
    TVec1& IRealFFT(const TVecs& Vec, int VecIndex, int Index, int Len, bool NoScale = false);
    TVec1& FFTReal(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Len reals of a real Vec into Len/2 + 1 packed bins of a complex Self.
    TVec1& IFFTReal(const TVecs& Vec, int VecIndex, int Index, int Len, bool NoScale = false);

    // ---- Sorting, statistics, norms and dot products ------------------------------------------------------
    using TVec0::Max;
    using TVec0::Mean;
    using TVec0::Min;
    using TVec0::Product;
    using TVec0::RMS;
    using TVec0::SortAscend;
    using TVec0::SortDescend;
    using TVec0::StdDev;
    using TVec0::Sum;
    // The whole vector: SortAscend (0, Length).
    TVec1& SortAscend();
    TVec1& SortDescend();
    // Result := the complex mean of Self[Index .. Index+Len-1]: 0 + 0i first, and so for Len < 1 or Index < 0;
    // "Index + Len > Length", "Complex = False".
    void Mean(TCplx& Result, int Index, int Len) const;
    // Result := the complex sum of the range: "(Len <= 0) or (Index < 0)" for negative arguments, "Index+Len >
    // Length", "Complex = False"; 0 + 0i for Len 0.
    void Sum(TCplx& Result, int Index, int Len) const;
    // Result := the product of the range of a real vector: 0 first, and so for Len 0.
    void Product(double& Result, int Index, int Len) const;
    // The greatest or least element of the range in the complex order and its position Index + k (the first of
    // equal elements); Len 0 gives CNAN and returns 0. "Complex = False", "Len+Index > Length".
    int Max(TCplx& AMax, int Index, int Len) const;
    int Min(TCplx& AMin, int Index, int Len) const;
    // Result := sqrt(Σ |z|² / Len) + 0i over the range of a complex vector; CNAN when the vector is empty or Len
    // is 0.
    void RMS(TCplx& Result, int Index, int Len) const;
    // sqrt(sRe² + sIm²) of the standard deviations of the parts about AMean's parts; 0 when empty; complex only
    // ("Complex = False").
    double StdDev(const TCplx& AMean) const;

    // ---- Vectors from matrix rows, columns and diagonals (vec_rows.cpp) ------------------------------------
    using TVec0::GetCol;
    using TVec0::GetRow;
    // Self[Index .. Index+Len-1] := row Row from column Col; Self is not resized and Len = 0 returns before any
    // check. "Mtx.Rows*Mtx.Cols = 0", "Row > (Mtx.Rows-1)", "(Col + Len) > Mtx.Cols", "(Index + len) > Length",
    // "Complex <> Mtx.Complex".
    TVec1& GetRow(const TMtx1& Mtx, int Row, int Col, int Index, int Len);
    // Self[Index + k] := element (Row + k, Col) for k < Len; Self is not resized and Len = 0 returns before any
    // check. "Mtx.Rows*Mtx.Cols = 0", "(Row + Len) > Mtx.Rows ", "Col > (Mtx.Cols-1)", "Index + Len > Length",
    // "Complex <> Mtx.Complex".
    TVec1& GetCol(const TMtx1& Mtx, int Row, int Col, int Index, int Len);

    // ---- Searches (vec_find.cpp) ----------------------------------------------------------------------------
    using TVecs::FindAndGather;
    using TVecs::FindIndexes;
    // The searches against one value, over all of a.
    void FindIndexes(const TVecs& a, const std::string& Op, double Value);
    void FindAndGather(const TVecs& a, const std::string& Op, double Value, TVecs* Indexes = nullptr);

    // ---- Trigonometric and hyperbolic functions (vec_trig.cpp) ---------------------------------------------
    using TVec0::Cos;
    using TVec0::Sin;
    // Self[Index + k] := f(X[XIndex + k]) for k < Len. Checks in order, all always: "(Index < 0) or (XIndex < 0)",
    // "Len < 0", "XIndex + Len) > X.Length", "(Index + Len) > Length", "Complex <> X.Complex".
    TVec1& Sin(const TVecs& X, int XIndex, int Index, int Len);
    TVec1& Cos(const TVecs& X, int XIndex, int Index, int Len);

    // ---- Exponentials, logarithms and powers (vec_exp.cpp) ------------------------------------------------
    using TVec0::Exp;
    using TVec0::Ln;
    using TVec0::Log10;
    using TVec0::LogN;
    using TVec0::Power;
    // Self[Index + k] := f(Vec[VecIndex + k]) for k < Len, the usual range checks.
    TVec1& Exp(const TVecs& Vec, int VecIndex, int Index, int Len);
    TVec1& Ln(const TVecs& Vec, int VecIndex, int Index, int Len);
    // "Self = X" always, then the usual range checks.
    TVec1& Log10(const TVecs& X, int XIndex, int Index, int Len);
    // In place on Self[Index .. Index+Len-1], the checks of Ln (Index, Len); "N = 0".
    TVec1& LogN(double N, int Index, int Len);
    // In place: exp(Exponent·ln Self).
    TVec1& Power(double Exponent);

    // ---- Fills, ramps and rounding (vec_fill.cpp) -------------------------------------------------------------
    using TVec0::Ramp;
    using TVec0::Round;
    using TVec0::SetVal;
    using TVec0::Trunc;
    // Self[Index .. Index+Len-1] := Value (complex: Value + 0i); nothing at all for Len <= 0 or Index < 0.
    TVec1& SetVal(double Value, int Index, int Len);
    // Element k := Offset + Step·k (complex: Im = 0), each computed from k, never accumulated.
    TVec1& Ramp(double Offset, double Step);
    // Dst := the values rounded (ties to even) or truncated to 32-bit integers, saturated at the ends of the
    // range, NaN giving 0. Dst holds one integer per Double: Length entries, 2·Length (Re, Im) for complex data.
    TVec1& Round(TIntArray& Dst);
    TVec1& Trunc(TIntArray& Dst);

    // ---- Text and grid exchange (vec_text.cpp) ----------------------------------------------------------------
    using TVecs::GridToValues;
    using TVecs::ValuesToGrid;
    // Elements Index .. Index+Len-1 into the cells of a grid, FormatSample (x, FloatFormat) for each number. Vertical:
    // element Index + k in row DstRow + k, its real part in column DstCol and its imaginary part in DstCol + 1.
    // Horizontal: in row DstRow, column DstCol + k, or columns DstCol + 2k and DstCol + 2k + 1. With Headers the
    // row and column in front are headers and the values move one row and column on: vertically the element numbers
    // k and "0" ("0-Re", "0-Im"), horizontally "0" and k (complex: Index + k followed by "-Re" and "-Im"). Always, in
    // this order: "(DstRow < 0) or (DstCol < 0) or (Index < 0) or (Len < 0)"; the grid too narrow or too short for
    // the cells written, "(Dst.ColCount) < (2+Integer(FComplex))" and "(Dst.RowCount+1) < (DstRow+Len)" (vertical),
    // "(Dst.ColCount+1) < fLength" and "(Dst.RowCount+1) < (2+Integer(FComplex)" (horizontal); "(Index+Len) >
    // Length". No cell is written when a check fails.
    void ValuesToGrid(TCellGrid& Dst, int DstRow, int DstCol, int Index, int Len, std::string_view FloatFormat,
                      bool Headers, bool Vertical) const;
    // Elements Index .. Index+Len-1 from the cells (StrToSample): vertically element k from row SrcRow + k, columns
    // SrcCol (and SrcCol + 1 for its imaginary part); horizontally the numbers of row SrcRow from column SrcCol on.
    // IsComplex makes a real vector complex; real values in a complex vector get zero imaginary parts. Always:
    // "(SrcRow < 0) or (SrcCol < 0) or (Index < 0) or (Len < 0)", "(Index + Len) > fLength". With ConditionCheck
    // the grid's extent: "((SrcRow + Len) > Src.RowCount) and Vertical", "(SrcCol+(Byte(IsComplex)+1)) >
    // Src.ColCount", or "(SrcRow+1) > Src.RowCount", "((SrcCol + Len) > Src.ColCount) and not Vertical" (without
    // it, a cell outside raises the grid's error). Every cell is read before the vector changes.
    TVec1& GridToValues(const TCellGrid& Src, int SrcRow, int SrcCol, int Index, int Len, bool IsComplex,
                        bool Vertical);

    // ---- Random fills (vec_random.cpp) ----------------------------------------------------------------------
    using TVecs::RandGauss;
    using TVecs::RandUniform;
    // Uniform in [0, 1) or standard normal from a random seed the first time (or after ResetRand), otherwise
    // continuing with the generator's parameters.
    TVec1& RandUniform();
    TVec1& RandGauss();
};

class TVec : public TVec1 {
public:
    // ---- Element-wise: sums, data movement, complex parts -----------------------------------------------------
    using TVec1::Add;
    using TVec1::Conj;
    using TVec1::Copy;
    using TVec1::Expj;
    using TVec1::ExtendToComplex;
    using TVec1::Reverse;
    // Self := Vec1 + Vec2, sized like Vec1.
    TVec& Add(const TVecs& Vec1, const TVecs& Vec2);
    // Self[Index + i] := Vec[VecIndex + i] for i < Len; nothing is resized.
    TVec& Copy(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Self[Index + i] := element Row·Mtx.Cols + Col + i of the matrix (row by row) for i < Len.
    TVec& CopyMtx(const TMtx1& Mtx, int Index, int Row, int Col, int Len);
    // Self := Vec reversed.
    TVec& Reverse(const TVecs& Vec);
    // Self := conj(Vec), sized like Vec.
    TVec& Conj(const TVecs& Vec);
    // Self := Src widened to complex (x + i·x, or x + 0i with Zeros).
    TVec& ExtendToComplex(const TVecs& Src, bool Zeros);
    // Self := e^(i·Self), in place.
    TVec& Expj();

    // ---- Arithmetic on two operands (vec_arith.cpp) -------------------------------------------------------
    using TVec1::ConjMul;
    using TVec1::Divide;
    using TVec1::DivideVec;
    using TVec1::Mul;
    using TVec1::Sub;
    // Self := Vec1 ∘ Vec2, sized like Vec1 (ConjMul: like Vec2).
    TVec& Sub(const TVecs& Vec1, const TVecs& Vec2);
    TVec& Mul(const TVecs& Vec1, const TVecs& Vec2);
    TVec& Divide(const TVecs& Vec1, const TVecs& Vec2, double Threshold);
    TVec& ConjMul(const TVecs& Vec1, const TVecs& Vec2);
    // Self[Index + i] := Self[Index + i]/Vec[VecIndex + i] for i < Len (as TVec0::DivideVec).
    TVec& DivideVec(const TVecs& Vec, int VecIndex, int Index, int Len);

    // ---- Arithmetic on one operand (vec_unary.cpp) --------------------------------------------------------
    using TVec1::Abs;
    using TVec1::Inv;
    using TVec1::InvCbrt;
    using TVec1::InvSqrt;
    using TVec1::Scale;
    using TVec1::Sqr;
    using TVec1::Sqrt;
    using TVec1::ThreshBottom;
    using TVec1::ThreshTop;
    // A real Self refuses a factor with an imaginary part ("TVec.Scale: Not Complex").
    TVec& Scale(const TCplx& Factor);
    // Self := f(Vec), sized like Vec (Abs: real with Vec's Length).
    TVec& Inv(const TVecs& Vec, double Threshold);
    TVec& Sqr(const TVecs& Vec);
    TVec& Sqrt(const TVecs& Vec);
    TVec& InvSqrt(const TVecs& Vec);
    // Complex data: (1/z)^(1/3) through the thresholded reciprocal.
    TVec& InvCbrt(const TVecs& Vec);
    TVec& Abs(const TVecs& Vec);
    TVec& ThreshBottom(const TVecs& Vec, double Value);
    TVec& ThreshTop(const TVecs& Vec, double Value);
    // Result := the complex product of Self[Index .. Index+Len-1]; 0 + 0i for an empty Self or Len = 0.
    void Product(TCplx& Result, int Index, int Len) const;

    using TVec1::SetDouble;
    using TVec1::SetInteger;
    using TVec1::SetIt;
    using TVec1::SetSingle;
    using TVec1::SetSubIndex;
    using TVec1::SetSubRange;
    // Views [Index, Index+Len) of the matrix's data counted row by row; Len < 0 means Rows·Cols. The messages
    // are those of the vector form, with Src.Length standing for Rows·Cols.
    void SetSubRange(const TMtx1& Mtx, int Index = 0, int Len = -1);
    // SetSubRange(Mtx, StartIndex, StopIndex - StartIndex + 1); StopIndex < StartIndex - 1 raises "Len < 0".
    void SetSubIndex(const TMtx1& Mtx, int StartIndex, int StopIndex);
    // The sizing forms of SetIt for Double, Single and Integer arrays.
    void SetDouble(bool AComplex, TOpenArray<double> A);
    void SetSingle(bool AComplex, TOpenArray<float> A);
    void SetInteger(bool AComplex, TOpenArray<int> A);
    // Len elements from element Index on, taken from array entry AIndex on (AIndex counts Doubles).
    void SetIt(int Index, int AIndex, int Len, TOpenArray<double> A);

    // ---- Vector FFT (vec_fft.cpp) -------------------------------------------------------------------------
    using TVec1::FFT;
    using TVec1::FFTReal;
    using TVec1::IFFT;
    using TVec1::IFFTReal;
    using TVec1::IRealFFT;
    // Self := the transform of Vec, sized by it; the order check runs on Vec, before Self changes.
    // FFT: "Self = Vec"; Self complex, Vec.Length elements (a complex Vec) or Vec.Length div 2 (packed).
    TVec& FFT(const TVecs& Vec);
    // Vec complex ("Vec.Complex = False"); Vec = Self transforms in place.
    TVec& IFFT(const TVecs& Vec, bool NoScale = false);
    // Vec complex (packed); Self real of 2·Vec.Length.
    TVec& IRealFFT(const TVecs& Vec, bool NoScale = false);
    TVec& FFTReal(const TVecs& Vec);
    // Vec real; Self complex (packed) of Vec.Length div 2.
    TVec& IFFTReal(const TVecs& Vec, bool NoScale = false);

    // ---- Sorting, statistics, norms and dot products ------------------------------------------------------
    using TVec1::Max;
    using TVec1::Mean;
    using TVec1::Min;
    using TVec1::Product;
    using TVec1::SortAscend;
    using TVec1::SortDescend;
    using TVec1::StdDev;
    using TVec1::Sum;
    // The whole vector with the permutation: SortAscend (0, Length, IndexVec).
    TVec& SortAscend(TVecs& IndexVec);
    TVec& SortDescend(TVecs& IndexVec);
    // Result := the mean of Self[Index .. Index+Len-1] of a real vector: 0 first, and so for Len 0.
    void Mean(double& Result, int Index, int Len) const;
    // Result := the sum of the range of a real vector. Len 0 and, with ConditionCheck on, a negative Index or Len
    // leave Result untouched; then "Index+Len > Length" (always) and "Complex = True" (with ConditionCheck).
    void Sum(double& Result, int Index, int Len) const;
    // The largest or smallest element of a real vector; NAN when empty.
    double Max() const;
    double Min() const;
    // StdDev (AMean) over the range, divided by Len − 1; 0 when the vector is empty.
    double StdDev(const TCplx& AMean, int Index, int Len) const;

    // ---- Vectors from matrix rows, columns and diagonals (vec_rows.cpp) ------------------------------------
    using TVec1::GetCol;
    using TVec1::GetRow;
    using TVecs::CopyMtx;

    // ---- Searches (vec_find.cpp) ----------------------------------------------------------------------------
    using TVec1::FindAndGather;
    using TVec1::FindIndexes;
    void FindIndexes(const TVecs& a, const std::string& Op, const TCplx& Value);
    void FindAndGather(const TVecs& a, const std::string& Op, const TCplx& Value, TVecs* Indexes = nullptr);

    // ---- Trigonometric and hyperbolic functions (vec_trig.cpp) ---------------------------------------------
    using TVec1::Cos;
    using TVec1::Sin;
    // In place on Self[Index .. Index+Len-1]: Sin (Self, Index, Index, Len).
    TVec& Sin(int Index, int Len);
    TVec& Cos(int Index, int Len);

    // ---- Exponentials, logarithms and powers (vec_exp.cpp) ------------------------------------------------
    using TVec1::Exp;
    using TVec1::Ln;
    using TVec1::Log10;
    using TVec1::LogN;
    using TVec1::Power;
    // Self := f(Vec), sized like Vec.
    TVec& Exp(const TVecs& Vec);
    TVec& Ln(const TVecs& Vec);
    // In place on Self[Index .. Index+Len-1], the checks of Ln (Index, Len).
    TVec& Log10(int Index, int Len);
    // Self[Index + k] := logN X[XIndex + k]: "N = 0", "Self = X", then the usual range checks.
    TVec& LogN(double N, const TVecs& X, int XIndex, int Index, int Len);
    // In place: exp(Exponent·ln Self). A real Self refuses an Exponent with an imaginary part
    // ("Base.Complex = false") before anything changes.
    TVec& Power(const TCplx& Exponent);

    // ---- Fills and ramps (vec_fill.cpp), the complex offset -------------------------------------------------
    using TVec1::Offset;
    using TVec1::Ramp;
    using TVec1::SetVal;
    using TVecs::SetZero;
    // Self[Index .. Index+Len-1] := Value (a real vector takes Value.Re); nothing at all for Len <= 0 or Index < 0.
    TVec& SetVal(const TCplx& Value, int Index, int Len);
    // Self[Index .. Index+Len-1] := 0; nothing at all for Len <= 0 or Index < 0.
    TVec& SetZero(int Index, int Len);
    // Element k := Offset + k·Step, part by part; Self must be complex ("not Complex").
    TVec& Ramp(const TCplx& Offset, const TCplx& Step);
    // Adds Value to every element; a real vector refuses an imaginary part ("TVec.Offset: Not Complex").
    TVec& Offset(const TCplx& Value);

    // ---- Random fills (vec_random.cpp) ----------------------------------------------------------------------
    using TVec1::RandGauss;
    using TVec1::RandUniform;
    // Seeded: the same Seed and parameters on a fresh (or reset) generator give the same numbers; repeated with
    // the same arguments the sequence continues.
    TVec& RandUniform(double Seed, double Low, double High);
    TVec& RandGauss(double Seed, double Mean, double StdDev);
};

// Vec.Find (Value) (vec_find.cpp).
int Find(const TVec& Vec, double Value);
int Find(const TVec& Vec, const TCplx& Value);

// Size(Len, AComplex) of every vector given.
void SetVecSize(int Len, bool AComplex, TOpenArray<TVec*> Vecs);

// ---- Sorting, statistics, norms and dot products: the unit functions, forwarding to the members --------------
double Mean(const TVec& Vec);
double Mean(const TVec& Vec, int Index, int Len);
double Sum(const TVec& Vec);
double Max(const TVec& Vec);
double Min(const TVec& Vec);
double RMS(const TVec& Vec);
// The worker behind every RMS: sqrt(Σ x² / Len) of real data, sqrt(Σ |z|² / Len) of complex data, over
// Vec[Index .. Index+Len-1]; NAN for an empty Vec; "(Len <= 0) or (Index < 0)", "Index+Len > Vec.Length".
double RMS(const TVecs& Vec, int Index, int Len);
double StdDev(const TVec& Vec, double AMean);
double StdDev(const TVec& Vec, const TCplx& AMean);
double Skewness(const TVec& Vec, double AMean, double AStdDev);
double Kurtosis(const TVec& Vec, double AMean, double AStdDev);
double Median(const TVec& Vec);
double NormC(const TVec& Vec);
double NormL1(const TVec& Vec);
double NormL2(const TVec& Vec);
double NormC(const TVec& Vec1, const TVecs& Vec2, bool RelativeError);
double NormL1(const TVec& Vec1, const TVecs& Vec2, bool RelativeError);
double NormL2(const TVec& Vec1, const TVecs& Vec2, bool RelativeError);
bool Equal(const TVecs& Vec1, const TVecs& Vec2, double Tolerance);

// Vec.Goertz (vec_signal.cpp).
TCplx Goertz(TVec& Vec);

// True when n is a prime number: n >= 2 and no d with 2 <= d <= sqrt(n) divides it (vec_fill.cpp).
bool Prime(int n);

}  // namespace tarnel
