// The library's start-up and shut-down, in the order of its modules. This file knows every layer, so no module
// below has to call one above it.
#include "startup/Startup.h"

#include "core/Dovi387.h"
#include "core/Raroz.h"
#include "core/Tarnel.h"
#include "sparse/ansicrtl.h"

namespace tarnel {

// Dovi387, Raroz, Nmkl (declarations only), Tarnel, the numerical methods (nothing to start yet), ansicrtl (the
// report stream), UMFsparse and sparse (nothing to start).
void FeldrinInitialize()
{
    Dovi387Initialize();
    RarozInitialize();
    TarnelInitialize();
    AnsiCrtlInitialize();
}

void FeldrinFinalize()
{
    AnsiCrtlFinalize();
    TarnelFinalize();
    RarozFinalize();
    Dovi387Finalize();
}

namespace {

struct LibraryLifetime {
    LibraryLifetime() { FeldrinInitialize(); }
    ~LibraryLifetime() { FeldrinFinalize(); }
};

const LibraryLifetime gLifetime;

}  // namespace

}  // namespace tarnel
