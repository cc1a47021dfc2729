#pragma once
// A desktop notification the core sends through View::notify: what
// happened, a title and a line of text (UTF-8).

#include <string>

namespace tarvik {

enum class NoticeKind {
  IncomingCall,
  Connected,
  Disconnected,
  DialFailed,
  RouterSilent,
  RouterBack,
  LinkFailed,     // the router cannot be used (login refused, unreachable ...)
  LinkBack,       // and can again
  JournalFailed,  // the call journal cannot be written
  JournalBack,    // and can again
  LogFailed,      // the connection log cannot be written
  LogBack,        // and can again
};

struct Notice {
  NoticeKind kind = NoticeKind::IncomingCall;
  std::string title;
  std::string text;
};

// The word each kind prints as in the headless program's notify lines.
inline const char* noticeKindWord(NoticeKind kind) {
  switch (kind) {
    case NoticeKind::IncomingCall:
      return "incoming";
    case NoticeKind::Connected:
      return "connected";
    case NoticeKind::Disconnected:
      return "disconnected";
    case NoticeKind::DialFailed:
      return "failed";
    case NoticeKind::RouterSilent:
      return "router-silent";
    case NoticeKind::RouterBack:
      return "router-back";
    case NoticeKind::LinkFailed:
      return "link-failed";
    case NoticeKind::LinkBack:
      return "link-back";
    case NoticeKind::JournalFailed:
      return "journal-failed";
    case NoticeKind::JournalBack:
      return "journal-back";
    case NoticeKind::LogFailed:
      return "log-failed";
    case NoticeKind::LogBack:
      return "log-back";
  }
  return "";
}

}  // namespace tarvik
