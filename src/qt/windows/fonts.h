#pragma once
// The two fonts of the windows: the proportional "ＭＳ Ｐゴシック" and the
// fixed-pitch "ＭＳ ゴシック". Where they are missing, an installed Japanese
// font of the same kind takes their place, so that no text shows as boxes.

#include <QFont>

namespace tarvik {

QFont proportionalFont(int pixelSize);
QFont proportionalFontPt(qreal pointSize);
QFont fixedFont(int pixelSize);
QFont fixedFontPt(qreal pointSize);

}  // namespace tarvik
