// Cold start of the real program to its shown main window: the time from
// starting build/bin/vektrano until it reports the window shown (the test
// hook's "ready" line), on a fresh program folder and settings store each
// run. Targets (median): a fresh folder 0.5 s; a folder with a generated
// database of 100,000 towns (and 50,000 call signs) 1.5 s, in file mode with
// its indexes built and in memory mode.
//
//   bench_core_timed_startup [runs] [path/to/vektrano]
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/generated_data.h"
#include "core/reference/indexes.h"
#include "core/session/main_window_settings.h"
#include "platform/files.h"

extern char** environ;

namespace {
using namespace vektrano;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

bench::GeneratedData data;

void copyTree(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

// One start: seconds until the ready line, or a negative value.
double startOnce(const std::string& program, const std::string& home, const std::string& config,
                 const std::string& runtime) {
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return -1;
  std::vector<std::string> env = {"VEKTRANO_HOME=" + home, "XDG_CONFIG_HOME=" + config,
                                  "XDG_RUNTIME_DIR=" + runtime, "VEKTRANO_MESSAGES=stderr",
                                  "VEKTRANO_TEST_HOOKS=1"};
  const char* platformEnv = std::getenv("QT_QPA_PLATFORM");
  env.push_back(std::string("QT_QPA_PLATFORM=") + (platformEnv ? platformEnv : "offscreen"));
  for (const char* keep : {"PATH", "HOME", "DISPLAY", "XAUTHORITY", "LANG"})
    if (const char* v = std::getenv(keep)) env.push_back(std::string(keep) + "=" + v);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string prog = program;
  char* argv[] = {prog.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFd[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeFd[0]);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const auto t0 = Clock::now();
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFd[1]);
  if (rc != 0) {
    close(pipeFd[0]);
    return -1;
  }
  std::string seen;
  double result = -1;
  char buf[4096];
  while (std::chrono::duration<double>(Clock::now() - t0).count() < 30) {
    pollfd p{pipeFd[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    const ssize_t n = read(pipeFd[0], buf, sizeof buf);
    if (n <= 0) break;  // the program ended without a window
    seen.append(buf, static_cast<size_t>(n));
    if (seen.find("vektrano-test: ready") != std::string::npos) {
      result = std::chrono::duration<double>(Clock::now() - t0).count();
      break;
    }
  }
  kill(pid, SIGKILL);  // our own child; nothing of it is kept
  waitpid(pid, nullptr, 0);
  close(pipeFd[0]);
  if (result < 0) std::fprintf(stderr, "no window; the program said:\n%s\n", seen.c_str());
  return result;
}

struct Scenario {
  const char* name;
  fs::path templateHome;  // copied fresh for each run
  fs::path templateConfig;
  double target;
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::string program = argc > 2 ? argv[2] : VEKTRANO_BIN_DIR "/vektrano";
  if (access(program.c_str(), X_OK) != 0) {
    std::fprintf(stderr, "no program at %s\n", program.c_str());
    return 1;
  }
  char tmpl[] = "/tmp/vektrano-bench-start-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const fs::path root = tmpl;

  // Fresh: only the two files start-up never writes.
  const fs::path fresh = root / "t-fresh";
  fs::create_directories(fresh);
  platform::writeFileAtomic((fresh / "vektrano.zr4").string(), "JO70GQ;Praha\r\n");
  platform::writeFileAtomic((fresh / "vektrano.wav").string(), "RIFF");
  const fs::path noConfig = root / "t-config-empty";
  fs::create_directories(noConfig);

  // Big: 100,000 towns and 50,000 call signs with their index files built.
  const fs::path big = root / "t-big";
  fs::create_directories(big);
  const DatabaseFiles files = DatabaseFiles::beside(big.string());
  if (!bench::writeDatabases(data, big.string(), 100000, 50000)) return 1;
  platform::writeFileAtomic((big / "vektrano.wav").string(), "RIFF");
  {
    IndexObserver quiet;
    Indexes indexes(big.string(), quiet);
    if (!indexes.locIDX(files, DatabaseChoice::MainOnly) ||
        !indexes.volIDX(files, DatabaseChoice::MainOnly) || !indexes.jmnIDX(files)) {
      std::fprintf(stderr, "cannot build the indexes\n");
      return 1;
    }
  }
  // A settings store that asks for memory mode.
  const fs::path ramConfig = root / "t-config-ram";
  fs::create_directories(ramConfig);
  {
    setenv("XDG_CONFIG_HOME", ramConfig.c_str(), 1);
    MainWindowSettings s;
    s.MenuRam = true;
    s.Poprve = false;
    writeMainWindowSettings(s, big.string());
    unsetenv("XDG_CONFIG_HOME");
  }

  const Scenario scenarios[] = {
      {"fresh program folder", fresh, noConfig, 0.5},
      {"100,000 towns, file mode", big, noConfig, 1.5},
      {"100,000 towns, memory mode", big, ramConfig, 1.5},
  };
  int failed = 0;
  for (const Scenario& sc : scenarios) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
      const fs::path run = root / ("run-" + std::to_string(i));
      fs::remove_all(run);
      copyTree(sc.templateHome, run / "home");
      copyTree(sc.templateConfig, run / "config");
      fs::create_directories(run / "runtime");
      fs::permissions(run / "runtime", fs::perms::owner_all);
      const double t = startOnce(program, (run / "home").string(), (run / "config").string(),
                                 (run / "runtime").string());
      fs::remove_all(run);
      if (t < 0) {
        std::fprintf(stderr, "%s: start %d failed\n", sc.name, i);
        return 1;
      }
      times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-28s median %.3f s (min %.3f, max %.3f, %d runs; target %.1f s)%s\n", sc.name,
                median, times.front(), times.back(), runs, sc.target,
                median > sc.target ? "  OVER" : "");
    if (median > sc.target) ++failed;
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  return failed ? 2 : 0;
}
