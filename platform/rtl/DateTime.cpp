#include "platform/rtl/DateTime.h"

#include <chrono>
#include <ctime>

namespace tarnel {

TDateTime Now()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&secs, &local);
    // Days between 1899-12-30 and 1970-01-01.
    constexpr double kUnixEpoch = 25569.0;
    const double ms = static_cast<double>(duration_cast<milliseconds>(now.time_since_epoch()).count());
    return kUnixEpoch + (ms + static_cast<double>(local.tm_gmtoff) * 1000.0) / MSecsPerDay;
}

}  // namespace tarnel
