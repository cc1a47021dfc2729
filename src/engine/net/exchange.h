#pragma once
// The console vocabulary and the login batch: every text the program sends
// to the router is built here.

#include <string>
#include <string_view>

namespace tarvik {

namespace commands {
// Chains placed in CommandChain (lines separated by CR).
std::string startupChain();  // "sh ver" CR "sh r l" CR "sh s" CR "sh r l" CR
std::string clockLine(int year, int month, int day, int hour, int minute);  // "1999/5/3-9:7"
std::string setClock(const std::string& clockText);                         // CR "sy t " clockText
std::string poll();                                                         // "sh s"
std::string dial(int destination);                                          // "co n" CR "sh s"
std::string disconnectAll();                                                // "dis a" CR "sh s"
std::string disconnectB1();                                                 // "dis b1" CR "sh s"
std::string disconnectB2();                                                 // "dis b2" CR "sh s"
std::string dialWithCredentials(int destination, std::string_view id, std::string_view password);
std::string history();        // "sh h"
std::string charges();        // "show ch"
std::string ppp();            // "show ppp"
std::string analogHistory();  // "show history"
std::string mail();           // "show mail"
std::string phsMail();        // "show pmail"

// The chain has a line asking for the channel status ("sh s").
bool asksStatus(std::string_view chain);
}  // namespace commands

// CR "admin" CR [password CR] "sys kc s" CR chain CR code CR "l" CR
std::string loginBatch(std::string_view password, std::string_view chain, std::string_view kanjiCode);

}  // namespace tarvik
