#include "clientcuts.h"

#include "sim/simharness.h"

namespace simtest {
namespace {

std::string field(const std::string& section, const std::string& marker, const std::string& terminator,
                  const std::string& fallback, bool idle) {
  const std::size_t at = section.find(marker);
  const std::size_t from = at == std::string::npos ? marker.size() : at + marker.size();
  std::string v = from < section.size() ? section.substr(from, 100) : std::string();
  const std::size_t end = v.find(terminator);
  v = end == std::string::npos ? std::string() : v.substr(0, end);
  return !idle && v.size() < 19 ? v : fallback;
}

std::string trimBlanks(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  while (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return s;
}

}  // namespace

ChannelCut cutChannel(const std::string& chunk, const std::string& marker, const std::string& timeMarker) {
  ChannelCut c;
  const std::size_t m = chunk.find(marker);
  if (m == std::string::npos) return c;
  c.found = true;
  const std::string head = chunk.substr(m + marker.size(), 20);
  c.idle = head.find(sj("空")) != std::string::npos;
  const std::size_t lf = head.find('\n');
  c.status = lf == std::string::npos ? std::string() : head.substr(0, lf);
  const std::string s = chunk.substr(m + marker.size(), 400);
  c.time = field(s, timeMarker, "/", c.status, c.idle);
  c.ip = field(s, sj("Pアドレス["), "]", c.status, c.idle);
  c.mode = field(s, sj("モード["), "]", c.status, c.idle);
  c.number = field(s, sj("番号["), "]", c.status, c.idle);
  c.usage = field(s, sj("BOD %）["), "]", c.status, c.idle);
  return c;
}

ChannelCut cutB1(const std::string& chunk) { return cutChannel(chunk, sj("B1チャネル："), sj("分）[")); }
ChannelCut cutB2(const std::string& chunk) { return cutChannel(chunk, sj("B2チャネル："), sj("間（分）[")); }

std::vector<DestinationCut> cutDestinationList(const std::string& chunk) {
  std::vector<DestinationCut> rows;
  std::size_t f = chunk.find("#0 ");
  if (f == std::string::npos) return rows;
  for (int i = 0; i < 16 && f < chunk.size(); ++i) {
    std::string d = chunk.substr(f, 70);
    const std::size_t lf = d.find('\n');
    f += (lf == std::string::npos ? 0 : lf + 1) + 1;
    d = d.substr(0, 30) + (d.size() > 35 ? d.substr(35, 13) : std::string());
    DestinationCut row;
    row.entry = d;
    row.number = d.size() >= 3 ? trimBlanks(d.substr(1, 2)) : std::string();
    row.caption = d.substr(0, 20);
    while (!row.caption.empty() && row.caption.back() == ' ') row.caption.pop_back();
    rows.push_back(row);
  }
  return rows;
}

}  // namespace simtest
