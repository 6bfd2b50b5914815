// The stream format's number conversions: AVX2 loops for whole groups of eight numbers on processors that have it,
// the signal library's routines (and plain casts for singles) for the rest and everywhere else.
//
// The AVX2 encoder does what nspdbFloatToInt does with NSP_Clip, in its order: NaN becomes 0, the value is rounded
// by an explicit mode of the rounding instruction (so the processor's rounding mode plays no part, ties to even
// for rnRound), held to the type's range and converted. Unsigned 32-bit values are converted with a bias of 2^31,
// which is exact on both sides. Singles use the conversion instructions of the plain casts, which round by the
// calling thread's mode as the casts do.
#include "core/stream_kernels.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <type_traits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "core/Raroz.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel::detail {

namespace {

// The layer counts its numbers in an int.
constexpr std::int64_t kLayerPiece = std::int64_t{1} << 30;

bool IsUnsigned(TPrecision P)
{
    return P == prCardinal || P == prWord || P == prByte;
}

int LayerFlags(TPrecision P, TRounding R)
{
    const int rounding = R == rnRound ? NSP_Round : R == rnTruncNeg ? NSP_TruncNeg : NSP_TruncZero;
    return NSP_Clip | rounding | (IsUnsigned(P) ? NSP_Unsigned : 0);
}

// Dst aligned to its numbers.
void AlignedEncode(const double* Src, void* Dst, std::int64_t N, TPrecision P, TRounding R)
{
    const int bytes = SizeOfPrecision(P, false);
    for (std::int64_t done = 0; done < N; done += kLayerPiece) {
        const int n = static_cast<int>(std::min(kLayerPiece, N - done));
        const double* s = Src + done;
        void* d = static_cast<std::byte*>(Dst) + done * bytes;
        if (P == prSingle) {
            auto* f = static_cast<float*>(d);
            for (int i = 0; i < n; ++i) f[i] = static_cast<float>(s[i]);
        } else if (P == prMuLaw) {
            nspdbLinToMuLaw(s, static_cast<std::uint8_t*>(d), n);
        } else if (P == prALaw) {
            nspdbLinToALaw(s, static_cast<std::uint8_t*>(d), n);
        } else {
            nspdbFloatToInt(s, d, n, 8 * bytes, LayerFlags(P, R));
        }
    }
}

// Src aligned to its numbers.
void AlignedDecode(const void* Src, double* Dst, std::int64_t N, TPrecision P)
{
    const int bytes = SizeOfPrecision(P, false);
    for (std::int64_t done = 0; done < N; done += kLayerPiece) {
        const int n = static_cast<int>(std::min(kLayerPiece, N - done));
        const void* s = static_cast<const std::byte*>(Src) + done * bytes;
        double* d = Dst + done;
        if (P == prSingle) {
            const auto* f = static_cast<const float*>(s);
            for (int i = 0; i < n; ++i) d[i] = f[i];
        } else if (P == prMuLaw) {
            nspdbMuLawToLin(static_cast<const std::uint8_t*>(s), d, n);
        } else if (P == prALaw) {
            nspdbALawToLin(static_cast<const std::uint8_t*>(s), d, n);
        } else {
            nspdbIntToFloat(s, d, n, 8 * bytes, IsUnsigned(P) ? NSP_Unsigned : 0);
        }
    }
}

// Numbers that a stream's data hold at any address pass through an aligned buffer of this many.
constexpr int kBounce = 256;

bool Aligned(const void* P, TPrecision Precision)
{
    return reinterpret_cast<std::uintptr_t>(P) % static_cast<std::uintptr_t>(SizeOfPrecision(Precision, false)) == 0;
}

// The layer's routines and the plain casts, at any address.
void LayerEncode(const double* Src, std::byte* Dst, std::int64_t N, TPrecision P, TRounding R)
{
    if (Aligned(Dst, P)) return AlignedEncode(Src, Dst, N, P, R);
    const int bytes = SizeOfPrecision(P, false);
    alignas(8) std::byte buffer[kBounce * 4];
    for (std::int64_t done = 0; done < N; done += kBounce) {
        const int n = static_cast<int>(std::min<std::int64_t>(kBounce, N - done));
        AlignedEncode(Src + done, buffer, n, P, R);
        std::memcpy(Dst + done * bytes, buffer, static_cast<std::size_t>(n) * bytes);
    }
}

void LayerDecode(const std::byte* Src, double* Dst, std::int64_t N, TPrecision P)
{
    if (Aligned(Src, P)) return AlignedDecode(Src, Dst, N, P);
    const int bytes = SizeOfPrecision(P, false);
    alignas(8) std::byte buffer[kBounce * 4];
    for (std::int64_t done = 0; done < N; done += kBounce) {
        const int n = static_cast<int>(std::min<std::int64_t>(kBounce, N - done));
        std::memcpy(buffer, Src + done * bytes, static_cast<std::size_t>(n) * bytes);
        AlignedDecode(buffer, Dst + done, n, P);
    }
}

#if defined(__x86_64__)

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

constexpr double kBias32 = 2147483648.0;  // 2^31

// Four numbers as 32-bit integers of the type T's range (unsigned 32-bit ones biased by -2^31).
template <class T, int Mode>
__attribute__((target("avx2"))) inline __m128i FourToInt(const double* S)
{
    constexpr bool biased = std::is_same_v<T, std::uint32_t>;
    __m256d x = _mm256_loadu_pd(S);
    x = _mm256_andnot_pd(_mm256_cmp_pd(x, x, _CMP_UNORD_Q), x);  // NaN as 0
    x = _mm256_round_pd(x, Mode | _MM_FROUND_NO_EXC);
    x = _mm256_max_pd(x, _mm256_set1_pd(static_cast<double>(std::numeric_limits<T>::min())));
    x = _mm256_min_pd(x, _mm256_set1_pd(static_cast<double>(std::numeric_limits<T>::max())));
    if constexpr (biased) x = _mm256_sub_pd(x, _mm256_set1_pd(kBias32));
    const __m128i i = _mm256_cvttpd_epi32(x);
    return biased ? _mm_xor_si128(i, _mm_set1_epi32(INT32_MIN)) : i;
}

// Eight 32-bit integers within T's range, stored as T.
template <class T>
__attribute__((target("avx2"))) inline void StoreEight(__m128i A, __m128i B, T* D)
{
    if constexpr (sizeof(T) == 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(D), A);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(D + 4), B);
    } else if constexpr (sizeof(T) == 2) {
        const __m128i w = std::is_signed_v<T> ? _mm_packs_epi32(A, B) : _mm_packus_epi32(A, B);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(D), w);
    } else {
        const __m128i w = _mm_packs_epi32(A, B);  // 0 .. 255 fits the signed 16-bit step too
        _mm_storel_epi64(reinterpret_cast<__m128i*>(D),
                         std::is_signed_v<T> ? _mm_packs_epi16(w, w) : _mm_packus_epi16(w, w));
    }
}

template <class T, int Mode>
__attribute__((target("avx2"))) std::int64_t ToIntAvx2(const double* S, void* Dst, std::int64_t N)
{
    T* d = static_cast<T*>(Dst);
    std::int64_t k = 0;
    for (; k + 8 <= N; k += 8) StoreEight(FourToInt<T, Mode>(S + k), FourToInt<T, Mode>(S + k + 4), d + k);
    return k;
}

template <class T>
std::int64_t ToInt(const double* S, void* Dst, std::int64_t N, TRounding R)
{
    if (R == rnRound) return ToIntAvx2<T, _MM_FROUND_TO_NEAREST_INT>(S, Dst, N);
    if (R == rnTruncNeg) return ToIntAvx2<T, _MM_FROUND_TO_NEG_INF>(S, Dst, N);
    return ToIntAvx2<T, _MM_FROUND_TO_ZERO>(S, Dst, N);
}

// Eight integers of type T widened to 32 bits (unsigned 32-bit ones biased by -2^31).
template <class T>
__attribute__((target("avx2"))) inline __m256i LoadEight(const T* S)
{
    const auto* p = reinterpret_cast<const __m128i*>(S);
    if constexpr (std::is_same_v<T, std::int32_t>)
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(S));
    else if constexpr (std::is_same_v<T, std::uint32_t>)
        return _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(S)), _mm256_set1_epi32(INT32_MIN));
    else if constexpr (std::is_same_v<T, std::int16_t>)
        return _mm256_cvtepi16_epi32(_mm_loadu_si128(p));
    else if constexpr (std::is_same_v<T, std::uint16_t>)
        return _mm256_cvtepu16_epi32(_mm_loadu_si128(p));
    else if constexpr (std::is_same_v<T, std::int8_t>)
        return _mm256_cvtepi8_epi32(_mm_loadl_epi64(p));
    else if constexpr (std::is_same_v<T, std::uint8_t>)
        return _mm256_cvtepu8_epi32(_mm_loadl_epi64(p));
}

template <class T>
__attribute__((target("avx2"))) std::int64_t ToDoubleAvx2(const void* Src, double* D, std::int64_t N)
{
    const T* s = static_cast<const T*>(Src);
    const __m256d bias = _mm256_set1_pd(std::is_same_v<T, std::uint32_t> ? kBias32 : 0.0);
    std::int64_t k = 0;
    for (; k + 8 <= N; k += 8) {
        const __m256i w = LoadEight(s + k);
        _mm256_storeu_pd(D + k, _mm256_add_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(w)), bias));
        _mm256_storeu_pd(D + k + 4, _mm256_add_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(w, 1)), bias));
    }
    return k;
}

__attribute__((target("avx2"))) std::int64_t ToSingleAvx2(const double* S, void* Dst, std::int64_t N)
{
    float* d = static_cast<float*>(Dst);
    std::int64_t k = 0;
    for (; k + 8 <= N; k += 8) {
        _mm_storeu_ps(d + k, _mm256_cvtpd_ps(_mm256_loadu_pd(S + k)));
        _mm_storeu_ps(d + k + 4, _mm256_cvtpd_ps(_mm256_loadu_pd(S + k + 4)));
    }
    return k;
}

__attribute__((target("avx2"))) std::int64_t FromSingleAvx2(const void* Src, double* D, std::int64_t N)
{
    const float* s = static_cast<const float*>(Src);
    std::int64_t k = 0;
    for (; k + 8 <= N; k += 8) {
        _mm256_storeu_pd(D + k, _mm256_cvtps_pd(_mm_loadu_ps(s + k)));
        _mm256_storeu_pd(D + k + 4, _mm256_cvtps_pd(_mm_loadu_ps(s + k + 4)));
    }
    return k;
}

// The numbers that the AVX2 loops convert (a multiple of eight; none for G.711).
std::int64_t EncodeAvx2(const double* Src, void* Dst, std::int64_t N, TPrecision P, TRounding R)
{
    switch (P) {
        case prSingle:
            return ToSingleAvx2(Src, Dst, N);
        case prInteger:
            return ToInt<std::int32_t>(Src, Dst, N, R);
        case prCardinal:
            return ToInt<std::uint32_t>(Src, Dst, N, R);
        case prSmallInt:
            return ToInt<std::int16_t>(Src, Dst, N, R);
        case prWord:
            return ToInt<std::uint16_t>(Src, Dst, N, R);
        case prShortInt:
            return ToInt<std::int8_t>(Src, Dst, N, R);
        case prByte:
            return ToInt<std::uint8_t>(Src, Dst, N, R);
        default:
            return 0;
    }
}

std::int64_t DecodeAvx2(const void* Src, double* Dst, std::int64_t N, TPrecision P)
{
    switch (P) {
        case prSingle:
            return FromSingleAvx2(Src, Dst, N);
        case prInteger:
            return ToDoubleAvx2<std::int32_t>(Src, Dst, N);
        case prCardinal:
            return ToDoubleAvx2<std::uint32_t>(Src, Dst, N);
        case prSmallInt:
            return ToDoubleAvx2<std::int16_t>(Src, Dst, N);
        case prWord:
            return ToDoubleAvx2<std::uint16_t>(Src, Dst, N);
        case prShortInt:
            return ToDoubleAvx2<std::int8_t>(Src, Dst, N);
        case prByte:
            return ToDoubleAvx2<std::uint8_t>(Src, Dst, N);
        default:
            return 0;
    }
}

#endif

// Singles round by the caller's mode: a thread converting one of the caller's pieces takes the mode over for the
// piece's time.
#if defined(__x86_64__)
constexpr unsigned kRoundingControl = 0x6000;  // of MXCSR

unsigned RoundingMode()
{
    return _mm_getcsr() & kRoundingControl;
}

class TTakeRounding {
public:
    explicit TTakeRounding(unsigned Mode) : FSaved(_mm_getcsr())
    {
        if ((FSaved & kRoundingControl) != Mode) _mm_setcsr((FSaved & ~kRoundingControl) | Mode);
    }
    ~TTakeRounding() { _mm_setcsr(FSaved); }
    TTakeRounding(const TTakeRounding&) = delete;
    TTakeRounding& operator=(const TTakeRounding&) = delete;

private:
    unsigned FSaved;
};
#else
unsigned RoundingMode()
{
    return 0;
}

struct TTakeRounding {
    explicit TTakeRounding(unsigned) {}
};
#endif

void EncodeRange(const double* Src, std::byte* Dst, std::int64_t N, TPrecision P, TRounding R)
{
    std::int64_t done = 0;
#if defined(__x86_64__)
    if (HasAvx2()) done = EncodeAvx2(Src, Dst, N, P, R);
#endif
    LayerEncode(Src + done, Dst + done * SizeOfPrecision(P, false), N - done, P, R);
}

void DecodeRange(const std::byte* Src, double* Dst, std::int64_t N, TPrecision P)
{
    std::int64_t done = 0;
#if defined(__x86_64__)
    if (HasAvx2()) done = DecodeAvx2(Src, Dst, N, P);
#endif
    LayerDecode(Src + done * SizeOfPrecision(P, false), Dst + done, N - done, P);
}

}  // namespace

// Long runs are cut into pieces that threads share; every number is converted alone, so the cut changes nothing.
void EncodeNumbers(const double* Src, void* Dst, std::int64_t N, TPrecision P, TRounding R)
{
    const int bytes = SizeOfPrecision(P, false);
    const unsigned mode = RoundingMode();
    parallel::Pieces(N, [&](long long Lo, long long Hi) {
        const TTakeRounding rounding(mode);
        EncodeRange(Src + Lo, static_cast<std::byte*>(Dst) + Lo * bytes, Hi - Lo, P, R);
    });
}

void DecodeNumbers(const void* Src, double* Dst, std::int64_t N, TPrecision P)
{
    const int bytes = SizeOfPrecision(P, false);
    parallel::Pieces(N, [&](long long Lo, long long Hi) {
        DecodeRange(static_cast<const std::byte*>(Src) + Lo * bytes, Dst + Lo, Hi - Lo, P);
    });
}

}  // namespace tarnel::detail
