#include "base/sjis.h"

#include <iconv.h>

#include <cerrno>

namespace tarvik {
namespace {

// Runs one iconv conversion over the whole input. On an invalid or
// unconvertible sequence the replacement is written and the input is
// stepped forward, so conversion always terminates and never throws.
std::string convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, std::size_t badStep) {
  std::string out;
  if (in.empty()) return out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.reserve(in.size() * 2);
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated multibyte sequence at the end).
      out.append(replacement);
      std::size_t step = badStep;
      if (errno == EILSEQ && from[0] == 'U') {
        // Skip one whole UTF-8 sequence.
        unsigned char lead = static_cast<unsigned char>(*inPtr);
        step = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      }
      if (step > inLeft) step = inLeft;
      inPtr += step;
      inLeft -= step;
    }
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  iconv_close(cd);
  return out;
}

}  // namespace

std::string toSjis(std::string_view utf8) {
  return convert("CP932", "UTF-8", utf8, "?", 1);
}

std::string toUtf8(std::string_view sjis) {
  return convert("UTF-8", "CP932", sjis, "\xEF\xBF\xBD", 1);
}

}  // namespace tarvik
