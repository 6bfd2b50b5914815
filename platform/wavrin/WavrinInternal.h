// Shared helpers of the signal-processing library: status recording and argument checks.
#pragma once

#include "core/Raroz.h"

namespace tarnel::wavrin {

// Starts a routine: in NSP_ErrModeLeaf the status is cleared so that it tells about this call only.
void BeginCall();
// Records a failure as the mode says.
void Fail(int status);

// Checks a count: true when there is work (n > 0); a negative count records NSP_StsBadLen.
inline bool Count(int n)
{
    BeginCall();
    if (n < 0) {
        Fail(NSP_StsBadLen);
        return false;
    }
    return n > 0;
}

// True when every pointer is set; otherwise records NSP_StsNullPtr.
template <class... P>
bool Ptrs(const P*... p)
{
    if (((p != nullptr) && ...)) return true;
    Fail(NSP_StsNullPtr);
    return false;
}

// A count followed by pointers: true when there is work and every pointer is set.
template <class... P>
bool Args(int n, const P*... p)
{
    return Count(n) && Ptrs(p...);
}

}  // namespace tarnel::wavrin
