// The expression evaluator: operators and ranks, literals, functions,
// variables and calls through the engine's resolver, the three entry
// points, errors, and input that must never crash it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "script/runtime/CallFrame.h"
#include "script/runtime/ExprEvaluator.h"
#include "script/runtime/ExprResolver.h"
#include "tests/fakes/FakeInterpreter.h"

namespace {

// An engine with a few variables, and calls answered by name.
class ExprEvaluatorTest : public ::testing::Test {
 protected:
  ExprEvaluatorTest() : m_resolver(&m_engine) {
    m_engine.AddVariable("x", VALUE_INT, "5");
    m_engine.AddVariable("d", VALUE_DOUBLE, "2.5");
    m_engine.AddVariable("s", VALUE_STRING, "ab");
    m_engine.AddVariable("t", VALUE_TEXT, "7");
    m_engine.AddVariable("@@state", VALUE_TEXT, "1");
    m_engine.m_onCall = [](const std::string& name, CCallFrame& frame) -> int32_t {
      if (name == "three") frame.SetResultNumber(3, VALUE_INT);
      if (name == "one") frame.SetResultInt(1);
      if (name == "echo") frame.SetResultText(frame.GetArgumentText(1, true));
      if (name == "setfirst") frame.SetArgumentInt(1, 42);
      return name == "fails" ? 0 : 1;
    };
  }

  struct CResult {
    bool ok;
    int32_t error;
    std::string text;
    int32_t kind;
    std::string word;
  };
  CResult Eval(const std::string& text) {
    CExprEvaluator evaluator(&m_resolver);
    CScriptValue value;
    bool ok = evaluator.Evaluate(text, value);
    return CResult{ok, evaluator.HasError(), value.GetText(), value.GetKind(), evaluator.ErrorWord()};
  }

  CFakeInterpreter m_engine;
  CEngineResolver m_resolver;
};

struct CValueCase {
  const char* text;
  const char* result;
  int32_t kind;
};


TEST_F(ExprEvaluatorTest, ArithmeticAndRanks) {
  const CValueCase cases[] = {
      {"2 + 3 * 4", "14.000000", VALUE_DOUBLE},   {"10 - 4 - 3", "3.000000", VALUE_DOUBLE},
      {"-2 * 3", "-6.000000", VALUE_DOUBLE},      {"(1 + 2) * 3", "9.000000", VALUE_DOUBLE},
      {"(1 + 4) - 3", "2.000000", VALUE_DOUBLE},  {"(1 + 4) == 5", "1.000000", VALUE_DOUBLE},
      {"2 * 3 + 4 * 5", "26.000000", VALUE_DOUBLE}, {"8 / 4 / 2", "1.000000", VALUE_DOUBLE},
      {"1 - -1", "2.000000", VALUE_DOUBLE},       {"--3", "3.000000", VALUE_DOUBLE},
      {"7 % 3", "1.000000", VALUE_DOUBLE},        {"7.9 % 3", "1.000000", VALUE_DOUBLE},
      {"-7 % 3", "-1.000000", VALUE_DOUBLE},      {"(((1)))", "1.000000", VALUE_DOUBLE},
      {"1 2", "2.000000", VALUE_DOUBLE},          {"1 + 2 < 4", "1.000000", VALUE_DOUBLE},
      {"6 & 3", "2.000000", VALUE_DOUBLE},        {"6 | 3", "7.000000", VALUE_DOUBLE},
      {"1 | 2 + 3", "6.000000", VALUE_DOUBLE},    {"~0", "-1.000000", VALUE_DOUBLE},
      {"!0", "1.000000", VALUE_DOUBLE},           {"!5", "0.000000", VALUE_DOUBLE},
      {"1 ^ 3", "2.000000", VALUE_DOUBLE},        {"1 + 2 ^ 3", "2.000000", VALUE_DOUBLE},
      {"2 ^ 3 + 1", "2.000000", VALUE_DOUBLE},    {"2 ^ 3 * 4", "14.000000", VALUE_DOUBLE},
      {"2 * 3 ^ 4", "2.000000", VALUE_DOUBLE},    {"6 ^ 3 ^ 5", "0.000000", VALUE_DOUBLE},
      {"(1 ^ 3)", "2.000000", VALUE_DOUBLE},      {"1 ^ 3 == 2", "1.000000", VALUE_DOUBLE},
  };
  for (const CValueCase& c : cases) {
    CResult r = Eval(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    EXPECT_EQ(r.error, 0) << c.text;
    EXPECT_EQ(r.text, c.result) << c.text;
    EXPECT_EQ(r.kind, c.kind) << c.text;
  }
}

TEST_F(ExprEvaluatorTest, ComparisonsAndLogic) {
  const CValueCase cases[] = {
      {"1 < 2 AND 3 > 4", "0.000000", VALUE_DOUBLE}, {"1 < 2 or 3 > 4", "1.000000", VALUE_DOUBLE},
      {"1 And 2", "1.000000", VALUE_DOUBLE},         {"1 && 0", "0.000000", VALUE_DOUBLE},
      {"0 || 0", "0.000000", VALUE_DOUBLE},          {"0 OR 0.5", "1.000000", VALUE_DOUBLE},
      {"1 != 2", "1.000000", VALUE_DOUBLE},          {"2 != 2", "0.000000", VALUE_DOUBLE},
      {"1!=2", "1.000000", VALUE_DOUBLE},            {"1 <> 1", "0.000000", VALUE_DOUBLE},
      {"2 <= 2", "1.000000", VALUE_DOUBLE},          {"2 >= 3", "0.000000", VALUE_DOUBLE},
      {"\"a\" == \"a\"", "1.000000", VALUE_DOUBLE},  {"\"a\" != \"A\"", "1.000000", VALUE_DOUBLE},
      {"\"1.000000\" == 1", "1.000000", VALUE_DOUBLE}, {"1 == \"1\"", "1.000000", VALUE_DOUBLE},
      {"x == 5.9", "1.000000", VALUE_DOUBLE},        {"d == 2.5", "1.000000", VALUE_DOUBLE},
      {"t == 7", "1.000000", VALUE_DOUBLE},          {"7 == t", "1.000000", VALUE_DOUBLE},
      {"t == \"7\"", "1.000000", VALUE_DOUBLE},      {"t != 7", "0.000000", VALUE_DOUBLE},
      {"t == t", "1.000000", VALUE_DOUBLE},          {"@@state == 1", "1.000000", VALUE_DOUBLE},
      {"x = 7", "7.000000", VALUE_DOUBLE},           {"x += 2", "2.000000", VALUE_DOUBLE},
  };
  for (const CValueCase& c : cases) {
    CResult r = Eval(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    EXPECT_EQ(r.text, c.result) << c.text;
    EXPECT_EQ(r.kind, c.kind) << c.text;
  }
}

TEST_F(ExprEvaluatorTest, LiteralsVariablesAndStrings) {
  const CValueCase cases[] = {
      {"0x1f", "31.000000", VALUE_DOUBLE},         {"(0x1f)", "31.000000", VALUE_DOUBLE},
      {"(1 + 0x1f)", "32.000000", VALUE_DOUBLE},   {"101b", "5.000000", VALUE_DOUBLE},
      {"0x1b", "27.000000", VALUE_DOUBLE},         {"0xe+1", "15.000000", VALUE_DOUBLE},
      {"0.0000001", "0.000000", VALUE_DOUBLE},     {"0.0000006 * 1000000", "1.000000", VALUE_DOUBLE},
      {"1e3", "1000.000000", VALUE_DOUBLE},        {"2.5e-1", "0.250000", VALUE_DOUBLE},
      {"1.2.3", "1.200000", VALUE_DOUBLE},         {"12ac", "12.000000", VALUE_DOUBLE},
      {"12ab", "4.000000", VALUE_DOUBLE},
      {"\"ab\" + 1", "ab1.000000", VALUE_STRING},  {"1 + \"ab\"", "1.000000", VALUE_DOUBLE},
      {"\"a\\\"b\"", "a\"b", VALUE_STRING},        {"\"c:\\\\dir\\n\"", "c:\\dirn", VALUE_STRING},
      {"\"\"", "", VALUE_STRING},                  {"\"x\" + \"y\" + \"z\"", "xyz", VALUE_STRING},
      {"x", "5", VALUE_INT},                       {"x + 1", "6", VALUE_INT},
      {"x + 1.9", "6", VALUE_INT},                 {"X * 2", "10.000000", VALUE_DOUBLE},
      {"d + 1", "3.500000", VALUE_DOUBLE},         {"s + \"c\"", "abc", VALUE_STRING},
      {"s + x", "ab5", VALUE_STRING},              {"t", "7", VALUE_TEXT},
      {"t + 1", "8.000000", VALUE_DOUBLE},         {"t + s", "7ab", VALUE_STRING},
      {"x++", "6.000000", VALUE_DOUBLE},           {"x++ * 2", "12.000000", VALUE_DOUBLE},
      {"@@state + 1", "2.000000", VALUE_DOUBLE},
  };
  for (const CValueCase& c : cases) {
    CResult r = Eval(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    EXPECT_EQ(r.text, c.result) << c.text;
    EXPECT_EQ(r.kind, c.kind) << c.text;
  }
  // "++" leaves the variable alone.
  EXPECT_EQ(m_engine.FindVariable("x")->GetText(), "5");
}

TEST_F(ExprEvaluatorTest, BuiltInFunctions) {
  const CValueCase cases[] = {
      {"fak(5)", "120.000000", VALUE_DOUBLE},       {"fak(2.5)", "1.875000", VALUE_DOUBLE},
      {"fak(-1)", "1.000000", VALUE_DOUBLE},        {"fract(-2.5)", "-0.500000", VALUE_DOUBLE},
      {"int(-2.5)", "-2.000000", VALUE_DOUBLE},     {"pow(2, 10)", "1024.000000", VALUE_DOUBLE},
      {"pow(x, 2)", "25.000000", VALUE_DOUBLE},     {"POW(2, d) > 5", "1.000000", VALUE_DOUBLE},
      {"SQRT(16)", "4.000000", VALUE_DOUBLE},       {"sqr(3)", "9.000000", VALUE_DOUBLE},
      {"cube(-2)", "-8.000000", VALUE_DOUBLE},      {"abs(-3)", "3.000000", VALUE_DOUBLE},
      {"exp(0)", "1.000000", VALUE_DOUBLE},         {"log(1)", "0.000000", VALUE_DOUBLE},
      {"log10(1000)", "3.000000", VALUE_DOUBLE},    {"sin(0) + cos(0)", "1.000000", VALUE_DOUBLE},
      {"tan(0)", "0.000000", VALUE_DOUBLE},         {"asin(1) * 2", "3.141593", VALUE_DOUBLE},
      {"acos(1)", "0.000000", VALUE_DOUBLE},        {"atan(1) * 4", "3.141593", VALUE_DOUBLE},
      {"rad(180)", "3.141593", VALUE_DOUBLE},       {"deg(rad(90))", "90.000000", VALUE_DOUBLE},
      {"gon(200)", "3.141593", VALUE_DOUBLE},       {"fix(2.5)", "3.000000", VALUE_DOUBLE},
      {"fix(-2.5)", "-3.000000", VALUE_DOUBLE},     {"fix(2.4)", "2.000000", VALUE_DOUBLE},
      {"2 * sqr(3) + 1", "19.000000", VALUE_DOUBLE}, {"-abs(-2)", "-2.000000", VALUE_DOUBLE},
      {"sqr(x)", "25.000000", VALUE_DOUBLE},        {"sqr (2)", "4.000000", VALUE_DOUBLE},
  };
  for (const CValueCase& c : cases) {
    CResult r = Eval(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    EXPECT_EQ(r.text, c.result) << c.text;
    EXPECT_EQ(r.kind, c.kind) << c.text;
  }
  // No domain checks: undefined results are values, not errors.
  CExprEvaluator evaluator(&m_resolver);
  CScriptValue value;
  EXPECT_TRUE(evaluator.Evaluate("sqrt(-1)", value));
  EXPECT_TRUE(std::isnan(value.GetDouble()));
  CExprEvaluator division(&m_resolver);
  EXPECT_TRUE(division.Evaluate("1 / 0", value));
  EXPECT_TRUE(std::isinf(value.GetDouble()));
  EXPECT_EQ(division.HasError(), 0);
}

TEST_F(ExprEvaluatorTest, CallsPassTheirArguments) {
  struct CCallCase {
    const char* text;
    const char* name;
    std::vector<std::pair<int32_t, std::string>> arguments;
  } cases[] = {
      {"f()", "f", {}},
      {"f( )", "f", {}},
      {"f(x)", "f", {{VALUE_REFERENCE, "x"}}},
      {"f(x, 1)", "f", {{VALUE_REFERENCE, "x"}, {VALUE_DOUBLE, "1.000000"}}},
      {"f(\"a b\", 2 * 3, s)", "f", {{VALUE_STRING, "a b"}, {VALUE_DOUBLE, "6.000000"}, {VALUE_REFERENCE, "s"}}},
      {"f((1, 2))", "f", {{VALUE_DOUBLE, "1.000000"}, {VALUE_DOUBLE, "2.000000"}}},
  };
  for (const CCallCase& c : cases) {
    m_engine.m_calls.clear();
    CResult r = Eval(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    ASSERT_EQ(m_engine.m_calls.size(), 1u) << c.text;
    EXPECT_EQ(m_engine.m_calls[0].name, c.name);
    EXPECT_EQ(m_engine.m_calls[0].arguments, c.arguments) << c.text;
  }
}

TEST_F(ExprEvaluatorTest, CallResults) {
  const CValueCase cases[] = {
      {"three()", "3", VALUE_INT},                    {"2 * three() + 1", "7.000000", VALUE_DOUBLE},
      {"three() + 1", "4", VALUE_INT},                {"one()", "1.000000", VALUE_TEXT},
      {"one() == 1", "1.000000", VALUE_DOUBLE},       {"one() + 1", "2.000000", VALUE_DOUBLE},
      {"echo(s)", "ab", VALUE_TEXT},                  {"echo(\"x\") == \"x\"", "1.000000", VALUE_DOUBLE},
      {"echo(echo(x))", "5", VALUE_TEXT},             {"s.Left(1)", "a", VALUE_STRING},
      {"S.ToUpper() + s", "ABab", VALUE_STRING},      {"f()", "", VALUE_EMPTY},
  };
  for (const CValueCase& c : cases) {
    CResult r = Eval(c.text);
    EXPECT_TRUE(r.ok) << c.text;
    EXPECT_EQ(r.error, 0) << c.text;
    EXPECT_EQ(r.text, c.result) << c.text;
    EXPECT_EQ(r.kind, c.kind) << c.text;
  }
  // A reference argument lets the callee write the caller's variable.
  EXPECT_TRUE(Eval("setfirst(x)").ok);
  EXPECT_EQ(m_engine.FindVariable("x")->GetText(), "42");
}

TEST_F(ExprEvaluatorTest, Errors) {
  struct CErrorCase {
    const char* text;
    const char* word;
  } cases[] = {
      {"\"abc", ""},          {"\"abc\\", ""},        {"1 (2)", ""},         {", 1", ","},
      {"== 1", "=="},         {"1 + AND 2", "AND"},   {"(or 1)", "or"},      {"=", "="},
      {"foo + 1", "foo"},     {"y", "y"},             {"sin + 1", ""},       {"1)", ""},
      {"(1))", ""},           {"1 +", ""},            {"* 2", ""},           {"\"a\" - 1", ""},
      {"\"a\" < \"b\"", ""},  {"sin(\"a\")", ""},     {"sin()", ""},         {"++", ""},
      {"\"a\"++", ""},        {"pow(2)", ""},         {"pow()", ""},         {"pow(@nobody, 2)", ""},
      {"7 % 0", ""},          {"7 % 0.5", ""},        {"@nobody + 1", ""},   {"@nobody", ""},
      {"fails(1)", "fails"},  {"1 + fails()", "fails"}, {"#", ""},          {"1 \t+ 2", ""},
      {"f(1,,2)", ","},       {"f(,)", ","},          {"x.y", "x.y"},
  };
  for (const CErrorCase& c : cases) {
    CResult r = Eval(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.error, 1) << c.text;
    EXPECT_EQ(r.word, c.word) << c.text;
  }
}

TEST_F(ExprEvaluatorTest, NothingToEvaluateIsNoError) {
  for (const char* text : {"", "   ", "x.", "()", "("}) {
    CResult r = Eval(text);
    EXPECT_FALSE(r.ok) << text;
    EXPECT_EQ(r.error, 0) << text;
  }
  CExprEvaluator evaluator(&m_resolver);
  EXPECT_FALSE(evaluator.EvaluateCondition(""));
  EXPECT_EQ(evaluator.HasError(), 0);
}

TEST_F(ExprEvaluatorTest, AnUnclosedParenthesisIsNoError) {
  // A for step that lost its last ")" still passes its argument.
  CExprEvaluator evaluator(&m_resolver);
  CCallFrame frame;
  EXPECT_TRUE(evaluator.EvaluateArguments("(x", frame));
  ASSERT_EQ(frame.ArgumentCount(), 1);
  EXPECT_EQ(frame.GetArgument(1)->GetKind(), VALUE_REFERENCE);
  // Operators before the "(" stay pending; the text after it is the value.
  CResult r = Eval("1 + (2");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, "2.000000");
}

TEST_F(ExprEvaluatorTest, ErrorFlagStaysSet) {
  CExprEvaluator evaluator(&m_resolver);
  CScriptValue value;
  EXPECT_FALSE(evaluator.Evaluate(", 1", value));
  EXPECT_FALSE(evaluator.Evaluate("1", value));
  EXPECT_EQ(evaluator.HasError(), 1);
  EXPECT_EQ(evaluator.ErrorWord(), ",");
}

TEST_F(ExprEvaluatorTest, Conditions) {
  CScriptVariable* boxed = m_engine.AddVariable("n", VALUE_DOUBLE, "0");
  boxed->m_value.SetNumber(3);  // the box says 3, the text field still 0
  struct CCase {
    const char* text;
    bool result;
  } cases[] = {
      {"1", true},        {"0", false},          {"0.5", false},       {"1.5", true},
      {"x", true},        {"x - 5", false},      {"\"0\"", false},     {"\"12abc\"", true},
      {"@@state", true},  {"d > 2", true},       {"n", true},          {"n - 3", false},
      {"one()", true},    {"x == 5 AND t", true}, {"1 +", false},      {"@nobody", false},
  };
  for (const CCase& c : cases) {
    CExprEvaluator evaluator(&m_resolver);
    EXPECT_EQ(evaluator.EvaluateCondition(c.text), c.result) << c.text;
  }
}

TEST_F(ExprEvaluatorTest, ArgumentsIntoAFrame) {
  struct CCase {
    const char* text;
    std::vector<std::pair<int32_t, std::string>> arguments;
  } cases[] = {
      {"(x, \"a\", 1 + 2)", {{VALUE_REFERENCE, "x"}, {VALUE_STRING, "a"}, {VALUE_DOUBLE, "3.000000"}}},
      {"(x)", {{VALUE_REFERENCE, "x"}}},
      {"x, 2", {{VALUE_REFERENCE, "x"}, {VALUE_DOUBLE, "2.000000"}}},
      {"()", {}},
      {"(three(), s)", {{VALUE_INT, "3"}, {VALUE_REFERENCE, "s"}}},
  };
  for (const CCase& c : cases) {
    CExprEvaluator evaluator(&m_resolver);
    CCallFrame frame(&m_engine);
    EXPECT_TRUE(evaluator.EvaluateArguments(c.text, frame)) << c.text;
    std::vector<std::pair<int32_t, std::string>> got;
    for (int32_t i = 1; i <= frame.ArgumentCount(); ++i) {
      got.emplace_back(frame.GetArgument(i)->GetKind(), frame.GetArgument(i)->GetText());
    }
    EXPECT_EQ(got, c.arguments) << c.text;
  }
  CCallFrame kept;
  kept.ParseArguments("1|kept");
  CExprEvaluator empty(&m_resolver);
  EXPECT_TRUE(empty.EvaluateArguments("", kept));
  EXPECT_EQ(kept.ArgumentCount(), 1);
  CExprEvaluator failing(&m_resolver);
  EXPECT_FALSE(failing.EvaluateArguments("(1 +)", kept));
  EXPECT_EQ(failing.HasError(), 1);
}

TEST(ExprEvaluatorAlone, WithoutResolverNamesAreCalls) {
  CExprEvaluator evaluator;
  CScriptValue value;
  EXPECT_TRUE(evaluator.Evaluate("1 + 2", value));
  EXPECT_EQ(value.GetText(), "3.000000");
  CExprEvaluator call;
  EXPECT_FALSE(call.Evaluate("f(1)", value));
  EXPECT_EQ(call.ErrorWord(), "f");
  CExprEvaluator name;
  EXPECT_FALSE(name.Evaluate("x + 1", value));
  EXPECT_EQ(name.ErrorWord(), "x");
}

TEST(ExprEvaluatorAlone, AsksTheResolverAboutOtherNames) {
  struct CRecorder : IExprResolver {
    std::vector<std::string> asked;
    bool QueryName(const std::string& name) override {
      asked.push_back(name);
      return true;
    }
    int32_t CallFunction(const std::string& name, CCallFrame& frame) override {
      frame.SetResultNumber(1, VALUE_INT);
      return 1;
    }
  } recorder;
  CExprEvaluator evaluator(&recorder);
  CScriptValue value;
  EXPECT_TRUE(evaluator.Evaluate("g(1) + sin(0)", value));
  EXPECT_EQ(recorder.asked, (std::vector<std::string>{"g", "sin"}));
}

TEST_F(ExprEvaluatorTest, HostileInputNeverCrashes) {
  const size_t deep = 100000;
  std::string nested = std::string(deep, '(') + "1" + std::string(deep, ')');
  CResult r = Eval(nested);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, "1.000000");

  std::string calls;
  for (int i = 0; i < 20000; ++i) calls += "abs(";
  calls += "-1" + std::string(20000, ')');
  EXPECT_EQ(Eval(calls).text, "1.000000");

  EXPECT_EQ(Eval(std::string(deep, '(')).error, 0);
  EXPECT_EQ(Eval(std::string(deep, ')')).error, 1);
  EXPECT_EQ(Eval(std::string(deep, '-') + "1").text, "1.000000");
  EXPECT_EQ(Eval(std::string(deep, '!') + "0").ok, true);

  CExprEvaluator digits(&m_resolver);
  CScriptValue value;
  EXPECT_TRUE(digits.Evaluate(std::string(1 << 20, '9'), value));
  EXPECT_TRUE(std::isinf(value.GetDouble()));
  CExprEvaluator hex(&m_resolver);
  EXPECT_TRUE(hex.Evaluate("0x" + std::string(1 << 20, 'f'), value));
  EXPECT_TRUE(std::isinf(value.GetDouble()));
  EXPECT_EQ(Eval("fak(" + std::string(400, '9') + ")").ok, true);
  EXPECT_EQ(Eval("fak(1e300)").ok, true);

  std::string sum;
  for (int i = 0; i < 20000; ++i) sum += "1+";
  EXPECT_EQ(Eval(sum + "1").text, "20001.000000");
  std::string list = "f(";
  for (int i = 0; i < 20000; ++i) list += "1,";
  EXPECT_TRUE(Eval(list + "1)").ok);
  std::string operands;
  for (int i = 0; i < 20000; ++i) operands += "\"s\" ";
  CExprEvaluator many(&m_resolver);
  CCallFrame frame;
  EXPECT_TRUE(many.EvaluateArguments(operands, frame));
  EXPECT_EQ(frame.ArgumentCount(), 20000);

  // Bytes above 127 are name characters.
  m_engine.AddVariable("\xe4\xbd\xa0", VALUE_INT, "3");
  EXPECT_EQ(Eval("\xe4\xbd\xa0 * 2").text, "6.000000");
  EXPECT_EQ(Eval("\xff\xfe(1)").ok, true);
  EXPECT_EQ(Eval("\x80 + 1").word, "\x80");
  EXPECT_EQ(Eval(std::string("1 +\0 2", 6)).error, 1);
  EXPECT_EQ(Eval(std::string("\"a\0b\"", 5)).text, std::string("a\0b", 3));
}

}  // namespace
