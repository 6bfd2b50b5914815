// TMtx: whole and partial copies, filling from a vector, transposition and conjugate transposition, flips, the
// quarter turn and the upper triangle.
//
// Every transposing member runs through one cache-blocked kernel: the source is walked in square tiles small enough
// that the tile's destination lines stay in the first-level cache, so neither side is read or written with a
// stride longer than a tile. The in-place transpose of a square matrix swaps tile pairs the same way.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/LapackWork.h"
#include "core/TempGuard.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/transpose_kernels.h"
#include "core/vec_class.h"
#include "platform/wavrin/Parallel.h"

namespace tarnel {

namespace {

// 32 × 32 Doubles (16 KiB for complex elements) per tile: the destination lines of one tile fit the L1 cache.
constexpr int kTile = 32;

template <class T, bool Conj>
inline T Op(const T& X)
{
    if constexpr (Conj && std::is_same_v<T, TCplx>) {
        return TCplx{X.Re, -X.Im};
    } else {
        return X;
    }
}

// Dst(j, i) := op(Src(i, j)) for i < Rows, j < Cols. Strides count elements; Src's may be negative (a walk from
// the last row up).
template <class T, bool Conj>
void TransposeKernel(const T* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, T* Dst, std::ptrdiff_t DstStride)
{
    for (int i0 = 0; i0 < Rows; i0 += kTile) {
        const int i1 = std::min(Rows, i0 + kTile);
        for (int j0 = 0; j0 < Cols; j0 += kTile) {
            const int j1 = std::min(Cols, j0 + kTile);
            for (int i = i0; i < i1; ++i) {
                const T* s = Src + i * SrcStride;
                T* d = Dst + i;
                for (int j = j0; j < j1; ++j) d[j * DstStride] = Op<T, Conj>(s[j]);
            }
        }
    }
}

template <class T, bool Conj>
void TransposeSquareInPlace(T* A, int N)
{
    const std::ptrdiff_t n = N;
    for (int i0 = 0; i0 < N; i0 += kTile) {
        const int i1 = std::min(N, i0 + kTile);
        // Tiles left of the diagonal swap with their mirror images above it.
        for (int j0 = 0; j0 < i0; j0 += kTile) {
            const int j1 = std::min(N, j0 + kTile);
            for (int i = i0; i < i1; ++i) {
                for (int j = j0; j < j1; ++j) {
                    const T t = A[i * n + j];
                    A[i * n + j] = Op<T, Conj>(A[j * n + i]);
                    A[j * n + i] = Op<T, Conj>(t);
                }
            }
        }
        for (int i = i0; i < i1; ++i) {
            for (int j = i0; j < i; ++j) {
                const T t = A[i * n + j];
                A[i * n + j] = Op<T, Conj>(A[j * n + i]);
                A[j * n + i] = Op<T, Conj>(t);
            }
            if constexpr (Conj) A[i * n + i] = Op<T, Conj>(A[i * n + i]);
        }
    }
}

#if defined(__SSE2__)
// Real data: the source is walked in tiles, eight rows by Block::kWidth columns at a time, which Block turns into
// kWidth destination runs of eight (one cache line each); the columns and rows left over go one element at a time.
template <int Tile, class Block>
inline void TransposeRealTiles(const double* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, double* Dst,
                               std::ptrdiff_t DstStride)
{
    constexpr int width = Block::kWidth;
    for (int i0 = 0; i0 < Rows; i0 += Tile) {
        const int i1 = std::min(Rows, i0 + Tile);
        for (int j0 = 0; j0 < Cols; j0 += Tile) {
            const int j1 = std::min(Cols, j0 + Tile);
            int i = i0;
            for (; i + 7 < i1; i += 8) {
                const double* s = Src + i * SrcStride;
                int j = j0;
                for (; j + width - 1 < j1; j += width)
                    Block::Move(s + j, SrcStride, Dst + j * DstStride + i, DstStride);
                for (; j < j1; ++j) {
                    for (int q = 0; q < 8; ++q) Dst[j * DstStride + i + q] = s[q * SrcStride + j];
                }
            }
            for (; i < i1; ++i) {
                const double* s = Src + i * SrcStride;
                for (int j = j0; j < j1; ++j) Dst[j * DstStride + i] = s[j];
            }
        }
    }
    if constexpr (Block::kStream) _mm_sfence();
}

// Eight rows by two columns through SSE2 unpacks. Streaming stores bypass the cache for a destination far larger
// than it, where every line would otherwise be read in before it is overwritten.
template <bool Stream>
struct TSse2Block {
    static constexpr int kWidth = 2;
    static constexpr bool kStream = Stream;
    static void Move(const double* S, std::ptrdiff_t Ss, double* D0, std::ptrdiff_t Ds)
    {
        double* d1 = D0 + Ds;
        for (int q = 0; q < 8; q += 2) {
            const __m128d a = _mm_loadu_pd(S + q * Ss);
            const __m128d b = _mm_loadu_pd(S + (q + 1) * Ss);
            if constexpr (Stream) {
                _mm_stream_pd(D0 + q, _mm_unpacklo_pd(a, b));
                _mm_stream_pd(d1 + q, _mm_unpackhi_pd(a, b));
            } else {
                _mm_storeu_pd(D0 + q, _mm_unpacklo_pd(a, b));
                _mm_storeu_pd(d1 + q, _mm_unpackhi_pd(a, b));
            }
        }
    }
};

#if defined(__x86_64__)
// Eight rows by four columns through two 4 × 4 register transpositions (AVX2).
template <bool Stream>
struct TAvx2Block {
    static constexpr int kWidth = 4;
    static constexpr bool kStream = Stream;
    [[gnu::target("avx2")]] static void Move(const double* S, std::ptrdiff_t Ss, double* D, std::ptrdiff_t Ds)
    {
        detail::Transpose4x4<Stream>(S, Ss, D, Ds);
        detail::Transpose4x4<Stream>(S + 4 * Ss, Ss, D + 4, Ds);
    }
};

// The tile walk compiled for AVX2, its blocks inlined.
template <int Tile, bool Stream>
[[gnu::target("avx2"), gnu::flatten]] void TransposeRealAvx2(const double* Src, std::ptrdiff_t SrcStride, int Rows,
                                                             int Cols, double* Dst, std::ptrdiff_t DstStride)
{
    TransposeRealTiles<Tile, TAvx2Block<Stream>>(Src, SrcStride, Rows, Cols, Dst, DstStride);
}
#endif

// The kernel for real data: AVX2 where the processor has it, else SSE2.
template <int Tile, bool Stream>
void TransposeRealBest(const double* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, double* Dst,
                       std::ptrdiff_t DstStride)
{
#if defined(__x86_64__)
    if (parallel::HasAvx2()) {
        TransposeRealAvx2<Tile, Stream>(Src, SrcStride, Rows, Cols, Dst, DstStride);
        return;
    }
#endif
    TransposeRealTiles<Tile, TSse2Block<Stream>>(Src, SrcStride, Rows, Cols, Dst, DstStride);
}

// Destinations of more than this many bytes are written with streaming stores (about half the last-level cache of
// a current processor; the data cannot stay cached for the next user anyway).
constexpr std::int64_t kStreamBytes = std::int64_t{8} << 20;

// TransposeRealBest; from detail::kSharedTransposeDoubles on, the worker threads share it in runs of destination
// rows (source columns), so that each piece writes memory of its own.
template <int Tile, bool Stream>
void TransposeRealShared(const double* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, double* Dst,
                         std::ptrdiff_t DstStride)
{
    if (static_cast<std::int64_t>(Rows) * Cols < detail::kSharedTransposeDoubles) {
        TransposeRealBest<Tile, Stream>(Src, SrcStride, Rows, Cols, Dst, DstStride);
        return;
    }
    // At least 16 destination rows a piece: rows of the source are read in runs of two cache lines or more.
    constexpr long long minRows = 16;
    parallel::Pieces(
        Cols,
        [&](long long Lo, long long Hi) {
            TransposeRealBest<Tile, Stream>(Src + Lo, SrcStride, Rows, static_cast<int>(Hi - Lo), Dst + Lo * DstStride,
                                            DstStride);
        },
        minRows);
}

template <>
void TransposeKernel<double, false>(const double* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, double* Dst,
                                    std::ptrdiff_t DstStride)
{
    // Streaming pays only when every run of eight lands on one whole cache line: rows a multiple of 64 bytes apart,
    // and the first `head` source rows (destination columns before the first line boundary) written normally.
    const auto address = reinterpret_cast<std::uintptr_t>(Dst);
    if (address % 8 == 0 && DstStride % 8 == 0 && static_cast<std::int64_t>(Rows) * Cols * 8 >= kStreamBytes) {
        const int head = std::min(Rows, static_cast<int>((64 - address % 64) % 64 / 8));
        if (head > 0) TransposeRealBest<64, false>(Src, SrcStride, head, Cols, Dst, DstStride);
        TransposeRealShared<128, true>(Src + head * SrcStride, SrcStride, Rows - head, Cols, Dst + head, DstStride);
    } else {
        TransposeRealShared<64, false>(Src, SrcStride, Rows, Cols, Dst, DstStride);
    }
}
#endif

template <bool Conj>
void TransposeData(bool Complex, const double* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, double* Dst,
                   std::ptrdiff_t DstStride)
{
    if (Complex) {
        TransposeKernel<TCplx, Conj>(reinterpret_cast<const TCplx*>(Src), SrcStride, Rows, Cols,
                                     reinterpret_cast<TCplx*>(Dst), DstStride);
    } else {
        TransposeKernel<double, false>(Src, SrcStride, Rows, Cols, Dst, DstStride);
    }
}

// Whole copies of this many Doubles (8 MB) and more are shared among the worker threads.
constexpr std::int64_t kSharedCopyDoubles = std::int64_t{1} << 20;

}  // namespace

// ---- Copies ---------------------------------------------------------------------------------------------------

TMtx& TMtx::Copy(const TMtx1& Mtx)
{
    detail::TCheck(FConditionCheck).Gated(&Mtx == this, msg::kMtxSelf);
    if (&Mtx == this) return *this;
    if (static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols() == 0) {
        Size(0, 0, Mtx.Complex());
        return *this;
    }
    Size(Mtx.Rows(), Mtx.Cols(), Mtx.Complex());
    // From 8 MB on, the worker threads share the copy as they do vectors' (one thread does not saturate the memory
    // bus); smaller matrices stay on this thread, where the copy runs within the cache and waking threads costs
    // more than it saves.
    const std::int64_t n = Numbers();
    if (n >= kSharedCopyDoubles) {
        detail::CopyDoubles(Mtx.Values(), FValues, n);
    } else {
        std::memcpy(FValues, Mtx.Values(), static_cast<std::size_t>(n) * sizeof(double));
    }
    return *this;
}

TMtx& TMtx::Copy(const TMtx1& Mtx, int MtxRow, int MtxCol, int Row, int Col, int NrRows, int NrCols, bool Transpose)
{
    const int dstRows = Transpose ? NrCols : NrRows;
    const int dstCols = Transpose ? NrRows : NrCols;
    // Without ConditionCheck the bounds still guard the memory of both matrices (after the negative arguments).
    detail::TCheck check(FConditionCheck);
    check.Bound(static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols() == 0, msg::kMtxEmpty)
        .Bound(Mtx.Complex() != FComplex, msg::kMtxComplex)
        .Bound(static_cast<std::int64_t>(MtxRow) + NrRows > Mtx.Rows(), msg::kMtxRowRows)
        .Bound(static_cast<std::int64_t>(MtxCol) + NrCols > Mtx.Cols(), msg::kMtxColCols)
        .Bound(static_cast<std::int64_t>(Row) + dstRows > FRows, msg::kRowNrRows)
        .Bound(static_cast<std::int64_t>(Col) + dstCols > FCols, msg::kColNrCols)
        .Gated(&Mtx == this, msg::kMtxSelf);
    if (NrRows <= 0 || NrCols <= 0) return *this;
    check.Negative({MtxRow}, msg::kNegMtxRow)
        .Negative({MtxCol}, msg::kNegMtxCol)
        .Negative({Row}, msg::kNegRow)
        .Negative({Col}, msg::kNegCol)
        .Done();

    const int w = Width();
    const double* src = Mtx.Values() + (static_cast<std::int64_t>(MtxRow) * Mtx.Cols() + MtxCol) * w;
    double* dst = FValues + (static_cast<std::int64_t>(Row) * FCols + Col) * w;
    if (!Transpose) {
        const std::size_t rowBytes = static_cast<std::size_t>(NrCols) * ElementBytes();
        for (int k = 0; k < NrRows; ++k) {
            std::memmove(dst + static_cast<std::int64_t>(k) * FCols * w,
                         src + static_cast<std::int64_t>(k) * Mtx.Cols() * w, rowBytes);
        }
    } else {
        TransposeData<false>(FComplex, src, Mtx.Cols(), NrRows, NrCols, dst, FCols);
    }
    return *this;
}

TMtx& TMtx::CopyVec(const TVecs& Vec, int NrRows)
{
    if (Vec.Length() == 0) {
        Size(0, 0, Vec.Complex());
        return *this;
    }
    if (NrRows < 1) ERaise(msg::kNrRows);
    if (FConditionCheck && Vec.Length() % NrRows != 0) ERaise(msg::kVecLengthNrRows);
    // Without the check the rest is dropped, but more rows than elements would build a matrix of no columns and
    // NrRows empty rows out of nothing: refused always.
    if (NrRows > Vec.Length()) ERaise(msg::kVecLengthNrRows);
    const int cols = Vec.Length() / NrRows;
    CheckSize(NrRows, cols, Vec.Complex());
    // Vec may view this matrix's block, which sizing frees: it is read through a held copy then.
    const detail::TStable vec(Vec, *this);
    Size(NrRows, cols, vec->Complex());
    const std::int64_t n = Numbers();
    if (n > 0) std::memmove(FValues, vec->Values(), static_cast<std::size_t>(n) * sizeof(double));
    return *this;
}

TMtx& TMtx::CopyVec(const TVecs& Vec, int VecIndex, int Len, int Row, int Col)
{
    const std::int64_t startPos = static_cast<std::int64_t>(Row) * FCols + Col;
    detail::TCheck check(FConditionCheck);
    // The range ends at VecIndex + Len - 1, which must be a valid index.
    check.Gated(Vec.Length() == 0, msg::kVecLengthZero)
        .Bound(Vec.Complex() != FComplex, msg::kCopyComplex)
        .Bound(static_cast<std::int64_t>(VecIndex) + Len > Vec.Length(), msg::kCopyVecIndexLen1)
        .Bound(startPos + Len > Elements(), msg::kCopyVecStartPos);
    if (Len == 0) return *this;
    check.Negative({VecIndex}, msg::kNegVecIndex)
        .Negative({Len}, msg::kNegLen)
        .Negative({Row}, msg::kNegRow)
        .Negative({Col}, msg::kNegCol)
        .Done();
    const int w = Width();
    std::memmove(FValues + startPos * w, Vec.Values() + static_cast<std::int64_t>(VecIndex) * w,
                 static_cast<std::size_t>(Len) * ElementBytes());
    return *this;
}

// ---- Transposition ----------------------------------------------------------------------------------------------

void detail::TransposedData(const TMtx1& Src, double* Dst)
{
    TransposedBlock(Src.Complex(), Src.Values(), Src.Cols(), Src.Rows(), Src.Cols(), Dst, Src.Rows());
}

void detail::TransposedBlock(bool Complex, const double* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, double* Dst,
                             std::ptrdiff_t DstStride)
{
    if (static_cast<std::int64_t>(Rows) * Cols == 0) return;
    TransposeData<false>(Complex, Src, SrcStride, Rows, Cols, Dst, DstStride);
}

TMtx& TMtx::Transp(const TMtx1& Mtx)
{
    if (&Mtx == this) ERaise(msg::kMtxSelf);
    Size(Mtx.Cols(), Mtx.Rows(), Mtx.Complex());
    if (Numbers() == 0) return *this;
    TransposeData<false>(FComplex, Mtx.Values(), Mtx.Cols(), Mtx.Rows(), Mtx.Cols(), FValues, FCols);
    return *this;
}

TMtx& TMtx::Transp()
{
    if (Numbers() == 0) {
        Size(FCols, FRows, FComplex);
        return *this;
    }
    if (FRows == FCols) {
        if (FComplex) {
            TransposeSquareInPlace<TCplx, false>(CValues(), FRows);
        } else {
            TransposeSquareInPlace<double, false>(FValues, FRows);
        }
        return *this;
    }
    detail::TMtxTemp copy;
    copy->Copy(*this);
    return Transp(*copy);
}

TMtx& TMtx::Adjung(const TMtx1& X)
{
    if (&X == this) ERaise(msg::kXSelf);
    Size(X.Cols(), X.Rows(), X.Complex());
    if (Numbers() == 0) return *this;
    TransposeData<true>(FComplex, X.Values(), X.Cols(), X.Rows(), X.Cols(), FValues, FCols);
    return *this;
}

TMtx& TMtx::Adjung()
{
    if (FRows == FCols && Numbers() > 0) {
        if (FComplex) {
            TransposeSquareInPlace<TCplx, true>(CValues(), FRows);
        } else {
            TransposeSquareInPlace<double, false>(FValues, FRows);
        }
        return *this;
    }
    if (Numbers() == 0) {
        Size(FCols, FRows, FComplex);
        return *this;
    }
    detail::TMtxTemp copy;
    copy->Copy(*this);
    return Adjung(*copy);
}

// ---- Flips and the quarter turn -------------------------------------------------------------------------------

TMtx& TMtx::FlipVer(const TMtx1& Mtx)
{
    if (&Mtx == this) ERaise(msg::kSelfSrcMtx);
    Size(Mtx);
    if (Numbers() == 0) return *this;
    const std::int64_t stride = static_cast<std::int64_t>(FCols) * Width();
    for (int r = 0; r < FRows; ++r) {
        std::memcpy(FValues + r * stride, Mtx.Values() + (FRows - 1 - r) * stride,
                    static_cast<std::size_t>(stride) * sizeof(double));
    }
    return *this;
}

TMtx& TMtx::FlipVer()
{
    if (Numbers() == 0) return *this;
    const std::int64_t stride = static_cast<std::int64_t>(FCols) * Width();
    for (int r = 0; r < FRows / 2; ++r) {
        double* top = FValues + r * stride;
        std::swap_ranges(top, top + stride, FValues + (FRows - 1 - r) * stride);
    }
    return *this;
}

TMtx& TMtx::FlipHor(const TMtx1& Mtx)
{
    if (&Mtx == this) ERaise(msg::kSelfSrcMtx);
    Size(Mtx);
    if (Numbers() == 0) return *this;
    for (int r = 0; r < FRows; ++r) {
        const std::int64_t first = static_cast<std::int64_t>(r) * FCols;
        if (FComplex) {
            std::reverse_copy(Mtx.CValues() + first, Mtx.CValues() + first + FCols, CValues() + first);
        } else {
            std::reverse_copy(Mtx.Values() + first, Mtx.Values() + first + FCols, FValues + first);
        }
    }
    return *this;
}

TMtx& TMtx::FlipHor()
{
    if (Numbers() == 0) return *this;
    for (int r = 0; r < FRows; ++r) {
        const std::int64_t first = static_cast<std::int64_t>(r) * FCols;
        if (FComplex) {
            std::reverse(CValues() + first, CValues() + first + FCols);
        } else {
            std::reverse(FValues + first, FValues + first + FCols);
        }
    }
    return *this;
}

TMtx& TMtx::Rotate90(const TMtx1& Mtx)
{
    if (&Mtx == this) ERaise(msg::kMtxSelf);
    Size(Mtx.Cols(), Mtx.Rows(), Mtx.Complex());
    if (Numbers() == 0) return *this;
    // (c, r) := Mtx(Rows-1-r, c): the transpose of Mtx read from its last row up.
    const int w = Width();
    const double* lastRow = Mtx.Values() + static_cast<std::int64_t>(Mtx.Rows() - 1) * Mtx.Cols() * w;
    TransposeData<false>(FComplex, lastRow, -static_cast<std::ptrdiff_t>(Mtx.Cols()), Mtx.Rows(), Mtx.Cols(), FValues,
                         FCols);
    return *this;
}

TMtx& TMtx::Rotate90()
{
    detail::TMtxTemp turned;
    turned->Rotate90(*this);
    return Copy(*turned);
}

TMtx& TMtx::UpperTriangle(const TMtx1& Mtx, bool ZeroLower, bool Diagonal)
{
    (void)ZeroLower;  // the lower part is always zero
    if (&Mtx == this) ERaise(msg::kMtxSelf);
    if (static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols() == 0) return *this;
    Size(Mtx);
    SetZero();
    const int w = Width();
    const int n = std::min(FRows, FCols);
    for (int i = 0; i < n; ++i) {
        const std::int64_t from = (static_cast<std::int64_t>(i) * FCols + (Diagonal ? i : i + 1)) * w;
        const std::int64_t count = (static_cast<std::int64_t>(FCols) - (Diagonal ? i : i + 1)) * w;
        if (count > 0) std::memcpy(FValues + from, Mtx.Values() + from, static_cast<std::size_t>(count) * 8);
    }
    return *this;
}

}  // namespace tarnel
