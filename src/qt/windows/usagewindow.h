#pragma once
// The window "利用状況": one month of the call journal. A month chooser, a
// bar chart of the minutes online per day, the totals per destination and
// the incoming calls with the missed ones marked; the list of calls can be
// copied and the month saved as CSV.

#include <QString>
#include <QWidget>
#include <filesystem>
#include <vector>

#include "journal/journalrecord.h"
#include "journal/monthsummary.h"

class QChart;
class QComboBox;
class QLabel;
class QTableWidget;
class QPushButton;

namespace tarvik {

class UsageWindow : public QWidget {
  Q_OBJECT
 public:
  explicit UsageWindow(std::filesystem::path configDir, QWidget* parent = nullptr);

  // Reads the journal again and shows the window, on the month it showed
  // last (the current month at first).
  void openWindow();
  // Reads the journal again; the month chooser offers every month that has
  // a record, and the current one.
  void reload();
  void showMonth(int year, int month);

  const MonthSummary& summary() const { return summary_; }
  // The month's incoming calls as tab-separated lines, as copied.
  QString incomingText() const;
  void copyIncoming() const;
  // Writes the month's records as CSV; false when the file could not be written.
  bool exportCsv(const QString& path) const;

 private:
  void chooseExportFile();
  void fillChart();
  void fillTables();

  std::filesystem::path configDir_;
  std::vector<JournalRecord> records_;
  MonthSummary summary_;
  int year_ = 0, month_ = 0;

  QComboBox* monthBox_;
  QChart* chart_;
  QLabel* totals_;
  QLabel* damage_;
  QTableWidget* destinations_;
  QTableWidget* incoming_;
};

}  // namespace tarvik
