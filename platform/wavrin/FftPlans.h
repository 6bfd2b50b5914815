// The FFTW plan cache shared by the signal library's transforms and lapack's 2-D FFTs.
//
// A plan is made once per key and kept for the life of the process. The key holds every parameter that
// changes a plan: kind, sizes, direction, in-place or not, the alignment of both arrays and whether the
// source must survive. Plans are made on scratch arrays of the same alignment, never on the caller's data,
// under one mutex (FFTW's planner is also made thread safe), and run with FFTW's new-array calls, which
// may run in several threads at once. Plans are measured (FFTW_MEASURE) up to 2^22 elements, which costs
// the first transform of a size up to about a second; larger ones are estimated.
#pragma once

#include <fftw3.h>

#include "core/Dovi387.h"

namespace tarnel::fftplan {

enum class Kind {
    C2C,   // complex to complex; sign as given
    R2C,   // real to half-complex spectrum (n/2 + 1 bins)
    C2R,   // half-complex spectrum to real
    DCT2,  // FFTW's REDFT10
    DCT3,  // FFTW's REDFT01
};

struct Key {
    Kind kind;
    int n0;        // first (slowest) dimension
    int n1;        // second dimension, 0 for one-dimensional transforms
    int sign;      // FFTW_FORWARD or FFTW_BACKWARD for C2C, 0 otherwise
    bool inPlace;  // the plan runs with source = destination
    bool keepSource;
    int alignIn;  // fftw_alignment_of of the source and of the destination
    int alignOut;
    bool operator==(const Key&) const = default;
};

// The plan for the key, made on first use; nullptr when FFTW cannot make one.
fftw_plan Get(const Key& key);

inline fftw_complex* AsFftw(TCplx* p)
{
    return reinterpret_cast<fftw_complex*>(p);
}
inline fftw_complex* AsFftw(const TCplx* p)
{
    return reinterpret_cast<fftw_complex*>(const_cast<TCplx*>(p));
}
inline fftw_complex* AsFftwFromDoubles(double* p)
{
    return reinterpret_cast<fftw_complex*>(p);
}

inline int AlignOf(const void* p)
{
    return fftw_alignment_of(static_cast<double*>(const_cast<void*>(p)));
}

}  // namespace tarnel::fftplan
