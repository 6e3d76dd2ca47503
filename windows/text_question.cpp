#include "windows/text_question.h"

#include <QInputDialog>

#include "platform/cp1250.h"

namespace vektrano {
namespace {
TextQuestion& handler() {
  static TextQuestion h;
  return h;
}
}  // namespace

std::optional<std::string> askText(QWidget* parent, const std::string& caption,
                                   const std::string& prompt, const std::string& text) {
  if (handler()) return handler()(caption, prompt, text);
  bool ok = false;
  const QString answer =
      QInputDialog::getText(parent, platform::toQString(caption), platform::toQString(prompt),
                            QLineEdit::Normal, platform::toQString(text), &ok);
  if (!ok) return std::nullopt;
  return platform::fromQString(answer);
}

TextQuestion setTextQuestionHandler(TextQuestion h) {
  TextQuestion previous = std::move(handler());
  handler() = std::move(h);
  return previous;
}

}  // namespace vektrano
