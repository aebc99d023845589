#include "script/runtime/RegKeyObject.h"

#include "app/Text.h"
#include "script/runtime/CallFrame.h"
#include "script/runtime/NumberText.h"
#include "script/runtime/ScriptRegistry.h"

CRegKey::CRegKey() { SetTypeName("CRegKey"); }

CScriptObject* CRegKey::CreateInstance(const std::string& name) { return InitInstance(new CRegKey(), name); }

namespace {

// Root name, subkey and value name of a call, read the way the method asks.
struct CRegTarget {
  std::string root, subkey, name;
};

bool OpenTarget(CScriptRegistryKey& key, const CRegTarget& target, uint32_t access) {
  return key.Open(ScriptRootKeyFromName(target.root), target.subkey, access);
}

}  // namespace

int32_t CRegKey::Invoke(const std::string& method, CCallFrame& frame) {
  // The two string methods take their texts as the frame gives them; the
  // others resolve them once more, like the boxed classes.
  auto plain = [&](int32_t i) { return frame.GetArgumentText(i, true); };
  auto resolved = [&](int32_t i) { return ResolvedArgument(frame, i); };
  auto target = [&](bool resolve) {
    return resolve ? CRegTarget{resolved(1), resolved(2), resolved(3)} : CRegTarget{plain(1), plain(2), plain(3)};
  };

  if (EqualsNoCase(method, "SetRegStrValue")) {
    CRegTarget t = target(false);
    CScriptRegistryKey key;
    if (OpenTarget(key, t, kScriptRegWriteAccess)) key.SetString(t.name, plain(4));
    return 1;
  }
  if (EqualsNoCase(method, "GetRegStrValue")) {
    CRegTarget t = target(false);
    std::string text = plain(4);
    CScriptRegistryKey key;
    if (OpenTarget(key, t, kScriptRegReadAccess)) key.QueryString(t.name, text);
    frame.SetResultText(text);
    return 1;
  }
  if (EqualsNoCase(method, "GetRegStrValueEx")) {
    CRegTarget t = target(true);
    std::string text;
    CScriptRegistryKey key;
    bool read = OpenTarget(key, t, kScriptRegReadAccess) && key.QueryString(t.name, text);
    if (!read) text.clear();
    frame.SetArgumentText(4, text);
    frame.SetResultInt(read ? 1 : 0);
    return 1;
  }
  if (EqualsNoCase(method, "SetRegDWordValue")) {
    CRegTarget t = target(true);
    CScriptRegistryKey key;
    if (OpenTarget(key, t, kScriptRegWriteAccess)) key.SetDword(t.name, static_cast<uint32_t>(ResolvedNumber(frame, 4)));
    return 1;
  }
  if (EqualsNoCase(method, "GetRegDWordValue")) {
    CRegTarget t = target(true);
    uint32_t number = static_cast<uint32_t>(ResolvedNumber(frame, 4));
    CScriptRegistryKey key;
    if (OpenTarget(key, t, kScriptRegReadAccess)) key.QueryDword(t.name, number);
    frame.SetResultInt(static_cast<int32_t>(number));
    return 1;
  }
  if (EqualsNoCase(method, "GetRegDWordValueEx")) {
    CRegTarget t = target(true);
    uint32_t number = 0;
    CScriptRegistryKey key;
    bool read = OpenTarget(key, t, kScriptRegReadAccess) && key.QueryDword(t.name, number);
    if (!read) number = 0;
    frame.SetArgumentInt(4, static_cast<int32_t>(number));
    frame.SetResultInt(read ? 1 : 0);
    return 1;
  }
  if (EqualsNoCase(method, "ExistValue")) {
    CRegTarget t = target(true);
    CScriptRegistryKey key;
    bool exists = OpenTarget(key, t, kScriptRegReadAccess) && key.ValueExists(t.name);
    frame.SetResultInt(exists ? 1 : 0);
    return 1;
  }
  return 0;
}
