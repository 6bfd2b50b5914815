// The one-thread guard of the threaded LAPACK drivers (BlasCalls.h).
#include <mutex>

#include "core/BlasCalls.h"

namespace tarnel::blas {

namespace {

std::mutex gMutex;
int gDepth = 0;  // guards alive in the whole process
int gSaved = 1;  // OpenBLAS's thread count when the first of them came in

}  // namespace

TSingleThread::TSingleThread(bool Apply)
{
    if (!Apply) return;
    std::lock_guard<std::mutex> lock(gMutex);
    if (gDepth++ == 0) {
        gSaved = openblas_get_num_threads();
        if (gSaved > 1) openblas_set_num_threads(1);
    }
    FActive = true;
}

TSingleThread::~TSingleThread()
{
    if (!FActive) return;
    std::lock_guard<std::mutex> lock(gMutex);
    if (--gDepth == 0 && gSaved > 1) openblas_set_num_threads(gSaved);
}

}  // namespace tarnel::blas
