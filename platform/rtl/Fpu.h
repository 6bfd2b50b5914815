// Floating-point control word in the x87 layout.
//
// The library speaks of its floating-point mode as a 16-bit x87 control word: bits 0-5 are the exception
// masks, bits 8-9 the precision control, bits 10-11 the rounding control, bit 12 the infinity control.
// On x86-64 ordinary arithmetic runs on SSE, so the word is emulated:
//   - the x87 unit really gets the word (precision and rounding apply to long double arithmetic), with its
//     exception masks always set so that no arithmetic ever traps;
//   - MXCSR keeps all exceptions masked and takes the word's rounding control, so that a truncating word
//     truncates double arithmetic as well;
//   - Get8087CW reports the logical word last loaded in this thread (the x87 word before any load).
// The word is per thread, as the hardware's is.
#pragma once

#include <cstdint>

namespace tarnel {

using Word = std::uint16_t;

// Loads the control word in the calling thread.
void Set8087CW(Word cw);
// The control word in force in the calling thread.
Word Get8087CW();
// Clears the pending floating-point exception flags of both units.
void ClearFpuExceptions();

}  // namespace tarnel
