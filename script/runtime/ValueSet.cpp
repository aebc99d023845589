#include "script/runtime/ValueSet.h"

#include "app/Text.h"
#include "script/runtime/CallFrame.h"

CValueSet::CValueSet() { SetTypeName("CValueSet"); }

CValueSet::~CValueSet() { m_listEntry.Clear(); }

CScriptObject* CValueSet::CreateInstance(const std::string& name) { return InitInstance(new CValueSet(), name); }

std::string CValueSet::GetValueText(const std::string& key) const {
  CScriptVariable* entry = m_listEntry.Find(key);
  return entry ? entry->GetText() : std::string();
}

void CValueSet::SetValueText(const std::string& key, const std::string& text) {
  if (CScriptVariable* entry = m_listEntry.Find(key)) {
    entry->m_value.SetText(text);
    return;
  }
  auto* entry = new CScriptVariable();
  entry->m_strName = key;
  entry->m_value.SetText(text);
  m_listEntry.Append(entry);
}

int32_t CValueSet::Invoke(const std::string& method, CCallFrame& frame) {
  if (EqualsNoCase(method, "SetValue")) {
    SetValueText(frame.GetArgumentText(1, true), frame.GetArgumentText(2, true));
    return 1;
  }
  if (EqualsNoCase(method, "GetValue")) {
    frame.SetResultText(GetValueText(frame.GetArgumentText(1, true)));
    return 1;
  }
  if (EqualsNoCase(method, "ClearData")) {
    m_listEntry.Clear();
    return 1;
  }
  return 0;
}
