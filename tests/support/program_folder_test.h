#pragma once
// A fixture for tests of the main window: a program folder, a settings store
// and a runtime folder of the test's own, and every message box written down
// in messages_ (answered with its default) instead of shown. A fixture that
// overrides SetUp or TearDown calls these first or last.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/message.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

namespace vektrano::test {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(runtime_.path().c_str(), 0700);
    ::setenv("VEKTRANO_HOME", home_.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      messages_.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  void TearDown() override {
    platform::setMessageHandler(previous_);
    ::unsetenv("VEKTRANO_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_RUNTIME_DIR");
  }

  std::string home() const { return home_.path(); }
  // The file holds exactly these bytes.
  static void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The locator database and the sound file, which start-up requires and
  // never writes.
  void provideRequired() const {
    put(platform::dataFile(home(), ".zr4"), "JO70GQ;Praha\r\nJO60LJ;Klínovec\r\n");
    put(platform::dataFile(home(), ".wav"), "RIFF");
  }

  TempDir home_, config_, runtime_;
  std::vector<std::string> messages_;
  platform::MessageHandler previous_;
};

}  // namespace vektrano::test
