// The log file as anybody may hand it over: its title line with the
// description, the contacts, the recalculation, sorting, statistics and the
// export page; then the same bytes as the one-shot description file
// "vektrano.exp". Each description is confirmed as New log does it, in a
// data folder of its own.
//
// Properties: a log written and read again writes the same bytes; a second
// recalculation changes nothing; the new log's name stays in the data folder
// and is found at once.
#include <filesystem>

#include "core/base/synonyms.h"
#include "core/log/expedition_description.h"
#include "core/log/log_export.h"
#include "core/log/log_file.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

const TabulkaSynonym& synonyma() {
  static const TabulkaSynonym t = [] {
    TabulkaSynonym s;
    s.add("František", "Franta");
    s.add("Jan", "Honza");
    return s;
  }();
  return t;
}

void checkNewName(const Popis& popis, const std::string& folder) {
  const std::string path = novyNazevDeniku(popis, folder);
  if (path.empty()) fuzz::fail("no free name in an empty folder");
  const fs::path p = platform::fsPath(path);
  if (p.parent_path() != platform::fsPath(folder) || p.filename().empty() ||
      p.filename() == "." || p.filename() == "..")
    fuzz::fail("new log name outside the data folder: " + path);
}

// Confirms the description into an empty, unnamed log.
void confirm(const Popis& popis) {
  const std::string folder = fuzz::freshFolder("data");
  checkNewName(popis, folder);
  LogDocument log;
  const VysledekPotvrzeni v = potvrdPopis(log, popis, folder);
  if (v.vysledek == Potvrzeni::Ulozeno &&
      (platform::fsPath(log.SaveFileName).parent_path() != platform::fsPath(folder) ||
       !platform::fileExists(log.SaveFileName)))
    fuzz::fail("confirmed log not written in the data folder: " + log.SaveFileName);
}

void asLog(const std::string& data) {
  LogDocument log;
  parseLog(data, log);
  const std::string written = formatLog(log);
  LogDocument again;
  parseLog(written, again);
  if (formatLog(again) != written) fuzz::fail("the written log reads back otherwise");

  PrepocetDeniku(log);
  const Grid once = log.Denik;
  if (PrepocetDeniku(log))
    for (int r = 1; r < once.rowCount(); ++r)
      for (int c = 0; c < kLogColumns; ++c)
        if (once.cell(r, c) != log.Denik.cell(r, c))
          fuzz::fail("a second recalculation changed row " + std::to_string(r) + " column " +
                     std::to_string(c) + ": [" + once.cell(r, c) + "] -> [" + log.Denik.cell(r, c) + "]");
  textExportu(log);
  for (int column : {kColVolacka, kColLokator, kColKm, kColCislo}) Setrid(log, column, synonyma());
  prumer(log);
  std::string start = log.PopisExpedice[kPopisZacatek], end = log.PopisExpedice[5];
  doplnCasyZdeniku(log, start, end);
  confirm(log.PopisExpedice);
}

void asDescriptionFile(const std::string& data) {
  const std::string folder = fuzz::freshFolder("program");
  const std::string path = predavaciSoubor(folder);
  fuzz::writeFile(path, data);
  LogDocument log;
  const Popis popis = naplnPopis(log, path, platform::DateTime{2008, 4, 8, 14, 5, 33});
  confirm(popis);
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(vektrano::fuzz::bytes(data, size));
  vektrano::asLog(bytes);
  vektrano::asDescriptionFile(bytes);
  vektrano::fuzz::takeMessageCount();
  return 0;
}
