// Rebuilds the inputs of the golden tables bit for bit: the generator of tests/data/gen_wavrin_golden.py.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Dovi387.h"

namespace golden {

inline std::vector<double> Lcg(std::uint64_t seed, int count)
{
    std::vector<double> out(count);
    std::uint64_t s = seed;
    for (int i = 0; i < count; ++i) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        out[i] = static_cast<double>(s >> 11) / 9007199254740992.0 - 0.5;
    }
    return out;
}

inline std::vector<tarnel::TCplx> Pairs(const std::vector<double>& v)
{
    std::vector<tarnel::TCplx> z(v.size() / 2);
    for (std::size_t i = 0; i < z.size(); ++i) z[i] = {v[2 * i], v[2 * i + 1]};
    return z;
}

}  // namespace golden
