#include "viewer/settings.h"

#include <exception>

#include "platform/files.h"
#include "platform/registry.h"

namespace vektrano::palomir {

PalomirSettings readSettings() {
  PalomirSettings s;
  std::optional<platform::RegistryKey> key;
  try {
    key = platform::RegistryKey::open(kPalomirKey, true);
  } catch (const std::exception&) {
  }
  if (!key) {
    s.top = 10;
    s.left = 10;
    s.height = 600;
    s.width = 450;
    return s;
  }
  s.keyOpened = true;
  try {
    s.top = key->readInteger("Top");
    s.left = key->readInteger("Left");
    s.height = key->readInteger("Height");
    s.width = key->readInteger("Width");
    s.associated = key->readBool("Associated");
    s.maximized = key->readBool("Maximized");
  } catch (const std::exception&) {
    // The first missing value ends the reading; the rest keep their defaults.
  }
  return s;
}

bool writeSettings(const WindowPlacement& p, bool associated) {
  try {
    auto key = platform::RegistryKey::open(kPalomirKey, true);
    if (!key) return false;
    key->writeInteger("Top", p.top);
    key->writeInteger("Left", p.left);
    key->writeInteger("Height", p.height);
    key->writeInteger("Width", p.width);
    key->writeBool("Maximized", p.maximized);
    key->writeBool("Associated", associated);
    return key->flush();
  } catch (const std::exception&) {
    return false;
  }
}

std::string readFileApp() {
  try {
    // Read only: the viewer never adds a key to Vektrano's settings.
    auto key = platform::RegistryKey::open(kVektranoKey, false);
    return key ? platform::pathFromText(key->readString("FileApp")) : std::string();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace vektrano::palomir
