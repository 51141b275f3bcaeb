#pragma once
// One routine publishes every SDK message into the channel tree rooted at "vr".
// A failed check logs and execution goes on: checks never stop the program.

struct bdLogLocation {
  const char* m_file;
  const char* m_function;
  unsigned int m_line;
  const char* m_level;
};

#define BD_LOG_LEVEL_ASSERT "vr/err"
#define BD_LOG_LEVEL_ERROR "vr/err/"
#define BD_LOG_LEVEL_WARNING "vr/warn/"
#define BD_LOG_LEVEL_INFO "vr/info/"

#if defined(__MINGW32__)
#define BD_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__) || defined(__clang__)
#define BD_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define BD_PRINTF_FORMAT(fmt, args)
#endif

#if defined(__GNUC__) || defined(__clang__)
#define BD_FUNCTION_SIGNATURE __PRETTY_FUNCTION__
#else
#define BD_FUNCTION_SIGNATURE __FUNCSIG__
#endif

void bdLogPrint(const bdLogLocation& location, const char* channel, const char* format, ...)
    BD_PRINTF_FORMAT(3, 4);

#define BD_LOG_LOCATION(level) \
  bdLogLocation { __FILE__, BD_FUNCTION_SIGNATURE, static_cast<unsigned int>(__LINE__), level }

#define bdLogError(channel, ...) \
  bdLogPrint(BD_LOG_LOCATION(BD_LOG_LEVEL_ERROR), channel, __VA_ARGS__)
#define bdLogWarn(channel, ...) \
  bdLogPrint(BD_LOG_LOCATION(BD_LOG_LEVEL_WARNING), channel, __VA_ARGS__)
#define bdLogInfo(channel, ...) bdLogPrint(BD_LOG_LOCATION(BD_LOG_LEVEL_INFO), channel, __VA_ARGS__)
// A failed internal check, logged on vr/err.
#define bdAssertMsg(...) bdLogPrint(BD_LOG_LOCATION(BD_LOG_LEVEL_ASSERT), "", __VA_ARGS__)
#define bdAssert(condition, ...) \
  do {                           \
    if (!(condition)) {          \
      bdAssertMsg(__VA_ARGS__);  \
    }                            \
  } while (0)
