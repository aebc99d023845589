// A stand-in for the script engine as the script runtime sees it: global
// variables, registered class prototypes, object method calls, and calls of
// other names answered by a function the test supplies.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "script/runtime/CallFrame.h"
#include "script/runtime/ScriptInterpreter.h"
#include "script/runtime/ScriptObject.h"
#include "script/runtime/ScriptVariable.h"

class CFakeInterpreter : public IScriptInterpreter {
 public:
  struct CCall {
    std::string name;
    std::vector<std::pair<int32_t, std::string>> arguments;  // kind and GetText of each
  };

  CFakeInterpreter() = default;
  ~CFakeInterpreter() override;

  CVariableList m_listUserVar;
  std::vector<CCall> m_calls;
  // Answers calls of names without a dot; unset, every such call succeeds
  // with an empty result.
  std::function<int32_t(const std::string&, CCallFrame&)> m_onCall;

  // A new global with the kind and, unless empty, the text (SetTypedText).
  CScriptVariable* AddVariable(const std::string& name, int32_t kind, const std::string& text = std::string());
  // A global object variable; the variable holds the reference.
  CScriptVariable* AddObject(const std::string& name, CScriptObject* object);
  // Registers a prototype (the list holds a reference) and links it here.
  void AddClass(CScriptObject* prototype);

  std::string ResolveArgText(const std::string& text) override;
  CScriptVariable* FindVariable(const std::string& name) override;
  CScriptObject* FindClass(const std::string& typeName) override;
  // "object.method" runs the object's method; other names are recorded and
  // passed to m_onCall. After a success, flagged named arguments are
  // written back to the variables they name.
  int32_t Invoke(const std::string& name, CCallFrame& frame) override;
  void SetVariableText(const std::string& name, const std::string& text) override;
  void SetVariableValue(const std::string& name, const CScriptValue& value) override;

 private:
  std::vector<CScriptObject*> m_listExtClass;
};
