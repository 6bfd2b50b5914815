// Vector searches: Find, FindIndexes and FindAndGather against numpy's comparisons, np.isnan and np.isinf, and the
// library's complex order ranked by np.lexsort (tests/data/gen_transcendental_golden.py), with the documented
// cases, the operator texts, and the faults guarded against (a complex a that is also Self turned real before it
// was read, Indexes given as an operand).
#include <string>
#include <vector>

#include "transcendental_util.h"

using namespace trtest;

namespace {

class FindTest : public ElemTest {};

// The elements of A where Mask is 1 (A's kind), and their indexes.
void Expected(const TVecs& A, const std::vector<double>& Mask, std::vector<double>& Elems, std::vector<double>& Idx)
{
    Elems.clear(), Idx.clear();
    for (std::size_t k = 0; k < Mask.size(); ++k) {
        if (Mask[k] == 0) continue;
        Idx.push_back(static_cast<double>(k));
        if (A.Complex())
            Elems.insert(Elems.end(), {A.CValues()[k].Re, A.CValues()[k].Im});
        else
            Elems.push_back(A.Values()[k]);
    }
}

const std::vector<double>* MaskOf(const char* Table, std::size_t Op)
{
    static const std::vector<std::pair<std::string, std::vector<const std::vector<double>*>>> tables = {
        {"RR",
         {&kTrMaskRR0, &kTrMaskRR1, &kTrMaskRR2, &kTrMaskRR3, &kTrMaskRR4, &kTrMaskRR5, &kTrMaskRR6, &kTrMaskRR7,
          &kTrMaskRR8}},
        {"RV2",
         {&kTrMaskRV20, &kTrMaskRV21, &kTrMaskRV22, &kTrMaskRV23, &kTrMaskRV24, &kTrMaskRV25, &kTrMaskRV26,
          &kTrMaskRV27, &kTrMaskRV28}},
        {"RVNan",
         {&kTrMaskRVNan0, &kTrMaskRVNan1, &kTrMaskRVNan2, &kTrMaskRVNan3, &kTrMaskRVNan4, &kTrMaskRVNan5,
          &kTrMaskRVNan6, &kTrMaskRVNan7, &kTrMaskRVNan8}},
        {"RVInf",
         {&kTrMaskRVInf0, &kTrMaskRVInf1, &kTrMaskRVInf2, &kTrMaskRVInf3, &kTrMaskRVInf4, &kTrMaskRVInf5,
          &kTrMaskRVInf6, &kTrMaskRVInf7, &kTrMaskRVInf8}},
        {"CC",
         {&kTrMaskCC0, &kTrMaskCC1, &kTrMaskCC2, &kTrMaskCC3, &kTrMaskCC4, &kTrMaskCC5, &kTrMaskCC6, &kTrMaskCC7,
          &kTrMaskCC8}},
    };
    for (const auto& [name, masks] : tables)
        if (name == Table) return masks[Op];
    return nullptr;
}

}  // namespace

TEST_F(FindTest, EveryRelationAgainstNumpy)
{
    TVec fa, fb, ca, cb, r, idx;
    Set(fa, false, kTrFa);
    Set(fb, false, kTrFb);
    Set(ca, true, kTrCa);
    Set(cb, true, kTrCb);
    struct Case {
        const char* name;
        const char* table;
        const TVec* a;
        std::function<void(TVec& R, const std::string& Op)> mask;
        std::function<void(TVec& R, const std::string& Op, TVecs* Indexes)> gather;
    };
    const std::vector<Case> cases = {
        {"real vectors (b one longer)", "RR", &fa, [&](TVec& R, const std::string& Op) { R.FindIndexes(fa, Op, fb); },
         [&](TVec& R, const std::string& Op, TVecs* I) { R.FindAndGather(fa, Op, fb, I); }},
        {"real value 2", "RV2", &fa, [&](TVec& R, const std::string& Op) { R.FindIndexes(fa, Op, 2.0); },
         [&](TVec& R, const std::string& Op, TVecs* I) { R.FindAndGather(fa, Op, 2.0, I); }},
        {"real value NaN", "RVNan", &fa, [&](TVec& R, const std::string& Op) { R.FindIndexes(fa, Op, NAN); },
         [&](TVec& R, const std::string& Op, TVecs* I) { R.FindAndGather(fa, Op, NAN, I); }},
        {"real value INF", "RVInf", &fa, [&](TVec& R, const std::string& Op) { R.FindIndexes(fa, Op, INFINITY); },
         [&](TVec& R, const std::string& Op, TVecs* I) { R.FindAndGather(fa, Op, INFINITY, I); }},
        {"complex vectors", "CC", &ca, [&](TVec& R, const std::string& Op) { R.FindIndexes(ca, Op, cb); },
         [&](TVec& R, const std::string& Op, TVecs* I) { R.FindAndGather(ca, Op, cb, I); }},
    };
    std::vector<double> elems, where;
    for (const Case& c : cases) {
        for (std::size_t op = 0; op < kTrOps.size(); ++op) {
            const std::string at = std::string(c.name) + " \"" + kTrOps[op] + "\"";
            const std::vector<double>& mask = *MaskOf(c.table, op);
            Set(r, true, {9, 9});
            c.mask(r, kTrOps[op]);
            ExpectSame(r, false, mask, at + " FindIndexes");
            Expected(*c.a, mask, elems, where);
            c.gather(r, kTrOps[op], &idx);
            ExpectSame(r, c.a->Complex(), elems, at + " FindAndGather");
            ExpectSame(idx, false, where, at + " FindAndGather indexes");
            c.gather(r, kTrOps[op], nullptr);
            ExpectSame(r, c.a->Complex(), elems, at + " FindAndGather with pooled indexes");
        }
    }
}

TEST_F(FindTest, MixedKindsUseTheComplexOrder)
{
    TVec a, r;
    // A complex a against a Double, and a real a against a complex value: x takes part as x + 0i.
    Set(a, true, {3, 4, 5, 0, -5, 0, 1, 1});
    r.FindIndexes(a, ">=", 5.0);
    ExpectSame(r, false, {1, 1, 1, 0}, "complex a >= 5: |3+4i| = 5, 5 = 5, -5 above 5 by its phase");
    r.FindIndexes(a, "=", 5.0);
    ExpectSame(r, false, {0, 1, 0, 0}, "complex a = 5");
    Set(a, false, {5, -5, 1});
    r.FindIndexes(a, "<", Cplx(3, 4));
    ExpectSame(r, false, {1, 0, 1}, "real a < 3 + 4i");
    r.FindAndGather(a, "<>", Cplx(-5, 0));
    ExpectSame(r, false, {5, 1}, "real a <> -5 + 0i");
}

TEST_F(FindTest, FindAndTheDocumentedCases)
{
    TVec v, r, idx;
    Set(v, false, {1, 3, 3});
    EXPECT_EQ(v.Find(3), 1);
    EXPECT_EQ(Find(v, 4.0), -1);
    Set(v, false, {1, NAN});
    EXPECT_EQ(v.Find(NAN), 1);
    Set(v, false, {-INFINITY});
    EXPECT_EQ(v.Find(INFINITY), 0);
    Set(v, true, {1, 1, 2, INFINITY});
    EXPECT_EQ(v.Find(Cplx(INFINITY, 0)), 1);
    EXPECT_EQ(Find(v, Cplx(2, INFINITY)), 1);
    EXPECT_EQ(v.Find(Cplx(1, 1)), 0);
    EXPECT_EQ(v.Find(Cplx(NAN, 0)), -1);
    ExpectRaise([&] { v.Find(1.0); }, "Complex");
    Set(v, false, {1});
    ExpectRaise([&] { v.Find(Cplx(1, 0)); }, "not Complex");

    Set(v, false, {1, 3, 2});
    r.FindIndexes(v, ">", 2.0);
    ExpectSame(r, false, {0, 1, 0});
    r.FindIndexes(v, "=>", 2.0);
    ExpectSame(r, false, {0, 1, 1});
    Set(v, false, {3, 1, 2});
    r.FindAndGather(v, "<=", 2.0);
    ExpectSame(r, false, {1, 2});
    r.FindAndGather(v, "<=", 2.0, &idx);
    ExpectSame(idx, false, {1, 2});
    r.FindAndGather(v, ">", 5.0, &idx);
    ExpectSame(r, false, {}, "nothing matches");
    ExpectSame(idx, false, {}, "nothing matches: indexes");
}

TEST_F(FindTest, OperatorTextsAndChecks)
{
    TVec a, b, r, idx;
    Set(a, false, {1, 2, 3});
    Set(b, true, {1, 1});
    // An unknown text raises after Self is sized (a leading blank is not recognised either).
    for (const char* op : {" <", "< ", "=<=", "", "eq", "!="}) {
        Set(r, true, {7, 7});
        ExpectRaise([&] { r.FindIndexes(a, op, 2.0); }, std::string("Parameter: ") + op + " not recognized!", op);
        EXPECT_TRUE(!r.Complex() && r.Length() == 3) << "Self sized before the text is matched: " << op;
    }
    ExpectRaise([&] { r.FindAndGather(a, "<<", 2.0, &idx); }, "Parameter: << not recognized!");
    Set(r, false, {7});
    ExpectRaise([&] { r.FindIndexes(a, "<", b); }, "a.Complex <> b.Complex");
    ExpectRaise([&] { r.FindAndGather(a, "<", b, &idx); }, "a.Complex <> b.Complex");
    ExpectRaise([&] { r.FindAndGather(a, "<", 2.0, &r); }, "Self = Indexes");
    ExpectSame(r, false, {7}, "after the refusals");
}

TEST_F(FindTest, OperandsThatAreAlsoOutputs)
{
    TVec a, b, r, idx;
    // A complex a that is Self: the mask of distinct vectors.
    Set(a, true, {1, 0, 5, 0, 2, 0});
    r.FindIndexes(a, ">", 1.5);
    TVec self;
    self.Copy(a);
    self.FindIndexes(self, ">", 1.5);
    ExpectSame(self, false, Doubles(r), "FindIndexes with Self = a");
    // Indexes as a or b, Self as a.
    Set(a, false, {4, 1, 6, 2});
    Set(b, false, {3, 3, 3, 3});
    TVec ea, ei;
    ea.FindAndGather(a, ">", b, &ei);
    ExpectSame(ea, false, {4, 6});
    ExpectSame(ei, false, {0, 2});
    TVec a2, b2, s2;
    a2.Copy(a), b2.Copy(b);
    s2.FindAndGather(a2, ">", b2, &a2);
    ExpectSame(s2, false, {4, 6}, "Indexes = a");
    ExpectSame(a2, false, {0, 2}, "Indexes = a: indexes");
    a2.Copy(a), b2.Copy(b);
    s2.FindAndGather(a2, ">", b2, &b2);
    ExpectSame(s2, false, {4, 6}, "Indexes = b");
    ExpectSame(b2, false, {0, 2}, "Indexes = b: indexes");
    a2.Copy(a), b2.Copy(b);
    a2.FindAndGather(a2, ">", b2, &idx);
    ExpectSame(a2, false, {4, 6}, "Self = a");
    ExpectSame(idx, false, {0, 2}, "Self = a: indexes");
}

TEST_F(FindTest, LongVectorsAgreeWithAPlainLoop)
{
    // 3·10^5 elements run in blocks on the worker threads; the gathered order is that of the vector.
    const int n = 300000;
    TVec a, r, idx;
    a.Size(n, false);
    for (int i = 0; i < n; ++i)
        a.Values()[i] = static_cast<double>((static_cast<std::int64_t>(i) * 7919) % 1000) - 500.0;
    r.FindAndGather(a, ">", 250.0, &idx);
    std::vector<double> elems, where;
    for (int i = 0; i < n; ++i)
        if (a.Values()[i] > 250) elems.push_back(a.Values()[i]), where.push_back(i);
    ExpectSame(r, false, elems, "gathered elements");
    ExpectSame(idx, false, where, "gathered indexes");
    r.FindIndexes(a, ">", 250.0);
    double count = 0;
    for (int i = 0; i < n; ++i) count += r.Values()[i];
    EXPECT_EQ(count, static_cast<double>(elems.size()));
}
