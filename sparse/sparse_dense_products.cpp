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
#include "core/messages.h"
#include "sparse/SparseInternal.h"
#include "sparse/messages.h"
#include "sparse/sparse_class.h"

namespace tarnel {

using detail::Elem;
using detail::TC;

template <class T>
void TSparseMtx1::DenseProduct(const TVec& X, TVec& Y, bool Left) const
{
    const int outLen = Left ? FCols : FRows;
    std::vector<T> out(static_cast<std::size_t>(outLen), T{});
    const TVec& a = *FValues;
    for (int c = 0; c < FCols; ++c)
        for (int k = FColPointers[static_cast<std::size_t>(c)]; k < FColPointers[static_cast<std::size_t>(c) + 1];
             ++k) {
            const int t = FRowIndices[static_cast<std::size_t>(k)];
            if (Left)
                out[static_cast<std::size_t>(c)] += Elem<T>(a, k) * Elem<T>(X, t);
            else
                out[static_cast<std::size_t>(t)] += Elem<T>(a, k) * Elem<T>(X, c);
        }
    detail::StoreElems(out, Y);
}

void TSparseMtx1::MulRight(const TVec& X, TVec& Y) const
{
    if (X.Length() != FCols) ERaise(msg::sparse::kXLengthCols);
    CheckPattern(true);
    if (FComplex || X.Complex())
        DenseProduct<TC>(X, Y, false);
    else
        DenseProduct<double>(X, Y, false);
}

void TSparseMtx1::MulLeft(const TVec& X, TVec& Y) const
{
    if (X.Length() != FRows) ERaise(msg::sparse::kXLengthRows);
    CheckPattern(true);
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
    if (X.Complex() != FComplex) ERaise(msg::sparse::kXComplex);
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

}  // namespace tarnel
