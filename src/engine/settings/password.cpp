#include "engine/settings/password.h"

#include "engine/base/bytes.h"

namespace tarvik {
namespace {

constexpr int kOffset = 44;
// Longest piece after an "O": a sign and three digits, or three digits and
// the closing "O".
constexpr std::size_t kPieceLength = 4;

}  // namespace

std::string encodePassword(std::string_view clear) {
  if (clear.empty()) return {};
  std::string out;
  out.reserve(clear.size() * 4 + 1);
  for (char c : clear) {
    out += 'O';
    out += std::to_string(static_cast<int>(static_cast<unsigned char>(c)) - kOffset);
  }
  out += 'O';
  return out;
}

std::string decodePassword(std::string_view stored) {
  if (stored.empty() || stored.front() != 'O') return std::string(stored);
  std::string out;
  // The closing "O" is never taken as the start of a piece.
  for (std::size_t i = 0; i + 1 < stored.size(); ++i) {
    if (stored[i] != 'O') continue;
    std::string_view piece = stored.substr(i + 1, kPieceLength);
    std::size_t end = piece.find('O');
    long long number = 0;
    if (end == std::string_view::npos || !parseDecimal(piece.substr(0, end), number)) continue;
    long long byte = number + kOffset;
    if (byte < 0 || byte > 255) continue;
    out += static_cast<char>(static_cast<unsigned char>(byte));
  }
  return out;
}

}  // namespace tarvik
