// TSparseMtx: the binary stream format and files.
//
// Layout: 21 singles of settings and sizes, the row indices and the column pointers as 32-bit integers, the value
// vector in its own stream format (which carries the kind), and the caption record. The reader takes nothing on
// trust: it reads everything into locals, checks the header's ordinals and sizes, the pattern against the values
// and the stream's end, and only then applies it, so a cut or hostile stream raises with the matrix unchanged.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/TempGuard.h"
#include "core/binary_stream.h"
#include "core/messages.h"
#include "core/stream_detail.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

namespace {

constexpr int kSparseHeaderBytes = 84;
using TSparseHeader = detail::THeaderSingles<kSparseHeaderBytes>;
// The value vector's header.
constexpr int kVecHeaderBytes = 44;
constexpr int kReportLevels = 6, kSparseSystems = 10, kIterativeMethods = 9, kConvergenceChecks = 2;

}  // namespace

void TSparseMtx1::SaveToStream(TStream& Stream, TPrecision Precision, TRounding Rounding) const
{
    if (FRows > detail::kMaxStreamSize || FCols > detail::kMaxStreamSize || FNonZeros > detail::kMaxStreamSize)
        ERaise(msg::sparse::kStreamSizes);
    detail::CheckEncoding(Precision, Rounding);
    TSparseHeader h;
    h.Put(4, FReportLevel);
    h.Put(8, FAutoPattern ? 1 : 0);
    h.Put(12, FRefinmentIters);
    h.Put(16, FSparseSystem);
    h.Put(20, FIterativeMethod);
    h.Put(24, FCols);
    h.Put(28, FNonZeros);
    h.Put(32, detail::kStreamVersion);
    h.Put(36, FRows);
    h.Put(40, FBlockSize);
    h.Put(44, FConvergenceCheck);
    h.Put(48, FTolerance);
    h.Put(52, FMaxIters);
    h.Put(56, FVectorCount);
    Stream.WriteBuffer(h.Data, kSparseHeaderBytes);
    Stream.WriteBuffer(FRowIndices.data(), 4 * static_cast<std::int64_t>(FNonZeros));
    Stream.WriteBuffer(FColPointers.data(), 4 * (static_cast<std::int64_t>(FCols) + 1));
    FValues->SaveToStream(Stream, Precision, Rounding);
    WriteShortString(Stream, FCaption);
}

void TSparseMtx1::LoadFromStream(TStream& Stream)
{
    TSparseHeader h;
    if (Stream.Read(h.Data, kSparseHeaderBytes) != kSparseHeaderBytes) ERaise(msg::kReadStream);
    int report = 0, refine = 0, system = 0, method = 0, cols = 0, nonZeros = 0, rows = 0, block = 0, check = 0,
        maxIters = 0, vectors = 0;
    const bool valid = detail::Ordinal(h.Get(4), kReportLevels, report) && detail::Integer(h.Get(12), refine) &&
                       detail::Ordinal(h.Get(16), kSparseSystems, system) &&
                       detail::Ordinal(h.Get(20), kIterativeMethods, method) &&
                       detail::WholeInRange(h.Get(24), detail::kMaxStreamSize, cols) &&
                       detail::WholeInRange(h.Get(28), detail::kMaxStreamSize, nonZeros) &&
                       detail::WholeInRange(h.Get(36), detail::kMaxStreamSize, rows) &&
                       detail::Integer(h.Get(40), block) && detail::Ordinal(h.Get(44), kConvergenceChecks, check) &&
                       detail::Integer(h.Get(52), maxIters) && detail::Integer(h.Get(56), vectors);
    if (!valid) ERaise(msg::kReadStream);
    const std::int64_t arrayBytes = 4 * (static_cast<std::int64_t>(nonZeros) + cols + 1);
    detail::RequireRest(Stream, arrayBytes, msg::kReadStream);
    std::vector<int> rowIdx(static_cast<std::size_t>(nonZeros));
    std::vector<int> colPtr(static_cast<std::size_t>(cols) + 1);
    Stream.ReadBuffer(rowIdx.data(), 4 * static_cast<std::int64_t>(nonZeros));
    Stream.ReadBuffer(colPtr.data(), 4 * (static_cast<std::int64_t>(cols) + 1));
    detail::TVecTemp values;
    values->LoadFromStream(Stream);
    const std::string caption = ReadShortString(Stream);
    // The pattern must describe the values: pointers from 0 up to the entry count, rows within the matrix.
    bool pattern = values->Length() == nonZeros && colPtr.front() == 0 && colPtr.back() == nonZeros;
    for (std::size_t c = 0; pattern && c + 1 < colPtr.size(); ++c) pattern = colPtr[c] <= colPtr[c + 1];
    for (std::size_t k = 0; pattern && k < rowIdx.size(); ++k) pattern = rowIdx[k] >= 0 && rowIdx[k] < rows;
    if (!pattern) ERaise(msg::sparse::kInvalidPattern);

    SetReportLevel(static_cast<TReportLevel>(report));
    SetAutoPattern(h.Get(8) != 0);
    SetRefinmentIters(refine);
    SetSparseSystem(static_cast<TSparseSystem>(system));
    SetIterativeMethod(static_cast<TIterativeMethod>(method));
    SetBlockSize(block);
    SetConvergenceCheck(static_cast<TConvergenceCheck>(check));
    SetTolerance(h.Get(48));
    SetMaxIters(maxIters);
    SetVectorCount(vectors);
    Install(rows, cols, values->Complex(), std::move(colPtr));
    std::copy(rowIdx.begin(), rowIdx.end(), FRowIndices.begin());
    FValues->Copy(*values);
    SetCaption(caption);
}

void TSparseMtx1::SaveToFile(const std::string& FileName, bool Append) const
{
    const std::int64_t bytes = kSparseHeaderBytes + 4 * (static_cast<std::int64_t>(FNonZeros) + FCols + 1) +
                               detail::SavedBytes(kVecHeaderBytes, FValues->Caption(),
                                                  (FComplex ? 2 : 1) * static_cast<std::int64_t>(FNonZeros)) +
                               4 + static_cast<std::int64_t>(FCaption.size());
    detail::SaveObjectToFile(FileName, Append, bytes, [this](TStream& S) { SaveToStream(S, prDouble, rnTrunc); });
}

void TSparseMtx1::LoadFromFile(const std::string& FileName)
{
    std::error_code ec;
    if (!std::filesystem::exists(FileName, ec)) return;  // a missing file is no error here
    detail::LoadObjectFromFile(FileName, [this](TStream& S) { LoadFromStream(S); });
}

}  // namespace tarnel
