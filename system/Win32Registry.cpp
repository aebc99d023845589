#include "system/Win32Registry.h"

#include <windows.h>

#include <vector>

namespace {
HKEY H(RegHandle key) { return reinterpret_cast<HKEY>(key); }
}  // namespace

long CWin32Registry::OpenKey(RegHandle parent, const std::string& subkey, uint32_t access, RegHandle& key) {
  HKEY opened = nullptr;
  LONG result = RegOpenKeyExA(H(parent), subkey.c_str(), 0, access, &opened);
  key = result == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(opened) : 0;
  return result;
}

long CWin32Registry::CreateKey(RegHandle parent, const std::string& subkey, RegHandle& key) {
  HKEY created = nullptr;
  LONG result = RegCreateKeyA(H(parent), subkey.c_str(), &created);
  key = result == ERROR_SUCCESS ? reinterpret_cast<RegHandle>(created) : 0;
  return result;
}

long CWin32Registry::CloseKey(RegHandle key) { return RegCloseKey(H(key)); }

long CWin32Registry::QueryValue(RegHandle key, const std::string& name, uint32_t* type, void* data, uint32_t* size) {
  DWORD t = 0, s = size ? *size : 0;
  LONG result = RegQueryValueExA(H(key), name.empty() ? nullptr : name.c_str(), nullptr, type ? &t : nullptr,
                                 static_cast<BYTE*>(data), size ? &s : nullptr);
  if (type) *type = t;
  if (size) *size = s;
  return result;
}

long CWin32Registry::SetValue(RegHandle key, const std::string& name, uint32_t type, const void* data, uint32_t size) {
  return RegSetValueExA(H(key), name.empty() ? nullptr : name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

long CWin32Registry::DeleteKey(RegHandle key, const std::string& subkey) { return RegDeleteKeyA(H(key), subkey.c_str()); }

long CWin32Registry::DeleteValue(RegHandle key, const std::string& name) {
  return RegDeleteValueA(H(key), name.empty() ? nullptr : name.c_str());
}

long CWin32Registry::EnumKey(RegHandle key, uint32_t index, std::string& name, uint32_t bufferSize) {
  std::vector<char> buffer(bufferSize ? bufferSize : 1, '\0');
  DWORD length = bufferSize;
  LONG result = RegEnumKeyExA(H(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) name.assign(buffer.data(), length);
  return result;
}
