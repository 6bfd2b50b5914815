// The object pool of vectors and matrices, the pool lock, the module settings and the start-up of the module Tarnel.
#include "core/pool.h"

#include <climits>
#include <cstdint>
#include <thread>

#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/pool_table.h"
#include "platform/rtl/Random.h"

namespace tarnel {

std::atomic<int> VecCacheElements{1024};
std::atomic<int> VecCount{0};
std::atomic<int> VecCacheUsed{0};
std::atomic<bool> VecCacheFull{false};
std::atomic<int> MtxCacheElements{32};
std::atomic<int> MtxCount{0};
std::atomic<int> MtxCacheUsed{0};
std::atomic<bool> MtxCacheFull{false};
bool TarnelAssignCopyData = true;
int n_1 = 1;
bool MtxSaveSpace = false;

namespace {

std::atomic<bool> gVecConditionCheck{true};
std::atomic<bool> gMtxConditionCheck{true};
detail::TPoolMutex gPoolMutex;
detail::TPoolMutex* gPoolLock = nullptr;
int gInitCount = 0;

constinit detail::TPoolTable<TVec> gVecPool(msg::kVecCache, VecCount, VecCacheUsed, VecCacheFull);
constinit detail::TPoolTable<TMtx> gMtxPool(msg::kMtxCache, MtxCount, MtxCacheUsed, MtxCacheFull);

TVec* NewVec()
{
    return new TVec;
}

// A pooled vector with the reserved capacity: sized to Elements real elements and then to 0 it keeps exactly
// this capacity (Elements rounded up to even); reserving it directly is the same without depending on
// VecCacheElements.
TVec* NewReservedVec(int Elements)
{
    TVec* v = new TVec;
    try {
        v->SetActualLength(Elements);
    } catch (...) {
        delete v;
        throw;
    }
    return v;
}

TMtx* NewMtx()
{
    return new TMtx;
}

// A pooled matrix with the reserved capacity of Elements² elements (what sizing it to Elements × Elements and
// then to 0 × 0 leaves it with).
TMtx* NewReservedMtx(int Elements)
{
    TMtx* m = new TMtx;
    try {
        m->SetActualSize(Elements * Elements);
    } catch (...) {
        delete m;
        throw;
    }
    return m;
}

}  // namespace

bool VecConditionCheckDefault()
{
    return gVecConditionCheck.load(std::memory_order_relaxed);
}

bool MtxConditionCheckDefault()
{
    return gMtxConditionCheck.load(std::memory_order_relaxed);
}

// ---- The lock -------------------------------------------------------------------------------------------------

detail::TPoolMutex* detail::PoolLock()
{
    return gPoolLock;
}

void detail::CreatePoolLock()
{
    gPoolLock = &gPoolMutex;
}

void detail::DestroyPoolLock()
{
    gPoolLock = nullptr;
}

void detail::TPoolMutex::LockSlow()
{
    for (int spins = 0;; ++spins) {
        // Read before trying, so waiters do not keep the line away from the holder with failed exchanges.
        if (!FLocked.load(std::memory_order_relaxed) && TryAcquire()) return;
        if (spins < 64) {
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        } else {
            std::this_thread::yield();
        }
    }
}

// ---- Taking and returning vectors and matrices -------------------------------------------------------------

namespace {

// Takes one object for each variable, in order, under the pool lock.
template <class T, class Make, class... Vars>
void TakeAll(detail::TPoolTable<T>& pool, Make make, Vars&... vars)
{
    detail::TPoolLockGuard lock;
    ((vars = pool.Take(make)), ...);
}

// Gives the variables back in the reverse order of taking, under the pool lock.
template <class T, class... Vars>
void GiveBack(detail::TPoolTable<T>& pool, Vars&... vars)
{
    detail::TPoolLockGuard lock;
    pool.GiveAll(vars...);
}

}  // namespace

void CreateIt(TVec*& V1) { TakeAll(gVecPool, NewVec, V1); }
void CreateIt(TVec*& V1, TVec*& V2) { TakeAll(gVecPool, NewVec, V1, V2); }
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3) { TakeAll(gVecPool, NewVec, V1, V2, V3); }
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4) { TakeAll(gVecPool, NewVec, V1, V2, V3, V4); }
void FreeIt(TVec*& V1) { GiveBack(gVecPool, V1); }
void FreeIt(TVec*& V1, TVec*& V2) { GiveBack(gVecPool, V2, V1); }
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3) { GiveBack(gVecPool, V3, V2, V1); }
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4) { GiveBack(gVecPool, V4, V3, V2, V1); }

void CreateIt(TMtx*& M1) { TakeAll(gMtxPool, NewMtx, M1); }
void CreateIt(TMtx*& M1, TMtx*& M2) { TakeAll(gMtxPool, NewMtx, M1, M2); }
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3) { TakeAll(gMtxPool, NewMtx, M1, M2, M3); }
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4) { TakeAll(gMtxPool, NewMtx, M1, M2, M3, M4); }
void FreeIt(TMtx*& M1) { GiveBack(gMtxPool, M1); }
void FreeIt(TMtx*& M1, TMtx*& M2) { GiveBack(gMtxPool, M2, M1); }
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3) { GiveBack(gMtxPool, M3, M2, M1); }
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4) { GiveBack(gMtxPool, M4, M3, M2, M1); }

void detail::RetireIt(TVec*& V)
{
    TPoolLockGuard lock;
    gVecPool.Retire(V, [] { return NewReservedVec(VecCacheElements.load(std::memory_order_relaxed)); });
}

void detail::RetireIt(TMtx*& M)
{
    TPoolLockGuard lock;
    gMtxPool.Retire(M, [] {
        const int side = MtxCacheElements.load(std::memory_order_relaxed);
        return NewReservedMtx(side);
    });
}

// ---- Settings -------------------------------------------------------------------------------------------------

void SetVecCacheSize(int ItemCount, int Elements)
{
    // The lock is taken although the setter must not run while other threads use the pool: it costs nothing
    // and keeps a mistaken concurrent call from tearing the table.
    detail::TPoolLockGuard lock;
    gVecPool.CheckNoneUsed();
    if (ItemCount < 0) ERaise(msg::kVecCacheItemsNeg);
    if (Elements < 0) ERaise(msg::kVecCacheElementsNeg);
    gVecPool.Rebuild(ItemCount, [Elements] { return NewReservedVec(Elements); });
    VecCacheElements.store(Elements, std::memory_order_relaxed);
}

void SetVecConditionCheck(bool B)
{
    detail::TPoolLockGuard lock;
    gVecConditionCheck.store(B, std::memory_order_relaxed);
    gVecPool.ForEachFree([B](TVec& v) { v.SetConditionCheck(B); });
}

void SetMtxCacheSize(int ItemCount, int Elements)
{
    detail::TPoolLockGuard lock;
    gMtxPool.CheckNoneUsed();
    if (ItemCount < 0) ERaise(msg::kMtxCacheItemsNeg);
    if (Elements < 0) ERaise(msg::kMtxCacheElementsNeg);
    // Elements² is the capacity of every pooled matrix and the minimum of every matrix: it must be an Integer.
    if (static_cast<std::int64_t>(Elements) * Elements > INT_MAX - 1) ERaise(msg::kMtxCacheElementsTooLarge);
    gMtxPool.Rebuild(ItemCount, [Elements] { return NewReservedMtx(Elements); });
    MtxCacheElements.store(Elements, std::memory_order_relaxed);
}

void SetMtxConditionCheck(bool B)
{
    detail::TPoolLockGuard lock;
    gMtxConditionCheck.store(B, std::memory_order_relaxed);
    gMtxPool.ForEachFree([B](TMtx& m) { m.SetConditionCheck(B); });
}

// ---- Checks ---------------------------------------------------------------------------------------------------

void TestNil(const void* P1)
{
    if (!P1) ERaise(msg::kTestNil);
}

void TestNil(const void* P1, const void* P2)
{
    if (!P1 || !P2) ERaise(msg::kTestNil);
}

void TestNil(const void* P1, const void* P2, const void* P3)
{
    if (!P1 || !P2 || !P3) ERaise(msg::kTestNil);
}

void TestNil(const void* P1, const void* P2, const void* P3, const void* P4)
{
    if (!P1 || !P2 || !P3 || !P4) ERaise(msg::kTestNil);
}

// ---- Start-up and shut-down -------------------------------------------------------------------------------------

void TarnelInitialize()
{
    if (gInitCount++ > 0) return;
    detail::CreatePoolLock();
    Randomize();
    SetVecCacheSize(32, 1024);
    SetMtxCacheSize(16, 32);
}

void TarnelFinalize()
{
    if (gInitCount == 0 || --gInitCount > 0) return;
    {
        detail::TPoolLockGuard lock;
        gMtxPool.Shutdown();
        gVecPool.Shutdown();
    }
    detail::DestroyPoolLock();
}

}  // namespace tarnel
