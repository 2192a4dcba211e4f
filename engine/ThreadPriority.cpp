// Thread priority on Linux (a thread's nice value) and on Windows.
#include "engine/ThreadPriority.h"

#ifdef _WIN32
#include <windows.h>

void LowerCurrentThreadPriority() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}
#else
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

void LowerCurrentThreadPriority() {
  // On Linux the nice value is per thread when addressed by the thread id.
  const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
  errno = 0;
  const int current = ::getpriority(PRIO_PROCESS, thread);
  if (errno == 0) {
    ::setpriority(PRIO_PROCESS, thread, current + 1);
  }
}
#endif
