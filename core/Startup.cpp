#include "core/Startup.h"

#include "core/Dovi387.h"

namespace tarnel {

void FeldrinInitialize()
{
    Dovi387Initialize();
}

void FeldrinFinalize()
{
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
