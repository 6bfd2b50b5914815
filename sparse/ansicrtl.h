// ansicrtl: the C run-time layer of the sparse direct solver and its report stream RtlStrings.
//
// UMFPACK keeps the C library's allocator, its own timer and OpenBLAS; only its printing is bound to this layer:
// start-up installs CPrintfForwarder as SuiteSparse's print routine, so every line UMFPACK prints is formatted by
// the run-time's Format (platform/rtl/Format.h) and appended to RtlStrings. The other entry points serve C++
// callers that want the run-time's behaviour.
//
// RtlStrings is one stream for the whole process. Appends and clears from the library (the solver, the print
// routine) go through RtlStringsAppend and RtlStringsClear, which hold one mutex, so threads that solve their own
// matrices at once never corrupt it (their lines may still interleave). A host that reads it (position 0, then a
// string list's LoadFromStream) does so while no solve runs and leaves the position at the end again.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Streams.h"

namespace tarnel {

// The report stream: made empty by the module's start-up, freed by its shut-down.
extern TStringStream* RtlStrings;

// Appends Text at the end of RtlStrings (nothing while it does not exist), under the stream's mutex.
void RtlStringsAppend(std::string_view Text);
// Empties RtlStrings (size 0, position 0), under the stream's mutex.
void RtlStringsClear();
// The whole text of RtlStrings, read under the stream's mutex.
std::string RtlStringsText();

// The print redirect. Scans Format as the C code writes it: after each '%' the characters '+', ',', '-', '.' and
// digits are skipped and the next one is the conversion letter, which takes its argument from Args: d, u, x an
// int; e, f, g, n a double; m a pointer to a 64-bit currency value (1/10000 units); p a pointer; s a string (a
// null pointer reads as empty); "%%" nothing; any other letter nothing. Upper-case letters take what their
// lower-case twins take. A '*' takes an int, and a length modifier (h, l, L, q, j, z, t) makes the conversion take
// the argument at its C size, so that the later arguments stay in step. The text is made by Format with one
// argument per conversion, any number of them; a format Format refuses ('+' flag, a length modifier, ...) is
// appended as it is written. Returns the number of characters appended.
int _dprintf(const char* Format, va_list Args);
// The C code's printf: passes its arguments to _dprintf. Nothing escapes it: an error while appending gives -1.
int CPrintfForwarder(const char* Format, ...);

// The system's millisecond tick count (GetTickCount).
std::uint32_t _clock();
// X truncated toward zero to a 32-bit integer; NaN or a value outside the range gives -2147483648, as the x87
// FPU's integer store does. (The run-time's name is __ftol, which C++ reserves; this is its nearest legal spelling.)
std::int32_t _ftol(double X);
double _sqrt(double X);
// X truncated toward zero, plus 1 when X minus that is positive: the smallest integer not below X. NaN stays NaN,
// infinities stay.
double _ceil(double X);
// Byte-wise comparison of two zero-terminated strings as unsigned characters: negative, 0 or positive. A null
// pointer reads as an empty string.
int _strcmp(const char* A, const char* B);
// The memory routines: an allocation failure raises std::bad_alloc (the library's out-of-memory error) and never
// returns nil for a Size above 0. _malloc(0) gives nil; _realloc(P, 0) frees P and gives nil; _realloc(nil, Size)
// allocates; a failed _realloc leaves P as it was.
void* _malloc(std::size_t Size);
void* _realloc(void* P, std::size_t Size);
void _free(void* P);
// The C code's floating-point support marker; its value is not used. (The run-time's name is __turboFloat, which
// C++ reserves; this is its nearest legal spelling.)
extern int _turboFloat;

// The BLAS adapters: scalars by value, as C code calls them, passed on to the Fortran DGEMV, DGEMM and DGER.
void BlasDgemvAdapter(char Trans, int M, int N, double Alpha, const double* A, int LDA, const double* X, int IncX,
                      double Beta, double* Y, int IncY);
void BlasDgemmAdapter(char TransA, char TransB, int M, int N, int K, double Alpha, const double* A, int LDA,
                      const double* B, int LDB, double Beta, double* C, int LDC);
void BlasDgerAdapter(int M, int N, double Alpha, const double* X, int IncX, const double* Y, int IncY, double* A,
                     int LDA);

// Start-up: makes RtlStrings and installs the print routine; shut-down puts the previous print routine back and
// frees RtlStrings. Counted: only the first start and the matching last shut-down have effect.
void AnsiCrtlInitialize();
void AnsiCrtlFinalize();

}  // namespace tarnel
