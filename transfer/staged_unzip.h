#pragma once
// Installing the files of a downloaded or carried archive: the archive is
// unpacked into a fresh hidden folder inside the target folder, and only
// when every entry came out whole are the files renamed into their places.
// A damaged archive therefore changes nothing, and each file in place is
// either the old one or the complete new one.
#include <functional>
#include <string>
#include <vector>

namespace vektrano::transfer {

class StagedUnzip {
 public:
  // folder: where the files go in the end (it must exist).
  explicit StagedUnzip(std::string folder);
  // Removes the staging folder with whatever is still in it.
  ~StagedUnzip();
  StagedUnzip(const StagedUnzip&) = delete;
  StagedUnzip& operator=(const StagedUnzip&) = delete;

  // Unpacks every entry. False when the staging folder could not be made,
  // the archive is missing or damaged, or any entry was refused or came out
  // wrong (a name leaving the folder, a bad checksum, ...): errors holds the
  // zip reader's reports.
  bool extract(const std::string& archive);
  std::vector<std::string> errors;

  // Names of the unpacked files relative to the folder, "/" separated, sorted.
  std::vector<std::string> files() const;
  // Where an unpacked file waits.
  std::string stagedPath(const std::string& name) const;
  // Where it goes.
  std::string destination(const std::string& name) const;

  // Renames every unpacked file over its destination (subfolders made),
  // except those whose destination allowed refuses, which stay behind.
  // False after the first rename that failed.
  bool install(const std::function<bool(const std::string& destination)>& allowed = {});

 private:
  std::string folder_;
  std::string staging_;  // empty until made
};

// Whether two paths name the same file (also through links); false when
// either is missing.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace vektrano::transfer
