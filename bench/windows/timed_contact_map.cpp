// The contact map window's work for a full log of 10000 contacts, timed:
// the generation, the painting onto the base picture and the JPEG of it.
// Prints milliseconds per step (best of five runs).
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/pictures/contact_map.h"
#include "core/pictures/direction_finding.h"
#include "windows/map_pictures.h"

using namespace vektrano;

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Grid denik(kLogColumns, 1);
  for (int i = 1; i <= 10000; ++i)
    denik.appendRow({std::to_string(i), "10:00", "59", "OK" + std::to_string(i), "59",
                     lokatorBunky({1 + (i * 37) % kSloupcuMapy, 1 + (i * 11) % kRadkuMapy}),
                     std::to_string(i % 700), ""});
  VstupMapy v;
  v.own = "JO70GQ";
  v.vychoziBod = v.spojnice = true;
  using clock = std::chrono::steady_clock;
  auto ms = [](clock::time_point a, clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
  };
  double gen = 1e9, paint = 1e9, jpeg = 1e9;
  for (int run = 0; run < 5; ++run) {
    const auto t0 = clock::now();
    const MapaSpojeni m = generujMapuSpojeni(denik, {}, v);
    const auto t1 = clock::now();
    QImage img = zakladniMapa();
    nakresli(img, m.kresba);
    const auto t2 = clock::now();
    const auto data = dataObrazku(img, FormatObrazku::Jpeg);
    const auto t3 = clock::now();
    if (!data) return 1;
    gen = std::min(gen, ms(t0, t1));
    paint = std::min(paint, ms(t1, t2));
    jpeg = std::min(jpeg, ms(t2, t3));
  }
  std::printf("contact map, 10000 contacts: generation %.1f ms, painting %.1f ms, JPEG %.1f ms\n", gen,
              paint, jpeg);
  return 0;
}
