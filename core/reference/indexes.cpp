#include "core/reference/indexes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <optional>
#include <vector>

#include "core/base/synonyms.h"
#include "core/base/text.h"
#include "core/reference/list_data.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {
namespace fs = std::filesystem;
namespace {

std::string_view from(std::string_view s, size_t pos) {
  return pos < s.size() ? s.substr(pos) : std::string_view();
}

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool isUpperOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A locator key becomes a file name: only letters and digits, so nothing
// taken from a database can name another folder.
bool plainKey(std::string_view key) {
  if (key.empty()) return false;
  for (char c : key)
    if (!isUpperOrDigit(c)) return false;
  return true;
}

bool wordKey(char a, char b) {
  return (isUpperOrDigit(a) || a == '.' || a == '_') && (isUpperOrDigit(b) || b == '.');
}

// The lines of a database as the list windows read them, so that the
// editors and the indexes never disagree on what a line is.
void forEachLine(const std::string& data, const std::function<void(std::string_view)>& fn) {
  forEachFileLine(data, fn);
}

bool writeAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool isIndexFileOf(const std::string& fileName, const std::string& namePrefix) {
  return fileName.size() >= namePrefix.size() + 4 &&
         fileName.compare(0, namePrefix.size(), namePrefix) == 0 &&
         fileName.compare(fileName.size() - 4, 4, ".idx") == 0;
}

// An index folder written anew beside the one in use: into the spare
// folder, which holds the generation before the one in use.
struct StagedFolder {
  const IndexPrefix* prefix;
  fs::path target;
  fs::path staging;
};

fs::path sparePath(const fs::path& target) {
  fs::path p = target;
  p += ".spare";
  return p;
}

// Runs the tasks at once, each on a thread of its own, and waits for all.
void runTogether(const std::vector<std::function<void()>>& tasks) {
  std::vector<std::thread> threads;
  for (size_t i = 1; i < tasks.size(); ++i) threads.emplace_back(tasks[i]);
  if (!tasks.empty()) tasks[0]();
  for (std::thread& t : threads) t.join();
}

bool pwriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Marks a spare folder while a rebuild writes into it.
constexpr const char* kUnfinished = ".rozepsano";

// Whether the open file holds exactly data.
bool holds(int fd, const std::string& data, std::string& buffer) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || st.st_size != static_cast<off_t>(data.size())) return false;
  buffer.resize(data.size());
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::pread(fd, buffer.data() + done, data.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return buffer == data;
}

void syncFolder(const fs::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Writes the files into the spare folder beside the prefix's folder; what
// the spare holds beyond them goes. Creating thousands of files is what
// costs on a busy file system, far more than writing them, so a file of the
// spare that has the name of a new one is written over in place; each file
// is flushed on its own (a few writers at once), never the whole file
// system. The path that could not be written, or nothing.
std::optional<std::string> stage(const IndexPrefix& prefix, const IndexBuild::Files& files,
                                 StagedFolder& out) {
  out.prefix = &prefix;
  out.target = platform::fsPath(prefix.folder);
  out.staging = sparePath(out.target);
  std::error_code ec;
  fs::create_directories(out.staging, ec);
  const int dir = ::open(out.staging.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return platform::fromFsPath(out.staging);
  // A file of the spare that holds the new content already stays as it is:
  // the spare is the folder an earlier rebuild flushed and put in use. Not
  // so after a rebuild that did not end: its mark stays in the spare, and
  // every file is written and flushed again.
  const bool trusted = !fs::exists(out.staging / kUnfinished, ec);
  const int mark = ::openat(dir, kUnfinished, O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (mark < 0) {
    ::close(dir);
    return platform::fromFsPath(out.staging);
  }
  ::close(mark);
  std::vector<fs::path> stale;
  for (const auto& entry : fs::directory_iterator(out.staging, ec)) {
    const std::string name = entry.path().filename().string();
    if (name != kUnfinished && files.find(name) == files.end()) stale.push_back(entry.path());
  }
  for (const fs::path& p : stale) fs::remove_all(p, ec);

  std::vector<const IndexBuild::Files::value_type*> all;
  all.reserve(files.size());
  for (const auto& f : files) all.push_back(&f);
  // Writers mostly wait for the disk's flush; a few files are not worth a
  // thread each, so a writer takes at least kFilesPerWriter of them.
  constexpr size_t kWriters = 8;
  constexpr size_t kFilesPerWriter = 32;
  const size_t writerCount = std::clamp<size_t>(all.size() / kFilesPerWriter, 1, kWriters);
  std::mutex failedMutex;
  std::optional<std::string> failed;
  std::vector<std::function<void()>> writers;
  for (size_t w = 0; w < writerCount; ++w)
    writers.emplace_back([&, w, writerCount] {
      std::string buffer;
      for (size_t i = w; i < all.size(); i += writerCount) {
        const auto& [name, content] = *all[i];
        // Index file names are plain ASCII, the same in cp1250 and UTF-8.
        int fd = ::openat(dir, name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 && trusted && holds(fd, content, buffer)) {
          ::close(fd);
          continue;
        }
        bool ok = fd >= 0 && pwriteAll(fd, content) &&
                  ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fdatasync(fd) == 0;
        if (fd >= 0) ok = (::close(fd) == 0) && ok;
        if (!ok) {
          std::lock_guard lock(failedMutex);
          if (!failed) failed = platform::joinPath(prefix.folder, name);
          return;
        }
      }
    });
  runTogether(writers);
  if (!failed) {
    ::unlinkat(dir, kUnfinished, 0);
    ::fsync(dir);
  }
  ::close(dir);
  return failed;
}

// Puts the staged folders in place of the old ones, which become the spare
// folders of the next rebuild. Files of the old folder that are no index
// files of the prefix move into the new one, as a rebuild deletes only
// prefix*.idx.
std::optional<std::string> commit(std::vector<StagedFolder>& staged) {
  std::error_code ec;
  for (const StagedFolder& s : staged) {
    std::vector<fs::path> keep;
    for (const auto& entry : fs::directory_iterator(s.target, ec))
      if (!isIndexFileOf(platform::fromFsPath(entry.path().filename()), s.prefix->name))
        keep.push_back(entry.path());
    for (const fs::path& p : keep) fs::rename(p, s.staging / p.filename(), ec);
    if (!keep.empty()) syncFolder(s.staging);
  }
  for (const StagedFolder& s : staged) {
    fs::create_directories(s.target.parent_path(), ec);
    bool ok = false;
    if (!fs::exists(s.target, ec)) {
      ok = ::rename(s.staging.c_str(), s.target.c_str()) == 0;
    } else if (::renameat2(AT_FDCWD, s.staging.c_str(), AT_FDCWD, s.target.c_str(),
                           RENAME_EXCHANGE) == 0) {
      ok = true;
    } else if (errno == EINVAL || errno == ENOSYS) {
      // A file system without an atomic exchange: the old folder steps aside
      // first, so the folder is missing for a moment but never half-built.
      fs::path old = s.target;
      old += ".old";
      fs::remove_all(old, ec);
      if (::rename(s.target.c_str(), old.c_str()) == 0) {
        ok = ::rename(s.staging.c_str(), s.target.c_str()) == 0;
        if (!ok)
          ::rename(old.c_str(), s.target.c_str());
        else
          ::rename(old.c_str(), s.staging.c_str());
      }
    }
    if (!ok) return s.prefix->folder;
    syncFolder(s.target.parent_path());
  }
  return std::nullopt;
}

// Runs its function on every way out of a scope unless dismissed.
class OnExit {
 public:
  explicit OnExit(std::function<void()> fn) : fn_(std::move(fn)) {}
  ~OnExit() {
    if (fn_) fn_();
  }
  void dismiss() { fn_ = nullptr; }
  OnExit(const OnExit&) = delete;
  OnExit& operator=(const OnExit&) = delete;

 private:
  std::function<void()> fn_;
};

std::string formatToday(const Day& d) {
  platform::DateTime t;
  t.year = d.year;
  t.month = d.month;
  t.day = d.day;
  return platform::formatDate(t);
}

}  // namespace

// --- paths -----------------------------------------------------------------

std::string IndexPrefix::prefix() const { return platform::joinPath(folder, name); }

std::string IndexPrefix::file(std::string_view key) const {
  std::string f = prefix();
  f += key;
  f += ".idx";
  return f;
}

IndexPrefixes IndexPrefixes::under(const std::string& programFolder) {
  const std::string idx = platform::joinPath(programFolder, "idx");
  auto at = [&](const char* folder, const char* name) {
    return IndexPrefix{platform::joinPath(idx, folder), name};
  };
  return {at("locl", "loc_"), at("loc", "loc_"), at("voll", "vol_"), at("vol", "vol_"),
          at("jmn", "jmn_")};
}

DatabaseFiles DatabaseFiles::beside(const std::string& programFolder) {
  DatabaseFiles f;
  f.zr4 = platform::joinPath(programFolder, "vektrano.zr4");
  f.pvk = platform::joinPath(programFolder, "vektrano.pvk");
  f.jmn = platform::joinPath(programFolder, "vektrano.jmn");
  return f;
}

DatabaseChoice databaseChoice(bool both, bool mainOnly, bool secondOnly) {
  if (mainOnly) return DatabaseChoice::MainOnly;
  if (secondOnly && !both) return DatabaseChoice::SecondOnly;
  return DatabaseChoice::Both;
}

// --- the split -------------------------------------------------------------

IndexBuild::IndexBuild(IndexKind kind) : kind_(kind) {
  switch (kind) {
    case IndexKind::Lok: wordName_ = locatorName_ = "loc_"; break;
    case IndexKind::Vol: wordName_ = locatorName_ = "vol_"; break;
    case IndexKind::Jmn: wordName_ = "jmn_"; break;
  }
}

void IndexBuild::append(Files& files, std::string_view key, std::string_view line) {
  std::string name = &files == &words_ ? wordName_ : locatorName_;
  name += key;
  name += ".idx";
  std::string& content = files[std::move(name)];
  content += line;
  content += "\r\n";
}

void IndexBuild::addLine(std::string_view line) {
  // The bracketed district is never indexed.
  const std::string_view t = line.substr(0, line.find('('));
  std::string text;
  if (kind_ == IndexKind::Jmn) {
    text = " ";
    text += from(t, 5);
  } else {
    const std::string_view k5 = t.substr(0, 5);
    std::string key(k5);
    for (char& c : key) c = asciiUpper(c);
    append(plainKey(key) ? locators_ : words_, plainKey(key) ? std::string_view(key) : kErrorKey,
           line);
    text.assign(k5);
    text += ' ';
    text += from(t, 7);
  }
  // The locator is a word too, so the word index finds a line by it.
  text = PrevodJenNaVelke(text);

  // At most 99 words; of words with the same first two characters the line
  // goes to their file once.
  char seen[99][2];
  int distinct = 0;
  auto take = [&](std::string_view word) {
    if (word.size() < 2 || word == "/P") return;
    for (int i = 0; i < distinct; ++i)
      if (seen[i][0] == word[0] && seen[i][1] == word[1]) return;
    seen[distinct][0] = word[0];
    seen[distinct][1] = word[1];
    ++distinct;
  };
  std::string_view rest = text;
  int words = 0;
  for (size_t blank; words < 99 && (blank = rest.find(' ')) != std::string_view::npos; ++words) {
    take(rest.substr(0, blank));
    rest.remove_prefix(blank + 1);
  }
  if (words < 99) take(rest);

  for (int i = 0; i < distinct; ++i) {
    const char key[2] = {asciiUpper(seen[i][0]), asciiUpper(seen[i][1])};
    if (wordKey(key[0], key[1]))
      append(words_, std::string_view(key, 2), line);
    else
      append(words_, kErrorKey, line);
  }
}

void IndexBuild::appendSeparator() {
  for (auto& [name, content] : words_) {
    content += kSeparatorLine;
    content += "\r\n";
  }
}

void RozdelDatabazi(const std::string& file, IndexBuild& build, IndexObserver& observer) {
  observer.setProcessPriority(platform::ProcessPriority::RealTime);
  OnExit normal([&] { observer.setProcessPriority(platform::ProcessPriority::Normal); });
  const std::optional<std::string> data = platform::readWholeFile(file);
  observer.setProgressMax(data ? static_cast<std::int64_t>(data->size()) : 0);
  observer.setProgressPosition(0);
  if (data) {
    std::int64_t position = 0;
    forEachLine(*data, [&](std::string_view line) {
      position += static_cast<std::int64_t>(line.size()) + 2;
      observer.setProgressPosition(position);
      observer.processMessages();
      build.addLine(line);
    });
  }
  normal.dismiss();
  observer.setProcessPriority(platform::ProcessPriority::Normal);
  observer.processMessages();
  observer.processMessages();
}

bool PridejRadek(const std::string& file, std::string_view line) {
  std::string data(line);
  data += "\r\n";
  int fd = ::open(platform::fsPath(file).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = writeAll(fd, data);
  return (::close(fd) == 0) && ok;
}

std::int64_t tickCount() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string CasTrvani(std::int64_t startTick, std::int64_t nowTick) {
  std::int64_t s = (nowTick - startTick) / 1000;
  std::string text;
  if (s > 3600) {
    text += " hod:" + std::to_string(s / 3600);
    s %= 3600;
  }
  if (s > 60) {
    text += ",min:" + std::to_string(s / 60);
    s %= 60;
  }
  if (s > 0) text += ",sec:" + std::to_string(s);
  if (!text.empty()) text.erase(0, 1);
  return "[" + text + "]";
}

std::string megabytes(std::uint64_t bytes) {
  const std::uint64_t mb = (bytes + 524288) / 1048576;
  std::string digits = mb ? std::to_string(mb) : std::string();
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  return out + " MB";
}

int countIndexFiles(const IndexPrefix& prefix) {
  std::error_code ec;
  int n = 0;
  for (const auto& entry : fs::directory_iterator(platform::fsPath(prefix.folder), ec))
    if (isIndexFileOf(platform::fromFsPath(entry.path().filename()), prefix.name)) ++n;
  return n;
}

// --- rebuild ---------------------------------------------------------------

struct Indexes::KindSetup {
  IndexKind kind;
  const IndexPrefix* words;
  const IndexPrefix* locators;  // none for name days
  const char* waiting;
  const char* done;
};

Indexes::Indexes(const std::string& programFolder, IndexObserver& observer)
    : prefixes_(IndexPrefixes::under(programFolder)), observer_(observer) {}

bool Indexes::rebuild(const KindSetup& setup, const std::string& second, const std::string& main,
                      DatabaseChoice choice) {
  observer_.setControlsEnabled(false);
  const std::int64_t start = tickCount();
  const bool useSecond = choice != DatabaseChoice::MainOnly;
  const bool useMain = choice != DatabaseChoice::SecondOnly;

  observer_.showProgressBar(true);
  IndexaceBezi_ = true;
  OnExit restore([this] {
    IndexaceBezi_ = false;
    observer_.setProcessPriority(platform::ProcessPriority::Normal);
    observer_.showProgressBar(false);
    observer_.setControlsEnabled(true);
    observer_.alignInfoMenu();
    observer_.setStatusText("");
  });
  observer_.setStatusText(setup.waiting);
  observer_.processMessages();
  observer_.processMessages();

  IndexBuild build(setup.kind);
  if (useSecond) {
    RozdelDatabazi(second, build, observer_);
    // Between the two databases only: the second alone ends without it.
    if (useMain) build.appendSeparator();
  }
  if (useMain) RozdelDatabazi(main, build, observer_);

  std::vector<StagedFolder> staged(setup.locators ? 2 : 1);
  std::optional<std::string> failures[2];
  std::vector<std::function<void()>> stages = {
      [&] { failures[0] = stage(*setup.words, build.wordFiles(), staged[0]); }};
  if (setup.locators)
    stages.emplace_back(
        [&] { failures[1] = stage(*setup.locators, build.locatorFiles(), staged[1]); });
  runTogether(stages);
  // A spare left half-written by a failure is written over by the next
  // rebuild; the folders in use stay as they were.
  std::optional<std::string> failed = failures[0] ? failures[0] : failures[1];
  if (!failed) failed = commit(staged);
  if (failed) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(*failed),
                          platform::MessageKind::Error);
    return false;
  }

  restore.dismiss();
  IndexaceBezi_ = false;
  const std::string doneText = setup.done + CasTrvani(start);
  observer_.setStatusText(doneText);
  observer_.showProgressBar(false);
  observer_.processMessages();
  observer_.setControlsEnabled(true);
  observer_.alignInfoMenu();
  observer_.setStatusText(doneText + "   INDEXOVÁNÍ HOTOVO.");
  return true;
}

bool Indexes::locIDX(const DatabaseFiles& files, DatabaseChoice choice) {
  const KindSetup setup{IndexKind::Lok, &prefixes_.loc, &prefixes_.locl,
                        " Čekej prosím, indexuji databázi lokátorů", " LOKÁTORY : "};
  return rebuild(setup, files.LokatoryAlter, files.zr4, choice);
}

bool Indexes::volIDX(const DatabaseFiles& files, DatabaseChoice choice) {
  const KindSetup setup{IndexKind::Vol, &prefixes_.vol, &prefixes_.voll,
                        " Čekej prosím, indexuji databázi volaček", "    VOLAČKY: "};
  return rebuild(setup, files.VolackyAlter, files.pvk, choice);
}

bool Indexes::jmnIDX(const DatabaseFiles& files) {
  const KindSetup setup{IndexKind::Jmn, &prefixes_.jmn, nullptr,
                        " Čekej prosím, indexuji databázi svátků", "    SVÁTKY:"};
  return rebuild(setup, {}, files.jmn, DatabaseChoice::MainOnly);
}

// --- memory mode -----------------------------------------------------------

void Indexes::loadInto(MemoryTableSlot& slot, const std::string& file, bool restart) {
  const std::optional<std::string> data = platform::readWholeFile(file);
  observer_.setProgressMax(data ? static_cast<std::int64_t>(data->size()) : 0);
  observer_.setProgressPosition(0);
  auto table = std::make_shared<MemoryTable>();
  if (!restart) {
    // A database that cannot be read adds nothing, not even the separator.
    if (!data) return;
    *table = *slot.get();
    table->push_back(separatorRow());
  }
  if (data) {
    std::int64_t position = 0;
    forEachLine(*data, [&](std::string_view line) {
      position += static_cast<std::int64_t>(line.size()) + 2;
      observer_.setProgressPosition(position);
      observer_.processMessages();
      table->push_back(databaseRow(line));
    });
  }
  slot.set(std::move(table));
}

void Indexes::NactiVolackyDoPameti(const std::string& file, bool restart) {
  loadInto(SGvolacky, file, restart);
}

void Indexes::NactiLokatoryDoPameti(const std::string& file, bool restart) {
  loadInto(SGlokatory, file, restart);
}

void Indexes::afterListSaved(IndexKind kind, const DatabaseFiles& files,
                             const ReIndexaceOptions& options) {
  if (!options.MenuRam) {
    switch (kind) {
      case IndexKind::Lok: locIDX(files, options.lokatory); break;
      case IndexKind::Vol: volIDX(files, options.volacky); break;
      case IndexKind::Jmn: jmnIDX(files); break;
    }
  }
  ReIndexace(files, options);
}

void Indexes::ReIndexace(const DatabaseFiles& files, const ReIndexaceOptions& options) {
  DnesniDatum_ = formatToday(options.today);
  const platform::MemoryStatus memory = observer_.memoryStatus();
  observer_.processMessages();

  if (!options.MenuRam) {
    const int places = countIndexFiles(prefixes_.loc) + countIndexFiles(prefixes_.locl);
    const int calls = countIndexFiles(prefixes_.vol) + countIndexFiles(prefixes_.voll);
    const int days = countIndexFiles(prefixes_.jmn);
    observer_.setStatusText("Počty souborů - LOKÁTORY:" + std::to_string(places) +
                            ",  VOLAČKY:" + std::to_string(calls) +
                            ",  SVÁTKY:" + std::to_string(days));
    return;
  }

  observer_.showProgressBar(true);
  OnExit hide([this] { observer_.showProgressBar(false); });

  auto load = [this](void (Indexes::*into)(const std::string&, bool), DatabaseChoice choice,
                     const std::string& second, const std::string& main) {
    // Only "the main one alone" narrows the memory tables: with the second
    // database alone both are loaded, the second first, as with both.
    switch (choice) {
      case DatabaseChoice::MainOnly: (this->*into)(main, true); break;
      case DatabaseChoice::SecondOnly:
      case DatabaseChoice::Both:
        (this->*into)(second, true);
        (this->*into)(main, false);
        break;
    }
  };
  load(&Indexes::NactiVolackyDoPameti, options.volacky, files.VolackyAlter, files.pvk);
  load(&Indexes::NactiLokatoryDoPameti, options.lokatory, files.LokatoryAlter, files.zr4);

  auto days = std::make_shared<MemoryTable>();
  if (const std::optional<std::string> data = platform::readWholeFile(files.jmn)) {
    observer_.setProgressMax(static_cast<std::int64_t>(data->size()));
    observer_.setProgressPosition(0);
    std::int64_t position = 0;
    forEachLine(*data, [&](std::string_view line) {
      position += static_cast<std::int64_t>(line.size()) + 2;
      observer_.setProgressPosition(position);
      if (nameDayLoaded(line, options.today))
        days->push_back(nameDayRow(line, options.today, options.synonyms));
    });
  }
  SGsvatky.set(std::move(days));

  observer_.setStatusText("Načteno : " + std::to_string(PocetVolacekRAM()) + " volaček, " +
                          std::to_string(PocetLokatoruRAM()) + " lokátorů, " +
                          std::to_string(PocetSvatkuRAM()) + " svátků, " + "RAM celkem : " +
                          megabytes(memory.totalPhysical) + ", RAM volná : " +
                          megabytes(memory.freePhysical) + ", Virt.volná : " +
                          megabytes(memory.freeVirtual));
}

}  // namespace vektrano
