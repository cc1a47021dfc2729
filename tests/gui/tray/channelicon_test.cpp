#include "tray/channelicon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace tarvik {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kYellow(255, 255, 0);

// Count of pixels close to a colour.
int countNear(const QImage& img, const QColor& colour, int rows0, int rows1) {
  int n = 0;
  for (int y = rows0; y < rows1; ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
          std::abs(c.blue() - colour.blue()) < 40)
        ++n;
    }
  }
  return n;
}

TEST(ChannelIcon, WhiteLabelOnNavyAboveAYellowBarAtEverySize) {
  for (const QString& label : {QStringLiteral("B1"), QStringLiteral("B2")}) {
    for (int size : {16, 22, 24, 32, 48, 64}) {
      const QImage img = channelIcon(label).pixmap(size, size).toImage();
      ASSERT_EQ(img.size(), QSize(size, size));
      const int barTop = size - std::max(2, size / 5);
      EXPECT_EQ(countNear(img, kYellow, barTop + 1, size), (size - barTop - 1) * size) << size;
      EXPECT_EQ(img.pixelColor(0, 0), kNavy) << size;
      const int white = countNear(img, Qt::white, 0, barTop);
      EXPECT_GT(white, size * size / 40) << "the label is drawn at " << size;
      EXPECT_GT(countNear(img, kNavy, 0, barTop), white) << "navy stays the ground at " << size;
    }
  }
}

TEST(ChannelIcon, HighDensityScreensGetADrawnNotAScaledImage) {
  const QPixmap pm = channelIcon(QStringLiteral("B1")).pixmap(QSize(16, 16), 2.0);
  EXPECT_EQ(pm.size(), QSize(32, 32));
  EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), 2.0);
}

TEST(ChannelIcon, TheTwoLabelsDiffer) {
  EXPECT_NE(channelIcon(QStringLiteral("B1")).pixmap(32, 32).toImage(),
            channelIcon(QStringLiteral("B2")).pixmap(32, 32).toImage());
}

}  // namespace
}  // namespace tarvik
