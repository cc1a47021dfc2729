#pragma once
// What the program prints is UTF-8, written by code shared with Linux to
// stdout and stderr. Pipes and files get those bytes as they are. A console
// would show them only under the UTF-8 code page, and only when no write
// ends inside a character; switching the console to UTF-8 would also leave
// it so for the programs that use the console after this one. So while a
// ConsoleText lives, each of the two streams that is a console writes into
// a pipe instead, and a thread of its own hands the console whole lines in
// UTF-16 (WriteConsoleW): the console's code page is never touched.

#include <memory>
#include <vector>

namespace tarvik::win32 {

class ConsoleText {
 public:
  // After useParentConsole(): the streams are where they will stay.
  ConsoleText();
  // Everything printed has reached the console; the streams write to it
  // directly again.
  ~ConsoleText();
  ConsoleText(const ConsoleText&) = delete;
  ConsoleText& operator=(const ConsoleText&) = delete;

  class Stream;

 private:
  std::vector<std::unique_ptr<Stream>> streams_;
};

}  // namespace tarvik::win32
