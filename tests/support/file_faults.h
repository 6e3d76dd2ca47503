#pragma once
// Makes the file layer fail chosen steps, as a full disk, a read-only folder
// or a file removed meanwhile would, for as long as it lives (the seam
// platform::setFileFaultHook).
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace vektrano::test {

class FileFaults {
 public:
  FileFaults();
  ~FileFaults();
  FileFaults(const FileFaults&) = delete;
  FileFaults& operator=(const FileFaults&) = delete;

  // Every later step of this kind on a path holding pathPart fails with err.
  void fail(platform::FileStep step, int err, const std::string& pathPart = {});
  // Nothing fails any more.
  void clear();
  // How many steps were made to fail.
  int failures() const { return failures_; }
  // Runs before each read of a path holding pathPart (to cut or remove the
  // file while it is being read).
  void beforeRead(const std::string& pathPart, std::function<void(const std::string& path)> action);

 private:
  struct Rule {
    platform::FileStep step;
    int err;
    std::string pathPart;
  };
  std::vector<Rule> rules_;
  std::string readPart_;
  std::function<void(const std::string&)> readAction_;
  int failures_ = 0;
  platform::FileFaultHook previous_;
};

}  // namespace vektrano::test
