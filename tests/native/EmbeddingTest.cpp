// The engine as a host embeds it: registered host objects and their calls
// back into the engine, the external-object hook, Reset, and the fields a
// host sets and reads.
#include <gtest/gtest.h>

#include <string>

#include "script/ScriptEngine.h"
#include "script/runtime/NumberText.h"
#include "script/runtime/ValueSet.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/native/ScriptCases.h"

namespace {

// A host object in the manner of the uninstaller's: methods that take
// arguments, return results, write back through arguments, fail, and call
// back into the engine through the frame's interpreter.
class CTestHost : public CScriptObject {
 public:
  explicit CTestHost(bool* destroyed = nullptr) : m_pDestroyed(destroyed) { SetTypeName("TestHost"); }
  ~CTestHost() override {
    if (m_pDestroyed) *m_pDestroyed = true;
  }

  int32_t Invoke(const std::string& method, CCallFrame& frame) override {
    ++m_nCalls;
    if (method == "Add") {
      frame.SetResultNumber(ReadIntText(frame.GetArgumentText(1, true)) + ReadIntText(frame.GetArgumentText(2, true)),
                            VALUE_INT);
      return 1;
    }
    if (method == "Store") {
      frame.SetArgumentText(1, "stored");
      return 1;
    }
    if (method == "SetState") {
      frame.m_pInterpreter->SetVariableText("@@LastDialogState", frame.GetArgumentText(1, true));
      return 1;
    }
    if (method == "ReadVariable") {
      CScriptVariable* variable = frame.m_pInterpreter->FindVariable(frame.GetArgumentText(1, false));
      frame.SetResultTyped(variable ? variable->GetText() : "<none>", VALUE_STRING);
      return 1;
    }
    return 0;
  }

  int m_nCalls = 0;

 private:
  bool* m_pDestroyed;
};

TEST(EmbeddingTest, HostObjectMethods) {
  CFakePlatform platform;
  CScriptEngine engine;
  auto* host = new CTestHost();
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int n\nVar string s\nVar string t\nFunction void OnUninstall()\n{\n"
                                             "  n = Uninstall.Add(2, 3)\n  Uninstall.Store(s)\n"
                                             "  Uninstall.SetState(\"2\")\n  Var string local\n  local = \"mine\"\n"
                                             "  t = Uninstall.ReadVariable(\"local\")\n  n = n + @@LastDialogState\n"
                                             "  Uninstall.Missing()\n  n = 0\n}\n")),
            1);
  engine.RegisterObject("Uninstall", host);
  EXPECT_EQ(host->GetInterpreter(), &engine);
  EXPECT_EQ(engine.FunctionExists("onuninstall"), 1);

  EXPECT_EQ(engine.CallFunction("OnUninstall", nullptr), 0);
  EXPECT_EQ(GlobalText(engine, "s"), "stored");
  // The method sees the running call's locals.
  EXPECT_EQ(GlobalText(engine, "t"), "mine");
  EXPECT_EQ(GlobalText(engine, "@@LastDialogState"), "2");
  EXPECT_EQ(GlobalText(engine, "n"), "7");
  // A method that returns 0 is error 8 with the qualified name as written.
  EXPECT_EQ(engine.m_nErrorCode, 8);
  EXPECT_EQ(engine.m_strErrorWord, "Uninstall.Missing");
  EXPECT_EQ(engine.m_nErrorLine, 12);
}

TEST(EmbeddingTest, EngineHoldsTheHostObjectUntilItGoes) {
  CFakePlatform platform;
  bool destroyed = false;
  {
    CScriptEngine engine;
    auto* host = new CTestHost(&destroyed);
    engine.RegisterObject("Uninstall", host);
    EXPECT_EQ(host->RefCount(), 1);
  }
  EXPECT_TRUE(destroyed);
}

TEST(EmbeddingTest, AProgramGlobalOfTheSameNameHidesTheHostObject) {
  CFakePlatform platform;
  CScriptEngine engine;
  auto* host = new CTestHost();
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int Uninstall\nFunction void Main()\n{\n  Uninstall.Add(1, 2)\n}\n")),
            1);
  engine.RegisterObject("Uninstall", host);
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 0);
  EXPECT_EQ(host->m_nCalls, 0);
  EXPECT_EQ(engine.m_nErrorCode, 8);
}

TEST(EmbeddingTest, HostSetsVariablesAndReadsThem) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int n\nFunction void Main()\n{\n  n = @@Given * 2\n}\n")), 1);
  engine.SetVariableText("@@Given", "21");
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 1);
  ASSERT_NE(engine.FindVariable("N"), nullptr);
  EXPECT_EQ(engine.FindVariable("n")->GetText(), "42");
  // An existing variable keeps its kind.
  engine.SetVariableText("n", "7.9");
  EXPECT_EQ(engine.FindVariable("n")->GetText(), "7");
  EXPECT_EQ(engine.ResolveArgText("n"), "7");
  EXPECT_EQ(engine.ResolveArgText("\"q\""), "q");
  EXPECT_EQ(engine.ResolveArgText("plain"), "plain");
}

TEST(EmbeddingTest, QualifiedNamesReachObjectMembers) {
  CFakePlatform platform;
  CScriptEngine engine;
  auto* host = new CTestHost();
  host->SetMember("Title", "Setup");
  host->SetMember("@@Mode", "silent");
  engine.RegisterObject("Uninstall", host);
  ASSERT_NE(engine.FindVariable("Uninstall.title"), nullptr);
  EXPECT_EQ(engine.FindVariable("Uninstall.title")->GetText(), "Setup");
  // The "@@" of an object name belongs to the member.
  ASSERT_NE(engine.FindVariable("@@Uninstall.Mode"), nullptr);
  EXPECT_EQ(engine.FindVariable("@@Uninstall.Mode")->GetText(), "silent");
  EXPECT_EQ(engine.FindVariable("Uninstall.Nope"), nullptr);
  EXPECT_EQ(engine.FindVariable("Nobody.Title"), nullptr);
  EXPECT_EQ(engine.FindObject("Uninstall"), host);
}

TEST(EmbeddingTest, CallingAnEventThatIsNotLoaded) {
  CFakePlatform platform;
  CScriptEngine engine;
  EXPECT_EQ(engine.FunctionExists("OnUninstall"), 0);
  EXPECT_EQ(engine.CallFunction("OnUninstall", nullptr), 0);
  EXPECT_EQ(engine.m_nError, 1);
  EXPECT_EQ(engine.m_nErrorCode, 11);
  EXPECT_EQ(engine.m_nErrorLine, -1);
  EXPECT_EQ(engine.m_strErrorWord, "OnUninstall");
}

// An engine whose hook makes CValueSet objects for "Vex.Set"; for "Vex.Drop"
// it makes one but also drops the program's globals first.
class CHookEngine : public CScriptEngine {
 public:
  CScriptObject* CreateExternalObject(const std::string& name) override {
    m_strAsked = name;
    if (name == "Vex.Set") return new CValueSet();
    if (name == "Vex.Drop") {
      ClearLists("m_listUserVar");
      return new CValueSet();
    }
    return nullptr;
  }
  std::string m_strAsked;
};

TEST(EmbeddingTest, ExternalObjectHook) {
  struct CCase {
    const char* what;
    const char* lines;
    int32_t result, code;
    const char* word;
  };
  const CCase cases[] = {
      {"an object from the hook",
       "Var IVexObject o\nVar string t\nFunction void Main()\n{\n  o = CreateVexObject(\"Vex.Set\")\n"
       "  o.SetValue(\"k\", \"v\")\n  t = o.GetValue(\"k\")\n}\n",
       1, 0, ""},
      {"the hook makes none", "Var IVexObject o\nFunction void Main()\n{\n  o = CreateVexObject(\"Nope\")\n}\n", 0, 12,
       "Nope"},
      {"a variable that is no object", "Var string s\nFunction void Main()\n{\n  s = CreateVexObject(\"Vex.Set\")\n}\n", 0,
       14, "s"},
      {"the variable is gone after the hook ran",
       "Var IVexObject o\nFunction void Main()\n{\n  o = CreateVexObject(\"Vex.Drop\")\n}\n", 0, 13, "o"},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    CHookEngine engine;
    ASSERT_EQ(engine.LoadScriptText(ScriptText(c.lines)), 1) << c.what;
    EXPECT_EQ(engine.CallFunction("Main", nullptr), c.result) << c.what;
    EXPECT_EQ(engine.m_nErrorCode, c.code) << c.what;
    EXPECT_EQ(engine.m_strErrorWord, c.word) << c.what;
  }
  CFakePlatform platform;
  CHookEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText(cases[0].lines)), 1);
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 1);
  EXPECT_EQ(engine.m_strAsked, "Vex.Set");
  EXPECT_EQ(GlobalText(engine, "t"), "v");
}

TEST(EmbeddingTest, ResetDiscardsEverything) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int n\nFunction void Main()\n{\n  break\n}\n")), 1);
  engine.RegisterObject("Uninstall", new CTestHost());
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 0);
  engine.Reset();
  EXPECT_EQ(engine.m_nError, 0);
  EXPECT_EQ(engine.m_nErrorCode, 0);
  EXPECT_EQ(engine.m_strErrorWord, "");
  EXPECT_TRUE(engine.m_listSegment.empty());
  EXPECT_EQ(engine.m_listUserVar.Count(), 0u);
  EXPECT_TRUE(engine.m_listExtClass.empty());
  EXPECT_EQ(engine.FindVariable("RegKey"), nullptr);
  // Without the classes, the type names of values are gone too.
  EXPECT_EQ(engine.LoadScriptText(ScriptText("Var int n\n")), 0);
  EXPECT_EQ(engine.m_nErrorCode, 14);
}

// A host object that, while its method runs, clears the engine's lists as a
// careless host might.
class CClearingHost : public CScriptObject {
 public:
  int32_t Invoke(const std::string& method, CCallFrame& frame) override {
    static_cast<CScriptEngine*>(frame.m_pInterpreter)->Reset();
    frame.SetResultNumber(1, VALUE_INT);
    return 1;
  }
};

TEST(EmbeddingTest, ClearingTheListsWhileACallRunsKeepsTheRunningCode) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int n\nFunction void Main()\n{\n  n = Host.Go()\n  n = 2\n"
                                             "  Var int m\n  m = 3\n}\n")),
            1);
  engine.RegisterObject("Host", new CClearingHost());
  // The classes went during the call, so the later declaration fails; the
  // code and the call itself stayed intact until the call ended.
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 0);
  EXPECT_EQ(engine.m_nErrorLine, 5);
  EXPECT_EQ(GlobalText(engine, "n"), "2");
  EXPECT_EQ(engine.m_listSegment.size(), 1u);
  EXPECT_TRUE(engine.m_listSegIns.empty());
}

}  // namespace
