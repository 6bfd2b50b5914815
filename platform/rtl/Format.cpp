// Format: the conversions of platform/rtl/Format.h on the number text's routines.
#include "platform/rtl/Format.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <limits>

namespace tarnel {

namespace {

constexpr TFormatSettings kCSettings{'.', ','};

[[noreturn]] void InvalidFormat(std::string_view Fmt)
{
    throw EConvertError("Invalid format specifier : \"" + std::string(Fmt) + "\"");
}

[[noreturn]] void InvalidArgument(std::string_view Fmt)
{
    throw EConvertError("Invalid argument index in format \"" + std::string(Fmt) + "\"");
}

class TFormatter {
public:
    TFormatter(std::string_view Fmt, std::span<const TVarRec> Args) : FFmt(Fmt), FArgs(Args) {}

    std::string Run()
    {
        std::string out;
        std::size_t i = 0;
        while (i < FFmt.size()) {
            const std::size_t pct = FFmt.find('%', i);
            if (pct == std::string_view::npos) {
                out.append(FFmt.substr(i));
                break;
            }
            out.append(FFmt.substr(i, pct - i));
            i = pct + 1;
            if (i < FFmt.size() && FFmt[i] == '%') {
                out += '%';
                ++i;
                continue;
            }
            out += Conversion(i);
        }
        return out;
    }

private:
    // Reads digits or '*' at i; -1 when there are none.
    int Number(std::size_t& i)
    {
        if (i < FFmt.size() && FFmt[i] == '*') {
            ++i;
            const TVarRec& a = Next();
            if (a.Kind != TVarRec::vtInteger) InvalidArgument(FFmt);
            return static_cast<int>(a.I);
        }
        if (i >= FFmt.size() || !std::isdigit(static_cast<unsigned char>(FFmt[i]))) return -1;
        long long v = 0;
        while (i < FFmt.size() && std::isdigit(static_cast<unsigned char>(FFmt[i]))) {
            v = std::min<long long>(v * 10 + (FFmt[i] - '0'), INT_MAX);
            ++i;
        }
        return static_cast<int>(v);
    }

    const TVarRec& Next()
    {
        if (FNext >= FArgs.size()) InvalidArgument(FFmt);
        return FArgs[FNext++];
    }

    std::string Conversion(std::size_t& i)
    {
        int n = Number(i);
        if (n >= 0 && i < FFmt.size() && FFmt[i] == ':') {
            FNext = static_cast<std::size_t>(n);
            ++i;
            n = -1;
        }
        bool left = false;
        if (n < 0 && i < FFmt.size() && FFmt[i] == '-') {
            left = true;
            ++i;
        }
        const int width = n >= 0 ? n : Number(i);
        int prec = -1;
        if (i < FFmt.size() && FFmt[i] == '.') {
            ++i;
            prec = std::max(Number(i), 0);
        }
        if (i >= FFmt.size()) InvalidFormat(FFmt);
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(FFmt[i++])));
        std::string text;
        switch (letter) {
            case 'D':
            case 'U':
            case 'X':
                text = IntegerText(letter, Next(), prec);
                break;
            case 'E':
            case 'F':
            case 'G':
            case 'N':
            case 'M':
                text = FloatText(letter, Number(Next()), prec);
                break;
            case 'P': {
                const TVarRec& a = Next();
                if (a.Kind != TVarRec::vtPointer) InvalidArgument(FFmt);
                char buf[24];
                std::snprintf(buf, sizeof buf, "%016llX",
                              static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(a.P)));
                text = buf;
                break;
            }
            case 'S': {
                const TVarRec& a = Next();
                if (a.Kind != TVarRec::vtString) InvalidArgument(FFmt);
                text = prec >= 0 ? a.S.substr(0, static_cast<std::size_t>(prec)) : a.S;
                break;
            }
            default:
                InvalidFormat(FFmt);
        }
        if (width > static_cast<int>(text.size())) {
            const std::string pad(static_cast<std::size_t>(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        return text;
    }

    double Number(const TVarRec& A)
    {
        if (A.Kind == TVarRec::vtExtended) return A.X;
        if (A.Kind == TVarRec::vtCurrency) return static_cast<double>(A.I) / 10000.0;
        InvalidArgument(FFmt);
    }

    std::string IntegerText(char Letter, const TVarRec& A, int Prec)
    {
        if (A.Kind != TVarRec::vtInteger && A.Kind != TVarRec::vtInt64) InvalidArgument(FFmt);
        char buf[32];
        if (Letter == 'X') {
            const unsigned long long u = A.Kind == TVarRec::vtInteger
                                             ? static_cast<std::uint32_t>(static_cast<std::int32_t>(A.I))
                                             : static_cast<unsigned long long>(A.I);
            std::snprintf(buf, sizeof buf, "%llX", u);
        } else if (Letter == 'U' && A.Kind == TVarRec::vtInteger) {
            std::snprintf(buf, sizeof buf, "%u", static_cast<std::uint32_t>(static_cast<std::int32_t>(A.I)));
        } else if (Letter == 'U') {
            std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(A.I));
        } else {
            std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(A.I));
        }
        std::string digits = buf;
        const bool negative = !digits.empty() && digits[0] == '-';
        if (negative) digits.erase(0, 1);
        if (Prec > static_cast<int>(digits.size()))
            digits.insert(0, static_cast<std::size_t>(Prec) - digits.size(), '0');
        return negative ? "-" + digits : digits;
    }

    std::string FloatText(char Letter, double V, int Prec)
    {
        switch (Letter) {
            case 'E':
                return FloatToStrF(V, ffExponent, Prec < 0 ? 15 : Prec, 3, kCSettings);
            case 'G':
                return FloatToStrF(V, ffGeneral, Prec < 0 ? 15 : Prec, 3, kCSettings);
            case 'F':
                return FloatToStrF(V, ffFixed, 18, Prec < 0 ? 2 : Prec, kCSettings);
            default: {
                const int decimals = std::min(Prec < 0 ? 2 : Prec, 18);
                std::string pattern = "#,##0";
                if (decimals > 0) pattern += "." + std::string(static_cast<std::size_t>(decimals), '0');
                std::string s = FormatFloat(pattern, V, kCSettings);
                return Letter == 'M' ? s + "$" : s;
            }
        }
    }

    std::string_view FFmt;
    std::span<const TVarRec> FArgs;
    std::size_t FNext = 0;
};

}  // namespace

std::string Format(std::string_view Fmt, std::span<const TVarRec> Args)
{
    return TFormatter(Fmt, Args).Run();
}

}  // namespace tarnel
