#include "tests/support/file_faults.h"

namespace vektrano::test {

FileFaults::FileFaults() {
  previous_ = platform::setFileFaultHook([this](platform::FileStep step, const std::string& path) {
    if (step == platform::FileStep::Read && readAction_ && path.find(readPart_) != std::string::npos)
      readAction_(path);
    for (const Rule& r : rules_)
      if (r.step == step && path.find(r.pathPart) != std::string::npos) {
        ++failures_;
        return r.err;
      }
    return 0;
  });
}

FileFaults::~FileFaults() { platform::setFileFaultHook(std::move(previous_)); }

void FileFaults::fail(platform::FileStep step, int err, const std::string& pathPart) {
  rules_.push_back({step, err, pathPart});
}

void FileFaults::clear() {
  rules_.clear();
  readAction_ = nullptr;
}

void FileFaults::beforeRead(const std::string& pathPart, std::function<void(const std::string&)> action) {
  readPart_ = pathPart;
  readAction_ = std::move(action);
}

}  // namespace vektrano::test
