#pragma once
// core/pictures: the pictures of the log without a window: the contact map
// (this header), the locator map's neighbours and picture paths, the charts'
// data and the direction finding's table and bearings.
//
// The contact map: every contact of the log as a point on the fixed
// 576 x 480 picture of the region (12°E to 24°E, 47°N to 52°N, a 4 x 4
// pixel cell per sub-square), with lines from the own station, the country
// outline, the longest contact and the one being typed, the legend, and the
// HTML page whose image map gives each point a tooltip. The logic yields
// shapes in painting order; a window paints them onto its picture. The
// direction finding shares the pixel mapping, the outline and the shapes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"
#include "core/log/log.h"
#include "core/session/colour_schemes.h"

namespace vektrano {

inline constexpr int kSirkaMapy = 576;
inline constexpr int kVyskaMapy = 480;

// Pixel of a locator (letters a..z count as upper case); locators outside
// the region give pixels outside the picture.
int fx(std::string_view locator);
int fy(std::string_view locator);

struct Bod {
  int x = 0;
  int y = 0;
  bool operator==(const Bod&) const = default;
};
inline Bod pixelLokatoru(std::string_view locator) { return {fx(locator), fy(locator)}; }

// One shape of a map picture. Circles are the ellipse in the box (x1, y1) -
// (x2, y2), outlined in the pen and filled white; texts stand with their
// top left corner at (x1, y1) on a transparent background, in Arial of the
// size in points.
struct TvarMapy {
  enum class Druh { Cara, Kruh, Text };
  Druh druh = Druh::Cara;
  TColor barva = 0;
  int sirka = 1;  // pen width
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::string text;
  int velikost = 0;
  bool tucne = false;
  bool kurziva = false;
};
TvarMapy cara(Bod a, Bod b, TColor barva, int sirka);
TvarMapy kruh(Bod stred, int polomer, TColor barva, int sirka);
TvarMapy text(int x, int y, std::string s, int velikost, TColor barva, bool tucne, bool kurziva);

// The polyline of the outline file (one locator a line, beside the program
// with the extension ".v4m") in pixels, from the fixed point "JN99JM". A bad
// line is reported with its number and skipped (the line goes on from the
// last good point); a missing or unreadable file is reported and gives no
// outline. Messages go through platform/message.h.
inline constexpr const char* kZacatekObrysu = "JN99JM";
std::vector<Bod> nactiObrys(const std::string& path);
std::vector<TvarMapy> kresbaObrysu(const std::vector<Bod>& obrys, TColor barva, int sirka);

// A km cell as a whole number; anything else, and a negative value, is 0.
int kmBunky(std::string_view cell);

// What the generation reads besides the log grid.
struct VstupMapy {
  std::string own;           // lokportable
  bool vychoziBod = false;   // "Výchozí bod expedice uvádět"
  bool spojnice = false;     // "Generovat spojnice"
  // The contact being typed: its locator (LokatorProtistanice), the entry
  // line's text, the live distance label and the typed call text.
  std::string typedLocator;
  std::string vstup;
  std::string label1;
  std::string typedCall;
};

inline constexpr const char* kMapaHtmlObrazek = "jpg.jpg";  // the picture's name in the page
inline constexpr const char* kNeplatneLokatory =
    "Některé hodnoty lokátorů jsou neplatné (nebo prázdné) a nebyly zobrazeny ...";

struct MapaSpojeni {
  std::vector<TvarMapy> kresba;   // outline, lines, points, texts, in painting order
  std::vector<std::string> html;  // `MapaHtml`, with "jpg.jpg" for the picture
  std::vector<Bod> body;          // the contacts' points, longest first
  bool neplatneLokatory = false;  // some contacts were skipped
};

// Contacts are rows 1.. of denik; the longest (by km, equal distances in
// log order) is drawn first and in red. Texts in the page are escaped.
MapaSpojeni generujMapuSpojeni(const Grid& denik, const std::vector<Bod>& obrys,
                               const VstupMapy& vstup);

struct PripravaMapy {
  std::optional<MapaSpojeni> mapa;  // nothing: refused (the message was shown)
  bool denikZmenen = false;         // the recalculation changed the log
};
// `Mapaspojen1Click` without the window: the log recalculated, fewer than 2
// contacts or an invalid own locator refused with a message, the outline
// read from outlinePath, then the generation. vstup.own is taken from log.
PripravaMapy pripravMapuSpojeni(LogDocument& log, const std::string& outlinePath,
                                VstupMapy vstup);

// The page as saved: every "jpg.jpg" of the lines replaced by the picture's
// file name (escaped, never scanned again), CR LF after each line. The
// lines themselves are left as they are, so each save names its own picture.
std::string textStrankyMapy(const std::vector<std::string>& html, const std::string& obrazek);

// The legend (once per window): the title at the top, then the own
// locator, the longest contact, the average and the count with the starting
// point shown, or only the count. The statistics are recomputed first.
std::vector<TvarMapy> legendaMapy(LogDocument& log, bool vychoziBod,
                                  const std::string& titulek = {});

}  // namespace vektrano
