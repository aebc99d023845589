// CValueSet: a collection of named texts for scripts and the host.
#pragma once

#include <cstdint>
#include <string>

#include "script/runtime/ScriptObject.h"

class CValueSet : public CScriptObject {
 public:
  CValueSet();
  ~CValueSet() override;

  CScriptObject* CreateInstance(const std::string& name) override;
  // "SetValue" (key, text), "GetValue" (key), "ClearData".
  int32_t Invoke(const std::string& method, CCallFrame& frame) override;

  // The entry of that key (any case) or null; no reference for the caller.
  CScriptVariable* FindEntry(const std::string& key) const { return m_listEntry.Find(key); }
  // The entry's text, or empty text.
  std::string GetValueText(const std::string& key) const;
  // Sets the entry's text, adding the entry (untyped text) when missing.
  void SetValueText(const std::string& key, const std::string& text);
  size_t EntryCount() const { return m_listEntry.Count(); }

 private:
  CVariableList m_listEntry;  // separate from the member variables
};
