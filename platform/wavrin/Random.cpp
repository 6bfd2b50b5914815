// Uniform and normal generators on xoroshiro128++, one self-contained state per generator.
#include <cmath>
#include <cstring>

#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

using wavrin::Args;

inline std::uint64_t Rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

std::uint64_t SplitMix(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// The two state words from the bits of the seed; +0 and −0 are the same seed.
void Seed(double seed, std::uint64_t s[2])
{
    if (seed == 0.0) seed = 0.0;
    std::uint64_t x;
    std::memcpy(&x, &seed, sizeof x);
    s[0] = SplitMix(x);
    s[1] = SplitMix(x);
    if (s[0] == 0 && s[1] == 0) s[1] = 1;
}

inline std::uint64_t Next(std::uint64_t s[2])
{
    const std::uint64_t s0 = s[0];
    std::uint64_t s1 = s[1];
    const std::uint64_t r = Rotl(s0 + s1, 17) + s0;
    s1 ^= s0;
    s[0] = Rotl(s0, 49) ^ s1 ^ (s1 << 21);
    s[1] = Rotl(s1, 28);
    return r;
}

// Uniform in [0, 1) with 53 random bits.
inline double Unit(std::uint64_t s[2])
{
    return static_cast<double>(Next(s) >> 11) * 0x1.0p-53;
}

// The states may sit at any 4-byte boundary inside a caller's object: they are worked on as local copies.
template <class State>
State Load(const State* p)
{
    State st;
    std::memcpy(&st, p, sizeof st);
    return st;
}

template <class State>
void Store(State* p, const State& st)
{
    std::memcpy(p, &st, sizeof st);
}

double Gaus(NSPDRandGausState& st)
{
    if (st.hasSpare) {
        st.hasSpare = 0;
        return st.mean + st.stdDev * st.spare;
    }
    double u, v, s;
    do {
        u = 2.0 * Unit(st.s) - 1.0;
        v = 2.0 * Unit(st.s) - 1.0;
        s = u * u + v * v;
    } while (s >= 1.0 || s == 0.0);
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    st.spare = v * f;
    st.hasSpare = 1;
    return st.mean + st.stdDev * (u * f);
}

// n Doubles from the uniform and the normal generator (64-bit counts: complex fills ask for 2·n).
void FillUni(NSPDRandUniState* state, double* dst, long long n)
{
    NSPDRandUniState st = Load(state);
    const double low = st.low, width = st.high - st.low;
    for (long long i = 0; i < n; ++i) dst[i] = low + width * Unit(st.s);
    Store(state, st);
}

void FillGaus(NSPDRandGausState* state, double* dst, long long n)
{
    NSPDRandGausState st = Load(state);
    for (long long i = 0; i < n; ++i) dst[i] = Gaus(st);
    Store(state, st);
}

}  // namespace

extern "C" {

void nspdRandUniInit(double seed, double low, double high, NSPDRandUniState* state)
{
    wavrin::BeginCall();
    if (!wavrin::Ptrs(state)) return;
    NSPDRandUniState st{};
    st.low = low;
    st.high = high;
    Seed(seed, st.s);
    Store(state, st);
}

double nspdRandUni(NSPDRandUniState* state)
{
    wavrin::BeginCall();
    if (!wavrin::Ptrs(state)) return NAN;
    NSPDRandUniState st = Load(state);
    const double r = st.low + (st.high - st.low) * Unit(st.s);
    Store(state, st);
    return r;
}

void nspdbRandUni(NSPDRandUniState* state, double* dst, int n)
{
    if (Args(n, state, dst)) FillUni(state, dst, n);
}

void nspzbRandUni(NSPDRandUniState* state, TCplx* dst, int n)
{
    if (Args(n, state, dst)) FillUni(state, &dst->Re, 2LL * n);
}

void nspdRandGausInit(double seed, double mean, double stdDev, NSPDRandGausState* state)
{
    wavrin::BeginCall();
    if (!wavrin::Ptrs(state)) return;
    NSPDRandGausState st{};
    st.mean = mean;
    st.stdDev = stdDev;
    Seed(seed, st.s);
    Store(state, st);
}

double nspdRandGaus(NSPDRandGausState* state)
{
    wavrin::BeginCall();
    if (!wavrin::Ptrs(state)) return NAN;
    NSPDRandGausState st = Load(state);
    const double r = Gaus(st);
    Store(state, st);
    return r;
}

void nspdbRandGaus(NSPDRandGausState* state, double* dst, int n)
{
    if (Args(n, state, dst)) FillGaus(state, dst, n);
}

void nspzbRandGaus(NSPDRandGausState* state, TCplx* dst, int n)
{
    if (Args(n, state, dst)) FillGaus(state, &dst->Re, 2LL * n);
}

}  // extern "C"

}  // namespace tarnel
