#include <gtest/gtest.h>

#include <stdexcept>

#include "core/LapackSupport.h"
#include "core/NmklBlas.h"

using namespace tarnel;

TEST(BlasBinding, IllegalArgumentReturnsInsteadOfEndingTheProcess)
{
    const std::uint64_t before = LastXerbla().count;
    const int m = -1, n = 2, k = 2, ld = 2;
    double a[4] = {1, 2, 3, 4}, c[4] = {7, 7, 7, 7};
    const double alpha = 1, beta = 0;
    dgemm_("N", "N", &m, &n, &k, &alpha, a, &ld, a, &ld, &beta, c, &ld, 1, 1);
    EXPECT_EQ(LastXerbla().count, before + 1);
    EXPECT_EQ(LastXerbla().routine, "DGEMM");
    EXPECT_EQ(LastXerbla().argument, 3);
    EXPECT_EQ(c[0], 7) << "a refused call leaves its output alone";

    int ipiv[2], info = 0;
    dgetrf_(&m, &n, a, &ld, ipiv, &info);
    EXPECT_EQ(info, -1);
    EXPECT_EQ(LastXerbla().routine, "DGETRF");
    EXPECT_EQ(LastXerbla().argument, 1);
}

TEST(BlasBinding, CharacterLengthsGoAtTheEndOfTheList)
{
    // C = A·B for column-major A = [1 3; 2 4], B = I, transposed: a misplaced hidden length would shift
    // every argument after TRANSA and the call would fail or compute garbage.
    const int n = 2;
    const double a[4] = {1, 2, 3, 4}, b[4] = {1, 0, 0, 1};
    double c[4] = {};
    const double alpha = 2, beta = 0;
    dgemm_("T", "N", &n, &n, &n, &alpha, a, &n, b, &n, &beta, c, &n, 1, 1);
    EXPECT_EQ(c[0], 2);
    EXPECT_EQ(c[1], 6);
    EXPECT_EQ(c[2], 4);
    EXPECT_EQ(c[3], 8);

    const TCplx za[1] = {{0, 1}}, zb[1] = {{0, 1}};
    TCplx zc[1] = {};
    const TCplx zalpha = C_ONE, zbeta = C_ZERO;
    const int one = 1;
    zgemm_("C", "N", &one, &one, &one, &zalpha, za, &one, zb, &one, &zbeta, zc, &one, 1, 1);
    EXPECT_EQ(zc[0].Re, 1);  // conj(i)·i = 1
    EXPECT_EQ(zc[0].Im, 0);
}

TEST(BlasBinding, FortranModeIsLeftForTheWorkingModeOnEveryPath)
{
    Set8087CW(0x037F);
    {
        FortranFpuMode mode;
        EXPECT_EQ(Get8087CW(), Fortran8087CW);
    }
    EXPECT_EQ(Get8087CW(), Tarnel8087CW) << "not the word in force before";
    Set8087CW(0x037F);
    try {
        FortranFpuMode mode;
        throw std::runtime_error("failure inside a LAPACK call");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Get8087CW(), Tarnel8087CW);
}

TEST(BlasBinding, LettersAndDimensions)
{
    EXPECT_EQ(UploLetter(tfUpper), 'U');
    EXPECT_EQ(SwappedUploLetter(tfUpper), 'L');
    EXPECT_EQ(SwappedUploLetter(tfLower), 'U');
    EXPECT_EQ(OperationLetter(opNone, true), 'N');
    EXPECT_EQ(OperationLetter(opTran, true), 'T');
    EXPECT_EQ(OperationLetter(opHerm, true), 'C');
    EXPECT_EQ(OperationLetter(opHerm, false), 'T');
    EXPECT_EQ(DiagLetter(true), 'U');
    EXPECT_EQ(BlasInt(2147483647), 2147483647);
    EXPECT_THROW(BlasInt(2147483648LL), Exception);
    EXPECT_THROW(BlasInt(-1), Exception);
    EXPECT_EQ(mtBandGeneral, 8);
    EXPECT_EQ(opHerm, 2);
}
