// The binary stream format: number encodings, short strings, the shared header checks and file wrappers, and the
// vector's readers and writers.
//
// Readers trust nothing in a stream: the header and the caption are read whole and checked before the object
// changes, and the values part must lie within the stream before the object is sized for it, so a hostile or cut
// stream raises with the object unchanged and nothing allocated.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/storage_block.h"
#include "core/stream_detail.h"
#include "core/stream_kernels.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

// The bytes of one number of each encoding, in the order of TPrecision.
constexpr int kNumberBytes[] = {8, 4, 4, 4, 2, 2, 1, 1, 1, 1};
constexpr int kPrecisions = 10;
constexpr int kRoundings = 3;

// The temporary that converts values holds this many Doubles (the pool's vectors reserve 1024).
constexpr int kChunkDoubles = 1024;

bool KnownPrecision(TPrecision P)
{
    return static_cast<int>(P) >= 0 && static_cast<int>(P) < kPrecisions;
}

// The numbers of Count elements.
std::int64_t NumbersOf(std::int64_t Count, bool Complex)
{
    return Complex ? 2 * Count : Count;
}

// Whether Bytes bytes at P lie partly in a memory stream's data (values of a vector adopted from it): these are
// converted through a temporary, as growing the stream may move its data.
bool InData(TMemoryStream& M, const void* P, std::int64_t Bytes)
{
    const auto data = reinterpret_cast<std::uintptr_t>(M.Memory()), p = reinterpret_cast<std::uintptr_t>(P);
    return data != 0 && p < data + static_cast<std::uintptr_t>(M.Size()) &&
           data < p + static_cast<std::uintptr_t>(Bytes);
}

void WriteNumbers(TStream& Stream, const double* Values, TPrecision P, TRounding R, std::int64_t N)
{
    if (N <= 0) return;
    if (P == prDouble) {
        Stream.WriteBuffer(Values, N * 8);
        return;
    }
    const int bytes = kNumberBytes[P];
    // A memory stream takes the numbers encoded straight into its data.
    auto* memory = dynamic_cast<TMemoryStream*>(&Stream);
    if (memory && !InData(*memory, Values, N * 8)) {
        detail::EncodeNumbers(Values, memory->WriteSpace(N * bytes), N, P, R);
        return;
    }
    const int chunk = kChunkDoubles * 8 / bytes;
    detail::TVecTemp buffer;
    buffer->SetLength(kChunkDoubles);
    for (std::int64_t done = 0; done < N; done += chunk) {
        const int n = static_cast<int>(std::min<std::int64_t>(chunk, N - done));
        detail::EncodeNumbers(Values + done, buffer->Values(), n, P, R);
        Stream.WriteBuffer(buffer->Values(), static_cast<std::int64_t>(n) * bytes);
    }
}

std::int64_t ReadNumbers(TStream& Stream, double* Values, TPrecision P, std::int64_t N)
{
    if (N <= 0) return 0;
    if (P == prDouble) return Stream.Read(Values, N * 8) / 8;
    const int bytes = kNumberBytes[P];
    // A memory stream's data are decoded where they lie; the position moves past what a Read of the numbers' bytes
    // would have taken.
    auto* memory = dynamic_cast<TMemoryStream*>(&Stream);
    if (memory && !InData(*memory, Values, N * 8)) {
        const std::int64_t position = memory->Position();
        const std::int64_t taken = std::clamp<std::int64_t>(memory->Size() - position, 0, N * bytes);
        detail::DecodeNumbers(static_cast<const std::byte*>(memory->Memory()) + position, Values, taken / bytes, P);
        memory->Seek(taken, soCurrent);
        return taken / bytes;
    }
    const int chunk = kChunkDoubles * 8 / bytes;
    detail::TVecTemp buffer;
    buffer->SetLength(kChunkDoubles);
    std::int64_t done = 0;
    while (done < N) {
        const int want = static_cast<int>(std::min<std::int64_t>(chunk, N - done));
        const std::int64_t got = Stream.Read(buffer->Values(), static_cast<std::int64_t>(want) * bytes) / bytes;
        detail::DecodeNumbers(buffer->Values(), Values + done, got, P);
        done += got;
        if (got < want) break;
    }
    return done;
}

// Doubles in a real header: ordinals of Booleans.
double Flag(bool B)
{
    return B ? 1.0 : 0.0;
}

}  // namespace

// ---- Module functions -------------------------------------------------------------------------------------------

int SizeOfPrecision(TPrecision Precision, bool Complex)
{
    if (!KnownPrecision(Precision)) return 0;
    return kNumberBytes[Precision] * (Complex ? 2 : 1);
}

void WriteShortString(TStream& Stream, const std::string& S)
{
    const std::int32_t n = static_cast<std::int32_t>(std::min<std::size_t>(S.size(), INT32_MAX));
    Stream.WriteBuffer(&n, sizeof n);
    Stream.WriteBuffer(S.data(), n);
}

std::string ReadShortString(TStream& Stream)
{
    std::int32_t n = 0;
    Stream.ReadBuffer(&n, sizeof n);
    const std::int64_t stored = std::max<std::int32_t>(n, 0);
    if (stored > Stream.Size() - Stream.Position()) throw EReadError();
    std::string s(static_cast<std::size_t>(std::min<std::int64_t>(stored, 254)), '\0');
    Stream.ReadBuffer(s.data(), static_cast<std::int64_t>(s.size()));
    // The rest of a longer caption is skipped, so whatever follows is read from its start.
    if (stored > 254) Stream.Seek(stored - 254, soCurrent);
    return s;
}

void WriteBinaryValues(TStream& Stream, const double* Values, TPrecision Precision, TRounding Rounding,
                       std::int64_t Count, bool Complex)
{
    detail::CheckEncoding(Precision, Rounding);
    WriteNumbers(Stream, Values, Precision, Rounding, NumbersOf(Count, Complex));
}

std::int64_t ReadBinaryValues(TStream& Stream, double* Values, TPrecision Precision, std::int64_t Count, bool Complex)
{
    detail::CheckEncoding(Precision, rnTrunc);
    return ReadNumbers(Stream, Values, Precision, NumbersOf(Count, Complex));
}

// ---- Shared by the vector and matrix readers --------------------------------------------------------------------

namespace detail {

bool Integer(float V, int& Out)
{
    if (!std::isfinite(V)) return false;
    const double x = V;
    double r = std::floor(x + 0.5);
    if (r - x == 0.5 && std::fmod(r, 2.0) != 0.0) r -= 1.0;  // ties to even
    Out = static_cast<int>(std::clamp(r, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
    return true;
}

bool WholeInRange(float V, std::int64_t High, int& Out)
{
    if (!std::isfinite(V) || V < 0 || static_cast<double>(V) > static_cast<double>(High) || V != std::floor(V))
        return false;
    Out = static_cast<int>(V);
    return true;
}

bool Ordinal(float V, int Count, int& Out)
{
    return Integer(V, Out) && Out >= 0 && Out < Count;
}

TStreamVersion CheckVersion(float Version, float Magic)
{
    TStreamVersion v;
    if (!Integer(Version, v.Version)) ERaise(msg::kWrongFormat);
    if (v.Version > kLastVersionWithoutCaption) {
        int magic = 0;
        if (!Integer(Magic, magic) || magic != kStreamMagic) ERaise(msg::kWrongFormat);
        v.HasCaption = true;
    }
    return v;
}

std::string ReadCaption(TStream& Stream, const char* ReadError)
{
    try {
        return ReadShortString(Stream);
    } catch (const EReadError&) {
        ERaise(ReadError);
    }
}

void RequireRest(TStream& Stream, std::int64_t Bytes, const char* ReadError)
{
    if (Bytes > Stream.Size() - Stream.Position()) ERaise(ReadError);
}

void CheckEncoding(TPrecision Precision, TRounding Rounding)
{
    if (!KnownPrecision(Precision)) ERaise(msg::kPrecisionRange);
    if (static_cast<int>(Rounding) < 0 || static_cast<int>(Rounding) >= kRoundings) ERaise(msg::kRoundingRange);
}

namespace {

// An existing file that holds data is written over instead of being emptied first: emptying frees its cached pages
// and its disk blocks only for the write to take new ones, and a save of 80 MB over a file took about twice as long
// that way as one that reuses them. While the save runs, the first bytes of the file say "no object": they carry a
// NaN, which no reader takes for the ordinal both headers begin with. The object's own first bytes are held here
// and written last, after the file has been cut to the object's length, so a save that stops part way (the process
// killed) leaves a file that every reader refuses, as the cut file of an emptying save is refused.
class THeldStart : public TStream {
public:
    explicit THeldStart(TFileStream& File) : FFile(File)
    {
        const unsigned char mark[kHeld] = {0xFF, 0xFF, 0xFF, 0xFF};
        FFile.WriteBuffer(mark, kHeld);
        FFile.Seek(0, soBeginning);
    }

    std::int64_t Read(void* Buffer, std::int64_t Count) override
    {
        const std::int64_t n = FFile.Read(Buffer, Count);
        FPosition += n;
        return n;
    }

    std::int64_t Write(const void* Buffer, std::int64_t Count) override
    {
        if (Count <= 0) return 0;
        const auto* p = static_cast<const unsigned char*>(Buffer);
        std::int64_t held = 0;
        if (FPosition < kHeld) {
            held = std::min(Count, kHeld - FPosition);
            std::memcpy(FStart + FPosition, p, static_cast<std::size_t>(held));
            FHeld = std::max(FHeld, FPosition + held);
            FPosition = FFile.Seek(held, soCurrent);
        }
        const std::int64_t n = FFile.Write(p + held, Count - held);
        FPosition += n;
        return held + n;
    }

    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override
    {
        FPosition = FFile.Seek(Offset, Origin);
        return FPosition;
    }

    void SetSize(std::int64_t Value) override
    {
        FFile.SetSize(Value);
        FPosition = FFile.Position();
    }

    std::int64_t Size() override { return FFile.Size(); }

    // Cuts the file where the object ends, then writes its first bytes.
    void Finish()
    {
        const std::int64_t end = FPosition;
        if (FFile.Size() > end) FFile.SetSize(end);
        FFile.Seek(0, soBeginning);
        FFile.WriteBuffer(FStart, FHeld);
        FFile.Seek(end, soBeginning);
    }

private:
    static constexpr std::int64_t kHeld = 4;
    TFileStream& FFile;
    unsigned char FStart[kHeld] = {};
    std::int64_t FHeld = 0;
    std::int64_t FPosition = 0;
};

}  // namespace

void SaveObjectToFile(const std::string& FileName, bool Append, std::int64_t Bytes,
                      const std::function<void(TStream&)>& Write)
{
    std::error_code ec;
    const bool append = Append && std::filesystem::exists(FileName, ec);
    // Only a regular file with data is written over (a device or a pipe is written as it always is).
    const std::uintmax_t size = Append ? 0 : std::filesystem::file_size(FileName, ec);
    bool over = !Append && !ec && size > 0;
    std::optional<TFileStream> file;
    if (over) {
        try {
            file.emplace(FileName, fmOpenReadWrite);
        } catch (const EFOpenError&) {
            over = false;  // opened as a new file below, which raises the creation error where it fails too
        }
    }
    if (!file) file.emplace(FileName, append ? fmOpenWrite : fmCreate);
    const std::int64_t start = append ? file->Seek(0, soEnd) : 0;
    file->Preallocate(Bytes);
    try {
        if (over) {
            THeldStart stream(*file);
            Write(stream);
            stream.Finish();
        } else {
            Write(*file);
        }
    } catch (...) {
        // Nothing half-written stays behind: the file is cut back to what it held.
        try {
            file->SetSize(start);
        } catch (...) {
        }
        throw;
    }
}

std::int64_t SavedBytes(int HeaderBytes, const std::string& Caption, std::int64_t Numbers)
{
    return HeaderBytes + 4 + static_cast<std::int64_t>(Caption.size()) + 8 * Numbers;
}

void LoadObjectFromFile(const std::string& FileName, const std::function<void(TStream&)>& Read)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    Read(file);
}

}  // namespace detail

// ---- The vector -------------------------------------------------------------------------------------------------

namespace {

constexpr int kVecHeaderBytes = 44;
using TVecHeader = detail::THeaderSingles<kVecHeaderBytes>;

}  // namespace

void TVecs::WriteHeader(TStream& Stream, TPrecision Precision, TRounding Rounding) const
{
    detail::CheckEncoding(Precision, Rounding);
    if (FLength > detail::kMaxStreamSize) ERaise(msg::kStreamLength);
    TVecHeader h;
    h.Put(0, Flag(FComplex));
    h.Put(4, FLength);
    h.Put(12, Flag(FConditionCheck));
    h.Put(16, Precision);
    h.Put(20, detail::kStreamVersion);
    h.Put(24, 8);
    h.Put(28, FTag);
    h.Put(32, detail::kStreamMagic);
    Stream.WriteBuffer(h.Data, kVecHeaderBytes);
    WriteShortString(Stream, FCaption);
}

void TVecs::WriteValues(TStream& Stream, TPrecision Precision, TRounding Rounding) const
{
    if (FLength == 0) return;
    WriteBinaryValues(Stream, FValues, Precision, Rounding, FLength, FComplex);
}

void TVecs::SaveToStream(TStream& Stream, TPrecision Precision, TRounding Rounding) const
{
    WriteHeader(Stream, Precision, Rounding);
    WriteValues(Stream, Precision, Rounding);
}

TPrecision TVecs::ReadHeader(TStream& Stream)
{
    TVecHeader h;
    if (Stream.Read(h.Data, kVecHeaderBytes) != kVecHeaderBytes) ERaise(msg::kReadStream);
    const detail::TStreamVersion v = detail::CheckVersion(h.Get(20), h.Get(32));
    int complex = 0, length = 0, check = 0, precision = 0, tag = FTag;
    const bool valid =
        detail::Ordinal(h.Get(0), 2, complex) &&
        detail::WholeInRange(h.Get(4), complex ? detail::kMaxRealCapacity / 2 : detail::kMaxRealCapacity, length) &&
        detail::Ordinal(h.Get(12), 2, check) && detail::Ordinal(h.Get(16), kPrecisions, precision) &&
        (!v.HasCaption || detail::Integer(h.Get(28), tag));
    if (!valid) ERaise(msg::kWrongFormat);
    const std::string caption = v.HasCaption ? detail::ReadCaption(Stream, msg::kReadStream) : FCaption;
    // The values, with the two further numbers of the old versions, must be in the stream.
    const auto p = static_cast<TPrecision>(precision);
    const bool old = v.Version >= 0 && v.Version <= 103;
    const std::int64_t numbers = NumbersOf(length, complex != 0) + (old && length > 0 ? 2 : 0);
    detail::RequireRest(Stream, numbers * kNumberBytes[p], msg::kReadStream);

    CheckSize(length, complex != 0);
    FTag = tag;
    FCaption = caption;
    Size(length, complex != 0);
    FConditionCheck = check != 0;
    FStreamVersion = v.Version;
    return p;
}

std::int64_t TVecs::ReadValues(TStream& Stream, TPrecision Precision)
{
    detail::CheckEncoding(Precision, rnTrunc);
    const int version = FStreamVersion;
    FStreamVersion = -1;
    if (FLength == 0) return 0;
    const std::int64_t n = NumbersOf(FLength, FComplex);
    std::int64_t got = ReadNumbers(Stream, FValues, Precision, n);
    if (version >= 0 && version <= 103 && got == n) {
        // The two numbers that old streams carry past the values: into the spare room, where the vector owns it.
        double dropped[2];
        double* extra = !FAdopted && !FIsSubRange && FRoom >= n + 2 ? FValues + n : dropped;
        got += ReadNumbers(Stream, extra, Precision, 2);
    }
    return got;
}

void TVecs::LoadFromStream(TStream& Stream)
{
    const TPrecision p = ReadHeader(Stream);
    const bool old = FStreamVersion >= 0 && FStreamVersion <= 103 && FLength > 0;
    const std::int64_t expected = NumbersOf(FLength, FComplex) + (old ? 2 : 0);
    if (ReadValues(Stream, p) != expected) ERaise(msg::kReadStream);
}

TVecs& TVecs::LoadFromFile(const std::string& FileName)
{
    detail::LoadObjectFromFile(FileName, [this](TStream& S) { LoadFromStream(S); });
    return *this;
}

void TVecs::SaveBinaryStream(TStream& Stream) const
{
    SaveToStream(Stream, prDouble, rnTrunc);
}

void TVecs::LoadBinaryStream(TStream& Stream)
{
    LoadFromStream(Stream);
}

void TVec0::SaveToFile(const std::string& FileName, bool Append) const
{
    detail::SaveObjectToFile(FileName, Append,
                             detail::SavedBytes(kVecHeaderBytes, FCaption, NumbersOf(FLength, FComplex)),
                             [this](TStream& S) { SaveToStream(S, prDouble, rnTrunc); });
}

}  // namespace tarnel
