#include "platform/rtl/DateTime.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <ctime>

namespace tarnel {

namespace {

// Days between 1899-12-30 and 1970-01-01.
constexpr double kUnixEpoch = 25569.0;

}  // namespace

TDateTime Now()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&secs, &local);
    const double ms = static_cast<double>(duration_cast<milliseconds>(now.time_since_epoch()).count());
    return kUnixEpoch + (ms + static_cast<double>(local.tm_gmtoff) * 1000.0) / MSecsPerDay;
}

TDateTime Date()
{
    return std::floor(Now());
}

std::string DateToStr(TDateTime D)
{
    // The day as a calendar date: a TDateTime holds local time already, so it is taken apart as if it were UTC.
    const std::time_t secs = static_cast<std::time_t>(std::floor(D) - kUnixEpoch) * 86400;
    std::tm day{};
    gmtime_r(&secs, &day);
    char buf[128];
    std::size_t n = 0;
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (loc != static_cast<locale_t>(nullptr)) {
        n = strftime_l(buf, sizeof buf, nl_langinfo_l(D_FMT, loc), &day, loc);
        freelocale(loc);
    }
    if (n == 0) n = std::strftime(buf, sizeof buf, "%m/%d/%y", &day);  // no such locale: the C locale's format
    return std::string(buf, n);
}

}  // namespace tarnel
