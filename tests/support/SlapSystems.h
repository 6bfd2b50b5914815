// The test systems of the iterative solvers as 0-based triplets, built by the same formulas as
// tests/data/gen_slap_golden.py: tridiag(-1, 4, -1), the 2-D Poisson matrix and the convection-diffusion system
// -Δu + 20·u_x + 10·u_y on a 15 × 15 grid (h = 1/16, rows times h²), unknown (i, j) of a k × k grid at j·k + i.
#pragma once

#include <vector>

namespace slaptest {

struct TTriplets {
    int N = 0;
    std::vector<int> Row, Col;
    std::vector<double> Val;

    void Add(int R, int C, double V)
    {
        Row.push_back(R);
        Col.push_back(C);
        Val.push_back(V);
    }
    // The entries on and below the diagonal only.
    TTriplets Lower() const
    {
        TTriplets t;
        t.N = N;
        for (std::size_t k = 0; k < Row.size(); ++k)
            if (Row[k] >= Col[k]) t.Add(Row[k], Col[k], Val[k]);
        return t;
    }
    // The dense N × N matrix, row by row.
    std::vector<double> Dense() const
    {
        std::vector<double> d(static_cast<std::size_t>(N) * N, 0.0);
        for (std::size_t k = 0; k < Row.size(); ++k) d[static_cast<std::size_t>(Row[k]) * N + Col[k]] += Val[k];
        return d;
    }
};

inline TTriplets Tridiag(int N)
{
    TTriplets t;
    t.N = N;
    for (int i = 0; i < N; ++i) {
        if (i > 0) t.Add(i, i - 1, -1);
        t.Add(i, i, 4);
        if (i < N - 1) t.Add(i, i + 1, -1);
    }
    return t;
}

inline TTriplets Grid(int K, double Diag, double West, double East, double South, double North)
{
    TTriplets t;
    t.N = K * K;
    for (int j = 0; j < K; ++j)
        for (int i = 0; i < K; ++i) {
            const int p = j * K + i;
            t.Add(p, p, Diag);
            if (i > 0) t.Add(p, p - 1, West);
            if (i < K - 1) t.Add(p, p + 1, East);
            if (j > 0) t.Add(p, p - K, South);
            if (j < K - 1) t.Add(p, p + K, North);
        }
    return t;
}

inline TTriplets Poisson(int K)
{
    return Grid(K, 4, -1, -1, -1, -1);
}

inline TTriplets ConvDiff()
{
    return Grid(15, 4, -1.625, -0.375, -1.3125, -0.6875);
}

}  // namespace slaptest
