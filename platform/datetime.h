#pragma once
// The fixed Czech date and time formats the files and names carry,
// independent of the machine's locale: short date d.M.yyyy, time H:mm:ss.
#include <ctime>
#include <string>

namespace vektrano::platform {

struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
};

DateTime now();
std::string formatDate(const DateTime& t);      // 9.12.2026
std::string formatTime(const DateTime& t);      // 7:05:09
std::string formatDateTime(const DateTime& t);  // 9.12.2026 7:05:09

}  // namespace vektrano::platform
