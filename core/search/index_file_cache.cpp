#include "core/search/index_file_cache.h"

#include <sys/stat.h>

#include <list>

#include "core/base/text.h"
#include "platform/files.h"

namespace vektrano {
namespace {

// What tells a file changed. A rebuild swaps in a folder of other inodes, or
// writes over the files of an older generation (new times and sizes).
struct Stamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{}, ctime{};
  bool operator==(const Stamp& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
           ctime.tv_nsec == o.ctime.tv_nsec;
  }
};

bool stampOf(const std::string& path, Stamp& s) {
  struct stat st {};
  if (::stat(platform::fsPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  s = {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
  return true;
}

struct Entry {
  std::string path;
  Stamp stamp;
  std::shared_ptr<const IndexFile> file;
};

// The most recently used first; the oldest go once the kept bytes pass the
// limit (the folded lines take about twice the file again).
constexpr size_t kKeptBytes = 48u << 20;

std::mutex mutex;
std::list<Entry> entries;

void trim() {
  size_t bytes = 0;
  for (auto it = entries.begin(); it != entries.end();) {
    bytes += it->file->data().size() * 3;
    if (bytes > kKeptBytes && it != entries.begin())
      it = entries.erase(it);
    else
      ++it;
  }
}

}  // namespace

const IndexListLines& IndexFile::listLines() const {
  std::call_once(once_, [this] {
    lines_.compare.reserve(0, data_.size());
    lines_.shown.reserve(0, data_.size());
    std::string compare, shown;
    size_t pos = 0;
    while (pos < data_.size()) {
      size_t end = data_.find('\n', pos);
      if (end == std::string::npos) end = data_.size();
      std::string_view line(data_.data() + pos, end - pos);
      pos = end + 1;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.substr(0, 6) == "******") {
        lines_.compare.push_back({});
        lines_.shown.push_back({});
        continue;
      }
      const std::string_view cut = line.substr(0, line.find('('));
      compare = " ";
      compare += cut.substr(0, 6);
      compare += ' ';
      compare += PrevodJenNaVelke(cut.size() > 7 ? cut.substr(7) : std::string_view());
      shown.assign(line);
      if (shown.size() > 6) shown[6] = '-';
      if (shown.find(";Nezjištěno") != std::string::npos) shown.erase(shown.find(';'));
      const size_t semicolon = shown.find(';');
      if (semicolon != std::string::npos) shown.replace(semicolon, 1, " - ");
      lines_.compare.push_back(compare);
      lines_.shown.push_back(shown);
    }
  });
  return lines_;
}

std::shared_ptr<const IndexFile> readIndexFile(const std::string& path) {
  Stamp before;
  if (!stampOf(path, before)) return nullptr;
  {
    std::lock_guard lock(mutex);
    for (auto it = entries.begin(); it != entries.end(); ++it)
      if (it->path == path) {
        if (it->stamp == before) {
          entries.splice(entries.begin(), entries, it);
          return it->file;
        }
        entries.erase(it);
        break;
      }
  }
  std::optional<std::string> data = platform::readWholeFile(path);
  if (!data) return nullptr;
  auto file = std::make_shared<const IndexFile>(std::move(*data));
  // Kept only when the file did not change while it was read.
  Stamp after;
  if (stampOf(path, after) && after == before) {
    std::lock_guard lock(mutex);
    std::erase_if(entries, [&](const Entry& e) { return e.path == path; });
    entries.push_front({path, before, file});
    trim();
  }
  return file;
}

void clearIndexFileCache() {
  std::lock_guard lock(mutex);
  entries.clear();
}

}  // namespace vektrano
