// The parser suite's golden tables: the dictionary order, hexadecimal literals and random expressions with their
// values (tests/data/parser_golden.inc); the built-in words, AsHexadecimal and the stream record
// (tests/data/parser_words_golden.inc).
#pragma once

#include <cmath>  // NAN and INFINITY of the tables

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

// tests/data/parser_words_golden.inc: the built-in words.
struct TConstantCase {
    const char* Name;
    double Value;
};
// A text valued with x bound to (XRe, XIm): the parts, the form, and the tolerance in units of the last place of the
// larger part's magnitude (0: bit for bit, NaN matching NaN).
struct TWordCase {
    const char* Text;
    double XRe, XIm;
    double Re, Im;
    bool Complex;
    int Ulps;
};
struct THexadecimalCase {
    const char* Text;
    const char* Hexadecimal;
};
#include "parser_words_golden.inc"

}  // namespace parsertest
