// The parser suite's golden tables (tests/data/parser_golden.inc): the dictionary order, hexadecimal literals and
// random expressions with their values.
#pragma once

namespace parsertest {

struct THexCase {
    const char* Digits;
    bool Valid;
    long long Value;
};
struct TExprCase {
    const char* Text;
    bool UsesVariables;
    double Value;
};
#include "parser_golden.inc"

}  // namespace parsertest
