#include "win32/desktop/balloonicon.h"

// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <iterator>

namespace tarvik::win32 {
namespace {

// The failures; every other notice informs.
constexpr NoticeKind kWarnings[] = {NoticeKind::RouterSilent, NoticeKind::JournalFailed};

}  // namespace

DWORD balloonIconOf(NoticeKind kind) {
  const bool warns = std::find(std::begin(kWarnings), std::end(kWarnings), kind) != std::end(kWarnings);
  return warns ? NIIF_WARNING : NIIF_INFO;
}

}  // namespace tarvik::win32
