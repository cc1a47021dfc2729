#include "desktop/parking.h"

namespace tarvik::desktop {

void Parking::placeAt(int left, int top) {
  host_.moveWindow(left, top);
  top_ = top;
  if (!isParked()) host_.keepReachable();
  rememberedTop_ = isParked() ? top : host_.windowTop();
}

void Parking::park() {
  if (!trayAvailable_) {
    // Out of sight without a tray icon would be out of reach.
    host_.minimiseApplication();
    return;
  }
  host_.moveWindow(host_.windowLeft(), kParkedTop);
  top_ = kParkedTop;
}

void Parking::bringBack() {
  if (host_.isMinimised()) host_.restoreWindow(true);
  if (isParked()) host_.moveWindow(host_.windowLeft(), rememberedTop_);
  // A remembered top of -300 (a hand-edited file) is no way back: the
  // window comes onto the screen all the same.
  host_.keepReachable();
  top_ = host_.windowTop();
  host_.bringToFront();
}

void Parking::restoreOnConnect() {
  host_.moveWindow(host_.windowLeft(), rememberedTop_);
  if (host_.isMinimised()) host_.restoreWindow(false);
  host_.keepReachable();
  top_ = host_.windowTop();
}

void Parking::minimise() { host_.minimiseApplication(); }

}  // namespace tarvik::desktop
