#include "platform/rtl/NumText.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tarnel {

// ---- Settings -------------------------------------------------------------------------------------------------

namespace numtext {

TFormatSettings SettingsFromLocale(const char* Radix, const char* Grouping)
{
    TFormatSettings s;
    const auto single = [](const char* t) { return t != nullptr && t[0] != '\0' && t[1] == '\0'; };
    if (single(Radix)) s.DecimalSeparator = Radix[0];
    if (single(Grouping) && Grouping[0] != s.DecimalSeparator)
        s.ThousandSeparator = Grouping[0];
    else if (Grouping != nullptr && Grouping[0] != '\0' && Grouping[1] != '\0')
        s.ThousandSeparator = ' ';  // the locales that group with several bytes group with a kind of space
    else
        s.ThousandSeparator = s.DecimalSeparator == ',' ? '.' : ',';
    return s;
}

}  // namespace numtext

namespace {

TFormatSettings FromUserLocale()
{
    // newlocale reads LC_ALL, LC_NUMERIC and LANG itself; the process locale (setlocale) stays untouched.
    locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return {};
    const TFormatSettings s = numtext::SettingsFromLocale(nl_langinfo_l(RADIXCHAR, loc), nl_langinfo_l(THOUSEP, loc));
    freelocale(loc);
    return s;
}

struct TSharedSettings {
    std::atomic<char> Decimal;
    std::atomic<char> Thousand;
    TSharedSettings()
    {
        const TFormatSettings s = FromUserLocale();
        Decimal.store(s.DecimalSeparator);
        Thousand.store(s.ThousandSeparator);
    }
};

TSharedSettings& Shared()
{
    static TSharedSettings settings;  // read once, on first use, thread-safely
    return settings;
}

}  // namespace

TFormatSettings CurrentFormatSettings()
{
    TSharedSettings& s = Shared();
    return {s.Decimal.load(std::memory_order_relaxed), s.Thousand.load(std::memory_order_relaxed)};
}
char DecimalSeparator()
{
    return Shared().Decimal.load(std::memory_order_relaxed);
}
void SetDecimalSeparator(char Value)
{
    Shared().Decimal.store(Value, std::memory_order_relaxed);
}
char ThousandSeparator()
{
    return Shared().Thousand.load(std::memory_order_relaxed);
}
void SetThousandSeparator(char Value)
{
    Shared().Thousand.store(Value, std::memory_order_relaxed);
}

// ---- Digit engine ---------------------------------------------------------------------------------------------

namespace numtext {

namespace {

// Whether |Value| (a > 0) lies exactly halfway between two numbers of 17 significant digits, its first digit at
// 10^exp10: whether 2·a·10^j is an odd integer, j = 16 - exp10. With a = m·2^q, m odd, that is
// m·5^j·2^(q+1+j): odd exactly when q + 1 + j = 0 and, for j < 0, 5^-j divides m.
bool ExactTie17(double a, int exp10)
{
    int binExp = 0;
    const double f = std::frexp(a, &binExp);
    std::uint64_t m = static_cast<std::uint64_t>(std::ldexp(f, 53));
    int q = binExp - 53;
    while ((m & 1) == 0) {
        m >>= 1;
        ++q;
    }
    const int j = 16 - exp10;
    if (q + 1 + j != 0) return false;
    if (j >= 0) return true;
    std::uint64_t p5 = 1;
    for (int i = 0; i < -j; ++i) {
        if (p5 > m) return false;
        p5 *= 5;
    }
    return m % p5 == 0;
}

}  // namespace

TDigits Digits17(double Value)
{
    TDigits t;
    t.Negative = std::signbit(Value);
    t.D[0] = '0';
    t.Count = 1;
    t.Exp = 0;
    if (Value == 0) return t;
    // "d.dddddddddddddddde±XX": 17 significant digits, correctly rounded.
    const double a = std::fabs(Value);
    char buf[40];
    std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 16);
    int e = 0;
    for (const char* p = buf + 20; p < r.ptr; ++p) e = e * 10 + (*p - '0');
    t.Exp = buf[19] == '-' ? -e : e;
    t.D[0] = buf[0];
    std::memcpy(t.D + 1, buf + 2, 16);
    if (ExactTie17(a, t.Exp)) {
        // to_chars breaks the tie to even; the framework rounds it away from zero. The value has exactly 18
        // significant digits, so 18 digits are exact: keep 17 and add one.
        r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 17);
        t.D[0] = buf[0];
        std::memcpy(t.D + 1, buf + 2, 16);
        t.D[17] = '9';  // anything from '5' on: the 17 digits round up
        t.Count = 18;
        RoundSignificant(t, 17);
    }
    int count = 17;
    while (count > 1 && t.D[count - 1] == '0') --count;
    t.Count = count;
    return t;
}

void RoundSignificant(TDigits& T, int Count)
{
    Count = std::max(Count, 1);
    if (Count >= T.Count) return;
    const bool up = T.D[Count] >= '5';
    T.Count = Count;
    if (up) {
        int i = Count - 1;
        while (i >= 0 && T.D[i] == '9') --i;
        if (i < 0) {  // 9.99.. became 10.0..
            T.D[0] = '1';
            T.Count = 1;
            ++T.Exp;
        } else {
            ++T.D[i];
            T.Count = i + 1;
        }
    }
    while (T.Count > 1 && T.D[T.Count - 1] == '0') --T.Count;
}

void RoundDecimals(TDigits& T, int Decimals)
{
    if (T.IsZero()) return;
    const long keep = static_cast<long>(T.Exp) + 1 + Decimals;  // significant digits left of the cut
    if (keep >= T.Count) return;
    if (keep >= 1) {
        RoundSignificant(T, static_cast<int>(keep));
    } else if (keep == 0 && T.D[0] >= '5') {  // 0.0005 at three decimals is 0.001
        T.D[0] = '1';
        T.Count = 1;
        T.Exp = -Decimals;
    } else {
        T.D[0] = '0';
        T.Count = 1;
        T.Exp = 0;
    }
}

}  // namespace numtext

// ---- Formatting -----------------------------------------------------------------------------------------------

namespace {

using numtext::TDigits;

bool NonFinite(double v, std::string& out)
{
    if (std::isnan(v)) {
        out = "NAN";
    } else if (std::isinf(v)) {
        out = v > 0 ? "INF" : "-INF";
    } else {
        return false;
    }
    return true;
}

// The integer digits of T, then Decimals digits after the separator.
void AppendFixed(std::string& out, const TDigits& t, int decimals, char sep)
{
    if (t.Exp < 0) {
        out += '0';
    } else {
        for (int i = 0; i <= t.Exp; ++i) out += t.At(i);
    }
    if (decimals > 0) {
        out += sep;
        for (int j = 1; j <= decimals; ++j) out += t.At(t.Exp + j);
    }
}

void AppendExponent(std::string& out, char letter, int e, bool plus, int minDigits)
{
    out += letter;
    if (e < 0)
        out += '-';
    else if (plus)
        out += '+';
    char buf[8];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, e < 0 ? -e : e);
    const int len = static_cast<int>(r.ptr - buf);
    out.append(std::max(minDigits - len, 0), '0');
    out.append(buf, r.ptr);
}

// "d.ddd" of Digits significant digits (zeros kept), then the exponent.
void AppendScientific(std::string& out, const TDigits& t, int digits, char sep, int expDigits, bool plus)
{
    out += t.D[0];
    if (digits > 1) {
        out += sep;
        for (int i = 1; i < digits; ++i) out += t.At(i);
    }
    AppendExponent(out, 'E', t.Exp, plus, expDigits);
}

// FloatToStrF's digits: the 17 of the value, first rounded half away from zero to 15 when no more than 15 are
// shown (so 1.005 at two decimals is "1.01", where FormatFloat writes "1.00").
constexpr int kShortDigits = 15;

void ShortRound(TDigits& t, long shown)
{
    if (shown <= kShortDigits) numtext::RoundSignificant(t, kShortDigits);
}

std::string General(double v, int precision, int expDigits, char sep)
{
    TDigits t = numtext::Digits17(v);
    if (t.IsZero()) return "0";
    ShortRound(t, precision);
    numtext::RoundSignificant(t, precision);
    std::string out;
    if (t.Negative) out += '-';
    if (t.Exp >= -5 && t.Exp < precision)
        AppendFixed(out, t, std::max(t.Count - 1 - t.Exp, 0), sep);
    else
        AppendScientific(out, t, t.Count, sep, std::max(expDigits, 1), false);
    return out;
}

constexpr int kMaxExpDigits = 4;
constexpr int kMaxFixedDecimals = 18;
constexpr std::size_t kMaxFixedText = 255;

}  // namespace

std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& Settings)
{
    std::string out;
    if (NonFinite(Value, out)) return out;
    const int precision = std::clamp(Precision, 2, 17);
    const int expDigits = std::clamp(Digits, 0, kMaxExpDigits);
    const char sep = Settings.DecimalSeparator;
    switch (Format) {
        case ffGeneral:
            return General(Value, precision, expDigits, sep);
        case ffExponent: {
            TDigits t = numtext::Digits17(Value);
            ShortRound(t, precision);
            numtext::RoundSignificant(t, precision);
            if (t.Negative && !t.IsZero()) out += '-';
            AppendScientific(out, t, precision, sep, std::max(expDigits, 1), true);
            return out;
        }
        case ffFixed: {
            const int decimals = std::clamp(Digits, 0, kMaxFixedDecimals);
            TDigits t = numtext::Digits17(Value);
            ShortRound(t, static_cast<long>(t.Exp) + 1 + decimals);
            numtext::RoundDecimals(t, decimals);
            if (t.Negative && !t.IsZero()) out += '-';
            AppendFixed(out, t, decimals, sep);
            if (out.size() > kMaxFixedText) return FloatToStrF(Value, ffExponent, 2, 0, Settings);
            return out;
        }
    }
    return General(Value, precision, expDigits, sep);
}

std::string FloatToStrShortest(double Value)
{
    std::string out;
    if (NonFinite(Value, out)) return out;
    if (Value == 0) return std::signbit(Value) ? "-0" : "0";
    // "d.ddde-XX": to_chars gives the shortest digits that read back.
    char buf[40];
    const std::to_chars_result r =
        std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::scientific);
    TDigits t;
    t.Negative = Value < 0;
    t.Count = 0;
    const char* p = buf;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p != '.') t.D[t.Count++] = *p;
    const bool negativeExp = p + 1 < r.ptr && p[1] == '-';
    int e = 0;
    for (p += 2; p < r.ptr; ++p) e = e * 10 + (*p - '0');
    t.Exp = negativeExp ? -e : e;
    while (t.Count > 1 && t.D[t.Count - 1] == '0') --t.Count;
    constexpr int kLayoutPrecision = 15;
    if (t.Negative) out += '-';
    if (t.Exp >= -5 && t.Exp < kLayoutPrecision)
        AppendFixed(out, t, std::max(t.Count - 1 - t.Exp, 0), '.');
    else
        AppendScientific(out, t, t.Count, '.', 1, false);
    return out;
}

std::string FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits)
{
    return FloatToStrF(Value, Format, Precision, Digits, CurrentFormatSettings());
}

// ---- FormatFloat ----------------------------------------------------------------------------------------------

namespace {

// One piece of a format section.
struct TToken {
    enum Kind { Literal, Zero, Hash, Point, Comma, Exponent } Kind;
    std::string_view Text;  // Literal
    char Letter = 'E';      // Exponent: "E" or "e"
    bool Plus = false;      // Exponent: "E+" shows the sign of positive exponents too
    int Digits = 0;         // Exponent: the least exponent digits
};

// Splits a section into tokens. Quoted text runs to its closing quote or to the end; an "E" or "e" that no sign
// and digit follow makes the rest of the section literal.
class TTokens {
public:
    explicit TTokens(std::string_view s) : FText(s) {}
    bool Next(TToken& t)
    {
        t = TToken{TToken::Literal, {}};
        if (FPos >= FText.size()) return false;
        const char c = FText[FPos];
        if (FRestLiteral) {
            t.Text = FText.substr(FPos);
            FPos = FText.size();
        } else if (c == '"' || c == '\'') {
            const std::size_t close = FText.find(c, FPos + 1);
            const std::size_t end = close == std::string_view::npos ? FText.size() : close;
            t.Text = FText.substr(FPos + 1, end - FPos - 1);
            FPos = std::min(end + 1, FText.size());
        } else if (c == '0' || c == '#' || c == '.' || c == ',') {
            t.Kind = c == '0' ? TToken::Zero : c == '#' ? TToken::Hash : c == '.' ? TToken::Point : TToken::Comma;
            ++FPos;
        } else if ((c == 'E' || c == 'e') && FPos + 1 < FText.size() &&
                   (FText[FPos + 1] == '+' || FText[FPos + 1] == '-')) {
            std::size_t end = FPos + 2;
            while (end < FText.size() && FText[end] == '0') ++end;
            const int zeros = static_cast<int>(end - FPos - 2);
            if (zeros == 0) {  // "E+" without digits is text
                t.Text = FText.substr(FPos, 2);
            } else {
                t.Kind = TToken::Exponent;
                t.Letter = c;
                t.Plus = FText[FPos + 1] == '+';
                t.Digits = std::min(zeros, kMaxExpDigits);
            }
            FPos = end;
        } else {
            t.Text = FText.substr(FPos, 1);
            FRestLiteral = c == 'E' || c == 'e';
            ++FPos;
        }
        return true;
    }

private:
    std::string_view FText;
    std::size_t FPos = 0;
    bool FRestLiteral = false;
};

// What a section asks for. Placeholders after the exponent, and points after the first, are dropped.
struct TLayout {
    int IntPlaces = 0;  // placeholders before the decimal point
    int IntZeros = 0;   // integer placeholders from the first "0" on: the least integer digits shown
    int DecPlaces = 0;  // placeholders after the point
    int DecZeros = 0;   // decimal placeholders up to the last "0": the least decimals shown
    bool Thousands = false;
    bool Exponent = false;

    explicit TLayout(std::string_view section)
    {
        TTokens tokens(section);
        TToken t;
        bool point = false;
        int firstZero = -1;
        while (tokens.Next(t)) {
            if (Exponent) continue;
            switch (t.Kind) {
                case TToken::Zero:
                case TToken::Hash:
                    if (!point) {
                        if (t.Kind == TToken::Zero && firstZero < 0) firstZero = IntPlaces;
                        ++IntPlaces;
                    } else {
                        ++DecPlaces;
                        if (t.Kind == TToken::Zero) DecZeros = DecPlaces;
                    }
                    break;
                case TToken::Point:
                    point = true;
                    break;
                case TToken::Comma:
                    Thousands = true;
                    break;
                case TToken::Exponent:
                    Exponent = true;
                    break;
                case TToken::Literal:
                    break;
            }
        }
        IntZeros = firstZero < 0 ? 0 : IntPlaces - firstZero;
    }
};

// Up to three sections, split at semicolons outside quotes; any further sections are ignored.
int SplitSections(std::string_view format, std::array<std::string_view, 3>& sections)
{
    int count = 0;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i <= format.size() && count < 3; ++i) {
        if (i == format.size() || (quote == 0 && format[i] == ';')) {
            sections[count++] = format.substr(start, i - start);
            start = i + 1;
        } else if (quote != 0) {
            if (format[i] == quote) quote = 0;
        } else if (format[i] == '"' || format[i] == '\'') {
            quote = format[i];
        }
    }
    return count;
}

// Writes the magnitude of v by one section.
void FormatSection(std::string& out, const TLayout& layout, std::string_view section, double v,
                   const TFormatSettings& settings)
{
    TDigits t = numtext::Digits17(std::fabs(v));
    std::string intText;
    int expValue = 0;
    int fracBase = 0;  // index in t of the digit just before the first decimal
    bool keepZeros = false;
    if (layout.Exponent) {
        const int places = std::max(layout.IntPlaces, 1);
        if (t.IsZero()) {
            intText.assign(std::max(layout.IntZeros, 1), '0');
        } else {
            numtext::RoundSignificant(t, places + layout.DecPlaces);
            expValue = t.Exp - (places - 1);
            for (int i = 0; i < places; ++i) intText += t.At(i);
        }
        fracBase = places - 1;
    } else {
        numtext::RoundDecimals(t, layout.DecPlaces);
        if (!t.IsZero())
            for (int i = 0; i <= t.Exp; ++i) intText += t.At(i);
        if (static_cast<int>(intText.size()) < layout.IntZeros)
            intText.insert(0, layout.IntZeros - intText.size(), '0');
        fracBase = t.Exp;
        // A value that rounds to zero keeps every decimal place, as the framework showed it ("0.##" of 0.001 is
        // "0.00"); otherwise trailing zeros go down to the last "0" placeholder.
        keepZeros = t.IsZero() && v != 0;
    }
    auto frac = [&](int j) { return t.IsZero() ? '0' : t.At(fracBase + j); };
    int fracLen = layout.DecPlaces;
    if (!keepZeros)
        while (fracLen > layout.DecZeros && frac(fracLen) == '0') --fracLen;

    const int intLen = static_cast<int>(intText.size());
    auto emitInt = [&](int from, int to) {  // integer digits from..to, grouped
        for (int i = std::max(from, 0); i <= to; ++i) {
            out += intText[i];
            if (layout.Thousands && i < intLen - 1 && (intLen - 1 - i) % 3 == 0) out += settings.ThousandSeparator;
        }
    };

    TTokens tokens(section);
    TToken tok;
    bool point = false;
    bool exponent = false;
    int intSeen = 0;
    int decSeen = 0;
    while (tokens.Next(tok)) {
        switch (tok.Kind) {
            case TToken::Literal:
                out += tok.Text;
                break;
            case TToken::Zero:
            case TToken::Hash:
                if (exponent) break;
                if (!point) {
                    // Integer digits sit right-aligned on the placeholders; the first one takes any excess.
                    const int idx = intLen - layout.IntPlaces + intSeen;
                    emitInt(intSeen == 0 ? 0 : idx, idx);
                    ++intSeen;
                } else if (++decSeen <= fracLen) {
                    out += frac(decSeen);
                }
                break;
            case TToken::Point:
                if (point || exponent) break;
                point = true;
                if (layout.IntPlaces == 0) emitInt(0, intLen - 1);
                if (fracLen > 0) out += settings.DecimalSeparator;
                break;
            case TToken::Comma:
                break;
            case TToken::Exponent:
                if (exponent) break;
                exponent = true;
                AppendExponent(out, tok.Letter, expValue, tok.Plus, tok.Digits);
                break;
        }
    }
}

}  // namespace

std::string FormatFloat(std::string_view Format, double Value, const TFormatSettings& Settings)
{
    std::string out;
    if (NonFinite(Value, out)) return out;
    if (Format.empty()) return General(Value, 15, 0, Settings.DecimalSeparator);
    std::array<std::string_view, 3> sections;
    const int count = SplitSections(Format, sections);
    const int chosen = Value == 0 && count >= 3 ? 2 : Value < 0 && count >= 2 ? 1 : 0;
    const TLayout layout(sections[chosen]);
    // An empty section, or a value too large for fixed digits, takes the general text with its own sign.
    if (sections[chosen].empty() || (!layout.Exponent && std::fabs(Value) >= 1e17))
        return General(Value, 15, 0, Settings.DecimalSeparator);
    if (chosen == 0 && Value < 0) out += '-';
    FormatSection(out, layout, sections[chosen], Value, Settings);
    return out;
}

std::string FormatFloat(std::string_view Format, double Value)
{
    return FormatFloat(Format, Value, CurrentFormatSettings());
}

// ---- Parsing --------------------------------------------------------------------------------------------------

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

bool TryStrToFloat(std::string_view S, double& Value, const TFormatSettings& Settings)
{
    std::size_t i = 0;
    std::size_t n = S.size();
    while (i < n && IsBlank(S[i])) ++i;
    while (n > i && IsBlank(S[n - 1])) --n;
    const std::size_t start = i;
    bool negative = false;
    if (i < n && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
    // Mantissa: digits with at most one separator, at least one digit. Its decimal order of magnitude (the
    // position of its first non-zero digit) tells overflow from underflow should the conversion leave the range.
    const std::size_t mantissa = i;
    std::size_t sepAt = std::string_view::npos;
    long order = 0;
    int digits = 0;
    bool nonZero = false;
    for (; i < n; ++i) {
        const char c = S[i];
        if (IsDigit(c)) {
            ++digits;
            if (c != '0' && !nonZero) {
                nonZero = true;
                order = sepAt == std::string_view::npos ? 0 : -static_cast<long>(i - sepAt);
            }
            if (nonZero && sepAt == std::string_view::npos) ++order;
        } else if (c == Settings.DecimalSeparator && sepAt == std::string_view::npos) {
            sepAt = i;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    long exponent = 0;
    if (i < n && (S[i] == 'E' || S[i] == 'e')) {
        ++i;
        bool expNegative = false;
        if (i < n && (S[i] == '+' || S[i] == '-')) expNegative = S[i++] == '-';
        const std::size_t expDigits = i;
        for (; i < n && IsDigit(S[i]); ++i) exponent = std::min(exponent * 10 + (S[i] - '0'), 100000L);
        if (i == expDigits) return false;
        if (expNegative) exponent = -exponent;
    }
    if (i != n) return false;

    // from_chars reads "." and no leading "+": hand it the text as it stands where it can, else a copy.
    std::string copy;
    std::string_view text = S.substr(start, n - start);
    if (S[start] == '+' || (sepAt != std::string_view::npos && Settings.DecimalSeparator != '.')) {
        copy.assign(S.substr(mantissa, n - mantissa));
        if (sepAt != std::string_view::npos) copy[sepAt - mantissa] = '.';
        if (negative) copy.insert(copy.begin(), '-');
        text = copy;
    }
    double result = 0;
    const std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), result);
    if (r.ec == std::errc::result_out_of_range) {
        const bool overflow = nonZero && order + exponent > 0;
        result = overflow ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) result = -result;
    } else if (r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        return false;
    }
    Value = result;
    return true;
}

bool TryStrToFloat(std::string_view S, double& Value)
{
    return TryStrToFloat(S, Value, CurrentFormatSettings());
}

double StrToFloat(std::string_view S, const TFormatSettings& Settings)
{
    double v = 0;
    if (!TryStrToFloat(S, v, Settings)) throw EConvertError("\"" + std::string(S) + "\" is an invalid float");
    return v;
}

double StrToFloat(std::string_view S)
{
    return StrToFloat(S, CurrentFormatSettings());
}

bool TryStrToInt(std::string_view S, int& Value)
{
    std::size_t i = 0;
    while (i < S.size() && IsBlank(S[i])) ++i;
    bool negative = false;
    if (i < S.size() && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
    int base = 10;
    if (i < S.size() && S[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < S.size() && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == S.size()) return false;
    std::int64_t v = 0;
    for (; i < S.size(); ++i) {
        const char c = S[i];
        int d = 0;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * base + d;
        if (v > std::int64_t{1} << 32) return false;  // far past any Integer: stop before the sum can overflow
    }
    if (negative) v = -v;
    // A hexadecimal text names the 32 bits: "$FFFFFFFF" is -1.
    if (base == 16 && !negative && v <= 0xFFFFFFFFLL) v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    if (v < INT32_MIN || v > INT32_MAX) return false;
    Value = static_cast<int>(v);
    return true;
}

int StrToInt(std::string_view S)
{
    int v = 0;
    if (!TryStrToInt(S, v)) throw EConvertError("'" + std::string(S) + "' is not a valid integer value");
    return v;
}

}  // namespace tarnel
