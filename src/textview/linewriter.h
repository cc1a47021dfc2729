#pragma once
// Writes the headless program's event lines: KIND, then each field after a
// TAB, then LF, flushed at once so a reader sees every change as it happens.
//
// A field never breaks the line format: backslash, TAB, CR and LF are
// written as \\, \t, \r and \n, other control bytes as \xHH. Texts are
// UTF-8 already (the core converts at the View boundary).

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::app {

class LineWriter {
 public:
  explicit LineWriter(std::FILE* out) : out_(out) {}

  void write(std::string_view kind, std::initializer_list<std::string_view> fields);
  void write(std::string_view kind, const std::vector<std::string>& fields);

  static std::string escape(std::string_view field);

 private:
  void flushLine();

  std::FILE* out_;
  std::string line_;  // reused buffer
};

}  // namespace tarvik::app
