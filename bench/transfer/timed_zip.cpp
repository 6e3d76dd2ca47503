// Packing and unpacking a 50 MB folder of mixed text and binary files,
// side by side with Info-ZIP zip -6 / unzip on the same data.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "transfer/zip.h"

using namespace vektrano::transfer;
namespace fs = std::filesystem;

namespace {

double seconds(const std::function<void()>& f) {
  auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void run(const std::string& cmd) {
  if (std::system((cmd + " >/dev/null 2>&1").c_str()) != 0) std::fprintf(stderr, "failed: %s\n", cmd.c_str());
}

}  // namespace

int main() {
  const fs::path root = fs::temp_directory_path() / ("vektrano-bench-zip-" + std::to_string(::getpid()));
  const fs::path src = root / "src";
  fs::create_directories(src);
  std::mt19937 rng(7);
  const char* words[] = {"OK1ABC", "JO70", "59", "spojení", "deník", "QTH", "locator", "\r\n", " "};
  std::vector<std::string> names;
  for (int i = 0; i < 50; ++i) {
    std::string data;
    const bool text = i % 3 != 0;
    while (data.size() < 1000000) {
      if (text)
        data += words[rng() % 9];
      else
        data += static_cast<char>(rng() % 4 ? rng() : rng() % 16);  // binary, partly compressible
    }
    names.push_back("f" + std::to_string(i) + (text ? ".txt" : ".bin"));
    std::ofstream(src / names.back(), std::ios::binary) << data;
  }

  TZip z;
  z.ArcName = (root / "ours.zip").string();
  z.Overwrite = true;
  for (auto& n : names) z.Files.push_back((src / n).string());
  const double ourZip = seconds([&] { z.Compress(); });
  const double theirZip = seconds([&] { run("cd " + src.string() + " && zip -6 -q " + (root / "iz.zip").string() + " *"); });

  TUnZip u;
  u.ArcName = (root / "iz.zip").string();
  u.SetExtrPath((root / "ours").string());
  const double ourUnzip = seconds([&] { u.Extract(); });
  const double theirUnzip = seconds([&] { run("unzip -q -o " + (root / "iz.zip").string() + " -d " + (root / "iz").string()); });

  std::printf("pack   50 MB: ours %.3f s, zip -6 %.3f s, ratio %.2f\n", ourZip, theirZip, ourZip / theirZip);
  std::printf("unpack 50 MB: ours %.3f s, unzip  %.3f s, ratio %.2f\n", ourUnzip, theirUnzip, ourUnzip / theirUnzip);
  std::printf("sizes: ours %ju, zip -6 %ju bytes\n", static_cast<uintmax_t>(fs::file_size(root / "ours.zip")),
              static_cast<uintmax_t>(fs::file_size(root / "iz.zip")));
  fs::remove_all(root);
  return 0;
}
