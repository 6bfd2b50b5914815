// Reading a fuzzer's bytes as the arguments of library calls, and the checks the targets share. Every read past
// the end gives zeros, so any input is a complete program.
#pragma once

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace fuzz {

class TInput {
public:
    TInput(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}
    bool Empty() const { return FPos >= FSize; }
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    bool Bit() { return Byte() & 1; }
    // A value in [Lo, Hi].
    int Range(int Lo, int Hi)
    {
        const unsigned span = static_cast<unsigned>(Hi - Lo) + 1;
        const unsigned v = static_cast<unsigned>(Byte()) | static_cast<unsigned>(Byte()) << 8;
        return Lo + static_cast<int>(v % span);
    }
    // Mostly a small count or index in [0, Small]; now and then a value every check must refuse. (Sizes that are
    // legal but huge, such as INT_MAX - 1 real elements, would only measure the machine's memory.)
    int Count(int Small)
    {
        const std::uint8_t b = Byte();
        if (b < 240) return b % (Small + 1);
        static constexpr int kHostile[] = {-1, -2, -3, -7, INT_MIN, INT_MAX, INT_MIN + 1, -100,
                                           -1, 0,  1,  2,  3,       4,       5,           6};
        return kHostile[b - 240];
    }
    // A Double: small integers and fractions most often, the special values, or eight raw bytes.
    double Value()
    {
        const std::uint8_t b = Byte();
        if (b < 128) return (b % 33) - 16;
        if (b < 192) return ((b % 64) - 32) / 8.0;
        static constexpr double kSpecial[] = {0.0,
                                              -0.0,
                                              std::numeric_limits<double>::infinity(),
                                              -std::numeric_limits<double>::infinity(),
                                              std::numeric_limits<double>::quiet_NaN(),
                                              1e300,
                                              -1e300,
                                              1e-300,
                                              std::numeric_limits<double>::denorm_min(),
                                              std::numeric_limits<double>::max(),
                                              std::numeric_limits<double>::min(),
                                              0.5,
                                              3.141592653589793,
                                              1e-8,
                                              -2.5,
                                              100};
        if (b < 208) return kSpecial[b - 192];
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(Byte()) << (8 * i);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

// The same Double bit for bit, any NaN equal to any NaN.
inline bool Same(double A, double B)
{
    if (std::isnan(A) || std::isnan(B)) return std::isnan(A) && std::isnan(B);
    return std::memcmp(&A, &B, sizeof A) == 0;
}

// A finding: the message and an abort, which the fuzzer records with the input.
[[noreturn]] inline void Finding(const char* What, const char* Detail = "")
{
    std::fprintf(stderr, "fuzz finding: %s %s\n", What, Detail);
    std::abort();
}

}  // namespace fuzz
