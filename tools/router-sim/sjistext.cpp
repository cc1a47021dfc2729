#include "sjistext.h"

#include <iconv.h>

#include <cerrno>

#include "base/bytes.h"
#include "base/sjis.h"

namespace sim {
namespace {

// CP932 to a Japanese code with iconv; unconvertible characters become '?'.
// The final flush makes ISO-2022-JP return to ASCII at the end of each piece.
std::string fromCp932(const char* to, std::string_view in) {
  iconv_t cd = iconv_open(to, "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[512];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      std::size_t step = (tarvik::isSjisLead(static_cast<unsigned char>(*inPtr)) && inLeft > 1) ? 2 : 1;
      inPtr += step;
      inLeft -= step;
      out.push_back('?');
    }
  }
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
  iconv_close(cd);
  return out;
}

}  // namespace

std::string sj(std::string_view utf8) { return tarvik::toSjis(utf8); }

std::string padSjis(std::string_view text, std::size_t width) {
  std::string out(tarvik::sjisCut(text, width));
  out.append(width - out.size(), ' ');
  return out;
}

std::string encodeFor(char kanjiCode, std::string_view sjis) {
  switch (kanjiCode) {
    case 'e':
      return fromCp932("EUC-JP-MS", sjis);
    case 'j':
      return fromCp932("ISO-2022-JP", sjis);
    case 'u':
      return tarvik::toUtf8(sjis);
    default:
      return std::string(sjis);
  }
}

}  // namespace sim
