#pragma once
// A program folder for tests that start Vektrano: the files the program ships
// with (data/), which start-up requires.
#include <string>

namespace vektrano::test {

// Copies every shipped data file into folder (created when missing).
void installProgramData(const std::string& folder);

}  // namespace vektrano::test
