#pragma once
// What every harness needs: a scratch folder of its own (under $TMPDIR,
// removed when the process ends), message boxes that answer at once, the
// program folder pointed there, and a property failure that the fuzzer
// reports as a crash with the input that caused it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vektrano::fuzz {

// The process's scratch folder (created on first use), cp1250 like every path.
const std::string& scratch();
// A folder below scratch(), emptied: a fresh one for each input.
std::string freshFolder(const std::string& name);

// Installs the quiet message handler (default answers, nothing shown), sets
// XDG_CONFIG_HOME and the program folder to the scratch folder. The default
// LLVMFuzzerInitialize calls it; a harness with its own calls it first.
void setUp();
// setUp, with every question answered yes, so that what is asked happens.
void setUpAnsweringYes();

// The number of message boxes since the last call.
int takeMessageCount();

// Writes bytes to path (creating or replacing it); aborts when it cannot.
void writeFile(const std::string& path, std::string_view bytes);

// A property of the reader does not hold: prints why and aborts.
[[noreturn]] void fail(const std::string& why);

inline std::string_view bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// An input that carries several files: the parts between the marks
// "\0--\0"; parts the input lacks are empty.
std::vector<std::string> parts(std::string_view input, size_t count);

}  // namespace vektrano::fuzz
