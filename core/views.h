// Data views: local arrays that index an object's data in place, without copying and without ownership.
//
// Enlist(Vec, A) fills A with the vector's data and its length at that moment: Length elements of the vector's
// own kind, twice that many Doubles for a Double view of complex data, and Length div 2 complex elements for a
// complex view of real data. A view does not follow later changes of the object: enlist again after resizing.
// Dismiss clears views and never touches the data.
//
// Enlist(Mtx, A) fills A with the matrix's row table: A[i][j] is element (i, j) and A.Length() is Rows; a row is
// a bare address with no length of its own.
#pragma once

#include <cstddef>

#include "core/mtx_class.h"
#include "core/vec_class.h"

namespace tarnel {

template <class T>
class TArrayView {
public:
    TArrayView() = default;
    TArrayView(T* Data, int Length) : FData(Data), FLength(Length) {}

    T& operator[](std::ptrdiff_t I) const { return FData[I]; }
    int Length() const { return FLength; }
    T* data() const { return FData; }
    T* begin() const { return FData; }
    T* end() const { return FData + FLength; }
    bool empty() const { return FLength == 0; }

private:
    T* FData = nullptr;
    int FLength = 0;
};

using TSampleView = TArrayView<double>;
using TCplxView = TArrayView<TCplx>;

using T2DSampleView = TRowsView<double>;
using T2DCplxView = TRowsView<TCplx>;

// The one-object forms: vectors give their data, matrices their row table.
inline void EnlistOne(TVecs& Vec, TSampleView& A)
{
    A = TSampleView(Vec.Values(), Vec.Complex() ? 2 * Vec.Length() : Vec.Length());
}
inline void EnlistOne(TVecs& Vec, TCplxView& A)
{
    A = TCplxView(Vec.CValues(), Vec.Complex() ? Vec.Length() : Vec.Length() / 2);
}
inline void EnlistOne(TMtx1& Mtx, T2DSampleView& A)
{
    A = Mtx.Values2D();
}
inline void EnlistOne(TMtx1& Mtx, T2DCplxView& A)
{
    A = Mtx.CValues2D();
}

// Enlist(O1, ..., On, A1, ..., An) for n = 1 to 4: Ai receives the view of Oi.
template <class O1, class A1>
void Enlist(O1& o1, A1& a1)
{
    EnlistOne(o1, a1);
}
template <class O1, class O2, class A1, class A2>
void Enlist(O1& o1, O2& o2, A1& a1, A2& a2)
{
    EnlistOne(o1, a1);
    EnlistOne(o2, a2);
}
template <class O1, class O2, class O3, class A1, class A2, class A3>
void Enlist(O1& o1, O2& o2, O3& o3, A1& a1, A2& a2, A3& a3)
{
    EnlistOne(o1, a1);
    EnlistOne(o2, a2);
    EnlistOne(o3, a3);
}
template <class O1, class O2, class O3, class O4, class A1, class A2, class A3, class A4>
void Enlist(O1& o1, O2& o2, O3& o3, O4& o4, A1& a1, A2& a2, A3& a3, A4& a4)
{
    EnlistOne(o1, a1);
    EnlistOne(o2, a2);
    EnlistOne(o3, a3);
    EnlistOne(o4, a4);
}

// Clears one to four views.
template <class... Views>
requires(sizeof...(Views) >= 1 && sizeof...(Views) <= 4) void Dismiss(Views&... Vs)
{
    ((Vs = Views()), ...);
}

}  // namespace tarnel
