#pragma once
// The window "利用状況": one month of the call journal. A month chooser, a
// bar chart of the minutes online per day (metered and flat-rate minutes
// stacked, or as one bar), the totals with the estimated cost, the totals
// and cost per destination and the incoming calls with the missed ones
// marked; the incoming calls can be copied and the month saved as CSV.
// It opens inside the work area of its screen, and scrolls what a small
// work area cannot hold.

#include <QSize>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "desktop/usagepresenter.h"
#include "engine/journal/monthsummary.h"
#include "engine/journal/tariff.h"

class QChart;
class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;
class QPushButton;

namespace tarvik {

class UsageWindow : public QWidget {
  Q_OBJECT
 public:
  explicit UsageWindow(std::filesystem::path configDir, QWidget* parent = nullptr);

  // Where the tariff for the estimate comes from, asked at every showing
  // (the settings may have changed); the defaults without one.
  void setTariffSource(std::function<Tariff()> source) { tariffSource_ = std::move(source); }

  // Reads the journal again and shows the window, on the month it showed
  // last (the current month at first).
  void openWindow();
  // Reads the journal again; the month chooser offers every month that has
  // a record, and the current one.
  void reload();
  // Its size when the screen has room (in the program's units, which the
  // screen's scale makes larger).
  static constexpr QSize kPreferredSize{820, 680};
  void showMonth(int year, int month);

  const MonthSummary& summary() const { return presenter_.summary(); }
  // The month's incoming calls as tab-separated lines, as copied.
  QString incomingText() const;
  void copyIncoming() const;
  // Writes the month's records as CSV; false when the file could not be written.
  bool exportCsv(const QString& path) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void chooseExportFile();
  void placeOnScreen();
  void fillMonths();
  void fillChart();
  void fillTables();

  std::function<Tariff()> tariffSource_;
  desktop::UsagePresenter presenter_;
  desktop::YearMonth shown_;
  bool placed_ = false;  // placed on a screen once

  QComboBox* monthBox_;
  QCheckBox* stacked_;
  QChart* chart_;
  QLabel* totals_;
  QLabel* cost_;
  QLabel* damage_;
  QTableWidget* destinations_;
  QTableWidget* incoming_;
};

}  // namespace tarvik
