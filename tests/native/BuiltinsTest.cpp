// The built-in functions against the stand-ins: argument resolution, output
// arguments, message boxes, the shell, the registry, conditional jumps and
// calls of VBScript functions through the script host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Loads one function Main with the given body lines and globals a, b, c
// (strings) and n (int), and runs it.
int32_t RunMain(CScriptEngine& engine, const std::string& body) {
  EXPECT_EQ(engine.LoadScriptText(ScriptText("Var string a\nVar string b\nVar string c\nVar int n\n"
                                             "Function void Main()\n{\n" +
                                             body + "}\n")),
            1);
  return engine.CallFunction("Main", nullptr);
}

TEST(BuiltinsTest, TextsAndJumps) {
  ExpectCases({
      {"DataCpy copies a quoted text, a variable's text, and the text of a variable a quoted name names",
       "Var string a\nVar string b\nVar string c\nVar string d\nFunction void Main()\n{\n  b = \"beta\"\n"
       "  DataCpy(a, \"text\")\n  DataCpy(c, b)\n  DataCpy(d, \"b\")\n}\n",
       1, 0, 0, 0, "", {{"a", "text"}, {"c", "beta"}, {"d", "beta"}}},
      {"DataCpy into a quoted text writes nothing and succeeds",
       "Var string a\nFunction void Main()\n{\n  a = \"old\"\n  DataCpy(\"a\", \"new\")\n}\n", 1, 0, 0, 0, "",
       {{"a", "old"}}},
      {"an output argument naming a variable not yet there makes a global of untyped text",
       "Var int n\nFunction void Main()\n{\n  DataCpy(@@State, \"2\")\n  n = @@State + 1\n}\n", 1, 0, 0, 0, "",
       {{"@@State", "2"}, {"n", "3"}}},
      {"StrCat appends", "Var string a\nFunction void Main()\n{\n  a = \"ab\"\n  StrCat(a, \"cd\")\n}\n", 1, 0, 0, 0, "",
       {{"a", "abcd"}}},
      {"built-in names ignore case", "Var string a\nFunction void Main()\n{\n  datacpy(a, \"x\")\n}\n", 1, 0, 0, 0, "",
       {{"a", "x"}}},
      {"DataCmpGoto jumps when the texts are equal but for case, and goes on when they differ",
       "Var int n\nFunction void Main()\n{\n  DataCmpGoto(\"ABC\", \"abc\", \"Same\")\n  n = 1\nSame:\n  n = n + 10\n"
       "  DataCmpGoto(\"a\", \"b\", \"Other\")\n  n = n + 100\nOther:\n}\n",
       1, 0, 0, 0, "", {{"n", "110"}}},
      {"DataCmpGoto compares variables' texts",
       "Var string a\nVar int n\nFunction void Main()\n{\n  a = \"x\"\n  DataCmpGoto(a, \"X\", \"Skip\")\n  n = 1\nSkip:\n}\n",
       1, 0, 0, 0, "", {{"n", "0"}}},
      {"a loaded function of a built-in's name is called instead",
       "Var int n\nFunction void DataCpy(string x, string y)\n{\n  n = 5\n}\nFunction void Main()\n{\n"
       "  DataCpy(\"a\", \"b\")\n}\n",
       1, 0, 0, 0, "", {{"n", "5"}}},
      {"a name with a dot is always an object method",
       "Function void Main()\n{\n  DataCpy.Run()\n}\n", 0, 1, 8, 2, "DataCpy.Run"},
      {"LaunchAppAndWait is refused", "Function void Main()\n{\n  LaunchAppAndWait(\"x.exe\")\n}\n", 0, 1, 0, 2,
       "LaunchAppAndWait"},
      {"an unknown name fails with its name", "Function void Main()\n{\n  NoSuchThing(1)\n}\n", 0, 1, 0, 2,
       "NoSuchThing"},
  });
}

TEST(BuiltinsTest, CreateNewGUID) {
  CFakePlatform platform;
  CScriptEngine engine;
  EXPECT_EQ(RunMain(engine, "  CreateNewGUID(a)\n  CreateNewGUID(b)\n"), 1);
  const std::string a = GlobalText(engine, "a"), b = GlobalText(engine, "b");
  EXPECT_EQ(a, "{00000001-0000-4000-8000-000000001EEF}");
  EXPECT_EQ(b.size(), 38u);
  EXPECT_NE(a, b);
}

TEST(BuiltinsTest, MessageBox) {
  CFakePlatform platform;
  platform.ui.m_answers = {kIdOk, kIdYes, kIdNo, kIdOk};
  CScriptEngine engine;
  EXPECT_EQ(RunMain(engine,
                    "  n = MessageBox(\"Hello\")\n  a = n\n  n = MessageBox(\"Sure?\", \"Title\", 4)\n  b = n\n"
                    "  c = \"from a variable\"\n  n = 36\n  MessageBox(c, c, n)\n  MessageBox(\"x\", \"y\", 0x10)\n"),
            1);
  // The button pressed comes back as an int.
  EXPECT_EQ(GlobalText(engine, "a"), "1");
  EXPECT_EQ(GlobalText(engine, "b"), "6");
  struct CShown {
    const char* text;
    const char* caption;
    unsigned type;
  };
  const CShown shown[] = {
      {"Hello", "Prompt", 0}, {"Sure?", "Title", 4}, {"from a variable", "from a variable", 36}, {"x", "y", 0x10}};
  ASSERT_EQ(platform.ui.m_shown.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(platform.ui.m_shown[i].text, shown[i].text) << i;
    EXPECT_EQ(platform.ui.m_shown[i].caption, shown[i].caption) << i;
    EXPECT_EQ(platform.ui.m_shown[i].type, shown[i].type) << i;
  }

  // The host's default caption replaces "Prompt".
  CFakePlatform second;
  CScriptEngine captioned;
  captioned.m_strMsgCaption = "Setup";
  EXPECT_EQ(RunMain(captioned, "  MessageBox(\"Hi\")\n"), 1);
  ASSERT_EQ(second.ui.m_shown.size(), 1u);
  EXPECT_EQ(second.ui.m_shown[0].caption, "Setup");
}

TEST(BuiltinsTest, ShellExec) {
  CFakePlatform platform;
  CScriptEngine engine;
  EXPECT_EQ(RunMain(engine, "  a = \"C:\\\\Docs\"\n  ShellExec(\"readme.txt\", \"\", a)\n  ShellExec(\"\", \"x\", \"y\")\n"), 1);
  ASSERT_EQ(platform.shell.m_executions.size(), 1u);
  const CShellExecution& run = platform.shell.m_executions[0];
  EXPECT_EQ(run.verb, "open");
  EXPECT_EQ(run.file, "readme.txt");
  EXPECT_EQ(run.parameters, "");
  EXPECT_EQ(run.folder, "C:\\Docs");
  EXPECT_EQ(run.show, kSwShowNormal);

  // A document the shell cannot open is no failure.
  CFakePlatform failing;
  failing.shell.m_bExecuteResult = false;
  CScriptEngine second;
  EXPECT_EQ(RunMain(second, "  ShellExec(\"missing.doc\")\n  n = 1\n"), 1);
  EXPECT_EQ(GlobalText(second, "n"), "1");
}

TEST(BuiltinsTest, RegistryStrings) {
  CFakePlatform platform;
  platform.registry.SetString("HKEY_CURRENT_USER\\Software\\Co", "Name", "Value");
  platform.registry.SetString("HKEY_CURRENT_USER\\Software\\Co", "Path", "%WINDIR%\\x", kRegExpandSz);
  platform.registry.SetDword("HKEY_CURRENT_USER\\Software\\Co", "Count", 5);
  struct CCase {
    const char* call;
    const char* expected;
  };
  const CCase cases[] = {
      {"GetRegStrValue(\"HKEY_CURRENT_USER\", \"Software\\\\Co\", \"Name\", \"def\", a)", "Value"},
      {"GetRegStrValue(\"HKEY_CURRENT_USER\", \"Software\\\\Co\", \"Path\", \"def\", a)", "%WINDIR%\\x"},
      {"GetRegStrValue(\"HKEY_CURRENT_USER\", \"Software\\\\Co\", \"Count\", \"def\", a)", "def"},
      {"GetRegStrValue(\"HKEY_CURRENT_USER\", \"Software\\\\Co\", \"Missing\", \"def\", a)", "def"},
      {"GetRegStrValue(\"HKEY_CURRENT_USER\", \"Software\\\\Nope\", \"Name\", \"def\", a)", "def"},
      {"GetRegStrValue(\"hkey_current_user\", \"Software\\\\Co\", \"Name\", \"def\", a)", "def"},
  };
  for (const CCase& c : cases) {
    CScriptEngine engine;
    EXPECT_EQ(RunMain(engine, std::string("  ") + c.call + "\n"), 1) << c.call;
    EXPECT_EQ(GlobalText(engine, "a"), c.expected) << c.call;
  }
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);

  CScriptEngine writer;
  EXPECT_EQ(RunMain(writer,
                    "  SetRegStrValue(\"HKEY_CURRENT_USER\", \"Software\\\\Co\", \"Name\", \"New\")\n"
                    "  SetRegStrValue(\"HKEY_CURRENT_USER\", \"Software\\\\Co\\\\Sub\", \"Name\", \"x\")\n"
                    "  SetRegStrValue(\"HKEY_LOCAL\", \"Software\\\\Co\", \"Name\", \"x\")\n"),
            1);
  EXPECT_EQ(platform.registry.GetString("HKEY_CURRENT_USER\\Software\\Co", "Name"), "New");
  // Keys are never created.
  EXPECT_FALSE(platform.registry.HasKey("HKEY_CURRENT_USER\\Software\\Co\\Sub"));
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

TEST(BuiltinsTest, CallVBSFunctionPassesTypedArgumentsAndReturnsAString) {
  CFakePlatform platform;
  platform.scriptHosts.m_onCall = [](const std::string& function, const std::vector<CScriptHostArgument>& arguments,
                                     std::vector<std::string>& errors) { return std::string("42"); };
  CScriptEngine engine;
  engine.m_strVBScript = "Function F(a, b)\r\nF = 42\r\nEnd Function";
  EXPECT_EQ(RunMain(engine, "  b = \"text\"\n  n = 5\n  a = CallVBSFunction(\"F\", \"abc\", 7.9, n, b)\n  c = a + 1\n"), 1);
  EXPECT_EQ(GlobalText(engine, "a"), "42");
  // The result is a string: adding to it appends.
  EXPECT_EQ(GlobalText(engine, "c"), "421.000000");

  ASSERT_EQ(platform.scriptHosts.m_calls.size(), 1u);
  const CFakeScriptHostFactory::CCall& call = platform.scriptHosts.m_calls[0];
  EXPECT_EQ(call.language, kScriptLanguageVBScript);
  EXPECT_EQ(call.script, engine.m_strVBScript);
  EXPECT_EQ(call.function, "F");
  struct CArgument {
    bool isString;
    int32_t number;
    const char* text;
  };
  const CArgument expected[] = {{true, 0, "abc"}, {false, 7, ""}, {false, 5, ""}, {true, 0, "text"}};
  ASSERT_EQ(call.arguments.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(call.arguments[i].m_bString, expected[i].isString) << i;
    EXPECT_EQ(call.arguments[i].m_nNumber, expected[i].number) << i;
    EXPECT_EQ(call.arguments[i].m_strText, expected[i].text) << i;
  }
  EXPECT_TRUE(platform.ui.m_shown.empty());
}

TEST(BuiltinsTest, CallVBSFunctionFailures) {
  struct CCase {
    const char* what;
    const char* vbscript;
    std::vector<std::string> loadErrors;
    std::vector<std::string> callErrors;
    const char* body;
    int32_t code;
    size_t calls;
  };
  const CCase cases[] = {
      {"without VBScript text the call fails", "", {}, {}, "  a = CallVBSFunction(\"F\")\n", 3, 0},
      {"as a statement it fails too", "", {}, {}, "  CallVBSFunction(\"F\")\n", 0, 0},
      {"errors of the host are shown and fail the call", "x", {}, {"Script error in line 1, position 0"},
       "  a = CallVBSFunction(\"F\")\n", 3, 1},
      {"an engine that does not start", "x", {"COM Error: 0x800401f3\nScripting Engine (VBScript.dll) not registered"},
       {}, "  CallVBSFunction(\"F\")\n", 0, 1},
      {"a reference to a variable that does not exist", "x", {}, {}, "  CallVBSFunction(\"F\", @nosuch)\n", 0, 0},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    platform.scriptHosts.m_loadErrors = c.loadErrors;
    const std::vector<std::string> callErrors = c.callErrors;
    platform.scriptHosts.m_onCall = [&](const std::string&, const std::vector<CScriptHostArgument>&,
                                        std::vector<std::string>& errors) {
      errors.insert(errors.end(), callErrors.begin(), callErrors.end());
      return std::string();
    };
    CScriptEngine engine;
    engine.m_strVBScript = c.vbscript;
    EXPECT_EQ(RunMain(engine, std::string(c.body) + "  n = 1\n"), 0) << c.what;
    EXPECT_EQ(engine.m_nError, 1) << c.what;
    EXPECT_EQ(engine.m_nErrorCode, c.code) << c.what;
    EXPECT_EQ(engine.m_strErrorWord, "CallVBSFunction") << c.what;
    EXPECT_EQ(engine.m_nErrorLine, 6) << c.what;
    EXPECT_EQ(GlobalText(engine, "n"), "0") << c.what;
    EXPECT_EQ(platform.scriptHosts.m_calls.size(), c.calls) << c.what;
    std::vector<std::string> shown;
    for (const CShownMessage& message : platform.ui.m_shown) {
      EXPECT_EQ(message.caption, "VexScript") << c.what;
      EXPECT_EQ(message.type, kMbOk) << c.what;
      shown.push_back(message.text);
    }
    std::vector<std::string> errors = c.loadErrors;
    errors.insert(errors.end(), c.callErrors.begin(), c.callErrors.end());
    EXPECT_EQ(shown, errors) << c.what;
  }
}

}  // namespace
