#include "platform/gui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <cstdio>

#include "platform/cp1250.h"
#include "platform/gui/application.h"

namespace vektrano::platform {
namespace {

std::function<void(bool)>& observer() {
  static std::function<void(bool)> o;
  return o;
}

QString boxText(const std::string& cp1250) {
  std::string text;
  text.reserve(cp1250.size());
  for (size_t i = 0; i < cp1250.size(); ++i) {
    if (cp1250[i] == '\r') {
      text += '\n';
      if (i + 1 < cp1250.size() && cp1250[i + 1] == '\n') ++i;
    } else {
      text += cp1250[i];
    }
  }
  return toQString(text);
}

QMessageBox::Icon iconOf(const Message& m) {
  switch (m.kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Question:
      switch (m.icon) {
        case QuestionIcon::Information: return QMessageBox::Information;
        case QuestionIcon::Warning: return QMessageBox::Warning;
        case QuestionIcon::Question: break;
      }
      return QMessageBox::Question;
    case MessageKind::Info: break;
  }
  return QMessageBox::NoIcon;
}

Answer showOnMainThread(const Message& m) {
  std::string caption = m.caption.empty() ? applicationTitle() : m.caption;
  QMessageBox box;
  box.setWindowTitle(caption.empty() ? QCoreApplication::applicationName() : toQString(caption));
  box.setIcon(iconOf(m));
  box.setTextFormat(Qt::PlainText);
  box.setText(boxText(m.text));
  // Above every window, the tool windows that stay on top included: a box
  // half hidden behind the description window still waits for its answer.
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (m.kind == MessageKind::Question) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(m.defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
  }
  // A copy: the observer may replace itself while the box is up.
  auto notify = observer();
  if (notify) notify(true);
  const int result = box.exec();
  if (notify) notify(false);
  if (m.kind != MessageKind::Question) return Answer::Ok;
  return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace

Answer showQtMessageBox(const Message& m) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!qobject_cast<QApplication*>(app)) {  // no widgets to show it with
    std::fprintf(stderr, "%s\n", cp1250ToUtf8(fromQString(boxText(m.text))).c_str());
    return m.defaultAnswer;
  }
  if (QThread::currentThread() == app->thread()) return showOnMainThread(m);
  Answer answer = m.defaultAnswer;
  QMetaObject::invokeMethod(
      app, [&] { answer = showOnMainThread(m); }, Qt::BlockingQueuedConnection);
  return answer;
}

bool installQtMessageBoxes() {
  if (messagesToStderr()) return false;
  setMessageHandler(showQtMessageBox);
  return true;
}

void setMessageBoxObserver(std::function<void(bool shown)> o) { observer() = std::move(o); }

}  // namespace vektrano::platform
