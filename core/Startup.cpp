#include "core/Startup.h"

#include "core/Dovi387.h"
#include "core/Raroz.h"
#include "core/Tarnel.h"

namespace tarnel {

void FeldrinInitialize()
{
    Dovi387Initialize();
    RarozInitialize();
    TarnelInitialize();
}

void FeldrinFinalize()
{
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
