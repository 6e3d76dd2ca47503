#include "core/entry/store_contact.h"

#include <charconv>

#include "core/base/geometry.h"
#include "core/log/log_file.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"

namespace vektrano {

const char* const kMaloZnaku = "! Málo znaků, ještě piš !";

const std::vector<std::string>& napovedaSeznamuMest() {
  static const std::vector<std::string> lines = {
      "    Zde se budou zobrazovat", "      názvy měst a kopců", "    v lokátoru, který zadáte ."};
  return lines;
}

namespace {

int cellNumber(const std::string& s) {
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size() ? v : 0;
}

}  // namespace

StoreResult ulozSpojeni(const std::string& line, const StoreOptions& o, LogDocument& log,
                        EntryState& state, const TabulkaReportu& tabulka,
                        const platform::DateTime& now, const Startform5& startform5) {
  StoreResult r;
  if (line.size() <= 6) {
    r.panel2 = kMaloZnaku;
    r.text = line;
    r.caret = static_cast<int>(line.size());
    return r;
  }
  EntryParts& p = state.parts;
  r.ulozeno = true;
  r.switchToVolacky = o.Automatika;

  if (p.CasSpojeni.empty()) {
    p.CasSpojeni = platform::formatTime(now);
    if (p.CasSpojeni.size() == 7) p.CasSpojeni = "0" + p.CasSpojeni;
  }
  if (o.doplndatum) p.CasSpojeni = "[" + platform::formatDate(now) + "] " + p.CasSpojeni;

  // Every search of the next contact starts afresh.
  state.klice = {klicPoUlozeni(), klicPoUlozeni(), klicPoUlozeni(), klicPoUlozeni()};
  p.KlicDuplicity = klicPoUlozeni();
  r.panels.wduplicity = false;
  r.panels.wmestacentr = false;
  r.panels.Memo4 = false;
  r.panels.wvolacky = false;
  r.panels.SeznamMest = false;

  const std::string& own = log.lokportable;
  const int km = vypocet(own, p.LokatorProtistanice);
  if (p.ReportVyslany.size() == 2 && p.ReportPrijaty.empty() && o.prijatyreportdoplnit)
    p.ReportPrijaty = p.ReportVyslany;
  if (o.reporty) {
    if (p.ReportVyslany.empty()) p.ReportVyslany = GenerujReport(tabulka, km);
    if (p.ReportPrijaty.empty()) p.ReportPrijaty = GenerujReport(tabulka, km);
  }

  // Row n holds contact n, whatever the counter said before.
  Grid& d = log.Denik;
  if (d.colCount() < kLogColumns) d.setColCount(kLogColumns);
  if (d.rowCount() < 1) d.setRowCount(1);
  r.panels.Denik = true;
  log.PocetSpojeni = d.rowCount();
  if (log.PocetSpojeni == 1) {
    setLogTitles(d);
    d.setFixedRows(1);
  }

  std::string volacka = p.VolackaText;
  if (o.ukladatazimut)
    volacka += " .azimut_" + std::to_string(pocitejazimut(own, p.LokatorProtistanice));
  std::string poznamka = p.Poznamka;
  if (o.doplnovatkanal) {
    const std::string kanal = ",CH-" + std::to_string(o.kanal) + " ";
    if (poznamka.compare(0, kanal.size(), kanal) != 0) poznamka = kanal + poznamka;
  }
  // A ";" would split the file's fields; no cell ever holds one.
  Grid::Row row = {std::to_string(log.PocetSpojeni),
                   odstranstredniky(p.CasSpojeni),
                   odstranstredniky(p.ReportVyslany),
                   odstranstredniky(volacka),
                   odstranstredniky(p.ReportPrijaty),
                   odstranstredniky(p.LokatorProtistanice),
                   std::to_string(km),
                   odstranstredniky(poznamka)};
  r.currentRow = log.PocetSpojeni;

  p.TextMista.clear();
  r.seznamMest = napovedaSeznamuMest();

  state.VelikostPismaVstupu = 30;
  state.PredchoziText = line;
  r.text.clear();
  r.caret = 0;

  const int stored = cellNumber(row[kColKm]);
  if (stored > log.NejdelsiKm) {
    log.NejdelsiKm = stored;
    r.nejdelsi = true;
  }
  r.panel1 = r.nejdelsi
                 ? "************************** Zatím nejdelší spojení *****************************"
                 : "   A jdeme na dalšího ....";

  std::string zaloha = log.ZalohaFileName;
  if (zaloha.empty()) zaloha = platform::joinPath(platform::programFolder(), "zaloha.qvl");
  if (!log.SaveFileName.empty()) state.bezJmenaOznameno = false;
  // The statistics follow from the new row; the log and the backup get the
  // same bytes. On a full or read-only disk the contact stays in the grid and
  // in whichever file could be written; the next Enter writes them all again.
  const ZapisDenikuAZalohy zapis = ulozNoveSpojeni(log, std::move(row), log.SaveFileName, zaloha);
  SpocitejCisloSpojeni(log);
  r.zapsanDenik = zapis.denik;
  r.zapsanaZaloha = zapis.zaloha;
  r.revizePredPridanim = zapis.revizePredPridanim;
  if (log.SaveFileName.empty() && !state.bezJmenaOznameno) {
    // A new log not yet described has no file of its own: the contacts live
    // in the crash backup until the description names the log. Told and
    // offered the description once: the later contacts are typed on in the
    // entry line.
    state.bezJmenaOznameno = true;
    r.popsatDenik = true;
    platform::showMessage(
        "Deník zatím nemá jméno souboru, spojení je uloženo jen v záloze :\r\n\r\n" +
            platform::pathText(logTargetName(zaloha)) +
            "\r\n\r\nPopiš prosím expedici [CTRL+E], deník se pak uloží pod svým jménem.",
        platform::MessageKind::Warning);
  }
  r.panel2 = log.panel2;

  if (o.automatkolecko) {
    r.kolecko = true;
    if (startform5) startform5(own, p.LokatorProtistanice);
  }
  return r;
}

}  // namespace vektrano
