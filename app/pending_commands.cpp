#include "app/pending_commands.h"

#include "platform/message.h"

namespace vektrano {

namespace {
constexpr const char* kMapa = "Mapa a fotografie lokátoru";
constexpr const char* kTisk = "Tisk deníku";
constexpr const char* kAktualizace = "Aktualizace programu";
}  // namespace

const std::vector<PendingCommand>& pendingCommands() {
  static const std::vector<PendingCommand> pending = {
      // The reference-data windows.
      {"Sprvaseznamloktor1", "TForm2", "Správa seznamu lokátorů"},
      {"SeznamVOLAEK1", "TForm3", "Správa seznamu volaček"},
      {"ZaazovnvolaekzDenkudoseznamuVolaek1", "TForm6", "Zařazování volaček z Deníku"},
      // Pictures of the log.
      {"otevrimapu", "TForm13", kMapa},
      {"Mapaspojen1", "TForm10", "Mapa spojení"},
      {"Spojendovelkchtverc1", "TForm9", "Graf spojení do velkých čtverců"},
      {"Potuspojenvzvislostinaasu1", "TForm21", "Graf spojení podle času"},
      {"Zamovnstanicepomocsmrovchantn1", "TForm20", "Zaměřování stanice"},
      // Printing.
      {"iskDenku2", "TForm7", kTisk},
      {"iskpopisu1", "TForm7", kTisk},
      // The internet update and the update zip.
      {"Existujenovverze1", "TForm15", kAktualizace},
      {"Export1", "Export1Click", "Export aktualizace"},
      {"Import1", "IMPORTaktualizacedoNOTEBOOKU1Click", "Import aktualizace"},
  };
  return pending;
}

const PendingCommand* pendingCommand(std::string_view command) {
  for (const PendingCommand& p : pendingCommands())
    if (command == p.command) return &p;
  return nullptr;
}

std::string pendingNotice(const PendingCommand& pending) {
  return std::string("Okno „") + pending.title +
         "“ zatím v programu není, tato funkce proto nic neprovede.";
}

bool announcePending(std::string_view command) {
  const PendingCommand* p = pendingCommand(command);
  if (!p) return false;
  platform::showMessage(pendingNotice(*p));
  return true;
}

}  // namespace vektrano
