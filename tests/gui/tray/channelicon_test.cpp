#include "qt/tray/channelicon.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPainter>
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

// A tray host's slot is not always square, and a high-density screen
// paints through a scaled painter: the icon keeps its square shape in the
// middle of the slot, drawn at the screen's pixels.
TEST(ChannelIcon, ASlotOfAnotherShapeGetsTheSquareIconCentredNotStretched) {
  const QIcon icon = channelIcon(QStringLiteral("B1"));
  const struct {
    QSize slot;  // in the painter's (logical) pixels
    qreal scale;
  } cases[] = {{{22, 16}, 1.0}, {{16, 22}, 1.0}, {{22, 22}, 1.5}, {{24, 18}, 2.0}, {{33, 24}, 1.5}};
  for (const auto& c : cases) {
    EXPECT_EQ(icon.actualSize(c.slot), QSize(std::min(c.slot.width(), c.slot.height()),
                                             std::min(c.slot.width(), c.slot.height())));
    QImage slot(c.slot * c.scale, QImage::Format_ARGB32);
    slot.setDevicePixelRatio(c.scale);
    slot.fill(Qt::transparent);
    {
      QPainter p(&slot);
      icon.paint(&p, QRect(QPoint(0, 0), c.slot));
    }
    // The drawn square: the rows and columns that are not transparent.
    QRect drawn;
    for (int y = 0; y < slot.height(); ++y) {
      for (int x = 0; x < slot.width(); ++x) {
        if (slot.pixelColor(x, y).alpha() > 128) drawn |= QRect(x, y, 1, 1);
      }
    }
    const int side = std::min(slot.width(), slot.height());
    EXPECT_LE(std::abs(drawn.width() - side), 1) << c.slot.width() << "x" << c.slot.height() << " @" << c.scale;
    EXPECT_LE(std::abs(drawn.height() - side), 1) << c.slot.width() << "x" << c.slot.height() << " @" << c.scale;
    EXPECT_LE(std::abs(drawn.center().x() - slot.rect().center().x()), 1) << "centred";
    EXPECT_LE(std::abs(drawn.center().y() - slot.rect().center().y()), 1) << "centred";
    // The yellow bar spans the square's width, at the screen's pixels.
    EXPECT_EQ(countNear(slot, kYellow, drawn.bottom(), drawn.bottom() + 1), drawn.width());
  }
}

TEST(ChannelIcon, TheTwoLabelsDiffer) {
  EXPECT_NE(channelIcon(QStringLiteral("B1")).pixmap(32, 32).toImage(),
            channelIcon(QStringLiteral("B2")).pixmap(32, 32).toImage());
}

}  // namespace
}  // namespace tarvik
