#pragma once
// The program's own texts for the windows (UTF-8). Each fits the main
// window's status line whole (about ten full-width characters).

namespace tarvik::texts {

inline constexpr const char* kWaiting = "待機中";
inline constexpr const char* kDestinationCaption = "接続先";
inline constexpr const char* kDialStart = "ダイアル開始 ";
inline constexpr const char* kRedial = "リダイアル";
inline constexpr const char* kLogWritten = "ログ書き出し完了";
inline constexpr const char* kScript = "Script >>";
inline constexpr const char* kJigen = "時限切断 [";
inline constexpr const char* kUnreachable = "ルーター応答なし";
inline constexpr const char* kCannotStart = "起動できません: ";
inline constexpr const char* kBadDestination = "無効な接続先: ";

}  // namespace tarvik::texts
