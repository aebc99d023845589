// The script runtime's registry layer, CRegKey and the GUID text against the
// real registry and COM.
#include <gtest/gtest.h>

#include <cctype>

#include "script/runtime/ScriptRegistry.h"
#include "tests/shared/ScriptRegistryChecks.h"

namespace {

TEST(ScriptRegistryReal, KeyOperations) { script_registry_checks::CheckRegistryKey("UninstScriptReal"); }

TEST(ScriptRegistryReal, RegKeyMethods) { script_registry_checks::CheckRegKeyMethods("UninstScriptReal"); }

TEST(ScriptRegistryReal, GuidTextIsTheBracedUpperCaseForm) {
  std::string first = NewGuidText();
  std::string second = NewGuidText();
  EXPECT_NE(first, second);
  for (const std::string& guid : {first, second}) {
    ASSERT_EQ(guid.size(), 38u) << guid;
    for (size_t i = 0; i < guid.size(); ++i) {
      char c = guid[i];
      if (i == 0) {
        EXPECT_EQ(c, '{');
      } else if (i == 37) {
        EXPECT_EQ(c, '}');
      } else if (i == 9 || i == 14 || i == 19 || i == 24) {
        EXPECT_EQ(c, '-') << guid;
      } else {
        EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(c)) && !std::islower(static_cast<unsigned char>(c)))
            << guid;
      }
    }
  }
}

}  // namespace
