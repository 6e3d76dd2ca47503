#pragma once
// The calling sender's rules without a window: the interval countdown, the
// playing that follows it, the recording's length and the settings. Time is
// passed in as milliseconds of a monotonic clock, so tests run on a fake one.
#include <cstdint>
#include <optional>
#include <string>

namespace vektrano {

constexpr int kVyzvaMinInterval = 2;   // seconds
constexpr int kVyzvaMaxInterval = 60;  // seconds
constexpr int kVyzvaTickMs = 990;      // one countdown step

// A stored or given interval brought into the track bar's range: an
// interval below 1 would play on every tick.
int omezInterval(int seconds);

// `Label1set`: the name of the wave file without its folder ("\" or "/"),
// cut to 12 characters.
std::string Label1set(const std::string& path);

// Length of the recording in a wave file's content, in milliseconds; nothing
// when it is no RIFF wave with a format and a data chunk. A data chunk that
// claims more than the file holds counts only what is there.
std::optional<std::int64_t> delkaNahravky(const std::string& wave);

struct NastaveniVyzvy {
  int cas = kVyzvaMinInterval;
  std::string WaveFileName;
};

// Read in the order Top, Left, cas, WaveFileName; the first value missing
// ends the reading and the rest keep their defaults. The interval is brought
// into range.
NastaveniVyzvy nactiNastaveniVyzvy(const std::string& keyPath);
// `cas` and `WaveFileName` (the placement is the window's); the key is
// created when missing. False when the store could not be written.
bool ulozNastaveniVyzvy(const std::string& keyPath, const NastaveniVyzvy& n);

// Countdown and playing. The countdown counts ticks; the tick that brings it
// below 1 asks for a playing, and the countdown starts again only when the
// playing has ended, so the pause between two playings is interval ticks.
class DavacVyzvy {
 public:
  enum class Krok { Odpocet, Hrat };

  explicit DavacVyzvy(int interval = kVyzvaMinInterval);

  int interval() const { return interval_; }
  int odpocet() const { return odpocet_; }
  bool bezi() const { return bezi_; }
  bool hraje() const { return hraje_; }

  // `TrackBar1Change`: interval and countdown.
  void setInterval(int seconds);
  void start();
  // Stops the sender and ends a playing in progress; the countdown is back
  // at the interval.
  void stop();

  // One tick of the running countdown. Hrat: the countdown timer must stop
  // and the caller plays (zacniHrat) or, without an output, goes straight
  // on (dohrano).
  Krok tick();

  void zacniHrat(std::int64_t now, std::int64_t delkaMs);
  // Milliseconds of the playing still to go at now (end − now + 1); 0 or
  // less once it is over.
  std::int64_t zbyva(std::int64_t now) const;
  // The playing ended (or there was none): the countdown is back at the
  // interval. True when the countdown runs again, false when the sender was
  // stopped meanwhile.
  bool dohrano();

 private:
  int interval_;
  int odpocet_;
  bool bezi_ = false;
  bool hraje_ = false;
  std::int64_t konec_ = 0;
};

}  // namespace vektrano
