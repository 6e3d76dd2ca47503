#include "tests/support/temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

namespace vektrano::test {

TempDir::TempDir() {
  std::string base = std::filesystem::temp_directory_path().string() + "/vektrano-test-XXXXXX";
  std::vector<char> t(base.begin(), base.end());
  t.push_back('\0');
  if (!mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
  path_ = t.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

}  // namespace vektrano::test
