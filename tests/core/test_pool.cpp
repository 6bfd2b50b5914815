// The vector pool: take and return rules with compaction, counters, cache-size changes and their refusals, the
// module default of ConditionCheck, failing returns, the lock, shut-down and the temporary guard.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Feldrin.h"
#include "TestSupport.h"
#include "core/TempGuard.h"
#include "core/pool_table.h"
#include "platform/rtl/Random.h"

using namespace tarnel;
using namespace testsupport;

namespace {

// Each test starts from the start-up pool (32 vectors of 1024 elements) with nothing handed out and the top at
// slot 0, and leaves it so.
class PoolTest : public PoolCheck {
protected:
    void SetUp() override
    {
        PoolCheck::SetUp();
        Restore();
    }
    void TearDown() override
    {
        PoolCheck::TearDown();
        Restore();
    }
    static void Restore()
    {
        SetVecConditionCheck(true);
        SetVecCacheSize(32, 1024);
        VecCount = 0;  // all slots are free, so the top may be anywhere; tests count slots from 0
        VecCacheFull = false;
    }
};

std::string RaisedBy(const std::function<void()>& Fn)
{
    try {
        Fn();
    } catch (const Exception& e) {
        return e.what();
    }
    return "(nothing raised)";
}

// The lock is free when another thread can take it at once.
bool LockIsFree()
{
    bool free = false;
    std::thread t([&] {
        detail::TPoolMutex* lock = detail::PoolLock();
        free = lock->try_lock();
        if (free) lock->unlock();
    });
    t.join();
    return free;
}

}  // namespace

TEST_F(PoolTest, ThirtyTwoTakesUseTheSlotsAndTheNextIsAPlainVector)
{
    std::vector<TVec*> taken(32);
    for (int i = 0; i < 32; ++i) {
        CreateIt(taken[i]);
        EXPECT_EQ(taken[i]->CacheIndex(), i);
        EXPECT_EQ(taken[i]->ActualLength(), 1024);
    }
    EXPECT_EQ(VecCount.load(), 32);
    EXPECT_EQ(VecCacheUsed.load(), 32);
    EXPECT_FALSE(VecCacheFull.load());

    TVec* extra = nullptr;
    CreateIt(extra);
    EXPECT_EQ(extra->CacheIndex(), -1);
    EXPECT_TRUE(VecCacheFull.load());
    EXPECT_EQ(VecCacheUsed.load(), 32);
    FreeIt(extra);  // destroyed (the sanitizer build would report a leak otherwise)
    EXPECT_EQ(extra, nullptr);
    EXPECT_EQ(VecCacheUsed.load(), 32);
    EXPECT_TRUE(VecCacheFull.load()) << "never cleared";

    for (int i = 31; i >= 0; --i) FreeIt(taken[i]);
    EXPECT_EQ(VecCount.load(), 0);
    EXPECT_EQ(VecCacheUsed.load(), 0);
}

TEST_F(PoolTest, CompactionMovesUsedSlotsDownInOrder)
{
    TVec *a, *b;
    CreateIt(a, b);
    EXPECT_EQ(a->CacheIndex(), 0);
    EXPECT_EQ(b->CacheIndex(), 1);
    TVec* const objectOfA = a;
    FreeIt(a);
    EXPECT_EQ(VecCount.load(), 2) << "a hole below the top";
    EXPECT_EQ(VecCacheUsed.load(), 1);

    std::vector<TVec*> more(30);
    for (int i = 0; i < 30; ++i) {
        CreateIt(more[i]);
        EXPECT_EQ(more[i]->CacheIndex(), i + 2);
    }
    TVec* next = nullptr;
    CreateIt(next);  // the top is reached with a hole: compaction
    EXPECT_EQ(b->CacheIndex(), 0);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(more[i]->CacheIndex(), i + 1) << i;
    EXPECT_EQ(next->CacheIndex(), 31);
    EXPECT_EQ(next, objectOfA) << "slot 31 now holds the object A had";
    EXPECT_EQ(VecCount.load(), 32);
    EXPECT_EQ(VecCacheUsed.load(), 32);
    EXPECT_FALSE(VecCacheFull.load());

    FreeIt(next);
    for (int i = 29; i >= 0; --i) FreeIt(more[i]);
    FreeIt(b);
    EXPECT_EQ(VecCount.load(), 0);
}

TEST_F(PoolTest, CompactionPlacesFreeSlotsFromTheEndInReverseOrder)
{
    SetVecCacheSize(6, 16);
    VecCount = 0;
    TVec* v[6];
    for (auto& p : v) CreateIt(p);
    TVec* const freed1 = v[1];
    TVec* const freed3 = v[3];
    FreeIt(v[1]);
    FreeIt(v[3]);
    TVec* x = nullptr;
    CreateIt(x);
    // Used 0, 2, 4, 5 move to 0..3; the free ones of slots 1 and 3 go to slots 5 and 4; x takes slot 4.
    EXPECT_EQ(v[0]->CacheIndex(), 0);
    EXPECT_EQ(v[2]->CacheIndex(), 1);
    EXPECT_EQ(v[4]->CacheIndex(), 2);
    EXPECT_EQ(v[5]->CacheIndex(), 3);
    EXPECT_EQ(x, freed3);
    EXPECT_EQ(x->CacheIndex(), 4);
    TVec* y = nullptr;
    CreateIt(y);
    EXPECT_EQ(y, freed1);
    EXPECT_EQ(y->CacheIndex(), 5);
    FreeIt(v[0], v[2], v[4], v[5]);
    FreeIt(x, y);
    EXPECT_EQ(VecCacheUsed.load(), 0);
}

TEST_F(PoolTest, FreeItReturnsLastFirstAndSetsVariablesToNil)
{
    std::vector<std::string> order;
    TVec *a, *b, *c, *d;
    CreateIt(a, b, c, d);
    EXPECT_EQ(d->CacheIndex(), 3);
    const char* names[] = {"a", "b", "c", "d"};
    TVec* all[] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
        all[i]->SetLength(3);
        all[i]->SetOnSetLength([&order, name = names[i]](TVecs& v) {
            if (v.Length() == 0) order.emplace_back(name);
        });
    }
    FreeIt(a, b, c, d);
    EXPECT_EQ(order, (std::vector<std::string>{"d", "c", "b", "a"}));
    EXPECT_TRUE(!a && !b && !c && !d);
    EXPECT_EQ(VecCount.load(), 0) << "returned together, the top falls step by step";

    TVec *e, *f;
    CreateIt(e, f);
    FreeIt(e, f);
    EXPECT_EQ(VecCount.load(), 0);
    TVec* none = nullptr;
    FreeIt(none);
    FreeIt(none, none, none);
    EXPECT_EQ(VecCacheUsed.load(), 0);
    // The handlers stay with the pooled vectors (Reset keeps OnSetLength); clear them.
    for (TVec* v : all) v->SetOnSetLength(nullptr);
}

TEST_F(PoolTest, PooledVectorsComeOutReset)
{
    TVec* v;
    CreateIt(v);
    v->Size(100, true);
    v->SetConditionCheck(false);
    v->SetCaption("used");
    v->SetTag(4);
    FreeIt(v);
    CreateIt(v);
    EXPECT_EQ(v->CacheIndex(), 0);
    EXPECT_FALSE(v->Complex());
    EXPECT_EQ(v->Length(), 0);
    EXPECT_EQ(v->ActualLength(), 1024) << "the reserved capacity stays";
    EXPECT_TRUE(v->ConditionCheck());
    EXPECT_EQ(v->Caption(), "");
    EXPECT_EQ(v->Tag(), 4) << "Reset keeps Tag";
    v->SetTag(0);
    FreeIt(v);
}

TEST_F(PoolTest, CacheSizeChangesAndRefusals)
{
    SetVecCacheSize(8, 100);
    VecCount = 0;
    EXPECT_EQ(VecCacheElements.load(), 100);
    TVec* v;
    CreateIt(v);
    EXPECT_EQ(v->ActualLength(), 100);
    TVec plain;
    plain.SetLength(1);
    EXPECT_EQ(plain.ActualLength(), 100) << "the minimum capacity of every vector";

    // Refused while a pooled vector is handed out, naming its slot; the pool keeps working.
    TVec *w, *x;
    CreateIt(w, x);
    FreeIt(v);
    EXPECT_EQ(RaisedBy([] { SetVecCacheSize(4, 10); }), "VecCache[1] = Used");
    EXPECT_EQ(VecCacheElements.load(), 100);
    TVec* y;
    CreateIt(y);
    EXPECT_EQ(y->ActualLength(), 100);
    FreeIt(w, x);
    FreeIt(y);
    EXPECT_EQ(RaisedBy([] { SetVecCacheSize(-1, 10); }), "SetVecCacheSize: ItemCount < 0");
    EXPECT_EQ(RaisedBy([] { SetVecCacheSize(4, -10); }), "SetVecCacheSize: Elements < 0");
    EXPECT_EQ(VecCacheElements.load(), 100);

    // An odd size: capacity rounded up to even.
    SetVecCacheSize(4, 101);
    CreateIt(v);
    EXPECT_EQ(v->ActualLength(), 102);
    EXPECT_LE(v->CacheIndex(), 3) << "a top left beyond the smaller pool is repaired by compaction";
    FreeIt(v);

    // An empty pool hands out plain vectors only.
    SetVecCacheSize(0, 0);
    CreateIt(v);
    EXPECT_EQ(v->CacheIndex(), -1);
    EXPECT_EQ(v->ActualLength(), 0);
    EXPECT_TRUE(VecCacheFull.load());
    FreeIt(v);
}

TEST_F(PoolTest, ConditionCheckDefaultReachesOnlyFreeAndNewVectors)
{
    TVec* held;
    CreateIt(held);
    SetVecConditionCheck(false);
    EXPECT_FALSE(VecConditionCheckDefault());
    EXPECT_TRUE(held->ConditionCheck()) << "a vector another thread may hold is not written";
    TVec* taken;
    CreateIt(taken);
    EXPECT_FALSE(taken->ConditionCheck()) << "free pooled vectors take the new default";
    TVec plain;
    EXPECT_FALSE(plain.ConditionCheck());
    FreeIt(held);
    CreateIt(held);
    EXPECT_FALSE(held->ConditionCheck()) << "a returned vector is reset to the default";
    FreeIt(held, taken);
    SetVecConditionCheck(true);
    CreateIt(held);
    EXPECT_TRUE(held->ConditionCheck());
    FreeIt(held);
}

// A vector that cannot be reset keeps its slot and its variable; the others of the same call go back, the lock
// is free afterwards, and the slot blocks resizing until the vector is returned properly.
TEST_F(PoolTest, FailingFreeItReturnsTheOthersAndReleasesTheLock)
{
    TVec *a, *b, *c;
    CreateIt(a, b, c);
    TVec* const stuck = b;
    b->SetIsSubRange(true);
    EXPECT_EQ(RaisedBy([&] { FreeIt(a, b, c); }), "IsSubRange = True!");
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(b, stuck);
    EXPECT_EQ(VecCacheUsed.load(), 1);
    EXPECT_TRUE(LockIsFree());
    EXPECT_EQ(RaisedBy([] { SetVecCacheSize(4, 10); }), "VecCache[1] = Used");
    EXPECT_TRUE(LockIsFree());

    b->SetIsSubRange(false);
    FreeIt(b);
    EXPECT_EQ(VecCacheUsed.load(), 0);
    EXPECT_NO_THROW(SetVecCacheSize(4, 10));
}

TEST_F(PoolTest, ReturningTheSameVectorTwiceIsRefused)
{
    TVec *a, *keep;
    CreateIt(a, keep);
    TVec* alias = a;
    FreeIt(a);
    const int count = VecCount.load();
    EXPECT_EQ(RaisedBy([&] { FreeIt(alias); }), "FreeIt: object already returned to the pool");
    EXPECT_EQ(VecCacheUsed.load(), 1);
    EXPECT_EQ(VecCount.load(), count);
    TVec outsider;
    outsider.SetCacheIndex(5);
    TVec* p = &outsider;
    EXPECT_EQ(RaisedBy([&] { FreeIt(p); }), "FreeIt: object does not belong to the pool");
    EXPECT_EQ(p, &outsider);
    outsider.SetCacheIndex(-1);
    FreeIt(keep);
    EXPECT_EQ(VecCacheUsed.load(), 0);
}

// FreeIt resets the vector, which fires OnSetLength; a handler that takes from the pool runs under the same
// (recursive) lock, and may even compact the table under the vector being returned.
TEST_F(PoolTest, OnSetLengthHandlerMayUseThePoolDuringFreeIt)
{
    SetVecCacheSize(4, 16);
    VecCount = 0;
    TVec *a, *b, *c, *d;
    CreateIt(a, b, c, d);
    FreeIt(a);
    int ran = 0;
    d->SetLength(5);
    d->SetOnSetLength([&](TVecs&) {
        TVec* x;
        CreateIt(x);  // top reached with a hole: compaction moves d from slot 3 to slot 2
        EXPECT_EQ(x->CacheIndex(), 3);
        FreeIt(x);
        ++ran;
    });
    TVec* const objectOfD = d;
    FreeIt(d);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(objectOfD->CacheIndex(), 2);
    EXPECT_EQ(VecCacheUsed.load(), 2);
    EXPECT_EQ(VecCount.load(), 2);
    objectOfD->SetOnSetLength(nullptr);
    FreeIt(b, c);
    EXPECT_EQ(VecCount.load(), 0);
}

TEST_F(PoolTest, TemporariesGoBackInReverseOrderOnEveryPath)
{
    std::vector<int> order;
    auto work = [&](bool fail) {
        detail::TVecTemp first, second;
        first->SetOnSetLength(nullptr);
        second->SetOnSetLength(nullptr);
        first->SetLength(4);
        second->SetLength(4);
        first->SetOnSetLength([&](TVecs&) { order.push_back(1); });
        second->SetOnSetLength([&](TVecs&) { order.push_back(2); });
        EXPECT_EQ(VecCacheUsed.load(), 2);
        if (fail) ERaise("inside");
    };
    work(false);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
    EXPECT_EQ(VecCacheUsed.load(), 0);
    order.clear();
    EXPECT_THROW(work(true), Exception);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
    EXPECT_EQ(VecCacheUsed.load(), 0);
    EXPECT_EQ(VecCount.load(), 0);
    // Clear the handlers the pooled vectors kept.
    detail::TVecTemp a, b;
    a->SetOnSetLength(nullptr);
    b->SetOnSetLength(nullptr);
}

// A temporary left viewing a sub-range cannot be reset: the guard destroys it and puts a new vector into its
// slot, so the pool does not keep a slot used for good.
TEST_F(PoolTest, TemporaryThatCannotBeResetIsReplaced)
{
    {
        detail::TVecTemp t;
        EXPECT_EQ(t->CacheIndex(), 0);
        t->SetIsSubRange(true);
    }
    EXPECT_EQ(VecCacheUsed.load(), 0);
    EXPECT_EQ(VecCount.load(), 0);
    EXPECT_TRUE(LockIsFree());
    TVec* v;
    CreateIt(v);
    EXPECT_EQ(v->CacheIndex(), 0);
    EXPECT_EQ(v->ActualLength(), 1024);
    EXPECT_FALSE(v->IsSubRange());
    FreeIt(v);
    EXPECT_NO_THROW(SetVecCacheSize(32, 1024));
}

// Shut-down while a vector is handed out: the vector leaves the pool as a plain object, so FreeIt after
// shut-down destroys it without touching freed pool memory; start-up again restores the pool.
TEST_F(PoolTest, ShutDownWithVectorsHandedOut)
{
    TVec *held, *other;
    CreateIt(held, other);
    FreeIt(other);
    TarnelFinalize();
    EXPECT_EQ(detail::PoolLock(), nullptr);
    EXPECT_EQ(held->CacheIndex(), -1);
    held->SetLength(5);
    TVec* late = nullptr;
    CreateIt(late);
    EXPECT_EQ(late->CacheIndex(), -1);
    FreeIt(late, held);
    EXPECT_EQ(held, nullptr);
    TarnelInitialize();
    EXPECT_NE(detail::PoolLock(), nullptr);
    CreateIt(held);
    EXPECT_EQ(held->ActualLength(), 1024);
    EXPECT_GE(held->CacheIndex(), 0);
    FreeIt(held);
}

// The pool lock: taken twice by one thread it stays taken until released twice, and other threads wait for it
// (spinning, then yielding) without two of them ever holding it at once.
TEST_F(PoolTest, PoolLockIsRecursiveAndExclusive)
{
    detail::TPoolMutex* lock = detail::PoolLock();
    lock->lock();
    lock->lock();
    EXPECT_FALSE(LockIsFree());
    lock->unlock();
    EXPECT_FALSE(LockIsFree());
    lock->unlock();
    EXPECT_TRUE(LockIsFree());

    // A plain counter: increments lost to a second holder show as a short count (and in the thread sanitizer).
    long counter = 0;
    constexpr int kThreads = 6, kRounds = 5000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                detail::TPoolLockGuard outer;
                detail::TPoolLockGuard inner;
                const long seen = counter;
                if (i % 64 == 0) std::this_thread::yield();  // holders get preempted: waiters reach the slow path
                counter = seen + 1;
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(counter, long{kThreads} * kRounds);
    EXPECT_TRUE(LockIsFree());
}

// Several threads take and return vectors in every grouping and order, write their own pattern into them and
// read it back: every vector is handed to one thread at a time, and the counters end where they began.
TEST_F(PoolTest, ConcurrentCreateAndFree)
{
    SetVecCacheSize(16, 64);  // smaller than the demand, so the pool runs out and compacts
    VecCount = 0;
    constexpr int kThreads = 8;
    constexpr int kRounds = 3000;
    std::atomic<int> errors{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &errors] {
            std::mt19937 gen(1234 + t);
            for (int round = 0; round < kRounds; ++round) {
                TVec* v[4] = {nullptr, nullptr, nullptr, nullptr};
                const int n = 1 + static_cast<int>(gen() % 4);
                switch (n) {
                    case 1:
                        CreateIt(v[0]);
                        break;
                    case 2:
                        CreateIt(v[0], v[1]);
                        break;
                    case 3:
                        CreateIt(v[0], v[1], v[2]);
                        break;
                    default:
                        CreateIt(v[0], v[1], v[2], v[3]);
                        break;
                }
                for (int i = 0; i < n; ++i) {
                    const int len = 1 + static_cast<int>(gen() % 100);
                    v[i]->SetLength(len);
                    v[i]->SetTag(t * 100 + i);
                    for (int k = 0; k < len; ++k) v[i]->Values()[k] = t * 1000.0 + round + k;
                }
                std::this_thread::yield();
                for (int i = 0; i < n; ++i) {
                    if (v[i]->Tag() != t * 100 + i) ++errors;
                    for (int k = 0; k < v[i]->Length(); ++k) {
                        if (v[i]->Values()[k] != t * 1000.0 + round + k) {
                            ++errors;
                            break;
                        }
                    }
                    v[i]->SetTag(0);
                }
                // Return in a shuffled grouping: some singly out of order, the rest together.
                if (n >= 2 && gen() % 2 == 0) {
                    FreeIt(v[0]);
                    FreeIt(v[1], v[2], v[3]);
                } else {
                    FreeIt(v[0], v[1], v[2], v[3]);
                }
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(errors.load(), 0);
    EXPECT_EQ(VecCacheUsed.load(), 0);
    EXPECT_LE(VecCount.load(), 16);
    EXPECT_TRUE(VecCacheFull.load()) << "the demand exceeded the pool at some point";
    EXPECT_NO_THROW(SetVecCacheSize(32, 1024)) << "no slot is left marked used";
}

TEST(RunTimeRandom, DrawsStayInRange)
{
    Randomize();
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 2000; ++i) {
        const int r = Random(10);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 10);
        sawLow |= r == 0;
        sawHigh |= r == 9;
    }
    EXPECT_TRUE(sawLow && sawHigh);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    const int big = Random(0x7FFEFFFF);
    EXPECT_GE(big, 0);
    EXPECT_LT(big, 0x7FFEFFFF);
}
