#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/BlasCalls.h"
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

    // The tridiagonal solve after TRANS's length: A = [[4, 3, 0], [1, 5, 1], [0, 2, 6]] (DL, D, DU), Aᵀ·x = (5, 10, 7)
    // has x = (1, 1, 1); A·x = Aᵀ·x would not.
    const int three = 3;
    double dl[2] = {1, 2}, d[3] = {4, 5, 6}, du[2] = {3, 1}, du2[1] = {}, x[3] = {5, 10, 7};
    int ipiv[3] = {}, info = -9;
    dgttrf_(&three, dl, d, du, du2, ipiv, &info);
    ASSERT_EQ(info, 0);
    dgttrs_("T", &three, &one, dl, d, du, du2, ipiv, x, &three, &info, 1);
    EXPECT_EQ(info, 0);
    for (double v : x) EXPECT_NEAR(v, 1, 1e-15);
    // Of order 1, A = i: Aᴴ·x = 1 gives x = i (A·x = 1 and Aᵀ·x = 1 give −i).
    TCplx zdl[1] = {}, zd[1] = {{0, 1}}, zdu[1] = {}, zdu2[1] = {}, zx[1] = {{1, 0}};
    zgttrf_(&one, zdl, zd, zdu, zdu2, ipiv, &info);
    zgttrs_("C", &one, &one, zdl, zd, zdu, zdu2, ipiv, zx, &one, &info, 1);
    EXPECT_EQ(info, 0);
    EXPECT_EQ(zx[0].Re, 0);
    EXPECT_EQ(zx[0].Im, 1);
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

// The threaded LAPACK drivers run on one OpenBLAS thread for small matrices; the caller's thread count comes back
// afterwards, however the guards nest or overlap across threads.
TEST(BlasBinding, SmallFactorizationsRunOnOneThreadAndTheCountComesBack)
{
    const int original = openblas_get_num_threads();
    openblas_set_num_threads(4);
    {
        blas::TSingleThread outer(true);
        EXPECT_EQ(openblas_get_num_threads(), 1);
        {
            blas::TSingleThread inner(100, 100);
            EXPECT_EQ(openblas_get_num_threads(), 1);
        }
        EXPECT_EQ(openblas_get_num_threads(), 1) << "an inner guard must not restore the count early";
    }
    EXPECT_EQ(openblas_get_num_threads(), 4);
    struct TCase {
        int M, N;
        bool One;
    };
    for (const TCase& c : {TCase{0, 0, true}, TCase{511, 512, true}, TCase{512, 512, false}, TCase{100000, 3, false}}) {
        blas::TSingleThread guard(c.M, c.N);
        EXPECT_EQ(openblas_get_num_threads(), c.One ? 1 : 4) << c.M << " x " << c.N;
    }
    {
        blas::TSingleThread none(false);
        EXPECT_EQ(openblas_get_num_threads(), 4);
    }

    // Guards of several threads overlapping in every order: inside each the count is 1, and the last one out
    // restores 4 (a guard saving and restoring on its own would leave 1 behind).
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&wrong, t] {
            for (int k = 0; k < 2000; ++k) {
                blas::TSingleThread guard(true);
                if (openblas_get_num_threads() != 1) ++wrong;
                if ((k + t) % 7 == 0) std::this_thread::yield();
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(openblas_get_num_threads(), 4);

    // A small LU through the typed layer leaves the count as it found it.
    std::vector<double> a{4, 1, 2, 3};
    int ipiv[2];
    EXPECT_EQ(blas::Getrf(2, 2, a.data(), 2, ipiv), 0);
    EXPECT_EQ(openblas_get_num_threads(), 4);
    openblas_set_num_threads(original);
}
