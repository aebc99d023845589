// The registry stand-in gives the system's results for the calls the
// program makes; the same checks run against the real registry under Wine.
#include <gtest/gtest.h>

#include "tests/fakes/FakeRegistry.h"
#include "tests/shared/RegistryApiChecks.h"

namespace {

TEST(FakeRegistry, BehavesLikeTheSystem) {
  CFakeRegistry registry;
  CheckRegistryApi(registry, "Software\\UninstFakeCheck");
}

TEST(FakeRegistry, SimulatedAccessFailures) {
  CFakeRegistry registry;
  registry.MakeKey("HKEY_CURRENT_USER\\Software\\Co\\Locked")->denyDelete = true;
  registry.MakeKey("HKEY_CURRENT_USER\\Software\\Co\\Closed")->denyOpen = true;
  RegHandle key = 0;
  ASSERT_EQ(registry.OpenKey(kHkeyCurrentUser, "Software\\Co", kKeyRead | kKeyWrite, key), kErrorSuccess);
  EXPECT_EQ(registry.DeleteKey(key, "Locked"), kErrorAccessDenied);
  RegHandle closed = 0;
  EXPECT_EQ(registry.OpenKey(key, "Closed", kKeyRead, closed), kErrorAccessDenied);
  EXPECT_EQ(closed, 0u);
  registry.CloseKey(key);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
