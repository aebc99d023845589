// The script runtime's registry layer and GUID text, over the platform seam.
// Script-side registry use opens one key, works and closes it before the
// statement ends; no key stays open between statements.
#pragma once

#include <cstdint>
#include <string>

#include "system/RegistryApi.h"

// Access masks of the script runtime: writes ask for read, set value and
// create subkey; reads for read only.
constexpr uint32_t kScriptRegWriteAccess = 0x2001F;
constexpr uint32_t kScriptRegReadAccess = 0x20019;

// "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT" or "HKEY_CURRENT_USER", exact
// case; any other text gives 0 (no root, so every open below it fails).
RegHandle ScriptRootKeyFromName(const std::string& name);

// One registry key handle, owned: Close and destruction close it. Each
// operation is true when the system call returned success.
class CScriptRegistryKey {
 public:
  CScriptRegistryKey() = default;
  ~CScriptRegistryKey();
  CScriptRegistryKey(const CScriptRegistryKey&) = delete;
  CScriptRegistryKey& operator=(const CScriptRegistryKey&) = delete;

  // Opens an existing key (never creates it); the new handle replaces the
  // held one. A parent of 0 fails without asking the system.
  bool Open(RegHandle parent, const std::string& subkey, uint32_t access);
  void Close();
  bool IsOpen() const { return m_hKey != 0; }
  RegHandle Handle() const { return m_hKey; }

  // REG_SZ: the text and its terminating zero.
  bool SetString(const std::string& name, const std::string& text);
  // REG_SZ or REG_EXPAND_SZ (returned as stored, not expanded), cut at the
  // first zero byte. On failure the text is left as it was, so a caller can
  // put a default into it first.
  bool QueryString(const std::string& name, std::string& text) const;
  // At most 4 bytes, whatever the value's type; a shorter value gives its
  // bytes with the rest zero. On failure the number is left as it was.
  bool QueryDword(const std::string& name, uint32_t& number) const;
  // REG_DWORD, the 4 bytes of the number.
  bool SetDword(const std::string& name, uint32_t number);
  // True when the value can be queried (no type, data or size asked for).
  bool ValueExists(const std::string& name) const;

 private:
  RegHandle m_hKey = 0;
};

// A new GUID in the 38-character registry form: braces, upper-case hex
// digits in groups of 8, 4, 4, 4 and 12. Empty text when none can be made.
std::string NewGuidText();
