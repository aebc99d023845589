#include "script/runtime/ExprResolver.h"

#include "script/runtime/CallFrame.h"
#include "script/runtime/ScriptInterpreter.h"
#include "script/runtime/ScriptVariable.h"

bool IExprResolver::Resolve(const std::string& name, CScriptValue& value) { return false; }
int32_t IExprResolver::CallFunction(const std::string& name, CCallFrame& frame) { return 0; }
bool IExprResolver::IsVariable(const std::string& name) { return false; }
bool IExprResolver::QueryName(const std::string& name) { return false; }

bool CEngineResolver::Resolve(const std::string& name, CScriptValue& value) {
  CScriptVariable* variable = m_pEngine ? m_pEngine->FindVariable(name) : nullptr;
  if (!variable) return false;
  value.Copy(variable->m_value);
  return true;
}

int32_t CEngineResolver::CallFunction(const std::string& name, CCallFrame& frame) {
  if (!m_pEngine) return 0;
  frame.m_pInterpreter = m_pEngine;
  return m_pEngine->Invoke(name, frame);
}

bool CEngineResolver::IsVariable(const std::string& name) {
  return m_pEngine && m_pEngine->FindVariable(name) != nullptr;
}
