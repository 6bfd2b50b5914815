// Conversions between Doubles and integers of 8, 16 or 32 bits, and the G.711 µ-law and A-law codes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

using wavrin::Args;
using wavrin::Fail;

constexpr int kRoundingFlags = NSP_Round | NSP_TruncZero | NSP_TruncNeg;

// Rounding that does not depend on the processor's rounding mode, needs no library call and does not branch on
// the data: below 2^52 in magnitude the truncating conversion to a 64-bit integer is exact and mode-free; from
// 2^52 on (and for infinities) every Double is already whole.
constexpr double kWhole = 4503599627370496.0;  // 2^52

double Trunc(double x)
{
    return std::fabs(x) < kWhole ? static_cast<double>(static_cast<std::int64_t>(x)) : x;
}

double Floor(double x)
{
    if (!(std::fabs(x) < kWhole)) return x;
    const double t = static_cast<double>(static_cast<std::int64_t>(x));
    return t - static_cast<double>(t > x);
}

// Round half to even.
double RoundEven(double x)
{
    if (!(std::fabs(x) < kWhole)) return x;
    std::int64_t i = static_cast<std::int64_t>(x);
    i -= static_cast<double>(i) > x;  // floor
    const double f = static_cast<double>(i);
    const double d = x - f;  // exact: the fraction of x
    return f + static_cast<double>((d > 0.5) | ((d == 0.5) & static_cast<bool>(i & 1)));
}

// r held to [lo, hi] without a branch on the data (clipped samples are common and unpredictable).
inline double Clamp(double r, double lo, double hi)
{
#if defined(__SSE2__)
    return _mm_cvtsd_f64(_mm_min_sd(_mm_max_sd(_mm_set_sd(r), _mm_set_sd(lo)), _mm_set_sd(hi)));
#else
    return std::min(std::max(r, lo), hi);
#endif
}

template <class T>
void ToInt(const double* src, void* dst, int n, int rounding, bool clip)
{
    T* out = static_cast<T*>(dst);
    constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
    for (int i = 0; i < n; ++i) {
        const double x = src[i];
        if (std::isnan(x)) {
            out[i] = 0;
            continue;
        }
        const double r = rounding == NSP_Round ? RoundEven(x) : rounding == NSP_TruncNeg ? Floor(x) : Trunc(x);
        if (clip) {
            out[i] = static_cast<T>(static_cast<std::int64_t>(Clamp(r, lo, hi)));
        } else if (std::fabs(r) < 9223372036854775808.0) {
            // Wrap modulo 2^bits: the conversion of the 64-bit value to the narrower type keeps its low bits.
            out[i] = static_cast<T>(static_cast<std::uint64_t>(static_cast<std::int64_t>(r)));
        } else {
            out[i] = 0;
        }
    }
}

template <class T>
void ToDouble(const void* src, double* dst, int n)
{
    const T* in = static_cast<const T*>(src);
    // Backwards, so that an integer array converted into its own storage is read before it is overwritten.
    for (int i = n - 1; i >= 0; --i) dst[i] = static_cast<double>(in[i]);
}

// The sample on the 16-bit linear scale: rounded to nearest (ties to even), saturated, NaN as 0.
int Linear16(double x)
{
    if (std::isnan(x)) return 0;
    const double r = RoundEven(x);
    if (r <= -32768.0) return -32768;
    if (r >= 32767.0) return 32767;
    return static_cast<int>(r);
}

// G.711 µ-law: the magnitude on the 14-bit scale (here kept in 16-bit units) plus the bias 33 selects one of
// eight segments by its highest bit; four mantissa bits follow; the code is sent inverted.
std::uint8_t MuLawEncode(int s)
{
    constexpr int kBias = 0x84, kClip = 32635;
    int sign = 0;
    if (s < 0) {
        sign = 0x80;
        s = -s;
    }
    if (s > kClip) s = kClip;
    s += kBias;
    int exponent = 7;
    for (int mask = 0x4000; (s & mask) == 0 && exponent > 0; mask >>= 1) --exponent;
    const int mantissa = (s >> (exponent + 3)) & 0x0F;
    return static_cast<std::uint8_t>(~(sign | (exponent << 4) | mantissa));
}

int MuLawDecode(std::uint8_t code)
{
    const int u = ~code & 0xFF;
    const int exponent = (u >> 4) & 0x07;
    const int s = (((u & 0x0F) << 3) + 0x84) << exponent;
    return (u & 0x80) ? 0x84 - s : s - 0x84;
}

// G.711 A-law: the 13-bit sample (16-bit value shifted right by 3) in one of eight segments; the positive
// codes have the sign bit set and every code is sent with its even bits inverted (XOR 0x55).
std::uint8_t ALawEncode(int s)
{
    static const int kSegEnd[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
    int v = s >> 3;  // arithmetic shift: floor division by 8
    int mask;
    if (v >= 0) {
        mask = 0xD5;
    } else {
        mask = 0x55;
        v = -v - 1;
    }
    int seg = 0;
    while (seg < 8 && v > kSegEnd[seg]) ++seg;
    if (seg >= 8) return static_cast<std::uint8_t>(0x7F ^ mask);
    int a = seg << 4;
    a |= seg < 2 ? (v >> 1) & 0x0F : (v >> seg) & 0x0F;
    return static_cast<std::uint8_t>(a ^ mask);
}

int ALawDecode(std::uint8_t code)
{
    const int a = code ^ 0x55;
    int t = (a & 0x0F) << 4;
    const int seg = (a & 0x70) >> 4;
    if (seg == 0) {
        t += 8;
    } else {
        t += 0x108;
        t <<= seg - 1;
    }
    return (a & 0x80) ? t : -t;
}

}  // namespace

extern "C" {

void nspdbFloatToInt(const double* src, void* dst, int n, int bits, int flags)
{
    if (!Args(n, src, dst)) return;
    const int rounding = flags & kRoundingFlags;
    if ((flags & ~(kRoundingFlags | NSP_Unsigned | NSP_Clip)) != 0 ||
        (rounding != 0 && rounding != NSP_Round && rounding != NSP_TruncZero && rounding != NSP_TruncNeg)) {
        Fail(NSP_StsBadFlags);
        return;
    }
    const bool clip = (flags & NSP_Clip) != 0, uns = (flags & NSP_Unsigned) != 0;
    switch (bits) {
        case 8:
            uns ? ToInt<std::uint8_t>(src, dst, n, rounding, clip) : ToInt<std::int8_t>(src, dst, n, rounding, clip);
            break;
        case 16:
            uns ? ToInt<std::uint16_t>(src, dst, n, rounding, clip) : ToInt<std::int16_t>(src, dst, n, rounding, clip);
            break;
        case 32:
            uns ? ToInt<std::uint32_t>(src, dst, n, rounding, clip) : ToInt<std::int32_t>(src, dst, n, rounding, clip);
            break;
        default:
            Fail(NSP_StsBadArg);
    }
}

void nspdbIntToFloat(const void* src, double* dst, int n, int bits, int flags)
{
    if (!Args(n, src, dst)) return;
    if ((flags & ~NSP_Unsigned) != 0) {
        Fail(NSP_StsBadFlags);
        return;
    }
    const bool uns = flags == NSP_Unsigned;
    switch (bits) {
        case 8:
            uns ? ToDouble<std::uint8_t>(src, dst, n) : ToDouble<std::int8_t>(src, dst, n);
            break;
        case 16:
            uns ? ToDouble<std::uint16_t>(src, dst, n) : ToDouble<std::int16_t>(src, dst, n);
            break;
        case 32:
            uns ? ToDouble<std::uint32_t>(src, dst, n) : ToDouble<std::int32_t>(src, dst, n);
            break;
        default:
            Fail(NSP_StsBadArg);
    }
}

void nspdbLinToMuLaw(const double* src, std::uint8_t* dst, int n)
{
    if (Args(n, src, dst))
        for (int i = 0; i < n; ++i) dst[i] = MuLawEncode(Linear16(src[i]));
}

void nspdbMuLawToLin(const std::uint8_t* src, double* dst, int n)
{
    if (Args(n, src, dst))
        for (int i = n - 1; i >= 0; --i) dst[i] = MuLawDecode(src[i]);
}

void nspdbLinToALaw(const double* src, std::uint8_t* dst, int n)
{
    if (Args(n, src, dst))
        for (int i = 0; i < n; ++i) dst[i] = ALawEncode(Linear16(src[i]));
}

void nspdbALawToLin(const std::uint8_t* src, double* dst, int n)
{
    if (Args(n, src, dst))
        for (int i = n - 1; i >= 0; --i) dst[i] = ALawDecode(src[i]);
}

}  // extern "C"

}  // namespace tarnel
