#include "tests/fakes/FakeInterpreter.h"

#include "app/Text.h"

CFakeInterpreter::~CFakeInterpreter() {
  m_listUserVar.Clear();
  for (CScriptObject* prototype : m_listExtClass) prototype->Release();
}

CScriptVariable* CFakeInterpreter::AddVariable(const std::string& name, int32_t kind, const std::string& text) {
  auto* variable = new CScriptVariable();
  variable->m_strName = name;
  if (text.empty()) {
    variable->m_value.SetKind(kind);
  } else {
    variable->m_value.SetTypedText(text, kind);
  }
  m_listUserVar.Append(variable);
  return variable;
}

CScriptVariable* CFakeInterpreter::AddObject(const std::string& name, CScriptObject* object) {
  object->SetInterpreter(this);
  auto* variable = new CScriptVariable();
  variable->m_strName = name;
  variable->m_value.SetObject(object);
  m_listUserVar.Append(variable);
  return variable;
}

void CFakeInterpreter::AddClass(CScriptObject* prototype) {
  prototype->SetInterpreter(this);
  prototype->AddRef();
  m_listExtClass.push_back(prototype);
}

std::string CFakeInterpreter::ResolveArgText(const std::string& text) {
  if (text.empty()) return text;
  if (CScriptVariable* variable = FindVariable(text)) return variable->GetText();
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

CScriptVariable* CFakeInterpreter::FindVariable(const std::string& name) {
  size_t dot = name.find('.');
  if (dot != std::string::npos && dot >= 1) {
    CScriptVariable* holder = m_listUserVar.Find(name.substr(0, dot));
    CScriptObject* object = holder ? holder->m_value.GetAttachedObject() : nullptr;
    return object ? object->FindMember(name.substr(dot + 1)) : nullptr;
  }
  return m_listUserVar.Find(name);
}

CScriptObject* CFakeInterpreter::FindClass(const std::string& typeName) {
  for (CScriptObject* prototype : m_listExtClass) {
    if (EqualsNoCase(prototype->GetTypeName(), typeName)) return prototype;
  }
  return nullptr;
}

int32_t CFakeInterpreter::Invoke(const std::string& name, CCallFrame& frame) {
  int32_t result = 0;
  size_t dot = name.find('.');
  if (dot != std::string::npos && dot >= 1) {
    CScriptVariable* holder = m_listUserVar.Find(name.substr(0, dot));
    CScriptObject* object = holder ? holder->m_value.GetAttachedObject() : nullptr;
    if (!object) return 0;
    frame.m_pInterpreter = this;
    result = object->Invoke(name.substr(dot + 1), frame);
  } else {
    CCall call;
    call.name = name;
    for (size_t i = 0; i < frame.Arguments().Count(); ++i) {
      const CScriptVariable* argument = frame.Arguments().At(i);
      call.arguments.emplace_back(argument->GetKind(), argument->GetText());
    }
    m_calls.push_back(call);
    result = m_onCall ? m_onCall(name, frame) : 1;
  }
  if (result == 0) return 0;
  for (size_t i = 0; i < frame.Arguments().Count(); ++i) {
    const CScriptVariable* argument = frame.Arguments().At(i);
    if ((argument->m_nFlags & VAR_OUT) && !argument->m_strName.empty()) {
      SetVariableValue(argument->m_strName, argument->m_value);
    }
  }
  return 1;
}

void CFakeInterpreter::SetVariableText(const std::string& name, const std::string& text) {
  CScriptValue value;
  value.SetText(text);
  SetVariableValue(name, value);
}

void CFakeInterpreter::SetVariableValue(const std::string& name, const CScriptValue& value) {
  if (CScriptVariable* variable = FindVariable(name)) {
    variable->m_value.AssignConverted(value);
    return;
  }
  auto* variable = new CScriptVariable();
  variable->m_strName = name;
  variable->m_value.AssignConverted(value);
  m_listUserVar.Append(variable);
}
