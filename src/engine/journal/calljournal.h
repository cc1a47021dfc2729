#pragma once
// The call journal as the core holds it: what the channels show goes to a
// CallWatch, whose records are appended to Tarvik-journal.csv and whose
// notices go to the View when their [NOTIFY] switch is on. A journal that
// cannot be written is told once when it fails and once when it works
// again, on the status line and as a notice.

#include <functional>
#include <string>
#include <vector>

#include "engine/journal/callwatch.h"
#include "engine/journal/journalfile.h"
#include "engine/ports/view.h"
#include "engine/settings/settingsstore.h"

namespace tarvik {

class CallJournal final : private CallWatch::Sink {
 public:
  // Shows text on the status line; failure says it is a fault to notice
  // (View::showStatusError).
  using StatusLine = std::function<void(const std::string& text, bool failure)>;

  // Everything given is read at each use and must outlive the journal.
  CallJournal(View& view, const SettingsStore& settings, std::filesystem::path configDir,
              const std::vector<std::string>& destinations, StatusLine statusLine);

  CallWatch& watch() { return watch_; }
  const JournalFile& file() const { return file_; }
  // False once a record could not be written (the disk is full, the folder
  // is read-only); true again after the next record that could.
  bool writing() const { return writing_; }

 private:
  void record(const JournalRecord& record) override;
  void notice(const Notice& notice) override;

  View& view_;
  const SettingsStore& settings_;
  JournalFile file_;
  CallWatch watch_;
  StatusLine statusLine_;
  bool writing_ = true;
};

// Whether [NOTIFY] lets notices of this kind through.
bool noticeWanted(const SettingsStore& settings, NoticeKind kind);

// What the status line and the notice say when the journal cannot be
// written for error, and when it can again.
std::string journalWriteFailedText(const std::error_code& error);
std::string journalWritingAgainText();

}  // namespace tarvik
