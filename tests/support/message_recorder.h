#pragma once
// Records every message box the code under test shows instead of showing
// it. Each is answered with its default, or questions with `answer` when set.
#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"

namespace vektrano::test {

struct MessageRecorder {
  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  bool has(const std::string& text) const;

  std::vector<std::string> texts;
  std::optional<platform::Answer> answer;

 private:
  platform::MessageHandler previous_;
};

}  // namespace vektrano::test
