#pragma once
// The generated databases and logs the benchmarks run on: Czech-looking
// names in cp1250, locators around JO70, call signs OK1/OK2 + three letters.
// One seed, so every run and every benchmark sees the same data.
#include <random>
#include <string>
#include <vector>

namespace vektrano::bench {

class GeneratedData {
 public:
  explicit GeneratedData(unsigned seed = 20261210) : rng_(seed) {}

  int pick(int n);
  std::string word();
  std::string locator();
  std::string callSign();
  std::string district();
  // n lines of a town database: "LOCATOR;Name [link Name] [(District)]".
  std::string towns(int n);
  // n lines of a call-sign list: "LOCATOR;CALL Name [(District)];date".
  std::string callSigns(int n);
  // n contact rows: number, time, report, call sign (every seventh with an
  // azimuth note), locator, note, km.
  std::vector<std::vector<std::string>> contacts(int n);

 private:
  std::mt19937 rng_;
};

// The folder named by the first argument, else a fresh one under /tmp;
// empty when none could be made.
std::string benchFolder(int argc, char** argv);

// The generated town database and call-sign list and two name days written
// into folder under the program's file names; false (with a line on
// standard error) when a file cannot be written.
bool writeDatabases(GeneratedData& data, const std::string& folder, int towns, int callSigns);

}  // namespace vektrano::bench
