#include "script/runtime/ScriptVariable.h"

#include <utility>

#include "app/Text.h"

void CScriptVariable::Copy(const CScriptVariable& other) {
  if (this == &other) return;
  m_nFlags = other.m_nFlags;
  m_strName = other.m_strName;
  m_value.Copy(other.m_value);
}

void CScriptVariable::SetNameAndKind(const std::string& name, int32_t kind) {
  m_strName = name;
  m_value.SetKind(kind);
}

CScriptObject* CScriptVariable::GetScriptObject() const {
  return m_value.GetKind() == VALUE_OBJECT ? m_value.GetAttachedObject() : nullptr;
}

namespace {

// EqualsNoCase, answered without the system's case mapping while both names
// are plain ASCII (every lookup of a running script passes here).
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) return EqualsNoCase(a, b);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

CVariableList::~CVariableList() {
  if (!m_items.empty()) Clear();
}

CScriptVariable* CVariableList::Find(const std::string& name) const {
  for (CScriptVariable* variable : m_items) {
    if (SameName(variable->m_strName, name)) return variable;
  }
  return nullptr;
}

void CVariableList::Append(CScriptVariable* variable) {
  variable->AddRef();
  m_items.push_back(variable);
}

void CVariableList::PushFront(CScriptVariable* variable) {
  variable->AddRef();
  m_items.insert(m_items.begin(), variable);
}

void CVariableList::TakeAll(CVariableList& other) {
  if (&other == this) return;
  for (CScriptVariable* variable : other.m_items) m_items.push_back(variable);
  other.m_items.clear();
}

void CVariableList::RemoveAt(size_t index) {
  if (index >= m_items.size()) return;
  CScriptVariable* variable = m_items[index];
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
  variable->Release();
}

void CVariableList::Clear() {
  // Released only once the list is empty, so that a destructor running
  // meanwhile never sees an entry that is going away.
  std::vector<CScriptVariable*> items;
  items.swap(m_items);
  for (CScriptVariable* variable : items) variable->Release();
}
