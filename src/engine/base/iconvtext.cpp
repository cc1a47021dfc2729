#include "engine/base/iconvtext.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "engine/base/bytes.h"

namespace tarvik {
namespace {

std::size_t characterLength(const char* from, const char* at, std::size_t left) {
  const unsigned char lead = static_cast<unsigned char>(*at);
  std::size_t length = 1;
  if (std::strcmp(from, "UTF-8") == 0) {
    length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  } else if (std::strcmp(from, "CP932") == 0) {
    length = isSjisLead(lead) ? 2 : 1;
  }
  return length < left ? length : left;
}

}  // namespace

std::string iconvText(const char* to, const char* from, std::string_view in, std::string_view replacement,
                      BadInputStep step) {
  std::string out;
  if (in.empty()) return out;
  iconv_t cd = iconv_open(to, from);
  // (iconv_t)-1 is iconv_open's own failure value.
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);  // NOLINT(performance-no-int-to-ptr)
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
      const int error = errno;
      if (error == E2BIG) continue;
      // EILSEQ, or EINVAL for a sequence cut off at the end (one byte at a
      // time: what follows it is no character either).
      out.append(replacement);
      std::size_t skip = step == BadInputStep::kWholeCharacter && error == EILSEQ
                             ? characterLength(from, inPtr, inLeft)
                             : 1;
      inPtr += skip;
      inLeft -= skip;
    }
  }
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
  iconv_close(cd);
  return out;
}

}  // namespace tarvik
