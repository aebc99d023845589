// The engine's construction, its registries and lists, and the operations a
// host embeds it with.
#include "script/ScriptEngine.h"

#include "app/Text.h"
#include "script/runtime/BoxedObjects.h"
#include "script/runtime/RegKeyObject.h"
#include "script/runtime/ValueSet.h"

CScriptEngine::CScriptEngine() {
  RegisterObject("RegKey", new CRegKey());
  RegisterClass(new CValueSet(), std::string());
  RegisterClass(new CRegKey(), std::string());
  RegisterClass(new CStringObject(), std::string());
  RegisterClass(new CIntObject(), std::string());
  RegisterClass(new CDoubleObject(), std::string());
}

CScriptEngine::~CScriptEngine() { ClearLists(std::string()); }

CScriptObject* CScriptEngine::CreateExternalObject(const std::string& name) { return nullptr; }

CSegment* CScriptEngine::FindSegment(const std::string& name) const {
  for (const std::unique_ptr<CSegment>& segment : m_listSegment) {
    if (EqualsNoCase(segment->m_strName, name)) return segment.get();
  }
  return nullptr;
}

void CScriptEngine::RegisterClass(CScriptObject* prototype, const std::string& name) {
  if (!prototype) return;
  if (!name.empty()) prototype->SetTypeName(name);
  prototype->SetInterpreter(this);
  prototype->AddRef();
  m_listExtClass.push_back(prototype);
}

void CScriptEngine::ClearLists(const std::string& name) {
  const bool all = name.empty();
  // The code of running calls and the calls themselves are still in use
  // while a call runs (a host object may ask for this from a method).
  const bool running = !m_listSegIns.empty();
  if ((all || name == "m_listSegment") && !running) m_listSegment.clear();
  if (all || name == "m_listUserVar") m_listUserVar.Clear();
  if (all || name == "m_listExtClass") {
    std::vector<CScriptObject*> classes;
    classes.swap(m_listExtClass);
    for (CScriptObject* prototype : classes) prototype->Release();
  }
  if ((all || name == "m_listSegIns") && !running) m_listSegIns.clear();
}

void CScriptEngine::RegisterObject(const std::string& name, CScriptObject* object) {
  if (object) object->SetInterpreter(this);
  auto* variable = new CScriptVariable();
  variable->m_strName = name;
  variable->m_value.SetObject(object);
  m_listUserVar.Append(variable);
}

void CScriptEngine::Reset() {
  // The whole error state goes, so that a later error that sets only the
  // indicator shows no code or word of an earlier one.
  ClearError();
  ClearLists(std::string());
}

void CScriptEngine::ClearError() {
  m_nError = 0;
  m_nErrorCode = 0;
  m_nErrorLine = 0;
  m_strErrorWord.clear();
  m_bErrorLineNoted = false;
}

void CScriptEngine::SetError(int32_t code, const std::string& word, int32_t line) {
  if (m_nError != 0) return;
  m_nErrorCode = code;
  m_nError = 1;
  m_nErrorLine = line;
  m_strErrorWord = word;
}
