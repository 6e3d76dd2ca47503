#include "core/session/print_window_settings.h"

#include "core/session/window_placement.h"
#include "platform/registry.h"

namespace vektrano {

namespace {

const int kPrintWindowForm = 7;

}  // namespace

PrintWindowTexts readPrintWindowTexts(const PrintWindowTexts& defaults) {
  auto key = platform::RegistryKey::open(windowSettingsKey(kPrintWindowForm), false);
  if (!key) return defaults;
  try {
    // The texts come after the placement: a placement cut short ends the
    // reading before them.
    for (const char* name : {"Top", "Left", "Height", "Width"}) key->readInteger(name);
  } catch (const platform::RegistryValueMissing&) {
    return defaults;
  }
  return {key->readString("Header"), key->readString("Footer")};
}

bool writePrintWindowTexts(const PrintWindowTexts& texts) {
  auto key = platform::RegistryKey::open(windowSettingsKey(kPrintWindowForm), true);
  if (!key) return false;
  key->writeString("Header", texts.header);
  key->writeString("Footer", texts.footer);
  return key->flush();
}

}  // namespace vektrano
