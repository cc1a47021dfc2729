#include "qt/desktop/mainwindow.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "desktop/screenfit.h"
#include "engine/core/enginecommands.h"
#include "qt/desktop/elidedlabel.h"
#include "qt/windows/fonts.h"
#include "qt/windows/messageboxes.h"
#include "qt/windows/programfiles.h"

namespace tarvik {
namespace {

const QColor kStripBlack(0, 0, 0);
const QColor kStripDay(0, 0, 255);
const QColor kStripNight(0, 128, 0);
const QColor kWarningRed(255, 0, 0);

void fill(QWidget* w, const QColor& colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, colour);
  w->setPalette(pal);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->move(x, y);
  l->adjustSize();
  return l;
}

ElidedLabel* elidedLabel(QWidget* parent, const char* name, const QString& text) {
  auto* l = new ElidedLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setFullText(text);
  return l;
}

QLineEdit* makeChannelBox(QWidget* parent, const char* name, int y) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setGeometry(19, y, 112, 20);
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::ClickFocus);           // no tab stop
  e->setContextMenuPolicy(Qt::NoContextMenu);  // the window's menu instead
  e->setFont(proportionalFont(12));
  e->setTextMargins(0, 0, 0, 0);
  QPalette pal = e->palette();
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
    pal.setColor(g, QPalette::Base, Qt::black);
    pal.setColor(g, QPalette::Text, Qt::yellow);
  }
  pal.setColor(QPalette::Disabled, QPalette::Base, Qt::black);
  pal.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
  e->setPalette(pal);
  return e;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int x) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(x, 66, 41, 25);
  b->setAutoDefault(true);  // a focused button takes Enter itself
  return b;
}

}  // namespace

MainWindow::MainWindow(EngineCommands& core, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      core_(core) {
  setObjectName(QStringLiteral("TForm1"));
  setWindowTitle(QStringLiteral("Tarvik"));
  setFont(proportionalFont(12));
  buildControls();
  buildMenus();
  // Fixed client area under the menu bar.
  menuBar()->setFixedWidth(kClientWidth);
  setFixedSize(kClientWidth, menuBar()->heightForWidth(kClientWidth) > 0
                                 ? menuBar()->heightForWidth(kClientWidth) + kClientHeight
                                 : menuBar()->sizeHint().height() + kClientHeight);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { popup1_->popup(mapToGlobal(pos)); });
  connectBtn_->setFocus();
}

void MainWindow::buildControls() {
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("Client"));
  client_->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client_);

  panel1_ = new QFrame(client_);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setGeometry(0, 1, 137, 65);
  panel1_->setFrameShape(QFrame::Panel);
  panel1_->setFrameShadow(QFrame::Raised);
  panel1_->setAutoFillBackground(true);
  setPanelColour(PanelColour::Normal);

  // Japanese fonts with tall line boxes would reach into the strip below:
  // the text sits on the bottom of a box that ends above the strip.
  label1_ = elidedLabel(panel1_, "Label1", QStringLiteral("接続先"));
  label1_->setGeometry(8, 0, 124, 15);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);

  panel2_ = new QFrame(panel1_);
  panel2_->setObjectName(QStringLiteral("Panel2"));
  panel2_->setGeometry(5, 15, 126, 4);
  panel2_->setAutoFillBackground(true);
  fill(panel2_, kStripBlack);

  label2_ = label(panel1_, "Label2", QStringLiteral("B1"), 4, 22);
  edit1_ = makeChannelBox(panel1_, "Edit1", 20);
  label3_ = label(panel1_, "Label3", QStringLiteral("B2"), 4, 43);
  edit2_ = makeChannelBox(panel1_, "Edit2", 41);

  nameDisplay_ = elidedLabel(panel1_, "Label_NameDisplay", QStringLiteral("着信"));
  QFont nameFont = proportionalFont(16);
  nameFont.setBold(true);
  nameFont.setUnderline(true);
  nameDisplay_->setFont(nameFont);
  QPalette namePal = nameDisplay_->palette();
  namePal.setColor(QPalette::WindowText, Qt::black);
  nameDisplay_->setPalette(namePal);
  // Tall enough for the 16-pixel line with its underline.
  nameDisplay_->setGeometry(8, 22, 124, QFontMetrics(nameFont).height() + 1);
  nameDisplay_->hide();

  connectBtn_ = button(client_, "ConnectBtn", "接続", 3);
  discBtn_ = button(client_, "DiscBtn", "切断", 45);
  button3_ = button(client_, "Button3", "詳細", 90);
  button3_->setDefault(true);

  // The status line keeps the window's width; a longer text is cut with
  // an ellipsis and shown whole in the tooltip. A font with a tall line box
  // moves it up, so that its descenders stay inside the window.
  label4_ = elidedLabel(client_, "Label4", QString());
  const int statusHeight = QFontMetrics(label4_->font()).height();
  label4_->setGeometry(8, std::min(93, kClientHeight - statusHeight), kClientWidth - 8 - 2, statusHeight);

  for (QWidget* w :
       {static_cast<QWidget*>(label1_), static_cast<QWidget*>(label2_), static_cast<QWidget*>(label3_),
        static_cast<QWidget*>(edit1_), static_cast<QWidget*>(edit2_)}) {
    w->installEventFilter(this);
  }
  connect(connectBtn_, &QPushButton::clicked, this, [this] { core_.ConnectBtnClick(); });
  connect(discBtn_, &QPushButton::clicked, this, [this] { core_.DiscBtnClick(); });
  connect(button3_, &QPushButton::clicked, this, &MainWindow::detailsRequested);
}

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  addItems(nullptr, mainMenuItems());

  popup1_ = new QMenu(this);
  popup1_->setObjectName(QStringLiteral("PopupMenu1"));
  addItems(popup1_, popupMenu1Items());

  popup2_ = new QMenu(this);
  popup2_->setObjectName(QStringLiteral("PopupMenu2"));
  addItems(popup2_, popupMenu2Items());
}

// menu == nullptr: the items are the main menu's top-level submenus.
void MainWindow::addItems(QMenu* menu, std::span<const MenuItem> items) {
  for (const MenuItem& item : items) {
    const QString name = QString::fromLatin1(item.name);
    const QString caption = QString::fromUtf8(item.caption);
    if (item.act == MenuAct::Submenu) {
      QMenu* sub = menu ? menu->addMenu(caption) : menuBar()->addMenu(caption);
      sub->setObjectName(name);
      sub->menuAction()->setObjectName(name);
      addItems(sub, item.children);
    } else if (item.act == MenuAct::Separator) {
      menu->addSeparator()->setObjectName(name);
    } else {
      makeAction(menu, item);
    }
  }
}

QAction* MainWindow::makeAction(QMenu* menu, const MenuItem& item) {
  QAction* action = menu->addAction(QString::fromUtf8(item.caption));
  action->setObjectName(QString::fromLatin1(item.name));
  action->setData(item.value);
  switch (item.act) {
    case MenuAct::Destination: {
      auto& count = destinationActionCount_.at(item.value);
      destinationActions_.at(item.value).at(count++) = action;
      break;
    }
    case MenuAct::Help:
      action->setShortcut(QKeySequence(Qt::Key_F1));
      action->setShortcutContext(Qt::WindowShortcut);
      break;
    case MenuAct::Jigen:
      jigen_ = action;
      action->setCheckable(true);
      action->setChecked(core_.jigenChecked());
      break;
    default:
      break;
  }
  if (item.isDefault) {
    menu->setDefaultAction(action);
    QFont bold = action->font();
    bold.setBold(true);
    action->setFont(bold);
  }
  // The rows are constant tables: the item outlives the action.
  const MenuItem* row = &item;
  connect(action, &QAction::triggered, this, [this, row] { presenter_.run(*row); });
  return action;
}

void MainWindow::setStayOnTop(bool onTop) { setWindowFlag(Qt::WindowStaysOnTopHint, onTop); }

void MainWindow::keepReachable() {
  std::vector<app::ScreenRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    screens.push_back({g.x(), g.y(), g.width(), g.height()});
  }
  const QRect frame = frameGeometry();
  const app::ScreenPoint to =
      app::fitOnScreens({frame.x(), frame.y(), frame.width(), frame.height()}, screens);
  if (to.left != frame.x() || to.top != frame.y()) move(to.left, to.top);
}

void MainWindow::restoreWindow(bool activate) {
  showNormal();
  if (activate) bringToFront();
}

void MainWindow::openDetails() { button3_->click(); }

void MainWindow::bringToFront() {
  raise();
  activateWindow();
}

void MainWindow::setTimeSwitchCaption(const std::string& caption) {
  jigen_->setText(QString::fromStdString(caption));
}

void MainWindow::setTimeSwitchChecked(bool checked) { jigen_->setChecked(checked); }

void MainWindow::placeDetails(const desktop::WindowGeometry& g) {
  emit detailsPlacementLoaded(QRect(g.left, g.top, g.width, g.height));
}

std::string MainWindow::manualPath() const { return findProgramFile(manualName()).toStdString(); }

// The box belongs to no window, so it opens wherever the main window is.
void MainWindow::showError(const std::string& text) { showErrorBox(nullptr, QString::fromStdString(text)); }

bool MainWindow::setStatusLine(const QString& text) { return label4_->setFullText(text); }

void MainWindow::setChannelText(Channel ch, const QString& text) {
  QLineEdit* box = channelBox(ch);
  box->setText(text);
  box->setCursorPosition(0);
}

void MainWindow::setDestinationLabel(const QString& text) { label1_->setFullText(text); }

void MainWindow::showCallerName(const QString& name, const QString& number) {
  nameDisplay_->setFullText(name);
  nameDisplay_->show();
  nameDisplay_->raise();
  label2_->hide();
  edit1_->hide();
  edit2_->hide();
  label3_->setText(QStringLiteral("   ") + number);
  label3_->adjustSize();
}

void MainWindow::clearCallerName() {
  nameDisplay_->hide();
  label2_->show();
  label3_->setText(QStringLiteral("B2"));
  label3_->adjustSize();
  edit1_->show();
  edit2_->show();
  nameDisplay_->setFullText(QStringLiteral("着信"));
}

void MainWindow::setDestinationCaption(int index, const QString& caption) {
  if (index < 0 || index >= static_cast<int>(destinationActions_.size())) return;
  for (QAction* action : destinationActions_[index]) {
    if (action) action->setText(caption);
  }
}

void MainWindow::setConnectHint(const QString& text) { connectBtn_->setToolTip(text); }

void MainWindow::setPanelColour(PanelColour colour) {
  fill(panel1_, colour == PanelColour::Red ? kWarningRed : palette().color(QPalette::Button));
}

void MainWindow::setStrip(StripColour colour) {
  fill(panel2_, colour == StripColour::Day ? kStripDay : kStripNight);
}

void MainWindow::setJigenCaption(const QString& caption) { jigen_->setText(caption); }

void MainWindow::setMonitoringOff(bool off) {
  edit1_->setEnabled(!off);
  edit2_->setEnabled(!off);
}

void MainWindow::copyToClipboard(Channel ch, const QString& text) {
  QLineEdit* box = channelBox(ch);
  box->setText(text);
  box->selectAll();
  // QLineEdit::copy() refuses an empty selection; the clipboard still gets
  // the (empty) address, as the box shows it.
  QGuiApplication::clipboard()->setText(box->selectedText());
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  const bool wasMinimised = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized;
  if (isMinimized() != wasMinimised) emit minimisedChanged(isMinimized());
}

WindowPlacement MainWindow::takeWindowState() {
  WindowPlacement placement = presenter_.windowState();
  if (writeWindowState_) writeWindowState_(placement);
  return placement;
}

void MainWindow::endSession() {
  if (ended_) return;
  ended_ = true;
  core_.EndSession(takeWindowState());
  emit closed();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  if (core_.FormCloseQuery(takeWindowState())) {
    core_.FormClose();
    event->accept();
    emit closed();
  } else {
    event->ignore();
  }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    button3_->click();  // the default button
    event->accept();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  presenter_.K4Click();
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == label1_) {
      presenter_.Label1Click();
    } else if (watched == label2_ || watched == edit1_) {
      core_.Edit1Click();
    } else if (watched == label3_ || watched == edit2_) {
      core_.Edit2Click();
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace tarvik
