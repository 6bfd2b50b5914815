// Sub-ranges and block processing of vectors: views of the vector's own data, of another vector and of a matrix,
// the return to the full range, and the walk over a long vector in blocks of TarnelBlockSize elements.
#include <algorithm>
#include <climits>

#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

// Base + Count Doubles; a vector without data has a nil base and only empty views of it.
double* Shifted(double* Base, std::int64_t Count)
{
    return Base ? Base + Count : nullptr;
}

void CheckNotNegative(int Index, int Len)
{
    if (Index < 0) ERaise(msg::kNegIndex);
    if (Len < 0) ERaise(msg::kNegLen);
}

// The bound check of a view of another object: n elements of this vector's kind against SrcLength elements of
// the source's kind; the message names the conversion. SrcRoom (Doubles the source may address) bounds the view
// also when ConditionCheck is off.
void CheckSourceBounds(std::int64_t n, bool SelfComplex, std::int64_t SrcLength, bool SrcComplex, std::int64_t SrcRoom,
                       bool Checked)
{
    const char* message;
    std::int64_t limit;
    if (SelfComplex == SrcComplex) {
        message = msg::kSrcLength;
        limit = SrcLength;
    } else if (SelfComplex) {
        message = msg::kSrcLengthHalf;
        limit = SrcLength / 2;
    } else {
        message = msg::kSrcLengthTwice;
        limit = SrcLength * 2;
    }
    if (Checked && n > limit) ERaise(message);
    if (n * (SelfComplex ? 2 : 1) > SrcRoom) ERaise(message);
}

}  // namespace

std::int64_t TVecs::SavedLengthNow() const
{
    if (!FViewSaved) return FLength;
    if (FComplex == FSavedComplex) return FSavedLength;
    return FComplex ? FSavedLength / 2 : static_cast<std::int64_t>(FSavedLength) * 2;
}

void TVecs::ViewAt(double* Start, int Len)
{
    if (!FViewSaved) {
        FSavedActualLength = FActualLength;
        FSavedLength = FLength;
        FSavedComplex = FComplex;
        FFullValues = FValues;
        FFullRoom = FRoom;
        FViewSaved = true;
    }
    FValues = Start;
    FActualLength = Len;
    FLength = Len;
    // No spare room: a view must never be written past its length (its next element belongs to the source).
    FRoom = static_cast<std::int64_t>(Len) * (FComplex ? 2 : 1);
    FIsSubRange = true;
    FNotPowerOfTwo = true;
}

void TVecs::SetSubRange(int Index, int Len)
{
    CheckNotNegative(Index, Len);
    const std::int64_t n = static_cast<std::int64_t>(Index) + Len;
    const int w = FComplex ? 2 : 1;
    double* const full = FViewSaved ? FFullValues : FValues;
    const std::int64_t fullRoom = FViewSaved ? FFullRoom : FRoom;
    if ((FConditionCheck && n > SavedLengthNow()) || n * w > fullRoom) ERaise(msg::kSLength);
    ViewAt(Shifted(full, static_cast<std::int64_t>(Index) * w), Len);
}

void TVecs::ViewVector(const TVecs& Src, int Index, int Len)
{
    CheckNotNegative(Index, Len);
    if (&Src == this && Index == 0 && Len == FLength) return;  // the vector already sees exactly this
    const std::int64_t n = static_cast<std::int64_t>(Index) + Len;
    CheckSourceBounds(n, FComplex, Src.FLength, Src.FComplex, Src.FRoom, FConditionCheck);
    // From Src's data as it is now: a view of a view starts at that view's own start.
    ViewAt(Shifted(Src.FValues, static_cast<std::int64_t>(Index) * (FComplex ? 2 : 1)), Len);
}

void TVecs::ViewMatrix(const TMtx1& Mtx, int Index, int Len, bool WholeForNegative)
{
    const std::int64_t elements = static_cast<std::int64_t>(Mtx.FRows) * Mtx.FCols;
    if (Len < 0 && WholeForNegative) Len = static_cast<int>(elements);
    CheckNotNegative(Index, Len);
    const std::int64_t n = static_cast<std::int64_t>(Index) + Len;
    CheckSourceBounds(n, FComplex, elements, Mtx.FComplex, Mtx.FRoom, FConditionCheck);
    ViewAt(Shifted(Mtx.FValues, static_cast<std::int64_t>(Index) * (FComplex ? 2 : 1)), Len);
}

void TVec1::SetSubRange(const TVecs& Src, int Index, int Len)
{
    ViewVector(Src, Index, Len);
}

void TVec1::SetSubIndex(const TVecs& Src, int StartIndex, int StopIndex)
{
    const std::int64_t len = static_cast<std::int64_t>(StopIndex) - StartIndex + 1;
    if (len < 0) ERaise(msg::kNegLen);
    ViewVector(Src, StartIndex, static_cast<int>(std::min<std::int64_t>(len, INT_MAX)));
}

void TVec::SetSubRange(const TMtx1& Mtx, int Index, int Len)
{
    ViewMatrix(Mtx, Index, Len, true);
}

void TVec::SetSubIndex(const TMtx1& Mtx, int StartIndex, int StopIndex)
{
    const std::int64_t len = static_cast<std::int64_t>(StopIndex) - StartIndex + 1;
    if (len < 0) ERaise(msg::kNegLen);
    ViewMatrix(Mtx, StartIndex, static_cast<int>(std::min<std::int64_t>(len, INT_MAX)), false);
}

void TVecs::SetFullRange()
{
    if (FViewSaved) {
        FValues = FFullValues;
        FRoom = FFullRoom;
        FActualLength = FSavedActualLength;
        FLength = FSavedLength;
        FComplex = FSavedComplex;
        FViewSaved = false;
        FFullValues = nullptr;
        FFullRoom = 0;
        FNotPowerOfTwo = true;
    }
    FIsSubRange = false;
    // A walk left unfinished (an exception inside its body) ends here, so the vector can be used and reset again.
    FBlockLevel = 0;
    FBlockIndex = 0;
    FBlockEnd = true;
}

// ---- Block processing -----------------------------------------------------------------------------------------

void TVecs::BlockInit(int BlockSize)
{
    if (FBlockLevel == 0) {
        if (FIsSubRange) ERaise(msg::kIsSubRange);
        const int size = BlockSize == -1 ? TarnelBlockSize : BlockSize;
        if (size < 1) ERaise(msg::kBlockSize);
        FBlockSize = size;
        const std::int64_t start = static_cast<std::int64_t>(FBlockIndex) * size;
        if (start >= FLength) {
            // Nothing (more) to walk: the walk is over before it began.
            FBlockIndex = 0;
            FBlockEnd = true;
            return;
        }
        SetSubRange(static_cast<int>(start), static_cast<int>(std::min<std::int64_t>(size, FLength - start)));
        FBlockEnd = false;
    }
    ++FBlockLevel;
}

void TVecs::BlockNext()
{
    if (FBlockLevel <= 0) return;
    FBlockEnd = true;
    if (FBlockLevel != 1) {
        --FBlockLevel;
        return;
    }
    ++FBlockIndex;
    const std::int64_t start = static_cast<std::int64_t>(FBlockIndex) * FBlockSize;
    const std::int64_t total = SavedLengthNow();
    if (start >= total) {
        SetFullRange();  // level 0, index 0, BlockEnd True
        return;
    }
    SetSubRange(static_cast<int>(start), static_cast<int>(std::min<std::int64_t>(FBlockSize, total - start)));
    FBlockEnd = false;
}

}  // namespace tarnel
