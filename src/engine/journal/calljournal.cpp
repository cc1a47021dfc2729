#include "journal/calljournal.h"

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
    case NoticeKind::DialFailed:
      return n.FAILED;
    case NoticeKind::RouterSilent:
    case NoticeKind::RouterBack:
      return n.ROUTER;
  }
  return false;
}

CallJournal::CallJournal(View& view, const SettingsStore& settings, std::filesystem::path configDir,
                         const std::vector<std::string>& destinations)
    : view_(view),
      settings_(settings),
      file_(std::move(configDir), journalMaxBytes(settings)),
      watch_(*this, settings.nameList, destinations) {}

void CallJournal::record(const JournalRecord& record) {
  file_.setMaxBytes(journalMaxBytes(settings_));
  writing_ = file_.append(record, record.end ? *record.end : record.start);
}

void CallJournal::notice(const Notice& notice) {
  if (noticeWanted(settings_, notice.kind)) view_.notify(notice);
}

}  // namespace tarvik
