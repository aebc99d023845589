// Feeds any text to the argument-list parser (with and without an
// interpreter, then reading and writing back the arguments) and to the
// parameter-declaration parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/runtime/CallFrame.h"
#include "script/runtime/ValueSet.h"
#include "tests/fakes/FakeInterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CFakeInterpreter engine;
  engine.AddVariable("x", VALUE_INT, "5");
  engine.AddVariable("s", VALUE_STRING, "abc");
  engine.AddClass(new CValueSet());

  CCallFrame frame(&engine);
  frame.ParseArguments(text);
  for (int32_t i = 0; i <= frame.ArgumentCount() + 1; ++i) {
    (void)frame.GetArgumentText(i, true);
    (void)frame.CompareArguments(i, 1);
  }
  frame.SetArgumentText(1, "written");
  frame.SetArgumentInt(2, 7);
  CCallFrame copy;
  copy.CopyFrom(frame);
  copy.PushFrontArgument(frame.m_result);

  CCallFrame plain;
  plain.ParseArguments(text);

  CVariableList parameters;
  (void)ParseParameterList(text, &engine, parameters);
  (void)ParseParameterList(text, nullptr, parameters);
  return 0;
}
