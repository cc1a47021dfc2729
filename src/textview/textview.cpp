#include "textview/textview.h"

#include <utility>

namespace tarvik::app {
namespace {

const char* channelKind(Channel ch, const char* b1, const char* b2) { return ch == Channel::B1 ? b1 : b2; }

}  // namespace

TextView::TextView(LineWriter& out, std::function<void()> closeRequested)
    : out_(out), closeRequested_(std::move(closeRequested)) {}

void TextView::changed(const std::string& slot, std::string_view kind,
                       std::initializer_list<std::string_view> fields) {
  std::string key;
  for (std::string_view f : fields) {
    key += f;
    key += '\t';
  }
  auto [it, inserted] = shown_.try_emplace(slot, key);
  if (!inserted) {
    if (it->second == key) return;
    it->second = std::move(key);
  }
  out_.write(kind, fields);
}

// Each notice prints, like details lines: the same event twice is told twice.
void TextView::notify(const Notice& notice) {
  out_.write("notify", {noticeKindWord(notice.kind), notice.title, notice.text});
}

void TextView::setStatusLine(const std::string& text) { changed("status", "status", {text}); }

void TextView::setChannelText(Channel ch, const std::string& text) {
  const char* kind = channelKind(ch, "b1", "b2");
  changed(kind, kind, {text});
}

void TextView::setDestinationLabel(const std::string& text) { changed("dest", "dest", {text}); }

// The caller display and the normal rows share one slot: showing one hides
// the other.
void TextView::showCallerName(const std::string& name, const std::string& number) {
  changed("caller", "caller", {name, number});
}

void TextView::clearCallerName() { changed("caller", "caller-off", {}); }

void TextView::setMainTip(const std::string& text) { changed("tip", "tip", {text}); }

void TextView::setChannelTip(Channel ch, const std::string& text) {
  const char* kind = channelKind(ch, "tip-b1", "tip-b2");
  changed(kind, kind, {text});
}

void TextView::setChannelIconVisible(Channel ch, bool visible) {
  const char* kind = channelKind(ch, "icon-b1", "icon-b2");
  changed(kind, kind, {visible ? "on" : "off"});
}

void TextView::setDestinationCaption(int index, const std::string& caption) {
  std::string number = std::to_string(index);
  changed("menu" + number, "menu", {number, caption});
}

// The same entries arrive as menu captions, one line each.
void TextView::setDestinationList(const std::vector<std::string>&) {}

void TextView::setConnectHint(const std::string& text) { changed("hint", "hint", {text}); }

void TextView::appendDetails(const std::string& line) { out_.write("details", {line}); }

void TextView::clearDetails() { out_.write("details-clear", {}); }

void TextView::setPanelColour(PanelColour colour) {
  changed("panel", "panel", {colour == PanelColour::Red ? "red" : "normal"});
}

void TextView::setStrip(StripColour colour) {
  changed("strip", "strip", {colour == StripColour::Night ? "night" : "day"});
}

void TextView::parkWindow() { changed("window", "window", {"park"}); }

void TextView::restoreWindow() { changed("window", "window", {"restore"}); }

void TextView::setRouterVersion(const std::string& banner) { changed("version", "version", {banner}); }

void TextView::setJigenCaption(const std::string& caption) { changed("jigen", "jigen", {caption}); }

void TextView::requestClose() {
  if (closeRequested_) closeRequested_();
}

void TextView::showError(const std::string& text) { out_.write("error", {text}); }

// The status line shows the error now: whatever it shows next is a change,
// even the text it showed before.
void TextView::showStatusError(const std::string& text) {
  shown_["status"] = "error\t" + text;
  out_.write("error", {text});
}

}  // namespace tarvik::app
