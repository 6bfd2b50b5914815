// The guard through which the library takes its temporaries from the pool. Internal to the library.
//
//     detail::TTemp<TVec> a, b;       // CreateIt for a, then for b (TTemp<TMtx> alike)
//     a->Size(n, true);
//     ...                             // on every way out: FreeIt for b, then for a
//
// Guards declared in a row go back in the reverse order of taking, exceptions included, as the pool expects.
// A temporary that cannot be reset when it goes back (it still views a sub-range or is inside a block walk) is
// destroyed and its pool slot gets a new object, so the pool never keeps a slot used for good; the destructor
// never throws.
#pragma once

#include "core/pool.h"

namespace tarnel::detail {

// Take an object that cannot be reset out of the pool for good (see TPoolTable::Retire).
void RetireIt(TVec*& V);
void RetireIt(TMtx*& M);

template <class T>
class TTemp {
public:
    TTemp() { CreateIt(FObj); }
    ~TTemp()
    {
        try {
            FreeIt(FObj);
        } catch (...) {
            try {
                RetireIt(FObj);
            } catch (...) {
            }
        }
    }
    TTemp(const TTemp&) = delete;
    TTemp& operator=(const TTemp&) = delete;

    T* operator->() const { return FObj; }
    T& operator*() const { return *FObj; }
    T* get() const { return FObj; }

private:
    T* FObj = nullptr;
};

using TVecTemp = TTemp<TVec>;
using TMtxTemp = TTemp<TMtx>;

}  // namespace tarnel::detail
