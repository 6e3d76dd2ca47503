// The storage folders chosen by the operator and the installation state.
#include "core/session/option_commands.h"

#include <gtest/gtest.h>

#include "platform/files.h"

namespace vektrano {
namespace {

TEST(OptionCommands, TheProgramFolderIsNeverAStorageFolder) {
  struct Case {
    Uloziste kind;
    std::string chosen;
    std::string folder;
    const char* name;  // in the message
    std::string panel;
  } cases[] = {
      {Uloziste::Dat, "/opt/vektrano", "/opt/vektrano/UlozisteDat", "Dat",
       "UlozisteDat : /opt/vektrano/UlozisteDat"},
      {Uloziste::Map, "/OPT/Vektrano/", "/opt/vektrano/UlozisteMap", "MAP",
       "Úložiště MAP : /opt/vektrano/UlozisteMap"},
      {Uloziste::Foto, "/opt/vektrano", "/opt/vektrano/UlozisteFoto", "FOTO",
       "Úložiště FOTO : /opt/vektrano/UlozisteFoto"},
      {Uloziste::Archiv, "/opt/vektrano", "/opt/vektrano/UlozisteArchiv", "ARCHIV",
       "Úložiště ARCHIV : /opt/vektrano/UlozisteArchiv"},
  };
  for (const Case& c : cases) {
    const VolbaUloziste v = zvolUloziste(c.kind, c.chosen, "/opt/vektrano");
    EXPECT_EQ(v.slozka, c.folder);
    ASSERT_TRUE(v.zprava);
    EXPECT_EQ(*v.zprava, std::string("Data není povoleno ukládat do stejného adresáře, kde je "
                                     "uložen program\r\n\r\nNově nastavený adresář pro Uložiště ") +
                             c.name + " je : " + c.folder);
    EXPECT_EQ(v.panel2, c.panel);
  }
  const VolbaUloziste other = zvolUloziste(Uloziste::Map, "/home/op/mapy/", "/opt/vektrano");
  EXPECT_EQ(other.slozka, "/home/op/mapy");
  EXPECT_FALSE(other.zprava);
  EXPECT_EQ(other.panel2, "Úložiště MAP : /home/op/mapy");
}

// A folder the settings (code page 1250) cannot hold is refused when it is
// chosen, with a message naming it: the next start would not find it.
TEST(OptionCommands, AFolderTheSettingsCannotHoldIsRefused) {
  struct Case {
    std::string chosen;
    bool taken;
  } cases[] = {
      {"/home/op/\xCE\xA9mega", false},                  // Greek
      {"/home/\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD/data", false},  // Cyrillic
      {platform::pathFromText("/home/op/Úložiště"), true},
  };
  for (const Case& c : cases) {
    const VolbaUloziste v = zvolUloziste(Uloziste::Foto, c.chosen, "/opt/vektrano");
    EXPECT_EQ(v.prijato, c.taken) << c.chosen;
    if (c.taken) {
      EXPECT_EQ(v.slozka, c.chosen);
      EXPECT_EQ(v.panel2, "Úložiště FOTO : /home/op/Úložiště");
      EXPECT_FALSE(v.zprava);
    } else {
      ASSERT_TRUE(v.zprava);
      EXPECT_EQ(*v.zprava, "Složku :\r\n\r\n" + platform::pathText(c.chosen) +
                               "\r\n\r\nnelze zapsat do nastavení programu, jméno obsahuje znaky, "
                               "které kódová stránka 1250 nezná.\r\n\r\nZvol prosím pro Uložiště "
                               "FOTO jinou složku.");
    }
  }
}

TEST(OptionCommands, TheInstallationStateAndTheDatabaseNotices) {
  const BarevneSchema b = schemaPoInstalaci();
  EXPECT_EQ(b.BNJS, 0x0000FFu);
  EXPECT_EQ(b.BPOZ, SablonyBarev()[0].schema.BPOZ);
  int on = 0;
  for (const VolbaPoInstalaci& v : volbyPoInstalaci()) on += v.zaskrtnuto;
  EXPECT_EQ(on, 10);  // five options and the five columns
  EXPECT_NE(zpravaDatabazeVolacek(true).find("bude použita lokální ORIGINÁL databáze volaček."),
            std::string::npos);
  EXPECT_EQ(zpravaDatabazeVolacek(false).rfind("Upozornění :\r\n\r\n k případné editaci", 0), 0u);
}

}  // namespace
}  // namespace vektrano
