// The contact map: pixel mapping, outline, points, page and legend.
#include "core/pictures/contact_map.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

struct Recorder {
  std::vector<std::string> texts;
  platform::MessageHandler previous;
  Recorder() {
    previous = platform::setMessageHandler([this](const platform::Message& m) {
      texts.push_back(m.text);
      return m.defaultAnswer;
    });
  }
  ~Recorder() { platform::setMessageHandler(previous); }
};

TEST(ContactMap, PixelOfALocator) {
  const struct {
    const char* l;
    int x, y;
  } cases[] = {
      {"JN99JM", 328, 240}, {"JO61AX", 4, 4},     {"KN17XA", 576, 480}, {"JO60AX", 4, 100},
      {"jn99jm", 328, 240}, {"jO61aX", 4, 4},     {"JO70GQ", 124, 128}, {"JO80GQ", 220, 128},
      {"JO70GR", 124, 124}, {"IO91WM", -580, 48},  // outside: drawn and clipped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fx(c.l), c.x) << c.l;
    EXPECT_EQ(fy(c.l), c.y) << c.l;
  }
}

// Own JO70GQ; the longest JN99JM, two at 141 km in log order, one without
// a locator, one with markup in its call sign.
Grid smallLog() {
  Grid g(kLogColumns, 1);
  g.appendRow({"1", "10:00", "59", "OK1AAA", "59", "JO80GQ", "141", ""});
  g.appendRow({"2", "10:05", "59", "OK2BBB", "59", "JN99JM", "329", ""});
  g.appendRow({"3", "10:07", "59", "PETR", "59", "", "0", ""});
  g.appendRow({"4", "10:09", "59", "OK1CCC", "59", "JO60GQ", "141", ""});
  g.appendRow({"5", "10:12", "59", "Tom<&>\"", "59", "JO70GR", "5", ""});
  return g;
}

VstupMapy inputs(bool vychoziBod, bool spojnice) {
  VstupMapy v;
  v.own = "JO70GQ";
  v.vychoziBod = vychoziBod;
  v.spojnice = spojnice;
  return v;
}

const std::vector<std::string> kHead = {
    "<html>",
    "<head>",
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">",
    "<meta name=\"GENERATOR\" content=\"Vektrano.exe\">",
    "<meta name=\"HomePage\" content=\"http://www.vektrano.example/\">",
    "<title>Spojení z lokátoru : JO70GQ</title>",
    "</head>",
    "<body>",
    "<p>",
    "<!-- START - PRO REDAKČNÍ SYSTÉM -->",
    "<map name=\"jpg.jpg\">"};
const std::vector<std::string> kTail = {
    "</map>", "<!-- END - PRO REDAKČNÍ SYSTÉM -->",
    "<img border=\"0\" src=\"jpg.jpg\" usemap=\"#jpg.jpg\" width=\"576\" height=\"480\"></p>",
    "</body>", "</html>"};

std::vector<std::string> page(std::vector<std::string> areas) {
  std::vector<std::string> out = kHead;
  out.insert(out.end(), areas.begin(), areas.end());
  out.insert(out.end(), kTail.begin(), kTail.end());
  return out;
}

TEST(ContactMap, PointsLongestFirstAndThePageWithTheStartingPoint) {
  const MapaSpojeni m = generujMapuSpojeni(smallLog(), {}, inputs(true, true));
  EXPECT_EQ(m.body, (std::vector<Bod>{{328, 240}, {220, 128}, {28, 128}, {124, 124}}));
  EXPECT_TRUE(m.neplatneLokatory);
  EXPECT_EQ(m.html,
            page({"<area href=\"#\" title=\"[JN99JM : 329 km] OK2BBB\" shape=\"circle\" "
                  "coords=\"328,240, 3\">",
                  "<area href=\"#\" title=\"[JO80GQ : 141 km] OK1AAA\" shape=\"circle\" "
                  "coords=\"220,128, 3\">",
                  "<area href=\"#\" title=\"[JO60GQ : 141 km] OK1CCC\" shape=\"circle\" "
                  "coords=\"28,128, 3\">",
                  "<area href=\"#\" title=\"[JO70GR : 5 km] Tom&lt;&amp;&gt;&quot;\" "
                  "shape=\"circle\" coords=\"124,124, 3\">",
                  "<area href=\"#\" title=\"[JO70GQ] *** Výchozí bod expedice ***\" "
                  "shape=\"circle\" coords=\"124,128, 6\">"}));
}

TEST(ContactMap, PageWithoutTheStartingPointAndWithoutLines) {
  const MapaSpojeni m = generujMapuSpojeni(smallLog(), {}, inputs(false, false));
  EXPECT_EQ(m.html,
            page({"<area href=\"#\" title=\"[JN99JM] OK2BBB\" shape=\"circle\" "
                  "coords=\"328,240, 3\">",
                  "<area href=\"#\" title=\"[JO80GQ] OK1AAA\" shape=\"circle\" "
                  "coords=\"220,128, 3\">",
                  "<area href=\"#\" title=\"[JO60GQ] OK1CCC\" shape=\"circle\" "
                  "coords=\"28,128, 3\">",
                  "<area href=\"#\" title=\"[JO70GR] Tom&lt;&amp;&gt;&quot;\" "
                  "shape=\"circle\" coords=\"124,124, 3\">"}));
  for (const TvarMapy& t : m.kresba) EXPECT_NE(t.druh, TvarMapy::Druh::Cara);
}

TEST(ContactMap, PensOfLinesPointsAndTheStartingPoint) {
  const MapaSpojeni m = generujMapuSpojeni(smallLog(), {{328, 240}, {124, 128}}, inputs(true, true));
  std::vector<std::string> seen;
  for (const TvarMapy& t : m.kresba) {
    const char* kind = t.druh == TvarMapy::Druh::Cara ? "line" : t.druh == TvarMapy::Druh::Kruh ? "circle" : "text";
    seen.push_back(std::string(kind) + " " + std::to_string(t.x1) + "," + std::to_string(t.y1) +
                   "-" + std::to_string(t.x2) + "," + std::to_string(t.y2) + " " +
                   std::to_string(t.barva) + "/" + std::to_string(t.sirka));
    if (t.druh == TvarMapy::Druh::Text) seen.back() = "text " + t.text;
  }
  const std::string red = std::to_string(0x0000FF), silver = std::to_string(0xC0C0C0),
                    maroon = std::to_string(0x000080), navy = std::to_string(0x800000);
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "line 328,240-124,128 " + navy + "/4",  // the outline
                      "circle 120,124-128,132 " + red + "/3",
                      "line 124,128-328,240 " + red + "/3",  // the longest
                      "circle 326,238-330,242 " + red + "/1",
                      "line 124,128-220,128 " + silver + "/1",
                      "circle 218,126-222,130 " + maroon + "/1",
                      "line 124,128-28,128 " + silver + "/1",
                      "circle 26,126-30,130 " + maroon + "/1",
                      "line 124,128-124,124 " + silver + "/1",
                      "circle 122,122-126,126 " + maroon + "/1",
                      "circle 120,124-128,132 " + red + "/3",  // again on top
                      "text Vektrano  ver: 6.03 (2008/04/08) ",
                      "text Vytvořeno v programu Vektrano - www.vektrano.example",
                  }));
}

TEST(ContactMap, TheContactBeingTypedIsDrawnOnlyWithAValidLocatorAndALongerLine) {
  VstupMapy v = inputs(false, false);
  v.typedLocator = "JN99JM";
  v.vstup = "OK1XYZ JN99JM";
  v.label1 = "329 km";
  v.typedCall = "OK1XYZ";
  MapaSpojeni m = generujMapuSpojeni(smallLog(), {}, v);
  ASSERT_GE(m.kresba.size(), 4u);
  const auto last = m.kresba.end() - 4;
  EXPECT_EQ(last[0].druh, TvarMapy::Druh::Cara);
  EXPECT_EQ(last[0].barva, 0x008000u);
  EXPECT_EQ(std::make_pair(last[0].x2, last[0].y2), std::make_pair(328, 240));
  EXPECT_EQ(last[1].druh, TvarMapy::Druh::Kruh);
  EXPECT_EQ(last[1].x1, 325);
  EXPECT_EQ(last[2].text, "329 km");
  EXPECT_EQ(std::make_tuple(last[2].x1, last[2].y1, last[2].velikost, last[2].tucne),
            std::make_tuple(10, 376, 15, true));
  EXPECT_EQ(last[3].text, "OK1XYZ");
  EXPECT_EQ(last[3].y1, 400);

  const size_t plain = generujMapuSpojeni(smallLog(), {}, inputs(false, false)).kresba.size();
  for (auto [locator, line] : {std::pair{"JN99J", "OK1XYZ JN99J"}, std::pair{"JN99JM", "JN99J"}}) {
    v.typedLocator = locator;
    v.vstup = line;
    EXPECT_EQ(generujMapuSpojeni(smallLog(), {}, v).kresba.size(), plain) << line;
  }
}

TEST(ContactMap, OutlineGoesOnFromTheLastGoodPointAndReportsBadLines) {
  test::TempDir dir;
  const std::string path = dir.file("vektrano.v4m");
  std::ofstream(path) << "JO70GQ\r\nJN99ZZ\r\njo80gq\nJO60GQ\r\n";
  Recorder r;
  EXPECT_EQ(nactiObrys(path), (std::vector<Bod>{{328, 240}, {124, 128}, {28, 128}}));
  EXPECT_EQ(r.texts, (std::vector<std::string>{
                         "Chyba v lokátoru JN99ZZ na řádku 2 v souboru : " + path,
                         "Chyba v lokátoru jo80gq na řádku 3 v souboru : " + path}));
  EXPECT_EQ(kresbaObrysu(nactiObrys(path), 0x008000, 2).size(), 2u);

  r.texts.clear();
  EXPECT_TRUE(nactiObrys(dir.file("none.v4m")).empty());
  EXPECT_EQ(r.texts, (std::vector<std::string>{
                         "Chybí soubor : " + dir.file("none.v4m") +
                         "\r\n\r\nNebude vykreslen obrys mapy.\r\n\r\nJe možno provést "
                         "aktualizaci programu"}));
}

TEST(ContactMap, GenerationRefusesTooFewContactsAndAnInvalidOwnLocator) {
  test::TempDir dir;
  Recorder r;
  LogDocument one;
  one.Denik.appendRow({"1", "10:00", "59", "OK1AAA", "59", "JO80GQ", "", ""});
  EXPECT_FALSE(pripravMapuSpojeni(one, dir.file("none.v4m"), {}).mapa);
  LogDocument bad;
  bad.lokportable = "JO70G";
  bad.Denik.appendRow({"1", "10:00", "59", "OK1AAA", "59", "JO80GQ", "", ""});
  bad.Denik.appendRow({"2", "10:05", "59", "OK2BBB", "59", "JN99JM", "", ""});
  EXPECT_FALSE(pripravMapuSpojeni(bad, dir.file("none.v4m"), {}).mapa);
  EXPECT_EQ(r.texts, (std::vector<std::string>{"V deníku je třeba mít alespoň 2 spojení !",
                                               "Lokátor : [JO70G] není platným lokátorem ..."}));

  // A good log is recalculated first: the empty km cells get the distances.
  r.texts.clear();
  LogDocument good = bad;
  good.lokportable = "JO70GQ";
  const PripravaMapy p = pripravMapuSpojeni(good, dir.file("none.v4m"), inputs(true, false));
  ASSERT_TRUE(p.mapa);
  EXPECT_TRUE(p.denikZmenen);
  EXPECT_EQ(good.Denik.cell(2, kColKm), "329");
  EXPECT_EQ(p.mapa->body.front(), (Bod{328, 240}));
  EXPECT_EQ(r.texts.size(), 1u);  // the missing outline
}

TEST(ContactMap, SavedPageNamesItsOwnPictureEveryTime) {
  const std::vector<std::string> html = {"<map name=\"jpg.jpg\">", "src=\"jpg.jpg\" usemap=\"#jpg.jpg\""};
  EXPECT_EQ(textStrankyMapy(html, "mapa.jpg"),
            "<map name=\"mapa.jpg\">\r\nsrc=\"mapa.jpg\" usemap=\"#mapa.jpg\"\r\n");
  // The name is put in once per placeholder and never scanned again.
  EXPECT_EQ(textStrankyMapy(html, "x_jpg.jpg"),
            "<map name=\"x_jpg.jpg\">\r\nsrc=\"x_jpg.jpg\" usemap=\"#x_jpg.jpg\"\r\n");
  EXPECT_EQ(textStrankyMapy({"a jpg.jpg"}, "M&\"s\".jpg"), "a M&amp;&quot;s&quot;.jpg\r\n");
  EXPECT_EQ(html[0], "<map name=\"jpg.jpg\">");
}

TEST(ContactMap, LegendReadsFreshStatistics) {
  LogDocument log;
  log.Denik = smallLog();
  log.NejdelsiKm = 7;  // stale: the statistics ran before the last contacts
  log.PrumerKm = 1;
  std::vector<std::string> texts;
  for (const TvarMapy& t : legendaMapy(log, true))
    texts.push_back(std::to_string(t.x1) + "," + std::to_string(t.y1) + " " + t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "284,90 Lokátor stanoviště", "440,90 : JO70GQ",
                       "284,110 Nejdelší spojení", "440,110 : 329 km  ",
                       "284,130 Průměr na 1 spojení", "440,130 : 154 km/spoj",
                       "284,150 Celkem spojení", "440,150 : 5"}));
  const auto only = legendaMapy(log, false, "Hora 2008");
  ASSERT_EQ(only.size(), 2u);
  EXPECT_EQ(only[0].text, "Hora 2008");
  EXPECT_EQ(std::make_tuple(only[0].x1, only[0].y1, only[0].velikost), std::make_tuple(2, 0, 8));
  EXPECT_EQ(only[1].text, "Celkem spojení : 5");
  EXPECT_EQ(std::make_tuple(only[1].x1, only[1].y1, only[1].velikost, only[1].tucne),
            std::make_tuple(300, 180, 12, true));
}

TEST(ContactMap, KmCellsThatAreNoNumberCountAsZero) {
  const struct {
    const char* cell;
    int km;
  } cases[] = {{"329", 329}, {" 12 ", 12}, {"", 0}, {"-1", 0}, {"12a", 0}, {"1e3", 0}, {"99999999999", 0}};
  for (const auto& c : cases) EXPECT_EQ(kmBunky(c.cell), c.km) << c.cell;
}

}  // namespace
}  // namespace vektrano
