// The binary stream format of vectors and matrices against golden streams written by Python's struct and numpy
// (tests/data/gen_stream_golden.py), both ways; hostile and cut streams; files with Append; a mutation run of the
// readers over the golden streams (run under the sanitizers with the library suites).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/stream_detail.h"
#include "elem_util.h"
#include "stream_util.h"

using namespace tarnel;
using namespace streamtest;
using namespace testsupport;
using elemtest::Doubles;
using elemtest::SameDouble;

namespace {

#include "stream_golden.inc"

class Stream : public elemtest::ElemTest {};

float SingleAt(const Bytes& B, int Offset)
{
    float f;
    std::memcpy(&f, B.data() + Offset, 4);
    return f;
}

Bytes WithSingle(Bytes B, int Offset, float V)
{
    std::memcpy(B.data() + Offset, &V, 4);
    return B;
}

void ExpectValues(const std::vector<double>& Got, const std::vector<double>& Want, const std::string& Where)
{
    ASSERT_EQ(Got.size(), Want.size()) << Where;
    for (std::size_t i = 0; i < Got.size(); ++i)
        EXPECT_TRUE(SameDouble(Got[i], Want[i]))
            << Where << ": number " << i << " is " << Got[i] << ", not " << Want[i];
}

// A vector with recognisable settings, to see that a refused read changes none of them.
void Mark(TVec& V)
{
    V.SetIt(true, {9, 8, 7, 6});
    V.SetTag(42);
    V.SetCaption("kept");
    V.SetConditionCheck(true);
}

void ExpectMarked(const TVec& V, const std::string& Where)
{
    EXPECT_TRUE(V.Complex()) << Where;
    ExpectValues(Doubles(V), {9, 8, 7, 6}, Where);
    EXPECT_EQ(V.Tag(), 42) << Where;
    EXPECT_EQ(V.Caption(), "kept") << Where;
}

}  // namespace

TEST_F(Stream, SizeOfPrecision)
{
    const int bytes[] = {8, 4, 4, 4, 2, 2, 1, 1, 1, 1};
    for (int p = 0; p < 10; ++p) {
        EXPECT_EQ(SizeOfPrecision(static_cast<TPrecision>(p), false), bytes[p]);
        EXPECT_EQ(SizeOfPrecision(static_cast<TPrecision>(p), true), 2 * bytes[p]);
    }
    EXPECT_EQ(SizeOfPrecision(prWord, true), 4);
}

// Every encoding at every rounding: the bytes numpy/audioop give, and the numbers they read back as.
TEST_F(Stream, EveryEncodingAtItsEdges)
{
    const int n = static_cast<int>(std::size(kEdges));
    for (const EncodingGolden& g : kEncodings) {
        const std::string where =
            "precision " + std::to_string(g.precision) + ", rounding " + std::to_string(g.rounding);
        TMemoryStream m;
        WriteBinaryValues(m, kEdges, g.precision, g.rounding, n, false);
        EXPECT_EQ(Content(m), g.bytes) << where;
        // Complex counts two numbers per element.
        TMemoryStream c;
        WriteBinaryValues(c, kEdges, g.precision, g.rounding, n / 2, true);
        EXPECT_EQ(Content(c),
                  Bytes(g.bytes.begin(), g.bytes.begin() + (n / 2) * 2 * SizeOfPrecision(g.precision, false)))
            << where;

        TBytesStream in(g.bytes);
        std::vector<double> back(n + 1, -7.0);
        EXPECT_EQ(ReadBinaryValues(in, back.data(), g.precision, n, false), n) << where;
        back.pop_back();
        ExpectValues(back, g.back, where);
        // A stream that ends early: the count of numbers actually read.
        TBytesStream cut(Bytes(g.bytes.begin(), g.bytes.end() - 1));
        EXPECT_EQ(ReadBinaryValues(cut, back.data(), g.precision, n, false), n - 1) << where;
    }
    // Far more numbers than one conversion piece holds, so that the pieces join without a seam.
    std::vector<double> many(100003);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = std::fmod(i * 37.25, 70000.0) - 35000.0;
    for (TPrecision p : {prSingle, prSmallInt, prShortInt, prMuLaw}) {
        TMemoryStream m;
        WriteBinaryValues(m, many.data(), p, rnRound, static_cast<std::int64_t>(many.size()), false);
        ASSERT_EQ(m.Size(), static_cast<std::int64_t>(many.size()) * SizeOfPrecision(p, false));
        std::vector<double> back(many.size()), one(1);
        m.SetPosition(0);
        ASSERT_EQ(ReadBinaryValues(m, back.data(), p, static_cast<std::int64_t>(many.size()), false),
                  static_cast<std::int64_t>(many.size()));
        for (std::size_t i :
             {std::size_t{0}, std::size_t{8191}, std::size_t{8192}, std::size_t{65537}, many.size() - 1}) {
            TMemoryStream single;
            WriteBinaryValues(single, &many[i], p, rnRound, 1, false);
            single.SetPosition(0);
            ReadBinaryValues(single, one.data(), p, 1, false);
            EXPECT_EQ(back[i], one[0]) << "precision " << p << ", number " << i;
        }
    }
    ExpectRaise(
        [] {
            TMemoryStream m;
            WriteBinaryValues(m, kEdges, static_cast<TPrecision>(37), rnTrunc, 1, false);
        },
        "Precision out of range");
    ExpectRaise(
        [] {
            TMemoryStream m;
            WriteBinaryValues(m, kEdges, prByte, static_cast<TRounding>(3), 1, false);
        },
        "Rounding out of range");
}

// The objects the golden script describes: written byte for byte, and read back whole.
TEST_F(Stream, GoldenStreamsBothWays)
{
    {
        TVec v;
        v.SetIt(false, {1.5, -2.0, 3.25});
        v.SetTag(7);
        v.SetCaption("abc");
        TMemoryStream m;
        v.SaveToStream(m);
        EXPECT_EQ(Content(m), kReal3);
        EXPECT_EQ(m.Size(), 44 + 4 + 3 + 24);
        EXPECT_EQ(SingleAt(kReal3, 20), 150.0f);
        EXPECT_EQ(SingleAt(kReal3, 32), 64019.0f);
        TVec w;
        TBytesStream in(kReal3);
        w.LoadFromStream(in);
        ExpectValues(Doubles(w), {1.5, -2.0, 3.25}, "real 3");
        EXPECT_EQ(w.Tag(), 7);
        EXPECT_EQ(w.Caption(), "abc");
        EXPECT_EQ(in.Position(), in.Size());
    }
    {
        TVec v;
        TMemoryStream m;
        v.SaveToStream(m);
        EXPECT_EQ(Content(m), kEmpty);
        EXPECT_EQ(m.Size(), 48);
        TVec w;
        Mark(w);
        TBytesStream in(kEmpty);
        w.LoadFromStream(in);
        EXPECT_EQ(w.Length(), 0);
        EXPECT_FALSE(w.Complex());
        EXPECT_EQ(w.Caption(), "");
    }
    {
        TVec v;
        v.SetIt(true, {1, 2, -0.1, 3e38});
        v.SetTag(-3);
        v.SetCaption("z");
        v.SetConditionCheck(false);
        TMemoryStream m;
        v.SaveToStream(m, prSingle, rnRound);
        EXPECT_EQ(Content(m), kCplx2Single);
        TVec w;
        TBytesStream in(kCplx2Single);
        w.LoadFromStream(in);
        ExpectValues(Doubles(w), {1, 2, static_cast<float>(-0.1), static_cast<float>(3e38)}, "complex single");
        EXPECT_TRUE(w.Complex());
        EXPECT_FALSE(w.ConditionCheck());
        EXPECT_EQ(w.Tag(), -3);
    }
    {
        TMtx a;
        Load(a, 2, 2, true, {1.4, -2.6, 40000, 0, -40000.5, 7, 0.5, -0.5});
        a.SetTag(-5);
        a.SetCaption("M");
        a.SetAutoMtxType(true);
        a.SetEigGenType(etABz);
        a.SetBalance(btPerm);
        a.SetConditionCheck(false);
        a.SetConditionNumber(cnNorm1);
        a.SetRefineSolution(true);
        a.SetTriangleForm(tfLower);
        a.SetTriangleUnit(true);
        a.SetSuperDiag(2);
        a.SetSubDiag(1);
        TMemoryStream m;
        a.SaveToStream(m, prSmallInt, rnRound);
        EXPECT_EQ(Content(m), kMtxSmallInt);
        EXPECT_EQ(m.Size(), 104 + 4 + 1 + 16);
        TMtx b;
        TBytesStream in(kMtxSmallInt);
        b.LoadFromStream(in);
        EXPECT_EQ(b.Rows(), 2);
        EXPECT_EQ(b.Cols(), 2);
        EXPECT_TRUE(b.Complex());
        ExpectValues(std::vector<double>(b.Values(), b.Values() + 8), {1, -3, 32767, 0, -32768, 7, 0, 0}, "matrix");
        EXPECT_EQ(b.Tag(), -5);
        EXPECT_EQ(b.Caption(), "M");
        EXPECT_TRUE(b.AutoMtxType());
        EXPECT_EQ(b.EigGenType(), etABz);
        EXPECT_EQ(b.Balance(), btPerm);
        EXPECT_FALSE(b.ConditionCheck());
        EXPECT_EQ(b.ConditionNumber(), cnNorm1);
        EXPECT_TRUE(b.RefineSolution());
        EXPECT_EQ(b.TriangleForm(), tfLower);
        EXPECT_TRUE(b.TriangleUnit());
        EXPECT_EQ(b.SuperDiag(), 2);
        EXPECT_EQ(b.SubDiag(), 1);
    }
    {
        TMtx e, f;
        e.Size(0, 3);
        e.SetCaption("e");
        TMemoryStream m;
        e.SaveToStream(m);
        EXPECT_EQ(Content(m), kMtxEmpty);
        Load(f, 1, 1, false, {5});
        TBytesStream in(kMtxEmpty);
        f.LoadFromStream(in);
        EXPECT_EQ(f.Rows(), 0);
        EXPECT_EQ(f.Cols(), 3);
    }
}

// Old versions: no tag, no caption; vectors up to 103 read two numbers past Length into their spare room, or read
// and drop them where the vector has no room of its own.
TEST_F(Stream, OldVersions)
{
    TVec v;
    v.SetTag(5);
    v.SetCaption("old");
    TBytesStream in(kVersion103);
    v.LoadFromStream(in);
    ExpectValues(Doubles(v), {1, 2, 3}, "103");
    EXPECT_EQ(v.Values()[3], 8.0);
    EXPECT_EQ(v.Values()[4], 9.0);
    EXPECT_EQ(v.Tag(), 5);
    EXPECT_EQ(v.Caption(), "old");
    EXPECT_EQ(in.Position(), in.Size());

    TBytesStream cplx(kVersion103Cplx);
    v.LoadFromStream(cplx);
    ExpectValues(Doubles(v), {1, 1, 2, -2}, "103 complex");
    EXPECT_EQ(v.CValues()[2].Re, 8.0);
    EXPECT_EQ(v.CValues()[2].Im, 9.0);

    // A view reads the two numbers and drops them: its parent's next elements stay.
    TVec parent, view;
    parent.SetIt(false, {0, 0, 0, -1, -2, -3});
    view.SetSubRange(parent, 0, 3);
    TBytesStream again(kVersion103);
    view.LoadFromStream(again);
    view.SetFullRange();
    ExpectValues(Doubles(parent), {1, 2, 3, -1, -2, -3}, "view");
    EXPECT_EQ(again.Position(), again.Size());

    TBytesStream v104(kVersion104);
    v.LoadFromStream(v104);
    ExpectValues(Doubles(v), {4, 5}, "104");
    EXPECT_EQ(v104.Position(), v104.Size()) << "no further numbers after version 104";

    TMtx m;
    TBytesStream m103(kMtxVersion103);
    m.LoadFromStream(m103);
    EXPECT_EQ(m.Rows(), 1);
    EXPECT_EQ(m.Values()[1], 7.0);
    EXPECT_EQ(m.Tag(), 0);

    // The version a vector remembers is its own: a matrix header read in between does not change it.
    TVec w;
    TBytesStream h103(kVersion103);
    ASSERT_EQ(w.ReadHeader(h103), prDouble);
    TBytesStream mx(kMtxSmallInt);
    m.ReadHeader(mx);
    EXPECT_EQ(w.ReadValues(h103, prDouble), 5);
    EXPECT_EQ(w.ReadValues(h103, prDouble), 0) << "the version is used once";
}

TEST_F(Stream, LongCaptionIsCutAndSkipped)
{
    TVec a, b;
    TBytesStream in(kLongCaption);
    a.LoadFromStream(in);
    ASSERT_EQ(a.Caption().size(), 254u);
    EXPECT_EQ(a.Caption().substr(0, 3), "ABC");
    ExpectValues(Doubles(a), {1, 2}, "first");
    b.LoadFromStream(in);
    EXPECT_EQ(b.Caption(), "next");
    ExpectValues(Doubles(b), {5}, "second");

    // The writer keeps the whole caption.
    TVec c;
    c.SetCaption(std::string(300, 'x'));
    TMemoryStream m;
    c.SaveToStream(m);
    EXPECT_EQ(m.Size(), 44 + 4 + 300);
}

// Hostile headers and cut streams: the texts, with the object unchanged.
TEST_F(Stream, HostileAndCutStreamsLeaveTheObjectUnchanged)
{
    const float nan = std::nanf("");
    struct {
        const char* what;
        Bytes stream;
        const char* text;
    } const cases[] = {
        {"magic 64018", kMagic64018, "Wrong file format!"},
        {"NaN length", WithSingle(kReal3, 4, nan), "Wrong file format!"},
        {"negative length", WithSingle(kReal3, 4, -1), "Wrong file format!"},
        {"fractional length", WithSingle(kReal3, 4, 2.5f), "Wrong file format!"},
        {"huge length", WithSingle(kReal3, 4, 3e9f), "Wrong file format!"},
        {"precision 37", WithSingle(kReal3, 16, 37), "Wrong file format!"},
        {"complex 2", WithSingle(kReal3, 0, 2), "Wrong file format!"},
        {"infinite tag", WithSingle(kReal3, 28, INFINITY), "Wrong file format!"},
        {"NaN version", WithSingle(kReal3, 20, nan), "Wrong file format!"},
        {"length past the stream", WithSingle(kReal3, 4, 16777216), "Error reading stream!"},
        {"cut in the header", Bytes(kReal3.begin(), kReal3.begin() + 43), "Error reading stream!"},
        {"cut in the caption length", Bytes(kReal3.begin(), kReal3.begin() + 46), "Error reading stream!"},
        {"cut in the caption", Bytes(kReal3.begin(), kReal3.begin() + 50), "Error reading stream!"},
        {"cut in the values", Bytes(kReal3.begin(), kReal3.end() - 1), "Error reading stream!"},
        {"old extra numbers cut", Bytes(kVersion103.begin(), kVersion103.end() - 8), "Error reading stream!"},
        {"empty stream", Bytes(), "Error reading stream!"},
    };
    for (const auto& c : cases) {
        TVec v;
        Mark(v);
        TBytesStream in(c.stream);
        ExpectRaise([&] { v.LoadFromStream(in); }, c.text, c.what);
        ExpectMarked(v, c.what);
        // The header reader alone refuses them too, the values part included.
        TBytesStream again(c.stream);
        ExpectRaise([&] { v.ReadHeader(again); }, c.text, c.what);
        ExpectMarked(v, c.what);
    }

    struct {
        const char* what;
        Bytes stream;
        const char* text;
    } const mtxCases[] = {
        {"cut in the header", Bytes(kMtxSmallInt.begin(), kMtxSmallInt.begin() + 103), "TMtx: Error reading stream!"},
        {"cut in the caption", Bytes(kMtxSmallInt.begin(), kMtxSmallInt.begin() + 108), "TMtx: Error reading stream!"},
        {"cut in the values", Bytes(kMtxSmallInt.begin(), kMtxSmallInt.end() - 1), "TMtx: Error reading stream!"},
        {"magic", WithSingle(kMtxSmallInt, 72, 64018), "Wrong file format!"},
        {"NaN rows", WithSingle(kMtxSmallInt, 4, nan), "Wrong file format!"},
        {"negative cols", WithSingle(kMtxSmallInt, 8, -2), "Wrong file format!"},
        {"rows times cols", WithSingle(WithSingle(kMtxSmallInt, 4, 16777216), 8, 16777216), "Wrong file format!"},
        {"rows past the stream", WithSingle(kMtxSmallInt, 4, 1000), "TMtx: Error reading stream!"},
        {"eig type 3", WithSingle(kMtxSmallInt, 20, 3), "Wrong file format!"},
        {"balance 4", WithSingle(kMtxSmallInt, 24, 4), "Wrong file format!"},
        {"condition number -1", WithSingle(kMtxSmallInt, 32, -1), "Wrong file format!"},
        {"precision 10", WithSingle(kMtxSmallInt, 36, 10), "Wrong file format!"},
        {"triangle form 2", WithSingle(kMtxSmallInt, 44, 2), "Wrong file format!"},
        {"NaN superdiag", WithSingle(kMtxSmallInt, 52, nan), "Wrong file format!"},
        {"infinite subdiag", WithSingle(kMtxSmallInt, 56, -INFINITY), "Wrong file format!"},
    };
    for (const auto& c : mtxCases) {
        TMtx m;
        Load(m, 1, 2, false, {3, 4});
        m.SetCaption("kept");
        m.SetBalance(btScale);
        TBytesStream in(c.stream);
        ExpectRaise([&] { m.LoadFromStream(in); }, c.text, c.what);
        EXPECT_EQ(m.Rows(), 1) << c.what;
        EXPECT_EQ(m.Cols(), 2) << c.what;
        EXPECT_EQ(m.Values()[1], 4.0) << c.what;
        EXPECT_EQ(m.Caption(), "kept") << c.what;
        EXPECT_EQ(m.Balance(), btScale) << c.what;
    }
    // Free integers stored inexactly above 2^24 read back held to the Integer range: a Tag of 2^31 - 1 is stored as
    // 2^31, and the object's own stream still loads.
    {
        TVec t, u;
        t.SetTag(INT32_MAX);
        TMtx a, b;
        a.SetTag(INT32_MIN);
        a.SetSuperDiag(-1);
        TMemoryStream tm, am;
        t.SaveToStream(tm);
        a.SaveToStream(am);
        tm.SetPosition(0);
        am.SetPosition(0);
        u.LoadFromStream(tm);
        b.LoadFromStream(am);
        EXPECT_EQ(u.Tag(), INT32_MAX);
        EXPECT_EQ(b.Tag(), INT32_MIN);
        EXPECT_EQ(b.SuperDiag(), -1);
    }
    // Quadratic is derived from the sizes, never read.
    TMtx q;
    TBytesStream in(WithSingle(kMtxSmallInt, 12, 0));
    q.LoadFromStream(in);
    EXPECT_TRUE(q.Quadratic());
    // A short values part read alone still returns the count.
    TVec v;
    TBytesStream part(Bytes(kReal3.begin() + 51, kReal3.end() - 8));
    v.SetLength(3);
    EXPECT_EQ(v.ReadValues(part, prDouble), 2);
}

TEST_F(Stream, SizesAbove2To24AreRefusedBeforeWriting)
{
    TVec v;
    v.SetLength(16777217);
    TMemoryStream m;
    ExpectRaise([&] { v.SaveToStream(m); }, "Length > 16777216");
    EXPECT_EQ(m.Size(), 0);
    v.SetLength(16777216);
    v.WriteHeader(m);
    EXPECT_EQ(SingleAt(Content(m), 4), 16777216.0f);

    TMtx a;
    a.Size(1, 16777217);
    TMemoryStream n;
    ExpectRaise([&] { a.SaveToStream(n); }, "Rows or Cols > 16777216");
    EXPECT_EQ(n.Size(), 0);
}

TEST_F(Stream, FilesAndAppend)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tarnel_stream_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string f = (dir / "v.vec").string();
    TVec a, b, r;
    a.SetIt(false, {1, 2});
    b.SetIt(true, {3, 4});
    a.SaveToFile(f);
    b.SaveToFile(f, true);
    EXPECT_EQ(std::filesystem::file_size(f), 2u * 48 + 16 + 16);
    {
        // The objects one after the other from one stream; LoadFromFile takes the first.
        TFileStream s(f, fmOpenRead);
        r.LoadFromStream(s);
        ExpectValues(Doubles(r), {1, 2}, "first");
        r.LoadFromStream(s);
        ExpectValues(Doubles(r), {3, 4}, "second");
        EXPECT_TRUE(r.Complex());
    }
    EXPECT_FALSE(r.LoadFromFile(f).Complex());
    a.SaveToFile(f);
    EXPECT_EQ(std::filesystem::file_size(f), 48u + 16);
    // A refused write leaves an appended file as it was.
    TVec big;
    big.SetLength(16777217);
    ExpectRaise([&] { big.SaveToFile(f, true); }, "Length > 16777216");
    EXPECT_EQ(std::filesystem::file_size(f), 48u + 16);

    TMtx m, n;
    Load(m, 1, 2, false, {5, 6});
    const std::string g = (dir / "m.mtx").string();
    m.SaveToFile(g, true);  // Append of a file that does not exist creates it
    m.SaveToFile(g, true);
    EXPECT_EQ(std::filesystem::file_size(g), 2u * (104 + 4 + 16));
    n.LoadFromFile(g);
    EXPECT_EQ(n.Values()[1], 6.0);

    const std::string missing = (dir / "none.vec").string();
    try {
        r.LoadFromFile(missing);
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

// A save over an existing file is written over it: whatever the file held before, longer or shorter than the object,
// afterwards it holds exactly the bytes a new file gets.
TEST_F(Stream, SavingOverAFileLeavesExactlyTheObject)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tarnel_over_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string f = (dir / "o.bin").string();
    auto fileBytes = [&] {
        std::ifstream in(f, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    TVec v;
    v.SetIt(true, {1, -2, 3.5, 1e300, -0.0, 7});
    v.SetCaption("over");
    TMtx m;
    Load(m, 2, 3, false, {1, 2, 3, 4, 5, 6});
    TMemoryStream vs, ms;
    v.SaveToStream(vs);
    m.SaveToStream(ms);
    const Bytes wantV = Content(vs), wantM = Content(ms);
    // What the file held: nothing (a new file), fewer bytes than are held back, a cut header, the object's own length,
    // and far more than the object.
    const std::size_t before[] = {0, 1, 3, 4, 40, wantV.size(), wantM.size(), 5000};
    for (std::size_t n : before) {
        for (bool matrix : {false, true}) {
            const std::string where = std::to_string(n) + (matrix ? " bytes before a matrix" : " bytes before a vector");
            std::filesystem::remove(f);
            if (n > 0) {
                std::ofstream out(f, std::ios::binary);
                out << std::string(n, '\xAB');
            }
            if (matrix) {
                m.SaveToFile(f);
            } else {
                v.SaveToFile(f);
            }
            EXPECT_TRUE(fileBytes() == (matrix ? wantM : wantV)) << where;
        }
    }
    // A device is written as before (it can be neither cut nor written over).
    v.SaveToFile("/dev/null");
    std::filesystem::remove_all(dir);
}

// While a save over a file runs, the file never reads as an object (a process killed then leaves a file every reader
// refuses, not old numbers under a new header); a save that fails leaves it empty, as a save into an emptied file
// did.
TEST_F(Stream, AFileBeingWrittenOverNeverLoads)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tarnel_held_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string f = (dir / "h.bin").string();
    TVec old, small, r;
    old.SetIt(false, std::vector<double>(100, 0.25));
    small.SetIt(false, {1, 2, 3});
    TMtx om, rm;
    Load(om, 2, 2, false, {1, 2, 3, 4});
    auto refused = [&](const std::string& where) {
        SCOPED_TRACE(where);
        ExpectRaise([&] { r.LoadFromFile(f); }, "Wrong file format!");
        ExpectRaise([&] { rm.LoadFromFile(f); }, "Wrong file format!");
    };
    for (bool fails : {false, true}) {
        for (bool matrixBefore : {false, true}) {
            const std::string where = std::string(fails ? "failing" : "finishing") + " save over a " +
                                      (matrixBefore ? "matrix" : "vector");
            if (matrixBefore) {
                om.SaveToFile(f);
            } else {
                old.SaveToFile(f);
            }
            const std::int64_t bytes = static_cast<std::int64_t>(std::filesystem::file_size(f));
            try {
                detail::SaveObjectToFile(f, false, bytes, [&](TStream& s) {
                    refused(where + ", nothing written");
                    small.SaveToStream(s);
                    refused(where + ", the whole object written");
                    if (fails) throw EWriteError();
                });
                EXPECT_FALSE(fails) << where;
            } catch (const EWriteError&) {
                EXPECT_TRUE(fails) << where;
            }
            if (fails) {
                EXPECT_EQ(std::filesystem::file_size(f), 0u) << where;
            } else {
                ExpectValues(Doubles(r.LoadFromFile(f)), {1, 2, 3}, where);
            }
        }
    }
    std::filesystem::remove_all(dir);
}

TEST_F(Stream, DataValuesRestoresTheWholeState)
{
    TVec a, b;
    a.SetIt(true, {1, -1, 0.5, 2});
    a.SetTag(11);
    a.SetCaption("dv");
    TMemoryStream m;
    a.SaveBinaryStream(m);
    m.SetPosition(0);
    b.LoadBinaryStream(m);
    ExpectValues(Doubles(b), Doubles(a), "DataValues");
    EXPECT_EQ(b.Tag(), 11);
    EXPECT_EQ(b.Caption(), "dv");
}

// Mutations of every golden stream: each byte cut off, bytes flipped, singles replaced by odd values. The readers
// must load or raise one of their texts, never read or write outside memory (the sanitizer run checks that).
TEST_F(Stream, MutatedStreamsNeverHarm)
{
    const float odd[] = {std::nanf(""), INFINITY, -1, 0.5f, 1e9f, 16777216, 255, -0.0f};
    auto tryVec = [](const Bytes& B) {
        TVec v;
        TBytesStream in(B);
        try {
            v.LoadFromStream(in);
            v.LoadFromStream(in);
        } catch (const tarnel::Exception&) {
        }
    };
    auto tryMtx = [](const Bytes& B) {
        TMtx m;
        TBytesStream in(B);
        try {
            m.LoadFromStream(in);
        } catch (const tarnel::Exception&) {
        }
    };
    for (const Bytes* g : {&kReal3, &kEmpty, &kCplx2Single, &kVersion103, &kVersion103Cplx, &kVersion104, &kMagic64018,
                           &kLongCaption, &kMtxSmallInt, &kMtxEmpty, &kMtxVersion103}) {
        const bool mtx = g == &kMtxSmallInt || g == &kMtxEmpty || g == &kMtxVersion103;
        const auto run = [&](const Bytes& B) { mtx ? tryMtx(B) : tryVec(B); };
        for (std::size_t cut = 0; cut < g->size(); ++cut) run(Bytes(g->begin(), g->begin() + cut));
        for (std::size_t i = 0; i < g->size(); ++i) {
            Bytes b = *g;
            b[i] ^= 0xA5;
            run(b);
        }
        const int header = mtx ? 104 : 44;
        for (int off = 0; off + 4 <= header && off + 4 <= static_cast<int>(g->size()); off += 4)
            for (float f : odd) run(WithSingle(*g, off, f));
    }
}
