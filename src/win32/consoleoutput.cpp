#include "win32/consoleoutput.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace tarvik::win32 {
namespace {

bool hasHandle(DWORD which) {
  const HANDLE h = ::GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE && ::GetFileType(h) != FILE_TYPE_UNKNOWN;
}

// The C library set the stream up at start without a handle: it is opened
// again on the console.
void openOnConsole(std::FILE* stream, int fd) {
  if (std::freopen("CONOUT$", "w", stream)) return;
  // Some C libraries (Wine's msvcrt) do not reopen a stream that was never
  // open: the console goes under the stream's descriptor, and the stream
  // takes the state of one opened on it.
  const HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return;
  const int opened = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(console), _O_WRONLY | _O_BINARY);
  if (opened < 0) {
    ::CloseHandle(console);
    return;
  }
  const bool moved = ::_dup2(opened, fd) == 0;
  ::_close(opened);
  if (!moved) return;
  if (std::FILE* reopened = ::_fdopen(fd, "w")) *stream = *reopened;
}

}  // namespace

void useParentConsole() {
  const bool out = hasHandle(STD_OUTPUT_HANDLE), err = hasHandle(STD_ERROR_HANDLE);
  if (out && err) return;
  // A console it has already (ERROR_ACCESS_DENIED) serves as well.
  if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED) return;
  if (!out) openOnConsole(stdout, 1);
  if (!err) openOnConsole(stderr, 2);
}

}  // namespace tarvik::win32
