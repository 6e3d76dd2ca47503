#pragma once
// The timing of hints (tool tips) for every window of the program: how long
// the mouse rests before a hint appears, and how long it stays.
namespace vektrano::platform {

// Hints appear after showAfterMs and stay stayMs. May be called again.
void setHintTimes(int showAfterMs, int stayMs);

}  // namespace vektrano::platform
