// Error mode and status of the signal-processing library.
#include <atomic>

#include "platform/wavrin/WavrinInternal.h"

namespace tarnel {

namespace {

std::atomic<int> gMode{NSP_ErrModeLeaf};
thread_local int tStatus = NSP_StsOk;

}  // namespace

namespace wavrin {

void BeginCall()
{
    if (gMode.load(std::memory_order_relaxed) == NSP_ErrModeLeaf) tStatus = NSP_StsOk;
}

void Fail(int status)
{
    if (gMode.load(std::memory_order_relaxed) != NSP_ErrModeSilent) tStatus = status;
}

}  // namespace wavrin

extern "C" {

int nspSetErrMode(int mode)
{
    wavrin::BeginCall();
    if (mode < NSP_ErrModeLeaf || mode > NSP_ErrModeSilent) {
        wavrin::Fail(NSP_StsBadArg);
        return gMode.load();
    }
    return gMode.exchange(mode);
}

int nspGetErrMode()
{
    return gMode.load();
}

int nspGetErrStatus()
{
    return tStatus;
}

void nspSetErrStatus(int status)
{
    tStatus = status;
}

const char* nspErrorStr(int status)
{
    switch (status) {
        case NSP_StsOk:
            return "No error";
        case NSP_StsError:
            return "Unknown error";
        case NSP_StsNoMem:
            return "Insufficient memory";
        case NSP_StsBadArg:
            return "Bad argument";
        case NSP_StsNullPtr:
            return "Null pointer";
        case NSP_StsBadLen:
            return "Negative length";
        case NSP_StsBadOrder:
            return "Transform order out of range";
        case NSP_StsBadFlags:
            return "Bad flags";
        case NSP_StsBadState:
            return "State not initialised";
        case NSP_StsDivByZero:
            return "Division by zero";
        default:
            return "Unknown status code";
    }
}

}  // extern "C"

}  // namespace tarnel
