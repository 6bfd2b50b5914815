// TSparseMtx: the binary stream format and files.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

#include "sparse_stream_golden.inc"

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

// The matrix a golden row describes, with its settings, as the library would save it.
void Build(TSparseMtx& M, const SparseStreamGolden& G)
{
    TIntArray rows = G.rowIndices, cols;
    for (int c = 0; c < G.cols; ++c)
        for (int k = G.colPointers[c]; k < G.colPointers[c + 1]; ++k) cols.push_back(c);
    if (rows.empty()) {
        M.Size(G.rows, G.cols, 0, G.complex);  // a fresh matrix: every column pointer 0
    } else if (G.complex) {
        TCplxArray v;
        for (std::size_t k = 0; k < G.values.size(); k += 2) v.push_back({G.values[k], G.values[k + 1]});
        M.TripletsToSparse(G.rows, G.cols, rows, cols, v, 0);
    } else {
        M.TripletsToSparse(G.rows, G.cols, rows, cols, G.values, 0);
    }
    const std::vector<int>& s = G.settings;
    M.SetReportLevel(static_cast<TReportLevel>(s[0]));
    M.SetAutoPattern(s[1] != 0);
    M.SetRefinmentIters(s[2]);
    M.SetSparseSystem(static_cast<TSparseSystem>(s[3]));
    M.SetIterativeMethod(static_cast<TIterativeMethod>(s[4]));
    M.SetBlockSize(s[5]);
    M.SetConvergenceCheck(static_cast<TConvergenceCheck>(s[6]));
    M.SetMaxIters(s[7]);
    M.SetVectorCount(s[8]);
    M.SetTolerance(G.tolerance);
    M.SetCaption(G.caption);
}

// The matrix and settings a golden row says its bytes hold.
void ExpectHolds(const TSparseMtx& M, const SparseStreamGolden& G)
{
    TSnapshot want;
    want.Rows = G.rows;
    want.Cols = G.cols;
    want.Complex = G.complex;
    want.NonZeros = static_cast<int>(G.rowIndices.size());
    want.ColPointers = G.colPointers;
    want.RowIndices = G.rowIndices;
    want.Values = G.back;
    EXPECT_EQ(Snapshot(M), want) << G.name;
    const std::vector<int> settings = {M.ReportLevel(),      M.AutoPattern(),      M.RefinmentIters(),
                                       M.SparseSystem(),     M.IterativeMethod(),  M.BlockSize(),
                                       M.ConvergenceCheck(), M.MaxIters(),         M.VectorCount()};
    EXPECT_EQ(settings, G.settings) << G.name;
    EXPECT_TRUE(SameBits(M.Tolerance(), G.toleranceBack)) << G.name << ' ' << M.Tolerance();
    EXPECT_EQ(M.Caption(), G.caption) << G.name;
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

// Both ways against the bytes of tests/data/gen_sparse_stream_golden.py: what we write is those bytes, and those
// bytes read into a matrix of other sizes and settings give the matrix back (prSingle values and Tolerance rounded).
TEST_F(SparseStream, GoldenBytesBothWays)
{
    for (const SparseStreamGolden& g : kSparseStreams) {
        if (g.saved) {
            TSparseMtx a;
            Build(a, g);
            TMemoryStream s;
            a.SaveToStream(s, g.precision, rnTrunc);
            EXPECT_EQ(Bytes(s), g.bytes) << g.name;
        }
        TSparseMtx c;
        c.TripletsToSparse(5, 1, TIntArray{4}, TIntArray{0}, TCplxArray{{9, 9}}, 0);
        c.SetMaxIters(3);
        c.SetCaption("old");
        TMemoryStream s;
        s.WriteBuffer(g.bytes.data(), static_cast<std::int64_t>(g.bytes.size()));
        s.SetPosition(0);
        c.LoadFromStream(s);
        ExpectHolds(c, g);
        EXPECT_EQ(s.Position(), s.Size()) << g.name;
    }
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
    const SparseStreamGolden& real = kSparseStreams[0];
    const SparseStreamGolden& cplx = kSparseStreams[1];
    ASSERT_EQ(std::string(real.name) + cplx.name, "realcomplex");
    TTempDir dir;
    const std::string file = dir.File("m.bin");
    TSparseMtx a, b, c;
    Build(a, real);
    Build(b, cplx);
    a.SaveToFile(file, true);  // no file yet: created
    b.SaveToFile(file, true);
    const std::string bytes = ReadFile(file);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.end()), kSparseAppended);
    c.LoadFromFile(file);  // the first of the two
    ExpectHolds(c, real);
    b.SaveToFile(file, false);
    c.LoadFromFile(file);
    ExpectHolds(c, cplx);
    c.LoadFromFile(dir.File("missing.bin"));
    ExpectHolds(c, cplx);
}

}  // namespace
