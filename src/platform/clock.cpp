#include "platform/clock.h"

#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

#ifdef _WIN32
int64_t HighResCounter() {
  LARGE_INTEGER v;
  QueryPerformanceCounter(&v);
  return v.QuadPart;
}

int64_t HighResFrequency() {
  LARGE_INTEGER v;
  QueryPerformanceFrequency(&v);
  return v.QuadPart;
}

uint32_t TickCount() { return GetTickCount(); }

LocalDateTime GetLocalDateTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
          st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}
#else
int64_t HighResCounter() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t HighResFrequency() { return 1000000000; }

uint32_t TickCount() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
  return static_cast<uint32_t>(ms);
}

LocalDateTime GetLocalDateTime() {
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_wday, tm.tm_mday,
          tm.tm_hour,        tm.tm_min,     tm.tm_sec,  static_cast<int>(ms)};
}
#endif

}  // namespace platform
