#pragma once
// The router's own web pages, opened in the browser from the settings menu.

#include <string>
#include <string_view>

namespace tarvik {

// "http://" + host + "/" + path for page 1..11 (menu order); pages 3 and 6
// have other paths on a router that announced itself as "# MN128-SOHO-S"
// (page base 100). Empty for any other page number.
std::string routerPageAddress(std::string_view hostUtf8, int page, int pageBase);

}  // namespace tarvik
