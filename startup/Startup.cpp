// The library's start-up and shut-down, in the order of its modules. This file knows every layer, so no module
// below has to call one above it.
#include "startup/Startup.h"

#include "core/Dovi387.h"
#include "core/Raroz.h"
#include "core/Tarnel.h"
#include "numerics/Optimization.h"
#include "sparse/ansicrtl.h"

namespace tarnel {

// Dovi387, Raroz, Nmkl (declarations only), Tarnel, the numerical methods (Toeplitz, Optimization, Polynoms,
// Probabilities, SpecialFuncs: only Optimization has something to start), ansicrtl (the report stream), UMFsparse and
// sparse (nothing to start).
void FeldrinInitialize()
{
    Dovi387Initialize();
    RarozInitialize();
    TarnelInitialize();
    OptimizationInitialize();
    AnsiCrtlInitialize();
}

void FeldrinFinalize()
{
    AnsiCrtlFinalize();
    OptimizationFinalize();
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
