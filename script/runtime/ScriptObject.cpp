#include "script/runtime/ScriptObject.h"

#include "script/runtime/CallFrame.h"
#include "script/runtime/NumberText.h"
#include "script/runtime/ScriptInterpreter.h"

CScriptObject::~CScriptObject() = default;

const std::string& CScriptObject::BoxTypeName(int32_t boxKind) {
  static const std::string kInt = "int", kDouble = "double", kString = "String";
  return boxKind == VALUE_INT ? kInt : (boxKind == VALUE_DOUBLE ? kDouble : kString);
}

CScriptObject* CScriptObject::CreateInstance(const std::string& name) {
  return InitInstance(new CScriptObject(), name);
}

CScriptObject* CScriptObject::InitInstance(CScriptObject* instance, const std::string& name) const {
  instance->m_strInstanceName = name;
  // Instances answer to the name their prototype was registered under.
  if (!m_strTypeName.empty()) instance->m_strTypeName = m_strTypeName;
  instance->m_pInterpreter = m_pInterpreter;
  return instance;
}

void CScriptObject::ClearList(const std::string& listName) {
  if (listName.empty() || listName == "m_listUserVar") m_listUserVar.Clear();
}

int32_t CScriptObject::Invoke(const std::string& method, CCallFrame& frame) { return 0; }

int32_t CScriptObject::SetMember(const std::string& name, const std::string& text) {
  if (CScriptVariable* member = m_listUserVar.Find(name)) {
    member->m_value.SetText(text);
    return 1;
  }
  auto* member = new CScriptVariable();
  member->m_strName = name;
  member->m_value.SetText(text);
  m_listUserVar.Append(member);
  return 1;
}

CScriptVariable* CScriptObject::FindMember(const std::string& name) { return m_listUserVar.Find(name); }

int32_t CScriptObject::ReservedSlot6(void* arg) { return 0; }
int32_t CScriptObject::ReservedSlot7(void* arg) { return 0; }
std::string CScriptObject::ToText() const { return std::string(); }
int32_t CScriptObject::ToInt() const { return 0; }
double CScriptObject::ToDouble() const { return 0.0; }
int32_t CScriptObject::IsEqual(const CScriptObject* other) const { return 0; }

std::string CScriptObject::ResolvedArgument(const CCallFrame& frame, int32_t index) const {
  std::string text = frame.GetArgumentText(index, true);
  if (m_pInterpreter) text = m_pInterpreter->ResolveArgText(text);
  return text;
}

int32_t CScriptObject::ResolvedNumber(const CCallFrame& frame, int32_t index) const {
  return ReadIntText(ResolvedArgument(frame, index));
}
