// The pieces that the vector and matrix stream readers and writers share: the header's singles, their
// validation, the file wrappers. Internal to the library.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "core/binary_stream.h"

namespace tarnel::detail {

inline constexpr int kStreamVersion = 150;
inline constexpr int kStreamMagic = 64019;
// Versions up to this one have no caption record and no tag.
inline constexpr int kLastVersionWithoutCaption = 104;
// Sizes above 2^24 are not all exact as singles.
inline constexpr std::int64_t kMaxStreamSize = 16777216;

// A header of singles, written and read by offset.
template <int Bytes>
struct THeaderSingles {
    unsigned char Data[Bytes] = {};
    void Put(int Offset, double V)
    {
        const float f = static_cast<float>(V);
        std::memcpy(Data + Offset, &f, sizeof f);
    }
    float Get(int Offset) const
    {
        float f;
        std::memcpy(&f, Data + Offset, sizeof f);
        return f;
    }
};

// A header single read as an Integer: rounded to nearest (ties to even, whatever the rounding mode in force) and
// held to the Integer range, so that a value stored inexactly above 2^24 (a Tag of 2^31 - 1 is stored as 2^31)
// still reads; false when it is not finite.
bool Integer(float V, int& Out);
// A size: false unless it is an integer within [0, High].
bool WholeInRange(float V, std::int64_t High, int& Out);
// An enumeration or Boolean stored by its ordinal: false unless it rounds to 0 .. Count-1.
bool Ordinal(float V, int Count, int& Out);

// The stored version and the caption of a header, after the magic check: raises WrongFormat for a version that
// is not a finite integer or, above 104, a magic other than 64019; reads the caption record of the newer
// versions (the bytes after the header) with ReadError when it runs past the stream.
struct TStreamVersion {
    int Version = -1;
    bool HasCaption = false;
};
TStreamVersion CheckVersion(float Version, float Magic);
std::string ReadCaption(TStream& Stream, const char* ReadError);

// Raises ReadError unless Bytes more bytes lie between the stream's position and its end.
void RequireRest(TStream& Stream, std::int64_t Bytes, const char* ReadError);

// Rounding and precision as the caller gave them: refuses ordinals outside the enumerations.
void CheckEncoding(TPrecision Precision, TRounding Rounding);

// Writes an object of Bytes bytes to a file (appended when Append and the file exists, else the file holds just the
// object afterwards), its disk space reserved first; a write that fails leaves an appended file as it was before and
// any other empty.
void SaveObjectToFile(const std::string& FileName, bool Append, std::int64_t Bytes,
                      const std::function<void(TStream&)>& Write);
// The bytes of an object saved as Doubles: its header, the caption record and Numbers values.
std::int64_t SavedBytes(int HeaderBytes, const std::string& Caption, std::int64_t Numbers);
void LoadObjectFromFile(const std::string& FileName, const std::function<void(TStream&)>& Read);

}  // namespace tarnel::detail
