#include "qt/windows/usagewindow.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <set>

#include "engine/journal/axisscale.h"
#include "engine/journal/journalfile.h"
#include "engine/journal/journaltime.h"

namespace tarvik {
namespace {

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

QString monthKey(int year, int month) {
  return QStringLiteral("%1-%2").arg(year, 4, 10, QChar('0')).arg(month, 2, 10, QChar('0'));
}

QString timeText(const LocalTime& t) {
  return QStringLiteral("%1/%2 %3:%4").arg(t.month).arg(t.day).arg(t.hour).arg(t.minute, 2, 10, QChar('0'));
}

QString destinationText(const DestinationTotal& d) {
  QStringList parts;
  for (const std::string* p : {&d.destination, &d.name, &d.number})
    if (!p->empty()) parts << q(*p);
  return parts.isEmpty() ? QStringLiteral("(不明)") : parts.join(QChar(' '));
}

// The damaged lines the reading skipped, said in the window's language.
QString damageText(const JournalReading& reading) {
  if (reading.damaged == 0) return {};
  return QStringLiteral("通話記録の読めない行 %1 行を読み飛ばしました (最初の行: %2)")
      .arg(reading.damaged)
      .arg(q(reading.firstDamaged));
}

QString yenText(long long yen) { return QLocale(QLocale::Japanese).toString(yen) + QStringLiteral(" 円"); }

// The bars of one kind of minutes, in its colour.
QBarSet* barSet(const QString& label, QColor colour, const std::vector<int>& minutes) {
  auto* set = new QBarSet(label);
  set->setColor(colour);
  for (int m : minutes) *set << m;
  return set;
}

// A table that shows its header and at least `rows` rows however the
// window's height is shared out.
void keepRows(QTableWidget* t, int rows) {
  const int row = t->verticalHeader()->defaultSectionSize();
  t->setMinimumHeight(t->horizontalHeader()->sizeHint().height() + rows * row + 2 * t->frameWidth());
}

QTableWidget* table(const char* name, const QStringList& headers, QWidget* parent) {
  auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  t->setObjectName(QString::fromLatin1(name));
  t->setHorizontalHeaderLabels(headers);
  t->verticalHeader()->setVisible(false);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells, bool marked = false) {
  for (int c = 0; c < cells.size(); ++c) {
    auto* item = new QTableWidgetItem(cells[c]);
    if (marked) item->setForeground(QColor(0xC0, 0, 0));
    t->setItem(row, c, item);
  }
}

}  // namespace

UsageWindow::UsageWindow(std::filesystem::path configDir, QWidget* parent)
    : QWidget(parent, Qt::Window), configDir_(std::move(configDir)) {
  setObjectName(QStringLiteral("UsageWindow"));
  setWindowTitle(QStringLiteral("利用状況"));
  resize(820, 680);

  monthBox_ = new QComboBox(this);
  monthBox_->setObjectName(QStringLiteral("MonthBox"));
  auto* reloadButton = new QPushButton(QStringLiteral("再読込"), this);
  reloadButton->setObjectName(QStringLiteral("ReloadButton"));
  auto* copyButton = new QPushButton(QStringLiteral("着信一覧をコピー"), this);
  copyButton->setObjectName(QStringLiteral("CopyButton"));
  auto* exportButton = new QPushButton(QStringLiteral("CSVで保存..."), this);
  exportButton->setObjectName(QStringLiteral("ExportButton"));
  auto* top = new QHBoxLayout;
  stacked_ = new QCheckBox(QStringLiteral("従量・定額に分けて表示"), this);
  stacked_->setObjectName(QStringLiteral("StackedBox"));
  stacked_->setChecked(true);
  top->addWidget(new QLabel(QStringLiteral("月"), this));
  top->addWidget(monthBox_);
  top->addWidget(stacked_);
  top->addStretch();
  top->addWidget(reloadButton);
  top->addWidget(copyButton);
  top->addWidget(exportButton);

  chart_ = new QChart;
  chart_->legend()->setAlignment(Qt::AlignRight);
  chart_->setMargins(QMargins(4, 4, 4, 4));
  auto* chartView = new QChartView(chart_, this);
  chartView->setObjectName(QStringLiteral("DayChart"));
  chartView->setRenderHint(QPainter::Antialiasing);
  chartView->setMinimumHeight(200);

  totals_ = new QLabel(this);
  totals_->setObjectName(QStringLiteral("TotalsLabel"));
  cost_ = new QLabel(this);
  cost_->setObjectName(QStringLiteral("CostLabel"));
  damage_ = new QLabel(this);
  damage_->setObjectName(QStringLiteral("DamageLabel"));
  damage_->setStyleSheet(QStringLiteral("color: #a00;"));
  damage_->setWordWrap(true);
  destinations_ = table("DestinationTable",
                        {QStringLiteral("接続先"), QStringLiteral("回数"), QStringLiteral("分"),
                         QStringLiteral("従量(分)"), QStringLiteral("定額(分)"), QStringLiteral("料金概算")},
                        this);
  incoming_ = table(
      "IncomingTable",
      {QStringLiteral("日時"), QStringLiteral("結果"), QStringLiteral("番号"), QStringLiteral("名前")}, this);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(chartView, 3);
  layout->addWidget(totals_);
  layout->addWidget(cost_);
  layout->addWidget(damage_);
  layout->addWidget(new QLabel(QStringLiteral("接続先別"), this));
  layout->addWidget(destinations_, 2);
  layout->addWidget(new QLabel(QStringLiteral("着信 (不在着信は赤)"), this));
  layout->addWidget(incoming_, 2);
  // The lists keep room for a few rows when the message about damaged
  // lines takes its line; the chart gives way first.
  keepRows(destinations_, 3);
  keepRows(incoming_, 3);

  connect(monthBox_, &QComboBox::activated, this, [this](int index) {
    const QString key = monthBox_->itemData(index).toString();
    showMonth(key.left(4).toInt(), key.mid(5, 2).toInt());
  });
  connect(reloadButton, &QPushButton::clicked, this, [this] {
    reload();
    showMonth(year_, month_);
  });
  connect(copyButton, &QPushButton::clicked, this, &UsageWindow::copyIncoming);
  connect(stacked_, &QCheckBox::toggled, this, [this] { fillChart(); });
  connect(exportButton, &QPushButton::clicked, this, &UsageWindow::chooseExportFile);

  const QDate today = QDate::currentDate();
  year_ = today.year();
  month_ = today.month();
}

void UsageWindow::openWindow() {
  reload();
  showMonth(year_, month_);
  show();
  raise();
  activateWindow();
}

void UsageWindow::reload() {
  JournalReading reading = readJournal(configDir_);
  records_ = std::move(reading.records);
  damage_->setText(damageText(reading));
  damage_->setVisible(reading.damaged > 0);
  if (reading.readFailed()) {  // what was read is shown, but it is not the whole journal
    damage_->setText(QStringLiteral("通話記録 %1 を読めません（%2）")
                         .arg(q(reading.unreadable), q(journalErrorText(reading.readError))));
    damage_->setVisible(true);
  }
  std::set<QString> months;
  const QDate today = QDate::currentDate();
  months.insert(monthKey(today.year(), today.month()));
  for (const JournalRecord& r : records_) months.insert(monthKey(r.start.year, r.start.month));
  monthBox_->clear();
  for (auto it = months.rbegin(); it != months.rend(); ++it) monthBox_->addItem(*it, *it);
}

void UsageWindow::showMonth(int year, int month) {
  year_ = year;
  month_ = month;
  const QString key = monthKey(year, month);
  if (monthBox_->findData(key) < 0) monthBox_->addItem(key, key);
  monthBox_->setCurrentIndex(monthBox_->findData(key));
  summary_ = summarizeMonth(records_, year, month, tariffSource_ ? tariffSource_() : Tariff{});
  fillChart();
  fillTables();
}

void UsageWindow::fillChart() {
  chart_->removeAllSeries();
  for (QAbstractAxis* axis : chart_->axes()) {
    chart_->removeAxis(axis);
    delete axis;
  }
  QStringList days;
  std::vector<int> metered;
  for (std::size_t i = 0; i < summary_.minutesPerDay.size(); ++i) {
    metered.push_back(summary_.minutesPerDay[i] - summary_.flatMinutesPerDay[i]);
    // Every fifth day is numbered; the other categories are blanks of
    // different lengths, since each category needs a name of its own.
    const int day = static_cast<int>(i) + 1;
    days << (day == 1 || day % 5 == 0 ? QString::number(day) : QString(static_cast<int>(i), QChar(' ')));
  }
  QAbstractBarSeries* series = nullptr;
  if (stacked_->isChecked()) {
    series = new QStackedBarSeries;
    series->append(barSet(QStringLiteral("従量"), QColor(0x2a, 0x6f, 0xb0), metered));
    series->append(barSet(QStringLiteral("定額"), QColor(0x4c, 0xa6, 0x5a), summary_.flatMinutesPerDay));
  } else {
    series = new QBarSeries;
    series->append(barSet(QStringLiteral("分"), QColor(0x2a, 0x6f, 0xb0), summary_.minutesPerDay));
  }
  chart_->legend()->setVisible(stacked_->isChecked());
  series->setBarWidth(0.8);
  chart_->addSeries(series);
  auto* x = new QBarCategoryAxis;
  x->append(days);
  x->setLabelsFont(QFont(x->labelsFont().family(), 7));
  // Whole minutes on the scale, in round steps.
  const int most = *std::max_element(summary_.minutesPerDay.begin(), summary_.minutesPerDay.end());
  const AxisScale scale = roundAxisScale(most);
  auto* y = new QValueAxis;
  y->setRange(0, scale.top());
  y->setTickCount(scale.steps + 1);
  y->setLabelFormat(QStringLiteral("%d"));
  y->setTitleText(QStringLiteral("分"));
  chart_->addAxis(x, Qt::AlignBottom);
  chart_->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
  chart_->setTitle(QStringLiteral("%1年%2月 日別接続時間").arg(year_).arg(month_));
}

void UsageWindow::fillTables() {
  totals_->setText(QStringLiteral("合計 %1 分　接続 %2 回　失敗 %3 回　話中 %4 回　着信 %5 件 (不在 %6 件)")
                       .arg(summary_.minutes)
                       .arg(summary_.calls)
                       .arg(summary_.failed)
                       .arg(summary_.busy)
                       .arg(summary_.incoming.size())
                       .arg(summary_.missed));
  cost_->setText(QStringLiteral("従量 %1 分　定額 %2 分　料金概算 %3")
                     .arg(summary_.meteredMinutes())
                     .arg(summary_.flatMinutes)
                     .arg(yenText(summary_.yen)));
  destinations_->setRowCount(static_cast<int>(summary_.destinations.size()));
  int row = 0;
  for (const DestinationTotal& d : summary_.destinations) {
    setRow(destinations_, row++,
           {destinationText(d), QString::number(d.calls), QString::number(d.minutes),
            QString::number(d.meteredMinutes()), QString::number(d.flatMinutes), yenText(d.yen)});
  }
  incoming_->setRowCount(static_cast<int>(summary_.incoming.size()));
  row = 0;
  for (const JournalRecord& r : summary_.incoming) {
    setRow(incoming_, row++,
           {timeText(r.start), r.missed() ? QStringLiteral("不在") : QStringLiteral("応答"), q(r.number),
            q(r.name)},
           r.missed());
  }
  destinations_->resizeColumnsToContents();
  incoming_->resizeColumnsToContents();
}

// As in a dialog, Escape reaches the window when the control with the
// focus has no use for it; an open month list is a window of its own and
// closes itself (a window shortcut would close this window behind it).
void UsageWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

QString UsageWindow::incomingText() const {
  QString text;
  for (const JournalRecord& r : summary_.incoming) {
    text += QStringList{q(formatJournalTime(r.start)),
                        r.missed() ? QStringLiteral("不在") : QStringLiteral("応答"), q(r.number), q(r.name)}
                .join(QChar('\t')) +
            QChar('\n');
  }
  return text;
}

void UsageWindow::copyIncoming() const { QApplication::clipboard()->setText(incomingText()); }

bool UsageWindow::exportCsv(const QString& path) const {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  // The byte-order mark tells a spreadsheet the file is UTF-8.
  const std::string csv = std::string(kUtf8Bom) + monthCsv(records_, year_, month_);
  return file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
}

void UsageWindow::chooseExportFile() {
  const QString name = QStringLiteral("Tarvik-usage-%1.csv").arg(monthKey(year_, month_));
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("CSVで保存"), name, QStringLiteral("CSV (*.csv)"));
  if (!path.isEmpty()) exportCsv(path);
}

}  // namespace tarvik
