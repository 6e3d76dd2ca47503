// The map outline ".v4m" as the update, a hand edit or a damaged disk may
// leave it, with a log whose contacts go on the contact map (the input: a
// byte of options, the outline, the log and the name the page is saved
// under, see fuzz::parts). The outline is read and drawn, the map generated
// and its page written; each contact's locator map and photos are looked
// for as the locator map does.
//
// Properties: reading never changes the outline; each good line gives a
// point and each bad one a message; no text of the log or of the picture's
// name opens or closes a tag or an attribute of the page; every map and
// photo path lies in its folder.
#include <algorithm>
#include <filesystem>

#include "core/base/geometry.h"
#include "core/log/log_file.h"
#include "core/pictures/contact_map.h"
#include "core/pictures/locator_map.h"
#include "core/reference/list_data.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

int count(const std::string& line, char c) { return static_cast<int>(std::count(line.begin(), line.end(), c)); }

// As many "<", ">" and quotes as the page's own markup puts there.
void checkMarkup(const std::string& line, int tags, int quotes) {
  if (count(line, '<') != tags || count(line, '>') != tags || count(line, '"') != quotes)
    fuzz::fail("a text changed the page's markup: " + line);
}

bool inside(const std::string& path, const std::string& folder) {
  const fs::path rel = platform::fsPath(path).lexically_normal().lexically_relative(platform::fsPath(folder));
  if (rel.empty() || rel == ".") return false;
  for (const fs::path& part : rel)
    if (part == "..") return false;
  return true;
}

void lookForPictures(const std::string& locator, const std::string& maps, const std::string& photos) {
  const std::string path = cestaMapy(maps, locator);
  if (!path.empty() && !inside(path, maps)) fuzz::fail("a map path outside the map folder: " + path);
  if (const auto found = najdiMapu(maps, locator); found && !inside(*found, maps))
    fuzz::fail("a map found outside the map folder: " + *found);
  for (const Fotografie& f : seznamFotografii(photos, locator)) {
    if (!inside(f.cesta, photos)) fuzz::fail("a photo outside the photo folder: " + f.cesta);
    if (najdiFotografii(photos, f.polozka) != f.cesta) fuzz::fail("a photo listed is not found again: " + f.polozka);
  }
  najdiFotografii(photos, locator + "-A.jpg");
  zjistiSousedy(locator);
}

void mapOutline(std::string_view input) {
  const std::vector<std::string> p = fuzz::parts(input, 4);
  const unsigned options = p[0].empty() ? 0 : static_cast<unsigned char>(p[0][0]);
  const std::string folder = fuzz::freshFolder("mapa");
  const std::string outline = platform::joinPath(folder, "vektrano.v4m");
  fuzz::writeFile(outline, p[1]);

  fuzz::takeMessageCount();
  const std::vector<Bod> points = nactiObrys(outline);
  if (platform::readWholeFile(outline) != p[1]) fuzz::fail("reading changed the outline");
  int good = 0, bad = 0;
  for (const std::string& line : splitFileLines(p[1])) (testlok(line) ? good : bad)++;
  if (static_cast<int>(points.size()) != good + 1 || fuzz::takeMessageCount() != bad)
    fuzz::fail("the outline has not one point per good line and one message per bad one");
  if (kresbaObrysu(points, 0, 4).size() != points.size() - 1) fuzz::fail("the outline is not one line per step");

  LogDocument log;
  parseLog(p[2], log);
  VstupMapy v;
  v.vychoziBod = options & 1;
  v.spojnice = options & 2;
  v.typedLocator = log.contactCount() > 0 ? log.Denik.cell(1, kColLokator) : std::string();
  v.vstup = "OK1ABC 59 " + v.typedLocator;
  v.label1 = "123 km";
  v.typedCall = "OK1ABC";
  const PripravaMapy prepared = pripravMapuSpojeni(log, outline, v);
  if (prepared.mapa) {
    int areas = 0;
    for (const std::string& line : prepared.mapa->html)
      if (line.rfind("<area", 0) == 0) {
        checkMarkup(line, 1, 8);
        ++areas;
      } else if (line.rfind("<title>", 0) == 0) {
        checkMarkup(line, 2, 0);
      }
    if (areas != static_cast<int>(prepared.mapa->body.size()) + (v.vychoziBod ? 1 : 0))
      fuzz::fail("not one area per point of the map");
    const std::string page = textStrankyMapy(prepared.mapa->html, p[3]);
    const std::string plain = textStrankyMapy(prepared.mapa->html, "mapa.jpg");
    for (char c : {'<', '>', '"'})
      if (count(page, c) != count(plain, c)) fuzz::fail("the picture's name changed the page's markup: " + p[3]);
    legendaMapy(log, v.vychoziBod, "Mapa");
  }

  const std::string maps = platform::joinPath(folder, "UlozisteMap");
  const std::string photos = platform::joinPath(folder, "UlozisteFoto");
  fs::create_directories(platform::fsPath(maps + "/JO70"));
  fs::create_directories(platform::fsPath(photos + "/jo70FOTO"));
  fuzz::writeFile(maps + "/JO70/jo70po.JPG", "mapa");
  fuzz::writeFile(photos + "/jo70FOTO/JO70PO-B.jpg", "foto");
  for (int r = 1; r < log.Denik.rowCount() && r < 6; ++r)
    lookForPictures(log.Denik.cell(r, kColLokator), maps, photos);
  lookForPictures(log.lokportable, maps, photos);
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::mapOutline(vektrano::fuzz::bytes(data, size));
  vektrano::fuzz::takeMessageCount();
  return 0;
}
