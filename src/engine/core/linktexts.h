#pragma once
// What the status line, the tip and the notices say about a trouble with
// the router's console (UTF-8): what went wrong, and what the user can do.

#include <string>

#include "engine/core/linktrouble.h"
#include "engine/ports/transport.h"

namespace tarvik::texts {

inline constexpr const char* kLoginRefused = "ルーターにログインできません。パスワードを確認してください";
inline constexpr const char* kUnreadable = "ルーターの応答を読み取れません。ルーターの状態を確認してください";
// A channel box while the router cannot be asked: not 空き, which would be
// a guess.
inline constexpr const char* kStateUnknown = "状態不明";
inline constexpr const char* kLoginBack = "ルーターにログインできました";
inline constexpr const char* kLinkBack = "ルーターと再び通信できます";
inline constexpr const char* kLinkNoticeTitle = "ルーター";

// Why the router at host:port (host as the settings hold it, UTF-8) could
// not be reached; systemText is the socket layer's own message, told when
// nothing better is known.
std::string connectFailureText(ConnectFailure failure, const std::string& host, int port,
                               const std::string& systemText);

// What the status line says when a streak of fault ends.
const char* linkBackText(LinkFault fault);

}  // namespace tarvik::texts
