// The Windows Script host against the system's VBScript engine, directly
// and through the CallVBSFunction built-in of a running script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/runtime/ActiveScriptHost.h"
// After <windows.h>: the engine's header undoes its RegisterClass macro.
#include "script/ScriptEngine.h"
#include "system/Platform.h"
#include "system/Shell.h"
#include "tests/fakes/FakeSystem.h"

namespace {

const char* const kScript =
    "Function Add(a, b)\r\n  Add = a + b\r\nEnd Function\r\n"
    "Function Greet(s)\r\n  Greet = \"Hello \" & s\r\nEnd Function\r\n"
    "Function Describe(s, n)\r\n  Describe = TypeName(s) & \":\" & TypeName(n) & \":\" & s & \":\" & n\r\nEnd Function\r\n"
    "Function Boom()\r\n  Boom = 1 / 0\r\nEnd Function\r\n";

class ActiveScriptHostTest : public ::testing::Test {
 protected:
  void SetUp() override { Sys().shell->InitializeCom(); }

  static std::string Call(CActiveScriptHost& host, const std::string& name, const CDispArgList& arguments) {
    std::string result = "unset";
    EXPECT_TRUE(host.CallFunction(name, arguments, result));
    return result;
  }
};

TEST_F(ActiveScriptHostTest, CallsFunctionsWithIntegerAndStringArguments) {
  CActiveScriptHost host;
  ASSERT_TRUE(host.Init(1));
  ASSERT_TRUE(host.LoadScript(kScript));
  CDispArgList numbers;
  numbers.AddInt(40);
  numbers.AddInt(2);
  EXPECT_EQ(Call(host, "Add", numbers), "42");
  CDispArgList text;
  text.AddString("World");
  EXPECT_EQ(Call(host, "greet", text), "Hello World");
  // A string arrives as a string, an integer as a 32-bit integer.
  CDispArgList mixed;
  mixed.AddString("ab");
  mixed.AddInt(-7);
  EXPECT_EQ(Call(host, "Describe", mixed), "String:Long:ab:-7");
  EXPECT_EQ(host.GetErrorCount(), 0u);
}

TEST_F(ActiveScriptHostTest, UnknownFunctionGivesAnEmptyResultAndNoError) {
  CActiveScriptHost host;
  ASSERT_TRUE(host.Init(1));
  ASSERT_TRUE(host.LoadScript(kScript));
  EXPECT_EQ(Call(host, "NoSuchFunction", CDispArgList()), "");
  EXPECT_EQ(host.GetErrorCount(), 0u);
}

TEST_F(ActiveScriptHostTest, SyntaxErrorIsReportedByTheEngineAndTheParse) {
  CActiveScriptHost host;
  ASSERT_TRUE(host.Init(1));
  EXPECT_FALSE(host.LoadScript("Function F(\r\n  F = \r\nEnd Sub\r\n"));
  std::vector<std::string> errors;
  host.GetErrors(errors);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].rfind("Script error in line ", 0), 0u) << errors[0];
  EXPECT_EQ(errors[1].rfind("COM Error: 0x", 0), 0u) << errors[1];
  EXPECT_NE(errors[1].find("\nError parsing script text"), std::string::npos) << errors[1];
  // Nothing can be called afterwards, and nothing breaks.
  EXPECT_EQ(Call(host, "F", CDispArgList()), "");
}

TEST_F(ActiveScriptHostTest, RunTimeErrorInsideAFunctionIsCaughtAndReported) {
  CActiveScriptHost host;
  ASSERT_TRUE(host.Init(1));
  ASSERT_TRUE(host.LoadScript(kScript));
  EXPECT_EQ(Call(host, "Boom", CDispArgList()), "");
  std::vector<std::string> errors;
  host.GetErrors(errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_FALSE(errors[0].empty());
  // The engine is still usable.
  CDispArgList numbers;
  numbers.AddInt(1);
  numbers.AddInt(2);
  EXPECT_EQ(Call(host, "Add", numbers), "3");
}

TEST_F(ActiveScriptHostTest, LanguageTwoIsJavaScript) {
  CActiveScriptHost host;
  ASSERT_TRUE(host.Init(2));
  ASSERT_TRUE(host.LoadScript("function Add(a, b) { return a + b; }\r\n"));
  CDispArgList numbers;
  numbers.AddInt(40);
  numbers.AddInt(2);
  EXPECT_EQ(Call(host, "Add", numbers), "42");
}

// The engine's built-in with the real script host; message boxes go to a
// recording stand-in so that the test needs no one to press OK.
class CallVBSFunctionTest : public ActiveScriptHostTest {
 protected:
  void SetUp() override {
    ActiveScriptHostTest::SetUp();
    m_saved = Sys().ui;
    Sys().ui = &m_ui;
  }
  void TearDown() override { Sys().ui = m_saved; }

  CFakeUserInterface m_ui;
  IUserInterface* m_saved = nullptr;
};

TEST_F(CallVBSFunctionTest, ScriptCallsVBScriptFunctions) {
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText("Var string t\r\nVar string g\r\nVar string d\r\nVar int n\r\n"
                                  "Function void Main()\r\n{\r\n  n = 40\r\n  t = CallVBSFunction(\"Add\", n, 2)\r\n"
                                  "  g = CallVBSFunction(\"Greet\", \"VexScript\")\r\n"
                                  "  d = CallVBSFunction(\"Missing\")\r\n}\r\n"),
            1);
  engine.m_strVBScript = kScript;
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 1);
  EXPECT_EQ(engine.FindVariable("t")->GetText(), "42");
  EXPECT_EQ(engine.FindVariable("g")->GetText(), "Hello VexScript");
  EXPECT_EQ(engine.FindVariable("d")->GetText(), "");
  EXPECT_TRUE(m_ui.m_shown.empty());
}

TEST_F(CallVBSFunctionTest, ErrorsAreShownAndFailTheLine) {
  struct CCase {
    const char* what;
    const char* vbscript;
    const char* call;
    size_t boxes;
  };
  const CCase cases[] = {
      {"a run-time error inside the function", kScript, "Boom", 1},
      {"a syntax error in the VBScript text", "Function F(\r\nEnd Sub\r\n", "F", 2},
  };
  for (const CCase& c : cases) {
    m_ui.m_shown.clear();
    CScriptEngine engine;
    ASSERT_EQ(engine.LoadScriptText(std::string("Var string t\r\nVar int n\r\nFunction void Main()\r\n{\r\n"
                                                "  t = CallVBSFunction(\"") +
                                    c.call + "\")\r\n  n = 1\r\n}\r\n"),
              1);
    engine.m_strVBScript = c.vbscript;
    EXPECT_EQ(engine.CallFunction("Main", nullptr), 0) << c.what;
    EXPECT_EQ(engine.m_nErrorLine, 4) << c.what;
    EXPECT_EQ(engine.m_strErrorWord, "CallVBSFunction") << c.what;
    EXPECT_EQ(engine.FindVariable("n")->GetText(), "0") << c.what;
    ASSERT_EQ(m_ui.m_shown.size(), c.boxes) << c.what;
    for (const CShownMessage& box : m_ui.m_shown) {
      EXPECT_EQ(box.caption, "VexScript") << c.what;
      EXPECT_EQ(box.type, 0u) << c.what;
    }
    // The run can go on: with the error cleared the next call works.
    engine.ClearError();
    engine.m_strVBScript = kScript;
    ASSERT_EQ(engine.LoadScriptText("Function void Again()\r\n{\r\n  t = CallVBSFunction(\"Add\", 1, 1)\r\n}\r\n"), 1);
    EXPECT_EQ(engine.CallFunction("Again", nullptr), 1) << c.what;
    EXPECT_EQ(engine.FindVariable("t")->GetText(), "2") << c.what;
  }
}

}  // namespace
