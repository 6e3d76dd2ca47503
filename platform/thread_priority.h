#pragma once
// Thread priority of background work: the searches run one step below the
// normal priority so that typing in the entry line stays fluent.
namespace vektrano::platform {
// Lowers the calling thread one step below normal. Best effort: false when
// the system refused, and the thread then runs at its present priority.
bool lowerCurrentThreadPriority();
}  // namespace vektrano::platform
