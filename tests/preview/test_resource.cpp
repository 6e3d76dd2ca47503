#include "preview/resource.h"

#include <gtest/gtest.h>

namespace vektrano::preview {
namespace {

std::string le32(std::int32_t v) {
  PvStream s;
  TPvWriter(s).WriteInteger(v);
  return s.bytes();
}

TPvFont font(const std::string& name, int size = 10, TFontStyles style = 0) {
  TPvFont f;
  f.Name = name;
  f.Size = size;
  f.Style = style;
  return f;
}

TPvPen pen(int width, TColor color = clBlack, TPenStyle style = psSolid) {
  TPvPen p;
  p.Width = width;
  p.Color = color;
  p.Style = style;
  p.Mode = pmCopy;
  return p;
}

TEST(Resources, EqualRecordsAreStoredOnceAndCounted) {
  TPvResourceTable t;
  CanvasFont cf;
  cf.setSize(10);
  CanvasPen cp;
  CanvasBrush cb{clSilver, bsSolid};
  for (int i = 0; i < 100; ++i) {
    TPvFont f;
    f.Assign(cf);
    TPvPen p;
    p.Assign(cp);
    TPvBrush b;
    b.Assign(cb);
    t.Fonts.FindOrAdd(f);
    t.Pens.FindOrAdd(p);
    t.Brushes.FindOrAdd(b);
  }
  EXPECT_EQ(t.Fonts.Count(), 1);
  EXPECT_EQ(t.Pens.Count(), 1);
  EXPECT_EQ(t.Brushes.Count(), 1);
  EXPECT_EQ(t.Fonts.References.RefCount(0), 100);
  EXPECT_EQ(t.Pens.References.RefCount(0), 100);
  EXPECT_EQ(t.Brushes.References.RefCount(0), 100);

  // Names are compared exactly: letter case makes another font.
  t.Fonts.FindOrAdd(font("ARIAL"));
  t.Fonts.FindOrAdd(font("Arial", 10, fsBold));
  EXPECT_EQ(t.Fonts.Count(), 3);

  t.Clear();
  EXPECT_EQ(t.Fonts.Count() + t.Pens.Count() + t.Brushes.Count(), 0);
  EXPECT_EQ(t.Fonts.References.Count(), 0);
}

TEST(Resources, FindOrAddReturnsTheStoredRecordAndReleaseCountsDown) {
  TPvBrushList list;
  TPvBrush mine;
  mine.Color = clRed;
  TPvBrush* a = list.FindOrAdd(mine);
  TPvBrush* again = list.FindOrAdd(mine);
  EXPECT_NE(a, &mine);
  EXPECT_EQ(again, a);
  EXPECT_EQ(list.References.RefCount(0), 2);

  list.Release(&mine);  // not in the list: nothing happens
  EXPECT_EQ(list.References.RefCount(0), 2);
  list.Release(a);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.References.RefCount(0), 1);
  list.Release(a);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.References.Count(), 0);
}

TEST(Resources, CountsStayWithTheirItemsAfterAnyMix) {
  TPvPenList list;
  TPvPen* p1 = list.FindOrAdd(pen(1));
  TPvPen* p2 = list.FindOrAdd(pen(2));
  list.FindOrAdd(pen(2));
  TPvPen* p3 = list.FindOrAdd(pen(3));
  list.FindOrAdd(pen(3));
  list.FindOrAdd(pen(3));
  list.Release(p1);  // count 1: removed, the others move up with their counts
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0), p2);
  EXPECT_EQ(list.References.RefCount(0), 2);
  EXPECT_EQ(list.Items(1), p3);
  EXPECT_EQ(list.References.RefCount(1), 3);
  EXPECT_EQ(list.IndexOf(pen(3)), 1);
  EXPECT_EQ(list.IndexOf(pen(9)), -1);
  // Indexes a damaged stream could carry mean "no resource".
  for (int bad : {-1, 2, 1000, -7}) EXPECT_EQ(list.Items(bad), nullptr) << bad;
  list.Clear();
  list.FindOrAdd(pen(5));
  EXPECT_EQ(list.References.Count(), 1);
  EXPECT_EQ(list.References.RefCount(0), 1);
}

TEST(Resources, ApplyingToADeviceCanvas) {
  RecordingCanvas c;
  TPvBrush b;
  b.Color = clNone;
  b.Style = bsSolid;
  b.ApplyTo(c);
  EXPECT_EQ(c.brush().style, bsClear);
  b.Color = clBlue;
  b.ApplyTo(c);
  EXPECT_EQ(c.brush(), (CanvasBrush{clBlue, bsSolid}));

  struct Case {
    int width, ppi;
    TPenStyle style;
    int deviceWidth;
    bool geometric;
  } cases[] = {
      {4, 72, psSolid, 1, false},  // thin and solid: cosmetic
      {4, 600, psSolid, 8, true},  // 8.33 rounded, square ends
      {1, 96, psDash, 0, true},    // a dashed pen is always geometric
      {0, 600, psSolid, 1, false},
  };
  for (const auto& k : cases) {
    pen(k.width, clBlack, k.style).ApplyTo(c, k.ppi);
    EXPECT_EQ(c.pen().width, k.deviceWidth) << k.width << "@" << k.ppi;
    EXPECT_EQ(c.pen().geometric, k.geometric) << k.width << "@" << k.ppi;
    EXPECT_EQ(c.pen().cap, PenCap::Square);
    EXPECT_EQ(c.pen().join, PenJoin::Miter);
  }
  pen(4, clNone).ApplyTo(c, 600);
  EXPECT_EQ(c.pen().style, psClear);
  pen(4, clBtnFace).ApplyTo(c, 600);
  EXPECT_EQ(c.pen().color, colorToRgb(clBtnFace));  // system colours resolved

  TPvFont f = font("Arial", 12, fsItalic);
  f.SetAngle(45);
  f.ApplyTo(c);
  EXPECT_EQ(c.font().escapement, 450);
  EXPECT_EQ(c.font().orientation, 450);
  EXPECT_EQ(c.font().size(), 12);
  EXPECT_EQ(c.font().style, fsItalic);
}

TEST(Resources, ChangeEventsOfTheRecords) {
  int fired = 0;
  TPvBrush b;
  b.OnChange = [&](TPvBrush&) { ++fired; };
  b.Assign(TPvBrush{});
  EXPECT_EQ(fired, 1);
  TPvFont f;
  f.OnChange = [&](TPvFont&) { ++fired; };
  f.Assign(font("Arial"));  // a font assignment fires nothing
  EXPECT_EQ(fired, 1);
  f.SetAngle(30);
  f.SetAngle(30);
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(TPvFont{}.Size, 12);
}

TEST(Resources, RecordDefaultsWhenLinesAreMissing) {
  TPvValueList empty;
  TPvFont f;
  ASSERT_TRUE(f.LoadFromValueList(empty));
  EXPECT_EQ(f.Size, 10);
  EXPECT_EQ(f.Name, "Arial");
  EXPECT_EQ(f.Color, 16777215);
  EXPECT_EQ(f.Charset, 1);
  TPvPen p;
  ASSERT_TRUE(p.LoadFromValueList(empty));
  EXPECT_EQ(p.Width, 1);
  EXPECT_EQ(p.Mode, pmCopy);
  TPvBrush b;
  ASSERT_TRUE(b.LoadFromValueList(empty));
  EXPECT_EQ(b.Color, 16777215);
  EXPECT_EQ(b.Style, bsSolid);

  for (const char* cs : {"CS=256", "CS=-1"}) {
    TPvValueList v;
    v.SetText(cs);
    EXPECT_FALSE(TPvFont().LoadFromValueList(v)) << cs;
  }
}

TEST(Resources, ListStreamLayoutAndRoundTrip) {
  TPvBrushList brushes;
  TPvBrush b;
  b.Color = clRed;
  b.Style = bsSolid;
  brushes.FindOrAdd(b);
  PvStream s;
  brushes.SaveToStream(s);
  const std::string rec = "CL=255\r\nST=0\r\n";
  EXPECT_EQ(s.bytes(), le32(1) + le32(static_cast<std::int32_t>(rec.size())) + rec);

  TPvFontList fonts;
  TPvFont f = font("Times New Roman", 14, fsBold | fsUnderline);
  f.SetAngle(12.5L);
  f.Charset = 238;
  fonts.FindOrAdd(f);
  fonts.FindOrAdd(font("Arial"));
  PvStream fs;
  fonts.SaveToStream(fs);
  fs.seek(0);
  TPvFontList back;
  ASSERT_TRUE(back.LoadFromStream(fs));
  ASSERT_EQ(back.Count(), 2);
  EXPECT_TRUE(back.Items(0)->Equals(f));
  EXPECT_EQ(back.Items(0)->Angle(), 12.5L);

  // Strike-out is kept beside the style text: two fonts that differ only in
  // it stay two records, so indexes into the list survive a round trip.
  TPvFontList struck;
  TPvFont plain = font("Arial", 10, fsBold);
  TPvFont out = font("Arial", 10, fsBold | fsStrikeOut);
  struck.FindOrAdd(plain);
  struck.FindOrAdd(out);
  PvStream ss;
  struck.SaveToStream(ss);
  ss.seek(0);
  TPvFontList struckBack;
  ASSERT_TRUE(struckBack.LoadFromStream(ss));
  ASSERT_EQ(struckBack.Count(), 2);
  EXPECT_EQ(struckBack.Items(0)->Style, fsBold);
  EXPECT_EQ(struckBack.Items(1)->Style, fsBold | fsStrikeOut);

  // A damaged stream's font with an empty name is saved without one, as an
  // empty value is no line; it reads as the default Arial, so it must be that
  // already, or it merges with an Arial font on the way back and the indexes
  // after it shift.
  PvStream nameless;
  TPvWriter(nameless).WriteInteger(2);
  for (const char* name : {"", "Arial"}) {
    TPvValueList v;
    v.SetText(std::string("CL=0\r\nSZ=10\r\nCS=1\r\nFN=") + name + "\r\n");
    v.SaveToStream(nameless);
  }
  nameless.seek(0);
  TPvFontList read;
  ASSERT_TRUE(read.LoadFromStream(nameless));
  PvStream saved;
  read.SaveToStream(saved);
  saved.seek(0);
  TPvFontList readAgain;
  ASSERT_TRUE(readAgain.LoadFromStream(saved));
  EXPECT_EQ(readAgain.Count(), read.Count());
  EXPECT_EQ(read.Items(0)->Name, "Arial");

  // Equal records in a stream collapse into one entry counted as often.
  PvStream twice;
  TPvWriter(twice).WriteInteger(2);
  for (int i = 0; i < 2; ++i) {
    TPvValueList v;
    pen(3).SaveToValueList(v);
    v.SaveToStream(twice);
  }
  twice.seek(0);
  TPvPenList pens;
  ASSERT_TRUE(pens.LoadFromStream(twice));
  ASSERT_EQ(pens.Count(), 1);
  EXPECT_EQ(pens.References.RefCount(0), 2);
}

TEST(Resources, ListsAreEmptiedBeforeALoad) {
  PvStream one;
  {
    TPvPenList src;
    src.FindOrAdd(pen(7));
    src.SaveToStream(one);
  }
  TPvPenList pens;
  pens.FindOrAdd(pen(1));
  pens.FindOrAdd(pen(2));
  one.seek(0);
  ASSERT_TRUE(pens.LoadFromStream(one));
  ASSERT_EQ(pens.Count(), 1);
  EXPECT_EQ(pens.Items(0)->Width, 7);
  EXPECT_EQ(pens.References.Count(), 1);
}

TEST(Resources, HostileRecordListStreamsFailAndLeaveTheList) {
  TPvValueList rec;
  pen(3).SaveToValueList(rec);
  PvStream r;
  rec.SaveToStream(r);
  TPvValueList badCs;
  badCs.SetText("CS=300");
  PvStream bad;
  badCs.SaveToStream(bad);
  struct Case {
    const char* what;
    std::string bytes;
    bool font = false;
  } cases[] = {
      {"no count", std::string("\x01\x00", 2)},
      {"negative count", le32(-1) + r.bytes()},
      {"count beyond the stream", le32(0x10000000) + r.bytes()},
      {"record cut short", le32(2) + r.bytes() + r.bytes().substr(0, 9)},
      {"charset out of range", le32(1) + bad.bytes(), true},
  };
  for (const auto& c : cases) {
    PvStream s(c.bytes);
    if (c.font) {
      TPvFontList fonts;
      fonts.FindOrAdd(font("Arial"));
      EXPECT_FALSE(fonts.LoadFromStream(s)) << c.what;
      EXPECT_EQ(fonts.Count(), 1) << c.what;
    } else {
      TPvPenList pens;
      pens.FindOrAdd(pen(1));
      EXPECT_FALSE(pens.LoadFromStream(s)) << c.what;
      ASSERT_EQ(pens.Count(), 1) << c.what;
      EXPECT_EQ(pens.Items(0)->Width, 1) << c.what;
      EXPECT_EQ(pens.References.Count(), 1) << c.what;
    }
    EXPECT_EQ(s.position(), 0) << c.what;
  }
}

TEST(Resources, GraphicRecordsAndTheirEndPositions) {
  TPvGraphicList g;
  g.FindOrAdd({TPvGraphicKind::Jpeg, "JPEGDATA"});
  g.FindOrAdd({TPvGraphicKind::Jpeg, "JPEGDATA"});  // shared while CompareGraphics
  g.FindOrAdd({TPvGraphicKind::Bitmap, "BM"});
  EXPECT_EQ(g.Count(), 2);
  EXPECT_EQ(g.References.RefCount(0), 2);

  PvStream s;
  s.write("pre");  // the list need not start the stream: end positions are absolute
  g.SaveToStream(s);
  EXPECT_EQ(s.bytes(), "pre" + le32(2) + std::string(1, '\0') + le32(3 + 4 + 5 + 8) + "JPEGDATA" +
                           std::string(1, '\2') + le32(3 + 4 + 5 + 8 + 5 + 2) + "BM");
  s.seek(3);
  TPvGraphicList back;
  back.FindOrAdd({TPvGraphicKind::Metafile, "old"});
  ASSERT_TRUE(back.LoadFromStream(s));
  ASSERT_EQ(back.Count(), 2);  // emptied first
  EXPECT_EQ(back.Items(0)->Data, "JPEGDATA");
  EXPECT_EQ(back.Items(1)->Kind, TPvGraphicKind::Bitmap);
  EXPECT_EQ(s.position(), s.size());

  g.CompareGraphics = false;
  g.FindOrAdd({TPvGraphicKind::Bitmap, "BM"});
  EXPECT_EQ(g.Count(), 3);
}

TEST(Resources, HostileGraphicStreams) {
  auto record = [](std::uint8_t kind, std::int32_t end, const std::string& data) {
    return std::string(1, static_cast<char>(kind)) + le32(end) + data;
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool ok;
    int count;
  } cases[] = {
      {"an unknown kind is passed over", le32(2) + record(7, 4 + 5 + 3, "xyz") + record(0, 12 + 5 + 1, "j"), true, 1},
      {"end position behind the record header", le32(1) + record(0, 2, "abc"), false, 0},
      {"end position pointing backwards to the start", le32(1) + record(0, 0, "abc"), false, 0},
      {"end position past the stream", le32(1) + record(0, 1000, "abc"), false, 0},
      {"header cut short", le32(1) + std::string("\0\x05", 2), false, 0},
      {"negative count", le32(-5), false, 0},
      {"count beyond the stream", le32(1000) + record(0, 12, "abc"), false, 0},
  };
  for (const auto& c : cases) {
    TPvGraphicList g;
    g.FindOrAdd({TPvGraphicKind::Bitmap, "keep"});
    PvStream s(c.bytes);
    EXPECT_EQ(g.LoadFromStream(s), c.ok) << c.what;
    if (c.ok) {
      EXPECT_EQ(g.Count(), c.count) << c.what;
    } else {
      ASSERT_EQ(g.Count(), 1) << c.what;
      EXPECT_EQ(g.Items(0)->Data, "keep") << c.what;
    }
  }
}

TEST(Resources, MemosKeepTheirOwnCopies) {
  TPvCustomMemoList memos;
  TPvMemo outside;
  TPvRichText text;
  auto run = [](std::string t, TFontStyles style) {
    TPvRichRun r;
    r.text = std::move(t);
    r.style = style;
    return r;
  };
  text.paragraphs = {{{run("Tučně", fsBold), run(" a dál", 0)}}, {{run("druhý", fsItalic)}}};
  outside.SetContent(text);

  TPvMemo* stored = memos.FindOrAdd(outside);
  EXPECT_NE(stored, &outside);
  EXPECT_EQ(stored->Content(), text);
  EXPECT_EQ(stored->MaxLength, 1000000);  // a hidden rich edit
  EXPECT_FALSE(stored->WordWrap);
  EXPECT_EQ(memos.FindOrAdd(*stored), stored);  // an entry itself: counted again
  EXPECT_EQ(memos.References.RefCount(0), 2);

  // The request event supplies the control; it is sized to nothing.
  memos.OnNeedRichEdit = [](TPvCustomMemoList&) {
    auto m = std::make_unique<TPvMemo>("TJvxRichEdit");
    m->Width = 50;
    return m;
  };
  TPvMemo* second = memos.FindOrAdd(outside);
  EXPECT_EQ(second->ClassName(), "TJvxRichEdit");
  EXPECT_EQ(second->Width, 0);

  PvStream s;
  memos.SaveToStream(s);
  s.seek(0);
  TPvCustomMemoList back;
  back.FindOrAdd(outside);
  ASSERT_TRUE(back.LoadFromStream(s));
  ASSERT_EQ(back.Count(), 2);  // emptied first; loaded memos are appended as they are
  EXPECT_EQ(back.Items(0)->Content(), text);
  EXPECT_EQ(back.Items(1)->Content(), text);
  EXPECT_EQ(back.References.RefCount(1), 1);

  // A plain memo ("TMemo") is stored with the flag 0 and loads without styles.
  PvStream plain;
  TPvWriter w(plain);
  w.WriteInteger(1);
  w.WriteInteger(0);
  w.WriteBlock(WriteRtf(text));
  plain.seek(0);
  ASSERT_TRUE(back.LoadFromStream(plain));
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.Items(0)->Text(), "Tučně a dál\r\ndruhý");
  EXPECT_EQ(back.Items(0)->Content().paragraphs[0].runs.size(), 1u);

  PvStream hostile(le32(1) + le32(1) + le32(-3));
  EXPECT_FALSE(back.LoadFromStream(hostile));
  EXPECT_EQ(back.Count(), 1);
}

}  // namespace
}  // namespace vektrano::preview
