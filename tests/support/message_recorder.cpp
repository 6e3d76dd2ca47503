#include "tests/support/message_recorder.h"

#include <algorithm>

namespace vektrano::test {

MessageRecorder::MessageRecorder() {
  previous_ = platform::setMessageHandler([this](const platform::Message& m) {
    texts.push_back(m.text);
    if (answer && m.kind == platform::MessageKind::Question) return *answer;
    return m.defaultAnswer;
  });
}

MessageRecorder::~MessageRecorder() { platform::setMessageHandler(previous_); }

bool MessageRecorder::has(const std::string& text) const {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace vektrano::test
