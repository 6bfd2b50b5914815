// Sorting: every vector form against numpy (distinct keys) and a replica of the quicksort (tie orders and
// permutations), ranges with Index > 0, the matrix sorts, the messages, NaN data, and an adversarial input on a
// small stack.
#include <pthread.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "elem_util.h"

using namespace elemtest;

namespace {

class SortTest : public ElemTest {};

struct SortCase {
    const char* What;
    bool Complex;
    bool Ascend;
    int N;
    std::vector<double> Data;
    std::vector<double> Sorted;
    std::vector<int> Positions;
};

const SortCase kSortCases[] = {
#include "vec_sort_golden.inc"
};

const std::vector<int> kAdversary =
#include "vec_sort_adversary.inc"
    ;

std::vector<double> AsDoubles(const std::vector<int>& V)
{
    return std::vector<double>(V.begin(), V.end());
}

// Sorts in the given direction through the form named: 0 whole vector, 1 range (0, Length), 2 with IndexVec,
// 3 range with IndexVec.
void SortBy(TVec& V, TVec& Idx, bool Ascend, int Form)
{
    const int n = V.Length();
    switch (Form) {
        case 0:
            Ascend ? V.SortAscend() : V.SortDescend();
            break;
        case 1:
            Ascend ? V.SortAscend(0, n) : V.SortDescend(0, n);
            break;
        case 2:
            Ascend ? V.SortAscend(Idx) : V.SortDescend(Idx);
            break;
        default:
            Ascend ? V.SortAscend(0, n, Idx) : V.SortDescend(0, n, Idx);
    }
}

}  // namespace

TEST_F(SortTest, EveryFormAgainstTheTables)
{
    for (const SortCase& c : kSortCases) {
        for (int form = 0; form < 4; ++form) {
            const std::string where = std::string(c.What) + ", form " + std::to_string(form);
            TVec v, idx;
            Set(v, c.Complex, c.Data);
            SortBy(v, idx, c.Ascend, form);
            ExpectSame(v, c.Complex, c.Sorted, where);
            if (form >= 2) ExpectSame(idx, false, AsDoubles(c.Positions), where + ": positions");
        }
    }
}

TEST_F(SortTest, RangeWithIndexAboveZero)
{
    // Elements 2 .. 5 of the vector sort; IndexVec has four entries, starting as 2 .. 5 and moving with them.
    TVec v, idx;
    Set(v, false, {9, 8, 3, 1, 2, 0, 7});
    v.SortAscend(2, 4, idx);
    ExpectSame(v, false, {9, 8, 0, 1, 2, 3, 7}, "range");
    ExpectSame(idx, false, {5, 3, 4, 2}, "positions");
    Set(v, true, {9, 0, 0, 1, 1, 0, 0, -1, -1, 0, 5, 5});
    v.SortDescend(1, 4, idx);
    ExpectSame(v, true, {9, 0, -1, 0, 0, 1, 1, 0, 0, -1, 5, 5}, "complex range");
    ExpectSame(idx, false, {4, 1, 2, 3}, "complex positions");
}

TEST_F(SortTest, RangesThatDoNothing)
{
    TVec v, idx;
    Set(v, false, {3, 1, 2});
    for (auto [index, len] : {std::pair{5, 0}, {-1, 3}, {1, -2}, {0, 0}}) {
        v.SortAscend(index, len);
        v.SortDescend(index, len);
        ExpectSame(v, false, {3, 1, 2}, "no range");
        if (index + len > v.Length()) continue;  // the IndexVec forms check the bound first (Messages)
        Set(idx, true, {7, 7});
        v.SortAscend(index, len, idx);
        EXPECT_EQ(idx.Length(), 0);
        EXPECT_FALSE(idx.Complex());
    }
}

TEST_F(SortTest, Messages)
{
    TVec v, idx;
    Set(v, false, {3, 1, 2});
    Set(idx, false, {5});
    ExpectRaise([&] { v.SortAscend(0, 4); }, "Index+Len > Length", "ascending");
    ExpectRaise([&] { v.SortDescend(1, 3); }, "Index + Len > Length", "descending");
    ExpectRaise([&] { v.SortAscend(0, 4, idx); }, "Index + Len > Length", "IndexVec ascending");
    ExpectRaise([&] { v.SortDescend(2, 2, idx); }, "Index + Len > Length", "IndexVec descending");
    ExpectRaise([&] { v.SortAscend(v); }, "Self = IndexVec", "IndexVec = Self");
    ExpectRaise([&] { v.SortDescend(-1, 0, v); }, "Self = IndexVec", "checked before the empty range");
    ExpectSame(v, false, {3, 1, 2}, "unchanged");
    ExpectSame(idx, false, {5}, "IndexVec unchanged");
}

TEST_F(SortTest, MatrixRowsByColumn)
{
    TMtx m;
    Load(m, 3, 2, false, {2, 20, 1, 10, 3, 30});
    m.SortAscend(0);
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 6), (std::vector<double>{1, 10, 2, 20, 3, 30}));
    m.SortDescend(1);
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 6), (std::vector<double>{3, 30, 2, 20, 1, 10}));

    // Complex column: equal moduli (3 + 4i, 5 + 0i, 0 + 5i) in the complex order, as the vectors sort them.
    Load(m, 4, 2, true, {0, 5, 1, 0, 3, 4, 2, 0, 5, 0, 3, 0, 0, 1, 4, 0});
    m.SortAscend(0);
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 16),
              (std::vector<double>{0, 1, 4, 0, 5, 0, 3, 0, 3, 4, 2, 0, 0, 5, 1, 0}));
    // m(1 − 2⁻²⁶i) = 1 + 2⁻⁵² is above m(1) = 1, though both moduli round to 1: the key is m(z), so the
    // quadrant codes (2 against 3) do not decide.
    Load(m, 2, 1, true, {1, -0x1p-26, 1, 0});
    m.SortAscend(0);
    EXPECT_EQ(std::vector<double>(m.Values(), m.Values() + 4), (std::vector<double>{1, 0, 1, -0x1p-26}));
    for (const SortCase& c : kSortCases) {
        if (!c.Complex || c.N < 5) continue;
        // Column 1 of an N × 2 matrix holds the case's data; column 0 the positions, which follow their rows.
        std::vector<double> d;
        for (int r = 0; r < c.N; ++r) d.insert(d.end(), {double(r), 0, c.Data[2 * r], c.Data[2 * r + 1]});
        Load(m, c.N, 2, true, d);
        c.Ascend ? m.SortAscend(1) : m.SortDescend(1);
        for (int r = 0; r < c.N; ++r) {
            EXPECT_EQ(m.CValues()[2 * r].Re, c.Positions[r]) << c.What << " row " << r;
            EXPECT_EQ(m.CValues()[2 * r + 1].Re, c.Sorted[2 * r]) << c.What << " row " << r;
        }
    }
    ExpectRaise([&] { m.SortAscend(-1); }, "Col < 0");
    ExpectRaise([&] { m.SortDescend(2); }, "Col > Cols-1");
}

TEST_F(SortTest, MatrixRowsEachByItself)
{
    for (const SortCase& c : kSortCases) {
        // Three equal rows sort as the vector.
        TMtx m;
        std::vector<double> d;
        for (int r = 0; r < 3; ++r) d.insert(d.end(), c.Data.begin(), c.Data.end());
        Load(m, 3, c.N, c.Complex, d);
        c.Ascend ? m.SortAscend() : m.SortDescend();
        const std::size_t w = c.Complex ? 2 : 1;
        for (int r = 0; r < 3; ++r)
            EXPECT_TRUE(std::equal(c.Sorted.begin(), c.Sorted.end(), m.Values() + r * c.N * w)) << c.What;
    }
}

// Random data with NaNs among them: the sort ends and stays within the data (ASan watches the reads); the
// numbers keep their multiset and the positions stay a permutation.
TEST_F(SortTest, NaNDataStayInBounds)
{
    std::vector<double> d(2000);
    unsigned s = 12345;
    for (std::size_t i = 0; i < d.size(); ++i) {
        s = s * 1103515245u + 12345u;
        d[i] = (s >> 16) % 7 == 0 ? NAN : double((s >> 8) % 1000);
    }
    for (bool cplx : {false, true}) {
        for (bool asc : {true, false}) {
            TVec v, idx;
            Set(v, cplx, d);
            asc ? v.SortAscend(idx) : v.SortDescend(idx);
            std::vector<double> p = Doubles(idx);
            std::sort(p.begin(), p.end());
            for (std::size_t k = 0; k < p.size(); ++k) ASSERT_EQ(p[k], double(k));
            const std::size_t w = cplx ? 2 : 1;
            for (int k = 0; k < idx.Length(); ++k)
                for (std::size_t j = 0; j < w; ++j)
                    EXPECT_TRUE(SameDouble(v.Values()[k * w + j], d[static_cast<std::size_t>(idx[k]) * w + j]));
        }
    }
}

namespace {

struct AdversaryRun {
    std::vector<double> Sorted;
    std::vector<double> Positions;
    std::string Error;
};

void* RunAdversary(void* Arg)
{
    auto* run = static_cast<AdversaryRun*>(Arg);
    try {
        TVec v, idx;
        v.SetIt(false, AsDoubles(kAdversary));
        v.SortAscend(idx);
        run->Sorted = Doubles(v);
        run->Positions = Doubles(idx);
    } catch (const std::exception& e) {
        run->Error = e.what();
    }
    return nullptr;
}

}  // namespace

// On this input a quicksort that recursed into both parts would nest 20 000 deep; recursing into the smaller part
// only keeps the nesting logarithmic, so a 256 KB stack is plenty.
TEST_F(SortTest, AdversarialInputOnASmallStack)
{
    AdversaryRun run;
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 256 * 1024), 0);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, RunAdversary, &run), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    ASSERT_EQ(run.Error, "");
    const int n = static_cast<int>(kAdversary.size());
    ASSERT_EQ(run.Sorted.size(), static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        ASSERT_EQ(run.Sorted[k], k);
        ASSERT_EQ(kAdversary[static_cast<std::size_t>(run.Positions[k])], k);
    }
}
