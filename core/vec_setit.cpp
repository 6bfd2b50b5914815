// TVecs and its levels: element accessors, copying in from arrays (the SetIt family), slices, Assign, Shift and
// the condition-check pair.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "core/elementwise.h"
#include "core/messages.h"
#include "core/pool.h"
#include "core/vec_class.h"

namespace tarnel {

// ---- First and last elements ----------------------------------------------------------------------------------

double TVecs::FirstSample() const
{
    if (FLength == 0) ERaise(msg::kFirstSampleEmpty);
    return FValues[0];
}

double TVecs::LastSample() const
{
    if (FLength == 0) ERaise(msg::kLastSampleEmpty);
    return FValues[FLength - 1];
}

TCplx TVecs::FirstCplx() const
{
    if (!FComplex) ERaise(msg::kNotComplex);
    if (FLength == 0) ERaise(msg::kFirstCplxEmpty);
    return CValues()[0];
}

TCplx TVecs::LastCplx() const
{
    if (!FComplex) ERaise(msg::kNotComplex);
    if (FLength == 0) ERaise(msg::kLastCplxEmpty);
    return CValues()[FLength - 1];
}

// ---- Copying in ---------------------------------------------------------------------------------------------

template <class Src>
void TVecs::CopyIn(std::int64_t Offset, const Src* A, std::int64_t Count)
{
    if (Count <= 0) return;
    if constexpr (std::is_same_v<Src, double>) {
        std::memcpy(FValues + Offset, A, static_cast<std::size_t>(Count) * sizeof(double));
    } else {
        for (std::int64_t i = 0; i < Count; ++i) FValues[Offset + i] = static_cast<double>(A[i]);
    }
}

template <class Src>
void TVecs::SetFromArray(bool AComplex, TOpenArray<Src> A)
{
    const std::int64_t n = static_cast<std::int64_t>(A.size());
    if (AComplex && n % 2 != 0) ERaise(msg::kOddEntries);
    if (n > INT_MAX) ERaise(msg::kLengthTooLarge);
    const int len = static_cast<int>(AComplex ? n / 2 : n);
    Size(len, AComplex);
    CopyIn(0, A.data(), n);
}

// The Index forms of TVec1: the array goes to element Index on; both bounds are always checked.
template <class Src>
void TVecs::SetAtIndex(int Index, TOpenArray<Src> A, const char* RealMessage)
{
    const std::int64_t n = static_cast<std::int64_t>(A.size());
    if (Index < 0) ERaise(msg::kNegIndex);
    if (FComplex) {
        if (n % 2 != 0) ERaise(msg::kOddEntries);
        if (Index + n / 2 > FLength) ERaise(msg::kHighAHalf);
        CopyIn(2 * static_cast<std::int64_t>(Index), A.data(), n);
    } else {
        if (Index + n > FLength) ERaise(RealMessage);
        CopyIn(Index, A.data(), n);
    }
}

void TVecs::SetIt(bool AComplex, TOpenArray<double> A)
{
    SetFromArray(AComplex, A);
}

void TVec0::SetIt(TOpenArray<double> A)
{
    const std::int64_t n = static_cast<std::int64_t>(A.size());
    if (FComplex && n % 2 != 0) ERaise(msg::kOddEntries);
    // Only the check against Length depends on ConditionCheck; the memory the vector may address always bounds
    // the copy.
    const std::int64_t limit = FConditionCheck ? FLength : RoomElements();
    if (FComplex) {
        if (n / 2 > limit) ERaise(msg::kHighAHalf);
    } else {
        if (n > limit) ERaise(msg::kHighA);
    }
    CopyIn(0, A.data(), n);
}

void TVec1::SetIt(int Index, TOpenArray<double> A)
{
    SetAtIndex(Index, A, msg::kHighA);
}

void TVec1::SetDouble(int Index, TOpenArray<double> A)
{
    SetAtIndex(Index, A, msg::kHighA);
}

void TVec1::SetSingle(int Index, TOpenArray<float> A)
{
    SetAtIndex(Index, A, msg::kHighAIndex);
}

void TVec1::SetInteger(int Index, TOpenArray<int> A)
{
    SetAtIndex(Index, A, msg::kHighAIndex);
}

void TVec::SetDouble(bool AComplex, TOpenArray<double> A)
{
    SetFromArray(AComplex, A);
}

void TVec::SetSingle(bool AComplex, TOpenArray<float> A)
{
    SetFromArray(AComplex, A);
}

void TVec::SetInteger(bool AComplex, TOpenArray<int> A)
{
    SetFromArray(AComplex, A);
}

void TVec::SetIt(int Index, int AIndex, int Len, TOpenArray<double> A)
{
    if (Index < 0) ERaise(msg::kNegIndex);
    if (AIndex < 0) ERaise(msg::kNegAIndex);
    if (Len < 0) ERaise(msg::kNegLen);
    const std::int64_t n = static_cast<std::int64_t>(A.size());
    if (static_cast<std::int64_t>(Len) + Index > FLength) ERaise(msg::kLenIndexLength);
    const std::int64_t entries = FComplex ? 2 * static_cast<std::int64_t>(Len) : Len;
    if (entries + AIndex > n) ERaise(msg::kLenAIndex);
    CopyIn(FComplex ? 2 * static_cast<std::int64_t>(Index) : Index, A.data() + AIndex, entries);
}

// ---- Slices -------------------------------------------------------------------------------------------------

namespace {

int SliceTotal(int L1, int L2, int L3, int L4)
{
    if (L1 < 0 || L2 < 0 || L3 < 0 || L4 < 0) ERaise(msg::kSliceLen);
    const std::int64_t total = static_cast<std::int64_t>(L1) + L2 + L3 + L4;
    if (total > INT_MAX) ERaise(msg::kLengthTooLarge);
    return static_cast<int>(total);
}

}  // namespace

void TVecs::SliceIt(int L1, int L2, int L3, int L4, double*& P1, double*& P2, double*& P3, double*& P4)
{
    Size(SliceTotal(L1, L2, L3, L4), false);
    P1 = FValues;
    P2 = P1 + L1;
    P3 = P2 + L2;
    P4 = P3 + L3;
}

void TVec0::SliceIt(int L1, int L2, int L3, int L4, TCplx*& P1, TCplx*& P2, TCplx*& P3, TCplx*& P4)
{
    Size(SliceTotal(L1, L2, L3, L4), true);
    P1 = CValues();
    P2 = P1 + L1;
    P3 = P2 + L2;
    P4 = P3 + L3;
}

// ---- Other whole-vector operations ----------------------------------------------------------------------------

void TVecs::Assign(const TVecs& Vec)
{
    const bool copyData = TarnelAssignCopyData && &Vec != this;
    if (copyData) CheckSize(Vec.FLength, Vec.FComplex);
    FConditionCheck = Vec.FConditionCheck;
    FCaption = Vec.FCaption;
    FDirty = Vec.FDirty;
    FTag = Vec.FTag;
    if (!copyData) return;
    // Vec may view this vector's block, which sizing frees: it is read through a held copy then.
    const detail::TStable src(Vec, *this);
    Size(src->FLength, src->FComplex);
    if (FLength > 0) std::memmove(FValues, src->FValues, static_cast<std::size_t>(FLength) * ElementBytes());
}

void TVec1::Resize(const TVecs& Src, int Len, bool ZeroIt)
{
    if (&Src == this) {
        // Sizing first would lose the very values to be kept.
        TVecs::Resize(Len, ZeroIt);
        return;
    }
    CheckSize(Len, Src.Complex());
    // Src may view this vector's block, which sizing frees: it is read through a held copy then.
    const detail::TStable src(Src, *this);
    const int srcLength = src->Length();
    Size(Len, src->Complex());
    const int n = std::min(srcLength, Len);
    if (n > 0) std::memmove(FValues, src->Values(), static_cast<std::size_t>(n) * ElementBytes());
    if (ZeroIt && srcLength < Len) {
        std::memset(reinterpret_cast<std::byte*>(FValues) + static_cast<std::size_t>(srcLength) * ElementBytes(), 0,
                    static_cast<std::size_t>(Len - srcLength) * ElementBytes());
    }
}

void TVecs::CondDisable()
{
    FSavedConditionCheck = FConditionCheck;
    FConditionCheck = false;
}

void TVecs::CondEnable()
{
    FConditionCheck = FSavedConditionCheck;
}

void TVecs::Shift(int Offset)
{
    const std::int64_t distance = Offset < 0 ? -static_cast<std::int64_t>(Offset) : Offset;
    if (FLength == 0 || distance > FLength) return;
    const std::size_t width = ElementBytes();
    const std::size_t moved = static_cast<std::size_t>(FLength - distance) * width;
    std::byte* data = reinterpret_cast<std::byte*>(FValues);
    if (Offset > 0) {
        std::memmove(data + distance * width, data, moved);
    } else {
        std::memmove(data, data + distance * width, moved);
    }
}

void SetVecSize(int Len, bool AComplex, TOpenArray<TVec*> Vecs)
{
    for (TVec* v : Vecs) {
        if (!v) ERaise(msg::kVecNil);
    }
    for (TVec* v : Vecs) v->CheckSize(Len, AComplex);
    for (TVec* v : Vecs) v->Size(Len, AComplex);
}

}  // namespace tarnel
