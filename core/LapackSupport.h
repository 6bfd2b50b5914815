// Helpers shared by every BLAS and LAPACK call of the library: the floating-point mode around LAPACK,
// the letters for triangles and operations, the range check of dimensions, and the record of illegal
// arguments reported through xerbla_.
#pragma once

#include <cstdint>
#include <string>

#include "core/Dovi387.h"
#include "core/LinAlgTypes.h"

namespace tarnel {

// Loads Fortran8087CW on construction and Tarnel8087CW (not the word in force before) on every exit.
class FortranFpuMode {
public:
    FortranFpuMode() { Set8087CW(Fortran8087CW); }
    ~FortranFpuMode() { Set8087CW(Tarnel8087CW); }
    FortranFpuMode(const FortranFpuMode&) = delete;
    FortranFpuMode& operator=(const FortranFpuMode&) = delete;
};

// The letters are the `char`s the typed calls of core/BlasCalls.h take.
// 'L' or 'U' for the triangle that holds the values, as LAPACK sees the same (column-major) data.
inline char UploLetter(TTriangleForm form)
{
    return form == tfUpper ? 'U' : 'L';
}
// The opposite letter: the row-major data of a matrix read as column-major is its transpose, so a product
// that exchanges the operands' roles passes the lower triangle as 'U' and the upper one as 'L'.
inline char SwappedUploLetter(TTriangleForm form)
{
    return form == tfUpper ? 'L' : 'U';
}
// 'N', 'T', or 'C' (complex data) / 'T' (real data) for opHerm.
inline char OperationLetter(TMtxOperation op, bool complex)
{
    switch (op) {
        case opNone:
            return 'N';
        case opTran:
            return 'T';
        default:
            return complex ? 'C' : 'T';
    }
}
inline char DiagLetter(bool unit)
{
    return unit ? 'U' : 'N';
}

// A dimension or leading dimension as BLAS takes it; raises when it does not fit a 32-bit INTEGER.
int BlasInt(std::int64_t value);

// The last illegal-argument report of BLAS or LAPACK in this thread.
struct XerblaRecord {
    std::string routine;      // the routine's name, trailing blanks removed (for example "DGEMM")
    int argument = 0;         // the 1-based position of the first illegal argument
    std::uint64_t count = 0;  // reports so far in this thread
};
const XerblaRecord& LastXerbla();

}  // namespace tarnel
