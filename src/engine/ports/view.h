#pragma once
// Everything the windows and the tray show, as the core decides it.
// All texts are UTF-8; the core converts from Shift-JIS at this boundary.

#include <string>
#include <vector>

#include "engine/ports/notice.h"

namespace tarvik {

enum class Channel { B1 = 0, B2 = 1 };
enum class PanelColour { Normal, Red };
enum class StripColour { Day, Night };  // blue 8:00-22:59, green otherwise

class View {
 public:
  virtual ~View() = default;

  virtual void setStatusLine(const std::string& text) = 0;               // Label4
  virtual void setChannelText(Channel ch, const std::string& text) = 0;  // Edit1 / Edit2
  virtual void setDestinationLabel(const std::string& text) = 0;         // Label1
  // Caller name display: shows Label_NameDisplay with name, hides the B1 row
  // and both boxes, and sets Label3 to three blanks and the number.
  virtual void showCallerName(const std::string& name, const std::string& number) = 0;
  virtual void clearCallerName() = 0;
  virtual void setMainTip(const std::string& text) = 0;                 // TSOHO
  virtual void setChannelTip(Channel ch, const std::string& text) = 0;  // TB1 / TB2
  virtual void setChannelIconVisible(Channel ch, bool visible) = 0;
  // Caption of the menu items that dial destination index (0..15), in the
  // main menu and the pop-up menu alike.
  virtual void setDestinationCaption(int index, const std::string& caption) = 0;
  // The sixteen destination entries for the settings dialog's choosers.
  virtual void setDestinationList(const std::vector<std::string>& entries) = 0;
  virtual void setConnectHint(const std::string& text) = 0;  // ConnectBtn hint
  virtual void appendDetails(const std::string& line) = 0;   // Memo1
  virtual void clearDetails() = 0;
  virtual void setPanelColour(PanelColour colour) = 0;           // Panel1
  virtual void setStrip(StripColour colour) = 0;                 // Panel2
  virtual void parkWindow() = 0;                                 // top := -300
  virtual void restoreWindow() = 0;                              // back to RememberedTop
  virtual void setRouterVersion(const std::string& banner) = 0;  // about box Version
  virtual void setJigenCaption(const std::string& caption) = 0;
  // The core asks the main window to close (automatic close after the
  // disconnection); the shell answers by running its close request.
  virtual void requestClose() = 0;
  // A message the user must see (the platform's error-report box).
  virtual void showError(const std::string& text) = 0;
  // A failure the user should notice without a box to close: the status
  // line (Label4) in the windows; the headless view prints it as an error.
  virtual void showStatusError(const std::string& text) { setStatusLine(text); }
  // A desktop notification (switched on in [NOTIFY]). A front end without
  // notifications ignores it.
  virtual void notify(const Notice& notice) { (void)notice; }
};

}  // namespace tarvik
