#include "core/session/option_commands.h"

#include "core/base/text.h"
#include "platform/files.h"

namespace vektrano {

namespace {

std::string bezLomitka(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

struct Texty {
  const char* podslozka;
  const char* jmeno;   // in the message
  const char* panel;   // status panel 2
};

Texty texty(Uloziste kind) {
  switch (kind) {
    case Uloziste::Dat: return {"UlozisteDat", "Dat", "UlozisteDat : "};
    case Uloziste::Map: return {"UlozisteMap", "MAP", "Úložiště MAP : "};
    case Uloziste::Foto: return {"UlozisteFoto", "FOTO", "Úložiště FOTO : "};
    case Uloziste::Archiv: return {"UlozisteArchiv", "ARCHIV", "Úložiště ARCHIV : "};
  }
  return {"", "", ""};
}

}  // namespace

std::string zpravaNeulozitelneCesty(const std::string& co, const std::string& path) {
  return co + " :\r\n\r\n" + platform::pathText(path) +
         "\r\n\r\nnelze zapsat do nastavení programu, jméno obsahuje znaky, které kódová stránka "
         "1250 nezná.";
}

VolbaUloziste zvolUloziste(Uloziste kind, const std::string& chosen,
                           const std::string& programFolder) {
  const Texty t = texty(kind);
  VolbaUloziste v;
  v.slozka = bezLomitka(chosen);
  if (upravvolacku(v.slozka) == upravvolacku(bezLomitka(programFolder))) {
    v.slozka = bezLomitka(programFolder) + "/" + t.podslozka;
    v.zprava = std::string("Data není povoleno ukládat do stejného adresáře, kde je uložen program") +
               "\r\n\r\n" + "Nově nastavený adresář pro Uložiště " + t.jmeno + " je : " +
               platform::pathText(v.slozka);
  }
  if (!platform::storedPath(v.slozka)) {
    v.prijato = false;
    v.zprava = zpravaNeulozitelneCesty("Složku", v.slozka) + "\r\n\r\nZvol prosím pro Uložiště " +
               t.jmeno + " jinou složku.";
  }
  v.panel2 = t.panel + platform::pathText(v.slozka);
  return v;
}

const std::vector<VolbaPoInstalaci>& volbyPoInstalaci() {
  static const std::vector<VolbaPoInstalaci> volby = {
      {"klavesnicecz", true},      {"Automatika", true},      {"pocitejkm", true},
      {"napoveda", true},          {"aktualcas", true},       {"klavesnicesk", false},
      {"doplndatum", false},       {"doplnovatkanal", false}, {"automatkolecko", false},
      {"secondstation", false},    {"threestation", false},   {"doplnvolackuzakm", false},
      {"zobrporcisl", true},       {"zobrdatcas", true},      {"Zobrrep", true},
      {"Zobrvzd", true},           {"Zobrpoz", true},
  };
  return volby;
}

BarevneSchema schemaPoInstalaci() {
  BarevneSchema b = SablonyBarev()[0].schema;
  b.BNJS = 0x0000FF;
  return b;
}

std::string zpravaDatabazeVolacek(bool originalOnly) {
  return std::string("Upozornění :") + "\r\n\r\n" +
         " k případné editaci seznamu volaček v menu [Správa seznamů / Seznam volaček] bude "
         "použita " +
         (originalOnly ? "lokální ORIGINÁL databáze volaček."
                       : "uživatelem definovaná ALTERNATIVNÍ databáze volaček.");
}

}  // namespace vektrano
