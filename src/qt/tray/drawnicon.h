#pragma once
// An icon that is drawn, never scaled: every size and pixel density asked
// for (a tray host's slot, a title bar, a high-density screen) gets the
// picture painted afresh at exactly that many device pixels. The picture is
// square; a slot of another shape gets it centred, not stretched.

#include <QIcon>
#include <QRectF>
#include <functional>

class QPainter;

namespace tarvik {

// Paints the picture into a square, in the painter's coordinates.
using IconPainter = std::function<void(QPainter& painter, const QRectF& square, QIcon::Mode mode)>;

QIcon drawnIcon(IconPainter paint);

// The largest square centred in rect.
QRectF centredSquare(const QRectF& rect);

}  // namespace tarvik
