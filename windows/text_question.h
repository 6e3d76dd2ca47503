#pragma once
// The one-line input box of the tool windows (QInputDialog), and a way for
// tests to answer it, as the message recorder answers the message boxes.
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vektrano {

// Asks for one line of text; nothing when cancelled. Texts are cp1250.
using TextQuestion = std::function<std::optional<std::string>(
    const std::string& caption, const std::string& prompt, const std::string& text)>;
std::optional<std::string> askText(QWidget* parent, const std::string& caption,
                                   const std::string& prompt, const std::string& text);
// Replaces the box (empty restores it); returns the previous handler.
TextQuestion setTextQuestionHandler(TextQuestion handler);

}  // namespace vektrano
