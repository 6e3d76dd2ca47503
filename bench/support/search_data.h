#pragma once
// The searches' data of the search benchmarks: the generated town database
// of 100,000 lines and call-sign list of 50,000 written into a folder, their
// index files and memory tables built as the program builds them.
#include <memory>
#include <string>

#include "bench/support/generated_data.h"
#include "core/reference/indexes.h"
#include "core/search/searches.h"

namespace vektrano::bench {

class SearchData {
 public:
  // False (with a line on standard error) when the files cannot be written
  // or indexed.
  bool prepare(GeneratedData& data, const std::string& folder);

  // The index prefixes and memory tables, the rest as a search job's default.
  SearchEnvironment env;

 private:
  IndexObserver window_;
  std::unique_ptr<Indexes> indexes_;
};

}  // namespace vektrano::bench
