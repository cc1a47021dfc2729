#include "qt/windows/fonts.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>

namespace tarvik {
namespace {

// Every character of a window text must come from the font itself: a font
// without Japanese glyphs would show them as boxes or in a random fallback.
TEST(Fonts, BothFontsCarryJapaneseGlyphsAndTheFixedOneIsFixedPitch) {
  const QString sample = QStringLiteral("接続先 切断 ﾃﾞﾌｫﾙﾄ接続先 回線を切断してもよろしいですか?");
  for (const QFont& font : {proportionalFont(12), fixedFont(12), proportionalFontPt(9), fixedFontPt(9)}) {
    const QFontMetrics fm(font);
    for (QChar c : sample) {
      EXPECT_TRUE(fm.inFont(c)) << QFontInfo(font).family().toStdString() << " lacks U+" << std::hex
                                << static_cast<int>(c.unicode());
    }
  }
  EXPECT_EQ(QFontInfo(proportionalFont(12)).pixelSize(), 12);
  const QFontMetrics fixed(fixedFont(12));
  EXPECT_EQ(fixed.horizontalAdvance(QStringLiteral("iiii")), fixed.horizontalAdvance(QStringLiteral("WWWW")));
}

}  // namespace
}  // namespace tarvik
