// The byte streams: the buffer forms of TStream, the memory streams and the file stream on POSIX descriptors.
#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "platform/rtl/HugePages.h"

namespace tarnel {

namespace {

// Writes of at least this many bytes are given their disk space first (Preallocate).
constexpr std::int64_t kPreallocateBytes = 1 << 20;

// Raised for a position below 0 (our own text, in the family of the read and write errors).
constexpr const char* kSeekError = "Stream seek error";

// The position that Seek asks for, or -1 when it would lie below 0 or overflow.
std::int64_t Target(std::int64_t Offset, TSeekOrigin Origin, std::int64_t Current, std::int64_t End)
{
    std::int64_t base = 0;
    switch (Origin) {
        case soBeginning:
            base = 0;
            break;
        case soCurrent:
            base = Current;
            break;
        case soEnd:
            base = End;
            break;
        default:
            return -1;
    }
    std::int64_t pos = 0;
    if (__builtin_add_overflow(base, Offset, &pos) || pos < 0) return -1;
    return pos;
}

}  // namespace

// ---- TStream --------------------------------------------------------------------------------------------------

std::int64_t TStream::Size()
{
    const std::int64_t pos = Seek(0, soCurrent);
    const std::int64_t end = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return end;
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError();
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError();
}

// ---- TMemoryStream --------------------------------------------------------------------------------------------

TMemoryStream::~TMemoryStream()
{
    std::free(FMemory);
}

void TMemoryStream::Clear()
{
    std::free(FMemory);
    FMemory = nullptr;
    FSize = FCapacity = FPosition = 0;
}

void TMemoryStream::Reserve(std::int64_t Bytes)
{
    if (Bytes <= FCapacity) return;
    // Growth by half again keeps a run of small writes linear; large blocks grow in place where the system can.
    std::int64_t capacity = std::max<std::int64_t>(Bytes, FCapacity + FCapacity / 2);
    capacity = std::max<std::int64_t>(capacity, 256);
    if (static_cast<std::uint64_t>(capacity) > std::numeric_limits<std::size_t>::max() / 2) throw std::bad_alloc();
    void* p = std::realloc(FMemory, static_cast<std::size_t>(capacity));
    if (!p) throw std::bad_alloc();
    FMemory = static_cast<std::byte*>(p);
    detail::AdviseHugePages(FMemory, static_cast<std::size_t>(capacity));
    FCapacity = capacity;
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count)
{
    if (Count <= 0 || FPosition >= FSize) return 0;
    const std::int64_t n = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, FMemory + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::byte* TMemoryStream::Claim(std::int64_t Count)
{
    std::int64_t end = 0;
    if (__builtin_add_overflow(FPosition, Count, &end)) return nullptr;
    if (end > FSize) {
        Reserve(end);
        // A position past the end leaves a gap, which reads back as zeros.
        if (FPosition > FSize) std::memset(FMemory + FSize, 0, static_cast<std::size_t>(FPosition - FSize));
        FSize = end;
    }
    std::byte* p = FMemory + FPosition;
    FPosition = end;
    return p;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count <= 0) return 0;
    std::byte* p = Claim(Count);
    if (!p) return 0;
    std::memcpy(p, Buffer, static_cast<std::size_t>(Count));
    return Count;
}

void* TMemoryStream::WriteSpace(std::int64_t Count)
{
    if (Count <= 0) return nullptr;
    std::byte* p = Claim(Count);
    if (!p) throw EWriteError();
    return p;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    const std::int64_t pos = Target(Offset, Origin, FPosition, FSize);
    if (pos < 0) throw EStreamError(kSeekError);
    FPosition = pos;
    return pos;
}

void TMemoryStream::SetSize(std::int64_t Value)
{
    if (Value < 0) throw EStreamError(kSeekError);
    if (Value > FSize) {
        Reserve(Value);
        std::memset(FMemory + FSize, 0, static_cast<std::size_t>(Value - FSize));
    }
    FSize = Value;
    if (FPosition > FSize) FPosition = FSize;
}

// ---- TStringStream --------------------------------------------------------------------------------------------

TStringStream::TStringStream(const std::string& S)
{
    WriteString(S);
    SetPosition(0);
}

std::string TStringStream::DataString() const
{
    const auto* p = static_cast<const char*>(Memory());
    return p ? std::string(p, static_cast<std::size_t>(Size())) : std::string();
}

std::string TStringStream::ReadString(std::int64_t Count)
{
    const std::int64_t n = std::max<std::int64_t>(0, std::min(Count, Size() - Position()));
    std::string s(static_cast<std::size_t>(n), '\0');
    Read(s.data(), n);
    return s;
}

// ---- TFileStream ----------------------------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, std::uint16_t Mode) : FFileName(FileName)
{
    const bool create = (Mode & fmCreate) == fmCreate;
    int flags = O_CLOEXEC;
    if (create) {
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    } else {
        switch (Mode & 0x3) {
            case fmOpenWrite:
                flags |= O_WRONLY;
                break;
            case fmOpenReadWrite:
                flags |= O_RDWR;
                break;
            default:
                flags |= O_RDONLY;
                break;
        }
    }
    int error = 0;
    do {
        FHandle = ::open(FileName.c_str(), flags, 0666);
    } while (FHandle < 0 && errno == EINTR);
    if (FHandle < 0) {
        error = errno;
    } else {
        struct stat st {};
        if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) error = EISDIR;
    }
    if (error != 0) {
        if (FHandle >= 0) ::close(FHandle);
        FHandle = -1;
        const std::string reason = std::strerror(error);
        if (create) throw EFCreateError("Cannot create file \"" + FileName + "\". " + reason);
        throw EFOpenError("Cannot open file \"" + FileName + "\". " + reason);
    }
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0) ::close(FHandle);
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count)
{
    std::int64_t done = 0;
    auto* p = static_cast<char*>(Buffer);
    while (done < Count) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::int64_t>(Count - done, 1 << 30));
        const ssize_t r = ::read(FHandle, p + done, chunk);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;  // the end, or a refusal: what was read so far counts
        done += r;
    }
    return done;
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count)
{
    if (Count >= kPreallocateBytes) Preallocate(Count);
    std::int64_t done = 0;
    const auto* p = static_cast<const char*>(Buffer);
    while (done < Count) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::int64_t>(Count - done, 1 << 30));
        const ssize_t w = ::write(FHandle, p + done, chunk);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) break;
        done += w;
    }
    return done;
}

void TFileStream::Preallocate(std::int64_t Count)
{
#if defined(FALLOC_FL_KEEP_SIZE)
    const off_t position = ::lseek(FHandle, 0, SEEK_CUR);
    if (Count > 0 && position >= 0) ::fallocate(FHandle, FALLOC_FL_KEEP_SIZE, position, Count);
#else
    (void)Count;
#endif
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    const off_t current = ::lseek(FHandle, 0, SEEK_CUR);
    const std::int64_t end = Origin == soEnd ? Size() : 0;
    const std::int64_t pos = Target(Offset, Origin, current, end);
    if (current < 0 || pos < 0 || ::lseek(FHandle, pos, SEEK_SET) < 0) throw EStreamError(kSeekError);
    return pos;
}

std::int64_t TFileStream::Size()
{
    struct stat st {};
    return ::fstat(FHandle, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : 0;
}

void TFileStream::SetSize(std::int64_t Value)
{
    if (Value < 0) throw EStreamError(kSeekError);
    if (::ftruncate(FHandle, Value) != 0) throw EWriteError();
    if (Position() > Value) Seek(Value, soBeginning);
}

}  // namespace tarnel
