#include "win32/credentialstore.h"

#include <windows.h>
#include <wincred.h>

#include <utility>

#include "engine/base/sjis.h"
#include "win32/widetext.h"

namespace tarvik::win32 {
namespace {

// The system's own words for an error (UTF-8), with its number.
std::string systemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length ? std::wstring(text, length) : std::wstring();
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  return narrow(message) + " (" + std::to_string(error) + ")";
}

SecretReply failed(DWORD error) { return {SecretReply::Status::kUnreachable, "", systemMessage(error)}; }

}  // namespace

CredentialStore::CredentialStore(std::string account) : target_(L"Tarvik/" + widen(account)) {}

// The Credential Manager shows a generic credential's blob as UTF-16 text;
// the program's password is Shift-JIS bytes.
void CredentialStore::lookup(Done done) {
  PCREDENTIALW credential = nullptr;
  if (!::CredReadW(target_.c_str(), CRED_TYPE_GENERIC, 0, &credential)) {
    const DWORD error = ::GetLastError();
    done(error == ERROR_NOT_FOUND ? SecretReply{SecretReply::Status::kNotFound, "", ""} : failed(error));
    return;
  }
  const std::wstring text(reinterpret_cast<const wchar_t*>(credential->CredentialBlob),
                          credential->CredentialBlobSize / sizeof(wchar_t));
  ::CredFree(credential);
  done({SecretReply::Status::kOk, toSjis(narrow(text)), ""});
}

void CredentialStore::store(const std::string& password, Done done) {
  std::wstring text = widen(toUtf8(password));
  std::wstring comment = widen("Tarvik ルーターのパスワード");
  std::wstring user = L"router";
  CREDENTIALW credential{};
  credential.Type = CRED_TYPE_GENERIC;
  credential.TargetName = target_.data();
  credential.Comment = comment.data();
  credential.CredentialBlobSize = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  credential.CredentialBlob = reinterpret_cast<LPBYTE>(text.data());
  credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
  credential.UserName = user.data();
  const bool written = ::CredWriteW(&credential, 0);
  const DWORD error = written ? 0 : ::GetLastError();
  ::SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t));
  done(written ? SecretReply{SecretReply::Status::kOk, "", ""} : failed(error));
}

void CredentialStore::clear(Done done) {
  if (!::CredDeleteW(target_.c_str(), CRED_TYPE_GENERIC, 0)) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_NOT_FOUND) {
      done(failed(error));
      return;
    }
  }
  done({SecretReply::Status::kOk, "", ""});
}

}  // namespace tarvik::win32
