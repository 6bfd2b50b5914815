// Real and complex numbers as text and back, on the run-time's number formats (platform/rtl/NumText.h).
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "core/Dovi387.h"
#include "core/messages.h"

namespace tarnel {

namespace {

constexpr int kGeneralPrecision = 15;

// Appends the imaginary part and its unit after a real part's text (empty for a zero real part). Positive parts
// after a real part get a "+"; a NaN part is written as positive ("1+NANi"), so that it reads back.
std::string WithImaginary(std::string re, const std::string& im)
{
    if (!re.empty() && (im.empty() || im[0] != '-')) re += '+';
    return re + im + 'i';
}

bool ContainsUpper(std::string_view s, std::string_view word)
{
    return std::search(s.begin(), s.end(), word.begin(), word.end(),
                       [](char a, char b) { return (a >= 'a' && a <= 'z' ? a - 'a' + 'A' : a) == b; }) != s.end();
}

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view word)
{
    if (s.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = s[at + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != word[i]) return false;
    }
    return true;
}

// The position of the imaginary unit: the first "i" that does not begin an "inf" or "infinity" word.
std::size_t UnitPos(std::string_view s)
{
    for (std::size_t j = 0; j < s.size();) {
        if (StartsWithNoCase(s, j, "infinity")) {
            j += 8;
        } else if (StartsWithNoCase(s, j, "inf")) {
            j += 3;
        } else if (s[j] == 'i') {
            return j;
        } else {
            ++j;
        }
    }
    return std::string_view::npos;
}

// A plain decimal number, read without the general rules: an optional "-", then a digit or the point, and all of
// the text taken by from_chars. Every text it accepts reads the same through the rules (no words, no blanks, no "+",
// no other separator), so it only saves their work on the common case; anything else returns false.
bool PlainNumber(std::string_view s, double& v)
{
    const char* b = s.data();
    const char* e = b + s.size();
    const char* d = b < e && *b == '-' ? b + 1 : b;
    if (d == e || !((*d >= '0' && *d <= '9') || *d == '.')) return false;
    const std::from_chars_result r = std::from_chars(b, e, v);
    return r.ec == std::errc() && r.ptr == e;
}

// The walk of ExtractSample and ExtractCplx. Pos moves only when the field has been read.
template <class T, class Parse>
T Extract(std::string_view s, int& pos, std::string_view delimiter, Parse parse)
{
    if (pos < 1) ERaise(msg::kOffsetLow);
    if (delimiter.empty()) ERaise(msg::kDelimiterEmpty);
    std::size_t at = static_cast<std::size_t>(pos) - 1;
    while (at < s.size() && s.compare(at, delimiter.size(), delimiter) == 0) at += delimiter.size();
    const std::size_t end = at < s.size() ? s.find(delimiter, at) : std::string_view::npos;
    T result{};
    std::size_t next = s.size();
    if (end != std::string_view::npos) {
        result = parse(s.substr(at, end - at));
        next = end + delimiter.size();
    } else if (at < s.size()) {
        result = parse(s.substr(at));
    }
    pos = static_cast<int>(std::min<std::size_t>(next, INT_MAX - 1)) + 1;
    return result;
}

}  // namespace

std::string SampleToStr(double x, int Digits, const TFormatSettings& Settings)
{
    return FloatToStrF(x, ffGeneral, kGeneralPrecision, Digits, Settings);
}

std::string SampleToStr(double x, int Digits)
{
    return SampleToStr(x, Digits, CurrentFormatSettings());
}

std::string FormatSample(std::string_view Format, double x, const TFormatSettings& Settings)
{
    return Format.empty() ? SampleToStr(x, 0, Settings) : FormatFloat(Format, x, Settings);
}

std::string FormatSample(std::string_view Format, double x)
{
    return FormatSample(Format, x, CurrentFormatSettings());
}

std::string FormatSample(double x, std::string_view Format)
{
    return FormatSample(Format, x);
}

std::string CplxToStr(const TCplx& z, int Digits, const TFormatSettings& Settings)
{
    if (z.Im == 0) return SampleToStr(z.Re, Digits, Settings);
    const std::string re = z.Re == 0 ? std::string() : SampleToStr(z.Re, Digits, Settings);
    if (z.Im == 1) return WithImaginary(re, "");
    if (z.Im == -1) return WithImaginary(re, "-");
    return WithImaginary(re, SampleToStr(z.Im, Digits, Settings));
}

std::string CplxToStr(const TCplx& z, int Digits)
{
    return CplxToStr(z, Digits, CurrentFormatSettings());
}

std::string FormatCplx(const TCplx& z, std::string_view ReFormat, std::string_view ImFormat,
                       const TFormatSettings& Settings)
{
    if (ReFormat.empty() || ImFormat.empty()) return CplxToStr(z, 0, Settings);
    if (z.Im == 0) return FormatFloat(ReFormat, z.Re, Settings);
    std::string re = z.Re == 0 ? std::string() : FormatFloat(ReFormat, z.Re, Settings);
    // A format's sections cannot place the sign and unit around "NAN" or "INF": write them as CplxToStr does.
    if (!std::isfinite(z.Im)) return WithImaginary(std::move(re), SampleToStr(z.Im, 0, Settings));
    return re + FormatFloat(ImFormat, z.Im, Settings);
}

std::string FormatCplx(const TCplx& z, std::string_view ReFormat, std::string_view ImFormat)
{
    return FormatCplx(z, ReFormat, ImFormat, CurrentFormatSettings());
}

double StrToVal(std::string_view S)
{
    double v = 0;
    if (PlainNumber(S, v)) return v;
    const TFormatSettings settings = CurrentFormatSettings();
    if (TryStrToFloat(S, v, settings)) return v;
    const bool minus = S.find('-') != std::string_view::npos;
    if (ContainsUpper(S, "NAN")) return std::copysign(NAN, minus ? -1.0 : 1.0);
    if (ContainsUpper(S, "INF")) return minus ? -INF : INF;
    // The other separator for this one conversion; the process-wide setting is never written.
    TFormatSettings other = settings;
    other.DecimalSeparator = settings.DecimalSeparator == '.' ? ',' : '.';
    return StrToFloat(S, other);
}

double StrToSample(std::string_view S)
{
    return StrToVal(S);
}

TCplx StrToCplx(std::string_view S)
{
    double plain = 0;
    if (PlainNumber(S, plain)) return {plain, 0};
    const std::size_t unit = UnitPos(S);
    if (unit == std::string_view::npos) return {StrToVal(S), 0};
    // The sign that starts the imaginary part: at the front, or not the sign of an exponent.
    std::size_t sign = std::string_view::npos;
    for (std::size_t j = unit; j-- > 0;) {
        if ((S[j] == '+' || S[j] == '-') && (j == 0 || (S[j - 1] != 'E' && S[j - 1] != 'e'))) {
            sign = j;
            break;
        }
    }
    if (sign == std::string_view::npos) {
        const std::string_view im = S.substr(0, unit);
        return {0, im.empty() ? 1.0 : StrToVal(im)};
    }
    const std::string_view im = S.substr(sign, unit - sign);
    const double imag = im.size() == 1 ? (im[0] == '+' ? 1.0 : -1.0) : StrToVal(im);
    const std::string_view re = S.substr(0, sign);
    return {re.empty() || re == " " ? 0.0 : StrToVal(re), imag};
}

int OffsetPos(std::string_view SubStr, std::string_view S, int Offset)
{
    if (Offset < 1) ERaise(msg::kOffsetLow);
    const std::size_t from = static_cast<std::size_t>(Offset) - 1;
    if (from > S.size()) return 0;
    const std::size_t at = S.find(SubStr, from);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

double ExtractSample(std::string_view S, int& Pos, std::string_view Delimiter)
{
    return Extract<double>(S, Pos, Delimiter, StrToVal);
}

TCplx ExtractCplx(std::string_view S, int& Pos, std::string_view Delimiter)
{
    return Extract<TCplx>(S, Pos, Delimiter, StrToCplx);
}

}  // namespace tarnel
