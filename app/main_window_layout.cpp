#include "app/main_window_layout.h"

#include <algorithm>

#include "core/log/log_statistics.h"

namespace vektrano {

Form1Layout layoutForm1(int W, int H, const Form1LayoutOptions& o) {
  Form1Layout l;
  W = std::max(W, kMinWidth);
  H = std::max(H, kMinHeight);
  l.W = W;
  l.H = H;
  const int k = o.Pismo;

  l.gridRowHeight = 2 * k + 20;
  l.gridFontSize = 2 * k + 10;
  l.listItemHeight = 3 * k + 18;
  l.seznamMestFontSize = 2 * k + 10;
  l.duplItemHeight = k + 16;
  l.duplFontSize = k + 10;

  // Top band.
  l.Memo1 = o.zobrcisspoj ? LayoutRect{111, 1, W - 181, 74} : LayoutRect{1, 1, W - 71, 74};
  l.cisspoj = {1, 1, 110, 74};
  l.cisspojVisible = o.zobrcisspoj;
  l.azimut = {W - 68, 1, 59, 74};

  // Second band.
  l.lokportable = {0, 75, 240, 65};
  l.casVisible = o.aktualcas;
  // The clock ends where the distance label begins: drawn 140 wide it
  // would reach 10 pixels into the label, and a platform font as wide as
  // that covers the distance.
  l.cas = {240, 74, 130, 60};
  l.Label1 = o.aktualcas ? LayoutRect{370, 75, W - 380, 65} : LayoutRect{240, 75, W - 250, 65};

  // The grid and the side lists over it.
  l.volackalabelVisible = o.doplnvolackuzakm;
  l.Denik = o.doplnvolackuzakm ? LayoutRect{2, 201, W - 12, H - 332}
                               : LayoutRect{2, 141, W - 12, H - 272};
  const int top = l.Denik.top;
  const int height = l.Denik.height;
  l.SeznamMest = {W - 270, top, 260, height};
  const int sideHeight =
      o.wduplicityVisible ? ZobrazDuplicityVyska(true, H, o.doplnvolackuzakm) : height;
  l.wvolacky = {1, top, W - l.SeznamMest.width - 12, sideHeight};
  l.Memo4 = {1, top, 140, sideHeight};
  l.wmestacentr = {l.Memo4.width + 3, top, W - l.Memo4.width - l.SeznamMest.width - 14, sideHeight};
  l.wduplicity = {1, H - 195, W - l.SeznamMest.width - 12, 64};

  // Entry line and channel.
  l.kanalVisible = o.doplnovatkanal;
  l.vstup = {2, H - 127, o.doplnovatkanal ? W - 74 : W - 13, 50};
  l.kanal = {W - 70, H - 127, 60, 50};

  // The date panel in place of the entry line.
  const int dateTop = H - 110;
  l.Edit1 = {2, dateTop, 50, 25};
  l.UpDown1 = {55, dateTop, 30, 25};
  l.Edit2 = {90, dateTop, 57, 25};
  l.UpDown2 = {150, dateTop, 25, 25};
  l.xdat = {180, dateTop, 115, 25};
  l.datumuj = {300, dateTop, 160, 25};

  l.volackalabel = {2, 141, W - 12, 60};
  l.Pbar = l.vstup;
  l.novrportable = l.Denik;
  return l;
}

int vejdeSe(int size, int width, const std::function<int(int size)>& measure) {
  while (size > 1 && measure(size) > width) --size;
  return size;
}

std::array<int, kLogColumns> nejmensiSirky(const std::function<int(const std::string&)>& measure,
                                           const std::string& datum) {
  auto widest = [&](char from, char to) {
    int w = 0;
    for (char c = from; c <= to; ++c) w = std::max(w, measure(std::string(1, c)));
    return w;
  };
  const int digit = widest('0', '9');
  std::array<int, kLogColumns> w{};
  w[kColCislo] = measure("99999");
  // The widest time the column shows: with or without its date.
  w[kColCas] = datum.empty() ? measure("23:59:59") : measure("[" + datum + "] 23:59:59");
  w[kColRV] = w[kColRP] = measure("59");
  w[kColLokator] = 2 * widest('A', 'R') + 2 * digit + 2 * widest('A', 'X');
  w[kColKm] = measure("20015");
  for (int c = 0; c < kLogColumns; ++c)
    if (w[static_cast<size_t>(c)] > 0) w[static_cast<size_t>(c)] += kOdstupBunky;
  return w;
}

}  // namespace vektrano
