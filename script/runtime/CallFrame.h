// The arguments and the result of one call, the text form of argument
// lists, and the parser of a function's parameter declaration.
#pragma once

#include <cstdint>
#include <string>

#include "script/runtime/ScriptValue.h"
#include "script/runtime/ScriptVariable.h"

class CScriptObject;
class IScriptInterpreter;

class CCallFrame {
 public:
  CCallFrame() = default;
  explicit CCallFrame(IScriptInterpreter* interpreter) : m_pInterpreter(interpreter) {}
  CCallFrame(const CCallFrame&) = delete;
  CCallFrame& operator=(const CCallFrame&) = delete;

  // Set by the interpreter before it calls a method or host function; used
  // to resolve reference arguments. May be null.
  IScriptInterpreter* m_pInterpreter = nullptr;
  CScriptValue m_result;

  // Arguments are numbered from 1; an index with no argument gives null or
  // empty text, never an error.
  CScriptVariable* GetArgument(int32_t index) const;
  int32_t ArgumentCount() const { return static_cast<int32_t>(m_listArgument.Count()); }
  CVariableList& Arguments() { return m_listArgument; }
  const CVariableList& Arguments() const { return m_listArgument; }

  // The argument's GetText; with resolve set, a reference argument's text is
  // passed through the interpreter's ResolveArgText.
  std::string GetArgumentText(int32_t index, bool resolve) const;
  // The resolved texts of two arguments compared without regard to case.
  int32_t CompareArguments(int32_t i, int32_t j) const;

  // Writes data back through an argument: only an argument that names a
  // variable (it has a name, or it is a reference) is written; it is marked
  // VAR_OUT for the interpreter to copy back after the call.
  void SetArgumentText(int32_t index, const std::string& text);
  void SetArgumentInt(int32_t index, int32_t n);

  void SetResultText(const std::string& text) { m_result.SetText(text); }
  void SetResultTyped(const std::string& text, int32_t kind) { m_result.SetTypedText(text, kind); }
  void SetResultNumber(int32_t n, int32_t kind);
  // SetNumber with the result's current kind: on a fresh frame the text
  // becomes "%f" of n and the kind stays 0.
  void SetResultInt(int32_t n) { m_result.SetNumber(n); }
  void SetResultObject(CScriptObject* object) { m_result.SetObject(object); }

  // A new argument holding a Copy of the value goes in front.
  void PushFrontArgument(const CScriptValue& value);
  // Fills the arguments from an argument list text; always true.
  bool ParseArguments(const std::string& text);
  void ClearArguments() { m_listArgument.Clear(); }
  // Arguments replaced by copies of the other's; result copied.
  void CopyFrom(const CCallFrame& other);

 private:
  CVariableList m_listArgument;
};

// Reads a parameter declaration such as "(string a, out int b, CValueSet c)"
// into new variables appended to the list (name, kind, VAR_OUT). A type name
// that is no kind counts as an object when the interpreter knows a class of
// that name. False for an empty parameter or an unknown type; the list is
// then left as it was.
bool ParseParameterList(const std::string& text, IScriptInterpreter* interpreter, CVariableList& list);
