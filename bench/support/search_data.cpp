#include "bench/support/search_data.h"

#include <cstdio>

namespace vektrano::bench {

bool SearchData::prepare(GeneratedData& data, const std::string& folder) {
  if (folder.empty() || !writeDatabases(data, folder, 100000, 50000)) return false;
  const DatabaseFiles files = DatabaseFiles::beside(folder);
  indexes_ = std::make_unique<Indexes>(folder, window_);
  if (!indexes_->locIDX(files, DatabaseChoice::MainOnly) ||
      !indexes_->volIDX(files, DatabaseChoice::MainOnly) || !indexes_->jmnIDX(files)) {
    std::fprintf(stderr, "the index files cannot be built in %s\n", folder.c_str());
    return false;
  }
  ReIndexaceOptions options;
  options.MenuRam = true;
  options.today = {2026, 12, 10};
  indexes_->ReIndexace(files, options);

  env.prefixes = indexes_->prefixes();
  env.SGlokatory = indexes_->SGlokatory.get();
  env.SGvolacky = indexes_->SGvolacky.get();
  env.SGsvatky = indexes_->SGsvatky.get();
  return true;
}

}  // namespace vektrano::bench
