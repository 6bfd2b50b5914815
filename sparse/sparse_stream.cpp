// TSparseMtx: the binary stream format and files.
//
// Layout: 21 singles of settings and sizes, the row indices and the column pointers as 32-bit integers, the value
// vector in its own stream format (which carries the kind), and the caption record. The reader takes nothing on
// trust: it reads everything once to check the header's ordinals and sizes, the pattern against the values and the
// stream's end, and only then reads the arrays and values again straight into the matrix's storage, so a cut or
// hostile stream raises with the matrix unchanged and no copy of the arrays is made.
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
// The checking pass reads the arrays in pieces of this many integers.
constexpr std::int64_t kCheckChunk = 16384;

// Reads Count row indices and tells whether each is in 0 .. Rows-1.
bool CheckRowIndices(TStream& Stream, std::int64_t Count, int Rows)
{
    int buffer[kCheckChunk];
    bool ok = true;
    for (std::int64_t done = 0; done < Count;) {
        const std::int64_t n = std::min(kCheckChunk, Count - done);
        Stream.ReadBuffer(buffer, 4 * n);
        for (std::int64_t k = 0; k < n; ++k) ok &= buffer[k] >= 0 && buffer[k] < Rows;
        done += n;
    }
    return ok;
}

// Reads Cols + 1 column pointers and tells whether they climb from 0 to NonZeros.
bool CheckColPointers(TStream& Stream, int Cols, int NonZeros)
{
    int buffer[kCheckChunk];
    bool ok = true;
    int last = 0;
    for (std::int64_t done = 0, count = static_cast<std::int64_t>(Cols) + 1; done < count;) {
        const std::int64_t n = std::min(kCheckChunk, count - done);
        Stream.ReadBuffer(buffer, 4 * n);
        if (done == 0) ok &= buffer[0] == 0;
        for (std::int64_t k = 0; k < n; ++k) ok &= buffer[k] >= last, last = buffer[k];
        done += n;
    }
    return ok && last == NonZeros;
}

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
    // First pass, through a small buffer: the pattern must describe the values (pointers from 0 up to the entry
    // count, rows within the matrix).
    const std::int64_t arraysAt = Stream.Position();
    const bool rowsInside = CheckRowIndices(Stream, nonZeros, rows);
    const bool pattern = CheckColPointers(Stream, cols, nonZeros) && rowsInside;  // both read, whatever the first
    // The value vector's header is checked on a temporary (its values are never touched there); the values are
    // stepped over to the caption.
    const std::int64_t valuesAt = Stream.Position();
    detail::THeaderSingles<kVecHeaderBytes> peek;
    if (Stream.Read(peek.Data, kVecHeaderBytes) != kVecHeaderBytes) ERaise(msg::kReadStream);
    Stream.Seek(valuesAt, soBeginning);
    detail::TVecTemp values;
    const TPrecision precision = values->ReadHeader(Stream);
    const bool complex = values->Complex();
    const int length = values->Length();
    // Streams of version 103 and below carry two numbers past the values.
    int version = -1;
    detail::Integer(peek.Get(20), version);
    const std::int64_t numbers = (complex ? 2 : 1) * static_cast<std::int64_t>(length) +
                                 (version >= 0 && version <= 103 && length > 0 ? 2 : 0);
    const std::int64_t numbersAt = Stream.Position();
    Stream.Seek(numbers * SizeOfPrecision(precision, false), soCurrent);  // within the stream: ReadHeader checked
    const std::string caption = ReadShortString(Stream);
    const std::int64_t end = Stream.Position();
    if (!pattern || length != nonZeros) ERaise(msg::sparse::kInvalidPattern);

    // Everything checked: the settings, then the arrays and the values read again, straight into the matrix's
    // own storage (whose room a matrix loaded again and again keeps).
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
    Stream.Seek(arraysAt, soBeginning);
    FRowIndices.resize(static_cast<std::size_t>(nonZeros));  // before the values: sizing them then leaves it be
    FColPointers.resize(static_cast<std::size_t>(cols) + 1);
    Stream.ReadBuffer(FRowIndices.data(), 4 * static_cast<std::int64_t>(nonZeros));
    Stream.ReadBuffer(FColPointers.data(), 4 * (static_cast<std::int64_t>(cols) + 1));
    FValues->Size(nonZeros, complex);
    FComplex = complex;
    FCols = cols;
    FRows = rows;
    Stream.Seek(numbersAt, soBeginning);
    FValues->ReadValues(Stream, precision);
    Stream.Seek(end, soBeginning);
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
