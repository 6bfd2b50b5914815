// Work areas and results of the LAPACK-based operations. Internal to the library.
//
//     detail::TWork<int> ipiv(n);            // pivots, from the vector pool
//     detail::TWork<TCplx> work(lwork);      // workspace
//     ...                                    // both go back to the pool on every way out
//
// The typed view of a matrix's data (Data<T>) and the record of a routine's INFO in the matrix (RecordInfo,
// RaiseOnInfo) complete the layer; the typed calls themselves are in BlasCalls.h.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "core/LapackSupport.h"
#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel::detail {

// Count elements of T (double, TCplx or int) in one pooled vector; the memory is zero-filled only when the vector
// had to grow. An int area takes (Count + 1) / 2 Doubles.
template <class T>
class TWork {
public:
    explicit TWork(std::int64_t Count)
    {
        static_assert(std::is_same_v<T, double> || std::is_same_v<T, TCplx> || std::is_same_v<T, int>);
        if (Count < 0) Count = 0;
        if constexpr (std::is_same_v<T, TCplx>) {
            FVec->Size(BlasInt(Count), true);
        } else if constexpr (std::is_same_v<T, double>) {
            FVec->Size(BlasInt(Count), false);
        } else {
            FVec->Size(BlasInt((Count + 1) / 2), false);
        }
        FCount = Count;
    }
    T* data() const { return reinterpret_cast<T*>(FVec->Values()); }
    T& operator[](std::int64_t I) const { return data()[I]; }
    std::int64_t size() const { return FCount; }

private:
    TVecTemp FVec;
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

// The text of an INFO code: "" for 0; for an illegal argument (INFO < 0) the routine and the argument
// ("DGESV: argument 3 illegal"); otherwise the caller's text for a numerical failure followed by INFO.
inline std::string InfoText(const char* Routine, int Info, const std::string& FailureText)
{
    if (Info == 0) return {};
    if (Info < 0) return msg::IllegalArgument(Routine, -Info);
    return FailureText + std::to_string(Info);
}

// Info := the code; MtxError := InfoText(...). Returns the code.
inline int RecordInfo(TMtx& Mtx, const char* Routine, int Info, const std::string& FailureText)
{
    Mtx.SetLapackResult(Info, InfoText(Routine, Info, FailureText));
    return Info;
}

// RecordInfo, then, for a nonzero code, raises Prefix + MtxError (for example "LUSolve: " + ...).
inline void RaiseOnInfo(TMtx& Mtx, const char* Routine, int Info, const std::string& FailureText,
                        const std::string& Prefix)
{
    if (RecordInfo(Mtx, Routine, Info, FailureText) != 0) ERaise(Prefix + Mtx.MtxError());
}

}  // namespace tarnel::detail
