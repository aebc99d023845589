// Checks of the script runtime's registry layer and of the CRegKey methods,
// run against the stand-in natively and against the real registry under Wine.
// They work below HKEY_CURRENT_USER\Software\<base> and remove it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "script/runtime/CallFrame.h"
#include "script/runtime/RegKeyObject.h"
#include "script/runtime/ScriptRegistry.h"
#include "system/Platform.h"
#include "system/RegistryApi.h"
#include "tests/fakes/FakeInterpreter.h"

namespace script_registry_checks {

// Sets up HKEY_CURRENT_USER\Software\<base>\Values with values of each type
// and removes it again.
class CRegistryFixture {
 public:
  explicit CRegistryFixture(const std::string& base) : m_strBase("Software\\" + base), m_strPath(m_strBase + "\\Values") {
    IRegistry& r = *Sys().registry;
    RegHandle key = 0;
    EXPECT_EQ(r.CreateKey(kHkeyCurrentUser, m_strPath, key), kErrorSuccess);
    Put(r, key, "Str", kRegSz, "hello", 6);
    Put(r, key, "Expand", kRegExpandSz, "%TEMP%\\x", 9);
    Put(r, key, "Unterminated", kRegSz, "abc", 3);
    uint32_t number = 42;
    Put(r, key, "Num", kRegDword, &number, 4);
    Put(r, key, "Short", kRegBinary, "\x05\x01", 2);
    Put(r, key, "Long", kRegBinary, "12345678", 8);
    r.CloseKey(key);
  }
  ~CRegistryFixture() {
    IRegistry& r = *Sys().registry;
    RegHandle key = 0;
    if (r.OpenKey(kHkeyCurrentUser, m_strBase, kKeyAllAccess, key) == kErrorSuccess) {
      r.DeleteKey(key, "Values");
      r.CloseKey(key);
    }
    r.DeleteKey(kHkeyCurrentUser, m_strBase);
  }
  const std::string& Path() const { return m_strPath; }

 private:
  static void Put(IRegistry& r, RegHandle key, const char* name, uint32_t type, const void* data, uint32_t size) {
    EXPECT_EQ(r.SetValue(key, name, type, data, size), kErrorSuccess) << name;
  }
  std::string m_strBase, m_strPath;
};

inline bool KeyExists(const std::string& path) {
  RegHandle key = 0;
  if (Sys().registry->OpenKey(kHkeyCurrentUser, path, kKeyRead, key) != kErrorSuccess) return false;
  Sys().registry->CloseKey(key);
  return true;
}

inline void CheckRegistryKey(const std::string& base) {
  CRegistryFixture fixture(base);
  CScriptRegistryKey key;
  EXPECT_FALSE(key.Open(0, fixture.Path(), kScriptRegReadAccess));
  EXPECT_FALSE(key.Open(kHkeyCurrentUser, fixture.Path() + "\\Missing", kScriptRegReadAccess));
  EXPECT_FALSE(key.IsOpen());
  ASSERT_TRUE(key.Open(ScriptRootKeyFromName("HKEY_CURRENT_USER"), fixture.Path(), kScriptRegWriteAccess));

  struct StringCase {
    const char* name;
    bool ok;
    const char* text;
  } strings[] = {{"Str", true, "hello"}, {"Expand", true, "%TEMP%\\x"}, {"Unterminated", true, "abc"},
                 {"Num", false, "default"}, {"Short", false, "default"}, {"Missing", false, "default"}};
  for (const StringCase& c : strings) {
    std::string text = "default";
    EXPECT_EQ(key.QueryString(c.name, text), c.ok) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }

  struct DwordCase {
    const char* name;
    bool ok;
    uint32_t number;
  } dwords[] = {{"Num", true, 42}, {"Short", true, 0x0105}, {"Long", false, 7}, {"Missing", false, 7}};
  for (const DwordCase& c : dwords) {
    uint32_t number = 7;
    EXPECT_EQ(key.QueryDword(c.name, number), c.ok) << c.name;
    EXPECT_EQ(number, c.number) << c.name;
  }

  EXPECT_TRUE(key.SetDword("Set", 0xDEADBEEF));
  uint32_t read = 0;
  EXPECT_TRUE(key.QueryDword("Set", read));
  EXPECT_EQ(read, 0xDEADBEEFu);
  EXPECT_TRUE(key.SetString("Text", "abc"));
  uint32_t type = 0, size = 0;
  EXPECT_EQ(Sys().registry->QueryValue(key.Handle(), "Text", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 4u);
  EXPECT_TRUE(key.ValueExists("text"));
  EXPECT_FALSE(key.ValueExists("Nothing"));
  key.Close();
  EXPECT_FALSE(key.IsOpen());

  for (const char* other : {"hkey_current_user", "HKEY_USERS", " HKEY_CURRENT_USER", ""}) {
    EXPECT_EQ(ScriptRootKeyFromName(other), 0u) << other;
  }
  EXPECT_EQ(ScriptRootKeyFromName("HKEY_LOCAL_MACHINE"), kHkeyLocalMachine);
  EXPECT_EQ(ScriptRootKeyFromName("HKEY_CLASSES_ROOT"), kHkeyClassesRoot);
}

// Runs a CRegKey method as a script would: through the engine, with quoted
// literals and bare variable names as arguments, so that outputs are
// written back to the variables.
struct CRegKeyCall {
  CFakeInterpreter& engine;
  CCallFrame frame;
  int32_t handled = 0;
  CRegKeyCall(CFakeInterpreter& e, const std::string& method, std::initializer_list<std::string> args)
      : engine(e), frame(&e) {
    std::string list;
    for (const std::string& a : args) {
      if (!list.empty()) list += kArgListSeparator;
      list += a;
    }
    frame.ParseArguments(list);
    handled = engine.Invoke("RegKey." + method, frame);
  }
};

inline std::string Q(const std::string& text) { return "\"" + text + "\""; }

inline void CheckRegKeyMethods(const std::string& base) {
  CRegistryFixture fixture(base);
  CFakeInterpreter engine;
  engine.AddObject("RegKey", new CRegKey());
  CScriptVariable* text = engine.AddVariable("text", VALUE_STRING);
  CScriptVariable* number = engine.AddVariable("number", VALUE_INT);
  engine.AddVariable("root", VALUE_STRING, "HKEY_CURRENT_USER");
  const std::string hkcu = Q("HKEY_CURRENT_USER");
  const std::string path = Q(fixture.Path());
  const std::string missing = Q(fixture.Path() + "\\Missing");

  struct GetCase {
    std::string root, subkey, name;
    const char* result;
  } gets[] = {
      {hkcu, path, Q("Str"), "hello"},
      {"root", path, Q("Str"), "hello"},
      {hkcu, path, Q("Expand"), "%TEMP%\\x"},
      {Q("hkey_current_user"), path, Q("Str"), "fallback"},
      {hkcu, path, Q("Num"), "fallback"},
      {hkcu, missing, Q("Str"), "fallback"},
  };
  for (const GetCase& c : gets) {
    CRegKeyCall call(engine, "GetRegStrValue", {c.root, c.subkey, c.name, Q("fallback")});
    EXPECT_EQ(call.handled, 1);
    EXPECT_EQ(call.frame.m_result.GetText(), c.result) << c.root << " " << c.name;
  }

  CRegKeyCall setText(engine, "SetRegStrValue", {hkcu, path, Q("New"), Q("written")});
  CRegKeyCall getNew(engine, "GetRegStrValue", {hkcu, path, Q("New"), Q("")});
  EXPECT_EQ(getNew.frame.m_result.GetText(), "written");
  CRegKeyCall setMissing(engine, "SetRegStrValue", {hkcu, missing, Q("New"), Q("x")});
  EXPECT_EQ(setMissing.handled, 1);
  EXPECT_FALSE(KeyExists(fixture.Path() + "\\Missing"));

  CRegKeyCall getEx(engine, "GetRegStrValueEx", {hkcu, path, Q("Str"), "text"});
  EXPECT_EQ(getEx.frame.m_result.GetInt(), 1);
  EXPECT_EQ(text->GetText(), "hello");
  CRegKeyCall getExMissing(engine, "GetRegStrValueEx", {hkcu, path, Q("Num"), "text"});
  EXPECT_EQ(getExMissing.frame.m_result.GetInt(), 0);
  EXPECT_EQ(text->GetText(), "");

  CRegKeyCall setNumber(engine, "SetRegDWordValue", {hkcu, path, Q("Count"), Q("1234")});
  CRegKeyCall getNumber(engine, "GetRegDWordValue", {hkcu, path, Q("Count"), Q("5")});
  EXPECT_EQ(getNumber.frame.m_result.GetText(), "1234.000000");
  CRegKeyCall getDefault(engine, "GetRegDWordValue", {hkcu, path, Q("Nothing"), Q("5")});
  EXPECT_EQ(getDefault.frame.m_result.GetInt(), 5);
  CRegKeyCall getWrongRoot(engine, "GetRegDWordValue", {Q("HKEY_USERS"), path, Q("Count"), Q("-1")});
  EXPECT_EQ(getWrongRoot.frame.m_result.GetInt(), -1);

  number->m_value.SetTypedText("99", VALUE_INT);
  CRegKeyCall getNumberEx(engine, "GetRegDWordValueEx", {hkcu, path, Q("Num"), "number"});
  EXPECT_EQ(getNumberEx.frame.m_result.GetInt(), 1);
  EXPECT_EQ(number->GetText(), "42");
  CRegKeyCall getNumberExMissing(engine, "GetRegDWordValueEx", {hkcu, path, Q("Nothing"), "number"});
  EXPECT_EQ(getNumberExMissing.frame.m_result.GetInt(), 0);
  EXPECT_EQ(number->GetText(), "0");

  CRegKeyCall exists(engine, "ExistValue", {hkcu, path, Q("Expand")});
  EXPECT_EQ(exists.frame.m_result.GetInt(), 1);
  CRegKeyCall absent(engine, "ExistValue", {hkcu, path, Q("Nothing")});
  EXPECT_EQ(absent.frame.m_result.GetInt(), 0);
  CRegKeyCall unknown(engine, "DeleteValue", {hkcu, path, Q("Str")});
  EXPECT_EQ(unknown.handled, 0);
  CRegKeyCall still(engine, "ExistValue", {hkcu, path, Q("Str")});
  EXPECT_EQ(still.frame.m_result.GetInt(), 1);
}

}  // namespace script_registry_checks
