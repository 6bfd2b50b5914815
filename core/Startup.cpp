#include "core/Startup.h"

#include "core/Dovi387.h"
#include "core/Tarnel.h"

namespace tarnel {

void FeldrinInitialize()
{
    Dovi387Initialize();
    TarnelInitialize();
}

void FeldrinFinalize()
{
    TarnelFinalize();
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
