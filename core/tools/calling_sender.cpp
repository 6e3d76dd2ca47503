#include "core/tools/calling_sender.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/registry.h"

namespace vektrano {

int omezInterval(int seconds) { return std::clamp(seconds, kVyzvaMinInterval, kVyzvaMaxInterval); }

std::string Label1set(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return name.substr(0, 12);
}

namespace {

std::uint32_t le32(const std::string& s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

}  // namespace

std::optional<std::int64_t> delkaNahravky(const std::string& wave) {
  if (wave.size() < 12 || wave.compare(0, 4, "RIFF") != 0 || wave.compare(8, 4, "WAVE") != 0)
    return std::nullopt;
  std::uint32_t byteRate = 0;
  std::size_t at = 12;
  while (at + 8 <= wave.size()) {
    const std::string id = wave.substr(at, 4);
    const std::uint64_t size = le32(wave, at + 4);
    const std::size_t body = at + 8;
    const std::uint64_t there = wave.size() - body;
    if (id == "fmt ") {
      if (size < 16 || there < 16) return std::nullopt;
      byteRate = le32(wave, body + 8);
    } else if (id == "data") {
      if (byteRate == 0) return std::nullopt;
      return static_cast<std::int64_t>(std::min(size, there) * 1000 / byteRate);
    }
    // Chunks are padded to an even length.
    const std::uint64_t next = body + size + (size & 1);
    if (next > wave.size()) break;
    at = static_cast<std::size_t>(next);
  }
  return std::nullopt;
}

NastaveniVyzvy nactiNastaveniVyzvy(const std::string& keyPath) {
  NastaveniVyzvy n;
  const auto key = platform::RegistryKey::open(keyPath, false);
  if (!key) return n;
  try {
    key->readInteger("Top");
    key->readInteger("Left");
    n.cas = omezInterval(key->readInteger("cas"));
    n.WaveFileName = platform::pathFromText(key->readString("WaveFileName"));
  } catch (const platform::RegistryValueMissing&) {
  }
  return n;
}

bool ulozNastaveniVyzvy(const std::string& keyPath, const NastaveniVyzvy& n) {
  auto key = platform::RegistryKey::open(keyPath, true);
  if (!key) return false;
  key->writeInteger("cas", n.cas);
  key->writeString("WaveFileName", platform::storedPath(n.WaveFileName).value_or(std::string()));
  return key->flush();
}

DavacVyzvy::DavacVyzvy(int interval) : interval_(omezInterval(interval)), odpocet_(interval_) {}

void DavacVyzvy::setInterval(int seconds) {
  interval_ = omezInterval(seconds);
  odpocet_ = interval_;
}

void DavacVyzvy::start() { bezi_ = true; }

void DavacVyzvy::stop() {
  bezi_ = false;
  hraje_ = false;
  konec_ = 0;
  odpocet_ = interval_;
}

DavacVyzvy::Krok DavacVyzvy::tick() {
  --odpocet_;
  return odpocet_ < 1 ? Krok::Hrat : Krok::Odpocet;
}

void DavacVyzvy::zacniHrat(std::int64_t now, std::int64_t delkaMs) {
  hraje_ = true;
  konec_ = now + std::max<std::int64_t>(delkaMs, 0);
}

std::int64_t DavacVyzvy::zbyva(std::int64_t now) const {
  return hraje_ && now < konec_ ? konec_ - now + 1 : 0;
}

bool DavacVyzvy::dohrano() {
  hraje_ = false;
  odpocet_ = interval_;
  return bezi_;
}

}  // namespace vektrano
