// The run-time's byte streams: the abstract TStream, the growable TMemoryStream (with the text form
// TStringStream) and TFileStream on a file of the system.
//
// What every stream promises:
// - Read and Write move at most Count bytes at the current position, advance it by what they moved and return
//   that count (0 for a Count of 0 or below, at the end of the data, or when the system refuses).
// - ReadBuffer and WriteBuffer move all Count bytes or raise EReadError "Stream read error" / EWriteError
//   "Stream write error".
// - Seek returns the new position. A position below 0 is refused with EStreamError "Stream seek error" and
//   the position stays where it was. A position past the end is allowed: reading there gives nothing, writing
//   there first fills the gap with zero bytes.
// - All stream errors derive from EStreamError, itself a tarnel::Exception.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/SysUtils.h"

namespace tarnel {

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
};
class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
};
// A file that could not be created or opened: the message names the file and the system's reason,
// "Cannot create file "/no/such/dir/a.vec". No such file or directory".
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    TStream() = default;
    virtual ~TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    // Makes the stream Value bytes long; the position is kept, or moved back to the new end when it lay past it.
    virtual void SetSize(std::int64_t Value) = 0;
    virtual std::int64_t Size();

    void ReadBuffer(void* Buffer, std::int64_t Count);
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Pos) { Seek(Pos, soBeginning); }
};

// The data in one growable block of memory.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t Value) override;
    std::int64_t Size() override { return FSize; }
    std::int64_t Size() const { return FSize; }

    // The data, Size bytes (nil while the stream has never held any).
    void* Memory() { return FMemory; }
    const void* Memory() const { return FMemory; }
    // Empties the stream and frees its memory.
    void Clear();
    // For a writer that fills Count bytes in place: the stream grows as Write would make it (a gap before the
    // position reads as zeros), the position moves past the bytes, and the returned address is where they go (nil for
    // none). Their content is unspecified until the caller writes them. Raises EWriteError where Write would write
    // nothing.
    void* WriteSpace(std::int64_t Count);

protected:
    // Room for at least Bytes bytes; the bytes past the size are not initialised. Raises std::bad_alloc.
    void Reserve(std::int64_t Bytes);

private:
    // WriteSpace without the raise: nil where the end would overflow.
    std::byte* Claim(std::int64_t Count);
    std::byte* FMemory = nullptr;
    std::int64_t FSize = 0;
    std::int64_t FCapacity = 0;
    std::int64_t FPosition = 0;
};

// A memory stream seen as text of 8-bit characters.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const std::string& S = "");
    // The whole content as text.
    std::string DataString() const;
    // Writes the characters of S at the position.
    void WriteString(const std::string& S) { WriteBuffer(S.data(), static_cast<std::int64_t>(S.size())); }
    // Reads up to Count characters from the position.
    std::string ReadString(std::int64_t Count);
};

// File modes: one access mode, or fmCreate, optionally combined with a sharing flag. fmCreate creates the file or
// empties an existing one and opens it for reading and writing; fmOpenWrite keeps the content. The sharing
// flags are accepted and ignored: files are opened shared.
enum : std::uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream {
public:
    // Raises EFCreateError (fmCreate) or EFOpenError naming the file and the system's reason; a folder is
    // refused like a missing file.
    TFileStream(const std::string& FileName, std::uint16_t Mode);
    ~TFileStream() override;  // closes the file

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t Value) override;
    std::int64_t Size() override;

    const std::string& FileName() const { return FFileName; }
    // Gives the next Count bytes from the position their disk space in one piece before they are written (Write
    // does so itself for a large block): the file system then neither allocates while the data are copied nor
    // starts writing them back when the file is closed. Only a hint: the size stays, and where the system has no
    // support or no space the writes succeed or fail by themselves.
    void Preallocate(std::int64_t Count);

private:
    std::string FFileName;
    int FHandle = -1;
};

}  // namespace tarnel
