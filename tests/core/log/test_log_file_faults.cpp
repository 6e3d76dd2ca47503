// The log file under faults: a read-only folder, a full disk and a process
// killed at any moment while it stores contacts. Afterwards the log is
// always complete and holds every contact but at most the last one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "core/log/log_file.h"
#include "core/log/recalculation.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

using platform::readWholeFile;
using test::TempDir;

const char* const kLocators[] = {"JO80GQ", "JN99JM", "JO71GQ", "JN79GQ", "JO60GQ"};

Grid::Row contact(int n) {
  return {std::to_string(n), "07:05", "59", "Stanice Čís " + std::to_string(n), "57",
          kLocators[n % 5], "", ",pozn " + std::to_string(n)};
}

// The log of contacts 1..n as the program writes it.
std::string expectedLog(int n) {
  LogDocument log;
  log.PopisExpedice[kPopisLokator] = "JO70GQ";  // what reading fills in
  for (int i = 1; i <= n; ++i) log.Denik.appendRow(contact(i));
  PrepocetDeniku(log);
  return formatLog(log);
}

int silentMessages() {
  platform::setMessageHandler([](const platform::Message& m) { return m.defaultAnswer; });
  return 0;
}

// Number of contacts of a complete log file written by the program, or -1
// when the file is not exactly such a log.
int completeContacts(const std::string& path) {
  const auto data = readWholeFile(path);
  if (!data) return -1;
  size_t lines = 0;
  for (size_t i = 0; i + 1 < data->size(); ++i)
    if ((*data)[i] == '\r' && (*data)[i + 1] == '\n') ++lines;
  if (lines == 0) return -1;
  const int n = static_cast<int>(lines) - 1;
  return *data == expectedLog(n) ? n : -1;
}

std::vector<std::string> strayFiles(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(".", 0) == 0) out.push_back(name);
  }
  return out;
}

TEST(LogFaults, KilledWhileStoringContactsNeverDamagesTheLog) {
  TempDir dir;
  const std::string qvl = dir.file("denik.qvl");
  std::mt19937 rng(20261209);
  int confirmed = 0;  // contacts a previous round found in the log
  for (int round = 0; round < 30; ++round) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(fds[0]);
      silentMessages();
      LogDocument log;
      log.SaveFileName = qvl;
      log.ZalohaFileName = dir.file("zaloha.qvl");
      log.PopisExpedice[kPopisLokator] = "JO70GQ";
      TabulkaSynonym syn;
      if (platform::fileExists(qvl)) nactidata(log, syn);
      // Odd rounds store as Enter does: one row recalculated, the bytes
      // written to both files at once.
      const bool enter = round % 2 == 1;
      for (;;) {
        const int n = log.Denik.rowCount();
        if (enter) {
          if (::write(fds[1], &n, sizeof n) != sizeof n) ::_exit(3);
          ulozNoveSpojeni(log, contact(n), log.SaveFileName, log.ZalohaFileName);
          continue;
        }
        log.Denik.appendRow(contact(n));
        if (::write(fds[1], &n, sizeof n) != sizeof n) ::_exit(3);
        ulozdata(log, log.SaveFileName);
        ulozZalohu(log);
      }
    }
    ::close(fds[1]);
    // Kill at a random moment once the child has gone past the contacts
    // stored so far, so that every round proves something however loaded
    // the machine is.
    const int target = confirmed + 1 + int(rng() % 3);
    int last = confirmed, n = 0;
    while (last < target && ::read(fds[0], &n, sizeof n) == sizeof n) last = n;
    ::usleep(rng() % 3000);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself";
    while (::read(fds[0], &n, sizeof n) == sizeof n) last = n;
    ::close(fds[0]);

    if (!platform::fileExists(qvl)) {
      ASSERT_LE(last, 1) << "round " << round << ": no log after contact " << last;
      continue;
    }
    const int stored = completeContacts(qvl);
    ASSERT_GE(stored, 0) << "round " << round << ": damaged log";
    EXPECT_GE(stored, std::max(confirmed, last - 1)) << "round " << round;
    EXPECT_LE(stored, last) << "round " << round;
    if (platform::fileExists(dir.file("denik.bak"))) {
      EXPECT_GE(completeContacts(dir.file("denik.bak")), 0) << "round " << round;
    }
    confirmed = stored;
  }
  EXPECT_GT(confirmed, 5) << "the children stored too little to prove anything";
}

// Runs body in a child process and expects it to end with status 0; the
// child can change its user or limits without touching the test process.
void inChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Returns 0 when a write of a grown log to path fails with the message and
// leaves the previous log exactly as it was, else the failed check.
int growingWriteFailsCleanly(const std::string& path, int contacts) {
  std::vector<std::string> texts;
  platform::setMessageHandler([&](const platform::Message& m) {
    texts.push_back(m.text);
    return m.defaultAnswer;
  });
  const auto before = readWholeFile(path);
  if (!before) return 10;
  LogDocument log;
  for (int i = 1; i <= contacts; ++i) log.Denik.appendRow(contact(i));
  if (ulozdata(log, path)) return 11;
  if (texts.size() != 1 || texts[0] != "Chyba I/O při ukládání záložního souboru : " + path) return 12;
  if (readWholeFile(path) != before) return 13;
  if (!strayFiles(std::filesystem::path(path).parent_path().string()).empty()) return 14;
  return 0;
}

TEST(LogFaults, ReadOnlyFolderKeepsThePreviousLog) {
  TempDir dir;
  const std::string folder = dir.file("ro");
  std::filesystem::create_directory(folder);
  const std::string qvl = folder + "/denik.qvl";
  ASSERT_TRUE(platform::writeFileAtomic(qvl, expectedLog(2)));
  ::chmod(dir.path().c_str(), 0755);
  ::chmod(folder.c_str(), 0555);
  inChild([&] {
    // Root ignores permissions: give the write to an ordinary user.
    if (::geteuid() == 0 && ::setuid(65534) != 0) return 20;
    return growingWriteFailsCleanly(qvl, 3);
  });
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(completeContacts(qvl), 2);
}

TEST(LogFaults, FullDiskKeepsThePreviousLog) {
  TempDir dir;
  const std::string folder = dir.file("disk");
  std::filesystem::create_directory(folder);
  const std::string qvl = folder + "/denik.qvl";
  // A small file system of its own when allowed, else a file-size limit.
  const bool mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
  ASSERT_TRUE(platform::writeFileAtomic(qvl, expectedLog(2)));
  inChild([&] {
    if (!mounted) {
      ::signal(SIGXFSZ, SIG_IGN);
      rlimit lim{32 * 1024, 32 * 1024};
      if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) return 21;
    }
    return growingWriteFailsCleanly(qvl, 3000);
  });
  EXPECT_EQ(completeContacts(qvl), 2);
  if (mounted) ::umount(folder.c_str());
}

}  // namespace
}  // namespace vektrano
