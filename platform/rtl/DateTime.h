// Date and time as the framework counted it: a TDateTime is a Double holding days since 1899-12-30 00:00,
// the fraction being the time of day.
#pragma once

namespace tarnel {

using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;

// The current local date and time.
TDateTime Now();

}  // namespace tarnel
