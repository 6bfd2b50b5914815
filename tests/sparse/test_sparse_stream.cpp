// TSparseMtx: the binary stream format and files.
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

using SparseStream = SparseTest;

// 3 × 3 with 4 entries and an empty column.
void Make(TSparseMtx& M)
{
    M.TripletsToSparse(3, 3, TIntArray{0, 2, 1, 2}, TIntArray{0, 0, 2, 2}, TSampleArray{1.5, -2, 1.0 / 3, 4}, 0);
    M.SetCaption("pattern");
    M.SetReportLevel(prlExtensive);
    M.SetIterativeMethod(itmLUGMRES);
    M.SetMaxIters(77);
}

std::vector<unsigned char> Bytes(TMemoryStream& S)
{
    const auto* p = static_cast<const unsigned char*>(S.Memory());
    return std::vector<unsigned char>(p, p + S.Size());
}

float SingleAt(const std::vector<unsigned char>& B, std::size_t Offset)
{
    float f;
    std::memcpy(&f, B.data() + Offset, 4);
    return f;
}

int IntAt(const std::vector<unsigned char>& B, std::size_t Offset)
{
    int i;
    std::memcpy(&i, B.data() + Offset, 4);
    return i;
}

TEST_F(SparseStream, LayoutAndRoundTrip)
{
    TSparseMtx a;
    Make(a);
    a.SetTolerance(1e-10);
    TMemoryStream s;
    a.SaveToStream(s, prDouble, rnTrunc);
    const std::vector<unsigned char> b = Bytes(s);
    EXPECT_EQ(SingleAt(b, 0), 0.0f);
    EXPECT_EQ(SingleAt(b, 4), 3.0f);   // prlExtensive
    EXPECT_EQ(SingleAt(b, 20), 7.0f);  // itmLUGMRES
    EXPECT_EQ(SingleAt(b, 24), 3.0f);  // Cols
    EXPECT_EQ(SingleAt(b, 28), 4.0f);  // NonZeros
    EXPECT_EQ(SingleAt(b, 32), 150.0f);
    EXPECT_EQ(SingleAt(b, 36), 3.0f);  // Rows
    EXPECT_EQ(SingleAt(b, 52), 77.0f);
    EXPECT_EQ(IntAt(b, 84 + 4 * 1), 2);                        // second row index
    EXPECT_EQ(IntAt(b, 84 + 16 + 4 * 3), 4);                   // last column pointer
    EXPECT_EQ(b.size(), 84u + 16 + 16 + 44 + 4 + 32 + 4 + 7);  // the vector: header, empty caption, 4 Doubles

    TSparseMtx c;
    s.SetPosition(0);
    c.LoadFromStream(s);
    EXPECT_TRUE(Snapshot(c) == Snapshot(a));
    EXPECT_EQ(c.Caption(), "pattern");
    EXPECT_EQ(c.ReportLevel(), prlExtensive);
    EXPECT_EQ(c.IterativeMethod(), itmLUGMRES);
    EXPECT_EQ(c.MaxIters(), 77);
    EXPECT_EQ(c.Tolerance(), 1.000000013351432e-10);
    // The default tolerance is exact in single precision.
    TSparseMtx d;
    TMemoryStream s2;
    d.SaveToStream(s2, prDouble, rnTrunc);
    s2.SetPosition(0);
    c.LoadFromStream(s2);
    EXPECT_EQ(c.Tolerance(), std::ldexp(500.0, -52));
    EXPECT_EQ(c.NonZeros(), 0);
}

TEST_F(SparseStream, SizesASingleCannotHoldAreRefused)
{
    TSparseMtx a;
    Make(a);
    a.SetRows((1 << 24) + 1);
    TMemoryStream s;
    ExpectRaise([&] { a.SaveToStream(s, prDouble, rnTrunc); }, "Sparse sizes too large for a stream");
    EXPECT_EQ(s.Size(), 0);
    a.SetRows(1 << 24);
    a.SaveToStream(s, prDouble, rnTrunc);
    s.SetPosition(0);
    TSparseMtx c;
    c.LoadFromStream(s);
    EXPECT_EQ(c.Rows(), 1 << 24);
}

TEST_F(SparseStream, ComplexAndSingle)
{
    TSparseMtx a, z;
    Make(a);
    z.ExtendToComplex(a, false);
    TMemoryStream s;
    z.SaveToStream(s, prDouble, rnTrunc);
    a.SaveToStream(s, prSingle, rnTrunc);
    s.SetPosition(0);
    TSparseMtx c;  // a fresh real matrix takes the complex one with its pattern
    c.LoadFromStream(s);
    EXPECT_TRUE(Snapshot(c) == Snapshot(z));
    c.LoadFromStream(s);
    EXPECT_EQ(Snapshot(c).RowIndices, Snapshot(a).RowIndices);
    EXPECT_EQ(c.GetValue(1, 2), static_cast<double>(1.0f / 3));
}

TEST_F(SparseStream, CutAndHostileStreamsChangeNothing)
{
    TSparseMtx a;
    Make(a);
    TMemoryStream s;
    a.SaveToStream(s, prDouble, rnTrunc);
    const std::vector<unsigned char> good = Bytes(s);
    TSparseMtx c;
    c.TripletsToSparse(2, 2, TIntArray{1}, TIntArray{1}, TSampleArray{9}, 0);
    const TSnapshot before = Snapshot(c);
    auto load = [&](const std::vector<unsigned char>& B) {
        TMemoryStream t;
        t.WriteBuffer(B.data(), static_cast<std::int64_t>(B.size()));
        t.SetPosition(0);
        c.LoadFromStream(t);
    };
    for (std::size_t n = 0; n < good.size(); ++n) {
        try {
            load(std::vector<unsigned char>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
            ADD_FAILURE() << n << " bytes loaded";
        } catch (const Exception&) {
        }
        ASSERT_TRUE(Snapshot(c) == before) << n;
    }
    auto patched = [&](std::size_t Offset, const void* V) {
        std::vector<unsigned char> b = good;
        std::memcpy(b.data() + Offset, V, 4);
        return b;
    };
    const float negative = -1, bigOrdinal = 99, huge = 1e30f;
    const int outside = 3, backwards = 5;
    ExpectRaise([&] { load(patched(24, &negative)); }, "Error reading stream!");
    ExpectRaise([&] { load(patched(4, &bigOrdinal)); }, "Error reading stream!");
    ExpectRaise([&] { load(patched(28, &huge)); }, "Error reading stream!");
    ExpectRaise([&] { load(patched(84, &outside)); }, "Invalid sparse pattern!");             // row index 3 of 3 rows
    ExpectRaise([&] { load(patched(84 + 16 + 4, &backwards)); }, "Invalid sparse pattern!");  // pointer past the end
    EXPECT_TRUE(Snapshot(c) == before);
}

TEST_F(SparseStream, FilesWithAppend)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tarnel_sparse_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "m.bin").string();
    TSparseMtx a, b, c;
    Make(a);
    b.TripletsToSparse(1, 1, TIntArray{0}, TIntArray{0}, TSampleArray{5}, 0);
    a.SaveToFile(file, true);  // no file yet: created
    b.SaveToFile(file, true);
    c.LoadFromFile(file);
    EXPECT_TRUE(Snapshot(c) == Snapshot(a));
    b.SaveToFile(file, false);
    c.LoadFromFile(file);
    EXPECT_TRUE(Snapshot(c) == Snapshot(b));
    c.LoadFromFile((dir / "missing.bin").string());
    EXPECT_TRUE(Snapshot(c) == Snapshot(b));
    std::filesystem::remove_all(dir);
}

}  // namespace
