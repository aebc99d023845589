// The program's registry layer: one key handle per object, the root-key names
// that install records use, and the removal texts ("Type,Root,Path,Name")
// that undo a recorded registry item. Written over Sys().registry.
#pragma once

#include <cstdint>
#include <string>

#include "system/RegistryApi.h"

// Holds one open key, or none; closes it on Close and on destruction. Every
// operation returns true when the system call reported success.
class CRegistryKey {
 public:
  CRegistryKey() = default;
  virtual ~CRegistryKey();
  CRegistryKey(const CRegistryKey&) = delete;
  CRegistryKey& operator=(const CRegistryKey&) = delete;

  // Creates or opens parent\subkey with the default access. The parent is a
  // root key or the handle of another open key; 0 names no key and fails.
  bool Create(RegHandle parent, const std::string& subkey);
  bool Open(RegHandle parent, const std::string& subkey, uint32_t access);
  void Close();

  bool IsOpen() const { return m_hKey != 0; }
  RegHandle Handle() const { return m_hKey; }

  // A REG_SZ value with its terminating zero.
  bool SetString(const std::string& name, const std::string& text);
  // Only REG_SZ values; the text is emptied first and ends at the first zero.
  bool QueryString(const std::string& name, std::string& text);
  // At most 4 bytes of a value of any type; the number is unchanged on failure.
  bool QueryDword(const std::string& name, uint32_t& number);
  bool DeleteKey(const std::string& subkey);
  bool DeleteValue(const std::string& name);
  // Deletes the subkey with all its subkeys, depth first. The first subkey
  // that cannot be deleted stops the whole operation.
  bool DeleteKeyTree(const std::string& subkey);

 private:
  RegHandle m_hKey = 0;
};

// "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT" and "HKEY_CURRENT_USER", letter
// case included; 0 for any other text.
RegHandle RootKeyFromName(const std::string& name);

// Executes one removal text "Type,Root,Path,Name": a Type of "Key" (in any
// letter case) deletes the subkey tree Name below Path, any other Type the
// value Name in Path. Path itself always stays. True when the text was
// complete and Path could be opened, whatever the deletion did.
bool RemoveRegistryItem(const std::string& text);
