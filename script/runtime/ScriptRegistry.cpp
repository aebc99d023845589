#include "script/runtime/ScriptRegistry.h"

#include <cstring>
#include <vector>

#include "app/Text.h"
#include "system/Platform.h"
#include "system/Shell.h"

RegHandle ScriptRootKeyFromName(const std::string& name) {
  if (name == "HKEY_LOCAL_MACHINE") return kHkeyLocalMachine;
  if (name == "HKEY_CLASSES_ROOT") return kHkeyClassesRoot;
  if (name == "HKEY_CURRENT_USER") return kHkeyCurrentUser;
  return 0;
}

CScriptRegistryKey::~CScriptRegistryKey() { Close(); }

bool CScriptRegistryKey::Open(RegHandle parent, const std::string& subkey, uint32_t access) {
  if (parent == 0) return false;
  RegHandle key = 0;
  if (Sys().registry->OpenKey(parent, subkey, access, key) != kErrorSuccess) return false;
  Close();
  m_hKey = key;
  return true;
}

void CScriptRegistryKey::Close() {
  if (m_hKey == 0) return;
  Sys().registry->CloseKey(m_hKey);
  m_hKey = 0;
}

bool CScriptRegistryKey::SetString(const std::string& name, const std::string& text) {
  // c_str() carries the terminating zero that the value stores.
  return Sys().registry->SetValue(m_hKey, name, kRegSz, text.c_str(), static_cast<uint32_t>(text.size() + 1)) ==
         kErrorSuccess;
}

bool CScriptRegistryKey::QueryString(const std::string& name, std::string& text) const {
  uint32_t type = 0, size = 0;
  if (Sys().registry->QueryValue(m_hKey, name, &type, nullptr, &size) != kErrorSuccess) return false;
  if (type != kRegSz && type != kRegExpandSz) return false;
  std::vector<char> data(size);
  uint32_t got = size;
  if (size > 0 && Sys().registry->QueryValue(m_hKey, name, nullptr, data.data(), &got) != kErrorSuccess) return false;
  if (got > size) got = size;
  const char* zero = static_cast<const char*>(std::memchr(data.data(), 0, got));
  text.assign(data.data(), zero ? static_cast<size_t>(zero - data.data()) : got);
  return true;
}

bool CScriptRegistryKey::QueryDword(const std::string& name, uint32_t& number) const {
  uint32_t read = 0;
  uint32_t size = sizeof(read);
  if (Sys().registry->QueryValue(m_hKey, name, nullptr, &read, &size) != kErrorSuccess) return false;
  number = read;
  return true;
}

bool CScriptRegistryKey::SetDword(const std::string& name, uint32_t number) {
  return Sys().registry->SetValue(m_hKey, name, kRegDword, &number, sizeof(number)) == kErrorSuccess;
}

bool CScriptRegistryKey::ValueExists(const std::string& name) const {
  return Sys().registry->QueryValue(m_hKey, name, nullptr, nullptr, nullptr) == kErrorSuccess;
}

std::string NewGuidText() {
  std::string text = Sys().shell->NewGuidString();
  // Anything but the braced 38-character form counts as no GUID.
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::string();
  return ToUpperText(text);
}
