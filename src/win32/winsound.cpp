#include "win32/winsound.h"

#include <windows.h>
#include <mmsystem.h>

#include "win32/widetext.h"

namespace tarvik::win32 {

// A sound still playing is stopped: its data must not outlive the caller.
WinSound::~WinSound() { ::PlaySoundW(nullptr, nullptr, 0); }

void WinSound::play(const std::string& utf8Path) {
  if (utf8Path.empty()) {
    ::PlaySoundW(nullptr, nullptr, 0);
    return;
  }
  const std::wstring path = widen(utf8Path);
  ::PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
}

}  // namespace tarvik::win32
