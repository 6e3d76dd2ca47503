// The entry line fed keystroke by keystroke, as the edit and its key events
// deliver them: each byte is one key, pressed and released (bytes 0x00 to
// 0x0F are Enter, Backspace, Delete, Esc, the arrows, Home, End, PgUp, PgDn,
// F2 to F4 and Ctrl+Space; any other byte types itself). Enter stores the
// contact into a log written to files of the scratch folder. The first two
// bytes are the options of the line and of storing.
//
// Properties: the caret stays within the line; every stored contact is the
// next row of the log, numbered by its row.
#include "core/base/synonyms.h"
#include "core/entry/entry_line.h"
#include "core/entry/store_contact.h"
#include "core/log/log.h"
#include "core/reference/report_table.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

namespace vektrano {
namespace {

const EntryKey kSpecial[16] = {EntryKey::Enter, EntryKey::Backspace, EntryKey::Delete, EntryKey::Escape,
                               EntryKey::Left,  EntryKey::Right,     EntryKey::Home,   EntryKey::End,
                               EntryKey::Up,    EntryKey::Down,      EntryKey::PageUp, EntryKey::PageDown,
                               EntryKey::F2,    EntryKey::F3,        EntryKey::F4,     EntryKey::Space};

int width(const std::string& text, int size, bool bold) {
  return static_cast<int>(text.size()) * size * (bold ? 7 : 6) / 10;
}

struct Line {
  std::string text;
  int caret = 0;
  void take(const std::string& t, int c) {
    if (c < 0 || c > static_cast<int>(t.size())) fuzz::fail("caret outside the line");
    text = t;
    caret = c;
  }
};

// What the edit itself does with a key the handlers did not swallow.
void edit(Line& l, const EntryKeyEvent& k, char typed) {
  switch (k.key) {
    case EntryKey::Other:
    case EntryKey::Space:
      if (!k.ctrl) l.text.insert(static_cast<size_t>(l.caret++), 1, typed);
      break;
    case EntryKey::Backspace:
      if (l.caret > 0) l.text.erase(static_cast<size_t>(--l.caret), 1);
      break;
    case EntryKey::Delete:
      if (l.caret < static_cast<int>(l.text.size())) l.text.erase(static_cast<size_t>(l.caret), 1);
      break;
    case EntryKey::Left: l.caret = std::max(0, l.caret - 1); break;
    case EntryKey::Right: l.caret = std::min(static_cast<int>(l.text.size()), l.caret + 1); break;
    case EntryKey::Home: l.caret = 0; break;
    case EntryKey::End: l.caret = static_cast<int>(l.text.size()); break;
    default: break;
  }
}

void typeLine(const uint8_t* data, size_t size) {
  if (size < 2) return;
  const uint8_t o = data[0], so = data[1];
  EntryOptions options;
  options.keyboard = {(o & 1) != 0, (o & 2) != 0};
  options.PouzivatVolacky = (o & 4) != 0;
  options.secondstation = (o & 8) != 0;
  options.threestation = (o & 16) != 0;
  options.loksecondary = "JN79GQ";
  options.lokthree = (o & 32) ? "XX00" : "JO80AA";
  options.doplnvolackuzakm = (o & 64) != 0;
  options.ZobrazLokatorProtistanice = (o & 128) != 0;
  StoreOptions store;
  store.Automatika = so & 1;
  store.prijatyreportdoplnit = so & 2;
  store.reporty = so & 4;
  store.doplndatum = so & 8;
  store.ukladatazimut = so & 16;
  store.doplnovatkanal = so & 32;
  store.kanal = so >> 6;
  store.automatkolecko = so & 64;

  static const std::vector<std::string> vyjimky = {"Sněžka"};
  static const TabulkaSynonym synonyma = [] {
    TabulkaSynonym s;
    s.add("Jan", "Honza");
    return s;
  }();
  LogDocument log;
  log.SaveFileName = platform::joinPath(fuzz::scratch(), "denik.qvl");
  log.ZalohaFileName = platform::joinPath(fuzz::scratch(), "zaloha.qvl");
  log.klavesnice = options.keyboard;
  EntryState state;
  Line line;
  const platform::DateTime now{2008, 4, 8, 9, 5, 33};

  for (size_t i = 2; i < size; ++i) {
    const uint8_t b = data[i];
    EntryKeyEvent k;
    char typed = static_cast<char>(b);
    if (b < 16) {
      k.key = kSpecial[b];
      if (b == 15) k.ctrl = true;
    } else if (b == ' ') {
      k.key = EntryKey::Space;
    }
    EntryContext ctx;
    ctx.lokportable = log.lokportable;
    ctx.vyjimky = &vyjimky;
    ctx.synonyma = &synonyma;
    ctx.NejdelsiKm = log.NejdelsiKm;

    const EntryResult down = vstupKeyDown(line.text, line.caret, k, options, ctx, state);
    line.take(down.text, down.caret);
    if (!down.keySwallowed) edit(line, k, typed);
    const EntryResult up = vstupKeyUp(line.text, line.caret, k, options, ctx, state);
    line.take(up.text, up.caret);
    if (up.label1Bold40) RovnejLabel1(LabelFit{up.label1, 40, true}, 200, width);
    int font = 30;
    RovnejVstup(line.text, 300, width, state, font);
    if (up.ulozit) {
      const int before = log.contactCount();
      const StoreResult r = ulozSpojeni(up.text, store, log, state, vychoziTabulkaReportu(), now);
      if (r.ulozeno) {
        if (log.contactCount() != before + 1 || log.Denik.cell(before + 1, kColCislo) != std::to_string(before + 1))
          fuzz::fail("a stored contact is not the next numbered row");
        if (!r.zapsanDenik || !r.zapsanaZaloha) fuzz::fail("a contact was not written");
      }
      line.take(r.text, r.caret);
    }
  }
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::typeLine(data, size);
  vektrano::fuzz::takeMessageCount();
  return 0;
}
