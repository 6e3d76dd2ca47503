#pragma once
// The process priority and the machine's memory status, which the Windows
// programs took from the system: a rebuild of the indexes raises the priority
// while it splits a database, start-up and the index status line report the
// memory.
#include <cstdint>
#include <functional>

namespace vektrano::platform {

enum class ProcessPriority { Normal, High, RealTime };

// Best effort: raising the priority needs a privilege an ordinary user
// usually lacks, and then the call fails quietly and returns false. Normal
// always succeeds from any raised level.
bool setProcessPriority(ProcessPriority priority);
// The priority last set successfully (Normal before any): what a command
// that raises it for a moment puts back.
ProcessPriority processPriority();
// Test seam: a hook set here is called instead of the system and says
// whether the change succeeded. Returns the previous hook; empty: none.
using ProcessPriorityHook = std::function<bool(ProcessPriority)>;
ProcessPriorityHook setProcessPriorityHook(ProcessPriorityHook hook);

struct MemoryStatus {
  std::uint64_t totalPhysical = 0;  // bytes
  std::uint64_t freePhysical = 0;   // available to new allocations without swapping
  std::uint64_t freeVirtual = 0;    // free physical memory plus free swap
  std::uint64_t totalVirtual = 0;   // physical memory plus swap
};

MemoryStatus memoryStatus();

}  // namespace vektrano::platform
