#pragma once
// Runs this test program again as a second process with a gtest filter, for
// tests whose two ends must each have a toolbox of their own.
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace child_test {

inline void setEnv(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

class ChildProcess {
 public:
  // Starts this program with only the tests the filter names.
  bool start(const std::string& filter) {
    const std::string arg = "--gtest_filter=" + filter;
#ifdef _WIN32
    char path[MAX_PATH];
    if (!GetModuleFileNameA(nullptr, path, sizeof path)) return false;
    std::string line = std::string("\"") + path + "\" " + arg;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(path, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return false;
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    return true;
#else
    m_pid = fork();
    if (m_pid < 0) return false;
    if (m_pid == 0) {
      execl("/proc/self/exe", "child", arg.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return true;
#endif
  }
  // True once the child has ended, with its exit code (-1 when it could not
  // be waited for); false while it runs. Never blocks.
  bool finished(int& code) {
#ifdef _WIN32
    if (m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) return false;
    code = wait();
    return true;
#else
    if (m_pid <= 0) {
      code = -1;
      return true;
    }
    int status = 0;
    const pid_t got = waitpid(m_pid, &status, WNOHANG);
    if (got == 0) return false;
    m_pid = 0;
    code = got == -1 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
#endif
  }
  // The exit code, or -1 when the child could not be waited for.
  int wait() {
#ifdef _WIN32
    if (!m_process) return -1;
    DWORD code = 1;
    WaitForSingleObject(m_process, INFINITE);
    GetExitCodeProcess(m_process, &code);
    CloseHandle(m_process);
    m_process = nullptr;
    return static_cast<int>(code);
#else
    if (m_pid <= 0) return -1;
    int status = 0;
    if (waitpid(m_pid, &status, 0) != m_pid) return -1;
    m_pid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  }

 private:
#ifdef _WIN32
  HANDLE m_process = nullptr;
#else
  pid_t m_pid = 0;
#endif
};

}  // namespace child_test
