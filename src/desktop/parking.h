#pragma once
// Parking: a main window whose top edge is -300 is out of sight but open.
// The one state machine both desktops follow:
//
//   on screen --park--> parked --bring back / connection--> on screen
//   on screen/parked --minimise--> minimised --bring back / connection--> shown
//
// "Parked" is the top the window was given: -300, by park() or by a saved
// top of -300 at start. Bringing back returns to the remembered top (the
// saved top, read once at start); a window on screen keeps the place the
// user gave it, except on a connection, which moves it to the remembered
// top. Without a notification area nothing could bring a parked window
// back: parking then minimises instead.

#include "desktop/mainwindowhost.h"

namespace tarvik::desktop {

inline constexpr int kParkedTop = -300;

class Parking {
 public:
  explicit Parking(MainWindowHost& host) : host_(host) {}

  void setTrayAvailable(bool available) { trayAvailable_ = available; }

  // [OPTION] left and top at start: top is also where the window returns to.
  // A place that no screen shows is moved onto the nearest screen (and that
  // is then where it returns to); a saved parked top stays out of sight.
  void placeAt(int left, int top);

  void park();
  void bringBack();         // K4Click
  void restoreOnConnect();  // CallConnected with [OPTION] CHECK4
  void minimise();          // Label1, the minimise button

  bool isParked() const { return top_ == kParkedTop; }
  int rememberedTop() const { return rememberedTop_; }

 private:
  MainWindowHost& host_;
  bool trayAvailable_ = true;
  int rememberedTop_ = 0;
  // The top this machine gave the window last; only its being kParkedTop
  // counts (the window on screen is where the user put it).
  int top_ = 0;
};

}  // namespace tarvik::desktop
