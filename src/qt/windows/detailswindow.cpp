#include "qt/windows/detailswindow.h"

#include <QFontMetrics>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/core/enginecommands.h"
#include "qt/windows/fonts.h"

namespace tarvik {
namespace {

struct ReportButtonRow {
  const char* objectName;
  const char* caption;
  ReportButton button;
  bool fixedPitch;  // the four report buttons use the fixed-pitch font
};

constexpr ReportButtonRow kButtons[] = {
    {"Button1", "課金情報", ReportButton::Charges, true},
    {"Button2", "接続ログ", ReportButton::ConnectionLog, true},
    {"Button3", "PPP情報", ReportButton::Ppp, true},
    {"Button4", "アナログ情報", ReportButton::Analog, true},
    {"Mail_Button", "メール情報", ReportButton::Mail, false},
    {"PHS_Button", "PHSメール", ReportButton::PhsMail, false},
};

constexpr int kBarHeight = 37;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 5;
// Room on each side of a caption, so no caption touches its button's edges.
constexpr int kCaptionMargin = 8;

// The designed width, or wider when the caption needs it in the font used.
int buttonWidth(const QPushButton& button) {
  const int caption = QFontMetrics(button.font()).horizontalAdvance(button.text());
  return std::max(kButtonWidth, caption + 2 * kCaptionMargin);
}
// A transcript that runs for weeks must not grow without end.
constexpr int kMaxLines = 20000;

}  // namespace

DetailsWindow::DetailsWindow(EngineCommands& core, QWidget* parent) : QWidget(parent, Qt::Window), core_(core) {
  setObjectName(QStringLiteral("TForm5"));
  setWindowTitle(QStringLiteral("Tarvik - 詳細"));
  setFont(proportionalFont(12));

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setFont(fixedFont(12));
  memo_->setReadOnly(true);  // the user may select and copy, never type
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setMaximumBlockCount(kMaxLines);

  bar_ = new QFrame(this);
  bar_->setObjectName(QStringLiteral("Panel1"));
  bar_->setFrameShape(QFrame::Panel);
  bar_->setFrameShadow(QFrame::Sunken);
  bar_->setFixedHeight(kBarHeight);

  int left = 8;
  for (const ReportButtonRow& row : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(row.caption), bar_);
    button->setObjectName(QString::fromLatin1(row.objectName));
    button->setAutoDefault(false);
    if (row.fixedPitch) button->setFont(fixedFont(12));
    const int width = buttonWidth(*button);
    button->setGeometry(left, 8, width, kButtonHeight);
    const ReportButton which = row.button;
    connect(button, &QPushButton::clicked, this, [this, which] { core_.ReportButtonClick(which); });
    left += width + kButtonGap;
  }
  // Narrower than its six buttons, the window would cut the last one off.
  minimumWidth_ = left - kButtonGap + 8;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(memo_, 1);
  layout->addWidget(bar_, 0);
}

void DetailsWindow::appendLine(const QString& line) {
  QScrollBar* bar = memo_->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  QTextCursor cursor(memo_->document());
  cursor.movePosition(QTextCursor::End);
  // The transcript starts with one empty row, as the window always has.
  if (!empty_) cursor.insertBlock();
  cursor.insertText(line);
  empty_ = false;
  if (atEnd) bar->setValue(bar->maximum());
}

void DetailsWindow::clearText() {
  memo_->clear();
  empty_ = true;
}

QString DetailsWindow::text() const { return memo_->toPlainText(); }

void DetailsWindow::applyGeometry(int left, int top, int width, int height) {
  stored_ = QRect(left, top, width, height);
  resize(width, height);
  move(left, top);
}

// Until the window has been shown, the stored place and size are what the
// user last left; the minimum width does not rewrite them.
QRect DetailsWindow::savedGeometry() const {
  return shownOnce_ || stored_.isNull() ? QRect(pos(), size()) : stored_;
}

void DetailsWindow::showEvent(QShowEvent* event) {
  shownOnce_ = true;
  setMinimumWidth(minimumWidth_);
  QWidget::showEvent(event);
}

}  // namespace tarvik
