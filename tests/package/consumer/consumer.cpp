// A program outside the project, built against the installed library.
#include <Feldrin.h>

#include <cstdio>
#include <span>
#include <vector>

using namespace tarnel;

namespace {

void Print(const char* Name, const TVecs& V)
{
    std::printf("%s =", Name);
    for (int i = 0; i < (V.Complex() ? 2 : 1) * V.Length(); ++i) std::printf(" %g", V.Values()[i]);
    std::printf("\n");
}

void PrintSize(const char* Name, const TMtx& A, const TMtx& B)
{
    std::printf("%s = %dx%d%s %dx%d%s\n", Name, A.Rows(), A.Cols(), A.Complex() ? "c" : "", B.Rows(), B.Cols(),
                B.Complex() ? "c" : "");
}

}  // namespace

int main()
{
    const TCplx a = Cplx(1, 2), b = Cplx(3, 4);
    const TCplx p = CMul(a, b);
    std::printf("CMul = (%g, %g)\n", p.Re, p.Im);

    // Open arrays as brace lists.
    TVec v, w, c;
    v.SetIt(false, {1, 2, 3});
    w.SetIt(true, {1, 2, 3, 4});
    Print("brace real", v);
    Print("brace complex", w);
    v.SetIt(true, {5, 6});
    c.Concat({&v, &w});
    Print("brace concat", c);
    TMtx A, B;
    SetMtxSize(2, 2, false, {&A, &B});
    PrintSize("brace sizes", A, B);

    // The same calls with a std::vector.
    const std::vector<double> three{1, 2, 3}, four{1, 2, 3, 4};
    std::vector<TVec*> vecs{&v, &w};
    std::vector<TMtx*> mtxs{&A, &B};
    v.SetIt(false, three);
    w.SetIt(true, four);
    Print("vector real", v);
    Print("vector complex", w);
    v.SetIt(true, {5, 6});
    c.Concat(vecs);
    Print("vector concat", c);
    SetMtxSize(3, 1, true, mtxs);
    PrintSize("vector sizes", A, B);

    // A C array.
    const double threeC[] = {1, 2, 3}, fourC[] = {1, 2, 3, 4};
    TVec* vecsC[] = {&v, &w};
    TMtx* mtxsC[] = {&A, &B};
    v.SetIt(false, threeC);
    w.SetIt(true, fourC);
    Print("C array real", v);
    Print("C array complex", w);
    v.SetIt(true, {5, 6});
    c.Concat(vecsC);
    Print("C array concat", c);
    SetMtxSize(1, 4, false, mtxsC);
    PrintSize("C array sizes", A, B);

    // A std::span.
    v.SetIt(false, std::span<const double>(three));
    w.SetIt(true, std::span<const double>(four));
    Print("span real", v);
    Print("span complex", w);
    v.SetIt(true, {5, 6});
    c.Concat(std::span<TVec*>(vecs));
    Print("span concat", c);
    SetMtxSize(2, 2, false, std::span<TMtx* const>(mtxs));
    PrintSize("span sizes", A, B);
    return 0;
}
