#include "outputshaper.h"

#include "engine/base/bytes.h"

namespace sim {
namespace {

constexpr char kIac = static_cast<char>(0xFF);
constexpr char kNop = static_cast<char>(0xF1);
constexpr unsigned char kVerbs[] = {0xFB, 0xFC, 0xFD, 0xFE};                      // WILL WONT DO DONT
constexpr unsigned char kOptions[] = {0x01, 0x03, 0x18, 0x1F, 0x20, 0x21, 0x27};  // ECHO SGA TTYPE NAWS ...

}  // namespace

OutputShaper::OutputShaper(std::set<Fault> faults, Timing timing, std::uint32_t seed)
    : faults_(std::move(faults)), timing_(timing), rng_(seed) {}

std::string OutputShaper::negotiation() {
  if (roll(0, 4) == 0) return {kIac, kNop};
  return {kIac, static_cast<char>(kVerbs[roll(0, 3)]), static_cast<char>(kOptions[roll(0, 6)])};
}

std::string OutputShaper::preamble() {
  if (!has(Fault::Iac)) return {};
  // What a telnet server typically opens with: it will echo and suppress
  // go-ahead, and asks for the terminal type and window size.
  return std::string{kIac, static_cast<char>(0xFB), 0x01, kIac, static_cast<char>(0xFB), 0x03,
                     kIac, static_cast<char>(0xFD), 0x18, kIac, static_cast<char>(0xFD), 0x1F};
}

// NULs, garbage lines and negotiation go in at line ends ("\n\r") and, for
// NULs and negotiation, also after single bytes inside lines, never inside a
// double-byte character.
std::string OutputShaper::mixIn(const std::string& bytes, bool inlineSafe) {
  const bool nul = has(Fault::Nul), garbage = has(Fault::Garbage), iac = has(Fault::Iac);
  if (!nul && !garbage && !iac) return bytes;
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char ch = bytes[i];
    out.push_back(ch);
    const bool lineEnd = ch == '\r' && i > 0 && bytes[i - 1] == '\n';
    if (lineEnd) {
      if (nul) out.push_back('\0');
      if (iac && roll(0, 2) == 0) out += negotiation();
      if (garbage && roll(0, 2) == 0) {
        const int n = roll(1, 12);
        for (int k = 0; k < n; ++k) {
          char g;
          do {
            g = static_cast<char>(roll(0, 255));
          } while (g == '\n' || g == '\r' || g == '%');
          out.push_back(g);
        }
        out += "\n\r";
      }
      continue;
    }
    // A byte below 0x80 always ends a character in Shift-JIS, EUC-JP and
    // UTF-8 (in ISO-2022-JP it may be half of a kanji, hence inlineSafe).
    const bool ascii = static_cast<unsigned char>(ch) < 0x80 && ch != '\n';
    if (!ascii || !inlineSafe) continue;
    if (nul && roll(0, 7) == 0) out.push_back('\0');
    if (iac && roll(0, 15) == 0) out += negotiation();
  }
  return out;
}

// Pieces of one to six bytes; every LF ends a piece (so LF and its CR travel
// apart), and about every second double-byte character is cut after its
// lead byte.
std::vector<Piece> OutputShaper::split(const std::string& bytes, bool sjisLeads) {
  std::vector<Piece> pieces;
  std::string current;
  int target = roll(1, 6);
  bool trailNext = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    const bool lead = sjisLeads && !trailNext && tarvik::isSjisLead(b) && i + 1 < bytes.size();
    trailNext = lead;
    current.push_back(static_cast<char>(b));
    bool cut = static_cast<int>(current.size()) >= target || b == '\n';
    if (lead) cut = roll(0, 1) == 0;  // cut inside the character, or keep it whole
    if (cut) {
      pieces.push_back({current, timing_.splitMs});
      current.clear();
      target = roll(1, 6);
    }
  }
  if (!current.empty()) pieces.push_back({current, timing_.splitMs});
  return pieces;
}

std::vector<Piece> OutputShaper::shape(const std::string& bytes, char kanjiCode) {
  const std::string mixed = mixIn(bytes, kanjiCode != 'j');
  if (mixed.empty()) return {};
  if (has(Fault::Drip)) {
    std::vector<Piece> pieces;
    pieces.reserve(mixed.size());
    for (char ch : mixed) pieces.push_back({std::string(1, ch), timing_.dripMs});
    return pieces;
  }
  if (has(Fault::Split)) return split(mixed, kanjiCode == 's');
  return {{mixed, 0}};
}

}  // namespace sim
