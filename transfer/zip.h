#pragma once
// The zip archive components: TZip packs a list of files into one archive
// (deflate, names without folders, entries sorted by name); TUnZip unpacks
// the entries whose names match a list of masks into a folder, walking the
// local headers. Problems go to OnError when it is assigned, otherwise to a
// warning box, and the work goes on. Compress returns false when an
// input-output error stopped it or no file could be packed; Extract when the
// archive is missing, damaged or unreadable, or the folder cannot be made.
//
// The reader is meant for archives from anywhere: no name leaves the target
// folder, no header size is trusted for memory, and a file on disk is
// replaced only by an entry that decoded completely with a good checksum.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vektrano::transfer {

class TZipComponent;

// Percentage of the work on one file.
using TZipProgress = std::function<void(TZipComponent& Sender, int16_t AProgress)>;
using TZipError = std::function<void(TZipComponent& Sender, const std::string& ErrorMsg)>;

class TZipComponent {
 public:
  virtual ~TZipComponent() = default;

  TZipProgress OnProgress;
  TZipError OnError;

  // OnError when assigned, otherwise a warning box.
  void ReportZipError(const std::string& message);

 protected:
  void Progress(int16_t percent);
};

// One file to pack: the writer's entry list is kept sorted by Name, byte by
// byte, with one node per name.
struct TZipEntry {
  std::string Folder;  // as the Files line gave it
  std::string Name;    // stored in the archive
  std::string Path;    // the file to read
  uint16_t DosDate = 0;
  uint16_t DosTime = 0;
};

// Inserts in ascending order of Name; a node of the same name takes the new
// folder and path (the file found later wins).
void InsertSortedEntry(std::vector<TZipEntry>& list, TZipEntry entry);

class TZip : public TZipComponent {
 public:
  TZip();

  std::string ArcName;             // the archive to write
  std::vector<std::string> Files;  // paths of the files to pack
  bool Overwrite = false;          // an existing archive may be replaced

  // Packs Files into ArcName. The archive is built beside it under a
  // temporary name and takes its place only when complete, so an earlier
  // archive survives any failure. False after an input-output error or
  // when no file could be packed (then no archive is left behind).
  bool Compress();

 private:
  bool compress();
  bool deflate_;  // every entry is written with method 8
};

class TUnZip : public TZipComponent {
 public:
  TUnZip() = default;

  std::string ArcName;             // the archive to read
  std::vector<std::string> Files;  // masks of the entries; none means "*.*"
  // Kept for the callers; an existing file of an entry's name is always
  // replaced.
  bool Overwrite = false;
  // The most one Extract writes in all; an entry that would pass it is
  // reported and skipped.
  uint64_t MaxTotalSize = uint64_t{4} << 30;

  // The target folder; a separator is appended to a text without one.
  void SetExtrPath(const std::string& path);
  const std::string& ExtrPath() const { return extrPath_; }

  // Extracts the matching entries into ExtrPath (created when missing).
  // Unsafe names, encrypted, zip64 and streamed entries are reported and
  // skipped. False when the archive is missing, truncated or unreadable, or
  // the folder cannot be created.
  bool Extract();

 private:
  bool extract();
  std::string extrPath_;
};

// Windows-style numbers of the input-output errors the reader reports
// (2 file, 3 path, 5 name or access, 101 disk full) for a POSIX errno.
int ZipIoErrorCode(int err, bool creating);
// The reader's message for such a number.
std::string ZipIoErrorText(int code);

}  // namespace vektrano::transfer
