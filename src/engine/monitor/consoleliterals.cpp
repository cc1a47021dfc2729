#include "engine/monitor/consoleliterals.h"

#include "engine/base/sjis.h"

namespace tarvik {

namespace {

ChannelMarkers channelMarkers(const char* channel, const char* connectTime) {
  return ChannelMarkers{toSjis(channel), toSjis(connectTime), toSjis("Pアドレス["), toSjis("モード["),
                        toSjis("番号["), toSjis("BOD %）["),  toSjis("空"),         toSjis("分間")};
}

}  // namespace

const ConsoleParser::Literals& ConsoleParser::Literals::get() {
  static const Literals literals = [] {
    Literals l;
    l.lineTypeMarker = toSjis("回線種別:");
    l.passwordPrompt = toSjis("パ");
    l.analog = toSjis("アナログ");
    l.channels = {channelMarkers("B1チャネル：", "分）["), channelMarkers("B2チャネル：", "間（分）[")};
    l.disconnected = toSjis("チャネルを切断しました。");
    l.failures = {toSjis("接続に失敗しました"), toSjis("既に切断されています"),
                  toSjis("番号を設定してください")};
    l.dialling = toSjis("へ接続中．");
    l.ended = toSjis("切断しま");
    l.busy = toSjis("着ユーザビジー）");
    l.connected = toSjis("ルを接続し");
    return l;
  }();
  return literals;
}

}  // namespace tarvik
