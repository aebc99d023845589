#include <gtest/gtest.h>

#include "app/Text.h"
#include "records/ProfileDocument.h"
#include "tests/fakes/FakeSystem.h"

namespace {

struct LineCase {
  const char* name;
  std::string file;
  std::vector<std::string> lines;  // "section|line" for every key line, in order
};

std::vector<std::string> ReadAll(CFakePlatform& fake, const std::string& content) {
  fake.files.AddFile("C:\\p.ini", content);
  CProfileLineReader reader;
  EXPECT_TRUE(reader.Open("C:\\p.ini"));
  std::vector<std::string> got;
  std::string line;
  while (!reader.IsEof() && reader.NextLine(line)) got.push_back(reader.CurrentSection() + "|" + line);
  reader.Close();
  return got;
}

TEST(ProfileLineReader, LineRules) {
  const LineCase cases[] = {
      {"crlf", "[A]\r\nk=v\r\nx=y\r\n", {"A|k=v", "A|x=y"}},
      {"lf only is one line", "[A]\nk=v\n", {"|[A]\nk=v"}},
      {"last line without cr", "[A]\r\nk=v", {"A|k=v"}},
      {"nul vanishes", std::string("[A]\r\nk=v\0w\r\n", 12), {"A|k=vw"}},
      {"blank and whitespace lines skipped", "\r\n  \t \r\n[S]\r\n  key = val  \r\n", {"S|key = val"}},
      {"lines before header", "a=1\r\n[B]\r\nb=2\r\n", {"|a=1", "B|b=2"}},
      {"header untrimmed inside", "[ Strings ]\r\nk=1\r\n", {" Strings |k=1"}},
      {"empty header", "[]\r\nk=1\r\n", {"|k=1"}},
      {"lone bracket is a key line", "[\r\n", {"|["}},
      {"header at end ends reading", "k=1\r\n[Z]", {"|k=1"}},
      {"comment lines are key lines", ";c\r\n#h=1\r\n", {"|;c", "|#h=1"}},
      {"lone cr lines", "\r\r\rk=1", {"|k=1"}},
  };
  for (const LineCase& c : cases) {
    CFakePlatform fake;
    EXPECT_EQ(ReadAll(fake, c.file), c.lines) << c.name;
  }
}

TEST(ProfileLineReader, OpenFailsForMissingFile) {
  CFakePlatform fake;
  CProfileLineReader reader;
  EXPECT_FALSE(reader.Open("C:\\missing.ini"));
}

TEST(SplitKeyValue, Cases) {
  struct Case {
    std::string line, key, value;
  } cases[] = {
      {"  Key  =  some value  ", "  Key", "some value"},  // the reader already trimmed the line
      {"Key  =  some value", "Key", "some value"},
      {"key\t=v", "key\t", "v"},
      {"a=b=c", "a", "b=c"},
      {"noequals", "noequals", ""},
      {"=v", "", "v"},
      {"k= \tv\t ", "k", "\tv\t"},
  };
  for (const Case& c : cases) {
    std::string key, value;
    EXPECT_TRUE(SplitKeyValue(c.line, key, value)) << c.line;
    EXPECT_EQ(key, c.key) << c.line;
    EXPECT_EQ(value, c.value) << c.line;
  }
  std::string key, value;
  EXPECT_FALSE(SplitKeyValue("", key, value));
}

TEST(SplitAt, Cases) {
  std::string rest = "a,b,c", head;
  EXPECT_TRUE(SplitAt(rest, head, ","));
  EXPECT_EQ(head, "a");
  EXPECT_EQ(rest, "b,c");
  rest = "abc";
  EXPECT_TRUE(SplitAt(rest, head, ","));
  EXPECT_EQ(head, "abc");
  EXPECT_EQ(rest, "");
  head = "unchanged";
  EXPECT_FALSE(SplitAt(rest, head, ","));
  EXPECT_EQ(head, "unchanged");
  rest = "x<,>y";
  EXPECT_TRUE(SplitAt(rest, head, "<,>"));
  EXPECT_EQ(head, "x");
  EXPECT_EQ(rest, "y");
}

class ProfileDocumentTest : public ::testing::Test {
 protected:
  CProfileDocument& Load(const std::string& content) {
    fake.files.AddFile("C:\\App\\Setup.lr", content);
    EXPECT_TRUE(doc.Load("Setup", "C:\\App\\Setup.lr"));
    return doc;
  }
  CFakePlatform fake;
  CProfileDocument doc;
};

TEST_F(ProfileDocumentTest, SectionsMergeWithoutRegardToCase) {
  Load("[Strings]\r\n1004=a\r\n[Other]\r\nx=1\r\n[STRINGS]\r\n1005=b\r\n");
  ASSERT_EQ(doc.Sections().size(), 2u);
  EXPECT_EQ(doc.Sections()[0]->Name(), "Strings");
  EXPECT_EQ(doc.Sections()[0]->Keys(), (std::vector<std::string>{"1004", "1005"}));
  EXPECT_EQ(doc.GetString("strings", "1005"), "b");
  EXPECT_TRUE(doc.IsLoaded());
  EXPECT_EQ(doc.Name(), "Setup");
}

TEST_F(ProfileDocumentTest, LookupRules) {
  Load("[S]\r\nk=first\r\nK=second\r\nnl=Line1\\nLine2\r\ndbl=a\\\\nb\r\nempty=\r\n"
       "1004=num\r\n01005=lead\r\nn1=12abc\r\nn2=abc\r\nn3= -7\r\nq=\"quoted\"\r\n");
  bool found = false;
  EXPECT_EQ(doc.GetString("S", "k", &found), "first");
  EXPECT_TRUE(found);
  EXPECT_EQ(doc.GetString("s", "NL"), "Line1\nLine2");
  EXPECT_EQ(doc.Sections()[0]->Values()[2], "Line1\\nLine2");  // stored value unchanged
  EXPECT_EQ(doc.GetString("S", "dbl"), "a\\\nb");
  EXPECT_EQ(doc.GetString("S", "empty", &found), "");
  EXPECT_TRUE(found);
  EXPECT_EQ(doc.GetString("S", "missing", &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(doc.GetString("Nope", "k", &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(doc.GetStringByNumber("S", 1004), "num");
  EXPECT_EQ(doc.GetStringByNumber("S", 1005, &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(doc.GetInt("S", "n1"), 12);
  EXPECT_EQ(doc.GetInt("S", "n2"), 0);
  EXPECT_EQ(doc.GetInt("S", "n3"), -7);
  EXPECT_EQ(doc.GetInt("S", "missing"), 0);
  EXPECT_EQ(doc.GetString("S", "q"), "\"quoted\"");
}

TEST_F(ProfileDocumentTest, HeaderWithoutKeysMakesNoSection) {
  Load("[Empty]\r\n[Full]\r\na=1\r\n");
  ASSERT_EQ(doc.Sections().size(), 1u);
  EXPECT_EQ(doc.Sections()[0]->Name(), "Full");
  EXPECT_EQ(doc.FindSection("empty"), nullptr);
}

TEST_F(ProfileDocumentTest, SecondLoadAppends) {
  Load("[A]\r\nx=1\r\n");
  fake.files.AddFile("C:\\two.lr", "[a]\r\ny=2\r\n");
  EXPECT_TRUE(doc.Load("Two", "C:\\two.lr"));
  ASSERT_EQ(doc.Sections().size(), 1u);
  EXPECT_EQ(doc.GetString("A", "y"), "2");
  EXPECT_EQ(doc.Name(), "Two");
}

TEST_F(ProfileDocumentTest, FailedLoadLeavesDocumentUnloaded) {
  EXPECT_FALSE(doc.Load("Setup", "C:\\missing.lr"));
  EXPECT_FALSE(doc.IsLoaded());
  EXPECT_EQ(doc.GetString("Strings", "1004"), "");
}

TEST_F(ProfileDocumentTest, MultiByteNamesCompareByWholeCharacters) {
  SetTestCodePage(936);
  // 0xB0 0x61 is one character: its trail byte must not fold to 'A'.
  Load("[\xB0\x61]\r\nk=1\r\n");
  EXPECT_NE(doc.FindSection("\xB0\x61"), nullptr);
  EXPECT_EQ(doc.FindSection("\xB0\x41"), nullptr);
  SetTestCodePage(0);
}

}  // namespace
