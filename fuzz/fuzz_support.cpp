#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"

namespace vektrano::fuzz {

namespace {

namespace fs = std::filesystem;

std::atomic<int> messages{0};

void removeScratch() {
  std::error_code ec;
  fs::remove_all(platform::fsPath(scratch()), ec);
}

}  // namespace

const std::string& scratch() {
  // Never destroyed: the exit handler that removes the folder needs it.
  static const std::string& folder = *new std::string([] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vektrano-fuzz-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) fail("no scratch folder");
    std::atexit(removeScratch);
    return std::string(name.data());  // a path: the file system's bytes
  }());
  return folder;
}

std::string freshFolder(const std::string& name) {
  const std::string folder = platform::joinPath(scratch(), name);
  std::error_code ec;
  fs::remove_all(platform::fsPath(folder), ec);
  fs::create_directories(platform::fsPath(folder), ec);
  if (ec) fail("cannot make " + folder);
  return folder;
}

void setUp() {
  platform::setMessageHandler([](const platform::Message& m) {
    ++messages;
    return m.defaultAnswer;
  });
  const std::string home = platform::joinPath(scratch(), "home");
  std::error_code ec;
  fs::create_directories(platform::fsPath(home), ec);
  ::setenv("XDG_CONFIG_HOME", platform::fsPath(home).c_str(), 1);
  platform::setProgramFolder(home);
}

void setUpAnsweringYes() {
  setUp();
  const platform::MessageHandler quiet = platform::setMessageHandler({});
  platform::setMessageHandler([quiet](const platform::Message& m) {
    return m.kind == platform::MessageKind::Question ? platform::Answer::Yes : quiet(m);
  });
}

int takeMessageCount() { return messages.exchange(0); }

void writeFile(const std::string& path, std::string_view bytes) {
  if (!platform::writeFileAtomic(path, std::string(bytes))) fail("cannot write " + path);
}

std::vector<std::string> parts(std::string_view input, size_t count) {
  static const std::string_view mark("\0--\0", 4);
  std::vector<std::string> out;
  while (out.size() + 1 < count) {
    const size_t at = input.find(mark);
    if (at == std::string_view::npos) break;
    out.emplace_back(input.substr(0, at));
    input.remove_prefix(at + mark.size());
  }
  out.emplace_back(input);
  out.resize(count);
  return out;
}

void fail(const std::string& why) {
  // Control bytes shown as \xHH, so that the report shows every byte.
  std::string text;
  for (const char c : why) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      text += hex;
    } else {
      text += c;
    }
  }
  std::fprintf(stderr, "\n*** property failed: %s\n", platform::cp1250ToUtf8(text).c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace vektrano::fuzz

// Weak, so that a harness with a set-up of its own defines it instead.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int*, char***) {
  vektrano::fuzz::setUp();
  return 0;
}
