#include "win32/winsocktransport.h"

#include <cstring>
#include <thread>

#include "engine/base/bytes.h"
#include "engine/net/ecommerror.h"
#include "engine/net/winsockcodes.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

constexpr std::size_t kReadChunk = 4096;
// One notification reads at most this much, so a flood cannot hold the loop.
constexpr std::size_t kReadPerNotification = 64 * 1024;

// Literal addresses need no name server and are answered at once.
bool parseLiteral(const std::string& name, sockaddr_storage& address, int& length) {
  address = {};
  auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
  if (::inet_pton(AF_INET, name.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    length = sizeof(sockaddr_in);
    return true;
  }
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
  if (::inet_pton(AF_INET6, name.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    length = sizeof(sockaddr_in6);
    return true;
  }
  return false;
}

}  // namespace

std::string winsockErrorText(int error) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : L"Winsock error " + std::to_wstring(error);
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return narrow(text);
}

WinsockSession::WinsockSession() {
  WSADATA data;
  ok_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSession::~WinsockSession() {
  if (ok_) ::WSACleanup();
}

WinsockTransport::WinsockTransport(MessageWindow& window, TransportEvents events)
    : window_(window), events_(std::move(events)) {
  // The window may outlive the transport: what arrives after it has gone
  // is dropped.
  std::weak_ptr<char> alive = alive_;
  socketMessage_ = window_.addMessage([this, alive](WPARAM wParam, LPARAM lParam) {
    if (alive.lock()) {
      onSocketEvent(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
    }
  });
  closeMessage_ = window_.addMessage([this, alive](WPARAM wParam, LPARAM) {
    if (alive.lock()) closeReleased(static_cast<SOCKET>(wParam));
  });
}

WinsockTransport::~WinsockTransport() {
  while (!sockets_.empty()) release(sockets_.begin()->first);
  for (SOCKET handle : releasing_) ::closesocket(handle);
}

WinsockTransport::Socket* WinsockTransport::find(SocketId id) {
  auto it = sockets_.find(id);
  return it == sockets_.end() ? nullptr : it->second.get();
}

void WinsockTransport::setHost(const std::string& host) {
  // Every exchange sets the host again; only a new one (or one whose
  // lookup failed) costs anything.
  if (host == host_ && lookup_ != Lookup::Failed) return;
  host_ = host;
  ++lookupGeneration_;
  const std::string name(trimBlanks(host));
  if (parseLiteral(name, address_, addressLength_)) {
    lookup_ = Lookup::Done;
    return;
  }
  if (name.empty()) {
    lookup_ = Lookup::Failed;
    return;
  }
  startLookup(name);
}

void WinsockTransport::startLookup(const std::string& name) {
  lookup_ = Lookup::Pending;
  const unsigned generation = lookupGeneration_;
  std::shared_ptr<MessageWindow::Mailbox> mailbox = window_.mailbox();
  std::weak_ptr<char> alive = alive_;
  // The worker owns copies only; its answer comes back through the mailbox,
  // which drops it if the window has gone meanwhile, and is dropped again
  // if this transport has gone.
  std::thread([this, name, generation, mailbox, alive] {
    addrinfoW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfoW* found = nullptr;
    const std::wstring wide = widen(name);
    sockaddr_storage address{};
    int length = 0;
    if (::GetAddrInfoW(wide.c_str(), nullptr, &hints, &found) == 0) {
      // IPv4 first, as the router is reached over IPv4.
      const addrinfoW* pick = nullptr;
      for (const addrinfoW* a = found; a && !pick; a = a->ai_next) {
        if (a->ai_family == AF_INET) pick = a;
      }
      if (!pick) pick = found;
      if (pick && pick->ai_addrlen <= sizeof address) {
        std::memcpy(&address, pick->ai_addr, pick->ai_addrlen);
        length = static_cast<int>(pick->ai_addrlen);
      }
      ::FreeAddrInfoW(found);
    }
    mailbox->post([this, alive, generation, address, length] {
      if (alive.lock()) lookupFinished(generation, length != 0, address, length);
    });
  }).detach();
}

void WinsockTransport::lookupFinished(unsigned generation, bool ok, const sockaddr_storage& address, int length) {
  if (generation != lookupGeneration_) return;
  lookup_ = ok ? Lookup::Done : Lookup::Failed;
  if (ok) {
    address_ = address;
    addressLength_ = length;
  }
  std::vector<SocketId> waiting;
  for (auto& [id, s] : sockets_) {
    if (s->waitingForLookup) waiting.push_back(id);
  }
  for (SocketId id : waiting) {
    Socket* s = find(id);
    if (!s) continue;  // closed by an earlier event's handler
    s->waitingForLookup = false;
    if (ok) {
      startConnect(id);
    } else {
      fail(id, WSAHOST_NOT_FOUND);
    }
  }
}

void WinsockTransport::setPort(int port) { port_ = port; }

SocketId WinsockTransport::open() {
  const SocketId id = next_++;
  sockets_[id] = std::make_unique<Socket>();
  if (lookup_ == Lookup::Pending) {
    sockets_[id]->waitingForLookup = true;
    return id;
  }
  if (lookup_ != Lookup::Done) {
    // Reported from the message loop, like every other outcome.
    std::weak_ptr<char> alive = alive_;
    window_.post([this, alive, id] {
      if (alive.lock()) fail(id, WSAHOST_NOT_FOUND);
    });
    return id;
  }
  startConnect(id);
  if (find(id) == nullptr) return kNoSocket;  // no socket could be had
  return id;
}

void WinsockTransport::startConnect(SocketId id) {
  Socket* s = find(id);
  const auto* family = reinterpret_cast<const sockaddr*>(&address_);
  s->handle = ::WSASocketW(family->sa_family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
  if (s->handle == INVALID_SOCKET) {
    errorText_ = std::string(commFailurePrefix(CommFailure::NoSocket)) + winsockErrorText(::WSAGetLastError());
    sockets_.erase(id);
    return;
  }
  byHandle_[s->handle] = id;
  // Makes the socket non-blocking; its events come to the message window.
  ::WSAAsyncSelect(s->handle, window_.handle(), socketMessage_, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE);
  sockaddr_storage target = address_;
  const auto port = ::htons(static_cast<u_short>(port_ & 0xFFFF));
  if (family->sa_family == AF_INET) {
    reinterpret_cast<sockaddr_in*>(&target)->sin_port = port;
  } else {
    reinterpret_cast<sockaddr_in6*>(&target)->sin6_port = port;
  }
  if (::connect(s->handle, reinterpret_cast<const sockaddr*>(&target), addressLength_) != 0) {
    const int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
      std::weak_ptr<char> alive = alive_;
      window_.post([this, alive, id, error] {
        if (alive.lock()) fail(id, error);
      });
    }
  }
}

void WinsockTransport::onSocketEvent(SOCKET handle, WORD event, WORD error) {
  auto it = byHandle_.find(handle);
  if (it == byHandle_.end()) return;  // closed by its owner; a late event
  const SocketId id = it->second;
  switch (event) {
    case FD_CONNECT: onConnected(id, error); break;
    case FD_READ: onReadable(id); break;
    case FD_WRITE: onWritable(id); break;
    case FD_CLOSE:
      // What is left to read comes first, then the end.
      onReadable(id);
      if (!find(id)) return;
      if (error != 0) errorText_ = std::string(commFailurePrefix(CommFailure::Recv)) + winsockErrorText(error);
      release(id);
      if (events_.closed) events_.closed(id);
      break;
    default: break;
  }
}

void WinsockTransport::onConnected(SocketId id, int error) {
  Socket* s = find(id);
  if (!s || s->connected) return;
  if (error != 0) {
    fail(id, error);
    return;
  }
  s->connected = true;
  if (events_.connected) events_.connected(id);
}

void WinsockTransport::onWritable(SocketId id) {
  Socket* s = find(id);
  if (!s || !s->connected) return;
  // The rest of a send the system could not take at once.
  while (!s->pendingOut.empty()) {
    const int n = ::send(s->handle, s->pendingOut.data(), static_cast<int>(s->pendingOut.size()), 0);
    if (n == SOCKET_ERROR) {
      const int error = ::WSAGetLastError();
      if (error == WSAEWOULDBLOCK) return;  // FD_WRITE comes again
      errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + winsockErrorText(error);
      s->pendingOut.clear();  // the read side reports the broken connection
      return;
    }
    s->pendingOut.erase(0, static_cast<std::size_t>(n));
  }
}

bool WinsockTransport::send(SocketId id, std::string_view bytes) {
  Socket* s = find(id);
  if (!s || !s->connected) {
    errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + "Socket is not connected";
    return false;
  }
  if (!s->pendingOut.empty()) {
    s->pendingOut.append(bytes);
    return true;
  }
  while (!bytes.empty()) {
    const int n = ::send(s->handle, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (n == SOCKET_ERROR) {
      const int error = ::WSAGetLastError();
      if (error != WSAEWOULDBLOCK) {
        errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + winsockErrorText(error);
        return false;
      }
      break;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  s->pendingOut.assign(bytes);  // FD_WRITE sends the rest
  return true;
}

void WinsockTransport::onReadable(SocketId id) {
  Socket* s = find(id);
  if (!s) return;
  std::string bytes;
  while (bytes.size() < kReadPerNotification) {
    const std::size_t have = bytes.size();
    bytes.resize(have + kReadChunk);
    const int n = ::recv(s->handle, bytes.data() + have, static_cast<int>(kReadChunk), 0);
    bytes.resize(have + static_cast<std::size_t>(n > 0 ? n : 0));
    if (n <= 0) break;  // would block, ended or failed: FD_CLOSE reports the end
  }
  if (!bytes.empty() && events_.received) events_.received(id, bytes);
}

void WinsockTransport::fail(SocketId id, int error) {
  if (!find(id)) return;  // closed by its owner meanwhile
  errorText_ = std::string(commFailurePrefix(CommFailure::Connect)) + winsockErrorText(error);
  connectFailure_ = connectFailureOfWinsockCode(error);
  release(id);
  if (events_.closed) events_.closed(id);
}

void WinsockTransport::close(SocketId id) { release(id); }

void WinsockTransport::release(SocketId id) {
  auto it = sockets_.find(id);
  if (it == sockets_.end()) return;
  const SOCKET handle = it->second->handle;
  sockets_.erase(it);
  if (handle == INVALID_SOCKET) return;
  byHandle_.erase(handle);
  // No more events for it; but some may be queued already. The handle is
  // closed once they have been dispatched (and dropped), by a message
  // queued behind them: closed at once, its number could go to the next
  // socket, which would take them for its own (a stale "connected" for a
  // connect that is refused).
  ::WSAAsyncSelect(handle, window_.handle(), 0, 0);
  releasing_.insert(handle);
  ::PostMessageW(window_.handle(), closeMessage_, static_cast<WPARAM>(handle), 0);
}

void WinsockTransport::closeReleased(SOCKET handle) {
  if (releasing_.erase(handle) != 0) ::closesocket(handle);
}

}  // namespace tarvik::win32
