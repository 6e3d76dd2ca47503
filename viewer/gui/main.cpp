// Palomir: shows one log file, read-only, and hands it over to Vektrano.
#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "platform/gui/application.h"
#include "platform/gui/message_box.h"
#include "platform/gui/screen_placement.h"
#include "platform/gui/translations.h"
#include "viewer/association.h"
#include "viewer/gui/palomir_window.h"
#include "viewer/log_view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vektrano::platform::installCzechQtTranslations();
  vektrano::platform::keepWindowsOnScreen();
  QPixmap icon;
  const std::string& svg = vektrano::palomir::palomirIconSvg();
  if (icon.loadFromData(reinterpret_cast<const uchar*>(svg.data()), static_cast<uint>(svg.size()),
                        "SVG"))
    QApplication::setWindowIcon(QIcon(icon));
  vektrano::platform::setApplicationTitle(vektrano::palomir::kAppTitle);
  vektrano::platform::installQtMessageBoxes();
  vektrano::palomir::TForm1 form(QCoreApplication::arguments().mid(1));
  form.showAsStored();
  return app.exec();
}
