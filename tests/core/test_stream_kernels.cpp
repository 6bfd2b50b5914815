// The stream format's vectorised number conversions against the signal library's routines and the plain casts,
// bit for bit: every encoding at every rounding over values that reach each rounding, saturation and NaN case in
// every lane and in the leftover numbers; the memory stream path against the file stream path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/Raroz.h"
#include "core/stream_kernels.h"
#include "elem_util.h"

using namespace tarnel;

namespace {

using Bytes = std::vector<unsigned char>;

class StreamKernels : public elemtest::ElemTest {};

constexpr TPrecision kEncoded[] = {prSingle,   prInteger, prCardinal, prSmallInt, prWord,
                                   prShortInt, prByte,    prMuLaw,    prALaw};

bool IsUnsigned(TPrecision P)
{
    return P == prCardinal || P == prWord || P == prByte;
}

// What the conversions must give: the layer's routine, or the plain cast for singles.
Bytes Reference(const std::vector<double>& X, TPrecision P, TRounding R)
{
    const int n = static_cast<int>(X.size());
    Bytes out(X.size() * SizeOfPrecision(P, false));
    if (P == prSingle) {
        for (int i = 0; i < n; ++i) {
            const float f = static_cast<float>(X[i]);
            std::memcpy(out.data() + 4 * i, &f, 4);
        }
    } else if (P == prMuLaw) {
        nspdbLinToMuLaw(X.data(), out.data(), n);
    } else if (P == prALaw) {
        nspdbLinToALaw(X.data(), out.data(), n);
    } else {
        const int rounding = R == rnRound ? NSP_Round : R == rnTruncNeg ? NSP_TruncNeg : NSP_TruncZero;
        nspdbFloatToInt(X.data(), out.data(), n, 8 * SizeOfPrecision(P, false),
                        NSP_Clip | rounding | (IsUnsigned(P) ? NSP_Unsigned : 0));
    }
    return out;
}

Bytes Encoded(const std::vector<double>& X, TPrecision P, TRounding R)
{
    Bytes out(X.size() * SizeOfPrecision(P, false));
    detail::EncodeNumbers(X.data(), out.data(), static_cast<std::int64_t>(X.size()), P, R);
    return out;
}

// Each rounding's ties and near-ties, both signs, the ends of every integer type and the numbers just past them,
// magnitudes where every Double is whole, infinities, NaN of both signs with payloads, zeros and subnormals.
std::vector<double> HardValues()
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> v = {0.0,
                             -0.0,
                             0.5,
                             -0.5,
                             1.5,
                             -1.5,
                             2.5,
                             -2.5,
                             0.49999999999999994,
                             -0.49999999999999994,
                             1.0000000000000002,
                             -0.9999999999999999,
                             4.9e-324,
                             -4.9e-324,
                             0x1p52 + 1,
                             -0x1p52 - 1,
                             0x1p53,
                             0x1p63,
                             -0x1p63,
                             0x1p64,
                             1e300,
                             -1e300,
                             inf,
                             -inf,
                             std::nan(""),
                             -std::nan(""),
                             std::nan("0x12345"),
                             3.4028235677973366e38,
                             3.4028235677973362e38,
                             1e-46,
                             1.00000001};
    for (double edge : {127.0, 128.0, 255.0, 256.0, 32767.0, 32768.0, 65535.0, 65536.0, 2147483647.0, 2147483648.0,
                        4294967295.0, 4294967296.0}) {
        for (double d : {-1.0, -0.5, -0.25, 0.0, 0.25, 0.5, 0.75, 1.0}) {
            v.push_back(edge + d);
            v.push_back(-edge - 1 + d);
        }
    }
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> u(-70000, 70000);
    for (int i = 0; i < 200; ++i) v.push_back(u(gen));
    return v;
}

TEST_F(StreamKernels, EncodingAgreesWithTheLayerBitForBit)
{
    const std::vector<double> hard = HardValues();
    for (TPrecision p : kEncoded) {
        for (TRounding r : {rnTrunc, rnTruncNeg, rnRound}) {
            const std::string where = "precision " + std::to_string(p) + ", rounding " + std::to_string(r);
            // Every start within a group of eight and every count of leftover numbers.
            for (std::size_t shift = 0; shift < 8; ++shift) {
                const std::vector<double> x(hard.begin() + static_cast<std::ptrdiff_t>(shift),
                                            hard.end() - 7 + static_cast<std::ptrdiff_t>(shift));
                EXPECT_EQ(Encoded(x, p, r), Reference(x, p, r)) << where << ", shift " << shift;
            }
        }
    }
}

TEST_F(StreamKernels, SinglesRoundByTheCallersMode)
{
    // 1 + 2^-24 + 2^-30 lies above the midpoint of two singles: to nearest it rounds up, truncated it does not.
    // The long run is shared among threads, which must round as the caller does and give their mode back.
    for (std::size_t n : {19, 300001}) {
        const std::vector<double> x(n, 1.0 + 0x1p-24 + 0x1p-30);
        const Bytes nearest = Encoded(x, prSingle, rnTrunc);
        const Word saved = SetRoundToTrunc();
        const Bytes truncated = Encoded(x, prSingle, rnTrunc), reference = Reference(x, prSingle, rnTrunc);
        RestoreRound(saved);
        EXPECT_EQ(truncated, reference) << n;
        EXPECT_NE(truncated, nearest) << n;
        EXPECT_EQ(Encoded(x, prSingle, rnTrunc), nearest) << n;
    }
    // Integers round by their TRounding alone, whatever the mode.
    const std::vector<double> half(16, 2.5);
    const Word again = SetRoundToTrunc();
    const Bytes rounded = Encoded(half, prSmallInt, rnRound);
    RestoreRound(again);
    EXPECT_EQ(rounded, Reference(half, prSmallInt, rnRound));
}

TEST_F(StreamKernels, DecodingAgreesWithTheLayerBitForBit)
{
    std::mt19937_64 gen(7);
    Bytes raw(4 * 203);
    for (auto& b : raw) b = static_cast<unsigned char>(gen());
    // The integer ends and, for singles, NaN with a payload, infinities and a subnormal.
    const std::uint32_t words[] = {0x00000000, 0xFFFFFFFF, 0x80000000, 0x7FFFFFFF, 0x7FC12345,
                                   0xFF800000, 0x7F800000, 0x00000001, 0x80007FFF, 0x00FF8000};
    std::memcpy(raw.data() + 12, words, sizeof words);
    for (TPrecision p : kEncoded) {
        const int bytes = SizeOfPrecision(p, false);
        for (int shift = 0; shift < 8; ++shift) {
            const int n = static_cast<int>(raw.size()) / bytes - 8;
            const unsigned char* src = raw.data() + shift * bytes;
            std::vector<double> got(n), want(n);
            detail::DecodeNumbers(src, got.data(), n, p);
            if (p == prSingle) {
                for (int i = 0; i < n; ++i) {
                    float f;
                    std::memcpy(&f, src + 4 * i, 4);
                    want[i] = f;
                }
            } else if (p == prMuLaw) {
                nspdbMuLawToLin(src, want.data(), n);
            } else if (p == prALaw) {
                nspdbALawToLin(src, want.data(), n);
            } else {
                nspdbIntToFloat(src, want.data(), n, 8 * bytes, IsUnsigned(p) ? NSP_Unsigned : 0);
            }
            ASSERT_EQ(std::memcmp(got.data(), want.data(), n * sizeof(double)), 0)
                << "precision " << p << ", shift " << shift;
        }
    }
}

// Memory streams encode into and decode from their own data; any other stream goes through a temporary. Both give
// the same bytes, the same numbers, and leave the same position after a stream that ends inside a number.
TEST_F(StreamKernels, MemoryAndFileStreamsAgree)
{
    const std::vector<double> x = HardValues();
    const auto n = static_cast<std::int64_t>(x.size());
    const std::string file =
        (std::filesystem::temp_directory_path() / ("tarnel_kernels_" + std::to_string(::getpid()))).string();
    for (TPrecision p : {prSingle, prSmallInt, prCardinal, prByte, prMuLaw}) {
        const std::string where = "precision " + std::to_string(p);
        const std::int64_t bytes = n * SizeOfPrecision(p, false);
        TMemoryStream m;
        m.SetPosition(3);  // past the end: the gap reads as zeros
        WriteBinaryValues(m, x.data(), p, rnRound, n, false);
        ASSERT_EQ(m.Size(), 3 + bytes) << where;
        const auto* data = static_cast<const unsigned char*>(m.Memory());
        EXPECT_EQ(Bytes(data, data + 3), Bytes(3, 0)) << where;
        {
            TFileStream f(file, fmCreate);
            WriteBinaryValues(f, x.data(), p, rnRound, n, false);
        }
        Bytes onFile(static_cast<std::size_t>(bytes));
        {
            TFileStream f(file, fmOpenRead);
            ASSERT_EQ(f.Read(onFile.data(), bytes), bytes);
        }
        EXPECT_EQ(Bytes(data + 3, data + 3 + bytes), onFile) << where;

        // Cut inside the last number (where a number has several bytes).
        const std::int64_t cut = bytes - (SizeOfPrecision(p, false) > 1 ? 1 : 0) - 3;
        m.SetSize(3 + cut);
        m.SetPosition(3);
        std::vector<double> fromMemory(x.size(), -7), fromFile(x.size(), -7);
        const std::int64_t gotMemory = ReadBinaryValues(m, fromMemory.data(), p, n, false);
        {
            TFileStream f(file, fmOpenReadWrite);
            f.SetSize(cut);
            const std::int64_t gotFile = ReadBinaryValues(f, fromFile.data(), p, n, false);
            EXPECT_EQ(gotMemory, gotFile) << where;
            EXPECT_EQ(m.Position() - 3, f.Position()) << where;
        }
        EXPECT_EQ(std::memcmp(fromMemory.data(), fromFile.data(), x.size() * sizeof(double)), 0) << where;
    }
    std::filesystem::remove(file);
}

}  // namespace
