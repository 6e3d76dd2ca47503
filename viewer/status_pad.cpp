#include "viewer/status_pad.h"

#include "platform/files.h"
#include "platform/message.h"

namespace vektrano::palomir {

std::string statusPadPath(const std::string& programPath) {
  const auto dot = programPath.find_last_of('.');
  const auto sep = programPath.find_last_of("/\\");
  const bool hasExt = dot != std::string::npos && (sep == std::string::npos || dot > sep + 1);
  return (hasExt ? programPath.substr(0, dot) : programPath) + ".txt";
}

bool writeStatusPad(const std::string& path, const std::string& text) {
  std::string line = text;
  // One line: a pasted line break must not split it.
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  if (platform::writeFileAtomic(path, line + "\r\n")) return true;
  platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                        platform::MessageKind::Error);
  return false;
}

}  // namespace vektrano::palomir
