// TMtx.LUD and LU (Cholesky, Bunch-Kaufman and LU factors with their pivots), the row and column exchanges, the
// lower-triangle extraction, Inv and Determinant.
//
// LUD hands LAPACK a transposed copy of Self in L, so LAPACK factors Self itself and the triangle letter names
// Self's own triangle. Inv works on Self's data as they stand: LAPACK sees Selfᵀ and the letters are swapped
// (tfUpper as 'L'); inverting Selfᵀ in place leaves Self⁻¹ in row-major order. Neither changes the control word or
// raises on a numerical failure: Info and MtxError report it.
//
// The symmetric and Hermitian inverses come back whole: LAPACK writes the triangle TriangleForm names, and the other
// one is mirrored from it (conjugate-mirrored for the Hermitian routines ZPOTRI and ZHETRI).
//
// Determinant is a Gaussian elimination of the library's own on Self's rows, with the absolute threshold MACHEP. A
// row update skips the columns up to the pivot's, which are never read again; the values that are read are the
// same, bit for bit.
#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/transpose_kernels.h"
#include "core/vec_class.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

namespace {

bool IsCholesky(TMtxType Type)
{
    return Type == mtSymmPosDef || Type == mtHermPosDef;
}

// Dst := Srcᵀ; Dst may be Src.
void TransposedCopy(TMtx& Dst, const TMtx& Src)
{
    if (&Dst == &Src) {
        Dst.Transp();
    } else {
        Dst.Transp(Src);
    }
}

// Zeroes the strict lower (Lower false) or strict upper triangle of M in place; UnitDiagonal sets the diagonal to 1.
void KeepTriangle(TMtx& M, bool Lower, bool UnitDiagonal)
{
    const int w = M.Complex() ? 2 : 1;
    const int rows = M.Rows(), cols = M.Cols();
    for (int i = 0; i < rows; ++i) {
        double* row = M.Values() + static_cast<std::int64_t>(i) * cols * w;
        const int from = Lower ? std::min(i + 1, cols) : 0;
        const int to = Lower ? cols : std::min(i, cols);
        if (to > from) std::memset(row + from * w, 0, static_cast<std::size_t>(to - from) * w * sizeof(double));
        if (UnitDiagonal && i < cols) {
            row[i * w] = 1;
            if (w == 2) row[i * w + 1] = 0;
        }
    }
}

// Splits LAPACK's combined LU factors, which lie column-major in U's data, in one pass: L := the unit lower factor
// (the strict lower triangle, 1 on the diagonal, zero above) and U := the upper factor row-major with zeros below, in
// place. Element (i, j), i > j, of the column-major data sits where U's row-major (j, i) goes and the other way
// round, so each such pair is moved at once: L(i, j) out of the first place, U(j, i) from the second into the first,
// 0 into the second. Tiles keep both the row-wise and the column-wise accesses in the cache. L is not U.
template <class T>
void SplitFactors(TMtx& U, TMtx& L)
{
    constexpr int kTile = 32;
    const int n = U.Rows();
    L.Size(n, n, U.Complex());
    T* f = detail::Data<T>(U);
    T* l = detail::Data<T>(L);
    T one{};
    if constexpr (std::is_same_v<T, TCplx>) {
        one = C_ONE;
    } else {
        one = 1;
    }
    for (int i0 = 0; i0 < n; i0 += kTile) {
        const int i1 = std::min(n, i0 + kTile);
        for (int j0 = 0; j0 <= i0; j0 += kTile) {
            for (int i = i0; i < i1; ++i) {
                const std::int64_t rowI = static_cast<std::int64_t>(i) * n;
                const int j1 = std::min(i, j0 + kTile);
                for (int j = j0; j < j1; ++j) {
                    const std::int64_t rowJ = static_cast<std::int64_t>(j) * n;
                    l[rowI + j] = f[rowJ + i];
                    l[rowJ + i] = T{};
                    f[rowJ + i] = f[rowI + j];
                    f[rowI + j] = T{};
                }
                if (j0 == i0) l[rowI + i] = one;
            }
        }
    }
}

// SplitFactors for real data, Block::kWidth rows by as many columns at a time, for L's rows R0 to R1 and U's columns
// R0 to R1. L(i, j) and U(j, i), i > j, move as above: for I > J, both multiples of the width, the block of L at
// rows I.. and columns J.. and U's block at its mirror image go through Block::Move (values unchanged, bit for bit);
// the blocks on the diagonal and the last n mod kWidth rows of L and columns of U go one element at a time. L's
// zeros right of the diagonal are written row by row, once a tile of rows has its lower part: runs along the rows
// are what the caches fetch ahead for, and L, unlike the factor, is not in the cache after the factorization (at
// n = 500 the split took a fifth less time than with the zeros written in the blocks' columns). R0 is a multiple of
// the width; R1 is one too, or N, which takes the last rows along. F is U's data (the column-major factor); L's data
// are written whole. Bands of rows write places apart from each other's (their own rows of L, their rows of F below
// the diagonal and their columns above it), so that threads may split bands side by side.
template <int Tile, class Block>
inline void SplitRealTiles(double* F, double* L, int N, int R0, int R1)
{
    constexpr int width = Block::kWidth;
    const std::int64_t ld = N;
    // The moves of one element pair, L(i, j) and U(j, i), i > j (L's zero at (j, i) is unitRows' part).
    const auto pair = [F, L, ld](std::int64_t I, std::int64_t J) {
        const std::int64_t below = I * ld + J, above = J * ld + I;
        L[below] = F[above];
        F[above] = F[below];
        F[below] = 0;
    };
    // L's rows [A, B): 1 on the diagonal, zeros right of it.
    const auto unitRows = [L, ld, N](int A, int B) {
        for (std::int64_t r = A; r < B; ++r) {
            L[r * ld + r] = 1;
            std::memset(L + r * ld + r + 1, 0, static_cast<std::size_t>(N - r - 1) * sizeof(double));
        }
    };
    const int whole = N - N % width;
    const int end = std::min(R1, whole);
    for (int i0 = R0; i0 < end; i0 += Tile) {
        const int i1 = std::min(end, i0 + Tile);
        for (int j0 = 0; j0 < i1; j0 += Tile) {
            for (int I = i0; I < i1; I += width) {
                const int jEnd = std::min(I, j0 + Tile);
                for (int J = j0; J < jEnd; J += width) Block::Move(F + I * ld + J, F + J * ld + I, L + I * ld + J, ld);
                if (I >= j0 && I < j0 + Tile) {  // the block on the diagonal
                    for (int p = 1; p < width; ++p)
                        for (int q = 0; q < p; ++q) pair(I + p, I + q);
                }
            }
        }
        unitRows(i0, i1);
    }
    if (R1 < N) return;
    for (int i = whole; i < N; ++i)
        for (int j = 0; j < i; ++j) pair(i, j);
    unitRows(std::max(R0, whole), N);
}

// One pair of 2 × 2 blocks through SSE2 unpacks. Below: U(J.., I..) at rows I.. and columns J.. of F, to be zeroed;
// Above: L(I.., J..) at rows J.., columns I.. of F, where U's block goes; LBelow is Below's place in L.
struct TSse2SplitBlock {
    static constexpr int kWidth = 2;
    static void Move(double* Below, double* Above, double* LBelow, std::int64_t Ld)
    {
        const __m128d zero = _mm_setzero_pd();
        const __m128d a = _mm_loadu_pd(Below), b = _mm_loadu_pd(Below + Ld);
        const __m128d c = _mm_loadu_pd(Above), d = _mm_loadu_pd(Above + Ld);
        _mm_storeu_pd(LBelow, _mm_unpacklo_pd(c, d));
        _mm_storeu_pd(LBelow + Ld, _mm_unpackhi_pd(c, d));
        _mm_storeu_pd(Above, _mm_unpacklo_pd(a, b));
        _mm_storeu_pd(Above + Ld, _mm_unpackhi_pd(a, b));
        for (int k = 0; k < 2; ++k) _mm_storeu_pd(Below + k * Ld, zero);
    }
};

#if defined(__x86_64__)
// One pair of 4 × 4 blocks through register transpositions (AVX2); the places as in TSse2SplitBlock.
struct TAvx2SplitBlock {
    static constexpr int kWidth = 4;
    [[gnu::target("avx2")]] static void Move(double* Below, double* Above, double* LBelow, std::int64_t Ld)
    {
        const __m256d zero = _mm256_setzero_pd();
        detail::Transpose4x4(Above, Ld, LBelow, Ld);  // L's block out of the factor's columns
        detail::Transpose4x4(Below, Ld, Above, Ld);   // U's block into the place just read
        for (int k = 0; k < 4; ++k) _mm256_storeu_pd(Below + k * Ld, zero);
    }
};

// The tiles compiled for AVX2, their blocks inlined. Tiles of 256 rather than 64: the longer runs along a row keep
// the prefetchers going, and the split right after the factorization takes about a tenth less time at n = 500 to
// 2000.
[[gnu::target("avx2"), gnu::flatten]] void SplitFactorsAvx2(double* F, double* L, int N, int R0, int R1)
{
    SplitRealTiles<256, TAvx2SplitBlock>(F, L, N, R0, R1);
}
#endif

// SplitFactors for real data: 4 × 4 blocks with AVX2 where the processor has it, else 2 × 2 blocks with SSE2. From
// detail::kSharedTransposeDoubles on, the worker threads share it in bands of rows.
template <>
void SplitFactors<double>(TMtx& U, TMtx& L)
{
    const int n = U.Rows();
    L.Size(n, n, false);
    double* f = U.Values();
    double* l = L.Values();
    const auto band = [f, l, n](int R0, int R1) {
#if defined(__x86_64__)
        if (parallel::HasAvx2()) {
            SplitFactorsAvx2(f, l, n, R0, R1);
            return;
        }
#endif
        SplitRealTiles<32, TSse2SplitBlock>(f, l, n, R0, R1);
    };
    const int threads =
        static_cast<std::int64_t>(n) * n >= detail::kSharedTransposeDoubles ? parallel::UsefulThreads() : 1;
    if (threads > 1) {
        // Band k ends at row n·√((k + 1) / parts), rounded down to a multiple of 8: the element pairs left of a row
        // grow with the row's square, so the bands hold about as many pairs each. Parts are handed out one at a
        // time, so a thread that the system holds back leaves the rest to the others.
        const int parts = threads * parallel::kPiecesPerThread;
        const auto edge = [n, parts](int k) {
            return k >= parts ? n : static_cast<int>(n * std::sqrt(static_cast<double>(k) / parts)) / 8 * 8;
        };
        const std::function<void(int)> job = [&](int k) {
            const int r0 = edge(k), r1 = edge(k + 1);
            if (r0 < r1) band(r0, r1);
        };
        if (parallel::RunParts(parts, job)) return;
    }
    band(0, n);
}

void PivotsToP(TVecs& P, const int* Ipiv, int N)
{
    for (int i = 0; i < N; ++i) P.Values()[i] = Ipiv[i] - 1;
}

// Runs Sytrf (Hermitian: Hetrf) with the workspace its query asks for.
template <class T>
int BunchKaufman(bool Hermitian, char Uplo, int N, T* A, int* Ipiv)
{
    auto run = [&](T* Work, int Lwork) {
        if constexpr (std::is_same_v<T, TCplx>) {
            if (Hermitian) return blas::Hetrf(Uplo, N, A, std::max(N, 1), Ipiv, Work, Lwork);
        }
        return blas::Sytrf(Uplo, N, A, std::max(N, 1), Ipiv, Work, Lwork);
    };
    T query{};
    run(&query, -1);
    const int lwork = detail::QueriedSize(query);
    detail::TWork<T> work(lwork);
    return run(work.data(), lwork);
}

// LUD with the type it factored by (after AutoMtxType) as the result.
template <class T>
void FactorTyped(TMtx& Self, TVecs& P, TMtx& L, TMtx& U, TMtxType Type)
{
    constexpr bool complex = std::is_same_v<T, TCplx>;
    const int n = BlasInt(Self.Rows());
    const char uplo = UploLetter(Self.TriangleForm());
    const bool lower = Self.TriangleForm() == tfLower;
    if (Type == mtTriangle) {
        if (lower) {
            L.LowerTriangle(Self, true, true);
        } else if (&U == &Self) {
            KeepTriangle(U, false, false);
        } else {
            U.UpperTriangle(Self, true, true);
        }
        std::fill_n(P.Values(), n, 0.0);
        Self.SetLapackResult(0, {});
        return;
    }
    if (Type == mtGeneral) {
        // Factored in U's data; L and the row-major U are split out of them in one pass.
        TransposedCopy(U, Self);
        detail::TWork<int> ipiv(n);
        const int info = blas::Getrf(n, n, detail::Data<T>(U), n, ipiv.data());
        PivotsToP(P, ipiv.data(), n);
        detail::RecordInfo(Self, "", info, detail::TInfoForm::Inside(msg::GaussJordanSingular, msg::InvalidParameter));
        SplitFactors<T>(U, L);
        return;
    }
    TransposedCopy(L, Self);
    T* a = detail::Data<T>(L);
    if (IsCholesky(Type)) {
        const int info = blas::Potrf(uplo, n, a, n);
        detail::RecordInfo(Self, complex ? "ZPOTRF" : "DPOTRF", info,
                           detail::TInfoForm::Inside(msg::CholeskyMinor, msg::InvalidParameter));
    } else {
        detail::TWork<int> ipiv(n);
        const int info = BunchKaufman<T>(Type == mtHermitian, uplo, n, a, ipiv.data());
        PivotsToP(P, ipiv.data(), n);
        detail::RecordInfo(Self, "", info, detail::TInfoForm::Inside(msg::BunchKaufmanSingular, msg::InvalidParameter));
    }
    if (lower) {
        L.Transp();
        KeepTriangle(L, true, false);
    } else {
        U.Transp(L);
        KeepTriangle(U, false, false);
    }
}

TMtxType Factor(TMtx& Self, TVecs& P, TMtx& L, TMtx& U, TMtxType MtxType)
{
    Self.SetLapackResult(Self.Info(), {});
    if (static_cast<std::int64_t>(Self.Rows()) * Self.Cols() == 0) return MtxType;
    if (!Self.Quadratic()) ERaise(msg::kQuadraticFalse);
    if (&L == &U) ERaise(msg::kLU);
    const TMtxType type = detail::ResolvedType(Self, MtxType);
    if (detail::IsBand(type)) ERaise(msg::kMtxTypeUnsupported);
    if (type == mtHermitian && !Self.Complex()) ERaise(msg::kLUHermitianReal);
    P.Size(Self.Rows(), false);
    if (Self.Complex()) {
        FactorTyped<TCplx>(Self, P, L, U, type);
    } else {
        FactorTyped<double>(Self, P, L, U, type);
    }
    return type;
}

template <class T>
void InvTyped(TMtx& Self, TMtxType Type)
{
    constexpr bool complex = std::is_same_v<T, TCplx>;
    using detail::RecordInfo;
    using detail::TInfoForm;
    const int n = BlasInt(Self.Rows());
    const char uplo = SwappedUploLetter(Self.TriangleForm());
    T* a = detail::Data<T>(Self);
    if (Type == mtTriangle) {
        RecordInfo(Self, "", blas::Trtri(uplo, DiagLetter(Self.TriangleUnit()), n, a, n),
                   TInfoForm::Appended(msg::kTriangleInverse));
        return;
    }
    if (IsCholesky(Type)) {
        if (RecordInfo(Self, "", blas::Potrf(uplo, n, a, n),
                       TInfoForm::Inside(msg::CholeskyMinor, msg::InvalidParameterBlank)) != 0)
            return;
        if (RecordInfo(Self, "", blas::Potri(uplo, n, a, n),
                       TInfoForm::Appended(complex ? msg::kCholeskyInverse : msg::kInverseErorr)) == 0)
            detail::Mirror<T>(Self, complex);
        return;
    }
    detail::TWork<int> ipiv(n);
    if (Type == mtGeneral) {
        if (RecordInfo(Self, "", blas::Getrf(n, n, a, n, ipiv.data()),
                       TInfoForm::Inside(msg::LUSingular, msg::InvalidParameter)) != 0)
            return;
        T query{};
        blas::Getri(n, a, n, ipiv.data(), &query, -1);
        const int lwork = detail::QueriedSize(query);
        detail::TWork<T> work(lwork);
        RecordInfo(Self, "", blas::Getri(n, a, n, ipiv.data(), work.data(), lwork),
                   TInfoForm::Appended(complex ? msg::kFactorizationInverse : msg::kLUFactorizationInverse));
        return;
    }
    // Bunch-Kaufman: complex Hermitian through ZHETRF/ZHETRI, everything else symmetric.
    const bool hermitian = complex && Type == mtHermitian;
    if (RecordInfo(Self, "", BunchKaufman<T>(hermitian, uplo, n, a, ipiv.data()),
                   TInfoForm::Inside(hermitian ? msg::FactorizationSingular : msg::BunchKaufmanSingular,
                                     msg::InvalidParameter)) != 0)
        return;
    detail::TWork<T> work(2 * static_cast<std::int64_t>(n));
    int info = 0;
    const char* stage = msg::kBunchKaufmanInverse;
    if constexpr (complex) {
        info = hermitian ? blas::Hetri(uplo, n, a, n, ipiv.data(), work.data())
                         : blas::Sytri(uplo, n, a, n, ipiv.data(), work.data());
        stage = hermitian ? msg::kFactorizationInverse : msg::kBunchKaufmanInverseBlank;
    } else {
        info = blas::Sytri(uplo, n, a, n, ipiv.data(), work.data());
    }
    if (RecordInfo(Self, "", info, TInfoForm::Appended(stage)) == 0) detail::Mirror<T>(Self, hermitian);
}

// ---- Determinant ----------------------------------------------------------------------------------------------

inline double Magnitude(double X)
{
    return std::fabs(X);
}
inline double Magnitude(const TCplx& Z)
{
    return CAbs(Z);
}
inline double Negated(double X)
{
    return -X;
}
inline TCplx Negated(const TCplx& Z)
{
    return {-Z.Re, -Z.Im};
}
inline double Quotient(double A, double B)
{
    return A / B;
}
inline TCplx Quotient(const TCplx& A, const TCplx& B)
{
    return CDiv(A, B);
}
inline double Product(double A, double B)
{
    return A * B;
}
inline TCplx Product(const TCplx& A, const TCplx& B)
{
    return CMul(A, B);
}

// Row J (from column From) += F · row I; two Doubles at a time, each a product and a sum as the scalar loop rounds
// them (no fused multiply-add).
inline void CombineRow(double* __restrict J, const double* __restrict I, double F, int From, int N)
{
    const __m128d f = _mm_set1_pd(F);
    int k = From;
    for (; k + 4 <= N; k += 4) {
        const __m128d j0 = _mm_loadu_pd(J + k), j1 = _mm_loadu_pd(J + k + 2);
        _mm_storeu_pd(J + k, _mm_add_pd(j0, _mm_mul_pd(f, _mm_loadu_pd(I + k))));
        _mm_storeu_pd(J + k + 2, _mm_add_pd(j1, _mm_mul_pd(f, _mm_loadu_pd(I + k + 2))));
    }
    for (; k < N; ++k) J[k] = J[k] + F * I[k];
}
inline void CombineRow(TCplx* J, const TCplx* I, const TCplx& F, int From, int N)
{
    for (int k = From; k < N; ++k) {
        const TCplx p = CMul(F, I[k]);
        J[k].Re = J[k].Re + p.Re;
        J[k].Im = J[k].Im + p.Im;
    }
}

// The determinant of Self (n ≥ 1) by elimination on Self's rows.
template <class T>
T Eliminate(TMtx& Self)
{
    const int n = Self.Rows();
    T* a = detail::Data<T>(Self);
    auto row = [&](int r) { return a + static_cast<std::int64_t>(r) * n; };
    T product{};
    if constexpr (std::is_same_v<T, TCplx>) {
        product = C_ONE;
    } else {
        product = 1;
    }
    bool singular = false;
    for (int i = 0; !singular && i < n - 1; ++i) {
        if (Magnitude(row(i)[i]) < MACHEP) {
            singular = true;
            for (int j = i + 1; j < n; ++j) {
                if (Magnitude(row(j)[i]) > MACHEP) {
                    Self.RowExchange(j, i);
                    singular = false;
                    product = Negated(product);
                    break;
                }
            }
        }
        if (!singular) {
            const T* pivot = row(i);
            for (int j = i + 1; j < n; ++j) {
                T* r = row(j);
                if (Magnitude(r[i]) > MACHEP) CombineRow(r, pivot, Negated(Quotient(r[i], pivot[i])), i + 1, n);
            }
        }
        product = Product(product, row(i)[i]);
    }
    return singular ? T{} : Product(row(n - 1)[n - 1], product);
}

}  // namespace

void TMtx::LUD(TVecs& P, TMtx& L, TMtx& U, TMtxType MtxType)
{
    Factor(*this, P, L, U, MtxType);
}

TMtx& TMtx::LU(TMtx& L, TMtx& U, TMtxType MtxType)
{
    detail::TVecTemp pivots;
    const TMtxType type = Factor(*this, *pivots, L, U, MtxType);
    if (Elements() == 0 || FInfo < 0 || IsCholesky(type) || type == mtTriangle) return *this;
    const int n = FRows;
    const double* p = pivots->Values();
    if (type == mtGeneral) {
        // Self = P₁·P₂·…·Pₙ·L·U: the exchanges go into L from the last one back.
        for (int i = n - 1; i >= 0; --i) L.RowExchange(i, static_cast<int>(p[i]));
        return *this;
    }
    TMtx& target = FTriangleForm == tfLower ? L : U;
    for (int i = 0; i < n; ++i) {
        const int pi = static_cast<int>(p[i]);
        if (pi >= 0) target.RowExchange(i, pi);
        if (FTriangleForm == tfLower) {
            if (pi < 0 && i + 1 < n && p[i + 1] == p[i]) target.RowExchange(i + 1, -pi - 2);
        } else if (pi < 0 && i > 0 && p[i - 1] == p[i]) {
            target.RowExchange(i - 1, -pi - 2);
        }
    }
    return *this;
}

TMtx& TMtx::RowExchange(int i, int j)
{
    if (Elements() == 0 || i == j) return *this;
    if (i < 0) ERaise(msg::kINeg);
    if (j < 0) ERaise(msg::kJNeg);
    if (i > FRows - 1) ERaise(msg::kIFRows);
    if (j > FRows - 1) ERaise(msg::kJFRows);
    const std::int64_t w = static_cast<std::int64_t>(FCols) * Width();
    std::swap_ranges(FValues + i * w, FValues + (i + 1) * w, FValues + j * w);
    return *this;
}

TMtx& TMtx::ColExchange(int i, int j)
{
    if (i == j) return *this;
    if (i < 0) ERaise(msg::kINeg);
    if (j < 0) ERaise(msg::kJNeg);
    if (i > FCols - 1) ERaise(msg::kIFCols);
    if (j > FCols - 1) ERaise(msg::kJFCols);
    const int w = Width();
    for (int r = 0; r < FRows; ++r) {
        double* row = FValues + static_cast<std::int64_t>(r) * FCols * w;
        std::swap_ranges(row + i * w, row + (i + 1) * w, row + j * w);
    }
    return *this;
}

TMtx& TMtx::LowerTriangle(const TMtx1& Mtx, bool ZeroUpper, bool Diagonal)
{
    if (static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols() == 0) ERaise(msg::kMtxRowsCols);
    const int w = Width();
    if (&Mtx == this) {
        const int n = std::min(FRows, FCols);
        for (int i = 0; i < n; ++i) {
            double* row = FValues + static_cast<std::int64_t>(i) * FCols * w;
            if (ZeroUpper) std::memset(row + (i + 1) * w, 0, static_cast<std::size_t>(FCols - i - 1) * w * 8);
            if (!Diagonal) std::memset(row + i * w, 0, static_cast<std::size_t>(w) * 8);
        }
        return *this;
    }
    Size(Mtx);
    SetZero();
    const int wm = Width();
    const int n = std::min(FRows, FCols);
    for (int i = 0; i < n; ++i) {
        const std::int64_t from = static_cast<std::int64_t>(i) * FCols * wm;
        const std::int64_t count = static_cast<std::int64_t>(Diagonal ? i + 1 : i) * wm;
        if (count > 0) std::memcpy(FValues + from, Mtx.Values() + from, static_cast<std::size_t>(count) * 8);
    }
    return *this;
}

TMtx& TMtx::Inv(TMtxType MtxType)
{
    SetLapackResult(FInfo, {});
    if (Elements() == 0) return *this;
    if (!Quadratic()) ERaise(msg::kQuadraticFalse);
    TMtxType type = detail::ResolvedType(*this, MtxType);
    if (detail::IsBand(type)) ERaise(msg::kMtxTypeUnsupported);
    if (!FComplex && type == mtHermitian) type = mtSymmetric;  // a real Hermitian matrix is symmetric
    if (FComplex) {
        InvTyped<TCplx>(*this, type);
    } else {
        InvTyped<double>(*this, type);
    }
    return *this;
}

double TMtx::Determinant()
{
    if (!Quadratic()) ERaise(msg::kQuadraticFalse);
    if (FComplex) ERaise(msg::kComplexTrue);
    if (FRows == 0) return 1;
    return Eliminate<double>(*this);
}

void TMtx::Determinant(TCplx& Det)
{
    if (!Quadratic()) ERaise(msg::kQuadraticFalse);
    if (FRows == 0) {
        Det = C_ONE;
    } else if (FComplex) {
        Det = Eliminate<TCplx>(*this);
    } else {
        Det = {Eliminate<double>(*this), 0};
    }
}

}  // namespace tarnel
