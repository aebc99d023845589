// Checks of the registry calls the program relies on, run against the
// stand-in natively and against the real registry under Wine.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "system/RegistryApi.h"

inline void CheckRegistryApi(IRegistry& registry, const std::string& base) {
  RegHandle root = 0;
  ASSERT_EQ(registry.CreateKey(kHkeyCurrentUser, base, root), kErrorSuccess);
  RegHandle sub = 0;
  ASSERT_EQ(registry.CreateKey(root, "A\\B", sub), kErrorSuccess);
  const char text[] = "hello";
  EXPECT_EQ(registry.SetValue(sub, "Str", kRegSz, text, sizeof(text)), kErrorSuccess);
  uint32_t number = 42;
  EXPECT_EQ(registry.SetValue(sub, "Num", kRegDword, &number, 4), kErrorSuccess);

  uint32_t type = 0, size = 0;
  EXPECT_EQ(registry.QueryValue(sub, "str", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, sizeof(text));
  char small[2];
  size = sizeof(small);
  EXPECT_EQ(registry.QueryValue(sub, "Str", nullptr, small, &size), kErrorMoreData);
  char buffer[16] = {0};
  size = sizeof(buffer);
  EXPECT_EQ(registry.QueryValue(sub, "Str", &type, buffer, &size), kErrorSuccess);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(registry.QueryValue(sub, "Missing", &type, nullptr, &size), kErrorFileNotFound);

  std::string name;
  EXPECT_EQ(registry.EnumKey(root, 0, name, 256), kErrorSuccess);
  EXPECT_EQ(name, "A");
  EXPECT_EQ(registry.EnumKey(root, 1, name, 256), kErrorNoMoreItems);
  EXPECT_EQ(registry.EnumKey(root, 0, name, 1), kErrorMoreData);

  // A key with subkeys is not deleted by a single-key delete.
  EXPECT_NE(registry.DeleteKey(root, "A"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteValue(sub, "Num"), kErrorSuccess);
  EXPECT_EQ(registry.DeleteValue(sub, "Num"), kErrorFileNotFound);
  EXPECT_EQ(registry.CloseKey(sub), kErrorSuccess);

  RegHandle a = 0;
  ASSERT_EQ(registry.OpenKey(root, "a", kKeyRead | kKeyWrite, a), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(a, "b"), kErrorSuccess);
  EXPECT_EQ(registry.OpenKey(a, "B", kKeyRead, sub), kErrorFileNotFound);
  EXPECT_EQ(registry.CloseKey(a), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(root, "A"), kErrorSuccess);
  EXPECT_EQ(registry.CloseKey(root), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(kHkeyCurrentUser, base), kErrorSuccess);
  RegHandle gone = 0;
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, base, kKeyRead, gone), kErrorFileNotFound);
}
