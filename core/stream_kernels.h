// The number conversions of the binary stream format, vectorised: Doubles to and from singles and the integer
// encodings. Internal to the library.
//
// The results are those of the signal library's conversions (nspdbFloatToInt with NSP_Clip and the rounding's
// flag, nspdbIntToFloat) and of the plain casts to and from float, to the bit: NaN encodes as 0, integers saturate,
// rounding to nearest takes ties to even whatever the rounding mode in force, and singles round by the mode of
// the calling thread.
#pragma once

#include <cstdint>

#include "core/binary_stream.h"

namespace tarnel::detail {

// N numbers from Src into Dst in the encoding P (prSingle or an integer encoding; G.711 goes to the layer's
// routines). Src and Dst must not overlap.
void EncodeNumbers(const double* Src, void* Dst, std::int64_t N, TPrecision P, TRounding R);
// N numbers in the encoding P from Src into Dst, which must not overlap.
void DecodeNumbers(const void* Src, double* Dst, std::int64_t N, TPrecision P);

}  // namespace tarnel::detail
