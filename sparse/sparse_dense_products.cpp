// TSparseMtx: products with dense vectors and the residual norm of a solution.
//
// A real operand mixed with complex ones counts as x + 0i. The results are accumulated in local arrays and written
// at the end, so y may be x and a refused call changes nothing.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "core/Dovi387.h"
#include "core/TempGuard.h"
#include "core/messages.h"
#include "sparse/SparseInternal.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

using detail::Elem;
using detail::TC;
using detail::TValueReader;

// The row indices are checked as the product meets them (the column pointers before it starts), into a pooled
// vector that is copied to Y at the end: a broken pattern raises before Y is written, and Y may be X.
template <class T>
void TSparseMtx1::DenseProduct(const TVec& X, TVec& Y, bool Left) const
{
    CheckPattern(false);
    const int outLen = Left ? FCols : FRows;
    constexpr bool complex = std::is_same_v<T, TC>;
    detail::TVecTemp out;
    out->Size(outLen, complex);
    const int* colPtr = FColPointers.data();
    const int* rowIdx = FRowIndices.data();
    const auto rows = static_cast<unsigned>(FRows);
    const TValueReader<T> a{FValues->Values(), FValues->Complex()}, x{X.Values(), X.Complex()};
    T* o = reinterpret_cast<T*>(out->Values());  // complex<double> is laid out as (Re, Im)
    if (Left) {
        for (int c = 0; c < FCols; ++c) {
            T sum{};
            const int last = colPtr[c + 1];
            for (int k = colPtr[c]; k < last; ++k) {
                const int t = rowIdx[k];
                if (static_cast<unsigned>(t) >= rows) ERaise(msg::sparse::kInvalidPattern);
                sum += a(k) * x(t);
            }
            o[c] = sum;
        }
    } else {
        std::fill_n(o, outLen, T{});
        for (int c = 0; c < FCols; ++c) {
            const T xc = x(c);
            const int last = colPtr[c + 1];
            for (int k = colPtr[c]; k < last; ++k) {
                const int t = rowIdx[k];
                if (static_cast<unsigned>(t) >= rows) ERaise(msg::sparse::kInvalidPattern);
                o[t] += a(k) * xc;
            }
        }
    }
    Y.Size(outLen, complex);
    std::copy_n(out->Values(), static_cast<std::size_t>(outLen) * (complex ? 2 : 1), Y.Values());
}

void TSparseMtx1::MulRight(const TVec& X, TVec& Y) const
{
    if (X.Length() != FCols) ERaise(msg::sparse::kXLengthCols);
    if (FComplex || X.Complex())
        DenseProduct<TC>(X, Y, false);
    else
        DenseProduct<double>(X, Y, false);
}

void TSparseMtx1::MulLeft(const TVec& X, TVec& Y) const
{
    if (X.Length() != FRows) ERaise(msg::sparse::kXLengthRows);
    if (FComplex || X.Complex())
        DenseProduct<TC>(X, Y, true);
    else
        DenseProduct<double>(X, Y, true);
}

double TSparseMtx1::ResidualNorm(const TVec& B, const TVec& X, bool Transposed) const
{
    if (FRows != FCols) ERaise(msg::sparse::kRowsCols);
    if (FCols != B.Length()) ERaise(msg::sparse::kFColsBLength);
    if (B.Length() != X.Length()) ERaise(msg::sparse::kIterLength);
    if (B.Complex() != FComplex) ERaise(msg::kBComplex);
    if (X.Complex() != FComplex) ERaise(msg::kXComplex);
    CheckPattern(true);
    detail::TVecTemp ax;
    if (Transposed)
        MulLeft(X, *ax);
    else
        MulRight(X, *ax);
    double norm = 0;
    for (int k = 0; k < FCols; ++k) {
        const double r = FComplex ? std::abs(Elem<TC>(*ax, k) - Elem<TC>(B, k))
                                  : std::fabs(Elem<double>(*ax, k) - Elem<double>(B, k));
        norm = std::max(norm, r);
    }
    return norm;
}

template <class T>
void TSparseMtx::DenseMtxProduct(const TMtx& X, TMtx& Y, bool Left) const
{
    // Right: Y (Rows × X.Cols) := A·X; Left: Y (X.Rows × Cols) := X·A. X and Y are row by row.
    const std::size_t outRows = static_cast<std::size_t>(Left ? X.Rows() : FRows);
    const std::size_t outCols = static_cast<std::size_t>(Left ? FCols : X.Cols());
    const std::size_t xCols = static_cast<std::size_t>(X.Cols());
    std::vector<T> out(outRows * outCols, T{});
    for (int c = 0; c < FCols; ++c)
        for (int k = FColPointers[static_cast<std::size_t>(c)]; k < FColPointers[static_cast<std::size_t>(c) + 1];
             ++k) {
            const auto t = static_cast<std::size_t>(FRowIndices[static_cast<std::size_t>(k)]);
            const T v = Elem<T>(*FValues, static_cast<std::size_t>(k));
            const auto cc = static_cast<std::size_t>(c);
            if (Left)
                for (std::size_t o = 0; o < outRows; ++o) out[o * outCols + cc] += v * Elem<T>(X, o * xCols + t);
            else
                for (std::size_t r = 0; r < outCols; ++r) out[t * outCols + r] += v * Elem<T>(X, cc * xCols + r);
        }
    Y.Size(static_cast<int>(outRows), static_cast<int>(outCols), std::is_same_v<T, TC>);
    detail::PutElems(out, Y);
}

void TSparseMtx::MulRight(const TMtx& X, TMtx& Y) const
{
    if (FCols != X.Rows()) ERaise(msg::sparse::kColsXRows);
    CheckPattern(true);
    if (FComplex || X.Complex())
        DenseMtxProduct<TC>(X, Y, false);
    else
        DenseMtxProduct<double>(X, Y, false);
}

void TSparseMtx::MulLeft(const TMtx& X, TMtx& Y) const
{
    if (FRows != X.Cols()) ERaise(msg::sparse::kRowsXCols);
    CheckPattern(true);
    if (FComplex || X.Complex())
        DenseMtxProduct<TC>(X, Y, true);
    else
        DenseMtxProduct<double>(X, Y, true);
}

void TSparseMtx::Add(TMtx& Y) const
{
    if (FRows != Y.Rows()) ERaise(msg::sparse::kFRowsYRows);
    if (FCols != Y.Cols()) ERaise(msg::sparse::kFColsYCols);
    CheckPattern(true);
    if (FComplex && !Y.Complex()) Y.ExtendToComplex(true);
    const auto cols = static_cast<std::size_t>(FCols);
    for (int c = 0; c < FCols; ++c)
        for (int k = FColPointers[static_cast<std::size_t>(c)]; k < FColPointers[static_cast<std::size_t>(c) + 1];
             ++k) {
            const std::size_t at =
                static_cast<std::size_t>(FRowIndices[static_cast<std::size_t>(k)]) * cols + static_cast<std::size_t>(c);
            if (Y.Complex()) {
                const TC v = Elem<TC>(*FValues, static_cast<std::size_t>(k));
                Y.CValues()[at].Re += v.real();
                Y.CValues()[at].Im += v.imag();
            } else {
                Y.Values()[at] += FValues->Values()[k];
            }
        }
}

}  // namespace tarnel
