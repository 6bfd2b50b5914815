// The run-time's Format: text from a format and a list of typed arguments, as the component framework offered it.
//
// A conversion is "%" [index ":"] ["-"] [width] ["." precision] letter; width and precision may be "*" (taken from
// the next Integer argument); "%%" is one percent sign. The letters, upper or lower case:
//   d  an Integer or Int64 in decimal; the precision is the least number of digits ("%.4d" of -5 is "-0005")
//   u  the same read as unsigned (an Integer -1 is 4294967295)
//   x  an Integer or Int64 in upper-case hexadecimal; the precision is the least number of digits; a negative
//      Integer shows its 8 digits, a negative Int64 its 16
//   e  a number in exponent form: precision significant digits (15 without one), trailing zeros kept, "E" and a
//      signed exponent of at least three digits ("%.5e" of 12345.678 is "1.2346E+004")
//   f  fixed: precision decimals (2 without one)
//   g  general: precision significant digits (15 without one), trailing zeros dropped, the exponent form from
//      10^precision on and below 1E-5, its exponent unsigned when positive and of at least three digits
//   n  fixed with thousands separators: precision decimals (2 without one)
//   m  money: like n, followed by "$"
//   p  a pointer as 16 upper-case hexadecimal digits
//   s  a string; a precision keeps only that many characters
// A number is an Extended (double) or a Currency; the decimal separator is always '.', the thousands separator ','.
// A width pads with blanks on the left, or on the right after '-'; a leading 0 of the width is only a digit of it.
//
// Format raises EConvertError on a malformed conversion ("Invalid format specifier : "%+d""; flags '+', '#', ' '
// and ',' are malformed, so are an unknown letter and a "%" at the end) and on a missing or unsuitable argument
// ("Invalid argument index in format "%d""). Arguments beyond the conversions are ignored.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/rtl/NumText.h"

namespace tarnel {

// One typed argument of Format (the framework's "array of const" entry). It refers to, and does not copy, a
// string given as a pointer; a std::string is copied.
struct TVarRec {
    enum TKind { vtInteger, vtInt64, vtExtended, vtCurrency, vtString, vtPointer };

    TKind Kind = vtInteger;
    std::int64_t I = 0;  // vtInteger, vtInt64; vtCurrency in units of 1/10000
    double X = 0;        // vtExtended
    std::string S;       // vtString
    const void* P = nullptr;

    TVarRec() = default;
    TVarRec(int Value) : Kind(vtInteger), I(Value) {}
    TVarRec(std::int64_t Value) : Kind(vtInt64), I(Value) {}
    TVarRec(double Value) : Kind(vtExtended), X(Value) {}
    TVarRec(const char* Value) : Kind(vtString), S(Value ? Value : "") {}
    TVarRec(std::string Value) : Kind(vtString), S(std::move(Value)) {}
    TVarRec(const void* Value) : Kind(vtPointer), P(Value) {}
    // A currency value: Units / 10000.
    static TVarRec Currency(std::int64_t Units)
    {
        TVarRec r;
        r.Kind = vtCurrency;
        r.I = Units;
        return r;
    }
};

std::string Format(std::string_view Fmt, std::span<const TVarRec> Args);

}  // namespace tarnel
