#pragma once
// The one routine that shows the user a message box. Texts are cp1250 with
// CR LF as line breaks. The program installs the Qt boxes at start-up; tests
// install a recorder. With no handler installed (and the program installs none
// when VEKTRANO_MESSAGES=stderr) every box prints its text to standard error
// and takes its default answer, so nothing waits for a user.
#include <functional>
#include <string>

namespace vektrano::platform {

enum class MessageKind { Info, Warning, Error, Question };
enum class Answer { Ok, Yes, No };
// The icon of a question; the other boxes show the icon of their kind.
enum class QuestionIcon { Question, Information, Warning };

struct Message {
  MessageKind kind;
  std::string text;      // cp1250
  std::string caption;   // cp1250; empty gives the application title
  Answer defaultAnswer;  // what a non-interactive run takes
  QuestionIcon icon = QuestionIcon::Question;
};

using MessageHandler = std::function<Answer(const Message&)>;

// Shows an OK box and waits for it.
void showMessage(const std::string& text, MessageKind kind = MessageKind::Info,
                 const std::string& caption = {});
// Asks a Yes/No question; true for Yes.
bool askYesNo(const std::string& text, bool defaultYes = false, const std::string& caption = {},
              QuestionIcon icon = QuestionIcon::Question);

// Replaces the handler; returns the previous one. An empty handler restores the
// built-in one (standard error, default answer).
MessageHandler setMessageHandler(MessageHandler handler);

// True when VEKTRANO_MESSAGES=stderr asks for non-interactive boxes.
bool messagesToStderr();

}  // namespace vektrano::platform
