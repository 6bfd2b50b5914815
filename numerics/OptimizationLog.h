// The iteration log every minimiser writes into its Verbose list. Internal to the library.
//
//     detail::TOptLog log(Verbose, "BFGS", "Iteration Fun", Tol);   // the two header lines (nil: no log at all)
//     log.Line(Iter, FMin);                                          // "0001      12.34500000"
//     log.Line(Iter, FMin, Lambda);                                  // the same, "  " and the damping factor
//
// The number of decimals is taken once, from the Tol the method was given (LogDigits).
#pragma once

#include "platform/rtl/StringList.h"

namespace tarnel::detail {

// |Round(Log10(Tol))|, rounded to nearest with ties to even; 0 where the logarithm is not finite (Tol zero,
// negative, infinite or NaN).
int LogDigits(double Tol);

class TOptLog {
public:
    // Appends Name and Header to Verbose unless it is nil.
    TOptLog(TStrings* Verbose, const char* Name, const char* Header, double Tol);
    // The counter as "0000", six blanks and Value in fixed notation.
    void Line(int Counter, double Value) const;
    // The same line followed by two blanks and Lambda in the same notation.
    void Line(int Counter, double Value, double Lambda) const;

private:
    TStrings* FVerbose;
    int FDigits;
};

}  // namespace tarnel::detail
