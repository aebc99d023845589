// The registry layer against the in-memory registry.
#include <gtest/gtest.h>

#include "system/RegistryKey.h"
#include "tests/fakes/FakeSystem.h"

namespace {

const char kCo[] = "HKEY_CURRENT_USER\\Software\\Co";

class RegistryKeyTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fake.registry.OpenHandleCount(), 0u) << "a key was left open"; }
  CFakePlatform fake;
};

TEST_F(RegistryKeyTest, RootNamesCompareExactly) {
  struct Case {
    const char* name;
    RegHandle root;
  } cases[] = {
      {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine}, {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
      {"HKEY_CURRENT_USER", kHkeyCurrentUser},   {"hkey_local_machine", 0},
      {"HKEY_USERS", 0},                          {" HKEY_CURRENT_USER", 0},
      {"HKLM", 0},                                {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RootKeyFromName(c.name), c.root) << c.name;
}

TEST_F(RegistryKeyTest, OpenCreateAndCloseOwnTheHandle) {
  {
    CRegistryKey key;
    EXPECT_FALSE(key.Open(kHkeyCurrentUser, "Software\\Co", kKeyRead));
    EXPECT_FALSE(key.IsOpen());
    ASSERT_TRUE(key.Create(kHkeyCurrentUser, "Software\\Co"));
    EXPECT_TRUE(key.IsOpen());
    CRegistryKey sub;
    ASSERT_TRUE(sub.Create(key.Handle(), "App"));
    EXPECT_EQ(fake.registry.OpenHandleCount(), 2u);
    // Opening again replaces the held handle.
    ASSERT_TRUE(sub.Open(key.Handle(), "App", kKeyRead | kKeyWrite));
    EXPECT_EQ(fake.registry.OpenHandleCount(), 2u);
    sub.Close();
    sub.Close();
    EXPECT_EQ(fake.registry.OpenHandleCount(), 1u);
  }
  EXPECT_TRUE(fake.registry.HasKey(std::string(kCo) + "\\App"));
  CRegistryKey none;
  EXPECT_FALSE(none.Open(0, "Software", kKeyRead));
  EXPECT_FALSE(none.Create(0, "Software"));
  EXPECT_FALSE(none.SetString("x", "y"));
}

TEST_F(RegistryKeyTest, StringsAreReadOnlyFromPlainStringValues) {
  fake.registry.SetString(kCo, "Plain", "1.0");
  fake.registry.SetString(kCo, "Expand", "%TEMP%", kRegExpandSz);
  fake.registry.SetDword(kCo, "Number", 7);
  fake.registry.MakeKey(kCo)->values.push_back(CFakeRegistry::Value{"Embedded", kRegSz, std::string("ab\0cd\0", 6)});
  fake.registry.MakeKey(kCo)->values.push_back(CFakeRegistry::Value{"Unterminated", kRegSz, "xyz"});
  CRegistryKey key;
  ASSERT_TRUE(key.Open(kHkeyCurrentUser, "Software\\Co", kKeyRead | kKeyWrite));
  struct Case {
    const char* name;
    bool ok;
    const char* text;
  } cases[] = {
      {"Plain", true, "1.0"},  {"plain", true, "1.0"},      {"Embedded", true, "ab"}, {"Unterminated", true, "xyz"},
      {"Expand", false, ""},   {"Number", false, ""},       {"Missing", false, ""},
  };
  for (const Case& c : cases) {
    std::string text = "previous";
    EXPECT_EQ(key.QueryString(c.name, text), c.ok) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
  EXPECT_TRUE(key.SetString("Written", "v2"));
  EXPECT_EQ(fake.registry.MakeKey(kCo)->values.back().data, std::string("v2\0", 3));
}

TEST_F(RegistryKeyTest, DwordsReadAtMostFourBytesOfAnyType) {
  CFakeRegistry::Key* co = fake.registry.MakeKey(kCo);
  fake.registry.SetDword(kCo, "Number", 0x01020304);
  co->values.push_back(CFakeRegistry::Value{"Short", kRegBinary, std::string("\x05", 1)});
  co->values.push_back(CFakeRegistry::Value{"Text", kRegSz, std::string("1\0", 2)});
  co->values.push_back(CFakeRegistry::Value{"Long", kRegBinary, std::string(8, '\x01')});
  CRegistryKey key;
  ASSERT_TRUE(key.Open(kHkeyCurrentUser, "Software\\Co", kKeyRead | kKeyWrite));
  struct Case {
    const char* name;
    bool ok;
    uint32_t number;
  } cases[] = {
      {"Number", true, 0x01020304u}, {"Short", true, 5u},          {"Text", true, 0x31u},
      {"Long", false, 0xDEADBEEFu},  {"Missing", false, 0xDEADBEEFu},
  };
  for (const Case& c : cases) {
    uint32_t number = 0xDEADBEEFu;
    EXPECT_EQ(key.QueryDword(c.name, number), c.ok) << c.name;
    EXPECT_EQ(number, c.number) << c.name;
  }
}

TEST_F(RegistryKeyTest, KeyTreeGoesDepthFirst) {
  fake.registry.SetString(std::string(kCo) + "\\App", "Version", "1");
  fake.registry.MakeKey(std::string(kCo) + "\\App\\A\\A1\\A11");
  fake.registry.MakeKey(std::string(kCo) + "\\App\\A\\A2");
  fake.registry.MakeKey(std::string(kCo) + "\\App\\B");
  fake.registry.MakeKey(std::string(kCo) + "\\Other");
  CRegistryKey key;
  ASSERT_TRUE(key.Open(kHkeyCurrentUser, "Software\\Co", kKeyRead | kKeyWrite));
  EXPECT_TRUE(key.DeleteKeyTree("app"));
  EXPECT_FALSE(fake.registry.HasKey(std::string(kCo) + "\\App"));
  EXPECT_TRUE(fake.registry.HasKey(std::string(kCo) + "\\Other"));
  EXPECT_FALSE(key.DeleteKeyTree("App"));
  // An empty name would be the held key itself.
  EXPECT_FALSE(key.DeleteKeyTree(""));
  EXPECT_TRUE(fake.registry.HasKey(std::string(kCo) + "\\Other"));
}

TEST_F(RegistryKeyTest, KeyTreeStopsAtTheFirstSubkeyThatStays) {
  fake.registry.MakeKey(std::string(kCo) + "\\App\\A\\A1");
  fake.registry.MakeKey(std::string(kCo) + "\\App\\B")->denyDelete = true;
  fake.registry.MakeKey(std::string(kCo) + "\\App\\C");
  CRegistryKey key;
  ASSERT_TRUE(key.Open(kHkeyCurrentUser, "Software\\Co", kKeyRead | kKeyWrite));
  EXPECT_FALSE(key.DeleteKeyTree("App"));
  EXPECT_FALSE(fake.registry.HasKey(std::string(kCo) + "\\App\\A"));
  EXPECT_TRUE(fake.registry.HasKey(std::string(kCo) + "\\App\\B"));
  EXPECT_TRUE(fake.registry.HasKey(std::string(kCo) + "\\App\\C"));
}

TEST_F(RegistryKeyTest, KeyTreeThatCannotBeOpenedStays) {
  fake.registry.MakeKey(std::string(kCo) + "\\App\\A");
  fake.registry.MakeKey(std::string(kCo) + "\\App")->denyOpen = true;
  CRegistryKey key;
  ASSERT_TRUE(key.Open(kHkeyCurrentUser, "Software\\Co", kKeyRead | kKeyWrite));
  EXPECT_FALSE(key.DeleteKeyTree("App"));
  EXPECT_TRUE(fake.registry.HasKey(std::string(kCo) + "\\App\\A"));
}

// A record's registry items: the subkey tree or one value goes, Path stays.
TEST_F(RegistryKeyTest, RemovalTexts) {
  struct Case {
    const char* text;
    bool result;
    bool appKeyGone;
    bool versionGone;
  } cases[] = {
      {"Key,HKEY_CURRENT_USER,Software\\Co,App", true, true, true},
      {"key,HKEY_CURRENT_USER,Software\\Co,App,ignored", true, true, true},
      {"Value,HKEY_CURRENT_USER,Software\\Co\\App,Version", true, false, true},
      {"Value,HKEY_CURRENT_USER,Software\\Co\\App,Missing", true, false, false},
      {"Key,HKEY_CURRENT_USER,Software\\Co,Missing", true, false, false},
      {"Value,hkey_current_user,Software\\Co\\App,Version", false, false, false},
      {"Key,HKEY_USERS,Software\\Co,App", false, false, false},
      {"Key, HKEY_CURRENT_USER,Software\\Co,App", false, false, false},
      {"Key,HKEY_CURRENT_USER,Software\\Missing,App", false, false, false},
      {"Key,HKEY_CURRENT_USER,Software\\Co", false, false, false},
      {"Key,HKEY_CURRENT_USER,Software\\Co,", false, false, false},
      {"Key,HKEY_CURRENT_USER,Software\\Co,,x", true, false, false},
      {"", false, false, false},
  };
  for (const Case& c : cases) {
    CFakePlatform local;
    local.registry.SetString(std::string(kCo) + "\\App", "Version", "1.0");
    local.registry.SetString(std::string(kCo) + "\\App", "Other", "x");
    local.registry.MakeKey(std::string(kCo) + "\\App\\Sub\\Deeper");
    EXPECT_EQ(RemoveRegistryItem(c.text), c.result) << c.text;
    std::string app = std::string(kCo) + "\\App";
    EXPECT_EQ(!local.registry.HasKey(app), c.appKeyGone) << c.text;
    EXPECT_EQ(!local.registry.HasValue(app, "Version"), c.versionGone) << c.text;
    EXPECT_TRUE(local.registry.HasKey(kCo)) << c.text;
    if (!c.appKeyGone) {
      EXPECT_TRUE(local.registry.HasValue(app, "Other")) << c.text;
    }
    EXPECT_EQ(local.registry.OpenHandleCount(), 0u) << c.text;
  }
}

}  // namespace
