// The SIMD kernels behind the vector-math routines, one table per instruction set. Internal to the library.
//
// Every kernel works on n elements, reads element k before writing element k and processes elements in
// order in blocks of the vector width, so an output may be the very same array as an input; other overlaps
// are the caller's (Vml.cpp) to resolve. The tail that does not fill a vector is computed through a padded
// vector, so every element goes through the same code whatever its position.
#pragma once

namespace tarnel::vml {

using Unary = void (*)(long long n, const double* a, double* y);
using Binary = void (*)(long long n, const double* a, const double* b, double* y);
using Pair = void (*)(long long n, const double* a, double* s, double* c);

struct Table {
    const char* isa;
    Unary exp, ln, log10, sqrt, invsqrt, cbrt, invcbrt, inv, sin, cos, tan, asin, acos, atan, sinh, cosh, tanh;
    Binary div, pow;
    Pair sincos;
    // div with non-temporal stores (parallel::StreamStores): the same Doubles.
    Binary divStream;
};

// The best table this processor runs, chosen once.
const Table& Kernels();

// Each instruction set's table; nullptr where the processor lacks it.
const Table* KernelsSse2();
const Table* KernelsAvx2();
const Table* KernelsAvx512();

}  // namespace tarnel::vml
