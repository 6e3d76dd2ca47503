#pragma once
// Grid locators (six characters: field letters, square digits, sub-square
// letters) to validity, distance and azimuth. Pure functions; the entry line
// calls them on every key stroke, so they must be cheap and never throw.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vektrano {

// True for exactly six characters A-X A-X 0-9 0-9 A-X A-X (no case folding).
bool testlok(std::string_view text);

// Great-circle distance in whole km between the centres of the two
// sub-squares, halves rounded to even. 0 for equal texts or a text that is
// not six characters long, -1 when the own locator has a wrong character.
// The other locator is not checked.
int vypocet(std::string_view own, std::string_view other);

// vypocet from one own locator to many others (a search gives the distance
// of every line it finds): the own locator's part is worked out once, and the
// cosines and sines of the others' longitudes and latitudes are remembered,
// as the lines of a region share few of them.
class DistancesFrom {
 public:
  explicit DistancesFrom(std::string_view own);
  int to(std::string_view other);  // vypocet(own, other)

 private:
  struct Slot {
    std::uint32_t key = ~0u;  // three characters; never all ones
    double first = 0, second = 0;
  };
  static constexpr int kSlotBits = 10;
  static constexpr size_t kSlots = size_t{1} << kSlotBits;
  static Slot& slot(std::array<Slot, kSlots>& slots, std::uint32_t key);

  std::string own_;
  bool ownPasses_ = false;
  double lon_ = 0, sinLat_ = 0, cosLat_ = 0;
  std::array<Slot, kSlots> lonSlots_{};  // cos of the difference in longitude
  std::array<Slot, kSlots> latSlots_{};  // cos and sin of the latitude
};

// Longitude / latitude of the south-west corner in radians. Unchecked; a
// missing character counts as the origin ('J', '0', 'A').
double zdelka(std::string_view locator);
double zsirka(std::string_view locator);

// Azimuth from own to other in whole degrees (0..360), halves to even.
// 0 for equal texts or an other locator not six characters long, -1 for an
// own locator shorter than six characters or a wrong character in either.
int pocitejazimut(std::string_view own, std::string_view other);

// Nearest integer with exact halves to the even neighbour, the rounding of
// every distance and azimuth (std::lround would round halves away from 0).
int roundHalfEven(double value);

}  // namespace vektrano
