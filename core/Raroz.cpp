#include "core/Raroz.h"

namespace tarnel {

namespace {
int gRarozStarts = 0;
}

void RarozInitialize()
{
    if (gRarozStarts++ == 0) nspSetErrMode(NSP_ErrModeParent);
}

void RarozFinalize()
{
    if (gRarozStarts > 0) --gRarozStarts;
}

}  // namespace tarnel
