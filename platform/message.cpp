#include "platform/message.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/cp1250.h"

namespace vektrano::platform {
namespace {

Answer toStderr(const Message& m) {
  std::string text;
  text.reserve(m.text.size());
  for (size_t i = 0; i < m.text.size(); ++i)
    if (!(m.text[i] == '\r' && i + 1 < m.text.size() && m.text[i + 1] == '\n')) text += m.text[i];
  const std::string line =
      std::string("[") + (m.kind == MessageKind::Question ? "otázka" : "zpráva") + "] " + text;
  std::fprintf(stderr, "%s\n", cp1250ToUtf8(line).c_str());
  return m.defaultAnswer;
}

std::mutex& handlerMutex() {
  static std::mutex m;
  return m;
}

MessageHandler& handler() {
  static MessageHandler h;
  return h;
}

Answer dispatch(const Message& m) {
  MessageHandler h;
  {
    std::lock_guard lock(handlerMutex());
    h = handler();
  }
  if (!h) return toStderr(m);
  return h(m);
}

}  // namespace

bool messagesToStderr() {
  const char* v = std::getenv("VEKTRANO_MESSAGES");
  return v && std::strcmp(v, "stderr") == 0;
}

void showMessage(const std::string& text, MessageKind kind, const std::string& caption) {
  dispatch(Message{kind, text, caption, Answer::Ok});
}

bool askYesNo(const std::string& text, bool defaultYes, const std::string& caption,
              QuestionIcon icon) {
  return dispatch(Message{MessageKind::Question, text, caption,
                          defaultYes ? Answer::Yes : Answer::No, icon}) == Answer::Yes;
}

MessageHandler setMessageHandler(MessageHandler h) {
  std::lock_guard lock(handlerMutex());
  MessageHandler old = std::move(handler());
  handler() = std::move(h);
  return old;
}

}  // namespace vektrano::platform
