// The interpreter: control flow, assignments, calls and parameters, and the
// error model (codes, words, lines, sticky errors), as tables of small
// programs with the state each must leave.
#include <gtest/gtest.h>

#include <string>

#include "script/ScriptEngine.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/native/ScriptCases.h"

namespace {

void ExpectCases(const std::vector<CScriptCase>& cases) {
  for (const CScriptCase& c : cases) {
    CFakePlatform platform;
    CScriptEngine engine;
    ExpectCase(engine, c);
  }
}

TEST(InterpreterTest, CallsAndReturns) {
  ExpectCases({
      {"a function that runs off its end succeeds",
       "Var int n\nFunction void Main()\n{\n  n = 1\n}\n", 1, 0, 0, 0, "", {{"n", "1"}}},
      {"return stores the value; the lines after it do not run",
       "Var int n\nFunction int Five()\n{\n  return 2 + 3\n  n = 99\n}\n"
       "Function void Main()\n{\n  n = Five()\n}\n",
       1, 0, 0, 0, "", {{"n", "5"}}},
      {"return alone gives an empty result",
       "Var string s\nFunction string Empty()\n{\n  return\n}\n"
       "Function void Main()\n{\n  s = \"x\"\n  s = Empty()\n}\n",
       1, 0, 0, 0, "", {{"s", ""}}},
      {"Return with a capital R is a call of a function of that name",
       "Var int n\nFunction void Main()\n{\n  Return n\n  n = 1\n}\n", 0, 1, 0, 3, "Return", {{"n", "0"}}},
      {"a section runs like a function",
       "Var int n\nSection Main\n{\n  n = 4\n}\n", 1, 0, 0, 0, "", {{"n", "4"}}},
  });
}

TEST(InterpreterTest, Loops) {
  ExpectCases({
      {"while with a braced body", "Var int n\nFunction void Main()\n{\n  while (n < 3)\n  {\n    n++\n  }\n}\n", 1, 0,
       0, 0, "", {{"n", "3"}}},
      {"while with a one-line body, then the line after it",
       "Var int n\nFunction void Main()\n{\n  while (n < 3)\n    n++\n  n = n * 10\n}\n", 1, 0, 0, 0, "",
       {{"n", "30"}}},
      {"while whose condition is false at once", "Var int n\nFunction void Main()\n{\n  while (0)\n    n = 5\n}\n",
       1, 0, 0, 0, "", {{"n", "0"}}},
      {"for with init, condition and step",
       "Var int i\nVar int s\nFunction void Main()\n{\n  for (i = 0; i < 4; i++)\n  {\n    s = s + i\n  }\n}\n", 1, 0,
       0, 0, "", {{"i", "4"}, {"s", "6"}}},
      {"for without init and step",
       "Var int i\nFunction void Main()\n{\n  for (; i < 3; )\n    i++\n}\n", 1, 0, 0, 0, "", {{"i", "3"}}},
      {"Do runs its body, then repeats while its While line holds",
       "Var int n\nFunction void Main()\n{\n  Do\n  {\n    n++\n  }\n  While (n < 3)\n  n = n + 10\n}\n", 1, 0, 0,
       0, "", {{"n", "13"}}},
      {"Do runs its body once even when the condition is false",
       "Var int n\nFunction void Main()\n{\n  Do\n  {\n    n++\n  }\n  While (0)\n}\n", 1, 0, 0, 0, "", {{"n", "1"}}},
      {"nested loops",
       "Var int i\nVar int j\nVar int s\nFunction void Main()\n{\n  for (i = 0; i < 3; i++)\n  {\n"
       "    for (j = 0; j < 2; j++)\n      s++\n  }\n}\n",
       1, 0, 0, 0, "", {{"s", "6"}}},
  });
}

TEST(InterpreterTest, IfChains) {
  const char* chain =
      "Var int n\nVar int r\nFunction void Main()\n{\n  if (n == 1)\n  {\n    r = 10\n  }\n  else if (n == 2)\n  {\n"
      "    r = 20\n  }\n  else if (n == 3)\n    r = 30\n  else\n  {\n    r = 40\n  }\n  r = r + 1\n}\n";
  struct CArm {
    const char* n;
    const char* r;
  };
  for (const CArm& arm : {CArm{"1", "11"}, CArm{"2", "21"}, CArm{"3", "31"}, CArm{"7", "41"}}) {
    CFakePlatform platform;
    CScriptEngine engine;
    ASSERT_EQ(engine.LoadScriptText(ScriptText(chain)), 1);
    engine.SetVariableText("n", arm.n);
    EXPECT_EQ(engine.CallFunction("Main", nullptr), 1);
    EXPECT_EQ(GlobalText(engine, "r"), arm.r) << "n = " << arm.n;
  }

  ExpectCases({
      {"an if without else whose condition is false goes on after the body, its frame gone",
       "Var int n\nFunction void Main()\n{\n  if (n == 1)\n    n = 5\n  n = n + 2\n  break\n}\n", 0, 1, 7, 6, "",
       {{"n", "2"}}},
      {"one-line arms: the taken arm, then after the chain",
       "Var int n\nFunction void Main()\n{\n  if (1)\n    n = 1\n  else\n    n = 2\n  n = n + 10\n}\n", 1, 0, 0, 0, "",
       {{"n", "11"}}},
      {"an if inside a loop is entered afresh on every pass",
       "Var int i\nVar int odd\nFunction void Main()\n{\n  while (i < 5)\n  {\n    if (i % 2 == 1)\n"
       "      odd++\n    i++\n  }\n}\n",
       1, 0, 0, 0, "", {{"odd", "2"}}},
  });
}

TEST(InterpreterTest, SwitchAndBreak) {
  const char* fallThrough =
      "Var int n\nVar int r\nFunction void Main()\n{\n  Switch (n)\n  {\n    case 1:\n      r = r + 1\n"
      "    case 2:\n      r = r + 10\n  }\n  r = r + 100\n}\n";
  struct CSelect {
    const char* n;
    const char* r;
  };
  // Cases fall through into the next until the Switch's "}".
  for (const CSelect& s : {CSelect{"1", "111"}, CSelect{"2", "110"}, CSelect{"3", "100"}}) {
    CFakePlatform platform;
    CScriptEngine engine;
    ASSERT_EQ(engine.LoadScriptText(ScriptText(fallThrough)), 1);
    engine.SetVariableText("n", s.n);
    EXPECT_EQ(engine.CallFunction("Main", nullptr), 1);
    EXPECT_EQ(GlobalText(engine, "r"), s.r) << "n = " << s.n;
  }

  ExpectCases({
      {"Default is taken when no case before it holds",
       "Var int r\nFunction void Main()\n{\n  Switch (7)\n  {\n    case 1:\n      r = 1\n      break\n"
       "    Default:\n      r = 2\n  }\n}\n",
       1, 0, 0, 0, "", {{"r", "2"}}},
      {"string cases",
       "Var string s\nVar int r\nFunction void Main()\n{\n  s = \"b\"\n  Switch (s)\n  {\n    case \"a\":\n"
       "      r = 1\n      break\n    case \"b\":\n      r = 2\n      break\n  }\n}\n",
       1, 0, 0, 0, "", {{"r", "2"}}},
      {"break in a Switch inside a loop leaves the Switch only",
       "Var int n\nVar int r\nFunction void Main()\n{\n  while (n < 3)\n  {\n    n++\n    Switch (n)\n    {\n"
       "      case 2:\n        r = r + 10\n        break\n      Default:\n        r = r + 1\n    }\n"
       "    r = r + 100\n  }\n}\n",
       1, 0, 0, 0, "", {{"n", "3"}, {"r", "312"}}},
      {"break in an if inside a loop leaves the if chain only",
       "Var int n\nVar int r\nFunction void Main()\n{\n  while (n < 3)\n  {\n    n++\n    if (n == 2)\n    {\n"
       "      break\n      r = 1000\n    }\n    r = r + 1\n  }\n}\n",
       1, 0, 0, 0, "", {{"n", "3"}, {"r", "3"}}},
      {"Goto out of a Switch inside an endless loop",
       "Var int n\nFunction void Main()\n{\n  while (1)\n  {\n    n++\n    Switch (n)\n    {\n      case 4:\n"
       "        Goto Out\n    }\n  }\nOut:\n  n = n * 10\n}\n",
       1, 0, 0, 0, "", {{"n", "40"}}},
      {"break as the body of a loop leaves it",
       "Var int n\nFunction void Main()\n{\n  while (1)\n  {\n    n++\n    break\n  }\n  n = n + 10\n}\n", 1, 0, 0, 0,
       "", {{"n", "11"}}},
      {"a case line without its colon ends the Switch when reached",
       "Var int r\nFunction void Main()\n{\n  Switch (1)\n  {\n    case 1:\n      r = r + 1\n    case 2\n"
       "      r = r + 10\n  }\n  r = r + 100\n}\n",
       1, 0, 0, 0, "", {{"r", "101"}}},
      {"a nested Switch keeps its labels to itself",
       "Var int r\nFunction void Main()\n{\n  Switch (2)\n  {\n    case 1:\n      Switch (2)\n      {\n"
       "        case 2:\n          r = 99\n      }\n      break\n    case 2:\n      r = r + 5\n  }\n}\n",
       1, 0, 0, 0, "", {{"r", "5"}}},
  });
}

TEST(InterpreterTest, Goto) {
  ExpectCases({
      {"Goto jumps forward to a label",
       "Var int n\nFunction void Main()\n{\n  Goto Done\n  n = 1\nDone:\n  n = n + 2\n}\n", 1, 0, 0, 0, "",
       {{"n", "2"}}},
      {"labels compare without regard to case",
       "Var int n\nFunction void Main()\n{\n  Goto done\n  n = 1\nDONE:\n  n = n + 2\n}\n", 1, 0, 0, 0, "",
       {{"n", "2"}}},
      {"Goto to no label ends the function with success",
       "Var int n\nFunction void Main()\n{\n  n = 1\n  Goto Nowhere\n  n = 5\n}\n", 1, 0, 0, 0, "", {{"n", "1"}}},
      {"Goto backwards out of an if makes a loop",
       "Var int n\nFunction void Main()\n{\nAgain:\n  n++\n  if (n < 5)\n    Goto Again\n  n = n * 2\n}\n", 1, 0, 0,
       0, "", {{"n", "10"}}},
  });
}

TEST(InterpreterTest, Assignments) {
  ExpectCases({
      {"operators on int, double and string variables",
       "Var int a\nVar int b\nVar int c\nVar double d\nVar string s\nFunction void Main()\n{\n  a = 5\n  a += 2.9\n"
       "  b = 5\n  b -= 2.9\n  b %= 2\n  c = 3\n  c *= 2.5\n  d = 1.5\n  d *= 2\n  d /= 4\n  d++\n  s = \"ab\"\n"
       "  s += 1\n  a--\n}\n",
       1, 0, 0, 0, "", {{"a", "6"}, {"b", "1"}, {"c", "7"}, {"d", "1.750000"}, {"s", "ab"}}},
      {"a value is converted into the variable's kind",
       "Var int n\nVar string s\nVar double d\nFunction void Main()\n{\n  n = 7.9\n  s = 2 + 3\n  d = \"2.5\"\n}\n",
       1, 0, 0, 0, "", {{"n", "7"}, {"s", "5.000000"}, {"d", "2.500000"}}},
      {"Set assigns an existing variable", "Var int n\nFunction void Main()\n{\n  Set n = 4\n}\n", 1, 0, 0, 0, "",
       {{"n", "4"}}},
      {"Set with no such variable is error 3 with an empty word, and creates nothing",
       "Function void Main()\n{\n  Set y = 1\n}\n", 0, 1, 3, 2, "", {{"y", "<none>"}}},
      {"an undeclared name is taken as a call, which fails with the indicator only",
       "Function void Main()\n{\n  x = 5\n}\n", 0, 1, 0, 2, "=", {{"x", "<none>"}}},
      {"an assignment without operator is error 3", "Var int n\nFunction void Main()\n{\n  n ~ 5\n}\n", 0, 1, 3, 3,
       ""},
      {"an assignment whose expression fails is error 3 with the evaluator's word",
       "Var int n\nFunction void Main()\n{\n  n = 1 + nosuch\n}\n", 0, 1, 3, 3, "nosuch"},
      {"a local is declared where its Var line runs and hides a global",
       "Var int n\nFunction void Main()\n{\n  n = 1\n  Var int n\n  n = 5\n}\n", 1, 0, 0, 0, "", {{"n", "1"}}},
      {"a name that is neither a variable nor a call fails the expression",
       "Var int n\nFunction void Main()\n{\n  n = Missing\n}\n", 0, 1, 3, 3, "Missing"},
  });
}

TEST(InterpreterTest, ObjectsInAssignments) {
  ExpectCases({
      {"Nothing releases an object; its methods are gone after",
       "Var CValueSet o\nFunction void Main()\n{\n  o.SetValue(\"k\", \"v\")\n  o = Nothing\n  o.SetValue(\"k\", \"v\")\n}\n",
       0, 1, 8, 5, "o.SetValue"},
      {"Nothing on a string variable is error 12",
       "Var string s\nFunction void Main()\n{\n  s = Nothing\n}\n", 0, 1, 12, 3, "s"},
      {"new makes an object of a registered class",
       "Var IVexObject o\nVar string t\nFunction void Main()\n{\n  Set o = new CValueSet\n  o.SetValue(\"k\", \"v\")\n"
       "  t = o.GetValue(\"k\")\n}\n",
       1, 0, 0, 0, "", {{"t", "v"}}},
      {"new of a class that is not registered is error 12 with the class name",
       "Var IVexObject o\nFunction void Main()\n{\n  Set o = new Widget\n}\n", 0, 1, 12, 3, "Widget"},
      {"CreateVexObject on the stock engine makes no object: error 12 with the resolved argument",
       "Var IVexObject o\nFunction void Main()\n{\n  o = CreateVexObject(\"X.Y\")\n}\n", 0, 1, 12, 3, "X.Y"},
      {"a method of the String class runs on a string variable's box",
       "Var string s\nFunction void Main()\n{\n  s = \"banana\"\n  s.Replace(\"a\", \"o\")\n}\n", 1, 0, 0, 0, "",
       {{"s", "bonono"}}},
      {"a method result in an expression",
       "Var string s\nVar string t\nFunction void Main()\n{\n  s = \"abcdef\"\n  t = s.Mid(2, 2)\n}\n", 1, 0, 0, 0, "",
       {{"t", "cd"}}},
      {"a method call on a variable without an object is error 8",
       "Var IVexObject o\nFunction void Main()\n{\n  o.Foo()\n}\n", 0, 1, 8, 3, "o.Foo"},
      {"the global RegKey object answers its methods",
       "Var int n\nFunction void Main()\n{\n  n = RegKey.ExistValue(\"HKEY_CURRENT_USER\", \"Nope\", \"v\")\n}\n", 1, 0, 0, 0,
       "", {{"n", "0"}}},
  });
}

TEST(InterpreterTest, Parameters) {
  ExpectCases({
      {"arguments bind to parameters by position, converted into their kinds",
       "Var string s\nFunction void Join(string a, int b)\n{\n  s = a + b\n}\nFunction void Main()\n{\n"
       "  Join(\"x\", 7.5)\n}\n",
       1, 0, 0, 0, "", {{"s", "x7"}}},
      {"missing arguments leave their parameters undeclared",
       "Var int n\nVar int m\nFunction void F(int a, int b)\n{\n  n = a\n  m = b\n}\nFunction void Main()\n{\n  F(4)\n}\n",
       0, 1, 3, 5, "b", {{"n", "4"}, {"m", "0"}}},
      {"more arguments than parameters fail the calling line",
       "Var int n\nFunction void F(int a)\n{\n  n = a\n}\nFunction void Main()\n{\n  F(1, 2)\n}\n", 0, 1, 0, 7, "",
       {{"n", "0"}}},
      {"an out parameter writes back to the caller's variable; a plain one does not",
       "Var int n\nVar int m\nFunction void Seven(out int v)\n{\n  v = 7\n}\nFunction void Keep(int v)\n{\n  v = 7\n}\n"
       "Function void Main()\n{\n  Seven(n)\n  Keep(m)\n}\n",
       1, 0, 0, 0, "", {{"n", "7"}, {"m", "0"}}},
      {"a variable argument passes its value; the callee's locals are its own",
       "Var int n\nVar int r\nFunction int Twice(int v)\n{\n  Var int n\n  n = v * 2\n  return n\n}\n"
       "Function void Main()\n{\n  n = 21\n  r = Twice(n)\n}\n",
       1, 0, 0, 0, "", {{"n", "21"}, {"r", "42"}}},
      {"callers' locals are not visible to callees",
       "Var int r\nFunction void Inner()\n{\n  r = hidden\n}\nFunction void Main()\n{\n  Var int hidden\n  Inner()\n}\n",
       0, 1, 3, 3, "hidden"},
  });
}

TEST(InterpreterTest, NestedFailuresReportTheInnermostLine) {
  ExpectCases({
      {"a failure three calls deep ends all three",
       "Var int n\nFunction void C()\n{\n  n = 3\n  break\n}\nFunction void B()\n{\n  C()\n  n = 20\n}\n"
       "Function void Main()\n{\n  B()\n  n = 10\n}\n",
       0, 1, 7, 4, "", {{"n", "3"}}},
      {"a failure inside calls in expressions keeps the innermost error",
       "Var int n\nFunction int C()\n{\n  break\n}\nFunction int B()\n{\n  return C() + 1\n}\n"
       "Function void Main()\n{\n  n = B()\n  n = 10\n}\n",
       0, 1, 7, 3, "", {{"n", "0"}}},
      {"a failing built-in inside an assignment fails the line with its name",
       "Var int n\nFunction void Main()\n{\n  n = Missing(1)\n  n = 10\n}\n", 0, 1, 3, 3, "Missing", {{"n", "0"}}},
      {"a failing built-in inside a condition fails the line with its name",
       "Var int n\nFunction void Main()\n{\n  if (Missing(1))\n    n = 1\n  n = 10\n}\n", 0, 1, 0, 3, "Missing",
       {{"n", "0"}}},
      {"a failing built-in inside a return expression is error 9 with its name",
       "Var int n\nFunction int F()\n{\n  return Missing(1)\n}\nFunction void Main()\n{\n  n = F()\n}\n", 0, 1, 9, 3,
       "Missing"},
      {"a failing method inside an assignment keeps its error 8",
       "Var int n\nFunction void Main()\n{\n  n = RegKey.Nope(1)\n}\n", 0, 1, 8, 3, "RegKey.Nope"},
      {"a failing call inside a call's arguments fails the call statement",
       "Var int n\nFunction void Main()\n{\n  DataCpy(n, Missing(1))\n}\n", 0, 1, 0, 3, "Missing"},
  });
}

TEST(InterpreterTest, EndlessRecursionIsCutAtTheCallDepth) {
  const size_t depth = CScriptEngine::kMaxCallDepth;
  const std::string calls = std::to_string(depth - 1);  // Main is the first of the nested calls
  ExpectCases({
      {"a function calling itself", "Var int n\nFunction void R()\n{\n  n++\n  R()\n}\nFunction void Main()\n{\n  R()\n}\n",
       0, 1, SCRIPT_ERROR_CALL_DEPTH, 4, "R", {{"n", calls.c_str()}}},
      {"two functions calling each other inside expressions",
       "Var int n\nFunction int A(int k)\n{\n  return B(k + 1)\n}\nFunction int B(int k)\n{\n  n = k\n  return A(k)\n}\n"
       "Function void Main()\n{\n  n = A(0)\n}\n",
       0, 1, SCRIPT_ERROR_CALL_DEPTH, 3, "B"},
  });
  // Calls that return come back below the limit: many calls in turn are fine.
  ExpectCases({{"a call repeated in a loop far more often than the depth",
                "Var int n\nFunction void Inc()\n{\n  n++\n}\nFunction void Main()\n{\n  while (n < 1000)\n    Inc()\n}\n",
                1, 0, 0, 0, "", {{"n", "1000"}}}});
}

TEST(InterpreterTest, ErrorCodes) {
  ExpectCases({
      {"1: while with an empty condition", "Function void Main()\n{\n  while\n}\n", 0, 1, 1, 2},
      {"3: a failed assignment", "Var int n\nFunction void Main()\n{\n  n = \n}\n", 0, 1, 3, 3},
      {"4: a Do whose While line has an empty condition", "Function void Main()\n{\n  Do\n  {\n  }\n  While\n}\n", 0,
       1, 4, 2},
      {"5: a Switch with an empty selector", "Function void Main()\n{\n  Switch\n  {\n  }\n}\n", 0, 1, 5, 2},
      {"5: a case line with no Switch open", "Function void Main()\n{\n  case 1\n}\n", 0, 1, 5, 2},
      {"6: a for line that does not compile (its body never closes)",
       "Var int n\nFunction void Main()\n{\n  for (n = 0; n < 1; n++)\n  {\n    n = 2\n", 0, 1, 6, 3},
      {"7: break with no open block", "Function void Main()\n{\n  break\n}\n", 0, 1, 7, 2},
      {"8: a failed method call", "Function void Main()\n{\n  RegKey.NoSuchMethod()\n}\n", 0, 1, 8, 2,
       "RegKey.NoSuchMethod"},
      {"9: a return whose expression fails", "Function void Main()\n{\n  return nosuch\n}\n", 0, 1, 9, 2, "nosuch"},
      {"11: a call of a name that is not loaded", "Function void Main()\n{\n}\n", 0, 1, 11, -1, "Nope", {}, "Nope"},
      {"12: Nothing to a non-object", "Var int n\nFunction void Main()\n{\n  n = Nothing\n}\n", 0, 1, 12, 3, "n"},
      {"15: a closing brace with no open block (reached by a jump into a body)",
       "Function void Main()\n{\n  Goto Inside\n  if (0)\n  {\nInside:\n  }\n}\n", 0, 1, 15, 6},
      {"indicator only: an if line that does not compile",
       "Function void Main()\n{\n  if (1)\n    x = 1\n  else y\n}\n", 0, 1, 0, 2},
      {"indicator only: a local Var of an unknown type", "Function void Main()\n{\n  Var widget w\n}\n", 0, 1, 0, 2},
      {"indicator only: a Do without its While line", "Function void Main()\n{\n  Do\n  {\n  }\n}\n", 0, 1, 0, 2},
      {"a failed condition keeps code and word", "Function void Main()\n{\n  if (1 +)\n  {\n  }\n}\n", 0, 1, 0, 2},
  });
}

// Answers with the number of locals of the running call.
class CLocalsProbe : public CScriptObject {
 public:
  int32_t Invoke(const std::string& method, CCallFrame& frame) override {
    auto* engine = static_cast<CScriptEngine*>(frame.m_pInterpreter);
    frame.SetResultNumber(static_cast<int32_t>(engine->m_pCurInstance->m_listUserVar.Count()), VALUE_INT);
    return 1;
  }
};

TEST(InterpreterTest, AVarLineInALoopDeclaresOnce) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int n\nVar int t\nVar int c\nFunction void Main()\n{\n"
                                             "  while (n < 1000)\n  {\n    Var int tmp\n    tmp++\n    n++\n  }\n"
                                             "  t = tmp\n  c = Probe.Count()\n  Var string tmp\n  Var widget tmp\n}\n")),
            1);
  engine.RegisterObject("Probe", new CLocalsProbe());
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 0);
  // The first declaration stands and keeps its value from pass to pass.
  EXPECT_EQ(GlobalText(engine, "t"), "1000");
  EXPECT_EQ(GlobalText(engine, "c"), "1");
  // A later declaration of the name still checks its type.
  EXPECT_EQ(engine.m_nErrorLine, 14);
}

TEST(InterpreterTest, ErrorsAreStickyAcrossEvents) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int n\nVar int m\nFunction void First()\n{\n  break\n}\n"
                                             "Function void Second()\n{\n  n = 5\n  m = 6\n}\n")),
            1);
  EXPECT_EQ(engine.CallFunction("First", nullptr), 0);
  EXPECT_EQ(engine.m_nErrorCode, 7);
  EXPECT_EQ(engine.m_nErrorLine, 4);

  // The second event runs its first line and stops; the first error's code
  // and word stand.
  EXPECT_EQ(engine.CallFunction("Second", nullptr), 0);
  EXPECT_EQ(engine.m_nError, 1);
  EXPECT_EQ(engine.m_nErrorCode, 7);
  EXPECT_EQ(engine.m_strErrorWord, "");
  EXPECT_EQ(engine.m_nErrorLine, 8);
  EXPECT_EQ(GlobalText(engine, "n"), "5");
  EXPECT_EQ(GlobalText(engine, "m"), "0");

  // Clearing the error lets the next event run whole.
  engine.ClearError();
  EXPECT_EQ(engine.CallFunction("Second", nullptr), 1);
  EXPECT_EQ(GlobalText(engine, "m"), "6");
}

TEST(InterpreterTest, HostFrameGivesArgumentsAndTakesTheResult) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Function int Add(int a, int b)\n{\n  return a + b\n}\n")), 1);
  CCallFrame frame(&engine);
  frame.ParseArguments("3|40<,>3|2");
  EXPECT_EQ(engine.CallFunction("add", &frame), 1);
  EXPECT_EQ(frame.m_result.GetInt(), 42);

  // Arguments the function has no parameters for: the host's call fails,
  // and there is no calling line.
  CCallFrame tooMany(&engine);
  tooMany.ParseArguments("1<,>2<,>3");
  EXPECT_EQ(engine.CallFunction("Add", &tooMany), 0);
  EXPECT_EQ(engine.m_nError, 1);
  EXPECT_EQ(engine.m_nErrorLine, -1);
}

}  // namespace
