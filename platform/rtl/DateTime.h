// Date and time as the framework counted it: a TDateTime is a Double holding days since 1899-12-30 00:00,
// the fraction being the time of day.
#pragma once

#include <string>

namespace tarnel {

using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;

// The current local date and time.
TDateTime Now();
// The current local date (midnight).
TDateTime Date();
// The date part in the user's short date format: the date format of LC_TIME (LC_ALL, LC_TIME, LANG) as the C
// library's locale data give it ("12/10/26" in the C locale, "10.12.2026" in German). The process locale is never
// read or set.
std::string DateToStr(TDateTime D);

}  // namespace tarnel
