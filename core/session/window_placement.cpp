#include "core/session/window_placement.h"

#include "platform/registry.h"

namespace vektrano {

std::string windowSettingsKey(int formNumber) {
  return "\\Software\\NOVR\\Vektrano\\Form" + std::to_string(formNumber);
}

int clampPlacement(int value, int screenExtent) {
  return value < 0 || value > screenExtent - 10 ? 1 : value;
}

WindowPlacement readPlacement(const std::string& keyPath, const WindowPlacement& defaults,
                              PlacementValues values, int screenWidth, int screenHeight) {
  WindowPlacement p = defaults;
  auto key = platform::RegistryKey::open(keyPath, false);
  if (!key) return p;
  try {
    p.top = clampPlacement(key->readInteger("Top"), screenHeight);
    p.left = clampPlacement(key->readInteger("Left"), screenWidth);
    if (values == PlacementValues::Full) {
      p.height = key->readInteger("Height");
      p.width = key->readInteger("Width");
      p.maximized = key->readBool("Maximized");
    }
  } catch (const platform::RegistryValueMissing&) {
    // The values read so far stand; the rest keep their defaults.
  }
  return p;
}

bool writePlacement(const std::string& keyPath, const WindowPlacement& placement,
                    PlacementValues values) {
  auto key = platform::RegistryKey::open(keyPath, true);
  if (!key) return false;
  if (values == PlacementValues::Full) key->writeBool("Maximized", placement.maximized);
  key->writeInteger("Top", placement.top);
  key->writeInteger("Left", placement.left);
  if (values == PlacementValues::Full) {
    key->writeInteger("Height", placement.height);
    key->writeInteger("Width", placement.width);
  }
  return key->flush();
}

}  // namespace vektrano
