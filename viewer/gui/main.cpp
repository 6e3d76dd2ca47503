// Palomir: shows one log file, read-only, and hands it over to Vektrano.
#include <QApplication>

#include "platform/gui/application.h"
#include "platform/gui/message_box.h"
#include "viewer/gui/palomir_window.h"
#include "viewer/log_view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vektrano::platform::setApplicationTitle(vektrano::palomir::kAppTitle);
  vektrano::platform::installQtMessageBoxes();
  vektrano::palomir::TForm1 form(QCoreApplication::arguments().mid(1));
  form.showAsStored();
  return app.exec();
}
