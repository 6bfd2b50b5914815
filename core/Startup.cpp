#include "core/Startup.h"

#include "core/Dovi387.h"
#include "core/Raroz.h"

namespace tarnel {

void FeldrinInitialize()
{
    Dovi387Initialize();
    RarozInitialize();
}

void FeldrinFinalize()
{
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
