// Complex parts of vectors and the conversions between real and complex vectors, against numpy: conjugates,
// magnitudes, phases (signed zeros), power spectra, parts, polar/Cartesian forms, widening, swapped parts, i·x and
// e^(iω); their messages, ranges and aliased operands.
#include <algorithm>
#include <cmath>
#include <vector>

#include "elem_util.h"
// clang-format off
#include "elem_golden.inc"
// clang-format on

using namespace elemtest;

namespace {

class CplxTest : public ElemTest {};

// A real vector holding these Doubles (kept alive for the statement that uses it).
struct TVecFrom : TVec {
    explicit TVecFrom(const std::vector<double>& D) { SetIt(false, D); }
};

std::vector<double> Slice(const std::vector<double>& V, std::size_t From, std::size_t Count)
{
    return std::vector<double>(V.begin() + static_cast<std::ptrdiff_t>(From),
                               V.begin() + static_cast<std::ptrdiff_t>(From + Count));
}

}  // namespace

TEST_F(CplxTest, PartsAgainstNumpy)
{
    TVec z, r, a, p;
    Set(z, true, kElemZ);
    // Magnitudes, phases and the sines and cosines agree with numpy to a unit or two in the last place (other
    // libm kernels); phases on the axes, signed zeros included, and everything else bit for bit.
    r.Mag(z);
    ExpectNear(r, false, kElemMagZ, 4e-16, "Mag");
    r.PhaseSpectrum(z);
    ExpectNear(r, false, kElemPhaseZ, 4e-16, "PhaseSpectrum");
    ExpectSame(TVecFrom(Slice(Doubles(r), 0, 4)), false, Slice(kElemPhaseZ, 0, 4), "phases on the axes");
    EXPECT_EQ(r.Values()[0], -PI);  // -1 - 0i
    EXPECT_EQ(r.Values()[1], PI);   // -1 + 0i
    r.PowerSpectrum(z);
    ExpectSame(r, false, kElemPowerZ, "PowerSpectrum");
    r.Norm(z);
    ExpectSame(r, false, kElemPowerZ, "Norm");
    r.RealPart(z);
    ExpectSame(r, false, kElemRealZ, "RealPart");
    r.ImagPart(z);
    ExpectSame(r, false, kElemImagZ, "ImagPart");
    r.Conj(z);
    ExpectSame(r, true, kElemConjZ, "Conj (Vec)");
    r.Conj();
    ExpectSame(r, true, kElemZ, "Conj");
    z.CartToPolar(a, p);
    ExpectNear(a, false, kElemMagZ, 4e-16, "CartToPolar amplitudes");
    ExpectNear(p, false, kElemPhaseZ, 4e-16, "CartToPolar phases");
    ExpectSame(TVecFrom(Slice(Doubles(p), 0, 4)), false, Slice(kElemPhaseZ, 0, 4), "CartToPolar on the axes");
    // Real and imaginary parts apart and together again.
    TVec re, im;
    z.CplxToReal(re, im);
    ExpectSame(re, false, kElemRealZ);
    ExpectSame(im, false, kElemImagZ);
    r.RealToCplx(re, im);
    ExpectSame(r, true, kElemZ, "RealToCplx");
    // Polar to Cartesian and e^(iω).
    TVec x, y;
    Set(x, false, kElemX);
    Set(y, false, kElemY);
    r.PolarToCart(x, y);
    ExpectNear(r, true, kElemPolarXY, 2e-15, "PolarToCart");
    r.Expj(y);
    ExpectNear(r, true, kElemExpjY, 4e-16, "Expj (Omega)");
    TVec e;
    e.Copy(y);
    e.Expj();
    ExpectNear(e, true, kElemExpjY, 4e-16, "Expj in place");
}

TEST_F(CplxTest, RangeFormsAgainstNumpy)
{
    TVec z, r, a, p;
    Set(z, true, kElemZ);
    // Conj of elements 2 .. 5 into elements 1 .. 4 of a vector of 6; the rest untouched.
    Set(r, true, std::vector<double>(12, 7));
    r.Conj(z, 2, 1, 4);
    std::vector<double> expected(12, 7);
    std::copy_n(kElemConjZ.begin() + 4, 8, expected.begin() + 2);
    ExpectSame(r, true, expected, "Conj range");
    // CartToPolar of elements 3 .. 6: results at 0 .. 3 of outputs of Self's whole Length.
    z.CartToPolar(a, p, 3, 4);
    EXPECT_EQ(a.Length(), kElemN);
    EXPECT_EQ(p.Length(), kElemN);
    EXPECT_FALSE(a.Complex());
    ExpectNear(TVecFrom(Slice(Doubles(p), 0, 4)), false, Slice(kElemPhaseZ, 3, 4), 4e-16, "CartToPolar range");
    // Mag range into a real Self.
    Set(r, false, {-1, -1, -1});
    r.Mag(z, 6, 1, 2);
    ExpectNear(r, false, {-1, kElemMagZ[6], kElemMagZ[7]}, 4e-16, "Mag range");
    // Parts of elements 1 .. 3 into ranges, and back.
    TVec re, im, back;
    Set(re, false, {0, 0, 0, 0});
    Set(im, false, {0, 0, 0});
    z.CplxToReal(re, im, 1, 0, 1, 3);
    ExpectSame(re, false, {0, kElemRealZ[1], kElemRealZ[2], kElemRealZ[3]});
    ExpectSame(im, false, Slice(kElemImagZ, 1, 3));
    Set(back, true, {5, 5, 5, 5, 5, 5, 5, 5});
    back.RealToCplx(re, im, 1, 0, 1, 3);
    ExpectSame(back, true, {5, 5, kElemZ[2], kElemZ[3], kElemZ[4], kElemZ[5], kElemZ[6], kElemZ[7]});
    // PolarToCart into elements 2 .. 4, from elements 1 .. 3 of the sources.
    TVec x, y;
    Set(x, false, kElemX);
    Set(y, false, kElemY);
    Set(r, true, std::vector<double>(10, 0));
    r.PolarToCart(x, y, 1, 1, 2, 3);
    ExpectNear(
        r, true,
        [&] {
            std::vector<double> v(10, 0);
            std::copy_n(kElemPolarXY.begin() + 2, 6, v.begin() + 4);
            return v;
        }(),
        2e-15, "PolarToCart range");
    // Expj of elements 4 .. 8 of Omega into elements 0 .. 4.
    Set(r, true, std::vector<double>(10, 0));
    r.Expj(y, 4, 0, 5);
    ExpectNear(r, true, Slice(kElemExpjY, 8, 10), 4e-16, "Expj range");
}

TEST_F(CplxTest, WideningAndSwappedParts)
{
    TVec s, r;
    Set(s, false, {1, 2});
    r.ExtendToComplex(s, true);
    ExpectSame(r, true, {1, 0, 2, 0});
    r.ExtendToComplex(s, false);
    ExpectSame(r, true, {1, 1, 2, 2});
    Set(s, true, {1, 2, 3, 4});
    r.ExtendToComplex(s, true);  // a complex source is read as its first Length Doubles
    ExpectSame(r, true, {1, 0, 2, 0});
    r.ExtendToComplex(false);  // complex: nothing
    ExpectSame(r, true, {1, 0, 2, 0});
    Set(s, false, {-0.0, 3});
    s.ExtendToComplex(true);
    ExpectSame(s, true, {-0.0, 0, 3, 0});
    ExpectRaise([&] { r.ExtendToComplex(r, true); }, "Self = Src");
    // Flip, FlipConj, MulI of a complex X (bit for bit, signed zeros included) and of a real one.
    TVec z, x;
    Set(z, true, kElemZ);
    Set(x, false, kElemX);
    r.Flip(z);
    ExpectSame(r, true, kElemFlipZ, "Flip");
    r.FlipConj(z);
    ExpectSame(r, true, kElemFlipConjZ, "FlipConj");
    r.MulI(z);
    ExpectSame(r, true, kElemMulIZ, "MulI");
    r.Flip(x);
    ExpectSame(r, true, kElemFlipX, "Flip of real");
    r.FlipConj(x);
    ExpectSame(r, true, kElemFlipConjX, "FlipConj of real");
    r.MulI(x);
    ExpectSame(r, true, kElemFlipX, "MulI of real");
    ExpectRaise([&] { r.Flip(x, 0, 0, 2); }, "(X.Complex = false) and (Len = -1)");
    // The in-place forms and their edges.
    Set(r, true, {1, 2, 3, 4});
    r.Flip(0, 1);
    ExpectSame(r, true, {2, 1, 3, 4});
    Set(r, true, {1, 2, 3, 4});
    r.MulI(r, 0, 0, 2);
    ExpectSame(r, true, {-2, 1, -4, 3});
    ExpectRaise([&] { r.MulI(r, 1, 0, 1); }, "Self = Vec and (XIndex <> Index)");
    ExpectRaise([&] { r.Flip(r, 1, 0, 1); }, "Self = Vec");
    ExpectRaise([&] { r.Flip(z, 0, 0, 3); }, "(Index + Len) > FLength");
    ExpectRaise([&] { r.Flip(z, 8, 0, 2); }, "(XIndex + Len) > X.Length");
    ExpectRaise([&] { r.Flip(z, -1, 0, 1); }, "(Index < 0) or (XIndex < 0)");
    TVec real4;
    Set(real4, false, {1, 2, 3, 4});
    ExpectRaise([&] { real4.Flip(z, 0, 0, 1); }, "Complex <> X.Complex");
    // With ConditionCheck off, X = Self shifted by one element gives what distinct vectors give.
    Set(r, true, {1, 2, 3, 4, 5, 6});
    r.SetConditionCheck(false);
    r.Flip(r, 0, 1, 2);
    ExpectSame(r, true, {1, 2, 2, 1, 4, 3});
}

TEST_F(CplxTest, ModelCasesOfTheParts)
{
    TVec r, v;
    Set(v, true, {3, 4});
    r.PowerSpectrum(v);
    ExpectSame(r, false, {25});
    r.Norm(v);
    ExpectSame(r, false, {25});
    Set(v, false, {1, -2});
    r.RealPart(v);
    ExpectSame(r, false, {1, -2});
    ExpectRaise([&] { r.ImagPart(v); }, "Vec.Complex = False");
    ExpectRaise([&] { r.PhaseSpectrum(v); }, "Vec.Complex = False");
    ExpectRaise([&] { r.Mag(v); }, "Complex = False");
    ExpectRaise([&] { r.RealPart(r); }, "Self = Vec");
    // CartToPolar: nothing for an empty vector, refused for a real one; outputs real even when complex before.
    TVec e, a, p;
    e.CartToPolar(a, p);
    ExpectRaise([&] { v.CartToPolar(a, p); }, "TVec.CartToPolar: Not complex!");
    TVec c;
    Set(c, true, {-1, -0.0});
    Set(a, true, {9, 9});
    c.CartToPolar(a, p);
    ExpectSame(a, false, {1});
    ExpectSame(p, false, {-PI});
    ExpectRaise([&] { c.CartToPolar(c, p); }, "(Self = AmpltVec) or (Self = PhaseVec)");
    // CplxToReal into a ReVec that was complex leaves it real with Self's Length; one vector for both refused.
    TVec re, im;
    Set(re, true, {1, 1, 1, 1, 1, 1});
    c.CplxToReal(re, im);
    ExpectSame(re, false, {-1});
    ExpectRaise([&] { c.CplxToReal(re, re); }, "ReVec = ImVec");
    ExpectRaise([&] { c.CplxToReal(re, re, 0, 0, 0, 1); }, "ReVec = ImVec");
    ExpectRaise([&] { c.CplxToReal(c, im); }, "(Self = ReVec) or (Self = ImVec)");
    ExpectRaise([&] { v.CplxToReal(re, im); }, "Complex = False");
    ExpectRaise([&] { r.RealToCplx(re, v); }, "ReVec.Length <> ImVec.Length");
}

TEST_F(CplxTest, PowerSpectrumOfItselfChangesNothing)
{
    TVec c;
    Set(c, true, {3, 4, 1, 1});
    ExpectRaise([&] { c.PowerSpectrum(c); }, "Self = Vec");
    ExpectSame(c, true, {3, 4, 1, 1});
    TVec e;
    e.Size(0, true);
    e.PowerSpectrum(e);
    EXPECT_FALSE(e.Complex());
    TVec r;
    Set(r, true, {1, 1});
    r.PowerSpectrum(e);  // an empty Vec: Self only made real
    EXPECT_FALSE(r.Complex());
}

TEST_F(CplxTest, PolarToCartChecksEachVectorAgainstItsOwnLength)
{
    TVec a, p, r;
    Set(a, false, {1, 2, 3});
    Set(p, false, {0, 0, 0});
    // A real Self of 4 Doubles becomes 2 complex elements: 3 elements would write past it.
    Set(r, false, {0, 0, 0, 0});
    ExpectRaise([&] { r.PolarToCart(a, p, 0, 0, 0, 3); }, "(Index + Len) > Length");
    ExpectSame(r, false, {0, 0, 0, 0});
    r.PolarToCart(a, p, 1, 1, 0, 2);
    ExpectSame(r, true, {2, 0, 3, 0});
    Set(r, true, std::vector<double>(12, 0));
    ExpectRaise([&] { r.PolarToCart(a, p, 2, 0, 0, 2); }, "(AIndex + Len) > Length");
    ExpectRaise([&] { r.PolarToCart(a, p, 0, 2, 0, 2); }, "(PIndex + Len) > Length");
    ExpectRaise([&] { r.PolarToCart(a, p, 0, 0, 0, -1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)");
    TVec c, p4;
    Set(c, true, {1, 1});
    Set(p4, false, {0, 0, 0, 0});
    const char* order[] = {"AmpltVec.Complex = True", "PhaseVec.Complex = True", "AmpltVec.Length <> PhaseVec.Length",
                           "(Self = AmpltVec) or (Self = PhaseVec)"};
    ExpectRaise([&] { r.PolarToCart(c, c, 0, 0, 0, 1); }, order[0]);
    ExpectRaise([&] { r.PolarToCart(a, c, 0, 0, 0, 1); }, order[1]);
    ExpectRaise([&] { r.PolarToCart(a, p4, 0, 0, 0, 1); }, order[2]);
    ExpectRaise([&] { r.PolarToCart(r, r, 0, 0, 0, 1); }, order[0]);
    TVec self3;
    Set(self3, false, {1, 2, 3});
    ExpectRaise([&] { self3.PolarToCart(self3, p, 0, 0, 0, 1); }, order[3]);
    ExpectSame(self3, false, {1, 2, 3});
    ExpectRaise([&] { r.PolarToCart(c, p); }, order[0]);
    ExpectRaise([&] { r.PolarToCart(a, p4); }, order[2]);
    ExpectRaise([&] { a.PolarToCart(a, p); }, order[3]);
}

TEST_F(CplxTest, RangeMessagesInTheirOrder)
{
    TVec c, re, im, r;
    Set(c, true, {1, 2, 3, 4});
    Set(re, false, {0, 0});
    Set(im, false, {0, 0});
    ExpectRaise([&] { c.CplxToReal(re, im, 1, 0, 0, 2); }, "(ReIndex + Len) > ReVec.Length");
    ExpectRaise([&] { c.CplxToReal(re, im, 0, 1, 0, 2); }, "(ImIndex + Len) > ImVec.Length");
    ExpectRaise([&] { c.CplxToReal(re, im, 0, 0, 1, 2); }, "(Index + Len) > Length");
    ExpectRaise([&] { re.CplxToReal(re, im, 0, 0, 0, 1); }, "Complex = False");
    ExpectRaise([&] { c.CplxToReal(c, im, 0, 0, 0, 1); }, "ReVec.Complex = True");
    TVec cplxIm;
    Set(cplxIm, true, {0, 0});
    ExpectRaise([&] { c.CplxToReal(re, cplxIm, 0, 0, 0, 1); }, "ImVec.Complex = True");
    ExpectRaise([&] { c.RealToCplx(re, im, 1, 0, 0, 2); }, "(ReIndex + Len) > ReVec.Length");
    ExpectRaise([&] { re.RealToCplx(re, im, 0, 0, 0, 1); }, "Complex = False");
    // Mag: an empty Vec first, then the bounds, then the signs.
    TVec e;
    Set(r, false, {0, 0});
    e.Size(0, true);
    ExpectRaise([&] { r.Mag(e, 0, 0, 1); }, "Vec.Length = 0");
    ExpectRaise([&] { r.Mag(c, 1, 0, 2); }, "VecIndex + Len) > Vec.Length");
    ExpectRaise([&] { r.Mag(c, 0, 1, 2); }, "(Index + Len) > Length");
    ExpectRaise([&] { r.Mag(c, -1, 0, 1); }, "(Len <= 0) or (Index < 0) or (VecIndex < 0)");
    ExpectRaise([&] { r.Mag(re, 0, 0, 1); }, "Vec.Complex = False");
    // Conj range.
    ExpectRaise([&] { c.Conj(c, 0, 0, 1); }, "Self = Vec");
    ExpectRaise([&] { c.Conj(r, 0, 0, 3); }, "VecIndex + Len) > Vec.Length");
    // Expj: Self = Omega always, then negative arguments (refused, no longer ignored), bounds, kinds.
    TVec w;
    Set(w, false, {0, 1});
    ExpectRaise([&] { c.Expj(c, 0, 0, 1); }, "Self = Omega");
    ExpectRaise([&] { c.Expj(w, 0, -1, 1); }, "(Len <= 0) or (Index < 0) or (OmegaIndex < 0)");
    ExpectRaise([&] { c.Expj(w, 1, 0, 2); }, "OmegaIndex + Len) > Omega.Length");
    ExpectRaise([&] { c.Expj(w, 0, 1, 2); }, "(Index + Len) > Length");
    ExpectRaise([&] { c.Expj(c, 0, 0, 1); }, "Self = Omega");
    TVec wc;
    Set(wc, true, {0, 1});
    ExpectRaise([&] { c.Expj(wc, 0, 0, 1); }, "Omega.Complex := True");
    ExpectRaise([&] { re.Expj(w, 0, 0, 1); }, "Complex = False");
    ExpectRaise([&] { c.Expj(); }, "Complex = True");
    ExpectSame(c, true, {1, 2, 3, 4});
    // CartToPolar range.
    TVec a, p;
    ExpectRaise([&] { c.CartToPolar(a, p, 1, 2); }, "(Index + Len) > Length");
    ExpectRaise([&] { c.CartToPolar(c, p, 0, 1); }, "(Self = AmpltVec) or (Self = PhaseVec)");
}

TEST_F(CplxTest, ViewsAsOperands)
{
    // Magnitudes written over the complex source they come from, through a real view of the same buffer: the
    // result is that of distinct vectors.
    std::vector<double> buf = {3, 4, 6, 8, 5, 12};
    TVec src, dst;
    View(src, buf, 0, 3, true);
    View(dst, buf, 1, 3, false);
    dst.Mag(src, 0, 0, 3);
    EXPECT_EQ(buf, (std::vector<double>{3, 5, 10, 13, 5, 12}));
    // A sub-range view of a vector as the operand of the whole-vector forms.
    TVec z, part, r;
    Set(z, true, kElemZ);
    part.SetComplex(true);  // a view counts elements of the viewing vector's kind
    part.SetSubRange(z, 6, 3);
    r.Conj(part);
    ExpectSame(r, true, Slice(kElemConjZ, 12, 6));
    // Self viewing its own buffer while the source is another view of it.
    TVec whole;
    Set(whole, true, {1, 2, 3, 4, 5, 6});
    TVec first, last;
    first.SetComplex(true);
    last.SetComplex(true);
    first.SetSubRange(whole, 0, 2);
    last.SetSubRange(whole, 1, 2);
    first.Conj(last, 0, 0, 2);
    EXPECT_EQ(Doubles(whole), (std::vector<double>{3, -4, 5, -6, 5, 6}));
    first.SetFullRange();
    last.SetFullRange();
    part.SetFullRange();
}
