#include "core/routerpages.h"

#include <array>

namespace tarvik {

namespace {

struct RouterPage {
  int page;
  const char* path;
  const char* pathOnBase100;  // the page base moves pages 3 and 6 to these
};

constexpr std::array<RouterPage, 11> kPages{{
    {1, "disconnect", nullptr},
    {2, "config-rlist", nullptr},
    {3, "config-body", "config-sys.cgi"},
    {4, "config-ip", nullptr},
    {5, "config-isdn", nullptr},
    {6, "config-analog", "config-analog-port.cgi"},
    {7, "erase-config", nullptr},
    {8, "show-config", nullptr},
    {9, "show-ip-route", nullptr},
    {10, "show-history", nullptr},
    {11, "show-charge", nullptr},
}};

}  // namespace

std::string routerPageAddress(std::string_view hostUtf8, int page, int pageBase) {
  for (const RouterPage& p : kPages) {
    if (p.page != page) continue;
    const char* path = pageBase == 100 && p.pathOnBase100 ? p.pathOnBase100 : p.path;
    return "http://" + std::string(hostUtf8) + "/" + path;
  }
  return {};
}

}  // namespace tarvik
