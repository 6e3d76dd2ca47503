#include "tests/support/program_folder.h"

#include <filesystem>

namespace vektrano::test {

void installProgramData(const std::string& folder) {
  namespace fs = std::filesystem;
  fs::create_directories(folder);
  // The shipped files are those directly in data/ (data/desktop/ is the
  // installation's).
  for (const auto& entry : fs::directory_iterator(fs::path(VEKTRANO_SOURCE_DIR) / "data")) {
    if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
    fs::copy_file(entry.path(), fs::path(folder) / entry.path().filename(),
                  fs::copy_options::overwrite_existing);
  }
}

}  // namespace vektrano::test
