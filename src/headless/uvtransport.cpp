#include "headless/uvtransport.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>

#include "engine/base/bytes.h"

namespace tarvik::app {

struct UvTransport::Socket {
  uv_tcp_t tcp;  // first: the handle's address is the socket's
  uv_connect_t connect;
  UvTransport* owner;  // null once the owner closed it: callbacks still due see nothing
  SocketId id;
  bool hasHandle = false;
  bool connected = false;
  bool waitingForLookup = false;
  int writesInFlight = 0;
};

struct UvTransport::Lookup {
  uv_getaddrinfo_t request;
  UvTransport* owner;  // null once the answer is no longer wanted
};

namespace {

// A queued send: the bytes the kernel did not take at once.
struct Write {
  uv_write_t request;
  UvTransport::Socket* socket;
  std::string bytes;
};

// The system's text for a libuv error: the C library's own wording for
// errno values, libuv's for the rest (name lookup failures).
std::string reason(int uvError) {
  if (uvError < 0 && uvError > -1000) return std::strerror(-uvError);
  return uv_strerror(uvError);
}

ConnectFailure connectFailureOf(int uvError) {
  switch (uvError) {
    case UV_ECONNREFUSED:
      return ConnectFailure::Refused;
    case UV_EAI_NONAME:
    case UV_EAI_NODATA:
    case UV_EAI_AGAIN:
    case UV_EAI_FAIL:
      return ConnectFailure::HostNotFound;
    case UV_ETIMEDOUT:
      return ConnectFailure::TimedOut;
    case UV_EHOSTUNREACH:
    case UV_ENETUNREACH:
      return ConnectFailure::Unreachable;
    default:
      return ConnectFailure::Other;
  }
}

}  // namespace

// The C callbacks, with access to the transport's private members.
struct Callbacks {
  static void alloc(uv_handle_t* handle, std::size_t, uv_buf_t* buf) {
    auto* s = static_cast<UvTransport::Socket*>(handle->data);
    *buf = uv_buf_init(s->owner->readBuffer_, sizeof s->owner->readBuffer_);
  }
  static void read(uv_stream_t* stream, ssize_t n, const uv_buf_t* buf) {
    auto* s = static_cast<UvTransport::Socket*>(stream->data);
    if (s->owner) s->owner->onRead(s, n, buf->base);
  }
  static void connected(uv_connect_t* request, int status) {
    auto* s = static_cast<UvTransport::Socket*>(request->data);
    if (s->owner) s->owner->onConnected(s, status);
  }
  static void written(uv_write_t* request, int status) {
    auto* w = static_cast<Write*>(request->data);
    UvTransport::Socket* s = w->socket;
    delete w;
    --s->writesInFlight;
    if (s->owner) s->owner->onWritten(s, status);
  }
  static void resolved(uv_getaddrinfo_t* request, int status, addrinfo* found) {
    auto* lookup = static_cast<UvTransport::Lookup*>(request->data);
    if (lookup->owner) {
      // IPv4 first, as the router is an IPv4 device; else what came first.
      const addrinfo* pick = nullptr;
      for (const addrinfo* a = found; a && status == 0; a = a->ai_next) {
        if (a->ai_family == AF_INET) {
          pick = a;
          break;
        }
      }
      if (!pick && status == 0) pick = found;
      lookup->owner->lookupFinished(lookup, status, pick ? pick->ai_addr : nullptr);
    }
    uv_freeaddrinfo(found);
    delete lookup;
  }
};

UvTransport::UvTransport(EventLoop& loop, TransportEvents events) : loop_(loop), events_(std::move(events)) {}

UvTransport::~UvTransport() {
  while (!sockets_.empty()) release(sockets_.begin()->first);
  if (lookup_) {
    lookup_->owner = nullptr;
    uv_cancel(reinterpret_cast<uv_req_t*>(&lookup_->request));
  }
}

UvTransport::Socket* UvTransport::find(SocketId id) {
  auto it = sockets_.find(id);
  return it == sockets_.end() ? nullptr : it->second;
}

void UvTransport::setHost(const std::string& host) {
  // Every exchange sets the host again; only a new one (or one whose
  // lookup failed) costs anything.
  if (host == host_ && address_ != Address::Failed) return;
  host_ = host;
  if (lookup_) {
    lookup_->owner = nullptr;
    uv_cancel(reinterpret_cast<uv_req_t*>(&lookup_->request));
    lookup_ = nullptr;
  }
  const std::string name(trimBlanks(host));
  resolved_ = {};
  auto* v4 = reinterpret_cast<sockaddr_in*>(&resolved_);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&resolved_);
  if (::inet_pton(AF_INET, name.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    address_ = Address::Done;
  } else if (::inet_pton(AF_INET6, name.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    address_ = Address::Done;
  } else if (name.empty()) {
    address_ = Address::Failed;
    lookupError_ = UV_EHOSTUNREACH;
  } else {
    address_ = Address::Pending;
    auto* lookup = new Lookup{{}, this};
    lookup->request.data = lookup;
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    const int r = uv_getaddrinfo(loop_.uv(), &lookup->request, &Callbacks::resolved, name.c_str(), nullptr, &hints);
    if (r < 0) {
      delete lookup;
      address_ = Address::Failed;
      lookupError_ = r;
      errorText_ = std::string(commFailurePrefix(CommFailure::Connect)) + reason(r);
    } else {
      lookup_ = lookup;
    }
  }
}

void UvTransport::lookupFinished(Lookup* lookup, int status, const sockaddr* found) {
  if (lookup != lookup_) return;
  lookup_ = nullptr;
  int error = status;
  if (status == 0 && found && (found->sa_family == AF_INET || found->sa_family == AF_INET6)) {
    std::memcpy(&resolved_, found, found->sa_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6));
    address_ = Address::Done;
  } else {
    address_ = Address::Failed;
    if (error == 0) error = UV_EAI_NONAME;
    lookupError_ = error;
  }
  // The sockets opened meanwhile connect now, or end.
  std::vector<SocketId> waiting;
  for (auto& [id, s] : sockets_) {
    if (s->waitingForLookup) waiting.push_back(id);
  }
  for (SocketId id : waiting) {
    Socket* s = find(id);
    if (!s) continue;  // closed by a handler of an earlier one
    s->waitingForLookup = false;
    if (address_ != Address::Done) {
      fail(id, CommFailure::Connect, error);
    } else if (!startConnect(id, s)) {
      // No socket to be had: the exchange ends now rather than at its
      // time-out; errorText() says why.
      release(id);
      if (events_.closed) events_.closed(id);
    }
  }
}

void UvTransport::setPort(int port) { port_ = port; }

SocketId UvTransport::open() {
  const SocketId id = next_++;
  auto* s = new Socket{};
  s->owner = this;
  s->id = id;
  sockets_[id] = s;
  if (address_ == Address::Pending) {
    s->waitingForLookup = true;
  } else if (address_ == Address::Done) {
    if (!startConnect(id, s)) {
      release(id);
      return kNoSocket;
    }
  } else {
    // Reported from the event loop, like every other outcome.
    loop_.post([this, id, error = lookupError_] { fail(id, CommFailure::Connect, error); });
  }
  return id;
}

bool UvTransport::startConnect(SocketId id, Socket* s) {
  const int family = resolved_.ss_family;
  int r = uv_tcp_init_ex(loop_.uv(), &s->tcp, static_cast<unsigned>(family));
  if (r < 0) {
    errorText_ = std::string(commFailurePrefix(CommFailure::NoSocket)) + reason(r);
    return false;
  }
  s->hasHandle = true;
  s->tcp.data = s;
  s->connect.data = s;
  sockaddr_storage target = resolved_;
  const auto port = htons(static_cast<uint16_t>(port_ & 0xFFFF));
  if (family == AF_INET) reinterpret_cast<sockaddr_in*>(&target)->sin_port = port;
  else reinterpret_cast<sockaddr_in6*>(&target)->sin6_port = port;
  r = uv_tcp_connect(&s->connect, &s->tcp, reinterpret_cast<const sockaddr*>(&target), &Callbacks::connected);
  if (r < 0) loop_.post([this, id, r] { fail(id, CommFailure::Connect, r); });
  return true;
}

void UvTransport::onConnected(Socket* s, int status) {
  if (status < 0) {
    fail(s->id, CommFailure::Connect, status);
    return;
  }
  s->connected = true;
  uv_read_start(reinterpret_cast<uv_stream_t*>(&s->tcp), &Callbacks::alloc, &Callbacks::read);
  if (events_.connected) events_.connected(s->id);
}

void UvTransport::onRead(Socket* s, ssize_t n, const char* bytes) {
  const SocketId id = s->id;
  if (n > 0) {
    if (events_.received) events_.received(id, std::string_view(bytes, static_cast<std::size_t>(n)));
    return;
  }
  if (n == 0) return;  // nothing this time
  if (n != UV_EOF) errorText_ = std::string(commFailurePrefix(CommFailure::Recv)) + reason(static_cast<int>(n));
  release(id);
  if (events_.closed) events_.closed(id);
}

bool UvTransport::send(SocketId id, std::string_view bytes) {
  Socket* s = find(id);
  if (!s || !s->connected) {
    errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + "Socket is not connected";
    return false;
  }
  auto* stream = reinterpret_cast<uv_stream_t*>(&s->tcp);
  if (s->writesInFlight == 0) {
    // Most sends fit the socket buffer: written at once, nothing queued.
    uv_buf_t buf = uv_buf_init(const_cast<char*>(bytes.data()), static_cast<unsigned>(bytes.size()));
    const int n = uv_try_write(stream, &buf, 1);
    if (n >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (n != UV_EAGAIN) {
      errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + reason(n);
      return false;
    }
  }
  if (bytes.empty()) return true;
  // The rest goes out as the socket takes it; a connection that breaks
  // meanwhile is reported by the read side as closed.
  auto* w = new Write{{}, s, std::string(bytes)};
  w->request.data = w;
  uv_buf_t buf = uv_buf_init(w->bytes.data(), static_cast<unsigned>(w->bytes.size()));
  const int r = uv_write(&w->request, stream, &buf, 1, &Callbacks::written);
  if (r < 0) {
    delete w;
    errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + reason(r);
    return false;
  }
  ++s->writesInFlight;
  return true;
}

void UvTransport::onWritten(Socket*, int status) {
  if (status < 0 && status != UV_ECANCELED) {
    errorText_ = std::string(commFailurePrefix(CommFailure::Send)) + reason(status);
  }
}

void UvTransport::fail(SocketId id, CommFailure failure, int error) {
  if (!find(id)) return;  // closed by its owner meanwhile
  errorText_ = std::string(commFailurePrefix(failure)) + reason(error);
  if (failure == CommFailure::Connect) connectFailure_ = connectFailureOf(error);
  release(id);
  if (events_.closed) events_.closed(id);
}

void UvTransport::close(SocketId id) { release(id); }

void UvTransport::release(SocketId id) {
  auto it = sockets_.find(id);
  if (it == sockets_.end()) return;
  Socket* s = it->second;
  sockets_.erase(it);
  s->owner = nullptr;
  if (!s->hasHandle) {
    delete s;
    return;
  }
  // Possibly from inside one of its own callbacks: libuv frees nothing
  // before the close callback, which comes after every pending one.
  closeAndDelete(s, reinterpret_cast<uv_handle_t*>(&s->tcp));
}

}  // namespace tarvik::app
