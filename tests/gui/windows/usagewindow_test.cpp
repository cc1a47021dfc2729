// The usage window over a journal written for the test: the month's chart,
// totals, destinations and calls; copying the calls and saving the month.

#include "windows/usagewindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>

#include "journal/journalfile.h"
#include "support/layoutrules.h"

namespace tarvik {
namespace {

JournalRecord call(LocalTime start, LocalTime end, int minutes) {
  JournalRecord r;
  r.event = JournalEvent::Outgoing;
  r.start = start;
  r.end = end;
  r.channel = "B1";
  r.destination = "#0";
  r.name = "Tarvik ISP";
  r.number = "0312345678";
  r.ip = "203.0.113.42";
  r.minutes = minutes;
  return r;
}

JournalRecord ring(LocalTime start, const std::string& number, const std::string& name, bool missed) {
  JournalRecord r;
  r.event = JournalEvent::Incoming;
  r.start = start;
  r.channel = "B1";
  r.number = number;
  r.name = name;
  r.result = missed ? kJournalMissed : kJournalAnswered;
  return r;
}

class UsageWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    JournalFile journal(dir.path().toStdString(), 1 << 20);
    const LocalTime now{2026, 12, 10, 23, 0, 0};
    for (const JournalRecord& r : {call({2026, 12, 3, 21, 0, 0}, {2026, 12, 3, 21, 38, 0}, 38),
                                   call({2026, 12, 10, 9, 0, 0}, {2026, 12, 10, 9, 12, 30}, 13),
                                   ring({2026, 12, 10, 21, 45, 30}, "0452223333", "山田商店", true),
                                   ring({2026, 12, 11, 8, 5, 0}, "0399999999", "", false),
                                   call({2026, 11, 20, 21, 0, 0}, {2026, 11, 20, 22, 0, 0}, 60)})
      ASSERT_FALSE(journal.append(r, now));
    QFile damaged(dir.filePath("Tarvik-journal.csv"));
    ASSERT_TRUE(damaged.open(QIODevice::Append));
    damaged.write("not a record\n");
  }

  template <typename T>
  T* find(const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
  }
  QStringList rowTexts(const char* tableName) {
    auto* t = find<QTableWidget>(tableName);
    QStringList rows;
    for (int r = 0; r < t->rowCount(); ++r) {
      QStringList cells;
      for (int c = 0; c < t->columnCount(); ++c) cells << (t->item(r, c) ? t->item(r, c)->text() : QString());
      rows << cells.join(QChar('|'));
    }
    return rows;
  }

  QTemporaryDir dir;
  UsageWindow window{dir.path().toStdString()};
};

TEST_F(UsageWindowTest, ShowsTheMonthsChartTotalsDestinationsAndCalls) {
  window.reload();
  window.showMonth(2026, 12);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("利用状況"));

  auto* chart = find<QChartView>("DayChart")->chart();
  ASSERT_EQ(chart->series().size(), 1);
  auto* series = qobject_cast<QBarSeries*>(chart->series().first());
  ASSERT_NE(series, nullptr);
  QBarSet* set = series->barSets().first();
  ASSERT_EQ(set->count(), 31);
  EXPECT_EQ(set->at(2), 38);
  EXPECT_EQ(set->at(9), 13);
  EXPECT_EQ(set->at(0), 0);

  EXPECT_EQ(find<QLabel>("TotalsLabel")->text(),
            QStringLiteral("合計 51 分　接続 2 回　失敗 0 回　話中 0 回　着信 2 件 (不在 1 件)"));
  EXPECT_EQ(rowTexts("DestinationTable"), QStringList{QStringLiteral("#0 Tarvik ISP 0312345678|2|51")});
  EXPECT_EQ(rowTexts("IncomingTable"), (QStringList{QStringLiteral("12/10 21:45|不在|0452223333|山田商店"),
                                                    QStringLiteral("12/11 8:05|応答|0399999999|")}));
  auto* missed = find<QTableWidget>("IncomingTable")->item(0, 1);
  auto* answered = find<QTableWidget>("IncomingTable")->item(1, 1);
  EXPECT_NE(missed->foreground().color(), answered->foreground().color()) << "missed calls stand out";

  auto* damage = find<QLabel>("DamageLabel");
  EXPECT_TRUE(damage->text().contains(QStringLiteral("1 damaged line skipped")));

  // Shown at its own size: the totals line and every button whole, inside
  // the window, nothing over anything else.
  window.show();
  QApplication::processEvents();
  test::expectTidyLayout(&window);
}

TEST_F(UsageWindowTest, TheMonthChooserOffersEveryMonthWithRecords) {
  window.reload();
  window.showMonth(2026, 11);
  auto* box = find<QComboBox>("MonthBox");
  EXPECT_GE(box->findData(QStringLiteral("2026-12")), 0);
  EXPECT_GE(box->findData(QStringLiteral("2026-11")), 0);
  EXPECT_EQ(box->currentData().toString(), QStringLiteral("2026-11"));
  EXPECT_EQ(window.summary().minutes, 60);
  EXPECT_TRUE(rowTexts("IncomingTable").isEmpty());

  box->setCurrentIndex(box->findData(QStringLiteral("2026-12")));
  emit box->activated(box->currentIndex());
  EXPECT_EQ(window.summary().month, 12);
  EXPECT_EQ(window.summary().minutes, 51);
}

TEST_F(UsageWindowTest, CallsAreCopiedAndTheMonthIsSavedAsCsv) {
  window.reload();
  window.showMonth(2026, 12);
  window.copyIncoming();
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("2026-12-10 21:45:30\t不在\t0452223333\t山田商店\n"
                           "2026-12-11 08:05:00\t応答\t0399999999\t\n"));

  const QString path = dir.filePath("export.csv");
  ASSERT_TRUE(window.exportCsv(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // UTF-8 with its byte-order mark and CR LF line ends, as a spreadsheet
  // (a Japanese Excel) needs to show the names.
  QByteArray bytes = file.readAll();
  ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
  const QStringList lines =
      QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(lines[0], QStringLiteral("event,start,end,channel,destination,name,number,ip,minutes,result"));
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("outgoing,2026-12-03 21:00:00,")));
  EXPECT_TRUE(
      lines[3].startsWith(QStringLiteral("incoming,2026-12-10 21:45:30,,B1,,山田商店,0452223333,,0,missed")));
  EXPECT_FALSE(window.exportCsv(dir.filePath("no/such/folder/x.csv")));
}

// A journal that cannot be read is said, not shown as an empty month.
TEST_F(UsageWindowTest, AJournalThatCannotBeReadIsSaid) {
  ASSERT_TRUE(QFile::remove(dir.filePath("Tarvik-journal.csv")));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Tarvik-journal.csv")));  // a folder in its place
  window.reload();
  window.showMonth(2026, 12);
  auto* message = find<QLabel>("DamageLabel");
  EXPECT_FALSE(message->isHidden());
  EXPECT_EQ(message->text(), QStringLiteral("通話記録 Tarvik-journal.csv を読めません（同じ名前のフォルダーがあります）"));
}

// With TARVIK_USAGE_SCREENSHOT set, the window is photographed for a look:
// over the journal in TARVIK_USAGE_JOURNAL_DIR when given (one that a run
// against the simulator wrote), this month; else over the test's own.
TEST(UsageWindowLook, Screenshot) {
  const QString out = qEnvironmentVariable("TARVIK_USAGE_SCREENSHOT");
  if (out.isEmpty()) GTEST_SKIP() << "TARVIK_USAGE_SCREENSHOT not set";
  const QString journalDir = qEnvironmentVariable("TARVIK_USAGE_JOURNAL_DIR");
  if (journalDir.isEmpty()) GTEST_SKIP() << "TARVIK_USAGE_JOURNAL_DIR not set";
  UsageWindow window(journalDir.toStdString());
  window.openWindow();
  QApplication::processEvents();
  ASSERT_TRUE(window.grab().save(out));
}

}  // namespace
}  // namespace tarvik
