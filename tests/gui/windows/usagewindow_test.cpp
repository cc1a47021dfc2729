// The usage window over a journal written for the test: the month's chart,
// totals, destinations and calls; copying the calls and saving the month.

#include "qt/windows/usagewindow.h"

#include <gtest/gtest.h>

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include "engine/journal/journalfile.h"
#include "engine/settings/settingsfiles.h"
#include "fakes/journalrecords.h"
#include "support/layoutrules.h"

namespace tarvik {
namespace {

class UsageWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_FALSE(test::writeSampleJournal(dir.path().toStdString()));
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

  find<QCheckBox>("StackedBox")->setChecked(false);
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
  // Without a tariff the defaults hold, and no destination has the flat
  // rate: 38 minutes are 13 units, 12½ minutes 5.
  EXPECT_EQ(find<QLabel>("CostLabel")->text(), QStringLiteral("従量 51 分　定額 0 分　料金概算 180 円"));
  EXPECT_EQ(rowTexts("DestinationTable"),
            QStringList{QStringLiteral("#0 Tarvik ISP 0312345678|2|51|51|0|180 円")});
  EXPECT_EQ(rowTexts("IncomingTable"), (QStringList{QStringLiteral("12/10 21:45|不在|0452223333|山田商店"),
                                                    QStringLiteral("12/11 8:05|応答|0399999999|")}));
  auto* missed = find<QTableWidget>("IncomingTable")->item(0, 1);
  auto* answered = find<QTableWidget>("IncomingTable")->item(1, 1);
  EXPECT_NE(missed->foreground().color(), answered->foreground().color()) << "missed calls stand out";

  // The damaged line is told in the window's language, and the lists keep
  // their rows beside the message.
  auto* damage = find<QLabel>("DamageLabel");
  EXPECT_EQ(damage->text(),
            QStringLiteral("通話記録の読めない行 1 行を読み飛ばしました (最初の行: Tarvik-journal.csv:7)"));

  // Shown at its own size: the totals line and every button whole, inside
  // the window, nothing over anything else.
  window.show();
  QApplication::processEvents();
  EXPECT_TRUE(damage->isVisible());
  test::expectTidyLayout(&window);
  for (const char* name : {"DestinationTable", "IncomingTable"}) {
    auto* t = find<QTableWidget>(name);
    EXPECT_GE(t->viewport()->height(), 3 * t->verticalHeader()->defaultSectionSize())
        << name << " shows 3 rows";
  }
}

// The cost follows the tariff: with #0 on the flat rate from 21:00 the
// evening call is free; the morning call's 12½ minutes are 5 units.
TEST_F(UsageWindowTest, MeteredAndFlatMinutesAreStackedAndTheCostShown) {
  window.setTariffSource([] {
    SettingsStore settings;
    settings.tariff.FLATFROM = 21;
    settings.tariff.FLATDEST = "0";
    return tariffOf(settings);
  });
  window.reload();
  window.showMonth(2026, 12);
  EXPECT_EQ(find<QLabel>("CostLabel")->text(), QStringLiteral("従量 13 分　定額 38 分　料金概算 50 円"));
  EXPECT_EQ(rowTexts("DestinationTable"),
            QStringList{QStringLiteral("#0 Tarvik ISP 0312345678|2|51|13|38|50 円")});

  auto* chart = find<QChartView>("DayChart")->chart();
  ASSERT_EQ(chart->series().size(), 1);
  auto* stacked = qobject_cast<QStackedBarSeries*>(chart->series().first());
  ASSERT_NE(stacked, nullptr) << "stacked at first";
  ASSERT_EQ(stacked->barSets().size(), 2);
  QBarSet* metered = stacked->barSets()[0];
  QBarSet* flat = stacked->barSets()[1];
  EXPECT_EQ(metered->label(), QStringLiteral("従量"));
  EXPECT_EQ(flat->label(), QStringLiteral("定額"));
  EXPECT_EQ(metered->at(2), 0);
  EXPECT_EQ(flat->at(2), 38);
  EXPECT_EQ(metered->at(9), 13);
  EXPECT_EQ(flat->at(9), 0);
  EXPECT_TRUE(chart->legend()->isVisible());

  find<QCheckBox>("StackedBox")->setChecked(false);
  ASSERT_EQ(chart->series().size(), 1);
  auto* single = qobject_cast<QBarSeries*>(chart->series().first());
  ASSERT_NE(single, nullptr) << "one bar a day";
  EXPECT_EQ(single->barSets().first()->at(2), 38);
  EXPECT_FALSE(chart->legend()->isVisible());
}

// The value axis counts in round steps: 38 minutes on the longest day
// make steps of 10 up to 40.
TEST_F(UsageWindowTest, TheMinuteAxisHasRoundSteps) {
  window.reload();
  window.showMonth(2026, 12);
  auto* chart = find<QChartView>("DayChart")->chart();
  const auto axes = chart->axes(Qt::Vertical);
  ASSERT_EQ(axes.size(), 1);
  auto* y = qobject_cast<QValueAxis*>(axes.first());
  ASSERT_NE(y, nullptr);
  EXPECT_EQ(y->min(), 0);
  EXPECT_EQ(y->max(), 40);
  EXPECT_EQ(y->tickCount(), 5);
  window.showMonth(2026, 11);  // 60 minutes: 0, 20, 40, 60
  y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
  EXPECT_EQ(y->max(), 60);
  EXPECT_EQ(y->tickCount(), 4);
}

// Escape on the open month list closes the list and leaves the window;
// Escape on the window itself closes it.
TEST_F(UsageWindowTest, EscapeOnTheOpenMonthListClosesOnlyTheList) {
  window.openWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* box = find<QComboBox>("MonthBox");
  box->setFocus();
  box->showPopup();
  QWidget* popup = box->view()->window();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
  ASSERT_NE(popup->windowHandle(), nullptr);
  QTest::keyClick(popup->windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !popup->isVisible(); })) << "the list closes";
  EXPECT_TRUE(window.isVisible()) << "the window stays";

  // Elsewhere Escape closes the window, whichever control has the focus.
  for (QWidget* focus :
       {static_cast<QWidget*>(box), static_cast<QWidget*>(find<QTableWidget>("IncomingTable")),
        static_cast<QWidget*>(find<QPushButton>("ReloadButton"))}) {
    window.openWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    focus->setFocus();
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); })) << focus->objectName().toStdString();
  }
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
  const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(lines[0], QStringLiteral("event,start,end,channel,destination,name,number,ip,minutes,result"));
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("outgoing,2026-12-03 21:00:00,")));
  EXPECT_TRUE(
      lines[3].startsWith(QStringLiteral("incoming,2026-12-10 21:45:30,,B1,,山田商店,0452223333,,0,missed")));
  EXPECT_FALSE(window.exportCsv(dir.filePath("no/such/folder/x.csv")));
  // It holds the journal's telephone numbers: for its owner's eyes only.
  EXPECT_EQ(QFile(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
            QFileDevice::Permissions());
}

// A journal that cannot be read is said, not shown as an empty month: the
// message stands above the chart and the totals, what could be read.
TEST_F(UsageWindowTest, AJournalThatCannotBeReadIsSaidAboveWhatWasRead) {
  ASSERT_TRUE(QFile::remove(dir.filePath("Tarvik-journal.csv")));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Tarvik-journal.csv")));  // a folder in its place
  window.openWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  auto* message = find<QLabel>("DamageLabel");
  EXPECT_FALSE(message->isHidden());
  EXPECT_EQ(message->text(),
            QStringLiteral("通話記録 Tarvik-journal.csv を読めません（同じ名前のフォルダーがあります）"));
  const int messageBottom = message->mapTo(&window, QPoint(0, message->height())).y();
  for (const char* below : {"DayChart", "TotalsLabel", "CostLabel"}) {
    auto* w = find<QWidget>(below);
    EXPECT_LE(messageBottom, w->mapTo(&window, QPoint(0, 0)).y()) << "the message stands above " << below;
  }
}

// Opened on a screen smaller than its size (the offscreen screen is 800 by
// 800 pixels: at 150 and 200 % that is 533 and 400 square in the window's
// units), the window lies inside the work area; what does not fit scrolls,
// every control keeping its room and none over another.
TEST_F(UsageWindowTest, OpensInsideTheWorkAreaAndScrollsWhatDoesNotFit) {
  window.openWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QRect area = window.screen()->availableGeometry();
  const QRect frame = window.frameGeometry();
  EXPECT_TRUE(area.contains(frame)) << "the frame " << frame.x() << "," << frame.y() << " " << frame.width()
                                    << "x" << frame.height() << " lies past the work area " << area.width()
                                    << "x" << area.height();

  auto* scroll = find<QScrollArea>("UsageScroll");
  ASSERT_NE(scroll, nullptr);
  QWidget* page = scroll->widget();
  const QSize least = page->minimumSizeHint();
  EXPECT_GE(page->width(), least.width());
  EXPECT_GE(page->height(), least.height());
  test::expectTidyLayout(page);
  for (const char* name : {"DestinationTable", "IncomingTable"}) {
    auto* t = find<QTableWidget>(name);
    EXPECT_GE(t->viewport()->height(), 3 * t->verticalHeader()->defaultSectionSize())
        << name << " shows 3 rows";
  }
  // Scrolled to the end, the last list's bottom right corner comes into
  // sight, and all of its height.
  scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
  scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
  auto* last = find<QTableWidget>("IncomingTable");
  const QRect seen(last->mapTo(scroll->viewport(), QPoint(0, 0)), last->size());
  const QRect view = scroll->viewport()->rect();
  EXPECT_TRUE(view.contains(seen.bottomRight()) && seen.top() >= view.top())
      << "the incoming calls can be scrolled into sight";

  // Opened again after the screen shrank: it keeps inside the new work area.
  window.close();
  window.resize(2 * area.width(), 2 * area.height());
  window.openWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_TRUE(area.contains(window.frameGeometry())) << "opened again";
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
  // The tariff of the Tarvik.ini beside the journal, as the program reads it.
  SettingsStore settings;
  SettingsFiles(journalDir.toStdString()).loadAll(settings);
  window.setTariffSource([settings] { return tariffOf(settings); });
  window.openWindow();
  QApplication::processEvents();
  ASSERT_TRUE(window.grab().save(out));
}

}  // namespace
}  // namespace tarvik
