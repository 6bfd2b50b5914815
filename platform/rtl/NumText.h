// The run-time's number text: float formatting and parsing as the component framework offered them.
//
// Nothing here reads the C locale: no printf, strtod or streams (a Qt program sets LC_NUMERIC from the
// environment, which would move the decimal point under the C library's feet). One digit engine on
// std::to_chars/from_chars serves every conversion. Its rounding is the framework's: take the value's 17
// significant digits, correctly rounded, then round half away from zero to the digits the format shows, so
// FormatFloat("0.0", 0.25) is "0.3" and FormatFloat("0.00", 1.005) is "1.00" (1.005 is 1.00499999999999989...).
//
// NaN and the infinities are written "NAN", "INF" and "-INF" by every formatting routine; none of them raises.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/SysUtils.h"

namespace tarnel {

// Raised by the parsing routines (and later by every text conversion of the library) on malformed text.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// The separators of number text. The process-wide settings start from the user's LC_NUMERIC, read once on first
// use (a separator the locale writes as several bytes, or not at all, falls back to "." and ","); they are held
// atomically, so reading and setting them from several threads is safe. Every conversion also has an overload
// that takes the settings to use instead.
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
};

TFormatSettings CurrentFormatSettings();
char DecimalSeparator();
void SetDecimalSeparator(char Value);
char ThousandSeparator();
void SetThousandSeparator(char Value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed };

// Precision counts significant digits: below 2 it acts as 2, above 17 as 17 (all a Double has).
// - ffGeneral: Precision significant digits, trailing zeros dropped; fixed notation from 1E-5 up to below
//   10^Precision, else "1.5E-7" style: no "+" and at least Digits exponent digits (at most 4). -0 gives "0".
// - ffExponent: Precision significant digits, trailing zeros kept, the exponent always signed and of at least
//   Digits digits (at most 4): "1.2E-04" for 1.2E-4 at (2, 2).
// - ffFixed: Digits decimals (0..18; more act as 18); Precision cuts no digits. A value that rounds to zero has
//   no sign. A text longer than 255 characters becomes the exponent text of two digits ("1.8E+308").
std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& Settings);

// The shortest text that reads back to the same Double, laid out as the general format of 15 digits lays out its
// digits: fixed notation from 1E-5 up to below 1E15, else "1.5E-7" style ("0.30000000000000004", "1E-310",
// "1.2345678901234568E17"). Always "." as the decimal separator; "-0" for a negative zero, "NAN", "INF" and "-INF".
// The text of the MatrixMarket writers, which other programs read.
std::string FloatToStrShortest(double Value);

// Formats by a format string: "0" (digit or zero), "#" (digit if any), "." (the first one: decimal separator),
// "," (thousands separators in the integer part), "E+", "E-", "e+", "e-" followed by zeros (exponent, at most
// 4 digits), text in double or single quotes, any other character as it is. Up to three sections
// positive;negative;zero: the negative section formats the magnitude, the zero section serves an exact 0, an empty
// chosen section (or an empty format) gives the general text of 15 digits. Values from 1E17 on are written in that
// general text as well.
std::string FormatFloat(std::string_view Format, double Value);
std::string FormatFloat(std::string_view Format, double Value, const TFormatSettings& Settings);

// Accepts blanks (spaces, tabs), an optional sign, digits with at most one decimal separator and at least one
// digit, an optional exponent "E" or "e" with an optional sign and at least one digit, blanks. No words, no
// hexadecimal, no thousands separators. Overflow gives a signed infinity, underflow a signed zero.
// StrToFloat raises EConvertError with the text "\"S\" is an invalid float"; TryStrToFloat returns false and
// leaves Value alone.
double StrToFloat(std::string_view S);
double StrToFloat(std::string_view S, const TFormatSettings& Settings);
bool TryStrToFloat(std::string_view S, double& Value);
bool TryStrToFloat(std::string_view S, double& Value, const TFormatSettings& Settings);

// Integers as the run-time reads them: blanks in front, an optional sign, then decimal digits or "$" or "0x"
// followed by hexadecimal digits; nothing after them; the value must fit an Integer (32 bits). StrToInt raises
// EConvertError "'S' is not a valid integer value"; TryStrToInt returns false and leaves Value alone.
int StrToInt(std::string_view S);
bool TryStrToInt(std::string_view S, int& Value);

namespace numtext {

// The separators for a locale's radix and grouping texts (nl_langinfo): a one-byte text is taken as it is; a
// grouping of several bytes (a narrow or no-break space) becomes " "; otherwise "." and "," (or "," and ".").
TFormatSettings SettingsFromLocale(const char* Radix, const char* Grouping);

// The digit engine, for the run-time's other formatting routines. A finite value as significant decimal digits:
// |value| = D[0].D[1]...D[Count-1] × 10^Exp, no trailing zeros. Zero is Count = 1, D = "0", Exp = 0.
struct TDigits {
    char D[18];
    int Count;
    int Exp;
    bool Negative;
    bool IsZero() const { return D[0] == '0'; }
    char At(int i) const { return i >= 0 && i < Count ? D[i] : '0'; }  // digit i, zeros past the stored ones
};

// The 17 significant digits of a finite value, correctly rounded, trailing zeros dropped.
TDigits Digits17(double Value);
// Rounds half away from zero to Count significant digits (Count >= 1).
void RoundSignificant(TDigits& T, int Count);
// Rounds half away from zero to Decimals digits after the point (Decimals >= 0); may give zero.
void RoundDecimals(TDigits& T, int Decimals);

}  // namespace numtext

}  // namespace tarnel
