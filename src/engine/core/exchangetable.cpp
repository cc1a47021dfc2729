#include "engine/core/exchangetable.h"

namespace tarvik {

Exchange& ExchangeTable::add(SocketId socket, std::string chain, bool command, std::uint32_t nowMs) {
  Exchange& e = open_[socket];
  e = Exchange{};
  e.chain = std::move(chain);
  e.command = command;
  e.openedMs = nowMs;
  return e;
}

Exchange* ExchangeTable::find(SocketId socket) {
  auto it = open_.find(socket);
  return it == open_.end() ? nullptr : &it->second;
}

void ExchangeTable::remove(SocketId socket) { open_.erase(socket); }

bool ExchangeTable::connecting() const {
  for (const auto& [socket, e] : open_) {
    if (!e.connected()) return true;
  }
  return false;
}

std::vector<SocketId> ExchangeTable::sockets() const {
  std::vector<SocketId> result;
  for (const auto& [socket, e] : open_) result.push_back(socket);
  return result;
}

std::vector<SocketId> ExchangeTable::expired(std::uint32_t nowMs) const {
  std::vector<SocketId> result;
  for (const auto& [socket, e] : open_) {
    if (static_cast<std::uint32_t>(nowMs - e.openedMs) >= kTimeoutMs) result.push_back(socket);
  }
  return result;
}

}  // namespace tarvik
