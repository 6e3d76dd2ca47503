// The contact archive's files as a damaged disk or another machine may leave
// them: the index "archiv.zr4", the catalogue "deniky.pbl" of the first
// archive and a log to be filed (the input: the three parts, see
// fuzz::parts). The archive is read, every archive chosen, its logs
// searched, a new archive made and the log filed.
//
// Properties: nothing is written outside the archive folder; a new archive
// and a filed log get numbers no record has.
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "transfer/archive.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

void archive(std::string_view input) {
  const std::vector<std::string> p = fuzz::parts(input, 3);
  const std::string top = fuzz::freshFolder("archiv");
  const std::string root = platform::joinPath(top, "UlozisteArchiv");
  const std::string first = platform::joinPath(root, "001");
  fs::create_directories(platform::fsPath(first));
  fuzz::writeFile(platform::joinPath(root, "archiv.zr4"), p[0]);
  fuzz::writeFile(platform::joinPath(first, "deniky.pbl"), p[1]);
  const std::string log = platform::joinPath(top, "denik.qvl");
  fuzz::writeFile(log, p[2]);

  ArchivStore store(root);
  store.nactiArchivy();
  for (int i = 0; i < static_cast<int>(store.archivy().size()) && i < 4; ++i) {
    store.vyber(i);
    store.hledej("JO70", "OK", KeyboardOptions{true, false});
  }
  const NavrhZarazeni navrh = navrhniZarazeni(log, platform::DateTime{2008, 4, 8, 14, 5, 33});
  const ZobrazenyDenik shown = nactiarchivdenik(log);
  for (int r = 1; r < shown.grid.rowCount() && r < 8; ++r) souhrnSpojeni({}, shown.grid.rows()[static_cast<size_t>(r)]);

  const std::vector<Archiv> before = store.archivy();
  if (const auto added = store.pridejArchiv("Expedice Sněžka 2008")) {
    const std::int32_t n = store.archivy()[static_cast<size_t>(*added)].cislo;
    for (const Archiv& a : before)
      if (a.cislo == n) fuzz::fail("a new archive took a number in use");
    ZarazenyDenik d;
    d.od = navrh.od;
    d.do_ = navrh.do_;
    d.lokator = navrh.lokator;
    d.nazev = navrh.nazev;
    d.popis = navrh.popis;
    store.zaradDenik(d, log);
  }
  if (!store.deniky().empty()) store.opravNazev(0, "Nový název");

  for (const auto& e : fs::directory_iterator(platform::fsPath(top)))
    if (e.path().filename() != "UlozisteArchiv" && e.path().filename() != "denik.qvl")
      fuzz::fail("a file was written outside the archive: " + platform::fromFsPath(e.path()));
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::archive(vektrano::fuzz::bytes(data, size));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
