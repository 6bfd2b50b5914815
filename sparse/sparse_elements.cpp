// TSparseMtx: element access through the triplet buffer.
//
// SetValue and SetMtxCValue only append to the buffer; TripletsToSparseAndFlush converts it with the one triplet
// conversion (sparse_triplets.cpp). The buffers grow geometrically, so n calls cost O(n). The pending triplets
// remember their kind: a triplet of the other kind is refused until the buffer is flushed, and the flush converts
// them in their own kind whatever Complex says by then.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <span>
#include <utility>

#include "core/Dovi387.h"
#include "core/messages.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

constexpr std::size_t kFirstTripletBuffer = 100;

}  // namespace

void TSparseMtx1::PrepareTriplet(int ARow, int ACol, bool AComplex)
{
    if (ARow < 0) ERaise(msg::sparse::kARowNeg);
    if (ACol < 0) ERaise(msg::sparse::kAColNeg);
    if (ARow == INT_MAX) ERaise(msg::sparse::kARowMax);
    if (ACol == INT_MAX) ERaise(msg::sparse::kAColMax);
    if (FTripletCount > 0 && FTripletComplex != AComplex) ERaise(msg::sparse::kFlushFirst);
    const std::size_t count = static_cast<std::size_t>(FTripletCount);
    const std::size_t room = AComplex ? FTripletCValues.size() : FTripletValues.size();
    if (count >= std::min({FTripletRows.size(), FTripletCols.size(), room})) {
        const std::size_t grown = std::max(kFirstTripletBuffer, 2 * count);
        FTripletRows.resize(grown);
        FTripletCols.resize(grown);
        if (AComplex)
            FTripletCValues.resize(grown);
        else
            FTripletValues.resize(grown);
    }
    FTripletComplex = AComplex;
    FTripletRowExtent = std::max(FTripletRowExtent, ARow + 1);
    FTripletColExtent = std::max(FTripletColExtent, ACol + 1);
    FTripletRows[count] = ARow;
    FTripletCols[count] = ACol;
}

void TSparseMtx1::SetValue(int ARow, int ACol, double Value)
{
    if (FComplex) ERaise(msg::kComplexTrue);
    PrepareTriplet(ARow, ACol, false);
    FTripletValues[static_cast<std::size_t>(FTripletCount++)] = Value;
}

void TSparseMtx1::SetMtxCValue(int ARow, int ACol, const TCplx& Value)
{
    if (!FComplex) ERaise(msg::kNotComplexBare);
    PrepareTriplet(ARow, ACol, true);
    FTripletCValues[static_cast<std::size_t>(FTripletCount++)] = Value;
}

void TSparseMtx1::TripletsToSparseAndFlush()
{
    // The buffer is taken over first, so it is empty on every way out of the conversion.
    TIntArray rows = std::exchange(FTripletRows, {});
    TIntArray cols = std::exchange(FTripletCols, {});
    TSampleArray values = std::exchange(FTripletValues, {});
    TCplxArray cvalues = std::exchange(FTripletCValues, {});
    const std::size_t count = static_cast<std::size_t>(std::exchange(FTripletCount, 0));
    const int rowExtent = std::exchange(FTripletRowExtent, 0);
    const int colExtent = std::exchange(FTripletColExtent, 0);
    const bool complex = std::exchange(FTripletComplex, false);
    InternalTripletsToSparse(rowExtent, colExtent, std::span<const int>(rows.data(), count),
                             std::span<const int>(cols.data(), count), complex ? cvalues.data() : nullptr,
                             complex ? nullptr : values.data(), 0);
}

int TSparseMtx1::FindEntry(int ARow, int ACol, bool AComplex) const
{
    if (FTripletCount > 0) ERaise(msg::sparse::kFlushFirst);
    if (ACol > FCols - 1) ERaise(msg::sparse::kAColHigh);
    if (ARow > FRows - 1) ERaise(msg::sparse::kARowHigh);
    if (FComplex != AComplex) ERaise(AComplex ? msg::kNotComplexBare : msg::kComplexTrue);
    if (ACol < 0) ERaise(msg::sparse::kAColNeg);
    CheckColumn(ACol);
    const int last = FColPointers[static_cast<std::size_t>(ACol) + 1];
    for (int k = FColPointers[static_cast<std::size_t>(ACol)]; k < last; ++k)
        if (FRowIndices[static_cast<std::size_t>(k)] == ARow) return k;
    return -1;
}

double TSparseMtx1::GetValue(int ARow, int ACol) const
{
    const int k = FindEntry(ARow, ACol, false);
    return k < 0 ? 0.0 : FValues->Values()[k];
}

TCplx TSparseMtx1::GetMtxCValue(int ARow, int ACol) const
{
    const int k = FindEntry(ARow, ACol, true);
    return k < 0 ? C_ZERO : FValues->CValues()[k];
}

}  // namespace tarnel
