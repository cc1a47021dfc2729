#include "engine/core/linktrouble.h"

namespace tarvik {

void ExchangeSigns::add(const ExchangeSigns& seen) {
  heard = heard || seen.heard;
  loggedIn = loggedIn || seen.loggedIn;
  statusSeen = statusSeen || seen.statusSeen;
}

ExchangeVerdict judgeExchange(const ExchangeSigns& s) {
  // Never connected: the connect failed or timed out.
  if (!s.connected) return {LinkFault::Unreachable};
  if (s.broken || !s.heard) return {std::nullopt, false};
  // Text came but never a prompt: the console did not let us in (it asked
  // for the password again, said it refused, or closed).
  if (!s.loggedIn) return {LinkFault::LoginRefused};
  if (s.expectsStatus && !s.statusSeen) return {LinkFault::Unreadable};
  return {};
}

// Within a kind only an unreachable router's reason is news (the address
// was changed, the router went from refusing to missing); a broken send's
// wording changes with the moment the connection broke and is not.
bool LinkTrouble::failed(LinkFault fault, const std::string& text) {
  if (fault_ == fault && (fault != LinkFault::Unreachable || text_ == text)) return false;
  fault_ = fault;
  text_ = text;
  return true;
}

bool LinkTrouble::worked() {
  if (!fault_) return false;
  fault_.reset();
  text_.clear();
  return true;
}

}  // namespace tarvik
