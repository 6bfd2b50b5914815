// TSparseMtx: band counts, band storage both ways, one diagonal, the triangles, the split and its assemblies, against
// scipy (tests/data/gen_sparse_banded.py) and against each other.
#include <algorithm>
#include <string>
#include <vector>

#include "core/messages.h"
#include "sparse/messages.h"
#include "sparse_test_util.h"

using namespace tarnel;
using namespace sparsetest;

namespace {

struct BandCase {
    const char* Name;
    int Rows, Cols;
    bool Complex;
    std::vector<int> R, C;
    std::vector<double> V;  // (Re, Im) pairs when complex
    int Ku, Kl;
    std::vector<double> Ab;  // (Ku + Kl + 1) x Cols, row by row
};

struct UnbandCase {
    const char* Name;
    int Ku, Kl, N;
    bool Complex;
    std::vector<double> Ab;
    double Thresh;
    std::vector<int> ColPtr, RowIdx;
    std::vector<double> Values;
};

struct FormMatrix {
    const char* Name;
    int Rows, Cols;
    bool Complex;
    std::vector<int> R, C;
    std::vector<double> V;
};

struct DiagCase {
    int Matrix, K;
    std::vector<double> Expected;
};

struct TriangleCase {
    int Matrix;
    bool Lower, Diagonal;
    std::vector<int> ColPtr, RowIdx;
    std::vector<double> Values;
};

#include "sparse_banded_golden.inc"

using SparseBanded = SparseTest;

void Load(TSparseMtx& M, int Rows, int Cols, bool Complex, const std::vector<int>& R, const std::vector<int>& C,
          const std::vector<double>& V)
{
    if (Complex) {
        TCplxArray z(R.size());
        for (std::size_t i = 0; i < z.size(); ++i) z[i] = {V[2 * i], V[2 * i + 1]};
        M.TripletsToSparse(Rows, Cols, TIntArray(R), TIntArray(C), z, 0);
    } else {
        M.TripletsToSparse(Rows, Cols, TIntArray(R), TIntArray(C), TSampleArray(V), 0);
    }
}

void Load(TSparseMtx& M, const FormMatrix& F)
{
    Load(M, F.Rows, F.Cols, F.Complex, F.R, F.C, F.V);
}

// The compressed form of the golden arrays.
TSnapshot Expected(int Rows, int Cols, bool Complex, const std::vector<int>& ColPtr, const std::vector<int>& RowIdx,
                   const std::vector<double>& Values)
{
    TSnapshot s;
    s.Rows = Rows;
    s.Cols = Cols;
    s.Complex = Complex;
    s.NonZeros = static_cast<int>(RowIdx.size());
    s.ColPointers = ColPtr;
    s.RowIndices = RowIdx;
    s.Values = Values;
    return s;
}

std::vector<double> Doubles(const TMtx& M)
{
    return std::vector<double>(M.Values(),
                               M.Values() + static_cast<std::size_t>(M.Rows()) * M.Cols() * (M.Complex() ? 2 : 1));
}

std::vector<double> Doubles(const TVec& V)
{
    return std::vector<double>(V.Values(), V.Values() + V.Length() * (V.Complex() ? 2 : 1));
}

TEST_F(SparseBanded, BandStorageAgainstSolveBandedLayout)
{
    for (const BandCase& b : kBandCases) {
        SCOPED_TRACE(b.Name);
        TSparseMtx m;
        Load(m, b.Rows, b.Cols, b.Complex, b.R, b.C, b.V);
        int ku = -1, kl = -1;
        m.DiagonalsCount(ku, kl);
        EXPECT_EQ(ku, b.Ku);
        EXPECT_EQ(kl, b.Kl);

        // The check counts what is allocated, (ku + kl + 1)·Cols, not (ku + kl)·Cols.
        const int needed = (b.Ku + b.Kl + 1) * b.Cols;
        TMtx band;
        band.Size(2, 2);
        ExpectRaise([&] { m.SparseToBanded(band, needed - 1); }, msg::kBandTooLarge);
        EXPECT_EQ(band.Rows(), 2);
        EXPECT_EQ(band.Cols(), 2);

        m.SparseToBanded(band, needed);
        EXPECT_EQ(band.Rows(), b.Ku + b.Kl + 1);
        EXPECT_EQ(band.Cols(), b.Cols);
        EXPECT_EQ(band.Complex(), b.Complex);
        EXPECT_EQ(band.SuperDiag(), b.Ku);
        EXPECT_EQ(band.SubDiag(), b.Kl);
        EXPECT_EQ(Doubles(band), b.Ab);

        // A square matrix comes back from its band storage.
        if (b.Rows == b.Cols) {
            TSparseMtx back;
            back.BandedToSparse(band, 0);
            EXPECT_EQ(Snapshot(back), Snapshot(m));
        }
    }
}

TEST_F(SparseBanded, BandedToSparseAgainstScipy)
{
    for (const UnbandCase& u : kUnbandCases) {
        SCOPED_TRACE(u.Name);
        TMtx band;
        testsupport::Load(band, u.Ku + u.Kl + 1, u.N, u.Complex, u.Ab);
        band.SetSuperDiag(u.Ku);
        band.SetSubDiag(u.Kl);
        TSparseMtx m;
        MakeSmall(m);
        m.BandedToSparse(band, u.Thresh);
        EXPECT_EQ(Snapshot(m), Expected(u.N, u.N, u.Complex, u.ColPtr, u.RowIdx, u.Values));
    }
}

TEST_F(SparseBanded, BandedToSparseKeepsZeroSlotsOnlyWhenAsked)
{
    TMtx band;
    band.Size(3, 3);
    band.SetZero();
    band.SetSuperDiag(1);
    band.SetSubDiag(1);
    TSparseMtx m;
    m.BandedToSparse(band, -1);
    EXPECT_EQ(m.NonZeros(), 0);
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 3);
    m.SetDontStripZeros(true);
    m.BandedToSparse(band, -1);
    EXPECT_EQ(m.NonZeros(), 7);  // the used slots of a tridiagonal band of order 3
    EXPECT_EQ(Snapshot(m).RowIndices, (std::vector<int>{0, 1, 0, 1, 2, 1, 2}));
}

// Band storage that does not hold the rows its counts announce is refused before anything is read or changed.
TEST_F(SparseBanded, BandedToSparseRefusesBadBandStorage)
{
    struct Case {
        int Rows, Ku, Kl;
    };
    for (const Case& c : {Case{2, 1, 1}, Case{4, 1, 1}, Case{3, -1, 3}, Case{3, 3, -1}, Case{1, 0, -1}}) {
        SCOPED_TRACE(std::to_string(c.Rows) + " rows, ku " + std::to_string(c.Ku) + ", kl " + std::to_string(c.Kl));
        TMtx band;
        band.Size(c.Rows, 4);
        band.SetZero();
        band.SetSuperDiag(c.Ku);
        band.SetSubDiag(c.Kl);
        TSparseMtx m;
        MakeSmall(m);
        const TSnapshot before = Snapshot(m);
        ExpectRaise([&] { m.BandedToSparse(band, 0); }, msg::sparse::kBandedRows);
        EXPECT_EQ(Snapshot(m), before);
    }
}

TEST_F(SparseBanded, DiagonalsAgainstScipy)
{
    for (const DiagCase& d : kDiagCases) {
        const FormMatrix& f = kFormMatrices[static_cast<std::size_t>(d.Matrix)];
        SCOPED_TRACE(std::string(f.Name) + ", k " + std::to_string(d.K));
        TSparseMtx m;
        Load(m, f);
        TVec v;
        m.Diag(v, d.K);
        EXPECT_EQ(v.Length(), std::min(f.Rows, f.Cols));
        EXPECT_EQ(v.Complex(), f.Complex);
        EXPECT_EQ(Doubles(v), d.Expected);
    }
    // The first k each check refuses; the vector is sized and zeroed before the checks.
    for (const FormMatrix& f : kFormMatrices) {
        SCOPED_TRACE(f.Name);
        TSparseMtx m;
        Load(m, f);
        const std::pair<int, const char*> refused[] = {{-f.Rows - 1, msg::sparse::kDiagAbove},
                                                       {f.Cols + 1, msg::sparse::kDiagBelow}};
        for (const auto& [k, text] : refused) {
            TVec v;
            v.SetIt(false, {7, 7, 7, 7, 7, 7, 7, 7, 7});
            ExpectRaise([&] { m.Diag(v, k); }, text);
            EXPECT_EQ(v.Length(), std::min(f.Rows, f.Cols));
            EXPECT_EQ(v.Complex(), f.Complex);
            for (double x : Doubles(v)) EXPECT_EQ(x, 0);
        }
    }
}

TEST_F(SparseBanded, TrianglesAgainstTrilTriu)
{
    for (const TriangleCase& t : kTriangleCases) {
        const FormMatrix& f = kFormMatrices[static_cast<std::size_t>(t.Matrix)];
        SCOPED_TRACE(std::string(f.Name) + (t.Lower ? " lower" : " upper") + (t.Diagonal ? " with" : " without"));
        const TSnapshot expected = Expected(f.Rows, f.Cols, f.Complex, t.ColPtr, t.RowIdx, t.Values);
        TSparseMtx m, out;
        Load(m, f);
        if (t.Lower)
            out.LowerTriangle(m, t.Diagonal);
        else
            out.UpperTriangle(m, t.Diagonal);
        EXPECT_EQ(Snapshot(out), expected);
        // Self as the source: the triangle of what Self held.
        if (t.Lower)
            m.LowerTriangle(m, t.Diagonal);
        else
            m.UpperTriangle(m, t.Diagonal);
        EXPECT_EQ(Snapshot(m), expected);
    }
}

const TriangleCase& Triangle(int Matrix, bool Lower, bool Diagonal)
{
    return *std::find_if(kTriangleCases.begin(), kTriangleCases.end(), [&](const TriangleCase& t) {
        return t.Matrix == Matrix && t.Lower == Lower && t.Diagonal == Diagonal;
    });
}

const DiagCase& MainDiagonal(int Matrix)
{
    return *std::find_if(kDiagCases.begin(), kDiagCases.end(),
                         [&](const DiagCase& d) { return d.Matrix == Matrix && d.K == 0; });
}

TEST_F(SparseBanded, SplitAndBothAssembliesRestoreTheMatrix)
{
    for (int i = 0; i < static_cast<int>(kFormMatrices.size()); ++i) {
        const FormMatrix& f = kFormMatrices[static_cast<std::size_t>(i)];
        SCOPED_TRACE(f.Name);
        auto Golden = [&](bool Lower, bool Diagonal) {
            const TriangleCase& t = Triangle(i, Lower, Diagonal);
            return Expected(f.Rows, f.Cols, f.Complex, t.ColPtr, t.RowIdx, t.Values);
        };
        TSparseMtx m, lower, upper, sum;
        Load(m, f);
        TVec d;
        m.Split(lower, d, upper, false);
        EXPECT_EQ(Snapshot(lower), Golden(true, false));
        EXPECT_EQ(Snapshot(upper), Golden(false, false));
        EXPECT_EQ(Doubles(d), MainDiagonal(i).Expected);
        sum.AddSplit(lower, d, upper);
        EXPECT_EQ(Snapshot(sum), Snapshot(m));

        // The diagonal kept in the lower part: the vector stays zero, the two-part sum restores the matrix.
        m.Split(lower, d, upper, true);
        EXPECT_EQ(Snapshot(lower), Golden(true, true));
        EXPECT_EQ(d.Length(), std::min(f.Rows, f.Cols));
        for (double x : Doubles(d)) EXPECT_EQ(x, 0);
        sum.AddSplit(lower, upper);
        EXPECT_EQ(Snapshot(sum), Snapshot(m));

        // Self among the results, and one matrix for both parts (it ends as the upper part).
        TSparseMtx self;
        Load(self, f);
        self.Split(self, d, upper, false);
        EXPECT_EQ(Snapshot(self), Golden(true, false));
        Load(self, f);
        self.Split(lower, d, lower, false);
        EXPECT_EQ(Snapshot(lower), Golden(false, false));
        // Self among the operands of the assemblies.
        m.Split(lower, d, upper, false);
        lower.AddSplit(lower, d, upper);
        EXPECT_EQ(Snapshot(lower), Snapshot(m));
        m.Split(lower, d, upper, true);
        upper.AddSplit(lower, upper);
        EXPECT_EQ(Snapshot(upper), Snapshot(m));
    }
}

TEST_F(SparseBanded, StoredZeroOnTheDiagonalDisappearsInTheAssembly)
{
    TSparseMtx m, lower, upper, sum;
    m.SetDontStripZeros(true);
    m.TripletsToSparse(2, 2, TIntArray{0, 1, 0, 1}, TIntArray{0, 0, 1, 1}, TSampleArray{1, 2, 3, 0}, 0);
    TVec d;
    m.Split(lower, d, upper, false);
    EXPECT_EQ(Doubles(d), (std::vector<double>{1, 0}));
    sum.AddSplit(lower, d, upper);
    EXPECT_EQ(Snapshot(sum).RowIndices, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(Snapshot(sum).Values, (std::vector<double>{1, 2, 3}));
}

// Parts holding entries outside their triangles: the assembly is still the sum, rows ascending and meeting entries
// summed (the plain concatenation would repeat rows and leave them unsorted).
TEST_F(SparseBanded, AssemblyOfPartsOutsideTheirTrianglesIsTheSum)
{
    TSparseMtx a, b, sum;
    // a: (0,0) 1, (2,0) 2, (1,1) 3, (0,2) 4, (2,2) 5; b: (1,0) 10, (0,0) 20, (2,1) 30, (1,1) 40 and (2,2) 0.5.
    MakeSmall(a);
    b.TripletsToSparse(3, 3, TIntArray{1, 0, 2, 1, 2}, TIntArray{0, 0, 1, 1, 2}, TSampleArray{10, 20, 30, 40, 0.5}, 0);
    TVec d;
    d.SetIt(false, {100, 0, 200});
    sum.AddSplit(b, d, a);  // upper part a, then the diagonal, then lower part b in every column
    TMtx dense;
    sum.SparseToDense(dense, 9);
    EXPECT_EQ(Doubles(dense), (std::vector<double>{121, 0, 4, 10, 43, 0, 2, 30, 205.5}));
    const TSnapshot s = Snapshot(sum);
    EXPECT_EQ(s.ColPointers, (std::vector<int>{0, 3, 5, 7}));
    EXPECT_EQ(s.RowIndices, (std::vector<int>{0, 1, 2, 1, 2, 0, 2}));

    TSparseMtx two;
    two.AddSplit(b, a);
    two.SparseToDense(dense, 9);
    EXPECT_EQ(Doubles(dense), (std::vector<double>{21, 0, 4, 10, 43, 0, 2, 30, 5.5}));

    // A lower part with a column past the upper part's columns has no place in the result.
    TSparseMtx wide, narrow;
    wide.TripletsToSparse(3, 4, TIntArray{2}, TIntArray{3}, TSampleArray{1}, 0);
    narrow.Size(3, 3, 0, false);
    MakeSmall(sum);
    const TSnapshot before = Snapshot(sum);
    ExpectRaise([&] { sum.AddSplit(wide, narrow); }, msg::sparse::kInvalidTriplet);
    EXPECT_EQ(Snapshot(sum), before);
}

TEST_F(SparseBanded, AssemblyChecksInOrder)
{
    TSparseMtx real, cplx, self;
    MakeSmall(real);
    MakeSmallComplex(cplx);
    TVec dReal, dCplx, dShort;
    dReal.SetIt(false, {1, 2, 3});
    dCplx.SetIt(true, {1, 0, 2, 0, 3, 0});
    dShort.SetIt(true, {1, 0, 2, 0});

    MakeSmall(self);
    TSnapshot before = Snapshot(self);
    ExpectRaise([&] { self.AddSplit(real, dCplx, cplx); }, msg::sparse::kSplitLowerComplex);
    ExpectRaise([&] { self.AddSplit(real, dReal, cplx); }, msg::sparse::kSplitUpperComplex);
    ExpectRaise([&] { self.AddSplit(cplx, real); }, msg::sparse::kSplitPartsComplex);
    EXPECT_EQ(Snapshot(self), before);

    // The length check runs after the kind and the dimensions are set.
    TSparseMtx tall, wide;
    tall.Size(5, 3, 0, true);
    wide.Size(2, 4, 0, true);
    ExpectRaise([&] { self.AddSplit(tall, dShort, wide); }, msg::sparse::kSplitDiagLength);
    EXPECT_TRUE(self.Complex());
    EXPECT_EQ(self.Rows(), 5);
    EXPECT_EQ(self.Cols(), 4);
}

TEST_F(SparseBanded, TwoPartAssemblyCopiesComplexValues)
{
    TSparseMtx m, lower, upper, sum;
    MakeSmallComplex(m);
    lower.LowerTriangle(m, true);
    upper.UpperTriangle(m, false);
    sum.AddSplit(lower, upper);
    EXPECT_EQ(Snapshot(sum), Snapshot(m));
}

}  // namespace
