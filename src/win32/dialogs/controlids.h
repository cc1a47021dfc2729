#pragma once
// The dialogs' controls by their designer names: the ids of dialogids.h
// (and "OK" for IDOK), read from that header at build time, so that a
// control added there is known by its name without another list.

#include <string_view>

namespace tarvik::win32 {

int controlId(std::string_view name);  // 0 when there is none
std::string_view controlName(int id);  // empty when there is none

}  // namespace tarvik::win32
