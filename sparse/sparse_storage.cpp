// TSparseMtx: construction, the settings mirrored into the UMFPACK control array, sizing, copying and the checks of
// the stored pattern that every reader runs.
#include <umfpack.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Dovi387.h"
#include "core/messages.h"
#include "sparse/SparseInternal.h"
#include "sparse/UMFsparse.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

static_assert(UMFPACK_CONTROL <= TSparseMtx1::kControlCount && UMFPACK_INFO <= TSparseMtx1::kInfoCount,
              "the control and info arrays must hold what UMFPACK reads and writes");

}  // namespace

TSparseMtx1::TSparseMtx1()
{
    umfpack_di_defaults(FControl.data());
    FBlockSize = detail::RoundHalfEven(FControl[UMFPACK_BLOCK_SIZE]);
    FRows = 0;
    FCols = 0;
    FAutoPattern = true;
    FRefinmentIters = detail::RoundHalfEven(FControl[UMFPACK_IRSTEP]);
    SetReportLevel(prlBasic);
    FValues = std::make_unique<TVec>();
    FVectorCount = 10;
    FTolerance = 500 * 0x1p-52;
    FMaxIters = 500;
    SetSparseSystem(spsA);
    FComplex = false;
    FValues->SetOnSetLength([this](TVecs& Sender) { DoSetCols(Sender); });
    FAutoClearReport = true;
    FDontStripZeros = false;
    FColPointers.assign(1, 0);  // column pointer[Cols] exists from the start
}

TSparseMtx1::~TSparseMtx1()
{
    EndDirectSolve();
    ReleaseSymbolic();
}

// ---- Settings ---------------------------------------------------------------------------------------------------

void TSparseMtx1::SetCols(int Value)
{
    if (Value == FCols) return;
    if (Value < 0) ERaise(msg::sparse::kColsNeg);
    FColPointers.resize(static_cast<std::size_t>(Value) + 1, 0);
    FCols = Value;
}

void TSparseMtx1::SetNonZeros(int Value)
{
    if (Value == FNonZeros) return;
    if (Value < 0) ERaise(msg::kLengthNeg);
    // The count is stored first: resizing the values reruns DoSetCols, which then finds nothing to do.
    FNonZeros = Value;
    if (FRowIndices.size() < static_cast<std::size_t>(Value)) FRowIndices.resize(static_cast<std::size_t>(Value), 0);
    FValues->Resize(Value, false);
}

void TSparseMtx1::SetComplex(bool Value)
{
    FComplex = Value;
    FValues->SetComplex(Value);
}

void TSparseMtx1::DoSetCols(TVecs& Sender)
{
    FComplex = Sender.Complex();
    SetNonZeros(Sender.Length());
}

void TSparseMtx1::SetReportLevel(TReportLevel Value)
{
    FReportLevel = Value;
    FControl[UMFPACK_PRL] = static_cast<int>(Value);
}

void TSparseMtx1::SetBlockSize(int Value)
{
    FBlockSize = Value;
    FControl[UMFPACK_BLOCK_SIZE] = Value;
}

void TSparseMtx1::SetRefinmentIters(int Value)
{
    FRefinmentIters = std::max(Value, 0);
    FControl[UMFPACK_IRSTEP] = Value;
}

void TSparseMtx1::SetSparseSystem(TSparseSystem Value)
{
    FSparseSystem = Value;
    const int ordinal = static_cast<int>(Value);
    if (ordinal >= 0 && ordinal < static_cast<int>(std::size(kUmfSystems))) FSystemString = kUmfSystems[ordinal].Text;
}

void TSparseMtx1::SetVectorCount(int Value)
{
    FVectorCount = std::max(Value, 2);
}

// ---- Size, copy and comparison ----------------------------------------------------------------------------------

void TSparseMtx1::Size(const TSparseMtx& Src)
{
    SetComplex(Src.Complex());
    SetCols(Src.Cols());
    SetRows(Src.Rows());
    SetNonZeros(Src.NonZeros());
}

void TSparseMtx1::Copy(const TSparseMtx& Src)
{
    if (&Src == this) return;
    // The kind first: switching it halves or doubles the entry count, which must not happen after the row indices
    // are copied.
    SetComplex(Src.Complex());
    SetCols(Src.Cols());
    SetRows(Src.Rows());
    SetNonZeros(Src.NonZeros());
    std::copy(Src.FColPointers.begin(), Src.FColPointers.end(), FColPointers.begin());
    std::copy_n(Src.FRowIndices.begin(), Src.FNonZeros, FRowIndices.begin());
    FValues->Copy(*Src.FValues);
}

void TSparseMtx1::Assign(const TSparseMtx& Source)
{
    Copy(Source);
    SetComplex(Source.Complex());
    SetAutoClearReport(Source.AutoClearReport());
    SetReportLevel(Source.ReportLevel());
    SetRefinmentIters(Source.RefinmentIters());
    SetSparseSystem(Source.SparseSystem());
    SetBlockSize(Source.BlockSize());
    SetIterativeMethod(Source.IterativeMethod());
    SetConvergenceCheck(Source.ConvergenceCheck());
    SetTolerance(Source.Tolerance());
    SetMaxIters(Source.MaxIters());
    SetVectorCount(Source.VectorCount());
    SetCaption(Source.Caption());
    SetDirty(Source.Dirty());
}

bool TSparseMtx1::IsEqualSize(const TSparseMtx& Src) const
{
    return FComplex == Src.Complex() && FNonZeros == Src.NonZeros() && FRows == Src.Rows() && FCols == Src.Cols();
}

bool TSparseMtx1::Equal(const TSparseMtx& Sparse, double Tolerance) const
{
    if (FRows != Sparse.FRows || FCols != Sparse.FCols || FNonZeros != Sparse.FNonZeros) return false;
    const auto count = static_cast<std::ptrdiff_t>(FNonZeros);
    if (FColPointers != Sparse.FColPointers ||
        !std::equal(FRowIndices.begin(), FRowIndices.begin() + count, Sparse.FRowIndices.begin()))
        return false;
    return FValues->Equal(*Sparse.FValues, Tolerance);
}

bool TSparseMtx::Equal(const TMtx& Mtx, double Tolerance, bool StoredOnly) const
{
    if (Mtx.Rows() != FRows || Mtx.Cols() != FCols || Mtx.Complex() != FComplex) return false;
    if (!StoredOnly) {
        if (FRows == 0 || FCols == 0) return FNonZeros == 0;
        TSparseMtx dense;
        dense.DenseToSparse(Mtx, 0);
        return Equal(dense, Tolerance);
    }
    CheckPattern(true);
    const auto near = [Tolerance](double A, double B) {
        return Tolerance == 0 ? A == B : std::fabs(A - B) <= Tolerance;
    };
    for (int c = 0; c < FCols; ++c)
        for (int k = FColPointers[static_cast<std::size_t>(c)]; k < FColPointers[static_cast<std::size_t>(c) + 1];
             ++k) {
            const std::size_t at =
                static_cast<std::size_t>(FRowIndices[static_cast<std::size_t>(k)]) * static_cast<std::size_t>(FCols) +
                static_cast<std::size_t>(c);
            if (FComplex) {
                const TCplx a = FValues->CValues()[k], b = Mtx.CValues()[at];
                if (!near(a.Re, b.Re) || !near(a.Im, b.Im)) return false;
            } else if (!near(FValues->Values()[k], Mtx.Values()[at])) {
                return false;
            }
        }
    return true;
}

void TSparseMtx::Size(int ARows, int ACols, int ANonZeros, bool AComplex)
{
    if (ACols < 0) ERaise(msg::sparse::kColsNeg);
    if (ANonZeros < 0) ERaise(msg::kLengthNeg);
    SetComplex(AComplex);
    SetCols(ACols);
    SetRows(ARows);
    SetNonZeros(ANonZeros);
}

// ---- The stored pattern -----------------------------------------------------------------------------------------

void TSparseMtx1::Install(int ARows, int ACols, bool AComplex, std::vector<int>&& ColPtr)
{
    // Sizing the values reruns DoSetCols, which sets Complex and NonZeros and makes room in the row indices; the
    // old values need not survive, so the vector is sized directly rather than through SetNonZeros.
    const int nonZeros = ColPtr[static_cast<std::size_t>(ACols)];
    FValues->Size(nonZeros, AComplex);
    FComplex = AComplex;
    // The whole pattern is new, so the spare row indices of an earlier, larger pattern are of no further use.
    FRowIndices.resize(static_cast<std::size_t>(nonZeros));
    FRowIndices.shrink_to_fit();
    FColPointers = std::move(ColPtr);
    FCols = ACols;
    FRows = ARows;
}

void TSparseMtx1::CheckColumn(int ACol) const
{
    const int first = FColPointers[static_cast<std::size_t>(ACol)];
    const int last = FColPointers[static_cast<std::size_t>(ACol) + 1];
    if (first < 0 || first > last || last > FNonZeros) ERaise(msg::sparse::kInvalidPattern);
}

void TSparseMtx1::CheckPattern(bool RowsToo) const
{
    if (FColPointers[0] != 0 || FColPointers[static_cast<std::size_t>(FCols)] != FNonZeros)
        ERaise(msg::sparse::kInvalidPattern);
    for (int j = 0; j < FCols; ++j)
        if (FColPointers[static_cast<std::size_t>(j)] > FColPointers[static_cast<std::size_t>(j) + 1])
            ERaise(msg::sparse::kInvalidPattern);
    if (RowsToo && FNonZeros > 0) {
        // The largest row as unsigned (a negative row is large), kept in four running maxima in one pass without
        // an exit, so that the comparisons do not wait on each other.
        const int* rows = FRowIndices.data();
        unsigned m[4] = {};
        int k = 0;
        for (; k + 4 <= FNonZeros; k += 4)
            for (int w = 0; w < 4; ++w) m[w] = std::max(m[w], static_cast<unsigned>(rows[k + w]));
        for (; k < FNonZeros; ++k) m[0] = std::max(m[0], static_cast<unsigned>(rows[k]));
        if (FRows < 0 || std::max(std::max(m[0], m[1]), std::max(m[2], m[3])) >= static_cast<unsigned>(FRows))
            ERaise(msg::sparse::kInvalidPattern);
    }
}

}  // namespace tarnel
