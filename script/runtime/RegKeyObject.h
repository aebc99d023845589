// CRegKey: registry access for scripts. Every method opens an existing key
// below a root given by name, works and closes it before returning; nothing
// is created and no key stays open between calls.
#pragma once

#include <cstdint>
#include <string>

#include "script/runtime/ScriptObject.h"

class CRegKey : public CScriptObject {
 public:
  CRegKey();

  CScriptObject* CreateInstance(const std::string& name) override;
  // "SetRegStrValue", "GetRegStrValue", "GetRegStrValueEx",
  // "SetRegDWordValue", "GetRegDWordValue", "GetRegDWordValueEx",
  // "ExistValue"; each takes root name, subkey and value name first.
  int32_t Invoke(const std::string& method, CCallFrame& frame) override;
  // The class has no members.
  int32_t SetMember(const std::string& name, const std::string& text) override { return 0; }
  CScriptVariable* FindMember(const std::string& name) override { return nullptr; }
};
