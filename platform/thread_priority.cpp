#include "platform/thread_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace vektrano::platform {

bool lowerCurrentThreadPriority() {
  // Linux keeps a nice value per thread; addressed by its thread id it
  // changes this thread alone, not the whole process.
  const id_t tid = static_cast<id_t>(::syscall(SYS_gettid));
  errno = 0;
  const int now = ::getpriority(PRIO_PROCESS, tid);
  if (now == -1 && errno != 0) return false;
  return ::setpriority(PRIO_PROCESS, tid, now < 19 ? now + 1 : now) == 0;
}

}  // namespace vektrano::platform
