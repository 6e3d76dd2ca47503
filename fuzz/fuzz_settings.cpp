// The settings store (the registry file) as a hand edit or a damaged disk may
// leave it, and every reader of it: the main window's settings, a tool
// window's placement, the round distances, the calling sender, Palomir's
// settings; then the main window's settings and the print window's texts
// written back and the update's AddToRegistr.
//
// Property: the main window's settings and the print window's texts written
// read back as they were.
#include <filesystem>

#include "core/session/main_window_settings.h"
#include "core/session/print_window_settings.h"
#include "core/session/window_placement.h"
#include "core/tools/calling_sender.h"
#include "core/tools/round_distances.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "viewer/settings.h"

namespace vektrano {
namespace {

void settings(std::string_view data) {
  const std::string store = platform::registryFile();
  std::filesystem::create_directories(platform::fsPath(store).parent_path());
  fuzz::writeFile(store, data);

  MainWindowSettings s;
  readMainWindowSettings(s, "8.4.2008");
  readPlacement(windowSettingsKey(3), WindowPlacement{}, PlacementValues::Full, 1024, 768);
  Kolecko k;
  nactiKolecko(k);
  nactiNastaveniVyzvy(windowSettingsKey(17));
  palomir::readSettings();
  palomir::readFileApp();

  // Every key opened and every write re-reads the whole store, so what
  // writes a little comes while the store is the input, before the main
  // window's settings make it several times larger.
  if (auto key = platform::RegistryKey::open("\\Software\\NOVR\\Vektrano\\Jine", true)) {
    key->writeInteger("x", 1);
    key->deleteValue("x");
    key->flush();
  }
  AddToRegistr("Form1", "Lokportable", "JO60GQ");
  AddToRegistr("Form2", "Top", "0x10");
  AddToRegistr("Form2", "Top", "[DELETE]");
  ulozKolecko(k);

  // The print window's texts as it stores them on closing, whatever the
  // store held: read back as they were written.
  const PrintWindowTexts texts = readPrintWindowTexts({"Sněžka JO70UR", "Milous ZR-4"});
  const WindowPlacement placement =
      readPlacement(windowSettingsKey(7), WindowPlacement{}, PlacementValues::Full, 1024, 768);
  if (!writePlacement(windowSettingsKey(7), placement, PlacementValues::Full) || !writePrintWindowTexts(texts))
    fuzz::fail("the print window's settings cannot be written");
  const PrintWindowTexts back = readPrintWindowTexts({});
  if (back.header != texts.header || back.footer != texts.footer) fuzz::fail("the print window's texts read back otherwise");

  // Values as the program writes them: the first reading stops at the first
  // value missing, so the one to compare is the reading of a whole key.
  if (!writeMainWindowSettings(s, "/opt/vektrano")) return;
  MainWindowSettings once;
  readMainWindowSettings(once, "8.4.2008");
  if (!writeMainWindowSettings(once, "/opt/vektrano")) fuzz::fail("the store written once cannot be written again");
  MainWindowSettings twice;
  readMainWindowSettings(twice, "8.4.2008");
  if (!(twice == once)) fuzz::fail("the main window's settings read back otherwise");
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::settings(vektrano::fuzz::bytes(data, size));
  return 0;
}
