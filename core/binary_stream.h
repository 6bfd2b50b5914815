// The binary stream format of vectors and matrices: the number encodings and the module functions that the
// vector, matrix, list and sparse readers and writers share.
//
// All numbers are little-endian. A value part holds each number in the encoding of TPrecision; the integer
// encodings round by TRounding (not stored in the stream) and saturate at the ends of their type, µ-law and A-law
// are the G.711 codes of the signal library (on its 16-bit linear scale).
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/Streams.h"

namespace tarnel {

// The encodings; the ordinal is what a header stores.
enum TPrecision { prDouble, prSingle, prInteger, prCardinal, prSmallInt, prWord, prShortInt, prByte, prMuLaw, prALaw };
// Rounding of the integer encodings: toward zero, toward minus infinity, to nearest (ties to even).
enum TRounding { rnTrunc, rnTruncNeg, rnRound };

// Bytes per element: the bytes of one number, doubled when Complex (0 for an unknown precision).
int SizeOfPrecision(TPrecision Precision, bool Complex);

// The length as a 32-bit integer, then the characters.
void WriteShortString(TStream& Stream, const std::string& S);
// Reads a string written by WriteShortString: at most 254 characters are kept, the rest of a longer one is
// skipped, so the stream is left after the whole record. A negative stored length reads as empty. A record longer
// than the rest of the stream raises EReadError.
std::string ReadShortString(TStream& Stream);

// Count elements (2·Count numbers when Complex) from Values in the given encoding; prDouble is written as one
// block, the others are converted straight into a memory stream's data, or for other streams in pieces through
// one pooled temporary.
void WriteBinaryValues(TStream& Stream, const double* Values, TPrecision Precision, TRounding Rounding,
                       std::int64_t Count, bool Complex);
// Reads Count elements' numbers in the given encoding into Values and returns the numbers read (fewer when the
// stream ends early; the rest of Values is then unspecified).
std::int64_t ReadBinaryValues(TStream& Stream, double* Values, TPrecision Precision, std::int64_t Count, bool Complex);

}  // namespace tarnel
