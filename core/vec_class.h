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
#include <initializer_list>
#include <span>
#include <string>
#include <utility>

#include "core/Dovi387.h"
#include "core/LinAlgTypes.h"

namespace tarnel {

class TVecs;
class TVec;
class TMtx1;
class TMtx;

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
    void SetIt(bool AComplex, std::span<const double> A);

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

    // ---- Data movement (vec_move.cpp) -----------------------------------------------------------------------
    // Self sized like Vec and its values copied; Vec = Self changes nothing.
    void Copy(const TVecs& Vec);
    TVecs& Reverse();
    // Element k moves to (k + Offset) mod Length: a positive Offset rotates toward the end.
    TVecs& Rotate(int Offset);
    // The sources one after the other into Self from element Index on; Self is not resized.
    TVecs& Concat(int Index, std::span<const TVecs* const> Src);
    TVecs& Concat(int Index, std::initializer_list<const TVecs*> Src);
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

    // ---- The owned block ----------------------------------------------------------------------------------
    // Byte size of the owned block (0 when none) and its address as allocated.
    std::int64_t AllocatedSize() const { return FAllocatedSize; }
    const void* AllocatedBlock() const { return FBlockStart; }

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
    void SetFromArray(bool AComplex, std::span<const Src> A);
    template <class Src>
    void SetAtIndex(int Index, std::span<const Src> A, const char* RealMessage);

    // Fields, in the order of the class's data model.
    std::int64_t FAllocatedSize = 0;
    bool FSavedConditionCheck = false;
    int FFFTOrder = 0;
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
    TRandParams FRandParams;
    std::string FCaption;
    TVecNotifyEvent FOnSetLength;
    bool FIsSubRange = false;
    int FTag = 0;
    bool FBlockEnd = true;
    bool FConditionCheck = true;
    int FLength = 0;
    bool FComplex = false;
    bool FNotPowerOfTwo = true;
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

    // ---- Data movement ------------------------------------------------------------------------------------
    using TVecs::Concat;
    using TVecs::Reverse;
    using TVecs::Split;
    // Self[Index + k] := Vec[VecIndex + Len - 1 - k] for k < Len.
    TVec0& Reverse(const TVecs& Vec, int VecIndex, int Index, int Len);
    // Self := the sources one after the other, with Src[0]'s kind; no sources give an empty real vector.
    TVec0& Concat(std::span<const TVecs* const> Src);
    TVec0& Concat(std::initializer_list<const TVecs*> Src);
    // Consecutive pieces of Self into the destinations, each as long as the destination (in Self's kind).
    TVec0& Split(std::span<TVecs* const> Dst);
    TVec0& Split(std::initializer_list<TVecs*> Dst);

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
    void SetIt(std::span<const double> A);
    // As TVecs::SliceIt, with the vector complex and the addresses counting complex elements.
    void SliceIt(int L1, int L2, int L3, int L4, TCplx*& P1, TCplx*& P2, TCplx*& P3, TCplx*& P4);
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
    void Split(std::span<TVecs* const> Dst, std::span<const int> DstSize) const;
    void Split(std::initializer_list<TVecs*> Dst, std::initializer_list<int> DstSize) const;
    TVec1& Mag(const TVecs& Vec, int VecIndex, int Index, int Len);

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
    void SetIt(int Index, std::span<const double> A);
    void SetDouble(int Index, std::span<const double> A);
    void SetSingle(int Index, std::span<const float> A);
    void SetInteger(int Index, std::span<const int> A);
    // Size(Len, Src.Complex) and the first min(Src.Length, Len) elements of Src; with ZeroIt the elements from
    // Src.Length up to Len-1 are zero.
    void Resize(const TVecs& Src, int Len, bool ZeroIt = false);
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
    void SetDouble(bool AComplex, std::span<const double> A);
    void SetSingle(bool AComplex, std::span<const float> A);
    void SetInteger(bool AComplex, std::span<const int> A);
    // Len elements from element Index on, taken from array entry AIndex on (AIndex counts Doubles).
    void SetIt(int Index, int AIndex, int Len, std::span<const double> A);
};

// Size(Len, AComplex) of every vector given.
void SetVecSize(int Len, bool AComplex, std::span<TVec* const> Vecs);
void SetVecSize(int Len, bool AComplex, std::initializer_list<TVec*> Vecs);

}  // namespace tarnel
