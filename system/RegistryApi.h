// The registry as the system offers it: keys by handle, typed values, and the
// system's result codes. CRegistryKey and the script runtime's registry
// helpers are written over this; the Win32 implementation passes each call
// straight to the registry functions, and native tests use an in-memory one.
#pragma once

#include <cstdint>
#include <string>

typedef uintptr_t RegHandle;  // 0 is no key

// Root keys, with the system's handle values.
constexpr RegHandle kHkeyClassesRoot = 0x80000000u;
constexpr RegHandle kHkeyCurrentUser = 0x80000001u;
constexpr RegHandle kHkeyLocalMachine = 0x80000002u;
constexpr RegHandle kHkeyUsers = 0x80000003u;

// Result codes, value types and access rights with the system's values.
enum : long {
  kErrorSuccess = 0,
  kErrorFileNotFound = 2,
  kErrorAccessDenied = 5,
  kErrorInvalidHandle = 6,
  kErrorMoreData = 234,
  kErrorNoMoreItems = 259,
  kErrorKeyDeleted = 1018,
};
enum : uint32_t { kRegNone = 0, kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7 };
enum : uint32_t {
  kKeyQueryValue = 0x0001,
  kKeySetValue = 0x0002,
  kKeyCreateSubKey = 0x0004,
  kKeyEnumerateSubKeys = 0x0008,
  kKeyNotify = 0x0010,
  kKeyCreateLink = 0x0020,
  kReadControl = 0x00020000,
  kDelete = 0x00010000,
  kKeyRead = 0x00020019,
  kKeyWrite = 0x00020006,
  kKeyAllAccess = 0x000F003F,
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // RegOpenKeyExA: opens parent\subkey with the access mask.
  virtual long OpenKey(RegHandle parent, const std::string& subkey, uint32_t access, RegHandle& key) = 0;
  // RegCreateKeyA: creates or opens parent\subkey with the default access.
  virtual long CreateKey(RegHandle parent, const std::string& subkey, RegHandle& key) = 0;
  virtual long CloseKey(RegHandle key) = 0;
  // RegQueryValueExA: type, data and size may each be null. With data null
  // the size needed is reported; a buffer too small gives kErrorMoreData.
  // An empty name is the key's default value.
  virtual long QueryValue(RegHandle key, const std::string& name, uint32_t* type, void* data, uint32_t* size) = 0;
  // RegSetValueExA.
  virtual long SetValue(RegHandle key, const std::string& name, uint32_t type, const void* data, uint32_t size) = 0;
  // RegDeleteKeyA: one subkey of the key.
  virtual long DeleteKey(RegHandle key, const std::string& subkey) = 0;
  virtual long DeleteValue(RegHandle key, const std::string& name) = 0;
  // RegEnumKeyExA: the name of the subkey at index; bufferSize counts the
  // terminating zero, so a name of bufferSize bytes or more gives kErrorMoreData.
  virtual long EnumKey(RegHandle key, uint32_t index, std::string& name, uint32_t bufferSize) = 0;
};
