// TMtx1: construction, the storage rule with its row table, sizing, the real/complex switch, resizing that keeps
// values, outside data, assignment and reset.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/pool.h"
#include "core/storage_block.h"

namespace tarnel {

using detail::AllocateZeroed;
using detail::kMaxRealCapacity;

namespace {

using TRowTable = std::unique_ptr<double*[]>;

// A row table of Rows entries, taken before anything changes (InstallRowTable fills it).
TRowTable NewRowTable(int Rows)
{
    return Rows > 0 ? TRowTable(new double*[static_cast<std::size_t>(Rows)]) : nullptr;
}

}  // namespace

TMtx1::TMtx1() : FConditionCheck(MtxConditionCheckDefault())
{
    FGaussState = AllocateZeroed(kMtxGaussStateBytes);
    try {
        FUniformState = AllocateZeroed(kMtxUniformStateBytes);
    } catch (...) {
        std::free(FGaussState);
        throw;
    }
}

TMtx1::~TMtx1()
{
    std::free(FGaussState);
    std::free(FUniformState);
    std::free(FBlockStart);
}

bool TMtx1::CheckPowerOfTwo(int N)
{
    return N >= 2 && (N & (N - 1)) == 0;
}

bool TMtx1::IsPowerOfTwo() const
{
    return CheckPowerOfTwo(FRows) && CheckPowerOfTwo(FCols);
}

void TMtx1::RaiseIndex(int Row, int Col) const
{
    if (Row > FRows - 1) ERaise(msg::kIndx1Rows);
    if (Col > FCols - 1) ERaise(msg::kIndx2Cols);
    if (Row < 0) ERaise(msg::kIndx1Neg);
    if (Col < 0) ERaise(msg::kIndx2Neg);
    // Unchecked access inside the dimensions but beyond the memory (an adopted array): the row is at fault.
    ERaise(msg::kIndx1Rows);
}

void TMtx1::SetRefineSolution(bool B)
{
    FRefineSolution = B;
    FBackError = 0;
    FForwError = 0;
}

void TMtx1::FireSetSize()
{
    if (FOnSetSize) FOnSetSize(*this);
}

// ---- Storage ------------------------------------------------------------------------------------------------

void TMtx1::ReleaseBlock()
{
    std::free(FBlockStart);
    FBlockStart = nullptr;
    FHeader = nullptr;
    FAllocatedSize = 0;
    FActualSize = 0;
    FValues = nullptr;
    FRoom = 0;
    FAdopted = false;
}

void TMtx1::AllocateCapacity(std::int64_t C, bool AComplex)
{
    const std::int64_t capacity = (C + 1) / 2 * 2;
    if (capacity > (AComplex ? kMaxRealCapacity / 2 : kMaxRealCapacity)) ERaise(msg::kSizeTooLarge);
    // The new block is allocated before the old one goes, so a failed allocation changes nothing.
    detail::TStorageBlock block;
    std::int64_t bytes = 0;
    if (capacity > 0) {
        bytes = AComplex ? capacity * 16 + 104 : capacity * 8 + 72;
        block = detail::AllocateStorage(bytes);
    }
    ReleaseBlock();
    FActualSize = static_cast<int>(capacity);
    if (block.Start) {
        FBlockStart = block.Start;
        FAllocatedSize = bytes;
        FHeader = block.Header;
        FValues = block.Values;
        FRoom = capacity * (AComplex ? 2 : 1);
    }
}

void TMtx1::WriteHeaderCount()
{
    if (!FHeader) return;
    const std::int32_t header[2] = {1, static_cast<std::int32_t>(static_cast<std::int64_t>(FRows) * FCols)};
    std::memcpy(FHeader, header, sizeof header);
}

void TMtx1::InstallRowTable(std::unique_ptr<double*[]> Table) noexcept
{
    FRowTable = std::move(Table);
    FRowTableSize = 0;
    if (FRows > 0) {
        FRowTableSize = static_cast<std::int64_t>(FRows) * static_cast<std::int64_t>(sizeof(double*));
        const std::int64_t stride = static_cast<std::int64_t>(FCols) * Width();
        // Without data (0 columns, or no block) every row starts at the data address.
        for (int i = 0; i < FRows; ++i) FRowTable[i] = FValues ? FValues + i * stride : nullptr;
    }
    WriteHeaderCount();
}

void TMtx1::RebuildRowTable()
{
    InstallRowTable(NewRowTable(FRows));
}

void TMtx1::SetActualSize(int C)
{
    if (C == FActualSize) return;
    if (C < 0) ERaise(msg::kSizeNeg);
    auto table = NewRowTable(FRows);  // room for the rows kept, taken before anything changes
    AllocateCapacity(C, FComplex);
    // Only the whole rows that fit into the new capacity are kept, so no row addresses memory the matrix does not
    // have; a matrix of no columns keeps its rows.
    if (static_cast<std::int64_t>(FRows) * FCols > FActualSize) FRows = FActualSize / FCols;
    InstallRowTable(std::move(table));
}

void TMtx1::FreeMemory()
{
    FRows = 0;
    FCols = 0;
    ReleaseBlock();
    RebuildRowTable();
}

// ---- Sizing -------------------------------------------------------------------------------------------------

std::int64_t TMtx1::RequestedCapacity(int ARows, int ACols, bool AComplex)
{
    const std::int64_t side = MtxCacheElements.load(std::memory_order_relaxed);
    const std::int64_t minimum = side * side;
    return std::max(static_cast<std::int64_t>(ARows) * ACols, AComplex ? minimum / 2 : minimum);
}

void TMtx1::CheckSize(int ARows, int ACols, bool AComplex) const
{
    if (ARows < 0 || ACols < 0) ERaise(msg::kSizeNeg);
    const std::int64_t limit = AComplex ? kMaxRealCapacity / 2 : kMaxRealCapacity;
    // A complex matrix must still count its columns in an Integer when it turns real.
    if (static_cast<std::int64_t>(ARows) * ACols > limit || (AComplex && ACols > INT_MAX / 2)) {
        ERaise(msg::kSizeTooLarge);
    }
    int rows = FRows, cols = FCols;
    if (AComplex != FComplex) cols = AComplex ? FCols / 2 : FCols * 2;
    if (ARows == rows && ACols == cols) return;
    if ((RequestedCapacity(ARows, ACols, AComplex) + 1) / 2 * 2 > limit) ERaise(msg::kSizeTooLarge);
}

void TMtx1::SwitchComplex(bool B)
{
    if (B == FComplex) return;
    const bool oddCols = B && FCols % 2 != 0;
    auto table = oddCols ? NewRowTable(FRows) : nullptr;  // taken before anything changes
    FComplex = B;
    if (B) {
        FCols /= 2;
        FActualSize /= 2;
    } else {
        FCols *= 2;
        FActualSize *= 2;
    }
    // A row that held an odd number of reals has a new byte length: its address moves.
    if (oddCols) {
        InstallRowTable(std::move(table));
    } else {
        WriteHeaderCount();
    }
    FireSetSize();
}

void TMtx1::SetComplex(bool B)
{
    if (B == FComplex) return;
    if (B && FCols % 2 != 0) ERaise(msg::kColsOdd);
    if (!B && FCols > INT_MAX / 2) ERaise(msg::kSizeTooLarge);
    SwitchComplex(B);
}

TMtx1& TMtx1::Size(int ARows, int ACols, bool AComplex)
{
    CheckSize(ARows, ACols, AComplex);
    const bool kindChanges = AComplex != FComplex;
    const int cols = !kindChanges ? FCols : AComplex ? FCols / 2 : FCols * 2;
    if (ARows == FRows && ACols == cols) {
        SwitchComplex(AComplex);
        return *this;
    }
    // What may fail comes first, the row table and then the block, so that a failed allocation leaves the matrix
    // as it was; the events follow the change, one per property changed.
    auto table = NewRowTable(ARows);
    const std::int64_t requested = RequestedCapacity(ARows, ACols, AComplex);
    const int actual = !kindChanges ? FActualSize : AComplex ? FActualSize / 2 : FActualSize * 2;
    if (requested != actual) {
        AllocateCapacity(requested, AComplex);
    } else {
        FActualSize = actual;
    }
    FComplex = AComplex;
    FRows = ARows;
    FCols = ACols;
    InstallRowTable(std::move(table));
    if (kindChanges) FireSetSize();
    FireSetSize();
    return *this;
}

TMtx1& TMtx1::Size(const TMtx1& Src)
{
    return Size(Src.FRows, Src.FCols, Src.FComplex);
}

void TMtx1::SetRows(int N)
{
    Size(N, FCols, FComplex);
}

void TMtx1::SetCols(int N)
{
    Size(FRows, N, FComplex);
}

void TMtx1::CopyBlockFrom(const double* Src, int SrcCols, int BlockRows, int BlockCols, bool Transpose)
{
    const int w = Width();
    if (!Transpose) {
        const std::size_t rowBytes = static_cast<std::size_t>(BlockCols) * ElementBytes();
        for (int i = 0; i < BlockRows; ++i) {
            std::memcpy(FValues + static_cast<std::int64_t>(i) * FCols * w,
                        Src + static_cast<std::int64_t>(i) * SrcCols * w, rowBytes);
        }
        return;
    }
    for (int i = 0; i < BlockRows; ++i) {
        const double* from = Src + static_cast<std::int64_t>(i) * SrcCols * w;
        for (int j = 0; j < BlockCols; ++j) {
            double* to = FValues + (static_cast<std::int64_t>(j) * FCols + i) * w;
            to[0] = from[j * w];
            if (w == 2) to[1] = from[j * w + 1];
        }
    }
}

void TMtx1::Resize(int NewRows, int NewCols)
{
    if (NewRows == FRows && NewCols == FCols) return;
    CheckSize(NewRows, NewCols, FComplex);
    const int keepRows = std::min(NewRows, FRows);
    const int keepCols = std::min(NewCols, FCols);
    if (keepRows == 0 || keepCols == 0) {
        Size(NewRows, NewCols, FComplex);
        if (FValues) std::memset(FValues, 0, static_cast<std::size_t>(Numbers()) * sizeof(double));
        return;
    }
    detail::TMtxTemp keep;
    keep->Size(FRows, FCols, FComplex);
    std::memcpy(keep->Values(), FValues, static_cast<std::size_t>(Numbers()) * sizeof(double));
    Size(NewRows, NewCols, FComplex);
    // Elements outside the kept block are zero, whether the block was reallocated or reused.
    std::memset(FValues, 0, static_cast<std::size_t>(Numbers()) * sizeof(double));
    CopyBlockFrom(keep->Values(), keep->Cols(), keepRows, keepCols, false);
}

void TMtx::Resize(const TMtx1& A, int NewRows, int NewCols, bool Transpose)
{
    if (&A == this) ERaise(msg::kASelf);
    const int rows = Transpose ? NewCols : NewRows;
    const int cols = Transpose ? NewRows : NewCols;
    CheckSize(rows, cols, A.Complex());
    const int r = std::min(NewRows, A.Rows());
    const int c = std::min(NewCols, A.Cols());
    Size(rows, cols, A.Complex());
    if (FValues) std::memset(FValues, 0, static_cast<std::size_t>(Numbers()) * sizeof(double));
    if (r > 0 && c > 0) CopyBlockFrom(A.Values(), A.Cols(), r, c, Transpose);
}

void SetMtxSize(int ARows, int ACols, bool AComplex, TOpenArray<TMtx*> Mtxs)
{
    for (TMtx* m : Mtxs) {
        if (!m) ERaise(msg::kMtxNil);
    }
    for (TMtx* m : Mtxs) m->Size(ARows, ACols, AComplex);
}

// ---- Assignment and outside data ------------------------------------------------------------------------------

void TMtx1::Assign(const TMtx1& Mtx)
{
    if (&Mtx == this) ERaise(msg::kMtxSelf);
    if (TarnelAssignCopyData) {
        Size(Mtx.FRows, Mtx.FCols, Mtx.FComplex);
        const std::int64_t n = Numbers();
        if (n > 0) std::memmove(FValues, Mtx.FValues, static_cast<std::size_t>(n) * sizeof(double));
    }
    FAutoMtxType = Mtx.FAutoMtxType;
    FEigGenType = Mtx.FEigGenType;
    FBalance = Mtx.FBalance;
    FConditionCheck = Mtx.FConditionCheck;
    FConditionNumber = Mtx.FConditionNumber;
    FConditionNr = Mtx.FConditionNr;
    FRefineSolution = Mtx.FRefineSolution;
    FTriangleForm = Mtx.FTriangleForm;
    FTriangleUnit = Mtx.FTriangleUnit;
    FSuperDiag = Mtx.FSuperDiag;
    FSubDiag = Mtx.FSubDiag;
    FCaption = Mtx.FCaption;
    FDirty = Mtx.FDirty;
    FTag = Mtx.FTag;
}

void TMtx1::Adopt(double* Data, std::int64_t DataLength, int ARows, int ACols, bool AComplex)
{
    if (ARows < 0 || ACols < 0) ERaise(msg::kAdoptRowsColsNeg);
    const std::int64_t limit = AComplex ? kMaxRealCapacity / 2 : kMaxRealCapacity;
    if (static_cast<std::int64_t>(ARows) * ACols > limit || (AComplex && ACols > INT_MAX / 2)) {
        ERaise(msg::kAdoptRowsColsTooLarge);
    }
    if (DataLength < 0 || (!Data && DataLength > 0)) ERaise(msg::kAdoptDataNil);
    const std::int64_t numbers = static_cast<std::int64_t>(ARows) * ACols * (AComplex ? 2 : 1);
    if (numbers > DataLength) ERaise(msg::kAdoptRowsColsData);
    auto table = NewRowTable(ARows);  // taken before anything changes
    FreeMemory();
    SwitchComplex(AComplex);
    FRows = ARows;
    FCols = ACols;
    FValues = Data;
    FRoom = DataLength;
    FAdopted = true;
    InstallRowTable(std::move(table));
}

void TMtx1::Adopt(TSampleArray& Data, int ARows, int ACols, bool AComplex)
{
    Adopt(Data.data(), static_cast<std::int64_t>(Data.size()), ARows, ACols, AComplex);
}

void TMtx1::Disown(double*& Data, int& ARows, int& ACols, bool& AComplex)
{
    AComplex = FComplex;
    if (FAdopted) {
        Data = FValues;
        ARows = FRows;
        ACols = FCols;
        FValues = nullptr;
        FRoom = 0;
        FAdopted = false;
    } else {
        // The matrix's own block has no owner to go back to: it is freed, and nothing is handed out.
        Data = nullptr;
        ARows = 0;
        ACols = 0;
        ReleaseBlock();
    }
    FRows = 0;
    FCols = 0;
    RebuildRowTable();
}

void TMtx1::Reset()
{
    if (FAdopted) {
        // The caller's array is dropped: a reset matrix never refers to memory it does not own.
        FValues = nullptr;
        FRoom = 0;
        FAdopted = false;
        FRows = 0;
        FCols = 0;
        RebuildRowTable();
    }
    SwitchComplex(false);
    FTriangleForm = tfUpper;
    FConditionNumber = cnNone;
    FGaussSet = false;
    FUniformSet = false;
    FBalance = btFull;
    FConditionCheck = MtxConditionCheckDefault();
    FAutoMtxType = false;
    FMtxError.clear();
    FEigGenType = etAzBz;
    FInfo = 0;
    FRefineSolution = false;
    FTriangleUnit = false;
    FCaption.clear();
    FAlpha = C_ONE;
    FBeta = C_ZERO;
    Size(0, 0, false);
}

}  // namespace tarnel
