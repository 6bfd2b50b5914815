// What the optimisation suites share: the spy an objective records its points in, the exception it raises on a
// chosen call, the log as lines, and the check that a raising objective leaves the pools as they were.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "core/TempGuard.h"

namespace opttest {

// An objective given a spy as OConsts[0] (not nil: Marquardt's objects follow the caller's) records every point it is
// called with, and raises on call ThrowAt (counted from 1; 0: never). The exception is not the library's, so a routine
// that wrapped or swallowed it would show.
struct TSpy {
    std::vector<std::vector<double>> Points;
    int ThrowAt = 0;
};

struct ObjectiveFailed : std::runtime_error {
    ObjectiveFailed() : std::runtime_error("objective failed") {}
};

inline void Record(std::span<const double> Pars, std::span<void* const> OConsts)
{
    if (OConsts.empty() || !OConsts[0]) return;
    TSpy& spy = *static_cast<TSpy*>(OConsts[0]);
    spy.Points.emplace_back(Pars.begin(), Pars.end());
    if (spy.ThrowAt == static_cast<int>(spy.Points.size())) throw ObjectiveFailed();
}

inline std::vector<std::string> Lines(const tarnel::TStrings& List)
{
    std::vector<std::string> v;
    for (int i = 0; i < List.Count(); ++i) v.push_back(List.Strings(i));
    return v;
}

// Run(o) with a spy in o[0] that raises on its 10th point: the exception arrives as raised, after exactly 10 points,
// and the pools hold what they held before (a pooled vector and matrix are held across the call, so the counters
// are not simply zero).
inline void ExpectFailurePassesThrough(const char* What, const std::function<void(std::span<void* const>)>& Run)
{
    tarnel::detail::TVecTemp heldVec;
    tarnel::detail::TMtxTemp heldMtx;
    const int vecUsed = tarnel::VecCacheUsed, mtxUsed = tarnel::MtxCacheUsed;
    TSpy spy;
    spy.ThrowAt = 10;
    void* const o[] = {&spy};
    EXPECT_THROW(Run(o), ObjectiveFailed) << What;
    EXPECT_EQ(spy.Points.size(), 10u) << What;
    EXPECT_EQ(tarnel::VecCacheUsed.load(), vecUsed) << What;
    EXPECT_EQ(tarnel::MtxCacheUsed.load(), mtxUsed) << What;
}

}  // namespace opttest
