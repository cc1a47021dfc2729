#include "qt/windows/fonts.h"

#include <QStringList>

namespace tarvik {
namespace {

// Tried in order; the first one installed wins.
const QStringList& proportionalFamilies() {
  static const QStringList families = {
      QStringLiteral("ＭＳ Ｐゴシック"),    QStringLiteral("MS PGothic"),
      QStringLiteral("IPAPGothic"),         QStringLiteral("IPAexGothic"),
      QStringLiteral("Noto Sans CJK JP"),   QStringLiteral("Noto Sans JP"),
      QStringLiteral("VL PGothic"),         QStringLiteral("TakaoPGothic"),
      QStringLiteral("Source Han Sans JP"),
  };
  return families;
}

const QStringList& fixedFamilies() {
  static const QStringList families = {
      QStringLiteral("ＭＳ ゴシック"),         QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic"),
      QStringLiteral("Noto Sans CJK JP"),      QStringLiteral("monospace"),
  };
  return families;
}

QFont proportionalBase() {
  QFont f;
  f.setFamilies(proportionalFamilies());
  f.setStyleHint(QFont::SansSerif);
  return f;
}

QFont fixedBase() {
  QFont f;
  f.setFamilies(fixedFamilies());
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

QFont inPixels(QFont font, int pixelSize) {
  font.setPixelSize(pixelSize);
  return font;
}

QFont inPoints(QFont font, qreal pointSize) {
  font.setPointSizeF(pointSize);
  return font;
}

}  // namespace

QFont proportionalFont(int pixelSize) { return inPixels(proportionalBase(), pixelSize); }
QFont proportionalFontPt(qreal pointSize) { return inPoints(proportionalBase(), pointSize); }
QFont fixedFont(int pixelSize) { return inPixels(fixedBase(), pixelSize); }
QFont fixedFontPt(qreal pointSize) { return inPoints(fixedBase(), pointSize); }

}  // namespace tarvik
