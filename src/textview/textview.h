#pragma once
// The headless program's View: every visible change becomes one line
// (see LineWriter for the format). Setting a text, colour or visibility to
// what it already shows changes nothing on a screen, so it prints nothing;
// appended details lines print every time.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "textview/linewriter.h"
#include "engine/ports/view.h"

namespace tarvik::app {

class TextView : public View {
 public:
  // closeRequested runs when the core asks the main window to close.
  TextView(LineWriter& out, std::function<void()> closeRequested);

  void setStatusLine(const std::string& text) override;
  void setChannelText(Channel ch, const std::string& text) override;
  void setDestinationLabel(const std::string& text) override;
  void showCallerName(const std::string& name, const std::string& number) override;
  void clearCallerName() override;
  void setMainTip(const std::string& text) override;
  void setChannelTip(Channel ch, const std::string& text) override;
  void setChannelIconVisible(Channel ch, bool visible) override;
  void setDestinationCaption(int index, const std::string& caption) override;
  void setDestinationList(const std::vector<std::string>& entries) override;
  void setConnectHint(const std::string& text) override;
  void appendDetails(const std::string& line) override;
  void clearDetails() override;
  void setPanelColour(PanelColour colour) override;
  void setStrip(StripColour colour) override;
  void parkWindow() override;
  void restoreWindow() override;
  void setRouterVersion(const std::string& banner) override;
  void setJigenCaption(const std::string& caption) override;
  void requestClose() override;
  void showError(const std::string& text) override;
  void showStatusError(const std::string& text) override;
  void notify(const Notice& notice) override;

 private:
  // Prints kind + fields unless the slot already shows exactly that.
  void changed(const std::string& slot, std::string_view kind,
               std::initializer_list<std::string_view> fields);

  LineWriter& out_;
  std::function<void()> closeRequested_;
  std::map<std::string, std::string> shown_;  // slot -> what it shows now
};

}  // namespace tarvik::app
