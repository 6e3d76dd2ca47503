#pragma once
// The information commands of the auxiliary menu: the machine's memory, an
// estimate of the processor's speed and the local IP address, each as the
// text of its message. Numbers are written the Czech way: a blank between
// thousands, a decimal comma.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"

namespace vektrano {

// value with a blank between thousands and up to `decimals` decimal places
// after a comma, trailing zeros dropped; the whole part of a value below 1
// is left out, so 0 with no decimals is the empty text (as "#,###" gives).
std::string formatCislo(double value, int decimals);

// `Vyuitpamti1Click`: total and free physical, total and free virtual
// memory in MB with three decimals.
std::string zpravaPameti(const platform::MemoryStatus& m);

// `Rychlostprocesoru1Click`: "Rychlost procesoru (orientačně) : " + whole MHz.
std::string zpravaRychlostiProcesoru(double mhz);
// Counts the processor's cycles over half a second at the highest priority
// the process may take, then puts back the priority it found; 0 where there
// is no cycle counter.
double zmerRychlostProcesoru();

// `vojeIPadresa1Click`: "Tvoje IP adresa : " + the last of at most 11
// addresses (empty without one).
std::string zpravaIPAdresy(const std::vector<std::string>& adresy);
// The IPv4 addresses of the machine's network interfaces, in their order.
// Nothing is looked up on the network.
std::vector<std::string> mistniAdresy();

}  // namespace vektrano
