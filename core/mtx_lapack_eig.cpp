// TMtx.Eig (eigenvalues, eigenvectors, the Schur form) and TMtx.EigGen (the generalized symmetric-definite problem).
//
// Layout. Self's row-major data read column-major are Selfᵀ.
// - The symmetric and Hermitian chains work on an untransposed copy, so LAPACK sees Selfᵀ: the triangle TriangleForm
//   names is passed with the opposite letter (tfUpper as 'L'). Selfᵀ has Self's eigenvalues; its eigenvectors are the
//   conjugates of Self's, so the result (one eigenvector per row in row-major order) is conjugate-transposed once
//   to give Self's eigenvectors as columns.
// - The general chains (xGEEV) work on a transposed copy, so LAPACK sees Self itself; its eigenvector matrices come
//   back one eigenvector per row.
// - The Schur form works on an untransposed copy: LAPACK factors Selfᵀ = W·T·W⁻¹, and the results read row by row
//   are Tᵀ and Wᵀ.
// - EigGen works on transposed copies of Self and B, so the letters are their own.
//
// Every chain stops at the first stage that returns a nonzero INFO; that INFO goes to Info.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "core/BlasCalls.h"
#include "core/LapackWork.h"
#include "core/elementwise.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

namespace {

using detail::TWork;

using detail::kComplex;

// The outcome of a chain: the INFO of its last stage and that stage's routine (for an illegal-argument text).
struct TStage {
    int Info = 0;
    const char* Routine = "";
    bool Failed() const { return Info != 0; }
};

std::string EigFailure(int)
{
    return msg::kEigFailed;
}

bool IsPosDef(TMtxType Type)
{
    return Type == mtSymmPosDef || Type == mtHermPosDef;
}

char BalanceLetter(TBalanceType Balance)
{
    static constexpr char kLetters[] = {'N', 'S', 'P', 'B'};
    return kLetters[Balance];
}

// The workspace the larger of several queries asked for.
template <class T>
class TQueried {
public:
    template <class Query>
    void Ask(Query&& Run)
    {
        T answer{};
        Run(&answer);
        FSize = std::max(FSize, detail::QueriedSize(answer));
    }
    int Size() const { return FSize; }

private:
    int FSize = 1;
};

// The symmetric (Hermitian) chain on the n × n column-major A whose triangle Uplo holds the values: D := the
// eigenvalues, descending with PosDef (xPTEQR), else ascending (xSTERF, or xSTEQR with vectors); with Vectors, A :=
// the orthonormal eigenvectors as columns.
template <class T>
TStage SymmetricChain(T* A, int N, char Uplo, double* D, bool PosDef, bool Vectors)
{
    constexpr bool complex = kComplex<T>;
    const int lda = std::max(N, 1);
    TWork<double> e(std::max(N - 1, 1));
    TWork<T> tau(std::max(N - 1, 1));
    TQueried<T> lwork;
    lwork.Ask([&](T* q) { blas::SymTrd(Uplo, N, A, lda, D, e.data(), tau.data(), q, -1); });
    if (Vectors) lwork.Ask([&](T* q) { blas::SymOrgtr(Uplo, N, A, lda, tau.data(), q, -1); });
    TWork<T> work(lwork.Size());
    TStage s{blas::SymTrd(Uplo, N, A, lda, D, e.data(), tau.data(), work.data(), lwork.Size()),
             complex ? "ZHETRD" : "DSYTRD"};
    if (s.Failed()) return s;
    if (Vectors) {
        s = {blas::SymOrgtr(Uplo, N, A, lda, tau.data(), work.data(), lwork.Size()), complex ? "ZUNGTR" : "DORGTR"};
        if (s.Failed()) return s;
    }
    const char compz = Vectors ? 'V' : 'N';
    if (PosDef) {
        TWork<double> w(4 * static_cast<std::int64_t>(N));
        return {blas::Pteqr(compz, N, D, e.data(), A, lda, w.data()), complex ? "ZPTEQR" : "DPTEQR"};
    }
    if (Vectors) {
        TWork<double> w(std::max(2 * static_cast<std::int64_t>(N) - 2, std::int64_t{1}));
        return {blas::Steqr('V', N, D, e.data(), A, lda, w.data()), complex ? "ZSTEQR" : "DSTEQR"};
    }
    return {blas::Sterf(N, D, e.data()), "DSTERF"};
}

// D (n complex values) := Wr + i·Wi.
void JoinParts(TVecs& D, const double* Wr, const double* Wi, int N)
{
    TCplx* d = D.CValues();
    for (int i = 0; i < N; ++i) d[i] = {Wr[i], Wi[i]};
}

// The Hessenberg chain on the n × n column-major H: balancing (letter Balance), reduction, and xHSEQR with Job 'E'
// (eigenvalues) or 'S' (the Schur form T in H). With Z, Z := the Schur vectors W (xORGHR, then xGEBAK), so that
// H₀ = W·T·W⁻¹. D := the n eigenvalues, complex.
template <class T>
TStage HessenbergChain(T* H, int N, char Balance, char Job, T* Z, TVecs& D)
{
    constexpr bool complex = kComplex<T>;
    const int ld = std::max(N, 1);
    const char compz = Z ? 'V' : 'N';
    TWork<double> scale(N);
    TWork<T> tau(std::max(N - 1, 1));
    int ilo = 1, ihi = N;
    TStage s{blas::Gebal(Balance, N, H, ld, ilo, ihi, scale.data()), complex ? "ZGEBAL" : "DGEBAL"};
    if (s.Failed()) return s;
    TWork<double> wr(complex ? 0 : N), wi(complex ? 0 : N);
    if constexpr (!complex) {
        std::fill_n(wr.data(), N, 0.0);
        std::fill_n(wi.data(), N, 0.0);
    }
    TQueried<T> lwork;
    lwork.Ask([&](T* q) { blas::Gehrd(N, ilo, ihi, H, ld, tau.data(), q, -1); });
    if (Z) lwork.Ask([&](T* q) { blas::Orghr(N, ilo, ihi, H, ld, tau.data(), q, -1); });
    lwork.Ask([&](T* q) {
        if constexpr (complex) {
            blas::Hseqr(Job, compz, N, ilo, ihi, H, ld, D.CValues(), Z ? Z : H, ld, q, -1);
        } else {
            blas::Hseqr(Job, compz, N, ilo, ihi, H, ld, wr.data(), wi.data(), Z ? Z : H, ld, q, -1);
        }
    });
    TWork<T> work(lwork.Size());
    s = {blas::Gehrd(N, ilo, ihi, H, ld, tau.data(), work.data(), lwork.Size()), complex ? "ZGEHRD" : "DGEHRD"};
    if (s.Failed()) return s;
    if (Z) {
        std::memcpy(Z, H, static_cast<std::size_t>(N) * N * sizeof(T));
        s = {blas::Orghr(N, ilo, ihi, Z, ld, tau.data(), work.data(), lwork.Size()), complex ? "ZUNGHR" : "DORGHR"};
        if (s.Failed()) return s;
    }
    if constexpr (complex) {
        s = {blas::Hseqr(Job, compz, N, ilo, ihi, H, ld, D.CValues(), Z ? Z : H, ld, work.data(), lwork.Size()),
             "ZHSEQR"};
    } else {
        s = {
            blas::Hseqr(Job, compz, N, ilo, ihi, H, ld, wr.data(), wi.data(), Z ? Z : H, ld, work.data(), lwork.Size()),
            "DHSEQR"};
        JoinParts(D, wr.data(), wi.data(), N);
    }
    if (s.Failed() || !Z) return s;
    return {blas::Gebak(Balance, 'R', N, ilo, ihi, scale.data(), N, Z, ld), complex ? "ZGEBAK" : "DGEBAK"};
}

// M := the complex eigenvectors as columns from xGEEV's real packed form, one eigenvector per row of M: a row k with
// Wi(k) = 0 is a real eigenvector; otherwise rows k and k+1 hold the real and imaginary parts of the pair
// row k ± i·row k+1 (columns k and k+1).
void UnpackEigenvectors(TMtx& M, const double* Wi)
{
    const int n = M.Rows();
    detail::TMtxTemp c;
    c->Size(n, n, true);
    const double* m = M.Values();
    TCplx* z = c->CValues();
    for (int k = 0; k < n;) {
        const double* re = m + static_cast<std::int64_t>(k) * n;
        if (Wi[k] != 0 && k + 1 < n) {
            const double* im = re + n;
            for (int r = 0; r < n; ++r) {
                z[static_cast<std::int64_t>(r) * n + k] = {re[r], im[r]};
                z[static_cast<std::int64_t>(r) * n + k + 1] = {re[r], -im[r]};
            }
            k += 2;
        } else {
            for (int r = 0; r < n; ++r) z[static_cast<std::int64_t>(r) * n + k] = {re[r], 0};
            k += 1;
        }
    }
    M.Copy(*c);
}

// xGEEV on Self (given as the transposed copy A) into the given VL and VR.
template <class T>
TStage GeneralVectors(TMtx& A, TMtx* VL, TMtx* VR, TVecs& D, bool ComplexVectors)
{
    constexpr bool complex = kComplex<T>;
    const int n = A.Rows();
    const int ld = std::max(n, 1);
    if (VL) VL->Size(n, n, complex);
    if (VR) VR->Size(n, n, complex);
    // A matrix not asked for is not referenced: the given one stands in for it.
    T* vl = detail::Data<T>(VL ? *VL : *VR);
    T* vr = detail::Data<T>(VR ? *VR : *VL);
    const char jobvl = VL ? 'V' : 'N', jobvr = VR ? 'V' : 'N';
    D.Size(n, true);
    std::fill_n(D.CValues(), n, C_ZERO);
    TWork<double> wr(complex ? 2 * static_cast<std::int64_t>(n) : n), wi(complex ? 0 : n);  // complex: RWORK
    if constexpr (!complex) {
        std::fill_n(wr.data(), n, 0.0);
        std::fill_n(wi.data(), n, 0.0);
    }
    auto run = [&](T* Work, int Lwork) {
        if constexpr (complex) {
            return blas::Geev(jobvl, jobvr, n, detail::Data<T>(A), ld, D.CValues(), vl, ld, vr, ld, Work, Lwork,
                              wr.data());
        } else {
            return blas::Geev(jobvl, jobvr, n, A.Values(), ld, wr.data(), wi.data(), vl, ld, vr, ld, Work, Lwork);
        }
    };
    TQueried<T> lwork;
    lwork.Ask([&](T* q) { run(q, -1); });
    TWork<T> work(lwork.Size());
    const TStage s{run(work.data(), lwork.Size()), complex ? "ZGEEV" : "DGEEV"};
    if constexpr (complex) {
        if (VL) VL->Transp();
        if (VR) VR->Transp();
    } else {
        JoinParts(D, wr.data(), wi.data(), n);
        if (ComplexVectors && !s.Failed()) {
            if (VL) UnpackEigenvectors(*VL, wi.data());
            if (VR) UnpackEigenvectors(*VR, wi.data());
        }
    }
    return s;
}

// TMtx.Eig with vectors, for the element type T, after the checks common to all types.
template <class T>
void EigTyped(TMtx& Self, TMtx* VL, TVecs& D, TMtx* VR, TMtxType Type, TVectorForm Form, bool ComplexVectors)
{
    constexpr bool complex = kComplex<T>;
    const int n = Self.Rows();
    TStage s;
    bool hessenberg = false;  // a Hessenberg or general solver ran last: INFO ≥ 1 has a text
    if (detail::IsSymmetricType(Type)) {
        if (!VL) ERaise(msg::kVNil);
        if (complex && Type == mtSymmetric) ERaise(msg::kEigComplexSymmetric);
        VL->Copy(Self);
        D.Size(n, false);
        s = SymmetricChain<T>(detail::Data<T>(*VL), n, SwappedUploLetter(Self.TriangleForm()), D.Values(),
                              IsPosDef(Type), true);
        if (VR) {
            VR->Adjung(*VL);
            VL->Copy(*VR);
        } else {
            VL->Adjung();
        }
    } else if (Form == vfEig) {
        if (!VL && !VR) ERaise(msg::kVLVRNil);
        detail::TMtxTemp a;
        a->Transp(Self);
        s = GeneralVectors<T>(*a, VL, VR, D, ComplexVectors);
        hessenberg = true;
    } else {
        if (!VL) ERaise(msg::kVNil);
        VL->Copy(Self);
        if (VR) VR->Size(n, n, complex);
        D.Size(n, true);
        s = HessenbergChain<T>(detail::Data<T>(*VL), n, BalanceLetter(Self.Balance()), 'S',
                               VR ? detail::Data<T>(*VR) : nullptr, D);
        hessenberg = true;
    }
    detail::RecordInfo(Self, s.Routine, s.Info,
                       detail::TInfoForm::Inside(hessenberg ? EigFailure : detail::NoText, nullptr));
}

template <class T>
void EigValuesTyped(TMtx& Self, TVecs& D, TMtxType Type)
{
    const int n = Self.Rows();
    detail::TMtxTemp a;
    a->Copy(Self);
    TStage s;
    bool hessenberg = false;
    if (detail::IsSymmetricType(Type)) {
        D.Size(n, false);
        s = SymmetricChain<T>(detail::Data<T>(*a), n, SwappedUploLetter(Self.TriangleForm()), D.Values(),
                              IsPosDef(Type), false);
    } else {
        D.Size(n, true);
        s = HessenbergChain<T>(detail::Data<T>(*a), n, BalanceLetter(Self.Balance()), 'E', nullptr, D);
        hessenberg = true;
    }
    detail::RecordInfo(Self, s.Routine, s.Info,
                       detail::TInfoForm::Inside(hessenberg ? EigFailure : detail::NoText, nullptr));
}

// The type Eig works by, refused when no chain takes it.
TMtxType EigType(TMtx& Self, TMtxType Type)
{
    Type = detail::ResolvedType(Self, Type);
    if (detail::IsBand(Type)) ERaise(msg::kMtxTypeUnsupported);
    return Type;
}

// EigGen's chain: the Cholesky factor of B, the reduction to the standard problem C, its eigenvalues (and vectors)
// and the eigenvectors transformed back as xSYGV does: z = L⁻ᴴ·y or U⁻¹·y for the first two problems, L·y or Uᴴ·y
// for the third. A and B are the transposed copies; A receives the eigenvectors as columns.
template <class T>
TStage GeneralizedChain(TMtx& A, TMtx& B, int Itype, char Uplo, double* D, bool Vectors)
{
    constexpr bool complex = kComplex<T>;
    const int n = A.Rows();
    const int ld = std::max(n, 1);
    T* a = detail::Data<T>(A);
    T* b = detail::Data<T>(B);
    TStage s{blas::Potrf(Uplo, n, b, ld), complex ? "ZPOTRF" : "DPOTRF"};
    if (s.Failed()) return s;
    s = {blas::SymGst(Itype, Uplo, n, a, ld, b, ld), complex ? "ZHEGST" : "DSYGST"};
    if (s.Failed()) return s;
    s = SymmetricChain<T>(a, n, Uplo, D, false, Vectors);
    if (s.Failed() || !Vectors) return s;
    const T one = blas::Scalar<T>(C_ONE);
    const char herm = OperationLetter(opHerm, complex);
    if (Itype == 1 || Itype == 2) {
        blas::Trsm('L', Uplo, Uplo == 'U' ? 'N' : herm, 'N', n, n, one, b, ld, a, ld);
    } else {
        blas::Trmm('L', Uplo, Uplo == 'U' ? herm : 'N', 'N', n, n, one, b, ld, a, ld);
    }
    return s;
}

}  // namespace

TMtx& TMtx::Eig(TVecs& D, TMtxType MtxType)
{
    FortranFpuMode fpu;
    SetLapackResult(FInfo, {});
    if (Elements() == 0) return *this;
    if (!Quadratic()) ERaise(msg::kQuadraticFalse);
    const TMtxType type = EigType(*this, MtxType);
    if (FComplex && type == mtSymmetric) ERaise(msg::kEigComplexSymmetric);
    if (FComplex) {
        EigValuesTyped<TCplx>(*this, D, type);
    } else {
        EigValuesTyped<double>(*this, D, type);
    }
    return *this;
}

TMtx& TMtx::Eig(TMtx* VL, TVecs& D, TMtx* VR, TMtxType MtxType, TVectorForm VectorForm, bool ComplexVectors)
{
    FortranFpuMode fpu;
    if (VL == this) ERaise(msg::kVLSelf);
    if (VR == this) ERaise(msg::kVRSelf);
    if (VL && VL == VR) ERaise(msg::kVLVR);
    SetLapackResult(FInfo, {});
    if (Elements() == 0) return *this;
    if (!Quadratic()) ERaise(msg::kQuadraticFalse);
    const TMtxType type = EigType(*this, MtxType);
    if (FComplex) {
        EigTyped<TCplx>(*this, VL, D, VR, type, VectorForm, ComplexVectors);
    } else {
        EigTyped<double>(*this, VL, D, VR, type, VectorForm, ComplexVectors);
    }
    return *this;
}

TMtx& TMtx::EigGen(TMtx& B, TVecs& D, TEigGenType EigGenType, TMtx* V)
{
    FortranFpuMode fpu;
    detail::TCheck(FConditionCheck)
        .Always(B.Rows() != FRows, msg::kEigGenBRows)
        .Always(B.Cols() != FCols, msg::kEigGenBCols)
        .Always(!Quadratic(), msg::kNotQuadratic)
        .Always(B.Complex() != FComplex, msg::kEigGenBComplex)
        .Gated(&B == this, msg::kBSelf)
        .Gated(V == this, msg::kVSelf);
    if (Elements() == 0) return *this;
    detail::TMtxTemp a, b;
    a->Transp(*this);
    b->Transp(B);
    D.Size(FRows, false);
    const int itype = static_cast<int>(EigGenType) + 1;
    const char uplo = UploLetter(FTriangleForm);
    const TStage s = FComplex ? GeneralizedChain<TCplx>(*a, *b, itype, uplo, D.Values(), V != nullptr)
                              : GeneralizedChain<double>(*a, *b, itype, uplo, D.Values(), V != nullptr);
    SetLapackResult(s.Info, FMtxError);
    if (V && !s.Failed()) V->Transp(*a);
    return *this;
}

}  // namespace tarnel
