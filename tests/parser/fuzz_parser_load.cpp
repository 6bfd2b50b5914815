// The libFuzzer target of the parser's stream record (built by clang with -fsanitize=fuzzer,address,undefined).
#include <cstddef>
#include <cstdint>

#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    return parsertest::FuzzLoad(Data, Size);
}
