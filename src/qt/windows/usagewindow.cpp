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
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedBarSeries>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include "desktop/screenfit.h"

namespace tarvik {
namespace {

using desktop::UsagePresenter;
using desktop::UsageTexts;

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

QStringList qList(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& t : texts) list << q(t);
  return list;
}

QColor qColour(desktop::UsageColour c) { return QColor(c.red, c.green, c.blue); }

desktop::YearMonth thisMonth() {
  const QDate today = QDate::currentDate();
  return {today.year(), today.month()};
}

// The bars of one kind of minutes, in its colour.
QBarSet* barSet(const char* label, desktop::UsageColour colour, const std::vector<int>& minutes) {
  auto* set = new QBarSet(q(label));
  set->setColor(qColour(colour));
  for (int m : minutes) *set << m;
  return set;
}

// A table that shows its header and at least `rows` rows however the
// window's height is shared out.
void keepRows(QTableWidget* t, int rows) {
  const int row = t->verticalHeader()->defaultSectionSize();
  t->setMinimumHeight(t->horizontalHeader()->sizeHint().height() + rows * row + 2 * t->frameWidth());
}

QTableWidget* table(const char* name, const std::vector<std::string>& headers, QWidget* parent) {
  auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  t->setObjectName(QString::fromLatin1(name));
  t->setHorizontalHeaderLabels(qList(headers));
  t->verticalHeader()->setVisible(false);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

void fillTable(QTableWidget* t, const std::vector<desktop::UsageRow>& rows) {
  t->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < t->rowCount(); ++r) {
    const desktop::UsageRow& row = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
      auto* item = new QTableWidgetItem(q(row.cells[static_cast<std::size_t>(c)]));
      if (row.missed) item->setForeground(qColour(desktop::kMissedColour));
      t->setItem(r, c, item);
    }
  }
  t->resizeColumnsToContents();
}

// The frame the window manager puts round the window: the window's own once
// it has been shown, else that of another window of the program that shows
// one, else a title bar and borders as the style draws them.
// A window's frame as the window system has it now (none before it is
// framed).
QMargins frameOf(const QWidget* w) {
  const QRect frame = w->frameGeometry(), inner = w->geometry();
  return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                  frame.bottom() - inner.bottom());
}

QMargins expectedFrame(const QWidget* window) {
  if (!frameOf(window).isNull()) return frameOf(window);
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other->isVisible() && !frameOf(other).isNull()) return frameOf(other);
  }
  const int border = window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  return QMargins(border, border + window->style()->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
}

}  // namespace

UsageWindow::UsageWindow(std::filesystem::path configDir, QWidget* parent)
    : QWidget(parent, Qt::Window), presenter_(std::move(configDir)), shown_(thisMonth()) {
  setObjectName(QStringLiteral("UsageWindow"));
  setWindowTitle(q(UsageTexts::title));
  resize(kPreferredSize);

  // Everything lies on one page in a scroll area: on a work area smaller
  // than the page's least size the window still fits, and what does not
  // fit scrolls instead of lying past the screen's edge.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("UsageScroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  auto* page = new QWidget(scroll);
  page->setObjectName(QStringLiteral("UsagePage"));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);

  monthBox_ = new QComboBox(page);
  monthBox_->setObjectName(QStringLiteral("MonthBox"));
  auto* reloadButton = new QPushButton(q(UsageTexts::reload), page);
  reloadButton->setObjectName(QStringLiteral("ReloadButton"));
  auto* copyButton = new QPushButton(q(UsageTexts::copy), page);
  copyButton->setObjectName(QStringLiteral("CopyButton"));
  auto* exportButton = new QPushButton(q(UsageTexts::save), page);
  exportButton->setObjectName(QStringLiteral("ExportButton"));
  auto* top = new QHBoxLayout;
  stacked_ = new QCheckBox(q(UsageTexts::stacked), page);
  stacked_->setObjectName(QStringLiteral("StackedBox"));
  stacked_->setChecked(true);
  top->addWidget(new QLabel(q(UsageTexts::monthLabel), page));
  top->addWidget(monthBox_);
  top->addWidget(stacked_);
  top->addStretch();
  top->addWidget(reloadButton);
  top->addWidget(copyButton);
  top->addWidget(exportButton);

  chart_ = new QChart;
  chart_->legend()->setAlignment(Qt::AlignRight);
  chart_->setMargins(QMargins(4, 4, 4, 4));
  auto* chartView = new QChartView(chart_, page);
  chartView->setObjectName(QStringLiteral("DayChart"));
  chartView->setRenderHint(QPainter::Antialiasing);
  chartView->setMinimumHeight(200);

  totals_ = new QLabel(page);
  totals_->setObjectName(QStringLiteral("TotalsLabel"));
  cost_ = new QLabel(page);
  cost_->setObjectName(QStringLiteral("CostLabel"));
  damage_ = new QLabel(page);
  damage_->setObjectName(QStringLiteral("DamageLabel"));
  damage_->setStyleSheet(QStringLiteral("color: %1;").arg(qColour(desktop::kMessageColour).name()));
  damage_->setWordWrap(true);
  destinations_ = table("DestinationTable", UsagePresenter::destinationHeaders(), page);
  incoming_ = table("IncomingTable", UsagePresenter::incomingHeaders(), page);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  // What went wrong with the reading stands above all that was read.
  layout->addWidget(damage_);
  layout->addWidget(chartView, 3);
  layout->addWidget(totals_);
  layout->addWidget(cost_);
  layout->addWidget(new QLabel(q(UsageTexts::destinationsCaption), page));
  layout->addWidget(destinations_, 2);
  layout->addWidget(new QLabel(q(UsageTexts::incomingCaption), page));
  layout->addWidget(incoming_, 2);
  // The lists keep room for a few rows when the message about damaged
  // lines takes its line; the chart gives way first.
  keepRows(destinations_, 3);
  keepRows(incoming_, 3);
  scroll->setWidget(page);

  connect(monthBox_, &QComboBox::activated, this, [this](int index) {
    const QString key = monthBox_->itemData(index).toString();
    showMonth(key.left(4).toInt(), key.mid(5, 2).toInt());
  });
  connect(reloadButton, &QPushButton::clicked, this, [this] {
    reload();
    showMonth(shown_.year, shown_.month);
  });
  connect(copyButton, &QPushButton::clicked, this, &UsageWindow::copyIncoming);
  connect(stacked_, &QCheckBox::toggled, this, [this] { fillChart(); });
  connect(exportButton, &QPushButton::clicked, this, &UsageWindow::chooseExportFile);
}

void UsageWindow::openWindow() {
  reload();
  showMonth(shown_.year, shown_.month);
  const bool opening = !isVisible();
  if (opening) placeOnScreen();
  show();
  // Where the window system frames the window at once, its real frame may
  // differ from the one expected; a window manager that frames it later
  // places it itself, and a second move now would race its placing.
  if (opening && !frameOf(this).isNull()) placeOnScreen();
  raise();
  activateWindow();
}

// The first time centred on the work area of its screen at its preferred
// size, later where it was; never larger than the work area nor past its
// edges (the screen may have changed while the window was closed).
void UsageWindow::placeOnScreen() {
  const QScreen* on = screen();
  if (!on) return;
  const QRect area = on->availableGeometry();
  const app::ScreenRect work{area.x(), area.y(), area.width(), area.height()};
  const QMargins frame = expectedFrame(this);
  const int frameWidth = frame.left() + frame.right(), frameHeight = frame.top() + frame.bottom();
  const app::ScreenRect placed =
      placed_ ? app::keptWithin({pos().x(), pos().y(), width() + frameWidth, height() + frameHeight}, work)
              : app::centredWithin(kPreferredSize.width() + frameWidth, kPreferredSize.height() + frameHeight,
                                   work);
  placed_ = true;
  resize(placed.width - frameWidth, placed.height - frameHeight);
  move(placed.left, placed.top);  // a window's position is its frame's
}

void UsageWindow::reload() {
  presenter_.reload(thisMonth());
  damage_->setText(q(presenter_.message()));
  damage_->setVisible(!presenter_.message().empty());
  fillMonths();
}

void UsageWindow::showMonth(int year, int month) {
  shown_ = {year, month};
  presenter_.showMonth(shown_, tariffSource_ ? tariffSource_() : Tariff{});
  fillMonths();
  fillChart();
  fillTables();
}

// The list is made again only when the offer changed: showMonth() also
// answers the list's own choice.
void UsageWindow::fillMonths() {
  QStringList keys;
  for (const desktop::YearMonth& m : presenter_.months()) keys << q(m.key());
  QStringList shown;
  for (int i = 0; i < monthBox_->count(); ++i) shown << monthBox_->itemData(i).toString();
  if (shown != keys) {
    monthBox_->clear();
    for (const QString& key : keys) monthBox_->addItem(key, key);
  }
  monthBox_->setCurrentIndex(monthBox_->findData(q(shown_.key())));
}

void UsageWindow::fillChart() {
  chart_->removeAllSeries();
  for (QAbstractAxis* axis : chart_->axes()) {
    chart_->removeAxis(axis);
    delete axis;
  }
  const desktop::UsageMonthView& view = presenter_.view();
  // Each category needs a name of its own: the unnumbered days are blanks
  // of different lengths.
  QStringList days;
  for (std::size_t i = 0; i < view.dayLabels.size(); ++i)
    days << (view.dayLabels[i].empty() ? QString(static_cast<int>(i), QChar(' ')) : q(view.dayLabels[i]));
  QAbstractBarSeries* series = nullptr;
  if (stacked_->isChecked()) {
    series = new QStackedBarSeries;
    series->append(barSet(UsageTexts::meteredSeries, desktop::kMeteredColour, view.metered));
    series->append(barSet(UsageTexts::flatSeries, desktop::kFlatColour, view.flat));
  } else {
    series = new QBarSeries;
    series->append(barSet(UsageTexts::singleSeries, desktop::kMeteredColour, view.minutes));
  }
  chart_->legend()->setVisible(stacked_->isChecked());
  series->setBarWidth(0.8);
  chart_->addSeries(series);
  auto* x = new QBarCategoryAxis;
  x->append(days);
  x->setLabelsFont(QFont(x->labelsFont().family(), 7));
  auto* y = new QValueAxis;
  y->setRange(0, view.scale.top());
  y->setTickCount(view.scale.steps + 1);
  y->setLabelFormat(QStringLiteral("%d"));
  y->setTitleText(q(UsageTexts::minuteAxis));
  chart_->addAxis(x, Qt::AlignBottom);
  chart_->addAxis(y, Qt::AlignLeft);
  series->attachAxis(x);
  series->attachAxis(y);
  chart_->setTitle(q(view.chartTitle));
}

void UsageWindow::fillTables() {
  const desktop::UsageMonthView& view = presenter_.view();
  totals_->setText(q(view.totals));
  cost_->setText(q(view.cost));
  fillTable(destinations_, view.destinations);
  fillTable(incoming_, view.incoming);
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

QString UsageWindow::incomingText() const { return q(presenter_.incomingText()); }

void UsageWindow::copyIncoming() const { QApplication::clipboard()->setText(incomingText()); }

bool UsageWindow::exportCsv(const QString& path) const { return presenter_.saveCsv(path.toStdU16String()); }

void UsageWindow::chooseExportFile() {
  const QString path =
      QFileDialog::getSaveFileName(this, q(UsageTexts::saveTitle), q(presenter_.csvFileName()),
                                   q(UsageTexts::csvFilter) + QStringLiteral(" (*.csv)"));
  if (!path.isEmpty()) exportCsv(path);
}

}  // namespace tarvik
