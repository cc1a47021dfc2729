#include "engine/core/viewmirror.h"

#include "engine/base/sjis.h"

namespace tarvik {

void ViewMirror::setStatus(const std::string& utf8) {
  status_ = utf8;
  view_.setStatusLine(utf8);
}

void ViewMirror::showStatusError(const std::string& utf8) {
  status_ = utf8;
  view_.showStatusError(utf8);
}

void ViewMirror::setLabel1(const std::string& utf8) {
  label1_ = utf8;
  view_.setDestinationLabel(utf8);
}

void ViewMirror::setChannelText(int channel, const std::string& sjis) {
  shown_[channel] = sjis;
  view_.setChannelText(channel == 0 ? Channel::B1 : Channel::B2, toUtf8(sjis));
}

}  // namespace tarvik
