// The loader: word splitting, the line reader's rules and numbers, segment
// heads and bodies, global declarations, included VBScript files, load
// errors, and the engine's start state and lists.
#include <gtest/gtest.h>

#include <string>

#include "script/ScriptEngine.h"
#include "script/runtime/ValueSet.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/native/ScriptCases.h"

namespace {

TEST(ScriptLoaderTest, SplitFirstWord) {
  struct CCase {
    const char* text;
    const char* word;
    const char* rest;
  };
  const CCase cases[] = {
      {"if (a)", "if", "(a)"},   {"  if(a)", "if", "(a)"},     {"x=1", "x", "=1"},        {"x += 2", "x", "+= 2"},
      {"n++", "n", "++"},        {"a-b", "a", "-b"},           {"a*b", "a", "*b"},        {"a/b", "a", "/b"},
      {"a%b", "a", "%b"},        {"(a)", "", "(a)"},           {"word", "word", ""},      {"a.b(1)", "a.b", "(1)"},
      {"a   b  ", "a", "b"},     {"", "", ""},                 {"case 1:", "case", "1:"}, {"Default:", "Default:", ""},
  };
  for (const CCase& c : cases) {
    std::string word = "old", rest = "old";
    SplitFirstWord(c.text, word, rest);
    EXPECT_EQ(word, c.word) << c.text;
    EXPECT_EQ(rest, c.rest) << c.text;
  }
}

TEST(ScriptLoaderTest, PopToken) {
  struct CCase {
    const char* text;
    const char* delimiter;
    bool result;
    const char* token;
    const char* left;
  };
  const CCase cases[] = {
      {"a ; b;c", ";", true, "a", "b;c"}, {" a ", ";", true, "a", ""},   {";b", ";", true, "", "b"},
      {"a<,>b", "<,>", true, "a", "b"},   {"", ";", false, "old", ""},    {"#include x y", " ", true, "#include", "x y"},
  };
  for (const CCase& c : cases) {
    std::string text = c.text, token = "old";
    EXPECT_EQ(PopToken(text, token, c.delimiter), c.result) << c.text;
    EXPECT_EQ(token, c.token) << c.text;
    EXPECT_EQ(text, c.left) << c.text;
  }
}

TEST(ScriptLoaderTest, ReaderPreparesLinesAndCountsEveryPhysicalLine) {
  CScriptReader reader;
  reader.OpenText("a\r\n\r\n\tb\tc \t\r\n// note\r\n  x = 1 // c\r\n");
  struct CLine {
    const char* text;
    int32_t line;
  };
  std::string line;
  for (const CLine& expected : {CLine{"a", 0}, CLine{"b c", 2}, CLine{"x = 1 // c", 4}}) {
    ASSERT_TRUE(reader.GetLine(line, true));
    EXPECT_EQ(line, expected.text);
    EXPECT_EQ(reader.Line(), expected.line);
  }
  EXPECT_FALSE(reader.GetLine(line, true));
  EXPECT_TRUE(reader.IsEnd());

  // Without skipping, the empty lines come too, and the last line ends at
  // the end of the text.
  reader.OpenText("a\r\r\nb");
  std::vector<std::string> all;
  while (reader.GetLine(line, false)) all.push_back(line);
  EXPECT_EQ(all, (std::vector<std::string>{"a", "", "b"}));
}

TEST(ScriptLoaderTest, BodiesAndLineNumbers) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("// comment\n\nFunction void F()\n{\n  x = 1;;;\n  // note\n"
                                             "  x = 1 // note\n\ty = 2\n  {\n  }\n}\n")),
            1);
  CSegment* segment = engine.FindSegment("f");
  ASSERT_NE(segment, nullptr);
  EXPECT_EQ(segment->m_nLine, 2);
  EXPECT_EQ(segment->m_nKind, SEGMENT_FUNCTION);
  struct CSentenceCase {
    const char* text;
    int32_t line;
  };
  const CSentenceCase expected[] = {{"{", 3}, {"x = 1", 4}, {"x = 1 // note", 6}, {"y = 2", 7}, {"{", 8}, {"}", 9}};
  ASSERT_EQ(segment->SentenceCount(), 6);
  for (int32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(segment->GetSentenceText(i), expected[i].text) << i;
    EXPECT_EQ(segment->GetSentenceLine(i), expected[i].line) << i;
  }
  EXPECT_EQ(segment->GetSentenceText(6), "");
  EXPECT_EQ(segment->GetSentenceLine(-1), -1);
}

TEST(ScriptLoaderTest, SegmentShapes) {
  struct CShape {
    const char* what;
    const char* lines;
    const char* name;  // the segment looked up
    int32_t found;
    int32_t sentences;
  };
  const CShape shapes[] = {
      {"line feeds alone make one line: only the head is seen", "Function void F()\n{\n  x = 1\n}\n", "F", 1, 0},
      {"a brace on the head line: an empty body, the next line dropped",
       "Function void Foo() {\n  x = 1\n}\nFunction void G()\n{\n  y = 1\n}\n", "Foo", 1, 0},
      {"Section names ignore case", "Section Main\n{\n  a\n}\n", "MAIN", 1, 2},
      {"a Section name is the whole rest of its head", "Section Main()\n{\n  a\n}\n", "Main()", 1, 2},
      {"a Function head without a type word has an empty name", "Function Foo()\n{\n  a\n}\n", "", 1, 2},
      {"a body whose closing brace never comes takes every line", "Function void F()\n{\n  a\n  {\n  b\n", "F", 1, 4},
      {"a head followed by a closing brace stores lines until the depth is back at 0",
       "Function void F()\n}\n  a\n{\n  b\n", "F", 1, 2},
      {"stray lines and braces outside bodies are ignored", "x = 1\n}\n{\nFunction void F()\n{\n}\n", "F", 1, 1},
  };
  for (const CShape& shape : shapes) {
    CFakePlatform platform;
    CScriptEngine engine;
    // Line feeds alone are kept as they are for the first shape.
    std::string text = shape.what == shapes[0].what ? std::string(shape.lines) : ScriptText(shape.lines);
    EXPECT_EQ(engine.LoadScriptText(text), 1) << shape.what;
    EXPECT_EQ(engine.FunctionExists(shape.name), shape.found) << shape.what;
    CSegment* segment = engine.FindSegment(shape.name);
    ASSERT_NE(segment, nullptr) << shape.what;
    EXPECT_EQ(segment->SentenceCount(), shape.sentences) << shape.what;
  }
}

TEST(ScriptLoaderTest, FunctionHeadsAndParameters) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Function int Add(int a, out string b) extra\n{\n}\n"
                                             "Function void First()\n{\n  one\n}\nfunction VOID first\n{\n  two\n}\n")),
            1);
  CSegment* add = engine.FindSegment("ADD");
  ASSERT_NE(add, nullptr);
  const CVariableList& parameters = add->m_parameters.Arguments();
  ASSERT_EQ(parameters.Count(), 2u);
  EXPECT_EQ(parameters.At(0)->m_strName, "a");
  EXPECT_EQ(parameters.At(0)->GetKind(), VALUE_INT);
  EXPECT_EQ(parameters.At(1)->m_strName, "b");
  EXPECT_EQ(parameters.At(1)->GetKind(), VALUE_STRING);
  EXPECT_EQ(parameters.At(1)->m_nFlags, VAR_OUT);
  // Of two segments of one name the first is found.
  EXPECT_EQ(engine.FindSegment("first")->GetSentenceText(1), "one");
}

TEST(ScriptLoaderTest, LoadErrors) {
  struct CCase {
    const char* what;
    const char* lines;
    int32_t code;
    int32_t line;
    const char* word;
  };
  const CCase cases[] = {
      {"a Function head whose parameters never close", "\nFunction int Add(int a, int b\n{\n}\n", 10, 1,
       "int Add(int a, int b"},
      {"a parameter of a type that is no kind and no class", "Function void F(widget w)\n{\n}\n", 10, 0,
       "void F(widget w)"},
      {"an empty parameter", "Function void F(int a,)\n{\n}\n", 10, 0, "void F(int a,)"},
      {"a global of type void", "Var void v\n", 14, 0, "void"},
      {"a global of an unknown type", "\n\nVar Foo f\n", 14, 2, "Foo"},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    CScriptEngine engine;
    EXPECT_EQ(engine.LoadScriptText(ScriptText(c.lines)), 0) << c.what;
    EXPECT_EQ(engine.m_nError, 1) << c.what;
    EXPECT_EQ(engine.m_nErrorCode, c.code) << c.what;
    EXPECT_EQ(engine.m_nErrorLine, c.line) << c.what;
    EXPECT_EQ(engine.m_strErrorWord, c.word) << c.what;
  }
}

TEST(ScriptLoaderTest, RegisteredClassesServeAsTypes) {
  CFakePlatform platform;
  CScriptEngine engine;
  engine.RegisterClass(new CValueSet(), "widget");
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var widget w\nVar Foo f\nFunction void F(widget p)\n{\n}\n")), 0);
  // The class type works for globals and parameters; the load stopped at Foo.
  CScriptVariable* w = engine.m_listUserVar.Find("w");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->GetKind(), VALUE_OBJECT);
  ASSERT_NE(w->GetScriptObject(), nullptr);
  EXPECT_EQ(w->GetScriptObject()->GetTypeName(), "widget");
  EXPECT_EQ(engine.m_strErrorWord, "Foo");
  EXPECT_EQ(engine.FunctionExists("F"), 0);

  CScriptEngine second;
  second.RegisterClass(new CValueSet(), "widget");
  EXPECT_EQ(second.LoadScriptText(ScriptText("Function void F(widget p)\n{\n}\n")), 1);
  EXPECT_EQ(second.FindSegment("F")->m_parameters.Arguments().At(0)->GetKind(), VALUE_OBJECT);
}

TEST(ScriptLoaderTest, GlobalDeclarations) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.LoadScriptText(ScriptText("Var string s;\nVar int n = 5\nVAR double d\nVar IVexObject o\n"
                                             "Var CValueSet set\n")),
            1);
  struct CGlobal {
    const char* name;
    int32_t kind;
    const char* text;
    const char* objectType;  // the attached object's class, or null for none
  };
  const CGlobal globals[] = {
      {"s", VALUE_STRING, "", "String"}, {"n", VALUE_INT, "0", "int"},        {"d", VALUE_DOUBLE, "0.000000", "double"},
      {"o", VALUE_OBJECT, "", nullptr},  {"set", VALUE_OBJECT, "", "CValueSet"},
  };
  for (const CGlobal& g : globals) {
    CScriptVariable* variable = engine.m_listUserVar.Find(g.name);
    ASSERT_NE(variable, nullptr) << g.name;
    EXPECT_EQ(variable->GetKind(), g.kind) << g.name;
    EXPECT_EQ(variable->GetText(), g.text) << g.name;
    CScriptObject* object = variable->m_value.GetAttachedObject();
    if (g.objectType) {
      ASSERT_NE(object, nullptr) << g.name;
      EXPECT_EQ(object->GetTypeName(), g.objectType) << g.name;
      EXPECT_EQ(object->GetInterpreter(), &engine) << g.name;
    } else {
      EXPECT_EQ(object, nullptr) << g.name;
    }
  }
}

TEST(ScriptLoaderTest, IncludedVBScriptFiles) {
  const char* program = "#include \"lib.vbs\" VbScript\n#INCLUDE other.vbs vbscript\n#include lib.vbs JScript\n"
                        "#define x\n";
  CFakePlatform platform;
  platform.files.AddFile("C:\\Scripts\\lib.vbs", "Function F()\r\nF = 1\r\nEnd Function");

  CScriptEngine withoutFolder;
  EXPECT_EQ(withoutFolder.LoadScriptText(ScriptText(program)), 1);
  EXPECT_EQ(withoutFolder.m_strVBScript, "");

  // The present file is appended after a line break; the missing one adds
  // the line break alone; other languages and directives add nothing.
  CScriptEngine engine;
  engine.m_strIncludeDir = "C:\\Scripts";
  EXPECT_EQ(engine.LoadScriptText(ScriptText(program)), 1);
  EXPECT_EQ(engine.m_strVBScript, "\r\nFunction F()\r\nF = 1\r\nEnd Function\r\n");
}

TEST(ScriptLoaderTest, FailedLoadKeepsWhatCameBeforeAndItsError) {
  CFakePlatform platform;
  CScriptEngine engine;
  EXPECT_EQ(engine.LoadScriptText(ScriptText("Var int n\nVar int m\nFunction void A()\n{\n  n = 1\n  m = 2\n}\n"
                                             "Var void v\nFunction void B()\n{\n}\n")),
            0);
  EXPECT_EQ(engine.FunctionExists("A"), 1);
  EXPECT_EQ(engine.FunctionExists("B"), 0);
  // A function loaded before the error stops after its first statement and
  // the host sees the load error.
  EXPECT_EQ(engine.CallFunction("A", nullptr), 0);
  EXPECT_EQ(GlobalText(engine, "n"), "1");
  EXPECT_EQ(GlobalText(engine, "m"), "0");
  EXPECT_EQ(engine.m_nErrorCode, 14);
  EXPECT_EQ(engine.m_strErrorWord, "void");
}

TEST(ScriptLoaderTest, FilesAndRepeatedLoads) {
  CFakePlatform platform;
  platform.files.AddFile("C:\\App\\ms.vex", "Function void A()\r\n{\r\n}\r\n");
  CScriptEngine engine;
  EXPECT_EQ(engine.LoadScriptFile("C:\\App\\missing.vex"), 0);
  EXPECT_EQ(engine.m_nError, 0);
  EXPECT_EQ(engine.LoadScriptFile("C:\\App\\ms.vex"), 1);
  // A second load adds to the first.
  EXPECT_EQ(engine.LoadScriptText("Function void B()\r\n{\r\n}\r\n"), 1);
  EXPECT_EQ(engine.FunctionExists("A"), 1);
  EXPECT_EQ(engine.FunctionExists("B"), 1);
  EXPECT_EQ(engine.m_listSegment.size(), 2u);
}

TEST(ScriptLoaderTest, ConstructionRegistersRegKeyAndTheClasses) {
  CFakePlatform platform;
  CScriptEngine engine;
  ASSERT_EQ(engine.m_listUserVar.Count(), 1u);
  CScriptVariable* regKey = engine.m_listUserVar.At(0);
  EXPECT_EQ(regKey->m_strName, "RegKey");
  ASSERT_NE(regKey->GetScriptObject(), nullptr);
  EXPECT_EQ(regKey->GetScriptObject()->GetTypeName(), "CRegKey");
  EXPECT_EQ(regKey->GetScriptObject()->GetInterpreter(), &engine);

  const char* names[] = {"CValueSet", "CRegKey", "String", "int", "double"};
  ASSERT_EQ(engine.m_listExtClass.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(engine.m_listExtClass[i]->GetTypeName(), names[i]);
    EXPECT_EQ(engine.m_listExtClass[i]->GetInterpreter(), &engine);
  }
  EXPECT_EQ(engine.FindClass("STRING"), engine.m_listExtClass[2]);
  EXPECT_EQ(engine.m_nError, 0);
  EXPECT_EQ(engine.m_strVBScript, "");
  EXPECT_EQ(engine.m_strIncludeDir, "");
  EXPECT_EQ(engine.m_strMsgCaption, "");
}

TEST(ScriptLoaderTest, ClearListsByName) {
  struct CCase {
    const char* name;
    size_t segments, globals, classes;
  };
  const CCase cases[] = {
      {"", 0, 0, 0},           {"m_listSegment", 0, 2, 5}, {"m_listUserVar", 1, 0, 5},
      {"m_listExtClass", 1, 2, 0}, {"m_listSegIns", 1, 2, 5}, {"M_LISTSEGMENT", 1, 2, 5},
  };
  for (const CCase& c : cases) {
    CFakePlatform platform;
    CScriptEngine engine;
    ASSERT_EQ(engine.LoadScriptText(ScriptText("Var int n\nFunction void F()\n{\n}\n")), 1);
    engine.ClearLists(c.name);
    EXPECT_EQ(engine.m_listSegment.size(), c.segments) << c.name;
    EXPECT_EQ(engine.m_listUserVar.Count(), c.globals) << c.name;
    EXPECT_EQ(engine.m_listExtClass.size(), c.classes) << c.name;
  }
}

}  // namespace
