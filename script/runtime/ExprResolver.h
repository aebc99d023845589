// How the expression evaluator reaches variables and functions: it knows
// nothing of the interpreter and asks a resolver instead.
#pragma once

#include <cstdint>
#include <string>

class CCallFrame;
class CScriptValue;
class IScriptInterpreter;

// The base answers no to everything. The operations are in a fixed order.
class IExprResolver {
 public:
  virtual ~IExprResolver() = default;
  // Copies the named variable's current value into the value (Copy); false,
  // with the value untouched, when there is no such variable.
  virtual bool Resolve(const std::string& name, CScriptValue& value);
  // Calls a script or host function, or an object method ("object.method"),
  // with the arguments in the frame; the callee puts its result there.
  // 1 on success, 0 on failure.
  virtual int32_t CallFunction(const std::string& name, CCallFrame& frame);
  virtual bool IsVariable(const std::string& name);
  // Asked about names that are not variables; the evaluator ignores the answer.
  virtual bool QueryName(const std::string& name);
};

// The interpreter's resolver: variable lookup and Invoke of the engine.
class CEngineResolver : public IExprResolver {
 public:
  explicit CEngineResolver(IScriptInterpreter* engine = nullptr) : m_pEngine(engine) {}
  void SetEngine(IScriptInterpreter* engine) { m_pEngine = engine; }
  IScriptInterpreter* GetEngine() const { return m_pEngine; }

  bool Resolve(const std::string& name, CScriptValue& value) override;
  // The frame's interpreter becomes the engine, so that the callee can
  // resolve reference arguments; then the engine's Invoke.
  int32_t CallFunction(const std::string& name, CCallFrame& frame) override;
  bool IsVariable(const std::string& name) override;

 private:
  IScriptInterpreter* m_pEngine;
};
