#include "engine/core/routerpages.h"

namespace tarvik {

std::string routerPageAddress(std::string_view hostUtf8, int page, int pageBase) {
  for (const RouterPage& p : kRouterPages) {
    if (p.page != page) continue;
    const char* path = pageBase == 100 && p.pathOnBase100 ? p.pathOnBase100 : p.path;
    return "http://" + std::string(hostUtf8) + "/" + path;
  }
  return {};
}

}  // namespace tarvik
