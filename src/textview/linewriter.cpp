#include "textview/linewriter.h"

namespace tarvik::app {
namespace {

void appendEscaped(std::string& out, std::string_view field) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (char c : field) {
    auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default:
        if (b < 0x20 || b == 0x7f) {
          out += "\\x";
          out += kHex[b >> 4];
          out += kHex[b & 0x0f];
        } else {
          out += c;
        }
    }
  }
}

}  // namespace

std::string LineWriter::escape(std::string_view field) {
  std::string out;
  appendEscaped(out, field);
  return out;
}

void LineWriter::write(std::string_view kind, std::initializer_list<std::string_view> fields) {
  line_.assign(kind);
  for (std::string_view f : fields) {
    line_ += '\t';
    appendEscaped(line_, f);
  }
  flushLine();
}

void LineWriter::write(std::string_view kind, const std::vector<std::string>& fields) {
  line_.assign(kind);
  for (const std::string& f : fields) {
    line_ += '\t';
    appendEscaped(line_, f);
  }
  flushLine();
}

void LineWriter::flushLine() {
  line_ += '\n';
  // One write per line: a reader never sees half a line, even when several
  // processes share the terminal.
  std::fwrite(line_.data(), 1, line_.size(), out_);
  std::fflush(out_);
}

}  // namespace tarvik::app
