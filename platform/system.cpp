#include "platform/system.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace vektrano::platform {
namespace {

std::atomic<ProcessPriority> current{ProcessPriority::Normal};

std::mutex& hookMutex() {
  static std::mutex m;
  return m;
}

ProcessPriorityHook& hook() {
  static ProcessPriorityHook h;
  return h;
}

bool setOnSystem(ProcessPriority priority) {
  int nice = 0;
  switch (priority) {
    case ProcessPriority::Normal: nice = 0; break;
    case ProcessPriority::High: nice = -10; break;
    case ProcessPriority::RealTime: nice = -20; break;
  }
  // A scheduling class above the time-sharing one could starve the desktop;
  // the strongest nice level is as far as it goes.
  return ::setpriority(PRIO_PROCESS, 0, nice) == 0;
}

}  // namespace

bool setProcessPriority(ProcessPriority priority) {
  ProcessPriorityHook h;
  {
    std::lock_guard lock(hookMutex());
    h = hook();
  }
  const bool ok = h ? h(priority) : setOnSystem(priority);
  if (ok) current = priority;
  return ok;
}

ProcessPriority processPriority() { return current; }

ProcessPriorityHook setProcessPriorityHook(ProcessPriorityHook h) {
  std::lock_guard lock(hookMutex());
  ProcessPriorityHook previous = std::move(hook());
  hook() = std::move(h);
  return previous;
}

MemoryStatus memoryStatus() {
  MemoryStatus m;
  // /proc/meminfo knows what can be allocated without swapping (MemAvailable);
  // sysinfo only knows the strictly free pages.
  std::uint64_t available = 0, swapFree = 0, swapTotal = 0, total = 0;
  bool haveAvailable = false;
  if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      unsigned long long kb = 0;
      if (std::sscanf(line, "MemTotal: %llu kB", &kb) == 1) total = kb * 1024;
      else if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
        available = kb * 1024;
        haveAvailable = true;
      } else if (std::sscanf(line, "SwapFree: %llu kB", &kb) == 1) {
        swapFree = kb * 1024;
      } else if (std::sscanf(line, "SwapTotal: %llu kB", &kb) == 1) {
        swapTotal = kb * 1024;
      }
    }
    std::fclose(f);
  }
  struct sysinfo si {};
  if (::sysinfo(&si) == 0) {
    const std::uint64_t unit = si.mem_unit ? si.mem_unit : 1;
    if (!total) total = si.totalram * unit;
    if (!haveAvailable) available = (si.freeram + si.bufferram) * unit;
    if (!swapFree) swapFree = si.freeswap * unit;
    if (!swapTotal) swapTotal = si.totalswap * unit;
  }
  m.totalPhysical = total;
  m.freePhysical = available;
  m.freeVirtual = available + swapFree;
  m.totalVirtual = total + swapTotal;
  return m;
}

}  // namespace vektrano::platform
