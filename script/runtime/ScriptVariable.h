// Named storage of scripts, and the ordered variable lists that objects,
// call frames and the interpreter keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>
#include <string>

#include "script/runtime/ScriptValue.h"

// Flag bit: on a formal parameter, declared "out"; on an actual argument,
// written by the callee and to be copied back to the caller's variable.
constexpr int32_t VAR_OUT = 1;

class CScriptVariable : public CRefObject {
 public:
  CScriptVariable() = default;
  CScriptVariable(const CScriptVariable&) = delete;
  CScriptVariable& operator=(const CScriptVariable&) = delete;

  int32_t m_nFlags = 0;
  std::string m_strName;  // compared without regard to case everywhere
  CScriptValue m_value;

  // Flags, name and value (CScriptValue::Copy).
  void Copy(const CScriptVariable& other);
  // Name set; the value's kind set without touching its box.
  void SetNameAndKind(const std::string& name, int32_t kind);
  std::string GetText() const { return m_value.GetText(); }
  int32_t GetKind() const { return m_value.GetKind(); }
  bool IsObject() const { return m_value.GetKind() == VALUE_OBJECT; }
  // The attached object for kind 50, else null; no reference for the caller.
  CScriptObject* GetScriptObject() const;
  void Assign(const CScriptValue& value) { m_value.Copy(value); }
};

// An ordered list holding one reference per entry, released when the entry
// is removed or the list cleared. Lookup is linear, first match wins, names
// compared without regard to case.
class CVariableList {
 public:
  CVariableList() = default;
  ~CVariableList();
  CVariableList(const CVariableList&) = delete;
  CVariableList& operator=(const CVariableList&) = delete;

  size_t Count() const { return m_items.size(); }
  bool IsEmpty() const { return m_items.empty(); }
  // 0-based; null past the end.
  CScriptVariable* At(size_t index) const { return index < m_items.size() ? m_items[index] : nullptr; }
  CScriptVariable* Find(const std::string& name) const;

  // Each takes one reference to the variable. Putting in front moves the
  // others: build long lists by appending.
  void Append(CScriptVariable* variable);
  void PushFront(CScriptVariable* variable);
  // Moves every entry of the other list to the end of this one.
  void TakeAll(CVariableList& other);
  void RemoveAt(size_t index);
  void Clear();

 private:
  std::vector<CScriptVariable*> m_items;  // an empty list allocates nothing
};
