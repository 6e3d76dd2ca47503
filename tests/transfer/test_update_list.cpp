#include "transfer/update_list.h"

#include <gtest/gtest.h>

using namespace vektrano::transfer;

namespace {

const char* kZr4 = "vektrano.zr4;Databáze lokátorů;.\\;/vektrano/data/zr4";

std::vector<UpdateRow> rowsOf(const std::string& list, const std::string& done = {},
                              const std::string& excluded = {}) {
  return porovnani(parseUpdateList(list), done, excluded, nullptr);
}

TEST(UpdateList, FieldsOfALine) {
  struct Case {
    int n;
    const char* line;
    const char* field;
  } cases[] = {
      {1, "a;b;c;d", "a"}, {4, "a;b;c;d", "d"}, {5, "a;b;c;d", "error"}, {2, "a;;c", ""},
      {3, "a;b;", ""},     {1, "abc", "abc"},   {2, "abc", "error"},     {0, "a;b", "error"},
  };
  for (const Case& c : cases) EXPECT_EQ(vysek(c.n, c.line), c.field) << c.n << " " << c.line;
}

TEST(UpdateList, LinesRegistryCommentsAndShortLines) {
  const std::string list =
      ";reg;Form1;Lokportable;JO70GQ;x\r\n"  // the value keeps its semicolons
      ";reg;Form1;Kanal\r\n"                 // no value: ignored
      ";komentář, žádný soubor\r\n"
      "ab;b;.\\;/x\r\n"                      // 10 characters: ignored though valid
      "abc;b;.\\;/x\r\n"                     // 11 characters: an entry
      "vektrano.hb9;jen tři pole;.\\\r\n"    // no address field
      "vektrano.v4m;popis;.\\;\r\n"          // an empty address
      + std::string(kZr4) + ";další;pole\n"  // LF alone, more fields
      "\r\n";
  const UpdateList l = parseUpdateList(list);
  ASSERT_EQ(l.registry.size(), 1u);
  EXPECT_EQ(l.registry[0].key, "Form1");
  EXPECT_EQ(l.registry[0].name, "Lokportable");
  EXPECT_EQ(l.registry[0].value, "JO70GQ;x");
  ASSERT_EQ(l.files.size(), 2u);
  EXPECT_EQ(l.files[0].soubor, "abc");
  EXPECT_EQ(l.files[1].soubor, "vektrano.zr4");
  EXPECT_EQ(l.files[1].popis, "Databáze lokátorů");
  EXPECT_EQ(l.files[1].cil, ".\\");
  EXPECT_EQ(l.files[1].adresa, "/vektrano/data/zr4");
  EXPECT_EQ(l.files[1].radek, std::string(kZr4) + ";další;pole");
}

TEST(UpdateList, HostileNamesAndTargetsNeverBecomeRows) {
  const std::string list =
      "..;x;.\\;/vektrano/data/a\r\n"
      "../vektrano.zr4;x;.\\;/vektrano/data/a\r\n"
      "..\\vektrano.zr4;x;.\\;/vektrano/data/a\r\n"
      "/etc/passwd;x;.\\;/vektrano/data/a\r\n"
      "c:autoexec.bat;x;.\\;/vektrano/data/a\r\n"
      "mapa.jpg;x;[MAPA]..\\..\\;/vektrano/data/a\r\n"
      "mapa.jpg;x;[FOTO]JO70/../../x;/vektrano/data/a\r\n"
      "mapa.jpg;x;[MAPA]c:\\windows;/vektrano/data/a\r\n"
      "dobra.jpg;x;[MAPA]\\JO\\70;/vektrano/data/a\r\n"
      "...;x;.\\;/vektrano/data/a\r\n"
      "mapa.jpg;x;[MAPA]JO70\\...;/vektrano/data/a\r\n"
      // A name the disk cannot hold beside its ".zip" would only fail later.
      + std::string(201, 'a') + ";x;.\\;/vektrano/data/a\r\n"
      "mapa.jpg;x;[FOTO]" + std::string(201, 'b') + ";/vektrano/data/a\r\n"
      "dobry.txt;x;/etc;/vektrano/data/a\r\n";
  const UpdateList l = parseUpdateList(list);
  ASSERT_EQ(l.files.size(), 2u);
  EXPECT_EQ(l.files[0].soubor, "dobra.jpg");
  EXPECT_EQ(l.files[1].soubor, "dobry.txt");
}

TEST(UpdateList, TargetFolders) {
  const TargetFolders f{"/prog", "/mapy/", "/foto"};
  struct Case {
    const char* cil;
    const char* file;  // "" for none
    bool makeFolder;
  } cases[] = {
      {".\\", "/prog/x.jpg", false},
      {"", "/prog/x.jpg", false},
      {"/etc", "/prog/x.jpg", false},  // any other target: the program folder
      {"[MAPA]", "/mapy/x.jpg", true},
      {"[MAPA]\\JO70\\", "/mapy/JO70/x.jpg", true},
      {"[FOTO]\\JN\\79", "/foto/JN/79/x.jpg", true},
      {"[MAPA]\\..\\x", "", false},
      {"[mapa]\\JO", "/prog/x.jpg", false},  // the marks are upper case
  };
  for (const Case& c : cases) {
    const auto t = cilovySoubor("x.jpg", c.cil, f);
    if (!*c.file) {
      EXPECT_FALSE(t) << c.cil;
      continue;
    }
    ASSERT_TRUE(t) << c.cil;
    EXPECT_EQ(t->file, c.file) << c.cil;
    EXPECT_EQ(t->makeFolder, c.makeFolder) << c.cil;
  }
  EXPECT_FALSE(cilovySoubor("x.jpg", "[FOTO]\\JN", {"/prog", "/mapy", ""}));  // no photo folder set
  EXPECT_FALSE(cilovySoubor("../x.jpg", ".\\", f));
}

TEST(UpdateList, MarksFromTheDoneAndExcludedLists) {
  const std::string list = std::string(kZr4) +
                           "\r\n"
                           "vektrano.pvk;Volačky;.\\;/vektrano/data/pvk\r\n"
                           "vektrano.jmn;Svátky;.\\;/vektrano/data/jmn\r\n"
                           "vektrano.hb9;Směry;.\\;/vektrano/data/hb9\r\n";
  const std::string done = std::string("x;x;x;x;x\r\n") + kZr4 +
                           "\r\n"
                           "vektrano.pvk;Volačky (stará verze);.\\;/vektrano/data/pvk\r\n"  // described anew
                           "vektrano.jmn;Svátky;.\\;/vektrano/data/jmn\r\n"
                           "vektrano.jmn;Svátky;.\\;/vektrano/data/jmn\r\n";  // twice: still one row
  const std::string excluded = ";seznam zakázaných souborů pro update\r\nvektrano.jmn\r\n";
  const auto rows = rowsOf(list, done, excluded);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].mark, "*");
  EXPECT_EQ(rows[0].popis, kTextInstalovano);
  EXPECT_EQ(rows[1].mark, "#");
  EXPECT_EQ(rows[1].popis, "Volačky");
  EXPECT_EQ(rows[2].mark, "@");  // excluded wins over installed
  EXPECT_EQ(rows[2].popis, kTextZakazano);
  EXPECT_EQ(rows[3].mark, "#");
  // The count is the rows to download, however often a row matched.
  EXPECT_EQ(pocetKeStazeni(rows), 2);
  EXPECT_EQ(rows[3].radek, "vektrano.hb9;Směry;.\\;/vektrano/data/hb9");
}

TEST(UpdateList, RegistryLinesAreAppliedBeforeAnyRow) {
  std::vector<std::string> applied;
  const auto rows = porovnani(parseUpdateList(std::string(kZr4) + "\r\n;reg;Form1;Kanal;0x28\r\n"), "", "",
                              [&](const RegistryLine& r) { applied.push_back(r.key + "|" + r.name + "|" + r.value); });
  EXPECT_EQ(applied, std::vector<std::string>{"Form1|Kanal|0x28"});
  EXPECT_EQ(rows.size(), 1u);
}

TEST(UpdateList, TogglesAndCaptions) {
  auto rows = rowsOf(std::string(kZr4) + "\r\nvektrano.pvk;Volačky;.\\;/vektrano/data/pvk\r\n",
                     std::string(kZr4) + "\r\n");
  ASSERT_EQ(rows[0].mark, "*");
  ASSERT_EQ(rows[1].mark, "#");
  EXPECT_EQ(button1Caption(pocetKeStazeni(rows)), "Proveď stažení nových souborů v počtu : 1");

  prepni(rows[0]);  // installed: excluded, the count stays
  EXPECT_EQ(rows[0].mark, "@");
  EXPECT_EQ(pocetKeStazeni(rows), 1);
  prepni(rows[1]);  // to download: excluded
  EXPECT_EQ(rows[1].mark, "@");
  EXPECT_EQ(pocetKeStazeni(rows), 0);
  EXPECT_EQ(button1Caption(0), kCaptionOdejit);
  EXPECT_NE(label2Text(0).find("Nejsou žádné novinky"), std::string::npos);
  prepni(rows[0]);
  EXPECT_EQ(rows[0].mark, "#");
  EXPECT_EQ(rows[0].popis, "Ano, soubor vektrano.zr4 byl zařazen pro stažení");
  rows[1].mark = kMarkChyba;  // a failed row is offered again
  prepni(rows[1]);
  EXPECT_EQ(rows[1].mark, "#");
  EXPECT_EQ(pocetKeStazeni(rows), 2);
  EXPECT_NE(label2Text(2).find("Dvojklik na řádek"), std::string::npos);
}

TEST(UpdateList, RecordsAreRewrittenInGridOrder) {
  auto rows = rowsOf("a.txt;A;.\\;/a\r\nb.txt;B;.\\;/b\r\nc.txt;C;.\\;/c\r\n");
  rows[0].mark = "*";
  rows[1].mark = "@";
  rows[2].mark = "*";
  EXPECT_EQ(doneListText(rows), "a.txt;A;.\\;/a\r\nc.txt;C;.\\;/c\r\n");
  EXPECT_EQ(excludedListText(rows), "b.txt\r\n");
}

TEST(UpdateList, ProgressLine) {
  EXPECT_EQ(progressText(1000, 2000, 0, "http://h/a.zip", "/p/a.zip"),
            "Staženo 1000 bajtů z 2000 (50%) http://h/a.zip > /p/a.zip");
  EXPECT_EQ(progressText(204800, 409600, 2, "u", "f"), "Staženo 204800 bajtů z 409600 (50% 100 kB/s) u > f");
  EXPECT_EQ(progressText(1, 200, 0, "u", "f"), "Staženo 1 bajtů z 200 (0%) u > f");  // 0.5 rounds to even
  EXPECT_EQ(progressText(3, 200, 0, "u", "f"), "Staženo 3 bajtů z 200 (2%) u > f");  // 1.5 too
  EXPECT_EQ(progressText(0, 0, 0, "u", "f"), "Staženo 0 bajtů z 0 (0%) u > f");
}

}  // namespace
