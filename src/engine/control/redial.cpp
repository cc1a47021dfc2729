#include "engine/control/redial.h"

#include <climits>

#include "engine/base/bytes.h"

namespace tarvik {

bool Redial::parseCount(std::string_view countText, int& count) {
  long long value = 0;
  count = 0;
  if (!parseDecimal(countText, value)) return false;
  if (value > 0) count = value > INT_MAX ? INT_MAX : static_cast<int>(value);
  return true;
}

void Redial::arm(std::string_view countText) {
  parseCount(countText, RedialsLeft);
  RedialRequested = false;
}

RedialChoice Redial::choose(std::string_view countText) const {
  RedialChoice choice;
  if (RedialsLeft <= 0) return choice;
  choice.UseAlternate = RedialsLeft % 2 == 1;
  choice.RedialProgress = "(" + std::to_string(RedialsLeft) + "/" + std::string(countText) + ")";
  int count = 0;
  if (parseCount(countText, count) && count == RedialsLeft) choice.UseAlternate = false;
  return choice;
}

void Redial::busy() {
  if (RedialsLeft <= 0) return;
  --RedialsLeft;
  RedialRequested = true;
}

bool Redial::takeRequest(bool lineFree) {
  if (!RedialRequested || !lineFree) return false;
  RedialRequested = false;
  return true;
}

}  // namespace tarvik
