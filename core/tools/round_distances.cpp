#include "core/tools/round_distances.h"

#include "core/base/geometry.h"
#include "platform/registry.h"

namespace vektrano {

namespace {

const char* const kRadovky[] = {"druhém", "třetím", "čtvrtém", "pátém", "šestém", "sedmém", "osmém"};

const char* const kNejcastejsiChyba = " (Nejčastější chyba:záměna nuly a písmene O.)";

bool plne(const std::string& s) { return s.size() == static_cast<std::size_t>(kDelkaLokatoru); }

}  // namespace

Kolecko::Kolecko() { vzdalenosti.fill(kVzdalenostNeznama); }

int radekPolicka(int box) { return box <= 1 ? 0 : box - 1; }

std::string chybaLokatoru(int box) {
  std::string where;
  if (box == 0)
    where = "prvním řádku, první okénko.";
  else if (box == 1)
    where = "prvním řádku, druhé okénko.";
  else
    where = std::string(kRadovky[box - 2]) + " řádku, druhé okénko.";
  return "Nesprávný formát lokátoru v " + where + kNejcastejsiChyba;
}

void prepocty(Kolecko& k) {
  k.status = kKoleckoVypocet;
  const std::string& protistanice = k.lokatory[1];

  // The own box and the participants' boxes are measured the same way.
  auto radek = [&k, &protistanice](int box) {
    const std::string& lok = k.lokatory[box];
    if (!plne(lok)) return;
    std::string& label = k.vzdalenosti[radekPolicka(box)];
    if (testlok(lok)) {
      k.vzhled[box] = VzhledLokatoru::Normalni;
      label = std::to_string(vypocet(lok, protistanice));
    } else {
      k.vzhled[box] = VzhledLokatoru::Chybny;
      k.status = chybaLokatoru(box);
      label = kVzdalenostSpatnyLokator;
    }
  };

  radek(0);
  if (plne(protistanice)) {
    if (testlok(protistanice)) {
      k.vzhled[1] = VzhledLokatoru::Protistanice;
    } else {
      k.vzhled[1] = VzhledLokatoru::ChybnaProtistanice;
      k.status = chybaLokatoru(1);
      k.vzdalenosti[0] = kVzdalenostSpatnyLokator;
    }
  }
  for (int box = 2; box < kKoleckoPolicek; ++box) radek(box);

  if (!testlok(protistanice)) {
    k.vzdalenosti.fill(kVzdalenostSpatnaProtistanice);
    k.status = chybaLokatoru(1);
  }
}

namespace {

// The change of one box; a complete locator asks for a recomputation.
bool prevezmiLokator(Kolecko& k, int box, const std::string& text, const KeyboardOptions& keyboard) {
  std::string& lok = k.lokatory[box];
  lok = text.substr(0, kDelkaLokatoru);
  k.vzhled[box] = VzhledLokatoru::Normalni;
  if (plne(lok)) {
    lok = prevod(lok, keyboard);
    return true;
  }
  k.vzdalenosti[radekPolicka(box)] = kVzdalenostNeuplna;
  return false;
}

}  // namespace

void zmenaLokatoru(Kolecko& k, int box, const std::string& text, const KeyboardOptions& keyboard) {
  if (prevezmiLokator(k, box, text, keyboard)) prepocty(k);
}

void startform5(Kolecko& k, const std::string& own, const std::string& counter,
                const KeyboardOptions& keyboard) {
  // One recomputation once both are in: measuring the new own locator
  // against the previous counter station would overwrite the labels that
  // incomplete rows keep.
  if (k.lokatory[0] != own) prevezmiLokator(k, 0, own, keyboard);
  if (k.lokatory[1] != counter) prevezmiLokator(k, 1, counter, keyboard);
  prepocty(k);
}

}  // namespace vektrano

namespace vektrano {

namespace {

template <class F>
void kazdyText(F&& f) {
  for (int i = 2; i < kKoleckoPolicek; ++i) f("Edit" + std::to_string(i + 1), 0, i);
  for (int i = 1; i < kKoleckoRadku; ++i) f("Label" + std::to_string(i + 1), 1, i);
  for (int i = 0; i < kKoleckoPoznamek; ++i) f("Memo" + std::to_string(i + 1), 2, i);
}

}  // namespace

bool nactiKolecko(Kolecko& k, const std::string& keyPath) {
  const auto key = platform::RegistryKey::open(keyPath, false);
  if (!key) return false;
  kazdyText([&](const std::string& name, int kind, int i) {
    std::string text = key->readString(name);
    if (kind == 0) k.lokatory[i] = std::move(text);
    else if (kind == 1) k.vzdalenosti[i] = std::move(text);
    else k.poznamky[i] = std::move(text);
  });
  return true;
}

bool ulozKolecko(const Kolecko& k, const std::string& keyPath) {
  auto key = platform::RegistryKey::open(keyPath, true);
  if (!key) return false;
  kazdyText([&](const std::string& name, int kind, int i) {
    key->writeString(name, kind == 0 ? k.lokatory[i] : kind == 1 ? k.vzdalenosti[i] : k.poznamky[i]);
  });
  return key->flush();
}

}  // namespace vektrano
