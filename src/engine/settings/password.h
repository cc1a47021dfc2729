#pragma once
// The console password as Tarvik.ini stores it: each byte b of the Shift-JIS
// text becomes "O" followed by b - 44 in decimal, and a last "O" closes the
// value ("abc" is "O53O54O55O", a blank is "O-12O"). An empty password is
// stored empty. This hides the password from a glance, nothing more.

#include <string>
#include <string_view>

namespace tarvik {

std::string encodePassword(std::string_view clear);

// A value that does not begin with "O" is a password typed into the file by
// hand and is used as it stands. Otherwise every "O" but the last one starts
// a number that ends at the next "O" within four characters; a piece that is
// not such a number, or whose byte would fall outside 0..255, is skipped, so
// a damaged value decodes to what is left readable.
std::string decodePassword(std::string_view stored);

}  // namespace tarvik
