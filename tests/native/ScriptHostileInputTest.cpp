// Script texts that must not bring the engine down: deep nesting of blocks
// and expressions, huge lines, NUL bytes, unbalanced braces, and every
// statement word without its operands.
#include <gtest/gtest.h>

#include <string>

#include "script/ScriptEngine.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/native/ScriptCases.h"

namespace {

std::string Repeat(const std::string& piece, size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

constexpr size_t kDeep = 100000;

TEST(ScriptHostileInputTest, HundredThousandNestedBlocksRun) {
  struct CCase {
    const char* what;
    std::string open;
    std::string inner;
    std::string close;
    const char* n;
  };
  const CCase cases[] = {
      {"nested ifs", "if (1)\r\n{\r\n", "n = n + 1\r\n", "}\r\n", "1"},
      {"nested loops left by break", "while (1)\r\n{\r\n", "n = n + 1\r\nbreak\r\n", "break\r\n}\r\n", "1"},
      {"nested Switches", "Switch (1)\r\n{\r\ncase 1:\r\n", "n = n + 1\r\n", "}\r\n", "1"},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    CScriptEngine engine;
    const std::string text = "Var int n\r\nFunction void Main()\r\n{\r\n" + Repeat(c.open, kDeep) + c.inner +
                             Repeat(c.close, kDeep) + "n = n * 2\r\n}\r\n";
    ASSERT_EQ(engine.LoadScriptText(text), 1) << c.what;
    EXPECT_EQ(engine.CallFunction("Main", nullptr), 1) << c.what;
    EXPECT_EQ(engine.m_nError, 0) << c.what;
    EXPECT_EQ(GlobalText(engine, "n"), "2") << c.what;
  }
}

TEST(ScriptHostileInputTest, HundredThousandUnclosedBlocks) {
  CFakePlatform platform;
  CScriptEngine engine;
  const std::string text = "Var int n\r\nFunction void Main()\r\n{\r\n" + Repeat("while (n < 1)\r\n{\r\n", kDeep);
  ASSERT_EQ(engine.LoadScriptText(text), 1);
  // The loops never close: the first one does not compile.
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 0);
  EXPECT_EQ(engine.m_nError, 1);
  EXPECT_EQ(engine.m_nErrorLine, 3);
}

TEST(ScriptHostileInputTest, DeepExpressionsAndHugeLines) {
  CFakePlatform platform;
  CScriptEngine engine;
  const std::string longText(1 << 20, 'x');
  const std::string text = "Var double d\r\nVar string s\r\nVar int n\r\nFunction void Main()\r\n{\r\n  d = " +
                           Repeat("(", kDeep) + "1" + Repeat(")", kDeep) + "\r\n  s = \"" + longText + "\"\r\n" +
                           "  n = 1" + Repeat(" + 1", kDeep) + "\r\n  " + std::string(kDeep, 'q') + "\r\n}\r\n";
  ASSERT_EQ(engine.LoadScriptText(text), 1);
  EXPECT_EQ(engine.CallFunction("Main", nullptr), 0);
  EXPECT_EQ(GlobalText(engine, "d"), "1.000000");
  EXPECT_EQ(GlobalText(engine, "s"), longText);
  EXPECT_EQ(GlobalText(engine, "n"), std::to_string(kDeep + 1));
  // The long last line is a call of an unknown function.
  EXPECT_EQ(engine.m_strErrorWord, std::string(kDeep, 'q'));
  EXPECT_EQ(engine.m_nErrorLine, 8);
}

TEST(ScriptHostileInputTest, NulBytesAreOrdinaryCharacters) {
  CFakePlatform platform;
  CScriptEngine engine;
  static const char kText[] =
      "Var int n\0x\r\nVar string s\r\nFunction void Ma\0in()\r\n{\r\n  s = \"a\0b\"\r\n  n\0 = 1\r\n}\r\n";
  const std::string text(kText, sizeof(kText) - 1);
  ASSERT_EQ(engine.LoadScriptText(text), 1);
  // The names hold their NUL bytes: "n\0x" is declared whole, and the
  // function is found only by its whole name.
  EXPECT_NE(engine.m_listUserVar.Find(std::string("n\0x", 3)), nullptr);
  EXPECT_EQ(engine.FunctionExists("Ma"), 0);
  EXPECT_EQ(engine.CallFunction(std::string("Ma\0in", 5), nullptr), 0);
  EXPECT_EQ(GlobalText(engine, "s"), std::string("a\0b", 3));
  EXPECT_EQ(engine.m_nErrorLine, 5);
}

TEST(ScriptHostileInputTest, StatementWordsWithoutOperands) {
  struct CCase {
    const char* line;
    int32_t result, error, code;
    const char* word;
  };
  const CCase cases[] = {
      {"if", 1, 0, 0, ""},            // an arm without condition is taken
      {"else", 0, 1, 0, "else"},      // not a statement of its own: a call
      {"while", 0, 1, 1, ""},         {"for", 1, 0, 0, ""},  // an empty condition never enters
      {"Switch", 0, 1, 5, ""},        {"case", 0, 1, 5, ""},         {"Do", 0, 1, 0, ""},
      {"break", 0, 1, 7, ""},         {"return", 1, 0, 0, ""},       {"Var", 0, 1, 0, ""},
      {"Set", 0, 1, 3, ""},           {"Goto", 1, 0, 0, ""},         {"Default:", 1, 0, 0, ""},
      {":", 1, 0, 0, ""},             {"=", 0, 1, 0, "="},           {"(", 0, 1, 0, ""},
      {")", 0, 1, 0, ")"},            {"++", 0, 1, 0, ""},           {".", 0, 1, 0, "."},
      {"a.", 0, 1, 8, "a."},          {"new", 0, 1, 0, "new"},       {"Nothing", 0, 1, 0, "Nothing"},
      {"CreateVexObject", 0, 1, 0, "CreateVexObject"},               {"RegKey.", 0, 1, 8, "RegKey."},
      {"MessageBox", 1, 0, 0, ""},    {"DataCmpGoto", 1, 0, 0, ""},  {"CallVBSFunction", 0, 1, 0, "CallVBSFunction"},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    CScriptEngine engine;
    ASSERT_EQ(engine.LoadScriptText(ScriptText(std::string("Function void Main()\n{\n  ") + c.line + "\n}\n")), 1)
        << c.line;
    EXPECT_EQ(engine.CallFunction("Main", nullptr), c.result) << c.line;
    EXPECT_EQ(engine.m_nError, c.error) << c.line;
    EXPECT_EQ(engine.m_nErrorCode, c.code) << c.line;
    EXPECT_EQ(engine.m_strErrorWord, c.word) << c.line;
    EXPECT_TRUE(engine.m_listSegIns.empty()) << c.line;
  }
}

TEST(ScriptHostileInputTest, HeadsWithoutBodiesAndStrayBraces) {
  struct CCase {
    const char* text;
    int32_t result, code;
  };
  const CCase cases[] = {
      {"Function void Main()", 1, 0},
      {"Function void Main()\r\n", 1, 0},
      // The closing braces are the body: the first has no block to close.
      {"Function void Main()\r\n}\r\n}\r\n}\r\n", 0, 15},
      {"}\r\n}\r\nFunction void Main()\r\n{\r\n}\r\n}\r\n{\r\n", 1, 0},
      {"Function void Main()\r\n{\r\n}\r\n}\r\n{\r\n{\r\n}\r\n", 1, 0},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    CScriptEngine engine;
    EXPECT_EQ(engine.LoadScriptText(c.text), 1) << c.text;
    EXPECT_EQ(engine.FunctionExists("Main"), 1) << c.text;
    EXPECT_EQ(engine.CallFunction("Main", nullptr), c.result) << c.text;
    EXPECT_EQ(engine.m_nErrorCode, c.code) << c.text;
    EXPECT_TRUE(engine.m_listSegIns.empty()) << c.text;
  }
}

}  // namespace
