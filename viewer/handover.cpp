#include "viewer/handover.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

#include "platform/cp1250.h"
#include "platform/files.h"

namespace vektrano::palomir {
namespace {

QString qPath(const std::string& path) {
  return platform::pathToQString(platform::fromFsPath(platform::fsPath(path)));
}

}  // namespace

std::string vektranoProgram(const std::string& fileApp) { return fileApp + "/vektrano"; }

std::string vektranoFolder(const std::string& fileApp, const std::string& ownFolder) {
  if (!fileApp.empty() && platform::fileExists(vektranoProgram(fileApp))) return fileApp;
  if (!ownFolder.empty() && platform::fileExists(vektranoProgram(ownFolder))) return ownFolder;
  return fileApp;
}

HandOver RunVektrano(const std::string& fileApp, const std::string& logPath) {
  const std::string program = vektranoProgram(fileApp);
  if (!platform::fileExists(program)) return HandOver::NotFound;
  const bool started = QProcess::startDetached(qPath(program), QStringList{qPath(logPath)});
  return started ? HandOver::Started : HandOver::NotStarted;
}

std::string vektranoNotFoundMessage() {
  return "Nemohu najít program VEKTRANO.EXE. Pokud je\r\n"
         "program VEKTRANO.EXE nainstalován, proveďte\r\n"
         "jeho spuštění a ukončení pro nastavení\r\n"
         "některých proměnných.\r\n"
         "\r\n"
         "Pak zkuste spuštění z Palomir znovu";
}

std::string vektranoNotStartedMessage(const std::string& program) {
  return "Program VEKTRANO nelze spustit : " + platform::pathText(program);
}

std::string vektranoPathReport(const std::string& fileApp) {
  return "Cesta k programu VEKTRANO je nastavena takto :\r\n\r\n" +
         platform::pathText(vektranoProgram(fileApp)) +
         " \r\n\r\n" +
         (platform::fileExists(vektranoProgram(fileApp))
              ? "Vše se zdá být v pořádku, program existuje"
              : "Zjištěna chyba, VEKTRANO NENALEZEN ! Proveďte instalaci programu VEKTRANO.");
}

}  // namespace vektrano::palomir
