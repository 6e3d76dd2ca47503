// What the page-preview library reads back from its streams: value lists,
// blocks and counts, the resource table's lists (brushes, fonts, pens,
// pictures, memos) and page-object records. The first byte picks the reader,
// the rest is the stream.
//
// Properties: a reader that refuses a stream leaves its list as it was; what
// a list read is written and read again unchanged.
#include "fuzz/fuzz_support.h"
#include "preview/page_objects.h"
#include "preview/resource.h"
#include "preview/rtf.h"
#include "preview/stream.h"
#include "preview/value_list.h"

namespace vektrano::preview {
namespace {

template <class List>
std::string saved(const List& list) {
  PvStream s;
  list.SaveToStream(s);
  return s.bytes();
}

// Reads the stream into list twice over: refused, the list is unchanged;
// read, its saved form reads back to the same saved form.
template <class List>
void loadAndRoundTrip(List& list, const std::string& data) {
  PvStream in(data);
  const std::string before = saved(list);
  if (!list.LoadFromStream(in)) {
    if (saved(list) != before) fuzz::fail("a refused stream changed the list");
    return;
  }
  const std::string once = saved(list);
  PvStream again(once);
  if (!list.LoadFromStream(again) || saved(list) != once) fuzz::fail("a saved list reads back otherwise");
}

void values(const std::string& data) {
  TPvValueList v;
  v.SetString("Puvodni", "x");
  loadAndRoundTrip(v, data);
  for (const std::string& line : v.Lines()) {
    const std::string name = line.substr(0, line.find('='));
    v.GetInteger(name, 0);
    v.GetBoolean(name, false);
    v.GetExtended(name, 0);
    v.GetPoint(name, {});
    v.GetRect(name, {});
    const std::string text = v.GetString(name);
    TPvValueList w;
    w.SetString(name, text);
    if (!name.empty() && name.find_first_of("\r\n") == std::string::npos && w.GetString(name) != text)
      fuzz::fail("a string value stored does not read back");
  }
  TPvValueList t;
  t.SetText(data);
  t.Text();
}

void blocks(const std::string& data) {
  PvStream s(data);
  TPvReader r(s);
  for (int i = 0; i < 64 && s.remaining() > 0; ++i) {
    std::string block;
    std::int32_t n = 0;
    const std::int64_t at = s.position();
    if (i % 3 == 2) {
      if (!r.ReadInteger(n)) break;
    } else if (!r.ReadBlock(block)) {
      if (s.position() != at) fuzz::fail("a refused block moved the stream");
      break;
    }
  }
}

void resources(std::uint8_t which, const std::string& data) {
  TPvResourceTable table;
  switch (which % 5) {
    case 0: loadAndRoundTrip(table.Brushes, data); break;
    case 1: loadAndRoundTrip(table.Fonts, data); break;
    case 2: loadAndRoundTrip(table.Pens, data); break;
    case 3: loadAndRoundTrip(table.Graphics, data); break;
    case 4: {
      PvStream in(data);
      if (table.Memos.LoadFromStream(in))
        for (int i = 0; i < table.Memos.Count(); ++i) table.Memos.Items(i)->Text();
      break;
    }
  }
}

void pageObjects(const std::string& data) {
  TPvResourceTable table;
  PvStream in(data);
  for (int i = 0; i < 16 && in.remaining() > 0; ++i) {
    std::unique_ptr<TPvBaseObject> o = LoadPageObject(in, &table);
    if (!o) break;
    PvStream out;
    o->SaveToStream(out);
    out.seek(0);
    if (!LoadPageObject(out, &table)) fuzz::fail("a saved page object does not read back");
  }
}

}  // namespace
}  // namespace vektrano::preview

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string rest(vektrano::fuzz::bytes(data + 1, size - 1));
  switch (data[0] % 4) {
    case 0: vektrano::preview::values(rest); break;
    case 1: vektrano::preview::blocks(rest); break;
    case 2: vektrano::preview::resources(data[0] / 4, rest); break;
    case 3: vektrano::preview::pageObjects(rest); break;
  }
  return 0;
}
