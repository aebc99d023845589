// Feeds any text to the expression evaluator's three entry points, with an
// engine stand-in that knows a few variables, an object and some calls.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/runtime/BoxedObjects.h"
#include "script/runtime/CallFrame.h"
#include "script/runtime/ExprEvaluator.h"
#include "script/runtime/ExprResolver.h"
#include "script/runtime/ValueSet.h"
#include "tests/fakes/FakeInterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CFakeInterpreter engine;
  engine.AddVariable("x", VALUE_INT, "5");
  engine.AddVariable("d", VALUE_DOUBLE, "2.5");
  engine.AddVariable("s", VALUE_STRING, "abc");
  engine.AddVariable("t", VALUE_TEXT, "7");
  engine.AddVariable("@@state", VALUE_TEXT, "1");
  engine.AddVariable("r", VALUE_REFERENCE, "x");
  engine.AddObject("set", new CValueSet());
  engine.m_onCall = [](const std::string& name, CCallFrame& frame) -> int32_t {
    if (name == "int3") frame.SetResultNumber(3, VALUE_INT);
    if (name == "one") frame.SetResultInt(1);
    if (name == "echo") frame.SetResultText(frame.GetArgumentText(1, true));
    if (name == "out") frame.SetArgumentText(1, "written");
    return name == "fails" ? 0 : 1;
  };
  CEngineResolver resolver(&engine);

  CExprEvaluator value(&resolver);
  CScriptValue result;
  if (value.Evaluate(text, result)) (void)result.GetText();
  CExprEvaluator condition(&resolver);
  (void)condition.EvaluateCondition(text);
  CExprEvaluator arguments(&resolver);
  CCallFrame frame(&engine);
  if (arguments.EvaluateArguments(text, frame)) {
    for (int32_t i = 1; i <= frame.ArgumentCount(); ++i) (void)frame.GetArgumentText(i, true);
  }
  CExprEvaluator alone;
  (void)alone.Evaluate(text, result);
  return 0;
}
