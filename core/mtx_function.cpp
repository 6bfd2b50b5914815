// TMtx.MtxFunction: a scalar function of a square matrix through its eigen-decomposition, f(A) = V·f(D)·V⁻¹ (V·f(D)·Vᴴ
// for the symmetric and Hermitian types, whose eigenvectors are orthonormal).
//
// Nothing here raises on a numerical failure: a failing Eig or inverse hands its Info and MtxError to Self, and so do
// eigenvectors that are linearly dependent to working precision (a defective matrix such as a Jordan block), which
// xGEEV returns without a word. The test is the one xGESVX makes on its reciprocal condition number: ‖V‖₁·‖V⁻¹‖₁ above
// 1/ε fails. Self is left as it was on every failure.
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/LapackWork.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

// M := M·diag(D): column j scaled by D(j); M and D of one kind.
template <class T>
void ScaleColumns(TMtx& M, const TVecs& D)
{
    const int rows = M.Rows(), cols = M.Cols();
    T* m = detail::Data<T>(M);
    const T* d = detail::Data<T>(D);
    for (int i = 0; i < rows; ++i) {
        T* row = m + static_cast<std::int64_t>(i) * cols;
        for (int j = 0; j < cols; ++j) {
            if constexpr (std::is_same_v<T, TCplx>) {
                row[j] = CMul(row[j], d[j]);
            } else {
                row[j] *= d[j];
            }
        }
    }
}

void ScaleColumns(TMtx& M, const TVecs& D)
{
    if (M.Complex()) {
        ScaleColumns<TCplx>(M, D);
    } else {
        ScaleColumns<double>(M, D);
    }
}

// D, VL and VR all complex (with zero imaginary parts where they were real).
void Widen(TVecs& D, TMtx& VL, TMtx& VR)
{
    D.ExtendToComplex(true);
    VL.ExtendToComplex(true);
    VR.ExtendToComplex(true);
}

// Self takes a failure of From (Eig on Src, or the inverse) as its own; true when there was one.
bool TakeFailure(TMtx& Self, const TMtx& From)
{
    if (From.Info() == 0) return false;
    Self.SetLapackResult(From.Info(), From.MtxError());
    return true;
}

}  // namespace

TMtx& TMtx::MtxFunction(TMtx& Src, std::span<const TCplx> Params, const TMtxFunction& Func, TMtxType MtxType)
{
    if (static_cast<std::int64_t>(Src.Rows()) * Src.Cols() == 0) return *this;
    if (!Src.Quadratic()) ERaise(msg::kNotSrcQuadratic);
    if (!Func) ERaise(msg::kFuncNotAssigned);
    // The type Eig works by, so that the assembly matches it.
    const TMtxType type = detail::ResolvedType(Src, MtxType);
    detail::TMtxTemp vl, vr;
    detail::TVecTemp d;
    Src.Eig(vl.get(), *d, vr.get(), type, vfEig, true);
    if (TakeFailure(*this, Src)) return *this;

    const bool complexVectors = vl->Complex() || vr->Complex();
    if (d->Complex() ? complexVectors : (complexVectors || d->Min() < 0)) Widen(*d, *vl, *vr);
    Func(*d, Params);
    // A function may leave real eigenvalues complex.
    if (d->Complex() && !vl->Complex()) Widen(*d, *vl, *vr);

    if (detail::IsSymmetricType(type)) {
        ScaleColumns(*vl, *d);
        Mul(*vl, *vr, opNone, opHerm);
        SetLapackResult(0, {});
        return *this;
    }
    vl->Copy(*vr);
    ScaleColumns(*vl, *d);
    const double norm = vr->Norm1();
    vr->Inv(mtGeneral);
    if (TakeFailure(*this, *vr)) return *this;
    const double cond = norm * vr->Norm1();
    if (!(cond <= 1 / std::numeric_limits<double>::epsilon())) {
        SetLapackResult(Src.Rows() + 1, msg::kMtxFunctionDependent);
        return *this;
    }
    Mul(*vl, *vr);
    SetLapackResult(0, {});
    return *this;
}

void MtxPowerFunc(TVec& D, std::span<const TCplx> Params)
{
    if (Params.size() != 1) ERaise(msg::kPowerParams);
    const TCplx p = Params[0];
    if (p.Im == 0) {
        D.Power(p.Re);
    } else {
        D.ExtendToComplex(true);
        D.Power(p);
    }
}

TMtx& TMtx::MtxPower(TMtx& Src, const TCplx& Exponent, TMtxType MtxType)
{
    return MtxFunction(Src, std::span<const TCplx>(&Exponent, 1), MtxPowerFunc, MtxType);
}

TMtx& TMtx::MtxPower(TMtx& Src, double Exponent, TMtxType MtxType)
{
    return MtxPower(Src, TCplx{Exponent, 0}, MtxType);
}

TMtx& TMtx::MtxSqrt(TMtx& Src, TMtxType MtxType)
{
    return MtxPower(Src, 0.5, MtxType);
}

// Binary powering: P runs through Src^(2^i), the result takes the factors of the odd steps. The products go between
// pooled matrices by exchanging their roles, so no step copies a matrix.
TMtx& TMtx::MtxIntPower(TMtx& Src, int k)
{
    if (k == 0) {
        Eye(Src.Rows(), Src.Cols(), Src.Complex());
        return *this;
    }
    std::uint64_t n = k < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(k))
                            : static_cast<std::uint64_t>(k);
    detail::TMtxTemp p, t, r;
    p->Copy(Src);
    TMtx* power = p.get();
    TMtx* spare = t.get();
    TMtx* result = r.get();
    bool first = true;
    while (n != 0) {
        if (n % 2 == 1) {
            n -= 1;
            if (first) {
                result->Copy(*power);
                first = false;
            } else {
                spare->Mul(*result, *power);
                std::swap(result, spare);
            }
        } else {
            n /= 2;
            spare->Mul(*power, *power);
            std::swap(power, spare);
        }
    }
    Copy(*result);
    if (k < 0) Inv(mtGeneral);
    return *this;
}

}  // namespace tarnel
