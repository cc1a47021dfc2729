#include "qt/dialogs/firstrundialog.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/base/sjis.h"
#include "engine/settings/settingsfiles.h"
#include "engine/settings/settingsstore.h"
#include "qt/windows/fonts.h"

namespace tarvik {
namespace {

constexpr int kWidth = 404, kHeight = 188, kPanelWidth = 385;

QLabel* centredLine(QWidget* parent, const QString& text, int y, int width) {
  auto* l = new QLabel(text, parent);
  l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  l->setGeometry(0, y, width, 18);
  return l;
}

// The dialog is 404 pixels wide; where the installed Japanese font is wider
// than the one it was laid out for, it grows so that no line is cut.
int dialogWidth(const QFont& font, const QStringList& lines) {
  const QFontMetrics fm(font);
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
  return std::max(kWidth, widest + 2 * (kWidth - kPanelWidth) + 8);
}

}  // namespace

FirstRunDialog::FirstRunDialog(QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TForm8"));
  setWindowTitle(QStringLiteral("Tarvik - セットアップ"));
  setFont(proportionalFontPt(9));
  const QString lines[4] = {
      QStringLiteral("Tarvikを使用するにあたってMN128 SOHOとのEither接続が必要です"),
      QStringLiteral("MN128 SOHO の アドレスを入力して下さい"),
      QStringLiteral("(デフォルトで使用している場合はこのままで結構です)"),
      QStringLiteral("起動して正しく動作しない場合はアドレスが間違っている可能性があります"),
  };
  const int width = dialogWidth(font(), {lines[0], lines[1], lines[2], lines[3]});
  const int panelWidth = width - (kWidth - kPanelWidth);
  setFixedSize(width, kHeight);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setGeometry((width - panelWidth) / 2, 8, panelWidth, 89);
  centredLine(panel, lines[0], 8, panelWidth);
  centredLine(panel, lines[1], 30, panelWidth);
  edit_ = new QLineEdit(QStringLiteral("192.168.0.1"), panel);
  edit_->setObjectName(QStringLiteral("Edit1"));
  edit_->setGeometry((panelWidth - 136) / 2, 56, 136, 22);

  centredLine(this, lines[2], 104, width);
  centredLine(this, lines[3], 124, width);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  ok->setGeometry((width - 75) / 2, 153, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString FirstRunDialog::address() const { return edit_->text(); }

std::optional<QString> FirstRunDialog::ask(QWidget* parent) {
  FirstRunDialog dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.address();
}

std::string FirstRunDialog::askAndKeep(SettingsStore& store, const SettingsFiles& files, QWidget* parent) {
  const std::optional<QString> address = ask(parent);
  if (!address) return {};
  store.tarvik.SOHOIP = toSjis(address->toStdString());
  return files.saveRouterAddress(store);
}

}  // namespace tarvik
