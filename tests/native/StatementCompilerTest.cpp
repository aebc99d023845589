// The statement compiler: brace matching, the five compilers with their
// arms, conditions and ends, what fails to compile, and the per-call cache.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "script/ScriptEngine.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/native/ScriptCases.h"

namespace {

// One function "F" whose body lines are given; index 0 is the opening "{",
// so the first given line has index 1.
class StatementCompilerTest : public ::testing::Test {
 protected:
  CSegment& Load(const std::string& body) {
    m_engine = std::make_unique<CScriptEngine>();
    EXPECT_EQ(m_engine->LoadScriptText(ScriptText("Function void F()\n{\n" + body + "}\n")), 1);
    CSegment* segment = m_engine->FindSegment("F");
    m_instance = std::make_unique<CSegmentInstance>(m_engine.get(), segment);
    return *segment;
  }
  const std::string& Text(int32_t index) { return m_instance->m_pSegment->GetSentenceText(index); }

  CFakePlatform m_platform;
  std::unique_ptr<CScriptEngine> m_engine;
  std::unique_ptr<CSegmentInstance> m_instance;
};

TEST_F(StatementCompilerTest, FindBlockEnd) {
  CSegment& segment = Load("x\n{\n  {\n  }\n  y\n}\n{\n");
  struct CCase {
    int32_t index, end;
  };
  // 1 x, 2 {, 3 {, 4 }, 5 y, 6 }, 7 {, 8 } (the function's own closing
  // brace closes 7, so the body's opening brace 0 never closes)
  for (const CCase& c : {CCase{1, 1}, CCase{2, 6}, CCase{3, 4}, CCase{5, 5}, CCase{7, 8}, CCase{0, -1}}) {
    EXPECT_EQ(segment.FindBlockEnd(c.index), c.end) << c.index;
  }
}

TEST_F(StatementCompilerTest, IfWithOneLineArms) {
  Load("if (a)\n  x = 1\nelse\n  x = 2\ny = 3\n");
  CControlBlock* block = m_instance->CompileIf(1, Text(1));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->m_nKind, BLOCK_IF);
  EXPECT_EQ(block->m_nStart, 1);
  EXPECT_EQ(block->m_nEnd, 4);
  ASSERT_EQ(block->m_arrBranch.size(), 2u);
  EXPECT_EQ(block->m_arrBranch[0].m_nHead, 1);
  EXPECT_EQ(block->m_arrBranch[0].m_nEnd, 2);
  EXPECT_EQ(block->m_arrBranch[0].m_strCondition, "(a)");
  EXPECT_EQ(block->m_arrBranch[1].m_nHead, 3);
  EXPECT_EQ(block->m_arrBranch[1].m_nEnd, 4);
  EXPECT_EQ(block->m_arrBranch[1].m_strCondition, "");
  EXPECT_TRUE(block->IsBlockEnd(2));
  EXPECT_TRUE(block->IsBlockEnd(4));
  EXPECT_FALSE(block->IsBlockEnd(3));
}

TEST_F(StatementCompilerTest, IfChainOfFourBracedArms) {
  Load("if (a)\n{\n}\nelse if (b)\n{\n}\nelse if(c)\n{\n  z\n}\nelse\n{\n}\nafter\n");
  CControlBlock* block = m_instance->CompileIf(1, Text(1));
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(block->m_arrBranch.size(), 4u);
  const char* conditions[] = {"(a)", "(b)", "(c)", ""};
  const int32_t heads[] = {1, 4, 7, 11};
  const int32_t ends[] = {3, 6, 10, 13};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(block->m_arrBranch[i].m_strCondition, conditions[i]) << i;
    EXPECT_EQ(block->m_arrBranch[i].m_nHead, heads[i]) << i;
    EXPECT_EQ(block->m_arrBranch[i].m_nEnd, ends[i]) << i;
  }
  EXPECT_EQ(block->m_nEnd, 13);
}

TEST_F(StatementCompilerTest, MalformedStructuresCompileToNothingAndCacheNothing) {
  struct CCase {
    const char* what;
    const char* body;
  };
  const CCase cases[] = {
      {"else followed by another word", "if (a)\n  x\nelse x = 1\n"},
      {"else if without a condition", "if (a)\n  x\nelse if\n  y\n"},
      // The function's closing brace closes the inner "{", so the
      // structure's own "{" stays open.
      {"an if arm whose braces never close", "if (a)\n{\n  x\n{\n"},
      {"a while whose braces never close", "while (a)\n{\n  x\n{\n"},
      {"a Do not followed by a While line", "Do\n{\n}\nx = 1\n"},
      {"a for whose braces never close", "for (i = 0; i < 1; i++)\n{\n{\n"},
      {"a Switch whose braces never close", "Switch (a)\n{\n{\n"},
  };
  for (const CCase& c : cases) {
    Load(c.body);
    const std::string& text = Text(1);
    const CStatement& statement = m_instance->m_pSegment->StatementAt(1);
    bool compiled = false;
    switch (statement.m_nKind) {
      case STATEMENT_IF:
        compiled = m_instance->CompileIf(1, text) != nullptr;
        break;
      case STATEMENT_WHILE:
        compiled = m_instance->CompileWhile(1, text) != nullptr;
        break;
      case STATEMENT_DO:
        compiled = m_instance->CompileDo(1, text) != nullptr;
        break;
      case STATEMENT_FOR:
        compiled = m_instance->CompileFor(1, text) != nullptr;
        break;
      default:
        compiled = m_instance->CompileSwitch(1, text) != nullptr;
        break;
    }
    EXPECT_FALSE(compiled) << c.what;
    EXPECT_EQ(m_instance->FindCompiled(1), nullptr) << c.what;
  }
}

TEST_F(StatementCompilerTest, CompilersRefuseOtherKeywords) {
  Load("x = 1\n");
  EXPECT_EQ(m_instance->CompileIf(1, "x = 1"), nullptr);
  EXPECT_EQ(m_instance->CompileWhile(1, "iffy (a)"), nullptr);
  EXPECT_EQ(m_instance->CompileDo(1, "Done"), nullptr);
  EXPECT_EQ(m_instance->CompileFor(1, "format(x)"), nullptr);
  EXPECT_EQ(m_instance->CompileSwitch(1, "Switcher (a)"), nullptr);
}

TEST_F(StatementCompilerTest, LoopsAndTheirEnds) {
  Load("while (n < 3)\n  n++\nwhile (n)\n{\n  a\n}\nDo\n{\n  b\n}\nWhile (n < 3)\n");
  CControlBlock* single = m_instance->CompileWhile(1, Text(1));
  ASSERT_NE(single, nullptr);
  EXPECT_EQ(single->m_nEnd, 2);
  EXPECT_EQ(single->m_strCondition, "(n < 3)");
  CControlBlock* braced = m_instance->CompileWhile(3, Text(3));
  ASSERT_NE(braced, nullptr);
  EXPECT_EQ(braced->m_nEnd, 6);
  CControlBlock* loop = m_instance->CompileDo(7, Text(7));
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->m_nKind, BLOCK_DO);
  EXPECT_EQ(loop->m_nEnd, 11);
  EXPECT_EQ(loop->m_strCondition, "(n < 3)");
}

TEST_F(StatementCompilerTest, ForHeaders) {
  struct CCase {
    const char* line;
    const char* init;
    const char* condition;
    const char* step;
  };
  const CCase cases[] = {
      {"for (i = 0; i < 3; i = i + 1)", "i = 0", "i < 3", "i = i + 1"},
      {"for (i = 0; i < 3; Inc(i))", "i = 0", "i < 3", "Inc(i"},
      {"for ((i = 0 ; i < 3 ; i++))", "i = 0", "i < 3", "i++"},
      {"for (; i < 3;)", "", "i < 3", ""},
      {"for", "", "", ""},
  };
  for (const CCase& c : cases) {
    Load(std::string(c.line) + "\n  x\n");
    CControlBlock* block = m_instance->CompileFor(1, Text(1));
    ASSERT_NE(block, nullptr) << c.line;
    EXPECT_EQ(block->m_strInit, c.init) << c.line;
    EXPECT_EQ(block->m_strCondition, c.condition) << c.line;
    EXPECT_EQ(block->m_strStep, c.step) << c.line;
    EXPECT_EQ(block->m_nEnd, 2) << c.line;
  }
}

TEST_F(StatementCompilerTest, SwitchLabels) {
  Load("Switch (n)\n{\n  case 1:\n  x\n  case \"a\"::\n  Default:\n  Default :\n  Switch (m)\n  {\n    case 9:\n  }\n"
       "  while (1)\n  {\n    case 2:\n  }\n}\n");
  std::shared_ptr<CControlBlock> block = m_instance->CompileSwitch(1, Text(1));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->m_strCondition, "(n)");
  EXPECT_EQ(block->m_nEnd, 16);
  // The nested Switch keeps its own label; a case inside another kind of
  // block belongs to this Switch.
  struct CLabel {
    int32_t head;
    const char* condition;
  };
  const CLabel labels[] = {{3, "1"}, {5, "\"a\""}, {6, ""}, {14, "2"}};
  ASSERT_EQ(block->m_arrBranch.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(block->m_arrBranch[i].m_nHead, labels[i].head) << i;
    EXPECT_EQ(block->m_arrBranch[i].m_strCondition, labels[i].condition) << i;
    EXPECT_EQ(block->m_arrBranch[i].m_nEnd, -1) << i;
  }
  // A Switch is compiled afresh each time and never cached.
  EXPECT_EQ(m_instance->FindCompiled(1), nullptr);
  EXPECT_NE(m_instance->CompileSwitch(1, Text(1)), block);
}

TEST_F(StatementCompilerTest, BlocksAreCachedPerCall) {
  CSegment& segment = Load("if (a)\n  x\n");
  CControlBlock* first = m_instance->CompileIf(1, Text(1));
  ASSERT_NE(first, nullptr);
  // The cached block comes back without the text being read again.
  EXPECT_EQ(m_instance->CompileIf(1, "whatever"), first);
  EXPECT_EQ(m_instance->FindCompiled(1), first);
  EXPECT_EQ(first->m_pOwner, m_instance.get());

  CSegmentInstance another(m_engine.get(), &segment);
  EXPECT_EQ(another.FindCompiled(1), nullptr);
  CControlBlock* second = another.CompileIf(1, Text(1));
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
}

TEST_F(StatementCompilerTest, OpenBlocks) {
  Load("while (1)\n{\n  if (1)\n    x\n}\n");
  CControlBlock* loop = m_instance->CompileWhile(1, Text(1));
  CControlBlock* branch = m_instance->CompileIf(3, Text(3));
  ASSERT_NE(loop, nullptr);
  ASSERT_NE(branch, nullptr);
  EXPECT_EQ(m_instance->TopFrame(), nullptr);
  m_instance->PushFrame(loop);
  m_instance->PushFrame(branch);
  EXPECT_EQ(m_instance->TopBlock(), branch);
  // A jump to the loop's last line keeps the loop and leaves the if.
  m_instance->PopFramesOutside(5);
  EXPECT_EQ(m_instance->TopBlock(), loop);
  m_instance->PopFrame();
  EXPECT_EQ(m_instance->TopFrame(), nullptr);
  m_instance->PopFrame();
  EXPECT_EQ(m_instance->FrameCount(), 0u);
}

}  // namespace
