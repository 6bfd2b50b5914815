// TMtx.Mul and the matrix-vector products TensorProd, on BLAS levels 3 and 2.
//
// A row-major m × n matrix read in column-major order is its n × m transpose, so C = op1(A)·op2(B) is computed as
// Cᵀ = op2(B)ᵀ·op1(A)ᵀ on the operands' own data: in GEMM the operands swap places and keep their letters; in
// SYMM/HEMM and TRMM the side flips and the triangle letter is the opposite of the operand's TriangleForm. Only
// where BLAS has no form for the requested operation is an operand copied into a pooled matrix:
//   - a symmetric/Hermitian product with an operation on its general partner (SYMM cannot transpose it);
//   - a Hermitian operand under opTran (Hᵀ = conj(H), which HEMM cannot express).
// The triangular products copy op(partner) into the result first, because TRMM works in place.
#include <algorithm>
#include <cstring>
#include <optional>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

bool IsSym(TMtxType Type, bool Complex)
{
    return Complex ? (Type == mtHermPosDef || Type == mtHermitian) : (Type == mtSymmPosDef || Type == mtSymmetric);
}

// op(Mtx) into Dst (a copy for opNone, the transpose, or the conjugate transpose of complex data).
void ApplyOperation(TMtx& Dst, const TMtx& Mtx, TMtxOperation Op)
{
    if (Op == opNone) {
        Dst.Copy(Mtx);
    } else if (Op == opHerm && Mtx.Complex()) {
        Dst.Adjung(Mtx);
    } else {
        Dst.Transp(Mtx);
    }
}

// Dst := conj(Mtx), element by element.
void Conjugated(TMtx& Dst, const TMtx& Mtx)
{
    Dst.Copy(Mtx);
    TCplx* z = Dst.CValues();
    const std::int64_t n = static_cast<std::int64_t>(Dst.Rows()) * Dst.Cols();
    for (std::int64_t i = 0; i < n; ++i) z[i].Im = -z[i].Im;
}

void ConjugateInPlace(TCplx* Z, std::int64_t N)
{
    for (std::int64_t i = 0; i < N; ++i) Z[i].Im = -Z[i].Im;
}

struct TProduct {
    TMtx& A;
    TMtx& B;
    TMtxOperation Op1;
    TMtxOperation Op2;
    int M;  // rows of op1(A) and of the result
    int K;  // columns of op1(A), rows of op2(B)
    int N;  // columns of op2(B) and of the result
};

// Self := Alpha·Sym(A)·op2(B) + Beta·Self (SymFirst) or Alpha·op1(A)·Sym(B) + Beta·Self.
template <class T>
void SymProduct(TMtx& Self, const TProduct& P, bool SymFirst)
{
    TMtx& sym = SymFirst ? P.A : P.B;
    TMtx& other = SymFirst ? P.B : P.A;
    const TMtxOperation symOp = SymFirst ? P.Op1 : P.Op2;
    const TMtxOperation otherOp = SymFirst ? P.Op2 : P.Op1;
    // A real symmetric matrix is its own transpose and a Hermitian one its own adjoint; a transposed Hermitian
    // operand is its conjugate.
    const bool conjugateSym = std::is_same_v<T, TCplx> && symOp == opTran;
    // Taken from the pool only when needed, and given back in the reverse order of taking.
    std::optional<detail::TMtxTemp> symCopy, otherCopy;
    const TMtx* s = &sym;
    const TMtx* o = &other;
    if (conjugateSym) {
        Conjugated(*symCopy.emplace(), sym);
        s = symCopy->get();
    }
    if (otherOp != opNone) {
        ApplyOperation(*otherCopy.emplace(), other, otherOp);
        o = otherCopy->get();
    }
    Self.Size(P.M, P.N, std::is_same_v<T, TCplx>);
    const T alpha = blas::Scalar<T>(Self.Alpha());
    const T beta = blas::Scalar<T>(Self.Beta());
    // Cᵀ = op2(B)ᵀ·Aᵀ with Aᵀ the column-major image of A (side R), or Cᵀ = Bᵀ·op1(A)ᵀ (side L).
    blas::SymMm(SymFirst ? 'R' : 'L', SwappedUploLetter(sym.TriangleForm()), P.N, P.M, alpha, detail::Data<T>(*s),
                s->Cols(), detail::Data<T>(*o), o->Cols(), beta, detail::Data<T>(Self), P.N);
}

// Self := Alpha·op1(T)·op2(B) (TriFirst) or Alpha·op1(A)·op2(T), in place on a copy of the partner.
template <class T>
void TriProduct(TMtx& Self, const TProduct& P, bool TriFirst)
{
    TMtx& tri = TriFirst ? P.A : P.B;
    TMtx& other = TriFirst ? P.B : P.A;
    const TMtxOperation triOp = TriFirst ? P.Op1 : P.Op2;
    ApplyOperation(Self, other, TriFirst ? P.Op2 : P.Op1);
    const T alpha = blas::Scalar<T>(Self.Alpha());
    blas::Trmm(TriFirst ? 'R' : 'L', SwappedUploLetter(tri.TriangleForm()),
               OperationLetter(triOp, std::is_same_v<T, TCplx>), DiagLetter(tri.TriangleUnit()), Self.Cols(),
               Self.Rows(), alpha, detail::Data<T>(tri), tri.Cols(), detail::Data<T>(Self), Self.Cols());
}

template <class T>
void GeneralProduct(TMtx& Self, const TProduct& P)
{
    constexpr bool complex = std::is_same_v<T, TCplx>;
    Self.Size(P.M, P.N, complex);
    const T alpha = blas::Scalar<T>(Self.Alpha());
    const T beta = blas::Scalar<T>(Self.Beta());
    blas::Gemm(OperationLetter(P.Op2, complex), OperationLetter(P.Op1, complex), P.N, P.M, P.K, alpha,
               detail::Data<T>(P.B), P.B.Cols(), detail::Data<T>(P.A), P.A.Cols(), beta, detail::Data<T>(Self), P.N);
    Self.SetAlpha(C_ONE);
    Self.SetBeta(C_ZERO);
}

// The text for columns of op1(A) that differ from the rows of op2(B), naming the dimensions compared.
const char* MismatchText(TMtxOperation Op1, TMtxOperation Op2)
{
    if (Op1 == opNone) return Op2 == opNone ? msg::kMulColsRows : msg::kMulColsCols;
    return Op2 == opNone ? msg::kMulRowsRows : msg::kMulRowsCols;
}

}  // namespace

TMtx& TMtx::Mul(TMtx& Mtx1, TMtx& Mtx2, TMtxType Type1, TMtxType Type2, TMtxOperation Op1, TMtxOperation Op2)
{
    // Both checks always run: data of another width, or a result that overwrites an operand while BLAS reads it,
    // would read or write outside the matrices.
    detail::TCheck(FConditionCheck)
        .Always(Mtx1.Complex() != Mtx2.Complex(), msg::kMul12Complex)
        .Always(&Mtx1 == this || &Mtx2 == this || detail::Overlap(FValues, Numbers(), Mtx1.Values(), Mtx1.Numbers()) ||
                    detail::Overlap(FValues, Numbers(), Mtx2.Values(), Mtx2.Numbers()),
                msg::kMulSelf);
    const bool complex = Mtx1.Complex();
    if (Mtx1.Numbers() == 0 || Mtx2.Numbers() == 0) {
        Size(0, 0, complex);
        return *this;
    }
    if (Mtx1.AutoMtxType()) Type1 = Mtx1.DetectMtxType(false);
    if (Mtx2.AutoMtxType()) Type2 = Mtx2.DetectMtxType(false);
    if (!complex) {
        // For real data the conjugate transpose is the transpose.
        if (Op1 == opHerm) Op1 = opTran;
        if (Op2 == opHerm) Op2 = opTran;
    }

    TProduct p{Mtx1, Mtx2, Op1, Op2, 0, 0, 0};
    p.M = Op1 == opNone ? Mtx1.Rows() : Mtx1.Cols();
    p.K = Op1 == opNone ? Mtx1.Cols() : Mtx1.Rows();
    p.N = Op2 == opNone ? Mtx2.Cols() : Mtx2.Rows();
    const int k2 = Op2 == opNone ? Mtx2.Rows() : Mtx2.Cols();

    // Every check before Self changes.
    enum { kSym1, kSym2, kTri1, kTri2, kGeneral } rule = kGeneral;
    if (IsSym(Type1, complex)) {
        rule = kSym1;
        if (!Mtx1.Quadratic()) ERaise(complex ? msg::kMtx1HermSquare : msg::kMtx1SymSquare);
    } else if (IsSym(Type2, complex)) {
        rule = kSym2;
        if (!Mtx2.Quadratic()) ERaise(complex ? msg::kMtx2HermSquare : msg::kMtx2SymSquare);
    } else if (Type1 == mtTriangle) {
        rule = kTri1;
        if (!Mtx1.Quadratic()) ERaise(msg::kMtx1TriSquare);
    } else if (Type2 == mtTriangle) {
        rule = kTri2;
        if (!Mtx2.Quadratic()) ERaise(msg::kMtx2TriSquare);
    }
    if (p.K != k2) {
        // A transposed real triangle names its columns (the same number as its rows).
        if (rule == kTri1 && Op2 == opNone && !complex) ERaise(msg::kMulColsRows);
        ERaise(MismatchText(Op1, Op2));
    }

    const auto run = [&]<class T>() {
        switch (rule) {
            case kSym1:
                SymProduct<T>(*this, p, true);
                break;
            case kSym2:
                SymProduct<T>(*this, p, false);
                break;
            case kTri1:
                TriProduct<T>(*this, p, true);
                break;
            case kTri2:
                TriProduct<T>(*this, p, false);
                break;
            case kGeneral:
                GeneralProduct<T>(*this, p);
                break;
        }
    };
    if (complex) {
        run.template operator()<TCplx>();
    } else {
        run.template operator()<double>();
    }
    return *this;
}

TMtx& TMtx::Mul(TMtx& Mtx1, TMtx& Mtx2, TMtxOperation Op1, TMtxOperation Op2)
{
    return Mul(Mtx1, Mtx2, mtGeneral, mtGeneral, Op1, Op2);
}

// ---- Matrix-vector products -------------------------------------------------------------------------------------

namespace {

// Self := BlasAlpha·Vec·op(Mtx) + BlasBeta·Self on the column-major image Mtxᵀ of Mtx: TRANS "N" gives the row form
// Σ_i Vec(i)·Mtx(i, j), "T" gives Mtx·Vec and "C" conj(Mtx)·Vec.
template <class T>
void TensorTyped(TVecs& Self, const TVecs& Vec, TMtx& Mtx, TMtxType Type, TMtxOperation Op)
{
    constexpr bool complex = std::is_same_v<T, TCplx>;
    const int m = Mtx.Cols(), n = Mtx.Rows(), lda = std::max(1, Mtx.Cols());
    const int len = Self.Length();
    const T* a = detail::Data<T>(Mtx);
    const T* x = detail::Data<T>(Vec);
    T* y = detail::Data<T>(Self);
    const char uplo = SwappedUploLetter(Mtx.TriangleForm());
    const T alpha = blas::Scalar<T>(Self.BlasAlpha());
    const T beta = blas::Scalar<T>(Self.BlasBeta());
    if (IsSym(Type, complex)) {
        if constexpr (complex) {
            if (Op == opTran) {
                // Vec·Hᵀ = (H·Vec)ᵀ, and H·x = conj(Hᵀ·conj(x)) with Hᵀ the image HEMV reads:
                // conj(y) := conj(α)·Hᵀ·conj(x) + conj(β)·conj(y).
                detail::TWork<TCplx> xc(len);
                for (int i = 0; i < len; ++i) xc[i] = TCplx{x[i].Re, -x[i].Im};
                ConjugateInPlace(y, len);
                blas::SymMv(uplo, len, TCplx{alpha.Re, -alpha.Im}, a, lda, xc.data(), 1, TCplx{beta.Re, -beta.Im}, y,
                            1);
                ConjugateInPlace(y, len);
                return;
            }
        }
        // A symmetric matrix is its own transpose, a Hermitian one its own adjoint: the row form is the answer.
        blas::SymMv(uplo, len, alpha, a, lda, x, 1, beta, y, 1);
    } else if (Type == mtTriangle) {
        std::memmove(y, x, static_cast<std::size_t>(len) * sizeof(T));
        blas::Trmv(uplo, OperationLetter(Op, complex), DiagLetter(Mtx.TriangleUnit()), len, a, lda, y, 1);
    } else {
        blas::Gemv(OperationLetter(Op, complex), m, n, alpha, a, lda, x, 1, beta, y, 1);
    }
}

}  // namespace

TVecs& TVecs::TensorProd(const TVecs& Vec, TMtx& Mtx, TMtxType MtxType, TMtxOperation Operation)
{
    if (Operation == opNone ? Vec.Length() != Mtx.Rows() : Vec.Length() != Mtx.Cols()) {
        ERaise(Operation == opNone ? msg::kLengthRows : msg::kLengthCols);
    }
    return TensorProdInt(Vec, Mtx, MtxType, Operation);
}

TVecs& TVecs::TensorProd(TMtx& Mtx, const TVecs& Vec, TMtxType MtxType)
{
    if (Vec.Length() != Mtx.Cols()) ERaise(msg::kLengthCols);
    return TensorProdInt(Vec, Mtx, MtxType, opTran);
}

TVecs& TVecs::TensorProdInt(const TVecs& Vec, TMtx& Mtx, TMtxType MtxType, TMtxOperation Operation)
{
    const int w = Vec.Complex() ? 2 : 1;
    const int len = Operation == opNone ? Mtx.Cols() : Mtx.Rows();
    // The Doubles Self writes in place: up to the result's length, but never past its own block (a longer result
    // moves to a new block, and what the old one holds is read through TStable below).
    const std::int64_t selfRoom = std::min(static_cast<std::int64_t>(std::max(FLength, len)) * w,
                                           static_cast<std::int64_t>(FActualLength) * (Complex() ? 2 : 1));
    detail::TCheck(*this)
        .Always(Vec.Complex() != Mtx.Complex(), msg::kComplexMtx)
        .Always(&Vec == this || detail::Overlap(FValues, selfRoom, Vec.Values(), detail::Numbers(Vec)) ||
                    detail::Overlap(FValues, selfRoom, Mtx.Values(), Mtx.Numbers()),
                msg::kVecSelf);
    if (Vec.Length() == 0 || Mtx.Numbers() == 0) {
        Size(0, Vec.Complex());
        return *this;
    }
    if (Mtx.AutoMtxType()) MtxType = Mtx.DetectMtxType(false);
    const bool complex = Vec.Complex();
    if (MtxType == mtBandSymmPosDef || MtxType == mtBandHermPosDef || MtxType == mtBandGeneral ||
        (!complex && (MtxType == mtHermPosDef || MtxType == mtHermitian))) {
        ERaise(msg::kMtxTypeUnsupported);
    }
    const bool sym = IsSym(MtxType, complex);
    if ((sym || MtxType == mtTriangle) && !Mtx.Quadratic()) {
        ERaise(MtxType == mtTriangle ? msg::kMtxTriSquare : (complex ? msg::kMtxHermSquare : msg::kMtxSymSquare));
    }
    // The core reads Vec over the dimension the operation uses; a shorter (or longer) Vec is refused.
    if (Vec.Length() != (Operation == opNone ? Mtx.Rows() : Mtx.Cols())) {
        ERaise(Operation == opNone ? msg::kLengthRows : msg::kLengthCols);
    }
    CheckSize(len, complex);
    // Vec may view this vector's block beyond its length, which sizing frees: it is read through a held copy then.
    const detail::TStable vec(Vec, *this);
    Size(len, complex);
    if (complex) {
        TensorTyped<TCplx>(*this, *vec, Mtx, MtxType, Operation);
    } else {
        TensorTyped<double>(*this, *vec, Mtx, MtxType, Operation);
    }
    FBlasAlpha = C_ONE;
    FBlasBeta = C_ZERO;
    return *this;
}

}  // namespace tarnel
