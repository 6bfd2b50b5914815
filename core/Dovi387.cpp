#include "core/Dovi387.h"

#include <cstdio>

namespace tarnel {

Word MtxSaved8087CW = 0;
int TarnelBlockSize = 800;
const char* MtxRegistryKey = "\\Software\\Brisolt\\Tarnel";
const char* TarnelWorkingDir = "C:\\";

namespace {

int gInitCount = 0;
double gFactorials[31] = {};

using Wide = long double;

}  // namespace

TCplx CDiv(const TCplx& a, const TCplx& b)
{
    const Wide s = 1.0L / (Wide(b.Re) * b.Re + Wide(b.Im) * b.Im);
    return {static_cast<double>(s * (Wide(a.Re) * b.Re + Wide(a.Im) * b.Im)),
            static_cast<double>(s * (Wide(a.Im) * b.Re - Wide(a.Re) * b.Im))};
}

TCplx CDiv(const TCplx& a, double x)
{
    const Wide s = 1.0L / x;
    return {static_cast<double>(s * a.Re), static_cast<double>(s * a.Im)};
}

TCplx CDiv(double x, const TCplx& a)
{
    const Wide s = Wide(x) / (Wide(a.Re) * a.Re + Wide(a.Im) * a.Im);
    return {static_cast<double>(s * a.Re), static_cast<double>(-s * a.Im)};
}

TCplx CInv(const TCplx& a)
{
    const Wide s = 1.0L / (Wide(a.Re) * a.Re + Wide(a.Im) * a.Im);
    return {static_cast<double>(s * a.Re), static_cast<double>(-s * a.Im)};
}

void CInv(const TCplx& a, TCplx& r)
{
    r = CInv(a);
}

double CAbs(const TCplx& a)
{
    // In Doubles while the sum of squares neither overflows nor loses bits to underflow (one rounding for each
    // square, the sum and the root: the moduli the array and matrix members give); otherwise the same formula in
    // wide intermediates, which keeps huge and tiny moduli finite and exact to rounding, and NaN parts NaN.
    const double s = a.Re * a.Re + a.Im * a.Im;
    if (s >= 0x1p-1000 && s <= 0x1p+1000) [[likely]]
        return std::sqrt(s);
    return static_cast<double>(std::sqrt(Wide(a.Re) * a.Re + Wide(a.Im) * a.Im));
}

double Norm(const TCplx& a)
{
    return static_cast<double>(Wide(a.Re) * a.Re + Wide(a.Im) * a.Im);
}

void ClearFPU()
{
    ClearFpuExceptions();
}

Word SetRoundToTrunc()
{
    const Word cw = Get8087CW();
    Set8087CW(static_cast<Word>(cw | 0x0F00));
    return cw;
}

void RestoreRound(Word cw)
{
    Set8087CW(cw);
}

void ERaise(const std::string& msg)
{
    throw Exception(msg);
}

std::string ClockIt(TDateTime startTime)
{
    const double elapsed = std::round((Now() - startTime) * MSecsPerDay);
    const long long ms = elapsed > 0 ? static_cast<long long>(elapsed) : 0;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld:%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
    return text;
}

void Dovi387Initialize()
{
    if (gInitCount++ > 0) return;
    ClearFPU();
    MtxSaved8087CW = Get8087CW();
    Set8087CW(Tarnel8087CW);
    // NAN and INF are compile-time constants here (the positive quiet NaN and positive infinity), and so
    // are CNAN and CINF built from them.
    gFactorials[0] = 1.0;
    for (int i = 1; i <= 30; ++i) gFactorials[i] = i * gFactorials[i - 1];
    ClearFPU();
}

void Dovi387Finalize()
{
    if (gInitCount == 0 || --gInitCount > 0) return;
    MtxRegistryKey = "";
    TarnelWorkingDir = "";
}

double detail::FactorialTableEntry(int i)
{
    return (i >= 0 && i <= 30) ? gFactorials[i] : NAN;
}

}  // namespace tarnel
