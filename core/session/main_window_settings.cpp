#include "core/session/main_window_settings.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"

namespace vektrano {
namespace {

using S = MainWindowSettings;
using Field = std::variant<int S::*, bool S::*, std::string S::*>;

struct Value {
  const char* name;
  Field field;
};

// Every stored value in the order start-up reads them.
const std::vector<Value>& readingOrder() {
  static const std::vector<Value> order = {
      {"Top", &S::Top},
      {"Left", &S::Left},
      {"Height", &S::Height},
      {"Width", &S::Width},
      {"PouzivatVolacky", &S::PouzivatVolacky},
      {"MestaSvatky", &S::MestaSvatky},
      {"Automatika", &S::Automatika},
      {"AutomatKolecko", &S::AutomatKolecko},
      {"ReportyChecked", &S::ReportyChecked},
      {"NapovedaChecked", &S::NapovedaChecked},
      {"DoplnDatum", &S::DoplnDatum},
      {"KlavesniceCZ", &S::KlavesniceCZ},
      {"PocitejKM", &S::PocitejKM},
      {"DoplnovatKanal", &S::DoplnovatKanal},
      {"Kanal", &S::Kanal},
      {"ukladatazimut", &S::ukladatazimut},
      {"zobrporcisl", &S::zobrporcisl},
      {"zobrdatcas", &S::zobrdatcas},
      {"Zobrrep", &S::Zobrrep},
      {"Zobrvzd", &S::Zobrvzd},
      {"Zobrpoz", &S::Zobrpoz},
      {"ZobrCisSpoj", &S::ZobrCisSpoj},
      {"PrijatyReportDoplnit", &S::PrijatyReportDoplnit},
      {"Nastaven", &S::Nastaven},
      {"UlozisteDat", &S::UlozisteDat},
      {"UlozisteMap", &S::UlozisteMap},
      {"UlozisteFoto", &S::UlozisteFoto},
      {"UlozisteArchiv", &S::UlozisteArchiv},
      {"Poprve", &S::Poprve},
      {"Version", &S::Version},
      {"Lokportable", &S::Lokportable},
      {"Memo", &S::Memo},
      {"VolackyAlter", &S::VolackyAlter},
      {"LokatoryAlter", &S::LokatoryAlter},
      {"Volac2", &S::Volac2},
      {"Volackyoboje", &S::Volackyoboje},
      {"Pouzevolacky1", &S::Pouzevolacky1},
      {"Pouzevolacky2", &S::Pouzevolacky2},
      {"VolackyobojeE", &S::VolackyobojeE},
      {"Pouzevolacky2E", &S::Pouzevolacky2E},
      {"Lokat2", &S::Lokat2},
      {"Lokatoboje", &S::Lokatoboje},
      {"Pouzelok1", &S::Pouzelok1},
      {"Pouzelok2", &S::Pouzelok2},
      {"LokatobojeE", &S::LokatobojeE},
      {"Pouzelok2E", &S::Pouzelok2E},
      {"Maximized", &S::Maximized},
      {"SaveFileName", &S::SaveFileName},
      {"loksecondary", &S::loksecondary},
      {"lokthree", &S::lokthree},
      {"secondstation", &S::secondstation},
      {"threestation", &S::threestation},
      {"doplnvolackuzakm", &S::doplnvolackuzakm},
      {"ZobrazLokatorProtistanice", &S::ZobrazLokatorProtistanice},
      {"aktualcas", &S::aktualcas},
      {"BPOZ", &S::BPOZ},
      {"BPDE", &S::BPDE},
      {"BPND", &S::BPND},
      {"BPOV", &S::BPOV},
      {"BPVR", &S::BPVR},
      {"BHOD", &S::BHOD},
      {"BVVZ", &S::BVVZ},
      {"BDUP", &S::BDUP},
      {"BNJS", &S::BNJS},
      {"MenuRam", &S::MenuRam},
      {"datumupdate", &S::datumupdate},
      {"Pismo", &S::Pismo},
      {"HelpExist", &S::HelpExist},
      {"delkaprodlevy", &S::delkaprodlevy},
      {"prioritka", &S::prioritka},
  };
  return order;
}

// The shut-down order, in its groups; "*" entries are written from elsewhere.
constexpr const char* kWritingOrder[] = {
    "Maximized",
    "Top", "Left", "Height", "Width", "Pismo", "Lokportable",
    "PouzivatVolacky", "MestaSvatky", "Automatika", "AutomatKolecko", "NapovedaChecked",
    "ReportyChecked", "DoplnDatum", "*Poprve", "KlavesniceCZ", "PocitejKM", "DoplnovatKanal",
    "Kanal", "ukladatazimut", "zobrporcisl", "zobrdatcas", "Zobrrep", "Zobrvzd", "Zobrpoz",
    "ZobrCisSpoj", "MenuRam", "PrijatyReportDoplnit",
    "*ProgramFiles", "*FileApp", "UlozisteDat", "UlozisteMap", "UlozisteFoto", "UlozisteArchiv",
    "Nastaven", "Memo", "SaveFileName",
    "BPOZ", "BDUP", "BPDE", "BPND", "BPOV", "BPVR", "BHOD", "BVVZ", "BNJS",
    "VolackyAlter", "LokatoryAlter", "Volac2", "Volackyoboje", "Pouzevolacky1", "Pouzevolacky2",
    "VolackyobojeE", "Pouzevolacky2E", "Lokat2", "Lokatoboje", "Pouzelok1", "Pouzelok2",
    "LokatobojeE", "Pouzelok2E", "secondstation", "loksecondary", "threestation",
    "doplnvolackuzakm", "ZobrazLokatorProtistanice", "aktualcas", "lokthree", "datumupdate",
    "delkaprodlevy", "HelpExist", "prioritka",
    "*Version",
};

// The values that hold a path: kept in the settings as cp1250 text, used as
// the file system's bytes.
bool isPathValue(std::string_view name) {
  for (const char* p : {"UlozisteDat", "UlozisteMap", "UlozisteFoto", "UlozisteArchiv",
                        "SaveFileName", "VolackyAlter", "LokatoryAlter", "ProgramFiles", "FileApp"})
    if (name == p) return true;
  return false;
}

// What the settings keep of a path; one they cannot hold is kept empty (its
// default), never as another name.
std::string storedOrEmpty(const std::string& path) {
  return platform::storedPath(path).value_or(std::string());
}

const Value* findValue(std::string_view name) {
  for (const Value& v : readingOrder())
    if (name == v.name) return &v;
  return nullptr;
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool plainSegment(std::string_view seg) {
  if (seg.empty()) return false;
  for (char c : seg)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
      return false;
  return true;
}

bool plainSubkey(std::string_view subkey) {
  if (subkey.empty()) return false;
  size_t start = 0;
  for (;;) {
    const size_t end = subkey.find('\\', start);
    if (!plainSegment(subkey.substr(start, end == std::string_view::npos ? end : end - start)))
      return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

// "0x" + 1 to 8 hexadecimal digits, as the DWORD they give.
std::optional<int> hexValue(std::string_view text) {
  std::string_view digits = text.substr(2);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    v = v * 16 + static_cast<std::uint32_t>(d);
  }
  return static_cast<int>(v);
}

}  // namespace

SettingsReadResult readMainWindowSettings(MainWindowSettings& s, const std::string& today,
                                          const std::string& keyPath) {
  SettingsReadResult result;
  std::optional<platform::RegistryKey> key = platform::RegistryKey::open(keyPath, true);
  if (!key) {
    s.Top = 10;
    s.Left = 10;
    s.Height = 600;
    s.Width = 450;
    if (s.datumupdate.empty()) s.datumupdate = today;
    return result;
  }
  result.keyOpened = true;
  for (const Value& v : readingOrder()) {
    try {
      if (auto* f = std::get_if<int S::*>(&v.field)) {
        const int n = key->readInteger(v.name);
        if (std::string_view(v.name) == "prioritka" && n > 255) {
          result.stoppedAt = v.name;
          break;
        }
        s.*(*f) = n;
      } else if (auto* b = std::get_if<bool S::*>(&v.field)) {
        s.*(*b) = key->readBool(v.name);
      } else {
        std::string text = key->readString(v.name);
        if (isPathValue(v.name)) text = platform::pathFromText(text);
        s.*std::get<std::string S::*>(v.field) = std::move(text);
      }
    } catch (const platform::RegistryValueMissing&) {
      result.stoppedAt = v.name;
      break;
    }
  }
  return result;
}

bool writeMainWindowSettings(const MainWindowSettings& s, const std::string& executableFolder,
                             const std::string& keyPath, const std::string& programFolder) {
  std::optional<platform::RegistryKey> key = platform::RegistryKey::open(keyPath, true);
  if (!key) return false;
  auto bare = [](std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
  };
  const std::string executable = bare(executableFolder);
  const std::string program = programFolder.empty() ? executable : bare(programFolder);
  for (const char* name : kWritingOrder) {
    const std::string_view n = name;
    if (n == "*Poprve")
      key->writeBool("Poprve", false);
    else if (n == "*ProgramFiles")
      key->writeString("ProgramFiles", storedOrEmpty(program));
    else if (n == "*FileApp")
      key->writeString("FileApp", storedOrEmpty(executable));
    else if (n == "*Version")
      key->writeString("Version", kVersionText);
    else if (const Value* v = findValue(n)) {
      if (auto* f = std::get_if<int S::*>(&v->field))
        key->writeInteger(name, s.*(*f));
      else if (auto* b = std::get_if<bool S::*>(&v->field))
        key->writeBool(name, s.*(*b));
      else if (isPathValue(n))
        key->writeString(name, storedOrEmpty(s.*std::get<std::string S::*>(v->field)));
      else
        key->writeString(name, s.*std::get<std::string S::*>(v->field));
    }
  }
  return key->flush();
}

void fitToScreen(MainWindowSettings& s, int screenWidth, int screenHeight) {
  if (s.Top > screenHeight - 10) s.Top = 1;
  if (s.Left > screenWidth - 10) s.Left = 1;
}

bool AddToRegistr(const std::string& subkey, const std::string& name, const std::string& value) {
  // The names come from a downloaded list: none may reach outside the
  // program's key or carry control bytes into the store.
  if (!plainSubkey(subkey) || name.empty()) return false;
  for (unsigned char c : name)
    if (isControl(c)) return false;
  const std::string keyPath = std::string(kProgramKey) + subkey;

  if (value == "[DELETE]") {
    std::optional<platform::RegistryKey> key = platform::RegistryKey::open(keyPath, false);
    if (!key || !key->deleteValue(name)) return false;
    return key->flush();
  }

  const bool asInteger = value.size() >= 3 && value.compare(0, 2, "0x") == 0;
  std::optional<int> integer;
  if (asInteger) {
    integer = hexValue(value);
    if (!integer) return false;  // a malformed number from the list is left out
  }

  // What the user has stays: any integer, any text that is not empty, even
  // when the list brings the other type.
  if (std::optional<platform::RegistryKey> key = platform::RegistryKey::open(keyPath, false)) {
    if (key->valueExists(name)) {
      try {
        key->readInteger(name);
        return false;
      } catch (const platform::RegistryValueMissing&) {
        if (!key->readString(name).empty()) return false;
      }
    }
  }

  std::optional<platform::RegistryKey> key = platform::RegistryKey::open(keyPath, true);
  if (!key) return false;
  if (integer)
    key->writeInteger(name, *integer);
  else
    key->writeString(name, value);
  return key->flush();
}

}  // namespace vektrano
