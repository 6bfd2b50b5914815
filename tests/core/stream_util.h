// Byte-level helpers of the stream suites: the bytes a memory stream holds, and a memory stream made from bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rtl/Streams.h"

namespace streamtest {

using Bytes = std::vector<unsigned char>;

// Everything M holds, from its start.
inline Bytes Content(tarnel::TMemoryStream& M)
{
    const auto* p = static_cast<const unsigned char*>(M.Memory());
    return p ? Bytes(p, p + M.Size()) : Bytes();
}

// A memory stream holding these bytes, positioned at its start.
struct TBytesStream : tarnel::TMemoryStream {
    explicit TBytesStream(const Bytes& B)
    {
        if (!B.empty()) WriteBuffer(B.data(), static_cast<std::int64_t>(B.size()));
        SetPosition(0);
    }
};

}  // namespace streamtest
