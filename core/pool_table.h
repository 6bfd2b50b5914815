// The table behind each pool, written once for vectors and matrices. Internal to the library.
//
// T needs CacheIndex(), SetCacheIndex(int), Reset() and SetConditionCheck(bool). Every member except
// constant construction runs under the pool lock (detail::TPoolLock), which the public CreateIt/FreeIt and
// setters take.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <pthread.h>
#include <string>

#include "core/Dovi387.h"
#include "core/messages.h"

namespace tarnel::detail {

// The one lock of both pools: recursive (a FreeIt resets the object, which fires OnSetLength, whose handler may
// take from the pool again). Taking it costs one compare-and-swap and giving it back one plain store: the pool's
// critical sections are a few dozen instructions, so a thread that finds it taken spins briefly and then yields
// instead of sleeping (which would cost every release an atomic exchange to learn whether to wake someone).
// Rebuilding the pool and OnSetLength handlers can hold it longer; the yield keeps the waiters cheap then too.
class TPoolMutex {
public:
    void lock()
    {
        const std::uintptr_t self = ThisThread();
        // Only this thread ever stores its own id here, and clears it before releasing, so a relaxed read that
        // sees it means this thread holds the lock.
        if (FOwner.load(std::memory_order_relaxed) == self) {
            ++FDepth;
            return;
        }
        if (!TryAcquire()) LockSlow();
        FOwner.store(self, std::memory_order_relaxed);
        FDepth = 1;
    }
    bool try_lock()
    {
        const std::uintptr_t self = ThisThread();
        if (FOwner.load(std::memory_order_relaxed) == self) {
            ++FDepth;
            return true;
        }
        if (!TryAcquire()) return false;
        FOwner.store(self, std::memory_order_relaxed);
        FDepth = 1;
        return true;
    }
    void unlock()
    {
        if (--FDepth > 0) return;
        FOwner.store(0, std::memory_order_relaxed);
        FLocked.store(false, std::memory_order_release);
    }

private:
    // A number unique to each running thread and never 0: the thread pointer, read without a call where the
    // compiler offers it.
    static std::uintptr_t ThisThread()
    {
#if defined(__has_builtin) && __has_builtin(__builtin_thread_pointer) && (defined(__x86_64__) || defined(__aarch64__))
        return reinterpret_cast<std::uintptr_t>(__builtin_thread_pointer());
#else
        return static_cast<std::uintptr_t>(pthread_self());
#endif
    }
    bool TryAcquire()
    {
        bool expected = false;
        return FLocked.compare_exchange_strong(expected, true, std::memory_order_acquire, std::memory_order_relaxed);
    }
    void LockSlow();

    std::atomic<bool> FLocked{false};
    std::atomic<std::uintptr_t> FOwner{0};  // the holder's ThisThread(), 0 when free
    int FDepth = 0;  // read and written by the holder only
};

// The lock exists from start-up to shut-down; outside that time (static initialisation and destruction of
// other files) the guard locks nothing, since only one thread runs then.
TPoolMutex* PoolLock();
void CreatePoolLock();
void DestroyPoolLock();

class TPoolLockGuard {
public:
    TPoolLockGuard() : FLock(PoolLock())
    {
        if (FLock) FLock->lock();
    }
    ~TPoolLockGuard()
    {
        if (FLock) FLock->unlock();
    }
    TPoolLockGuard(const TPoolLockGuard&) = delete;
    TPoolLockGuard& operator=(const TPoolLockGuard&) = delete;

private:
    TPoolMutex* FLock;
};

template <class T>
class TPoolTable {
public:
    // Name is the prefix of the refusal message ("VecCache", "MtxCache"). The counters are the module's
    // exported variables. Constant-initialised: a table starts empty and is filled by Rebuild.
    constexpr TPoolTable(const char* Name, std::atomic<int>& Count, std::atomic<int>& Used, std::atomic<bool>& Full)
        : FName(Name), FCount(Count), FUsed(Used), FFull(Full)
    {
    }

    // The take rule: the slot at the top, after compaction if the top is reached while holes exist, or a new
    // object outside the pool.
    template <class Make>
    T* Take(Make MakeNew)
    {
        if (FCount.load(std::memory_order_relaxed) >= FSize && FUsed.load(std::memory_order_relaxed) < FSize) {
            Compact();
        }
        const int top = FCount.load(std::memory_order_relaxed);
        if (top < FSize) {
            FTable[top].Used = true;
            FCount.store(top + 1, std::memory_order_relaxed);
            FUsed.store(FUsed.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            return FTable[top].Obj;
        }
        T* obj = MakeNew();
        obj->SetCacheIndex(-1);
        FFull.store(true, std::memory_order_relaxed);
        return obj;
    }

    // The return rule for one variable. On success the variable is nil; when Reset or the pool check raises,
    // the variable keeps its value and the object its slot.
    void Give(T*& Var)
    {
        T* obj = Var;
        if (!obj) return;
        if (obj->CacheIndex() < 0) {
            Var = nullptr;
            delete obj;
            return;
        }
        CheckHandedOut(obj);
        obj->Reset();
        // Reset may have fired an event whose handler took from the pool, and a compaction may have moved the
        // object to another slot; its CacheIndex says where it is now.
        const int slot = obj->CacheIndex();
        Var = nullptr;
        if (slot < 0 || slot >= FSize || FTable[slot].Obj != obj || !FTable[slot].Used) return;
        FTable[slot].Used = false;
        if (slot == FCount.load(std::memory_order_relaxed) - 1) FCount.store(slot, std::memory_order_relaxed);
        FUsed.store(FUsed.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);
    }

    // Gives back the variables in the order listed (callers list them last-first). Every variable is handled;
    // the first error is raised after all of them.
    template <class... Vars>
    void GiveAll(Vars&... Vs)
    {
        std::exception_ptr first;
        auto one = [&](T*& v) {
            try {
                Give(v);
            } catch (...) {
                if (!first) first = std::current_exception();
            }
        };
        (one(Vs), ...);
        if (first) std::rethrow_exception(first);
    }

    // Takes a handed-out object that cannot be reset out of the pool for good: its slot receives a new object
    // made by MakeReserved and is free again, and the object is destroyed. Objects outside the pool are simply
    // destroyed. The variable is nil afterwards.
    template <class Make>
    void Retire(T*& Var, Make MakeReserved)
    {
        T* obj = Var;
        if (!obj) return;
        if (obj->CacheIndex() >= 0) {
            CheckHandedOut(obj);
            const int slot = obj->CacheIndex();
            T* fresh = MakeReserved();
            fresh->SetCacheIndex(slot);
            FTable[slot].Obj = fresh;
            FTable[slot].Used = false;
            if (slot == FCount.load(std::memory_order_relaxed) - 1) FCount.store(slot, std::memory_order_relaxed);
            FUsed.store(FUsed.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);
        }
        Var = nullptr;
        delete obj;
    }

    // Refuses with "<Name>[i] = Used" while any slot is handed out.
    void CheckNoneUsed() const
    {
        for (int i = 0; i < FSize; ++i) {
            if (FTable[i].Used) ERaise(msg::CacheUsed(FName, i));
        }
    }

    // Replaces every pooled object by ItemCount new ones made by MakeReserved (which reserves their capacity);
    // the counters stay as they are (a top beyond the new size is repaired by the next compaction). The new
    // objects are made before the old ones go, so a failure leaves the pool as it was.
    template <class Make>
    void Rebuild(int ItemCount, Make MakeReserved)
    {
        CheckNoneUsed();
        TRecord* table = new TRecord[ItemCount > 0 ? ItemCount : 1]();
        TRecord* scratch = nullptr;
        int made = 0;
        try {
            scratch = new TRecord[ItemCount > 0 ? ItemCount : 1]();
            for (; made < ItemCount; ++made) {
                table[made].Obj = MakeReserved();
                table[made].Obj->SetCacheIndex(made);
            }
        } catch (...) {
            for (int i = 0; i < made; ++i) delete table[i].Obj;
            delete[] table;
            delete[] scratch;
            throw;
        }
        DestroyObjects(false);
        FTable = table;
        FScratch = scratch;
        FSize = ItemCount;
    }

    // Applies Fn to every pooled object that is not handed out.
    template <class Fn>
    void ForEachFree(Fn F)
    {
        for (int i = 0; i < FSize; ++i) {
            if (!FTable[i].Used) F(*FTable[i].Obj);
        }
    }

    // Shut-down: destroys the free objects; objects still handed out leave the pool as ordinary objects
    // (CacheIndex -1), so that a later FreeIt destroys them instead of touching a freed slot.
    void Shutdown()
    {
        DestroyObjects(true);
        FCount.store(0, std::memory_order_relaxed);
        FUsed.store(0, std::memory_order_relaxed);
    }

    int Size() const { return FSize; }

private:
    struct TRecord {
        T* Obj = nullptr;
        bool Used = false;
    };

    void CheckHandedOut(T* obj) const
    {
        const int slot = obj->CacheIndex();
        if (slot >= FSize || FTable[slot].Obj != obj) ERaise(msg::kFreeNotPooled);
        if (!FTable[slot].Used) ERaise(msg::kFreeTwice);
    }

    // Used records move to the bottom in their order, free ones fill the top from the end downward.
    void Compact()
    {
        int count = 0;
        int freeSlot = FSize - 1;
        for (int i = 0; i < FSize; ++i) FScratch[i] = FTable[i];
        for (int i = 0; i < FSize; ++i) {
            const int to = FScratch[i].Used ? count++ : freeSlot--;
            FTable[to] = FScratch[i];
            FTable[to].Obj->SetCacheIndex(to);
        }
        FCount.store(count, std::memory_order_relaxed);
        FUsed.store(count, std::memory_order_relaxed);
    }

    void DestroyObjects(bool KeepHandedOut)
    {
        for (int i = 0; i < FSize; ++i) {
            if (KeepHandedOut && FTable[i].Used) {
                FTable[i].Obj->SetCacheIndex(-1);
            } else {
                delete FTable[i].Obj;
            }
        }
        delete[] FTable;
        delete[] FScratch;
        FTable = nullptr;
        FScratch = nullptr;
        FSize = 0;
    }

    const char* FName;
    std::atomic<int>& FCount;
    std::atomic<int>& FUsed;
    std::atomic<bool>& FFull;
    TRecord* FTable = nullptr;
    TRecord* FScratch = nullptr;
    int FSize = 0;
};

}  // namespace tarnel::detail
