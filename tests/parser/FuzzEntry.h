// The fuzz targets' bodies, shared by the libFuzzer programs (fuzz_parser.cpp, fuzz_parser_load.cpp) and the corpus
// replay of the suite.
#pragma once

#include <cstddef>
#include <cstdint>

namespace parsertest {

// The first byte picks Optimize (bit 0) and HexChar (the byte's upper bits, as an index into a few candidates); the
// rest is an expression text, added to a fresh parser and evaluated three times. Exceptions of the library are
// expected outcomes; anything else escapes.
int FuzzOne(const std::uint8_t* Data, std::size_t Size);

// The bytes are a parser's stream record (length and text) loaded into a parser with MaxExpressions from the first
// byte; every expression is then evaluated twice, the list is thinned and evaluated again, saved, loaded into a
// second parser and cleared, so that names rebound by ":=" are read after the storage they named was freed.
int FuzzLoad(const std::uint8_t* Data, std::size_t Size);

}  // namespace parsertest
