#pragma once

#include "system/RegistryApi.h"

class CWin32Registry : public IRegistry {
 public:
  long OpenKey(RegHandle parent, const std::string& subkey, uint32_t access, RegHandle& key) override;
  long CreateKey(RegHandle parent, const std::string& subkey, RegHandle& key) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::string& name, uint32_t* type, void* data, uint32_t* size) override;
  long SetValue(RegHandle key, const std::string& name, uint32_t type, const void* data, uint32_t size) override;
  long DeleteKey(RegHandle key, const std::string& subkey) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long EnumKey(RegHandle key, uint32_t index, std::string& name, uint32_t bufferSize) override;
};
