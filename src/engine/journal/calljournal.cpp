#include "engine/journal/calljournal.h"

namespace tarvik {

bool noticeWanted(const SettingsStore& settings, NoticeKind kind) {
  const SettingsStore::NotifySection& n = settings.notify;
  switch (kind) {
    case NoticeKind::IncomingCall:
      return n.INCOMING;
    case NoticeKind::Connected:
      return n.CONNECTED;
    case NoticeKind::Disconnected:
      return n.DISCONNECTED;
    // A journal that loses calls, a router that cannot be used are
    // failures like a failed dial.
    case NoticeKind::DialFailed:
    case NoticeKind::LinkFailed:
    case NoticeKind::LinkBack:
    case NoticeKind::JournalFailed:
    case NoticeKind::JournalBack:
    case NoticeKind::LogFailed:
    case NoticeKind::LogBack:
      return n.FAILED;
    case NoticeKind::RouterSilent:
    case NoticeKind::RouterBack:
      return n.ROUTER;
  }
  return false;
}

std::string journalWriteFailedText(const std::error_code& error) {
  return std::string(kJournalFileName) + " に書き込めません（" + journalErrorText(error) + "）";
}

std::string journalWritingAgainText() { return std::string(kJournalFileName) + " に再び書き込めます"; }

CallJournal::CallJournal(View& view, const SettingsStore& settings, std::filesystem::path configDir,
                         const std::vector<std::string>& destinations, StatusLine statusLine)
    : view_(view),
      settings_(settings),
      file_(std::move(configDir), journalMaxBytes(settings)),
      watch_(*this, settings.nameList, destinations),
      statusLine_(std::move(statusLine)) {}

// Only the first failure of a streak is told, and its end: a full disk
// would otherwise repeat its message at every event.
void CallJournal::record(const JournalRecord& record) {
  file_.setMaxBytes(journalMaxBytes(settings_));
  const std::error_code error = file_.append(record, record.end ? *record.end : record.start);
  const bool wasWriting = writing_;
  writing_ = !error;
  if (writing_ == wasWriting) return;
  const std::string text = error ? journalWriteFailedText(error) : journalWritingAgainText();
  if (statusLine_) statusLine_(text, static_cast<bool>(error));
  notice({error ? NoticeKind::JournalFailed : NoticeKind::JournalBack, "通話記録", text});
}

void CallJournal::notice(const Notice& notice) {
  if (noticeWanted(settings_, notice.kind)) view_.notify(notice);
}

}  // namespace tarvik
