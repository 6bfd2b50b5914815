// One row of the comparison table: an operation at one size, measured for our implementation ("ours") and
// for each peer in the same run. The name "operation|size|side" is what bench/table.py groups by.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

namespace tarnel_bench {

template <class Fn>
benchmark::internal::Benchmark* Row(const std::string& operation, long long size, const std::string& side, Fn fn)
{
    const std::string name = operation + "|" + std::to_string(size) + "|" + side;
    return benchmark::RegisterBenchmark(name.c_str(), std::move(fn));
}

}  // namespace tarnel_bench
