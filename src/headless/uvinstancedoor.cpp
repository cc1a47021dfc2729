#include "headless/uvinstancedoor.h"

#include <unistd.h>

#include <cstring>
#include <memory>
#include <optional>

#include "app/secondstart.h"

namespace tarvik::app {

// The words' receiver is shared with the callers still being read, and
// emptied when the door closes: a caller the loop still serves afterwards
// reaches no one.
struct UvInstanceDoor::Server {
  uv_pipe_t pipe;  // first: the handle's address is the server's
  std::shared_ptr<Words> onWords;
};

struct UvInstanceDoor::Caller {
  uv_pipe_t pipe;  // first
  uv_write_t answer;
  std::shared_ptr<Words> onWords;
  std::string bytes;
  char buffer[512];
};

namespace {

using Caller = UvInstanceDoor::Caller;

void closeCaller(Caller* caller) { closeAndDelete(caller, reinterpret_cast<uv_handle_t*>(&caller->pipe)); }

void answered(uv_write_t* request, int) { closeCaller(static_cast<Caller*>(request->data)); }

void read(uv_stream_t* stream, ssize_t n, const uv_buf_t*) {
  auto* caller = static_cast<Caller*>(stream->data);
  if (n == 0) return;
  std::optional<std::vector<std::string>> words;
  if (n > 0) {
    caller->bytes.append(caller->buffer, static_cast<std::size_t>(n));
    words = decodeSecondStart(caller->bytes);
    if (!words && caller->bytes.size() <= kSecondStartMaxBytes) return;  // more to come
  }
  uv_read_stop(stream);
  if (!words || !*caller->onWords) {
    closeCaller(caller);
    return;
  }
  (*caller->onWords)(*words);
  static char taken[] = "OK\n";
  uv_buf_t buf = uv_buf_init(taken, static_cast<unsigned>(std::strlen(taken)));
  caller->answer.data = caller;
  if (uv_write(&caller->answer, stream, &buf, 1, answered) != 0) closeCaller(caller);
}

void connection(uv_stream_t* stream, int status) {
  if (status < 0) return;
  auto* server = reinterpret_cast<UvInstanceDoor::Server*>(stream);
  auto* caller = new Caller{};
  caller->onWords = server->onWords;
  uv_pipe_init(stream->loop, &caller->pipe, 0);
  caller->pipe.data = caller;
  if (uv_accept(stream, reinterpret_cast<uv_stream_t*>(&caller->pipe)) != 0) {
    closeCaller(caller);
    return;
  }
  uv_read_start(
      reinterpret_cast<uv_stream_t*>(&caller->pipe),
      [](uv_handle_t* handle, std::size_t, uv_buf_t* buf) {
        auto* c = static_cast<Caller*>(handle->data);
        *buf = uv_buf_init(c->buffer, sizeof c->buffer);
      },
      read);
}

}  // namespace

UvInstanceDoor::UvInstanceDoor(EventLoop& loop, std::filesystem::path path, Words onWords)
    : path_(std::move(path)) {
  if (path_.empty()) return;
  ::unlink(path_.c_str());
  server_ = new Server{};
  server_->onWords = std::make_shared<Words>(std::move(onWords));
  uv_pipe_init(loop.uv(), &server_->pipe, 0);
  int result = uv_pipe_bind(&server_->pipe, path_.c_str());
  if (result == 0) result = uv_listen(reinterpret_cast<uv_stream_t*>(&server_->pipe), 4, connection);
  if (result != 0) {
    problem_ = path_.string() + ": " + uv_strerror(result);
    closeAndDelete(server_, reinterpret_cast<uv_handle_t*>(&server_->pipe));
    server_ = nullptr;
    path_.clear();
  }
}

UvInstanceDoor::~UvInstanceDoor() {
  if (!server_) return;
  *server_->onWords = nullptr;
  closeAndDelete(server_, reinterpret_cast<uv_handle_t*>(&server_->pipe));
  ::unlink(path_.c_str());
}

}  // namespace tarvik::app
