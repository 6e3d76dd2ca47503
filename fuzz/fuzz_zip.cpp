// The zip reader with an archive from anywhere (the update zip, an export of
// another installation): every entry is extracted into a fresh folder.
//
// Property: nothing is written outside that folder, and no file there is
// larger than the most the reader may write.
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "transfer/zip.h"

namespace {

namespace fs = std::filesystem;
constexpr std::uint64_t kLimit = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vektrano;
  const std::string top = fuzz::freshFolder("zip");
  const std::string archive = platform::joinPath(top, "zr4export.qzx");
  const std::string target = platform::joinPath(top, "ven");
  fuzz::writeFile(archive, fuzz::bytes(data, size));
  transfer::TUnZip unzip;
  unzip.OnError = [](transfer::TZipComponent&, const std::string&) {};
  unzip.ArcName = archive;
  unzip.MaxTotalSize = kLimit;
  unzip.SetExtrPath(target);
  if (size > 0 && data[0] & 1) unzip.Files = {"*.zr4", "vektrano*"};
  unzip.Extract();

  std::uint64_t total = 0;
  for (const auto& e : fs::directory_iterator(platform::fsPath(top)))
    if (e.path().filename() != "ven" && e.path().filename() != "zr4export.qzx")
      fuzz::fail("the reader wrote outside its folder: " + platform::fromFsPath(e.path()));
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(platform::fsPath(target), ec))
    if (e.is_regular_file()) total += e.file_size();
  if (total > kLimit) fuzz::fail("the reader wrote more than its limit");
  return 0;
}
