// Dial and disconnect, the per-call credentials, the details window's
// reports, the connection log fetch and the router's web pages.

#include <optional>

#include "engine/base/bytes.h"
#include "engine/base/sjis.h"
#include "engine/core/corestate.h"
#include "engine/core/coretexts.h"
#include "engine/core/routerpages.h"
#include "engine/net/exchange.h"
#include "engine/reactions/connectionlog.h"
#include "engine/reactions/soundpaths.h"

namespace tarvik {

void TarvikCore::State::ConnectBtnClick() { dialDestination(settings.tarvik.DEFAULT); }

void TarvikCore::State::ConnectFromMenu(int destination) { dialDestination(destination); }

// Every entry point (buttons, menus, arguments, timed connects) comes here.
// A number that names no destination (16 from the settings: no match) is
// refused before anything is sent, and DialTarget keeps the last real one.
void TarvikCore::State::dialDestination(int destination) {
  if (!isDestination(destination)) {
    refuseDestination(destination);
    return;
  }
  DialTarget = destination;
  Button4Click();
}

void TarvikCore::State::refuseDestination(int destination) {
  setStatus(texts::kBadDestination + std::to_string(destination));
}

// The dial routine: redial progress and alternate choice, then either the
// plain dial or the per-call ID and password question.
void TarvikCore::State::Button4Click() {
  RedialChoice choice = redial.choose(settings.rd.count);
  const bool askCredentials =
      settings.option.askCredentialsEachCall || contains(destinations[DialTarget], " *");
  // The question is already open (a timed dial or redial while the user
  // answers it): it will dial when answered; it is not asked twice.
  if (askCredentials && credentials.open()) return;
  const int dest = !askCredentials && choice.UseAlternate ? settings.tarvik.REDIAL : DialTarget;
  if (!isDestination(dest)) {
    refuseDestination(dest);
    return;
  }
  journal.watch().dialled(dest);

  // The count is the settings' text, Shift-JIS like every value there.
  setStatus(texts::kDialStart + toUtf8(choice.RedialProgress));
  if (askCredentials) {
    credentials.ask(DialTarget);
    ports.prompter.askCredentials(settings.option.LAST);  // may answer at once
    return;
  }
  setLabel1(toUtf8(trimRightBlanks(sjisCut(destinations[dest], 20))));
  launchList = files.loadApplications(dest);
  openExchange(commands::dial(dest), true);
}

void TarvikCore::State::CredentialsEntered(const std::string& userId, const std::string& password) {
  const std::optional<int> destination = credentials.answered();
  if (!destination) return;
  const int n = *destination;
  settings.option.LAST = userId;
  launchList = files.loadApplications(n);
  if (Exchange* exchange = openExchange(commands::dialWithCredentials(n, userId, password), true)) {
    exchange->secret = password;
  }
}

void TarvikCore::State::CredentialsCancelled() { credentials.cancelled(); }

void TarvikCore::State::JIGENClick() { jigen = !jigen; }

void TarvikCore::State::Config() { ScriptSuspended = true; }

// Disconnect all also ends any redial sequence and arms a full new one. A
// redial count that is not a number arms none; the line is dropped anyway.
void TarvikCore::State::DiscBtnClick() {
  redial.arm(settings.rd.count);
  openExchange(commands::disconnectAll(), true);
}

void TarvikCore::State::B1DiscClick() { openExchange(commands::disconnectB1(), true); }

void TarvikCore::State::B2DiscClick() { openExchange(commands::disconnectB2(), true); }

// The details window's 接続ログ button, the log-fetch timer and the
// disconnection. With the log option on, the file is loaded into the
// capture buffer and the prompt countdown armed; the parser merges the
// router's history into it and hands it back to be written.
void TarvikCore::State::FetchConnectionLog(bool reportErrors) {
  parser.setAnalogView(false);
  if (settings.option.saveConnectionLog) {
    if (!oldLogAdopted) {
      oldLogAdopted = true;
      // A relative name once meant the current folder.
      const std::filesystem::path name(settingsFile(settings.option.LOG));
      std::string error = name.is_absolute() ? std::string() : adoptConnectionLog(name, connectionLogFile());
      if (!error.empty() && reportErrors) ports.view.showError(error);
    }
    LogCaptureStart start = logKeeper.start(connectionLogFile());
    if (!start.error.empty()) {
      // Nothing will complete this fetch: the echo must not stay muted.
      parser.setAutomaticFetch(false);
      if (reportErrors) ports.view.showError(start.error);
      return;
    }
    parser.startCapture(std::move(start.buffer), start.synced);
  }
  // An automatic fetch stays out of the details window, also with what the
  // router prints after the capture has completed.
  if (ExchangeIdle) openExchange(commands::history(), true, parser.automaticFetch());
}

std::filesystem::path TarvikCore::State::connectionLogFile() const {
  return connectionLogPath(files.directory(), settings.option.LOG);
}

void TarvikCore::State::ReportButtonClick(ReportButton button) {
  if (button == ReportButton::ConnectionLog) {
    FetchConnectionLog(true);
    return;
  }
  struct Report {
    ReportButton button;
    std::string (*command)();
  };
  static constexpr Report kReports[] = {
      {ReportButton::Charges, commands::charges},      {ReportButton::Ppp, commands::ppp},
      {ReportButton::Analog, commands::analogHistory}, {ReportButton::Mail, commands::mail},
      {ReportButton::PhsMail, commands::phsMail},
  };
  parser.setAnalogView(button == ReportButton::Analog);
  if (!ExchangeIdle) return;  // a report waits for no one: pressed again later
  for (const Report& report : kReports) {
    if (report.button == button) openExchange(report.command(), true);
  }
}

void TarvikCore::State::ExecWWW(int page) {
  std::string address = routerPageAddress(page);
  if (!address.empty()) ports.browser.open(address);
}

std::string TarvikCore::State::routerPageAddress(int page) const {
  return tarvik::routerPageAddress(toUtf8(settings.tarvik.SOHOIP), page, parser.routerPageBase());
}

}  // namespace tarvik
