// The fuzz target's body, shared by the libFuzzer program (fuzz_parser.cpp) and the corpus replay of the suite.
#pragma once

#include <cstddef>
#include <cstdint>

namespace parsertest {

// The first byte picks Optimize (bit 0) and HexChar (the byte's upper bits, as an index into a few candidates); the
// rest is an expression text, compiled once and evaluated three times in a fresh language. Exceptions of the
// library are expected outcomes; anything else escapes.
int FuzzOne(const std::uint8_t* Data, std::size_t Size);

}  // namespace parsertest
