#include "core/base/geometry.h"

#include "core/base/text.h"

#include <cmath>
#include <numbers>

namespace vektrano {
namespace {

// The constants the distances were always computed with: a nine-digit degree
// factor and a radius for a 40009 km circumference. Changing either shifts
// stored distances by a kilometre here and there.
constexpr double kDegToRad = 0.017453293;
constexpr double kEarthRadiusKm = 6367.6301182;
constexpr double kPi = std::numbers::pi;

// Byte value of a character, as cp1250 text is unsigned.
int code(char c) { return static_cast<unsigned char>(c); }

// Letters in positions 1, 2, 5, 6 and digits in 3, 4 of the first six
// characters; 'Y' and 'Z' pass.
bool charactersPass(std::string_view loc) {
  return isChar(loc[0]) && isChar(loc[1]) && isNum(loc[2]) && isNum(loc[3]) && isChar(loc[4]) &&
         isChar(loc[5]);
}

// Character i relative to base; a missing character counts as base itself.
int offset(std::string_view loc, std::size_t i, char base) {
  return i < loc.size() ? code(loc[i]) - code(base) : 0;
}

}  // namespace

int roundHalfEven(double value) {
  // The default rounding mode of the floating-point unit rounds to even.
  return static_cast<int>(std::nearbyint(value));
}

bool testlok(std::string_view text) {
  if (text.size() != 6) return false;
  for (std::size_t i : {0u, 1u, 4u, 5u})
    if (!isChar(text[i]) || text[i] >= 'Y') return false;
  return isNum(text[2]) && isNum(text[3]);
}

namespace {

// Centre of the sub-square in radians; the characters are taken as they are,
// unchecked.
double centreLongitude(std::string_view loc) {
  const int whole = (code(loc[0]) - 'A') * 20 - 180 + (code(loc[2]) - '0') * 2;
  const double deg = whole + (code(loc[4]) - 'A') / 12.0 + 1.0 / 24.0;
  return deg * kDegToRad;
}

double centreLatitude(std::string_view loc) {
  const int whole = (code(loc[1]) - 'A') * 10 - 90 + (code(loc[3]) - '0');
  const double deg = whole + (code(loc[5]) - 'A') / 24.0 + 1.0 / 48.0;
  return deg * kDegToRad;
}

// The arc cosine of c through the arc tangent, as the distances were always
// computed, in km. At |c| >= 1 (the same or the antipodal point, reachable
// only through unchecked letters of the other locator) the quotient would
// divide by zero; take its limit instead.
int arcKm(double c) {
  const double s = 1.0 - c * c;
  double arc;
  if (s <= 0.0)
    arc = c > 0.0 ? 0.0 : kPi;
  else
    arc = kPi / 2.0 - std::atan(c / std::sqrt(s));
  return roundHalfEven(arc * kEarthRadiusKm);
}

}  // namespace

int vypocet(std::string_view own, std::string_view other) {
  if (own == other) return 0;
  if (own.size() != 6 || other.size() != 6) return 0;
  if (!charactersPass(own)) return -1;
  const double latOwn = centreLatitude(own);
  const double latOther = centreLatitude(other);
  const double dLon = std::fabs(centreLongitude(other) - centreLongitude(own));
  return arcKm(std::cos(dLon) * (std::cos(latOwn) * std::cos(latOther)) +
               std::sin(latOwn) * std::sin(latOther));
}

DistancesFrom::DistancesFrom(std::string_view own) : own_(own) {
  ownPasses_ = own.size() == 6 && charactersPass(own);
  if (!ownPasses_) return;
  lon_ = centreLongitude(own);
  const double lat = centreLatitude(own);
  sinLat_ = std::sin(lat);
  cosLat_ = std::cos(lat);
}

DistancesFrom::Slot& DistancesFrom::slot(std::array<Slot, kSlots>& slots, std::uint32_t key) {
  return slots[(key * 2654435761u) >> (32 - kSlotBits)];
}

int DistancesFrom::to(std::string_view other) {
  if (own_ == other) return 0;
  if (own_.size() != 6 || other.size() != 6) return 0;
  if (!ownPasses_) return -1;

  // The longitude rests on characters 1, 3 and 5, the latitude on 2, 4 and 6.
  const auto key = [&](size_t a, size_t b, size_t c) {
    return static_cast<std::uint32_t>(code(other[a]) << 16 | code(other[b]) << 8 | code(other[c]));
  };
  const std::uint32_t lonKey = key(0, 2, 4);
  Slot& lon = slot(lonSlots_, lonKey);
  if (lon.key != lonKey) {
    lon.key = lonKey;
    lon.first = std::cos(std::fabs(centreLongitude(other) - lon_));
  }
  const std::uint32_t latKey = key(1, 3, 5);
  Slot& lat = slot(latSlots_, latKey);
  if (lat.key != latKey) {
    const double latOther = centreLatitude(other);
    lat.key = latKey;
    lat.first = std::cos(latOther);
    lat.second = std::sin(latOther);
  }
  return arcKm(lon.first * (cosLat_ * lat.first) + sinLat_ * lat.second);
}

double zdelka(std::string_view locator) {
  const int whole = offset(locator, 0, 'J') * 20 + offset(locator, 2, '0') * 2;
  return (whole + offset(locator, 4, 'A') / 12.0) / 180.0 * kPi;
}

double zsirka(std::string_view locator) {
  const int whole = offset(locator, 1, 'J') * 10 + offset(locator, 3, '0');
  return (whole + offset(locator, 5, 'A') / 24.0) / 180.0 * kPi;
}

int pocitejazimut(std::string_view own, std::string_view other) {
  if (own == other) return 0;
  if (other.size() != 6) return 0;
  if (own.size() < 6) return -1;
  if (!charactersPass(own) || !charactersPass(other)) return -1;

  // Great-circle bearing between the south-west corners.
  const double lon1 = zdelka(own);
  const double lat1 = zsirka(own);
  const double lon2 = zdelka(other);
  const double lat2 = zsirka(other);
  const double d = lon1 - lon2;
  const double a = std::cos(lat1) * std::tan(lat2);
  const double b = std::sin(lat1) * std::cos(d);

  double azimuth = 0.0;
  if (a > b)
    azimuth = 180.0 - (std::atan(std::sin(d) / (a - b)) + kPi) * 180.0 / kPi;
  else if (a < b)
    azimuth = 180.0 - std::atan(std::sin(d) / (a - b)) * 180.0 / kPi;
  while (azimuth >= 360.0) azimuth -= 360.0;
  while (azimuth < 0.0) azimuth += 360.0;
  // Rounded after the reduction: 359.5 and above gives 360.
  return roundHalfEven(azimuth);
}

}  // namespace vektrano
