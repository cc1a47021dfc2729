#pragma once
// The door of the running Tarvik on Windows: a message-only window of its
// own class, "TarvikDoor", that takes a second start's action words
// (secondstart.h) in WM_COPYDATA and answers TRUE once it has them. Only
// the same user's session reaches it: message-only windows belong to the
// session's desktop, as the single-instance mutex does.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tarvik::win32 {

class InstanceDoor {
 public:
  using Words = std::function<void(const std::vector<std::string>&)>;

  explicit InstanceDoor(Words onWords);
  ~InstanceDoor();
  InstanceDoor(const InstanceDoor&) = delete;
  InstanceDoor& operator=(const InstanceDoor&) = delete;

  // The second start's side: hands words to the running program's door and
  // lets that program take the foreground, waiting at most timeoutMs in all
  // (a door that is not open yet is waited for). False, with why in
  // problem, when nobody took them.
  static bool knock(const std::vector<std::string>& words, std::string& problem, int timeoutMs = 5000);

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  Words onWords_;
};

}  // namespace tarvik::win32
