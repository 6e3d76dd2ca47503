#include "core/tools/system_info.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <chrono>
#include <cmath>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#define VEKTRANO_HAVE_TSC 1
#endif

namespace vektrano {

std::string formatCislo(double value, int decimals) {
  std::string sign;
  if (value < 0) {
    sign = "-";
    value = -value;
  }
  const double scale = std::pow(10.0, decimals);
  const auto scaled = static_cast<std::uint64_t>(std::llround(value * scale));
  const std::uint64_t whole = scaled / static_cast<std::uint64_t>(scale);
  std::uint64_t frac = scaled % static_cast<std::uint64_t>(scale);

  std::string digits = whole ? std::to_string(whole) : std::string();
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  if (decimals > 0 && frac) {
    std::string f = std::to_string(frac);
    f.insert(0, static_cast<size_t>(decimals) - f.size(), '0');
    while (!f.empty() && f.back() == '0') f.pop_back();
    out += "," + f;
  }
  return out.empty() ? out : sign + out;
}

std::string zpravaPameti(const platform::MemoryStatus& m) {
  auto mb = [](std::uint64_t bytes) {
    return formatCislo(static_cast<double>(bytes) / 1048576.0, 3) + " MB";
  };
  return "Fyz. celkem : " + mb(m.totalPhysical) + "\r\n" + "Fyz. volná   : " +
         mb(m.freePhysical) + "\r\n\r\n" + "Virt.celkem : " + mb(m.totalVirtual) + "\r\n" +
         "Virt.volná   : " + mb(m.freeVirtual);
}

std::string zpravaRychlostiProcesoru(double mhz) {
  const double rounded = std::round(mhz * 10000.0) / 10000.0;
  return "Rychlost procesoru (orientačně) : " + formatCislo(rounded, 0) + " MHz";
}

double zmerRychlostProcesoru() {
#ifdef VEKTRANO_HAVE_TSC
  const platform::ProcessPriority found = platform::processPriority();
  platform::setProcessPriority(platform::ProcessPriority::RealTime);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto t0 = std::chrono::steady_clock::now();
  const unsigned long long c0 = __rdtsc();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const unsigned long long c1 = __rdtsc();
  const auto t1 = std::chrono::steady_clock::now();
  platform::setProcessPriority(found);
  // Divided by the time that really passed, not the 500 ms asked for.
  const double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
  return us > 0 ? static_cast<double>(c1 - c0) / us : 0.0;
#else
  return 0.0;
#endif
}

std::string zpravaIPAdresy(const std::vector<std::string>& adresy) {
  std::string posledni;
  for (size_t i = 0; i < adresy.size() && i < 11; ++i) posledni = adresy[i];
  return "Tvoje IP adresa : " + posledni;
}

std::vector<std::string> mistniAdresy() {
  std::vector<std::string> out;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return out;
  for (const ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) out.emplace_back(text);
  }
  ::freeifaddrs(list);
  return out;
}

}  // namespace vektrano
