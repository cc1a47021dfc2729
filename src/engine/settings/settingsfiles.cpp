#include "engine/settings/settingsfiles.h"

#include <optional>
#include <stdexcept>
#include <system_error>

#include "engine/base/filebytes.h"
#include "engine/base/pathtext.h"
#include "engine/base/sjis.h"
#include "engine/settings/inifile.h"
#include "engine/settings/linefile.h"
#include "engine/settings/settingskeys.h"
#include "engine/settings/settingsproblems.h"

namespace tarvik {
namespace {

std::string withPath(std::string_view format, const std::filesystem::path& path) {
  std::string message(format);
  message.replace(message.find("%s"), 2, utf8Of(path));
  return message;
}

std::string writeFailed(const std::filesystem::path& ini) { return withPath("%s に書き込めません", ini); }

std::string createFailed(const std::filesystem::path& file) {
  return withPath("ﾌｧｲﾙ %s を作成できません", file);
}

IniFile readIni(const std::filesystem::path& path) {
  std::optional<std::string> bytes = readFileBytes(path);
  return bytes ? IniFile(*bytes) : IniFile();
}

// The file as it stands, ready for changes; nullopt when it exists but
// cannot be read, since writing it back would then lose its contents.
std::optional<IniFile> readIniForUpdate(const std::filesystem::path& path) {
  std::optional<std::string> bytes = readFileBytes(path);
  if (bytes) return IniFile(*bytes);
  std::error_code error;
  if (std::filesystem::exists(path, error) || error) return std::nullopt;
  return IniFile();
}

std::string applicationSection(int destination) { return "AP" + std::to_string(destination); }

void writeApplications(IniFile& ini, int destination, const ApplicationList& apps) {
  std::string section = applicationSection(destination);
  for (std::size_t i = 0; i < apps.size(); ++i) ini.writeString(section, std::to_string(i + 1), apps[i]);
}

// PASS as the password stands: left as the file has it while the password
// is unread (what the store holds must not be overwritten by what Tarvik
// never knew), empty once the secret store has confirmed it holds the
// password, encoded otherwise. Until the store confirms, the file keeps the
// password, so that no end of the program between the two loses it.
void writePassword(IniFile& ini, const SettingKey& key, const SettingsStore& store) {
  if (passwordUnread(store)) return;
  if (passwordInStore(store)) {
    ini.writeString(key.section, key.key, "");
  } else {
    writeSetting(ini, key, store);
  }
}

void writeKeys(IniFile& ini, const SettingsStore& store, KeyWriter writer) {
  for (const SettingKey& key : settingKeys()) {
    if (key.writer != writer) continue;
    if (key.type == KeyType::kPassword) {
      writePassword(ini, key, store);
    } else {
      writeSetting(ini, key, store);
    }
  }
}

// [SECRET] KEYRING says where PASS is: 1 only while the file's PASS is empty
// because the store holds the password. The section appears only once the
// store has been chosen, so a file that never used it stays as it was; an
// unread password leaves the choice as the file has it.
void writePasswordChoice(IniFile& ini, const SettingsStore& store) {
  if (passwordUnread(store)) return;
  const bool inStore = passwordInStore(store);
  constexpr std::string_view kMissing = "\x01";
  if (inStore || ini.readString("SECRET", "KEYRING", kMissing) != kMissing) {
    ini.writeBool("SECRET", "KEYRING", inStore);
  }
}

void writeAddedKeys(IniFile& ini, const SettingsStore& store) {
  for (const SettingKey& key : settingKeys()) {
    if (key.writer != KeyWriter::kDialogAdded) continue;
    const std::string value = storedSetting(key, store);
    if (ini.value(key.section, key.key) || value != storedSetting(key, defaultSettings()))
      ini.writeString(key.section, key.key, value);
  }
}

}  // namespace

SettingsFiles::SettingsFiles(std::filesystem::path configDir) : dir_(std::move(configDir)) {}

void SettingsFiles::setNotice(std::function<void(const std::string&)> notice) { notice_ = std::move(notice); }

// A file that others may read loses that right as soon as it holds the
// router's password; the user hears of it once, when it happens.
bool SettingsFiles::writeIni(const IniFile& ini) const {
  const bool exposed = !ini.readString("Tarvik", "PASS", "").empty() && readableByOthers(iniPath());
  if (!replaceFileBytes(iniPath(), ini.text(), exposed ? FileAccess::kOwnerOnly : FileAccess::kKeep)) {
    return false;
  }
  if (exposed && notice_) notice_(std::string(kMadeOwnerOnly));
  return true;
}

std::filesystem::path SettingsFiles::iniPath() const { return dir_ / "Tarvik.ini"; }
std::filesystem::path SettingsFiles::namesPath() const { return dir_ / "Tarvik.lst"; }
std::filesystem::path SettingsFiles::scriptPath() const { return dir_ / "Tarvik.spt"; }

bool SettingsFiles::readStayOnTop() const {
  return readIni(iniPath()).readBool("OPTION", "ONSCREEN", defaultSettings().option.ONSCREEN);
}

namespace {

// A settings file's bytes, read once; none when it is not there. One that
// is there but cannot be read (a folder, a FIFO, no permission) stops the
// start: going on with the defaults would later write them over the user's
// file.
std::string requireBytes(const std::filesystem::path& path) {
  FileRead read = readFile(path);
  if (read.bytes) return std::move(*read.bytes);
  if (read.error == std::errc::no_such_file_or_directory) return {};
  throw std::runtime_error(utf8Of(path) + ": " + read.error.message());
}

}  // namespace

std::vector<SettingProblem> SettingsFiles::loadAll(SettingsStore& store, IniFile* keep) const {
  // All three are read before anything goes into the store.
  const std::string ini = requireBytes(iniPath());
  const std::string names = requireBytes(namesPath());
  const std::string script = requireBytes(scriptPath());
  store.nameList = splitLines(names);
  store.script = splitLines(script);
  IniFile file(ini);
  std::vector<SettingProblem> problems;
  for (const IniFile::UnreadLine& line : file.unreadLines()) problems.push_back(lineProblem(line));
  for (const SettingKey& key : settingKeys()) {
    if (!readSetting(file, key, store)) problems.push_back(valueProblem(file, key, store));
  }
  // The password is in the secret store until a reader has fetched it.
  store.secret.held.reset();
  store.secret.unreadAs.reset();
  if (store.secret.KEYRING) store.secret.unreadAs = store.tarvik.PASS;
  if (keep) *keep = std::move(file);
  return problems;
}

// All keys go into the file in one write; the result is the file that
// writing them one by one would give, and a failure leaves the old file
// whole instead of half written.
std::string SettingsFiles::saveDialogSettings(SettingsStore& store, const ApplicationList& shownApps) const {
  std::optional<IniFile> ini = readIniForUpdate(iniPath());
  if (!ini) return writeFailed(iniPath());
  writeKeys(*ini, store, KeyWriter::kDialogFirst);
  writePasswordChoice(*ini, store);
  // Said once the save has got past the file; the password itself stays
  // where it was.
  const auto tellUnread = [&] {
    if (passwordUnread(store) && notice_) notice_(std::string(kPasswordUnreadNotSaved));
  };

  std::optional<int> interval = settingTextToInt(store.option.TIME);
  if (!interval) {
    // The [Tarvik] keys are saved; the rest waits for a valid interval.
    if (!writeIni(*ini)) return writeFailed(iniPath());
    tellUnread();
    return "'" + toUtf8(store.option.TIME) + "' は整数ではありません";
  }
  if (*interval < kMinPollInterval || *interval > kMaxPollInterval) {
    store.option.TIME = std::to_string(kDefaultPollInterval);
  }
  writeKeys(*ini, store, KeyWriter::kDialog);
  writeAddedKeys(*ini, store);
  writeApplications(*ini, store.appPageDestination, shownApps);
  if (!writeIni(*ini)) return writeFailed(iniPath());
  tellUnread();

  if (!writeLineFile(namesPath(), store.nameList)) return createFailed(namesPath());
  if (!writeLineFile(scriptPath(), store.script)) return createFailed(scriptPath());
  return {};
}

std::string SettingsFiles::savePasswordChoice(const SettingsStore& store) const {
  std::optional<IniFile> ini = readIniForUpdate(iniPath());
  if (!ini) return writeFailed(iniPath());
  for (const SettingKey& key : settingKeys()) {
    if (key.type == KeyType::kPassword) writePassword(*ini, key, store);
  }
  writePasswordChoice(*ini, store);
  return writeIni(*ini) ? std::string() : writeFailed(iniPath());
}

std::string SettingsFiles::saveRouterAddress(const SettingsStore& store) const {
  std::optional<IniFile> ini = readIniForUpdate(iniPath());
  if (!ini) return writeFailed(iniPath());
  for (const SettingKey& key : settingKeys()) {
    if (key.section == "Tarvik" && key.key == "SOHOIP") writeSetting(*ini, key, store);
  }
  return writeIni(*ini) ? std::string() : writeFailed(iniPath());
}

std::string SettingsFiles::saveWindowState(const SettingsStore& store, bool parked) const {
  std::optional<IniFile> ini = readIniForUpdate(iniPath());
  if (!ini) return writeFailed(iniPath());
  for (const SettingKey& key : settingKeys()) {
    if (key.writer != KeyWriter::kWindowState) continue;
    // A parked window's top is off screen; the file keeps the top it returns to.
    if (parked && key.key == "top") continue;
    writeSetting(*ini, key, store);
  }
  return writeIni(*ini) ? std::string() : writeFailed(iniPath());
}

ApplicationList SettingsFiles::loadApplications(int destination) const {
  return applicationsIn(readIni(iniPath()), destination);
}

ApplicationList applicationsIn(const IniFile& ini, int destination) {
  std::string section = applicationSection(destination);
  ApplicationList apps;
  for (std::size_t i = 0; i < apps.size(); ++i) apps[i] = ini.readString(section, std::to_string(i + 1), "");
  return apps;
}

std::string settingsFileTrouble(const SettingsFiles& files, std::string_view reason) {
  return "設定ファイル " + utf8Of(files.iniPath()) + " を読み書きできません: " + std::string(reason);
}

std::string SettingsFiles::saveApplications(int destination, const ApplicationList& apps) const {
  std::optional<IniFile> ini = readIniForUpdate(iniPath());
  if (!ini) return writeFailed(iniPath());
  writeApplications(*ini, destination, apps);
  return writeIni(*ini) ? std::string() : writeFailed(iniPath());
}

}  // namespace tarvik
