// Work areas and results of the LAPACK-based operations. Internal to the library.
//
//     detail::TWork<int> ipiv(n);            // pivots, from the vector pool (large areas: a block of their own)
//     detail::TWork<TCplx> work(lwork);      // workspace
//     ...                                    // both go back to the pool on every way out
//
// The typed view of a matrix's data (Data<T>) and the record of a routine's INFO in the matrix (RecordInfo,
// RaiseOnInfo) complete the layer; the typed calls themselves are in BlasCalls.h.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "core/LapackSupport.h"
#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/storage_block.h"
#include "core/vec_class.h"

namespace tarnel::detail {

// Whether T is the complex element type.
template <class T>
inline constexpr bool kComplex = std::is_same_v<T, TCplx>;

// Dst := the transpose of Src, row-major without gaps (Src.Cols() rows of Src.Rows() elements): Src's data column by
// column, the layout LAPACK reads, written element by element (Dst need not be initialised).
void TransposedData(const TMtx1& Src, double* Dst);

// Dst(j, i) := Src(i, j) for i < Rows, j < Cols, through the same kernel: both row-major with the given strides in
// elements (complex elements with Complex); the two must not overlap.
void TransposedBlock(bool Complex, const double* Src, std::ptrdiff_t SrcStride, int Rows, int Cols, double* Dst,
                     std::ptrdiff_t DstStride);

// Count elements of T (double, TCplx or int). A count the pooled vectors' reserved capacity holds takes one pooled
// vector (zero-filled only when it had to grow); a larger one takes a block of its own, left uninitialised: a pooled
// vector would have to grow, zero-fill and shrink again on every call. An int area takes (Count + 1) / 2 Doubles.
// Nothing may rely on the contents. Areas of 4 MB and more start on a 2 MB boundary and are marked for huge pages
// (AllocateWork).
template <class T>
class TWork {
public:
    explicit TWork(std::int64_t Count)
    {
        static_assert(std::is_same_v<T, double> || std::is_same_v<T, TCplx> || std::is_same_v<T, int>);
        if (Count < 0) Count = 0;
        BlasInt(Count);  // refuses a count beyond an Integer, as the vector's size would
        FCount = Count;
        const std::int64_t doubles = std::is_same_v<T, TCplx> ? 2 * Count
                                     : std::is_same_v<T, int> ? (Count + 1) / 2
                                                              : Count;
        if (doubles > VecCacheElements.load(std::memory_order_relaxed)) {
            const std::size_t bytes = static_cast<std::size_t>(doubles) * sizeof(double);
            FOwn = std::unique_ptr<double, TFree>(AllocateWork(bytes), TFree{bytes});
            FData = FOwn.get();
            return;
        }
        FVec.emplace();
        (*FVec)->Size(static_cast<int>(std::is_same_v<T, TCplx> ? Count : doubles), std::is_same_v<T, TCplx>);
        FData = (*FVec)->Values();
    }
    T* data() const { return reinterpret_cast<T*>(FData); }
    T& operator[](std::int64_t I) const { return data()[I]; }
    std::int64_t size() const { return FCount; }

private:
    struct TFree {
        std::size_t Bytes = 0;
        void operator()(double* P) const { FreeWork(P, Bytes); }
    };
    std::optional<TVecTemp> FVec;
    std::unique_ptr<double, TFree> FOwn;
    double* FData = nullptr;
    std::int64_t FCount = 0;
};

// A matrix's data as the element type T (Values for double, CValues for TCplx).
template <class T>
T* Data(TMtx1& Mtx)
{
    if constexpr (std::is_same_v<T, double>) {
        return Mtx.Values();
    } else {
        return Mtx.CValues();
    }
}
template <class T>
const T* Data(const TMtx1& Mtx)
{
    if constexpr (std::is_same_v<T, double>) {
        return Mtx.Values();
    } else {
        return Mtx.CValues();
    }
}
template <class T>
T* Data(TVecs& Vec)
{
    if constexpr (std::is_same_v<T, double>) {
        return Vec.Values();
    } else {
        return Vec.CValues();
    }
}
template <class T>
const T* Data(const TVecs& Vec)
{
    if constexpr (std::is_same_v<T, double>) {
        return Vec.Values();
    } else {
        return Vec.CValues();
    }
}

// How a routine's INFO reads in MtxError: "" for 0, otherwise in one of three forms.
//   - The usual form, made from a failure text: INFO > 0 is the text followed by INFO ("not positive definite, order
//     2"); INFO < 0 names the routine and the argument ("DGESV: argument 3 illegal").
//   - Appended(Text): every nonzero INFO follows the text ("LU: Erorr at solve:-3").
//   - Inside(Positive, Negative): the code inside the operation's own words, Positive(INFO) for INFO > 0 and
//     Negative(INFO) for INFO < 0 ("LU factorization: U(2,2) = 0 (singular)", "-4parameter is invalid!").
class TInfoForm {
public:
    using TText = std::string (*)(int Info);
    TInfoForm(std::string Failure) : FText(std::move(Failure)) {}
    TInfoForm(const char* Failure) : FText(Failure) {}
    static TInfoForm Appended(std::string Text)
    {
        TInfoForm f(std::move(Text));
        f.FAppendAlways = true;
        return f;
    }
    static TInfoForm Inside(TText Positive, TText Negative)
    {
        TInfoForm f("");
        f.FPositive = Positive;
        f.FNegative = Negative;
        return f;
    }
    std::string operator()(const char* Routine, int Info) const
    {
        if (Info == 0) return {};
        if (Info > 0 && FPositive) return FPositive(Info);
        if (Info < 0 && FNegative) return FNegative(Info);
        if (Info < 0 && !FAppendAlways) return msg::IllegalArgument(Routine, -Info);
        return FText + std::to_string(Info);
    }

private:
    std::string FText;
    bool FAppendAlways = false;
    TText FPositive = nullptr;
    TText FNegative = nullptr;
};

// The text of a code that has none (for TInfoForm::Inside).
inline std::string NoText(int)
{
    return {};
}

// Info := the code; MtxError := its text in the routine's form. Returns the code.
inline int RecordInfo(TMtx& Mtx, const char* Routine, int Info, const TInfoForm& Form)
{
    Mtx.SetLapackResult(Info, Form(Routine, Info));
    return Info;
}

// RecordInfo, then, for a nonzero code, raises Prefix + MtxError (for example "LUSolve: " + ...).
inline void RaiseOnInfo(TMtx& Mtx, const char* Routine, int Info, const TInfoForm& Form, const std::string& Prefix)
{
    if (RecordInfo(Mtx, Routine, Info, Form) != 0) ERaise(Prefix + Mtx.MtxError());
}

// ---- Least squares, LU, inverse, QR ----
// The size a workspace query (LWORK = -1) answered in WORK(1): its real part, rounded, and at least 1.
inline int QueriedSize(double Work)
{
    return static_cast<int>(std::clamp(Work + 0.5, 1.0, 2147483647.0));
}
inline int QueriedSize(const TCplx& Work)
{
    return QueriedSize(Work.Re);
}

// ---- Matrix types ----
inline bool IsBand(TMtxType Type)
{
    return Type == mtBandSymmPosDef || Type == mtBandHermPosDef || Type == mtBandGeneral;
}

// The types whose routines read one triangle of a symmetric or Hermitian matrix.
inline bool IsSymmetricType(TMtxType Type)
{
    return Type == mtSymmPosDef || Type == mtSymmetric || Type == mtHermPosDef || Type == mtHermitian;
}

// The type an operation works by: DetectMtxType (without the definiteness test) under AutoMtxType, else Type.
inline TMtxType ResolvedType(TMtx& A, TMtxType Type)
{
    return A.AutoMtxType() ? A.DetectMtxType(false) : Type;
}

// Dst := the column-major image of A (conjugated with Conjugate) with leading dimension Ld ≥ A.Rows() in Cols + 1
// columns, Cols ≥ A.Cols(): zero below A's rows, right of A's columns and in a spare last column. OpenBLAS 0.3.21's
// threaded complex kernels read up to a column past the end of A in the divide-and-conquer routines (a crash when A
// ends at the end of a mapping). Dst holds Ld · (Cols + 1) elements and need not be initialised.
template <class T>
void ColumnMajorImage(T* Dst, const TMtx& A, std::int64_t Ld, std::int64_t Cols, bool Conjugate)
{
    const std::int64_t m = A.Rows(), n = A.Cols();
    if (Ld > m) {
        for (std::int64_t j = 0; j < n; ++j) std::fill(Dst + j * Ld + m, Dst + (j + 1) * Ld, T{});
    }
    std::fill(Dst + n * Ld, Dst + (Cols + 1) * Ld, T{});
    TransposedBlock(kComplex<T>, A.Values(), n, A.Rows(), A.Cols(), reinterpret_cast<double*>(Dst), Ld);
    if constexpr (kComplex<T>) {
        if (Conjugate) {
            for (std::int64_t j = 0; j < n; ++j) {
                for (std::int64_t i = 0; i < m; ++i) Dst[j * Ld + i].Im = -Dst[j * Ld + i].Im;
            }
        }
    }
}

// Work := that image in a matrix of Cols + 1 rows of Ld elements (by default Ld = A.Rows(), Cols = A.Cols()), a
// pooled matrix whose block comes from the heap, as a large TWork's does: neither is mapped anew, and its pages
// faulted in and cleared, on every call.
inline void ColumnMajorImage(TMtx& Work, const TMtx& A, int Ld, int Cols, bool Conjugate)
{
    Work.Size(Cols + 1, Ld, A.Complex());
    if (A.Complex()) {
        ColumnMajorImage(Work.CValues(), A, Ld, Cols, Conjugate);
    } else {
        ColumnMajorImage(Work.Values(), A, Ld, Cols, Conjugate);
    }
}
inline void ColumnMajorImage(TMtx& Work, const TMtx& A, bool Conjugate)
{
    ColumnMajorImage(Work, A, A.Rows(), A.Cols(), Conjugate);
}

// Out := the Rows × Cols matrix whose element (i, j) is the column-major F's (i, j) (leading dimension Ld ≥ Rows)
// in the upper (Upper) or lower triangle, zero in the other one; conjugated with Conjugate. F holds at least Cols
// columns.
template <class T>
void FactorTriangle(TMtx& Out, const T* F, std::int64_t Ld, int Rows, int Cols, bool Upper, bool Conjugate = false)
{
    Out.Size(Rows, Cols, kComplex<T>);
    T* o = Data<T>(Out);
    TransposedBlock(kComplex<T>, reinterpret_cast<const double*>(F), Ld, Cols, Rows, reinterpret_cast<double*>(o),
                    Cols);
    for (std::int64_t i = 0; i < Rows; ++i) {
        T* row = o + i * Cols;
        const std::int64_t d = std::min<std::int64_t>(i, Cols);  // the diagonal's column, or past the row
        if (Upper) {
            std::fill(row, row + d, T{});
        } else if (d + 1 < Cols) {
            std::fill(row + d + 1, row + Cols, T{});
        }
        if constexpr (kComplex<T>) {
            if (Conjugate) {
                const std::int64_t from = Upper ? d : 0, to = Upper ? Cols : std::min<std::int64_t>(i + 1, Cols);
                for (std::int64_t j = from; j < to; ++j) row[j].Im = -row[j].Im;
            }
        }
    }
}

// Element (i, j), i < j, of the upper triangle copied to (j, i) (FromUpper), or (j, i) of the lower to (i, j), as
// Copy gives it. Two rows and two columns at a time: each block reads two pairs of neighbours and writes two, where
// one element at a time would touch a new row of the destination with every write.
template <bool FromUpper, class T, class Copy>
void MirrorTriangle(T* A, std::int64_t N, const Copy& copy)
{
    const auto src = [&](std::int64_t i, std::int64_t j) -> const T& { return FromUpper ? A[i * N + j] : A[j * N + i]; };
    const auto dst = [&](std::int64_t i, std::int64_t j) -> T& { return FromUpper ? A[j * N + i] : A[i * N + j]; };
    for (std::int64_t i = 0; i + 1 < N; i += 2) {
        dst(i, i + 1) = copy(src(i, i + 1));
        std::int64_t j = i + 2;
#if defined(__SSE2__)
        if constexpr (std::is_same_v<T, double>) {
            // Real elements are copied as they are: two pairs of neighbours in, two out through unpacks. The
            // neighbours run along j in the source rows of the upper triangle and along i in those of the lower.
            for (; j + 1 < N; j += 2) {
                if constexpr (FromUpper) {
                    const __m128d p = _mm_loadu_pd(&src(i, j)), q = _mm_loadu_pd(&src(i + 1, j));
                    _mm_storeu_pd(&dst(i, j), _mm_unpacklo_pd(p, q));
                    _mm_storeu_pd(&dst(i, j + 1), _mm_unpackhi_pd(p, q));
                } else {
                    const __m128d p = _mm_loadu_pd(&src(i, j)), q = _mm_loadu_pd(&src(i, j + 1));
                    _mm_storeu_pd(&dst(i, j), _mm_unpacklo_pd(p, q));
                    _mm_storeu_pd(&dst(i + 1, j), _mm_unpackhi_pd(p, q));
                }
            }
        }
#endif
        for (; j + 1 < N; j += 2) {
            const T a = src(i, j), b = src(i, j + 1), c = src(i + 1, j), d = src(i + 1, j + 1);
            dst(i, j) = copy(a);
            dst(i + 1, j) = copy(c);
            dst(i, j + 1) = copy(b);
            dst(i + 1, j + 1) = copy(d);
        }
        if (j < N) {
            dst(i, j) = copy(src(i, j));
            dst(i + 1, j) = copy(src(i + 1, j));
        }
    }
    // With N odd the last row has no element right of the diagonal.
}

// Self's triangle named by TriangleForm copied into the other one, conjugated when Hermitian.
template <class T>
void Mirror(TMtx& Self, bool Hermitian)
{
    const std::int64_t n = Self.Rows();
    T* a = detail::Data<T>(Self);
    const auto run = [&](const auto& copy) {
        if (Self.TriangleForm() == tfUpper) {
            MirrorTriangle<true>(a, n, copy);
        } else {
            MirrorTriangle<false>(a, n, copy);
        }
    };
    if constexpr (kComplex<T>) {
        if (Hermitian) {
            run([](const TCplx& z) { return TCplx{z.Re, -z.Im}; });
            return;
        }
    }
    run([](const T& v) { return v; });
}

}  // namespace tarnel::detail
