#include "win32/consoletext.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>

#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

HANDLE consoleOf(int fd) {
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

void writeLine(HANDLE console, std::string_view utf8) {
  const std::wstring line = widen(utf8);
  DWORD written = 0;
  ::WriteConsoleW(console, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

// One stream (fd 1 or 2) whose console is fed from a pipe.
class ConsoleText::Stream {
 public:
  // Null when the stream is no console (a pipe, a file, nothing).
  static std::unique_ptr<Stream> open(std::FILE* stream, int fd) {
    const HANDLE console = consoleOf(fd);
    if (!console) return nullptr;
    auto opened = std::unique_ptr<Stream>(new Stream(stream, fd));
    return opened->redirect(console) ? std::move(opened) : nullptr;
  }

  ~Stream() {
    // Putting the console's descriptor back closes the pipe's last writing
    // end: the thread reads to the end, writes the rest and ends.
    std::fflush(stream_);
    ::_dup2(savedFd_, fd_);
    ::_close(savedFd_);
    if (reader_.joinable()) reader_.join();
    ::CloseHandle(pipeRead_);
    ::CloseHandle(console_);
  }

 private:
  Stream(std::FILE* stream, int fd) : stream_(stream), fd_(fd) {}

  bool redirect(HANDLE console) {
    if (!::DuplicateHandle(::GetCurrentProcess(), console, ::GetCurrentProcess(), &console_, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
      return false;
    }
    HANDLE pipeWrite = nullptr;
    if (!::CreatePipe(&pipeRead_, &pipeWrite, nullptr, 0)) {
      ::CloseHandle(console_);
      return false;
    }
    std::fflush(stream_);
    savedFd_ = ::_dup(fd_);
    const int pipeFd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(pipeWrite), _O_WRONLY | _O_BINARY);
    if (savedFd_ < 0 || pipeFd < 0 || ::_dup2(pipeFd, fd_) != 0) {
      if (pipeFd >= 0)
        ::_close(pipeFd);
      else
        ::CloseHandle(pipeWrite);
      if (savedFd_ >= 0) ::_close(savedFd_);
      ::CloseHandle(pipeRead_);
      ::CloseHandle(console_);
      return false;
    }
    ::_close(pipeFd);
    reader_ = std::thread([this] { copyLines(); });
    return true;
  }

  // Whole lines as they come; what follows the last line break waits for
  // the rest of its line or the end.
  void copyLines() {
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(pipeRead_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      pending.append(buffer, got);
      std::size_t start = 0;
      for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1)
        writeLine(console_, std::string_view(pending).substr(start, end + 1 - start));
      pending.erase(0, start);
    }
    if (!pending.empty()) writeLine(console_, pending);
  }

  std::FILE* stream_;
  int fd_;
  int savedFd_ = -1;
  HANDLE console_ = nullptr;
  HANDLE pipeRead_ = nullptr;
  std::thread reader_;
};

ConsoleText::ConsoleText() {
  const struct {
    std::FILE* stream;
    int fd;
  } standard[] = {{stdout, 1}, {stderr, 2}};
  for (const auto& s : standard) {
    if (auto stream = Stream::open(s.stream, s.fd)) streams_.push_back(std::move(stream));
  }
}

ConsoleText::~ConsoleText() = default;

}  // namespace tarvik::win32
