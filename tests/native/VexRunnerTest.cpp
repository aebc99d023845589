// The console runner's portable part: its command line, its report and its
// exit codes, with the script files in the stand-in file system.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "script/runner/VexRunner.h"
#include "tests/fakes/FakeSystem.h"

namespace {

TEST(VexRunnerTest, CommandLines) {
  struct CCase {
    std::vector<std::string> arguments;
    bool ok;
    const char* script;
    const char* function;
    const char* vbscript;
    const char* include;
    const char* caption;
    const char* error;
  };
  const CCase cases[] = {
      {{"a.vex"}, true, "a.vex", "Main", "", "", "", ""},
      {{"a.vex", "OnUninstall"}, true, "a.vex", "OnUninstall", "", "", "", ""},
      {{"--vbs", "v.vbs", "--include", "C:\\Inc", "--caption", "Setup", "a.vex", "F"},
       true, "a.vex", "F", "v.vbs", "C:\\Inc", "Setup", ""},
      {{}, false, "", "Main", "", "", "", "no script file given"},
      {{"a.vex", "F", "G"}, false, "", "Main", "", "", "", "too many arguments"},
      {{"a.vex", "--vbs"}, false, "", "Main", "", "", "", "--vbs needs a value"},
      {{"--verbose", "a.vex"}, false, "", "Main", "", "", "", "unknown option --verbose"},
  };
  for (const CCase& c : cases) {
    CRunnerOptions options;
    std::string error;
    EXPECT_EQ(ParseRunnerArguments(c.arguments, options, error), c.ok) << c.error;
    EXPECT_EQ(error, c.error);
    if (!c.ok) continue;
    EXPECT_EQ(options.m_strScript, c.script);
    EXPECT_EQ(options.m_strFunction, c.function);
    EXPECT_EQ(options.m_strVBScript, c.vbscript);
    EXPECT_EQ(options.m_strIncludeDir, c.include);
    EXPECT_EQ(options.m_strCaption, c.caption);
  }
}

TEST(VexRunnerTest, ReportsTheErrorFieldsAndTheGlobals) {
  struct CCase {
    const char* what;
    const char* script;
    int exitCode;
    const char* report;
  };
  const CCase cases[] = {
      {"a run that succeeds",
       "Var int n\r\nVar string s\r\nVar IVexObject o\r\nFunction void Main()\r\n{\r\n  n = 5\r\n  s = \"done\"\r\n"
       "  MessageBox(\"Hi\")\r\n  DataCpy(@@State, \"2\")\r\n}\r\n",
       kRunSucceeded,
       "Result: 1\nError: 0\nErrorCode: 0\nErrorLine: 0\nErrorWord: \nGlobals:\n  RegKey (IVexObject) = [CRegKey]\n"
       "  n (Int) = 5\n  s (String) = done\n  o (IVexObject) = [none]\n  @@State (Text) = 2\n"},
      {"a script error",
       "Var int n\r\nFunction void Main()\r\n{\r\n  n = 1\r\n  break\r\n}\r\n", kRunScriptError,
       "Result: 0\nError: 1\nErrorCode: 7\nErrorLine: 4\nErrorWord: \nGlobals:\n  RegKey (IVexObject) = [CRegKey]\n"
       "  n (Int) = 1\n"},
      {"a load error: nothing is called",
       "Var int n\r\nVar void v\r\nFunction void Main()\r\n{\r\n}\r\n", kRunScriptError,
       "The script did not load.\nResult: 0\nError: 1\nErrorCode: 14\nErrorLine: 1\nErrorWord: void\nGlobals:\n"
       "  RegKey (IVexObject) = [CRegKey]\n  n (Int) = 0\n"},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    platform.files.AddFile("C:\\Work\\a.vex", c.script);
    CRunnerOptions options;
    options.m_strScript = "C:\\Work\\a.vex";
    std::ostringstream out;
    EXPECT_EQ(RunVexScript(options, out), c.exitCode) << c.what;
    EXPECT_EQ(out.str(), c.report) << c.what;
  }
}

TEST(VexRunnerTest, VBScriptFileAndOptionsReachTheEngine) {
  CFakePlatform platform;
  platform.files.AddFile("C:\\Work\\a.vex",
                         "#include lib.vbs VbScript\r\nVar string t\r\nFunction void Run()\r\n{\r\n"
                         "  t = CallVBSFunction(\"F\")\r\n  MessageBox(\"x\")\r\n}\r\n");
  platform.files.AddFile("C:\\Work\\a.vbs", "Function F()\r\nF = \"v\"\r\nEnd Function");
  platform.files.AddFile("C:\\Inc\\lib.vbs", "' lib");
  platform.scriptHosts.m_onCall = [](const std::string&, const std::vector<CScriptHostArgument>&,
                                     std::vector<std::string>&) { return std::string("v"); };
  CRunnerOptions options;
  std::string error;
  ASSERT_TRUE(ParseRunnerArguments({"--vbs", "C:\\Work\\a.vbs", "--include", "C:\\Inc", "--caption", "Setup",
                                    "C:\\Work\\a.vex", "Run"},
                                   options, error));
  std::ostringstream out;
  EXPECT_EQ(RunVexScript(options, out), kRunSucceeded);
  EXPECT_NE(out.str().find("  t (String) = v\n"), std::string::npos) << out.str();
  ASSERT_EQ(platform.scriptHosts.m_calls.size(), 1u);
  EXPECT_EQ(platform.scriptHosts.m_calls[0].script, "\r\n' lib\r\nFunction F()\r\nF = \"v\"\r\nEnd Function");
  ASSERT_EQ(platform.ui.m_shown.size(), 1u);
  EXPECT_EQ(platform.ui.m_shown[0].caption, "Setup");
}

TEST(VexRunnerTest, UnreadableFiles) {
  CFakePlatform platform;
  platform.files.AddFile("C:\\Work\\a.vex", "Function void Main()\r\n{\r\n}\r\n");
  struct CCase {
    const char* script;
    const char* vbscript;
    const char* output;
  };
  const CCase cases[] = {{"C:\\Work\\missing.vex", "", "Cannot read C:\\Work\\missing.vex\n"},
                         {"C:\\Work\\a.vex", "C:\\Work\\missing.vbs", "Cannot read C:\\Work\\missing.vbs\n"}};
  for (const CCase& c : cases) {
    CRunnerOptions options;
    options.m_strScript = c.script;
    options.m_strVBScript = c.vbscript;
    std::ostringstream out;
    EXPECT_EQ(RunVexScript(options, out), kRunCannotStart);
    EXPECT_EQ(out.str(), c.output);
  }
}

}  // namespace
