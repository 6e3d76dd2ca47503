#include "core/base/synonyms.h"

#include "core/base/text.h"

namespace vektrano {

bool TabulkaSynonym::add(std::string_view kanonicke, std::string_view domacke) {
  if (PocetSynonym() >= kMax) return false;
  pary_.push_back({std::string(kanonicke), PrevodJenNaVelke(domacke)});
  return true;
}

namespace {
// Every occurrence of from replaced by to, left to right, never rescanning
// what was put in.
std::string replaceAll(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  for (;;) {
    const size_t at = text.find(from, i);
    if (at == std::string::npos) break;
    out.append(text, i, at - i);
    out += to;
    i = at + from.size();
  }
  out.append(text, i, std::string::npos);
  return out;
}
}  // namespace

std::string Synonymuj(std::string_view text, const TabulkaSynonym& tabulka) {
  std::string t = PrevodJenNaVelke(text);
  for (const auto& p : tabulka.pary()) {
    // An empty pattern would match everywhere and never end.
    if (p.domacke.empty()) continue;
    if ((t + " ").find(p.domacke + " ") == std::string::npos) continue;
    t = replaceAll(t, p.domacke, PrevodJenNaVelke(p.kanonicke));
  }
  return PrevodJenNaVelke(t);
}

}  // namespace vektrano
