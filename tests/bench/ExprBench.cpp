// Times the evaluator's share of a script loop: per iteration the condition
// "i < N", the right-hand side "i + 1" and its assignment back into the int
// variable, as the interpreter does them; and a heavier mixed expression.
// Prints milliseconds per million iterations.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "script/runtime/CallFrame.h"
#include "script/runtime/ExprEvaluator.h"
#include "script/runtime/ExprResolver.h"
#include "tests/fakes/FakeInterpreter.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::atoi(argv[1]) : 1000000;
  CFakeInterpreter engine;
  // A few globals before the loop variable, as a script would have.
  engine.AddVariable("RegKey", VALUE_OBJECT);
  engine.AddVariable("@@LastDialogState", VALUE_TEXT, "0");
  engine.AddVariable("name", VALUE_STRING, "product");
  CScriptVariable* i = engine.AddVariable("i", VALUE_INT, "0");
  engine.AddVariable("total", VALUE_DOUBLE, "0");
  CEngineResolver resolver(&engine);
  const std::string condition = "i < " + std::to_string(iterations);

  auto start = std::chrono::steady_clock::now();
  int passes = 0;
  for (;;) {
    CExprEvaluator test(&resolver);
    if (!test.EvaluateCondition(condition) || test.HasError()) break;
    CExprEvaluator step(&resolver);
    CScriptValue next;
    if (!step.Evaluate("i + 1", next)) return 1;
    i->m_value.AssignConverted(next);
    ++passes;
  }
  double loop = Seconds(start);
  if (passes != iterations) {
    std::printf("loop ran %d times instead of %d\n", passes, iterations);
    return 1;
  }

  start = std::chrono::steady_clock::now();
  for (int n = 0; n < iterations; ++n) {
    CExprEvaluator mixed(&resolver);
    CScriptValue value;
    if (!mixed.Evaluate("(total + i * 2) / 3 >= 1 AND name == \"product\"", value)) return 1;
  }
  double heavy = Seconds(start);

  double perMillion = 1e6 / iterations;
  std::printf("loop step (condition, i + 1, assignment): %.0f ms per million\n", loop * 1000 * perMillion);
  std::printf("mixed expression:                         %.0f ms per million\n", heavy * 1000 * perMillion);
  return 0;
}
