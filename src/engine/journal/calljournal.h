#pragma once
// The call journal as the core holds it: what the channels show goes to a
// CallWatch, whose records are appended to Tarvik-journal.csv and whose
// notices go to the View when their [NOTIFY] switch is on.

#include <string>
#include <vector>

#include "journal/callwatch.h"
#include "journal/journalfile.h"
#include "ports/view.h"
#include "settings/settingsstore.h"

namespace tarvik {

class CallJournal final : private CallWatch::Sink {
 public:
  // Everything given is read at each use and must outlive the journal.
  CallJournal(View& view, const SettingsStore& settings, std::filesystem::path configDir,
              const std::vector<std::string>& destinations);

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
  bool writing_ = true;
};

// Whether [NOTIFY] lets notices of this kind through.
bool noticeWanted(const SettingsStore& settings, NoticeKind kind);

}  // namespace tarvik
