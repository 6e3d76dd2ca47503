#pragma once
// Familiar first names and their calendar forms, so that "Franta" and
// "František" compare equal in sorts and searches.
#include <string>
#include <string_view>
#include <vector>

namespace vektrano {

class TabulkaSynonym {
 public:
  static constexpr int kMax = 200;

  struct Par {
    std::string kanonicke;  // calendar name, as given
    std::string domacke;    // familiar name, folded by PrevodJenNaVelke
  };

  // Adds one pair (the familiar name is folded here). False when the table
  // is full.
  bool add(std::string_view kanonicke, std::string_view domacke);
  void clear() { pary_.clear(); }
  int PocetSynonym() const { return static_cast<int>(pary_.size()); }
  const std::vector<Par>& pary() const { return pary_; }

 private:
  std::vector<Par> pary_;
};

// The folded text with every familiar name that ends at a blank or at the
// end replaced by its folded calendar name (pairs applied in order; a pair
// with an empty familiar name is skipped).
std::string Synonymuj(std::string_view text, const TabulkaSynonym& tabulka);

}  // namespace vektrano
