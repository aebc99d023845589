// What the script runtime needs of the interpreter. The script engine
// implements it; values, frames and objects hold it as a plain pointer that
// may be null.
#pragma once

#include <cstdint>
#include <string>

class CCallFrame;
class CScriptObject;
class CScriptValue;
class CScriptVariable;

class IScriptInterpreter {
 public:
  virtual ~IScriptInterpreter() = default;

  // An empty text stays empty; the name of a visible variable gives its
  // GetText; a text of at least 2 characters in double quotes gives the text
  // between them; anything else is returned unchanged.
  virtual std::string ResolveArgText(const std::string& text) = 0;
  // The variable of that name in the scope of the running call (a name with
  // a dot is an object member), or null. No reference for the caller.
  virtual CScriptVariable* FindVariable(const std::string& name) = 0;
  // The registered class prototype of that type name (any case), or null.
  virtual CScriptObject* FindClass(const std::string& typeName) = 0;
  // Calls an object method ("object.method"), a script function or a
  // built-in with the frame; 1 on success, 0 on failure.
  virtual int32_t Invoke(const std::string& name, CCallFrame& frame) = 0;
  // Sets a variable (converted into its own kind), creating a global when
  // none of that name is visible.
  virtual void SetVariableText(const std::string& name, const std::string& text) = 0;
  virtual void SetVariableValue(const std::string& name, const CScriptValue& value) = 0;
};
