#include <gtest/gtest.h>

#include "app/Text.h"

namespace {

TEST(Text, Trimming) {
  EXPECT_EQ(TrimWhitespace(" \t\n\v\f\rab c\r\n "), "ab c");
  EXPECT_EQ(TrimWhitespace(""), "");
  EXPECT_EQ(TrimBlanks(" \tx\t "), "\tx\t");
  EXPECT_EQ(TrimRightBlanks("  x  "), "  x");
}

TEST(Text, TrimKeepsTrailBytesOfMultiByteCharacters) {
  SetTestCodePage(932);
  // 0x81 0x20 would be a lead byte with a blank-valued trail: not a blank.
  EXPECT_EQ(TrimBlanks(std::string("a\x81\x20")), std::string("a\x81\x20"));
  EXPECT_EQ(TrimBlanks(std::string("a\x20")), "a");
  SetTestCodePage(0);
}

TEST(Text, CompareWithoutCase) {
  EXPECT_TRUE(EqualsNoCase("UnInstall.exe", "uninstall.EXE"));
  EXPECT_FALSE(EqualsNoCase("abc", "abd"));
  EXPECT_FALSE(EqualsNoCase("abc", "ab"));
  EXPECT_LT(CompareNoCase("a", "B"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
  EXPECT_EQ(ToUpperText("aBc1"), "ABC1");
  EXPECT_EQ(ToLowerText("aBc1"), "abc1");
}

TEST(Text, Atoi) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"12abc", 12}, {"abc", 0}, {"", 0}, {"  -7", -7}, {"+3", 3}, {"99999999999", INT32_MAX},
               {"-99999999999", INT32_MIN}, {"2.9", 2}, {"\t\n 5", 5}};
  for (const Case& c : cases) EXPECT_EQ(AtoiText(c.text), c.value) << c.text;
}

TEST(Text, FormatPatternIsSafeForAnyPattern) {
  EXPECT_EQ(FormatPattern("Are you sure you want to uninstall %s ?", {"App"}),
            "Are you sure you want to uninstall App ?");
  EXPECT_EQ(FormatPattern("%s and %s", {"a"}), "a and ");
  EXPECT_EQ(FormatPattern("100%% %n %x %", {"a"}), "100% %n %x %");
  EXPECT_EQ(FormatPattern("%d items", {"3"}), "3 items");
}

TEST(Text, StrFormat) { EXPECT_EQ(StrFormat("%s\\%s", "C:", "x"), "C:\\x"); }

}  // namespace
