// The object pool of the module Tarnel: preallocated vectors and matrices lent out with CreateIt and taken
// back with FreeIt, the module's settings, and the data views Enlist/Dismiss.
//
// CreateIt hands out one to four objects; when the pool is exhausted it creates ordinary objects, which FreeIt
// destroys, so callers never see the difference. Both run under one recursive lock (a FreeIt resets the object,
// which fires OnSetLength, whose handler may take from the pool again) that is released on every path. The lock
// protects the tables and counters only: an object belongs to the thread that took it.
#pragma once

#include <atomic>

#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "core/views.h"

namespace tarnel {

// ---- Module state -------------------------------------------------------------------------------------------
// Capacity reserved by each pooled vector and the minimum capacity of every vector: 1024.
extern std::atomic<int> VecCacheElements;
// Top index of the vector pool: every slot at or above it is free.
extern std::atomic<int> VecCount;
// Number of pooled vectors handed out.
extern std::atomic<int> VecCacheUsed;
// Set once a vector had to be created outside the pool; never cleared.
extern std::atomic<bool> VecCacheFull;
// The same for matrices: the side of the square capacity of each pooled matrix (32), and the counters.
extern std::atomic<int> MtxCacheElements;
extern std::atomic<int> MtxCount;
extern std::atomic<int> MtxCacheUsed;
extern std::atomic<bool> MtxCacheFull;
// Assign of vectors and matrices copies the values too: True.
extern bool TarnelAssignCopyData;
// The constant 1, passed by reference as the hidden length of one-character arguments to LAPACK.
extern int n_1;
// Not read by the library: False.
extern bool MtxSaveSpace;

// The ConditionCheck given to new and reset vectors (True after start-up).
bool VecConditionCheckDefault();
// The ConditionCheck given to new and reset matrices (True after start-up).
bool MtxConditionCheckDefault();

// ---- Taking and returning vectors ---------------------------------------------------------------------------
// Each variable, in the order given, receives a pooled vector (empty, real, default ConditionCheck, keeping its
// reserved capacity) or, with the pool exhausted, a new one.
void CreateIt(TVec*& V1);
void CreateIt(TVec*& V1, TVec*& V2);
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3);
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4);
// Takes the vectors back, the last variable first, and sets each variable to nil; nil variables are skipped.
// A vector that cannot be reset ("IsSubRange = True!", "BlockLevel > 0") keeps its slot and its variable; the
// other variables are still taken back and the first error is raised afterwards. Returning a pooled vector that
// is not handed out (returned twice through two variables) raises and changes nothing.
void FreeIt(TVec*& V1);
void FreeIt(TVec*& V1, TVec*& V2);
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3);
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4);

// ---- Taking and returning matrices -------------------------------------------------------------------------
// The same rules for the matrix pool: a pooled matrix comes out empty, real, with the settings of a new matrix
// and its reserved capacity of MtxCacheElements² elements.
void CreateIt(TMtx*& M1);
void CreateIt(TMtx*& M1, TMtx*& M2);
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3);
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4);
void FreeIt(TMtx*& M1);
void FreeIt(TMtx*& M1, TMtx*& M2);
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3);
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4);

// ---- Pool settings ------------------------------------------------------------------------------------------
// Rebuilds the vector pool with ItemCount vectors of Elements reserved elements; VecCacheElements := Elements.
// Refuses with "VecCache[i] = Used" (i the lowest used slot) while any pooled vector is handed out.
void SetVecCacheSize(int ItemCount, int Elements);
// The ConditionCheck of new and reset vectors := B, and of every pooled vector not handed out. Vectors that
// threads hold keep theirs until they come back.
void SetVecConditionCheck(bool B);
// Rebuilds the matrix pool with ItemCount matrices reserving Elements × Elements elements each;
// MtxCacheElements := Elements. Refuses with "MtxCache[i] = Used" while any pooled matrix is handed out.
void SetMtxCacheSize(int ItemCount, int Elements);
// The ConditionCheck of new and reset matrices := B, and of every pooled matrix not handed out.
void SetMtxConditionCheck(bool B);

// ---- Checks -------------------------------------------------------------------------------------------------
// Raise "TestNil: Nil pointer" when any argument is nil.
void TestNil(const void* P1);
void TestNil(const void* P1, const void* P2);
void TestNil(const void* P1, const void* P2, const void* P3);
void TestNil(const void* P1, const void* P2, const void* P3, const void* P4);

// ---- Start-up and shut-down of the module Tarnel (counted) --------------------------------------------------
// Creates the pool lock, seeds the run-time's random generator from the clock and fills the pools (32 vectors
// of 1024 elements, 16 matrices of 32 × 32). Shut-down destroys the pooled matrices, then the pooled vectors
// (those not handed out), and the lock; an object still handed out leaves the pool as an ordinary object, so a
// FreeIt after shut-down destroys it.
void TarnelInitialize();
void TarnelFinalize();

}  // namespace tarnel
