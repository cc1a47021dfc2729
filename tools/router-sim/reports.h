#pragma once
// The router's reports as the console prints them (Shift-JIS, lines end LF CR).

#include <string>

namespace sim {

class Router;

std::string versionReport(const Router& router);        // sh ver
std::string destinationList(const Router& router);      // sh r l
std::string statusReport(Router& router);               // sh s (moves the line usage)
std::string historyReport(const Router& router);        // sh h
std::string analogHistoryReport(const Router& router);  // show history
std::string chargeReport(const Router& router);         // show ch
std::string pppReport(const Router& router);            // show ppp
std::string mailReport(const Router& router);           // show mail
std::string phsMailReport(const Router& router);        // show pmail

}  // namespace sim
