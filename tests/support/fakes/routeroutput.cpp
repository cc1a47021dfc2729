#include "fakes/routeroutput.h"

#include <cstdio>

#include "engine/base/sjis.h"
#include "fakes/transcript.h"

namespace tarvik::test {

std::string statusBlock(const Chan& b1, const Chan& b2) {
  auto block = [](const char* marker, const char* timeLabel, const Chan& c) {
    bool idle = c.status == "空き";
    const std::string time = idle ? "[    /    ]" : "[" + (c.time.empty() ? "  12" : c.time) + "/  60]";
    return std::string(marker) + c.status + "\n  " + timeLabel + time +
           "\n  IPアドレス[" + c.ip + "]\n  接続モード[" + c.mode + "]\n  相手番号[" + c.number +
           "]\n  回線使用率（BOD %）[" + c.usage + "]\n";
  };
  return "回線種別: INS64\n" + block("B1チャネル：", "接続時間（分）", b1) +
         block("B2チャネル：", "通信時間（分）", b2);
}

Chan connected(const std::string& ip, const std::string& number) {
  return Chan{"通信中（発信）", ip, "PPP 64K", number, "200/1/0", ""};
}

Chan ringingFrom(const std::string& number) { return Chan{"呼び出し中（着信）", "", "", number, "", ""}; }

std::string destinationLines(const std::vector<std::string>& names) {
  // Fixed columns, as the router prints them: name padded to 24 bytes of
  // Shift-JIS, then the number and the mode.
  std::string lines;
  for (int i = 0; i < 16; ++i) {
    char head[8], number[16];
    std::snprintf(head, sizeof head, "#%-3d", i);
    std::snprintf(number, sizeof number, "03123450%02d", i);
    std::string name = i < static_cast<int>(names.size()) ? names[i] : "";
    std::size_t width = toSjis(name).size();
    lines += head + name + std::string(width < 24 ? 24 - width : 1, ' ') + number + "    PPP   \n";
  }
  return lines;
}

std::string exchange(const std::vector<std::pair<std::string, std::string>>& commandsAndOutputs) {
  std::string text = "\nlogin: admin\nパスワード: \n\nWelcome to MN128-SOHO console\nMN128-SOHO% sys kc s\n";
  for (const auto& [command, output] : commandsAndOutputs) text += "MN128-SOHO% " + command + "\n" + output;
  text += "MN128-SOHO% \nMN128-SOHO% l\nBye.\n";
  return routerText(text);
}

std::string refusedLogin() { return consoleFixture("net-sim-wrong-password.sjis"); }

}  // namespace tarvik::test
