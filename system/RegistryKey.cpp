#include "system/RegistryKey.h"

#include <algorithm>
#include <vector>

#include "app/Text.h"
#include "records/ProfileDocument.h"
#include "system/Platform.h"

namespace {

constexpr uint32_t kReadWrite = kKeyRead | kKeyWrite;
// Registry key names are at most 255 characters.
constexpr uint32_t kKeyNameBuffer = 256;

IRegistry& Registry() { return *Sys().registry; }

}  // namespace

CRegistryKey::~CRegistryKey() { Close(); }

bool CRegistryKey::Create(RegHandle parent, const std::string& subkey) {
  Close();
  if (parent == 0) return false;
  RegHandle key = 0;
  if (Registry().CreateKey(parent, subkey, key) != kErrorSuccess) return false;
  m_hKey = key;
  return true;
}

bool CRegistryKey::Open(RegHandle parent, const std::string& subkey, uint32_t access) {
  Close();
  if (parent == 0) return false;
  RegHandle key = 0;
  if (Registry().OpenKey(parent, subkey, access, key) != kErrorSuccess) return false;
  m_hKey = key;
  return true;
}

void CRegistryKey::Close() {
  if (m_hKey == 0) return;
  Registry().CloseKey(m_hKey);
  m_hKey = 0;
}

bool CRegistryKey::SetString(const std::string& name, const std::string& text) {
  if (m_hKey == 0) return false;
  return Registry().SetValue(m_hKey, name, kRegSz, text.c_str(), static_cast<uint32_t>(text.size() + 1)) ==
         kErrorSuccess;
}

bool CRegistryKey::QueryString(const std::string& name, std::string& text) {
  text.clear();
  if (m_hKey == 0) return false;
  uint32_t type = 0, size = 0;
  if (Registry().QueryValue(m_hKey, name, &type, nullptr, &size) != kErrorSuccess || type != kRegSz) return false;
  std::vector<char> buffer(size + 1, '\0');
  uint32_t got = size;
  // The value may have changed since its size was asked for.
  if (Registry().QueryValue(m_hKey, name, nullptr, buffer.data(), &got) != kErrorSuccess) return false;
  const char* begin = buffer.data();
  text.assign(begin, std::find(begin, begin + std::min(got, size), '\0'));
  return true;
}

bool CRegistryKey::QueryDword(const std::string& name, uint32_t& number) {
  if (m_hKey == 0) return false;
  // A value shorter than 4 bytes gives its bytes with zeros above them.
  unsigned char bytes[4] = {0, 0, 0, 0};
  uint32_t size = sizeof(bytes);
  if (Registry().QueryValue(m_hKey, name, nullptr, bytes, &size) != kErrorSuccess) return false;
  number = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return true;
}

bool CRegistryKey::DeleteKey(const std::string& subkey) {
  if (m_hKey == 0) return false;
  return Registry().DeleteKey(m_hKey, subkey) == kErrorSuccess;
}

bool CRegistryKey::DeleteValue(const std::string& name) {
  if (m_hKey == 0) return false;
  return Registry().DeleteValue(m_hKey, name) == kErrorSuccess;
}

bool CRegistryKey::DeleteKeyTree(const std::string& subkey) {
  // An empty name would mean the held key itself and everything below it.
  if (m_hKey == 0 || subkey.empty()) return false;
  CRegistryKey opened;
  if (!opened.Open(m_hKey, subkey, kReadWrite)) return false;
  std::string child;
  // Index 0 again each time: the subkey just deleted no longer holds it.
  while (Registry().EnumKey(opened.Handle(), 0, child, kKeyNameBuffer) == kErrorSuccess) {
    if (!opened.DeleteKeyTree(child)) return false;
  }
  opened.Close();
  return DeleteKey(subkey);
}

RegHandle RootKeyFromName(const std::string& name) {
  if (name == "HKEY_LOCAL_MACHINE") return kHkeyLocalMachine;
  if (name == "HKEY_CLASSES_ROOT") return kHkeyClassesRoot;
  if (name == "HKEY_CURRENT_USER") return kHkeyCurrentUser;
  return 0;
}

bool RemoveRegistryItem(const std::string& text) {
  std::string rest = text;
  std::string type, root, path, name;
  if (!SplitAt(rest, type, ",") || !SplitAt(rest, root, ",") || !SplitAt(rest, path, ",") ||
      !SplitAt(rest, name, ","))
    return false;
  CRegistryKey key;
  if (!key.Open(RootKeyFromName(root), path, kReadWrite)) return false;
  if (EqualsNoCase(type, "Key"))
    key.DeleteKeyTree(name);
  else
    key.DeleteValue(name);
  key.Close();
  return true;
}
