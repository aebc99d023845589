// The script runtime's registry layer and CRegKey against the registry
// stand-in (the same checks run against the real registry under Wine), and
// the GUID text.
#include <gtest/gtest.h>

#include "script/runtime/ScriptRegistry.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/shared/ScriptRegistryChecks.h"

namespace {

using script_registry_checks::CRegKeyCall;
using script_registry_checks::Q;

TEST(ScriptRegistry, KeyOperations) {
  CFakePlatform platform;
  script_registry_checks::CheckRegistryKey("UninstScriptFake");
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
  EXPECT_FALSE(platform.registry.HasKey("HKEY_CURRENT_USER\\Software\\UninstScriptFake"));
}

TEST(ScriptRegistry, RegKeyMethodsLeaveNoKeyOpen) {
  CFakePlatform platform;
  script_registry_checks::CheckRegKeyMethods("UninstScriptFake");
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

TEST(ScriptRegistry, ReadsNeedNoWriteAccessAndWritesAreRefusedWhereDenied) {
  CFakePlatform platform;
  platform.registry.SetString("HKEY_LOCAL_MACHINE\\Software\\Co", "Name", "App");
  platform.registry.FindKey("HKEY_LOCAL_MACHINE\\Software\\Co")->denyWrite = true;
  platform.registry.MakeKey("HKEY_LOCAL_MACHINE\\Software\\Closed")->denyOpen = true;
  platform.registry.SetString("HKEY_LOCAL_MACHINE\\Software\\Closed", "Name", "Hidden");
  platform.registry.FindKey("HKEY_LOCAL_MACHINE\\Software\\Closed")->denyOpen = true;
  CFakeInterpreter engine;
  engine.AddObject("RegKey", new CRegKey());
  const std::string hklm = Q("HKEY_LOCAL_MACHINE");

  CRegKeyCall read(engine, "GetRegStrValue", {hklm, Q("Software\\Co"), Q("Name"), Q("none")});
  EXPECT_EQ(read.frame.m_result.GetText(), "App");
  CRegKeyCall write(engine, "SetRegStrValue", {hklm, Q("Software\\Co"), Q("Name"), Q("Changed")});
  EXPECT_EQ(write.handled, 1);
  EXPECT_EQ(platform.registry.GetString("HKEY_LOCAL_MACHINE\\Software\\Co", "Name"), "App");
  CRegKeyCall closed(engine, "GetRegStrValue", {hklm, Q("Software\\Closed"), Q("Name"), Q("none")});
  EXPECT_EQ(closed.frame.m_result.GetText(), "none");
  EXPECT_EQ(platform.registry.OpenHandleCount(), 0u);
}

TEST(ScriptRegistry, GuidText) {
  CFakePlatform platform;
  std::string first = NewGuidText();
  std::string second = NewGuidText();
  EXPECT_EQ(first.size(), 38u);
  EXPECT_EQ(first.front(), '{');
  EXPECT_EQ(first.back(), '}');
  EXPECT_NE(first, second);
  platform.shell.m_bGuidFails = true;
  EXPECT_EQ(NewGuidText(), "");
}

}  // namespace
