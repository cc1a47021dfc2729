#include "app/usageprint.h"

#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "engine/journal/journalfile.h"
#include "engine/journal/monthsummary.h"
#include "engine/journal/tariff.h"
#include "engine/journal/usagetable.h"
#include "engine/settings/settingsfiles.h"

namespace tarvik::app {

int printUsage(const std::filesystem::path& configDir, const std::string& month) {
  int year = 0, monthNumber = 0;
  if (month.empty()) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    year = local.tm_year + 1900;
    monthNumber = local.tm_mon + 1;
  } else if (!parseYearMonth(month, year, monthNumber)) {
    std::fprintf(stderr, "tarvik: --usage needs a month as YYYY-MM\n");
    return 2;
  }
  // The tariff for the estimate comes from Tarvik.ini.
  SettingsStore settings;
  try {
    SettingsFiles(configDir).loadAll(settings);
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "tarvik: %s\n", e.what());
    return 2;
  }
  const JournalReading reading = readJournal(configDir);
  // A month of zeros from a journal that could not be read would be a lie.
  if (reading.readFailed()) {
    std::fprintf(stderr, "tarvik: %s\n", reading.readErrorReport().c_str());
    return 2;
  }
  if (reading.damaged > 0) std::fprintf(stderr, "tarvik: %s\n", reading.damageReport().c_str());
  std::fputs(usageTable(summarizeMonth(reading.records, year, monthNumber, tariffOf(settings))).c_str(), stdout);
  return 0;
}

}  // namespace tarvik::app
