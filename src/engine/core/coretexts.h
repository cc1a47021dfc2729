#pragma once
// The program's own texts for the windows (UTF-8). Each fits the main
// window's status line whole (about ten full-width characters).

#include <string>
#include <string_view>

#include "engine/base/sjis.h"

namespace tarvik::texts {

inline constexpr const char* kWaiting = "待機中";
inline constexpr const char* kDestinationCaption = "接続先";
inline constexpr const char* kIncomingCaption = "着信";  // a caller that sends no number
inline constexpr const char* kDialStart = "ダイアル開始 ";
inline constexpr const char* kRedial = "リダイアル";
inline constexpr const char* kLogWritten = "ログ書き出し完了";
inline constexpr const char* kScript = "Script >>";
inline constexpr const char* kUnreachable = "ルーター応答なし";
inline constexpr const char* kCannotStart = "起動できません: ";
inline constexpr const char* kBadDestination = "無効な接続先: ";
// Not for the status line: the settings dialog says it before it closes
// after a settings file that could not be written.
inline constexpr const char* kSettingsNotSaved = "設定を保存できませんでした。変更は Tarvik を終了するまで有効です。";

// The timed-disconnect menu item: "時限切断 [" + the time ([TIME] OFF) + "]".
inline std::string timedDisconnectCaption(std::string_view offTimeSjis) {
  return "時限切断 [" + toUtf8(offTimeSjis) + "]";
}

}  // namespace tarvik::texts
