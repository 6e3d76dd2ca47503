#include "core/log/log_statistics.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include "core/log/log_file.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

std::string AddNulls(std::string_view text) {
  std::string s(text);
  if (s.size() < 6) s.insert(0, 6 - s.size(), '0');
  return s;
}

std::string odstranstredniky(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), ';', ',');
  return s;
}

int32_t fsize(const std::string& path) {
  std::error_code ec;
  const auto p = platform::fsPath(path);
  if (!std::filesystem::is_regular_file(p, ec)) return 0;
  const auto n = std::filesystem::file_size(p, ec);
  if (ec) return 0;
  return n > static_cast<uintmax_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(n);
}

void Delay(int ms) {
  if (ms <= 0) return;
  if (!QCoreApplication::instance()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void sortGridRows(Grid& grid, int first, const std::function<std::string(const Grid::Row&)>& key,
                  const std::function<void(int gap)>& progress) {
  auto& rows = grid.rows();
  const int n = static_cast<int>(rows.size());
  if (first < 0) first = 0;
  std::vector<std::string> keys(rows.size());
  for (int i = first; i < n; ++i) keys[static_cast<size_t>(i)] = key(rows[static_cast<size_t>(i)]);
  // std::string compares by char_traits<char>::compare, which is memcmp:
  // unsigned bytes, so cp1250 letters above 0x7F sort after ASCII.
  for (int g = n; g > 0; g /= 2) {
    for (int i = g; i < n; ++i) {
      if (i < first) continue;
      Grid::Row saved = std::move(rows[static_cast<size_t>(i)]);
      std::string savedKey = std::move(keys[static_cast<size_t>(i)]);
      int j = i - g;
      while (j >= first && keys[static_cast<size_t>(j)] > savedKey) {
        rows[static_cast<size_t>(j + g)] = std::move(rows[static_cast<size_t>(j)]);
        keys[static_cast<size_t>(j + g)] = std::move(keys[static_cast<size_t>(j)]);
        j -= g;
      }
      rows[static_cast<size_t>(j + g)] = std::move(saved);
      keys[static_cast<size_t>(j + g)] = std::move(savedKey);
    }
    if (progress) progress(g);
  }
  grid.notifyReset();
}

std::string klicTrideni(const Grid::Row& row, int c, const TabulkaSynonym& synonyma) {
  const std::string empty;
  const std::string& cell = c >= 0 && c < static_cast<int>(row.size()) ? row[static_cast<size_t>(c)] : empty;
  switch (c) {
    case kColCislo:
    case kColKm:
      return AddNulls(cell);
    case kColVolacka:
      return Synonymuj(cell, synonyma);
    default:
      return cell;
  }
}

std::string textTrideni() {
  return "Klikáním na nadpis setříděného sloupce spouštíš hledání dvou shodných položek (Duplicit)"
         "\r\n\r\n"
         "Upozornění : při třídění byly volačky před tříděním převedeny na zdomácnělá jména,"
         "\r\n"
         "volačky tedy nemusí být setříděny striktně podle abecedy";
}

void Setrid(LogDocument& log, int c, const TabulkaSynonym& synonyma,
            const std::function<void(const std::string& caption)>& progress) {
  const int rows = log.Denik.rowCount();
  std::function<void(int)> onPass;
  if (progress)
    onPass = [&](int g) {
      progress(std::to_string(rows) + " Volaček, třídím : [" + std::to_string(g) + "]");
    };
  sortGridRows(
      log.Denik, 1, [&](const Grid::Row& r) { return klicTrideni(r, c, synonyma); }, onPass);
  if (progress) progress({});
  log.SetridenoPodle = c;
  if (c == kColVolacka || c == kColLokator) platform::showMessage(textTrideni());
}

namespace {
// Whole number of a km cell; anything else counts as 0.
int kmValue(const std::string& s) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  if (i == s.size()) return 0;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return 0;
    v = v * 10 + (s[i] - '0');
    if (v > INT_MAX) return 0;
  }
  return static_cast<int>(neg ? -v : v);
}
}  // namespace

void StatistikaKm::pridej(const Grid::Row& row) {
  static const std::string empty;
  auto at = [&](int c) -> const std::string& {
    return static_cast<size_t>(c) < row.size() ? row[static_cast<size_t>(c)] : empty;
  };
  const int km = kmValue(at(kColKm));
  if (km > 0) {
    celkem += km;
    ++pocet;
  }
  if (km > nejdelsi) {
    nejdelsi = km;
    maxText = " km," + at(kColVolacka) + " " + at(kColLokator) + "]";
  }
}

StatistikaKm statistikaKm(const Grid& d) {
  StatistikaKm s;
  for (int r = 1; r < d.rowCount(); ++r) s.pridej(d.row(r));
  return s;
}

void zobrazStatistiku(LogDocument& log, const StatistikaKm& s) {
  log.CelkemKm = static_cast<int>(std::min<long long>(s.celkem, INT_MAX));
  log.PocetSKm = s.pocet;
  log.NejdelsiKm = s.nejdelsi;
  log.PrumerKm = s.pocet > 0 ? log.CelkemKm / s.pocet : 0;
  log.panel2 = "Celkem: " + std::to_string(log.CelkemKm) + " km / " + std::to_string(log.PocetSKm) +
               " spoj=průměr " + std::to_string(log.PrumerKm) + " km  [max: " +
               std::to_string(log.NejdelsiKm) + s.maxText;
}

void prumer(LogDocument& log) { zobrazStatistiku(log, statistikaKm(log.Denik)); }

std::optional<std::string> zpravaStatistik(const LogDocument& log) {
  if (log.PocetSKm <= 0) return std::nullopt;
  return " Největší dosažená vzdálenost :" + std::to_string(log.NejdelsiKm) + " km \r\n\r\n" +
         " Celkem km _ _ _ _ _ _ _ _ _ _  : " + std::to_string(log.CelkemKm) + " km\r\n\r\n" +
         " Celkem spojení _ _ _ _ _ _ _ _ : " + std::to_string(log.PocetSKm) + " ks\r\n\r\n" +
         " Průměr v km na jedno spojení : " + std::to_string(log.CelkemKm / log.PocetSKm) + " km/1";
}

std::array<int, kLogColumns> SirkySloupcu(const ColumnOptions& o) {
  const int k = o.Pismo;
  std::array<int, kLogColumns> w{};
  w[kColCislo] = o.zobrporcisl ? 7 * k + 35 : 0;
  w[kColCas] = !o.zobrdatcas ? 1 : (o.doplndatum ? 30 * k + 140 : 60);
  w[kColRV] = w[kColRP] = o.Zobrrep ? 3 * k + 25 : 0;
  w[kColLokator] = 7 * k + 66;
  w[kColKm] = o.Zobrvzd ? 3 * k + 40 : 0;
  w[kColPozn] = o.Zobrpoz ? o.sirkaPoznamky : 0;
  for (int c = 0; c < kLogColumns; ++c) {
    int& width = w[static_cast<size_t>(c)];
    // Hidden columns stay hidden (the time column's 1 pixel included).
    if (c != kColVolacka && width > 1) width = std::max(width, o.nejmensi[static_cast<size_t>(c)]);
  }
  int others = 0;
  for (int c = 0; c < kLogColumns; ++c)
    if (c != kColVolacka) others += w[static_cast<size_t>(c)];
  w[kColVolacka] = o.gridWidth - 32 - others;
  return w;
}

void SirkySloupcu(Grid& denik, const ColumnOptions& o) {
  const auto w = SirkySloupcu(o);
  // Widths are not cell data: the window applies them (applyColumnWidths).
  for (int c = 0; c < kLogColumns; ++c) denik.setColWidth(c, w[static_cast<size_t>(c)]);
}

int ZobrazDuplicityVyska(bool show, int mainWindowHeight, bool doplnvolackuzakm) {
  const int e = doplnvolackuzakm ? 60 : 0;
  return mainWindowHeight - (show ? 338 : 272) - e;
}

}  // namespace vektrano
