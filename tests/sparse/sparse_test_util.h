// Helpers of the sparse suite: a snapshot of everything a sparse matrix
// stores, to show that a refused call changed nothing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Feldrin.h"
#include "TestFiles.h"
#include "TestSupport.h"

namespace sparsetest {

using namespace tarnel;

// Every test starts and ends with no pooled vector or matrix handed out.
using SparseTest = testsupport::PoolCheck;
using testsupport::ExpectRaise;
using testsupport::ReadFile;
using testsupport::RunPythonCheck;
using testsupport::TTempDir;

// The same Double bit for bit (so -0 differs from +0).
inline bool SameBits(double A, double B)
{
    return std::memcmp(&A, &B, sizeof A) == 0;
}

// The stored state of a sparse matrix: dimensions, kind, entry count, pattern and value Doubles.
struct TSnapshot {
    int Rows = 0, Cols = 0, NonZeros = 0;
    bool Complex = false;
    std::vector<int> ColPointers, RowIndices;
    std::vector<double> Values;  // compared bit for bit

    bool operator==(const TSnapshot& O) const
    {
        if (Rows != O.Rows || Cols != O.Cols || NonZeros != O.NonZeros || Complex != O.Complex ||
            ColPointers != O.ColPointers || RowIndices != O.RowIndices || Values.size() != O.Values.size())
            return false;
        for (std::size_t i = 0; i < Values.size(); ++i)
            if (!SameBits(Values[i], O.Values[i])) return false;
        return true;
    }
};

inline TSnapshot Snapshot(const TSparseMtx& M)
{
    TSnapshot s;
    s.Rows = M.Rows();
    s.Cols = M.Cols();
    s.NonZeros = M.NonZeros();
    s.Complex = M.Complex();
    s.ColPointers.assign(M.ColPointers().begin(), M.ColPointers().end());
    s.RowIndices.assign(M.RowIndices().begin(), M.RowIndices().end());
    const TVec& v = M.Values();
    const std::size_t n = static_cast<std::size_t>(v.Length()) * (v.Complex() ? 2 : 1);
    if (n) s.Values.assign(v.Values(), v.Values() + n);
    return s;
}

inline std::ostream& operator<<(std::ostream& os, const TSnapshot& s)
{
    os << s.Rows << " x " << s.Cols << (s.Complex ? " complex" : " real") << ", " << s.NonZeros << " entries, pointers";
    for (int p : s.ColPointers) os << ' ' << p;
    os << ", rows";
    for (int r : s.RowIndices) os << ' ' << r;
    os << ", values";
    for (double v : s.Values) os << ' ' << v;
    return os;
}

// A small real matrix with a known pattern: 3 x 3, entries (0,0) 1, (2,0) 2, (1,1) 3, (0,2) 4, (2,2) 5.
inline void MakeSmall(TSparseMtx& M)
{
    M.TripletsToSparse(3, 3, TIntArray{0, 2, 1, 0, 2}, TIntArray{0, 0, 1, 2, 2}, TSampleArray{1, 2, 3, 4, 5}, 0);
}

// A complex 3 x 3 matrix with 6 entries.
inline void MakeSmallComplex(TSparseMtx& M)
{
    M.TripletsToSparse(3, 3, TIntArray{0, 1, 2, 0, 1, 2}, TIntArray{0, 0, 1, 1, 2, 2},
                       TCplxArray{{1, -1}, {2, 0.5}, {3, 3}, {-4, 1}, {5, -5}, {6, 0.25}}, 0);
}

}  // namespace sparsetest
