// TVecs: construction, the storage rule, sizing, the real/complex switch, outside data and reset.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/pool.h"
#include "core/storage_block.h"
#include "core/vec_class.h"

namespace tarnel {

using detail::AllocateZeroed;
using detail::kMaxRealCapacity;

void detail::RaiseIndex(int Index)
{
    ERaise(Index < 0 ? msg::kIndxNeg : msg::kIndxLength);
}

TVecs::TVecs() : FConditionCheck(VecConditionCheckDefault())
{
    FGoertzelState = AllocateZeroed(kGoertzelStateBytes);
    try {
        FGaussState = AllocateZeroed(kGaussStateBytes);
        FUniformState = AllocateZeroed(kUniformStateBytes);
    } catch (...) {
        std::free(FGoertzelState);
        std::free(FGaussState);
        throw;
    }
}

TVecs::~TVecs()
{
    std::free(FGoertzelState);
    std::free(FGaussState);
    std::free(FUniformState);
    std::free(FBlockStart);
}

void TVecs::WriteHeaderCount(int Count)
{
    if (FHeader) std::memcpy(FHeader + 4, &Count, sizeof Count);
}

void TVecs::ReleaseBlock()
{
    std::free(FBlockStart);
    FBlockStart = nullptr;
    FHeader = nullptr;
    FAllocatedSize = 0;
    FActualLength = 0;
    FValues = nullptr;
    FRoom = 0;
    FAdopted = false;
    FViewSaved = false;  // a saved full range would refer to the block just freed
}

void TVecs::FireSetLength()
{
    if (FOnSetLength) FOnSetLength(*this);
}

void TVecs::SetActualLength(int C)
{
    if (C == FActualLength) return;
    if (FIsSubRange) ERaise(msg::kIsSubRange);
    if (C < 0) ERaise(msg::kLengthNeg);
    const std::int64_t capacity = (static_cast<std::int64_t>(C) + 1) / 2 * 2;
    if (capacity > (FComplex ? kMaxRealCapacity / 2 : kMaxRealCapacity)) ERaise(msg::kLengthTooLarge);

    // The new block is allocated before the old one goes, so a failed allocation changes nothing.
    detail::TStorageBlock block;
    std::int64_t bytes = 0;
    if (capacity > 0) {
        const std::int64_t elementBytes = FComplex ? 16 : 8;
        bytes = (capacity + 2) * elementBytes + 40;
        block = detail::AllocateStorage(bytes);
    }
    ReleaseBlock();
    FActualLength = static_cast<int>(capacity);
    if (block.Start) {
        FBlockStart = block.Start;
        FAllocatedSize = bytes;
        FHeader = block.Header;
        const std::int32_t header[2] = {1, FActualLength};
        std::memcpy(FHeader, header, sizeof header);
        FValues = block.Values;
        FRoom = (capacity + 2) * (FComplex ? 2 : 1);
    }
    if (FActualLength < FLength) {
        FLength = FActualLength;
        FNotPowerOfTwo = true;  // a cut length must not keep the cached transform order
        WriteHeaderCount(FLength);
    }
}

int TVecs::RequestedLength(int Len, bool AComplex)
{
    const int minimum = VecCacheElements.load(std::memory_order_relaxed);
    return std::max(Len, AComplex ? minimum / 2 : minimum);
}

void TVecs::ApplyLength(int Len)
{
    FNotPowerOfTwo = true;
    SetActualLength(RequestedLength(Len, FComplex));
    FLength = Len;
    if (FActualLength > 0) WriteHeaderCount(Len);
}

void TVecs::SetLength(int Len)
{
    if (Len == FLength) return;
    if (FIsSubRange) ERaise(msg::kIsSubRange);
    if (Len < 0) ERaise(msg::kLengthNeg);
    ApplyLength(Len);
    FireSetLength();
}

void TVecs::SetComplex(bool B)
{
    if (B == FComplex) return;
    SwitchKind(B);
    FireSetLength();
}

void TVecs::SwitchKind(bool B)
{
    FComplex = B;
    if (B) {
        FLength /= 2;
        FActualLength /= 2;
        --FFFTOrder;
    } else {
        FLength *= 2;
        FActualLength *= 2;
        ++FFFTOrder;
    }
    if (FLength > 0 && !FIsSubRange) WriteHeaderCount(FLength);
}

void TVecs::CheckSize(int Len, bool AComplex) const
{
    int after = FLength;
    if (AComplex != FComplex) after = AComplex ? FLength / 2 : FLength * 2;
    if (Len == after) return;
    if (FIsSubRange) ERaise(msg::kIsSubRange);
    if (Len < 0) ERaise(msg::kLengthNeg);
    // The capacity SetLength would ask for, held to the limit SetActualLength raises at.
    const std::int64_t capacity = (static_cast<std::int64_t>(RequestedLength(Len, AComplex)) + 1) / 2 * 2;
    if (capacity > (AComplex ? kMaxRealCapacity / 2 : kMaxRealCapacity)) ERaise(msg::kLengthTooLarge);
}

TVecs& TVecs::Size(int Len, bool AComplex)
{
    CheckSize(Len, AComplex);
    if (AComplex == FComplex) {
        SetLength(Len);
        return *this;
    }
    // The kind changes: after the checks only the allocation can fail, and then the counters switch back, so a
    // failed call leaves the vector as it was. The events follow the change, one per property changed.
    const int oldLength = FLength, oldActual = FActualLength, oldOrder = FFFTOrder;
    SwitchKind(AComplex);
    const bool lengthChanges = Len != FLength;
    if (lengthChanges) {
        try {
            ApplyLength(Len);
        } catch (...) {
            FComplex = !AComplex;
            FLength = oldLength;
            FActualLength = oldActual;
            FFFTOrder = oldOrder;
            if (FLength > 0 && !FIsSubRange) WriteHeaderCount(FLength);
            throw;
        }
    }
    FireSetLength();
    if (lengthChanges) FireSetLength();
    return *this;
}

void TVecs::Resize(int Len, bool ZeroIt)
{
    if (Len == FLength) return;
    if (FIsSubRange) ERaise(msg::kIsSubRange);
    if (Len < 0) ERaise(msg::kLengthNeg);
    const int oldLength = FLength;
    const int minimum = VecCacheElements.load(std::memory_order_relaxed);
    const int requested = std::max(Len, FComplex ? minimum / 2 : minimum);
    const std::size_t keepBytes = static_cast<std::size_t>(std::min(Len, oldLength)) * ElementBytes();
    if (requested == FActualLength || keepBytes == 0) {
        // The capacity stays (or nothing is to be kept): SetLength keeps the values in place.
        SetLength(Len);
    } else {
        detail::TVecTemp keep;
        keep->Size(std::min(Len, oldLength), FComplex);
        std::memcpy(keep->Values(), FValues, keepBytes);
        SetLength(Len);
        std::memcpy(FValues, keep->Values(), keepBytes);
    }
    if (ZeroIt && Len > oldLength) {
        std::memset(reinterpret_cast<std::byte*>(FValues) + static_cast<std::size_t>(oldLength) * ElementBytes(), 0,
                    static_cast<std::size_t>(Len - oldLength) * ElementBytes());
    }
}

void TVecs::Adopt(double* Data, std::int64_t DataLength, int Len, bool AComplex)
{
    if (FIsSubRange) ERaise(msg::kIsSubRange);
    if (Len < 0) ERaise(msg::kAdoptLenNeg);
    if (AComplex && Len > kMaxRealCapacity / 2) ERaise(msg::kAdoptLenTooLarge);
    if (DataLength < 0 || (!Data && DataLength > 0)) ERaise(msg::kAdoptDataNil);
    if ((AComplex ? 2 * static_cast<std::int64_t>(Len) : Len) > DataLength) ERaise(msg::kAdoptLenData);
    ReleaseBlock();
    SetComplex(AComplex);
    FLength = Len;
    FNotPowerOfTwo = true;
    FValues = Data;
    FRoom = DataLength;
    FAdopted = true;
}

void TVecs::Adopt(TSampleArray& Data, int Len, bool AComplex)
{
    Adopt(Data.data(), static_cast<std::int64_t>(Data.size()), Len, AComplex);
}

void TVecs::Disown(double*& Data, int& ALen, bool& AComplex)
{
    if (FIsSubRange) ERaise(msg::kIsSubRange);
    AComplex = FComplex;
    if (FAdopted) {
        Data = FValues;
        ALen = FLength;
        FValues = nullptr;
        FRoom = 0;
        FAdopted = false;
    } else {
        // The vector's own block has no owner to go back to: it is freed, and nothing is handed out.
        Data = nullptr;
        ALen = 0;
        ReleaseBlock();
    }
    FLength = 0;
    FNotPowerOfTwo = true;
}

void TVecs::Reset()
{
    if (FIsSubRange) ERaise(msg::kIsSubRange);
    if (FAdopted) {
        // The caller's array is dropped: a reset vector never refers to memory it does not own.
        FValues = nullptr;
        FRoom = 0;
        FAdopted = false;
    }
    SetComplex(false);
    SetLength(0);
    FConditionCheck = VecConditionCheckDefault();
    FGaussSet = false;
    FUniformSet = false;
    FGoertzSet = false;
    FCaption.clear();
    FBlasAlpha = C_ONE;
    FBlasBeta = C_ZERO;
    if (FBlockLevel > 0) ERaise(msg::kBlockLevel);
}

}  // namespace tarnel
