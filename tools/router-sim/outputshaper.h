#pragma once
// Turns console output into what goes on the wire under the active fault
// modes: NUL bytes, garbage lines and telnet negotiation mixed in, and the
// bytes cut into pieces that are sent with pauses between them.

#include <random>
#include <set>
#include <string>
#include <vector>

#include "options.h"

namespace sim {

struct Piece {
  std::string bytes;
  int delayMs = 0;  // pause before the piece is sent
};

class OutputShaper {
 public:
  OutputShaper(std::set<Fault> faults, Timing timing, std::uint32_t seed);

  // Negotiation sent when the connection opens (fault iac), else empty.
  std::string preamble();

  // The pieces for one stretch of output, in order. kanjiCode is the code
  // the bytes are in ('s', 'e', 'j', 'u'): split cuts inside Shift-JIS
  // double-byte characters on purpose and nothing else does.
  std::vector<Piece> shape(const std::string& bytes, char kanjiCode);

 private:
  bool has(Fault f) const { return faults_.count(f) > 0; }
  int roll(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  std::string mixIn(const std::string& bytes, bool inlineSafe);
  std::string negotiation();
  std::vector<Piece> split(const std::string& bytes, bool sjisLeads);

  std::set<Fault> faults_;
  Timing timing_;
  std::mt19937 rng_;
};

}  // namespace sim
