// The built-in function library: calls of names that are neither object
// methods nor loaded segments.
#include <vector>

#include "app/Text.h"
#include "script/ScriptEngine.h"
#include "script/runtime/ScriptRegistry.h"
#include "system/Platform.h"
#include "system/ScriptHostApi.h"
#include "system/Shell.h"
#include "system/UserInterface.h"

namespace {

// The text of a value that may name a variable: that variable's text, or
// empty text when the variable is gone.
std::string NamedText(CScriptEngine& engine, const CScriptValue& value) {
  if (value.GetKind() != VALUE_REFERENCE) return value.GetText();
  CScriptVariable* variable = engine.FindVariable(value.GetStoredText());
  return variable ? variable->GetText() : std::string();
}

}  // namespace

std::string CScriptEngine::ArgumentText(const CCallFrame& frame, int32_t index) {
  return ResolveArgText(frame.GetArgumentText(index, true));
}

int32_t CScriptEngine::CallBuiltin(const std::string& name, CCallFrame& frame) {
  if (EqualsNoCase(name, "DataCpy")) {
    frame.SetArgumentText(1, ArgumentText(frame, 2));
    return 1;
  }
  if (EqualsNoCase(name, "StrCat")) {
    frame.SetArgumentText(1, ArgumentText(frame, 1) + ArgumentText(frame, 2));
    return 1;
  }
  if (EqualsNoCase(name, "CreateNewGUID")) {
    frame.SetArgumentText(1, NewGuidText());
    return 1;
  }
  if (EqualsNoCase(name, "MessageBox")) return BuiltinMessageBox(frame);
  // Recognised and refused.
  if (EqualsNoCase(name, "LaunchAppAndWait")) return 0;
  if (EqualsNoCase(name, "ShellExec")) return BuiltinShellExec(frame);
  if (EqualsNoCase(name, "SetRegStrValue")) return BuiltinSetRegStrValue(frame);
  if (EqualsNoCase(name, "GetRegStrValue")) return BuiltinGetRegStrValue(frame);
  if (EqualsNoCase(name, "DataCmpGoto")) return BuiltinDataCmpGoto(frame);
  if (EqualsNoCase(name, "CallVBSFunction")) return BuiltinCallVBSFunction(frame);
  return 0;
}

int32_t CScriptEngine::BuiltinMessageBox(CCallFrame& frame) {
  std::string caption = m_strMsgCaption.empty() ? std::string("Prompt") : m_strMsgCaption;
  std::string message;
  if (const CScriptVariable* argument = frame.GetArgument(1)) message = NamedText(*this, argument->m_value);
  if (const CScriptVariable* argument = frame.GetArgument(2)) caption = NamedText(*this, argument->m_value);
  // The script picks buttons and icons with the system's numbers; a type
  // held in a variable counts by the variable's number.
  unsigned type = kMbOk;
  if (const CScriptVariable* argument = frame.GetArgument(3)) {
    const CScriptVariable* named =
        argument->GetKind() == VALUE_REFERENCE ? FindVariable(argument->m_value.GetStoredText()) : argument;
    type = named ? static_cast<unsigned>(named->m_value.GetInt()) : kMbOk;
  }
  int button = Sys().ui->ShowMessageBox(message, caption, type);
  frame.SetResultNumber(button, VALUE_INT);
  return 1;
}

int32_t CScriptEngine::BuiltinShellExec(CCallFrame& frame) {
  const std::string file = ArgumentText(frame, 1);
  // The outcome is not looked at: a document that does not open is no
  // failure of the script.
  if (!file.empty()) Sys().shell->Execute("open", file, ArgumentText(frame, 2), ArgumentText(frame, 3), kSwShowNormal);
  return 1;
}

int32_t CScriptEngine::BuiltinSetRegStrValue(CCallFrame& frame) {
  const std::string root = ArgumentText(frame, 1), path = ArgumentText(frame, 2);
  const std::string valueName = ArgumentText(frame, 3), text = ArgumentText(frame, 4);
  CScriptRegistryKey key;
  if (key.Open(ScriptRootKeyFromName(root), path, kScriptRegWriteAccess)) key.SetString(valueName, text);
  return 1;
}

int32_t CScriptEngine::BuiltinGetRegStrValue(CCallFrame& frame) {
  const std::string root = ArgumentText(frame, 1), path = ArgumentText(frame, 2);
  const std::string valueName = ArgumentText(frame, 3);
  std::string text = ArgumentText(frame, 4);
  CScriptRegistryKey key;
  if (key.Open(ScriptRootKeyFromName(root), path, kScriptRegReadAccess)) key.QueryString(valueName, text);
  frame.SetArgumentText(5, text);
  return 1;
}

int32_t CScriptEngine::BuiltinDataCmpGoto(CCallFrame& frame) {
  // The label is the third argument as written, not resolved.
  if (frame.CompareArguments(1, 2) == 0) GotoLabel(m_pCurInstance, frame.GetArgumentText(3, false));
  return 1;
}

int32_t CScriptEngine::BuiltinCallVBSFunction(CCallFrame& frame) {
  if (m_strVBScript.empty() || !Sys().scriptHosts) {
    frame.SetResultTyped(std::string(), VALUE_STRING);
    return 0;
  }
  const std::string function = ArgumentText(frame, 1);
  std::unique_ptr<IScriptHost> host = Sys().scriptHosts->CreateHost(kScriptLanguageVBScript);
  host->LoadScript(m_strVBScript);

  std::vector<CScriptHostArgument> arguments;
  for (int32_t i = 2; i <= frame.ArgumentCount(); ++i) {
    const CScriptValue* value = &frame.GetArgument(i)->m_value;
    if (value->GetKind() == VALUE_REFERENCE) {
      const CScriptVariable* named = FindVariable(value->GetStoredText());
      if (!named) return 0;
      value = &named->m_value;
    }
    CScriptHostArgument argument;
    argument.m_bString = value->GetKind() == VALUE_STRING;
    if (argument.m_bString) {
      argument.m_strText = value->GetText();
    } else {
      argument.m_nNumber = value->GetInt();
    }
    arguments.push_back(argument);
  }

  frame.SetResultTyped(host->CallFunction(function, arguments), VALUE_STRING);
  const std::vector<std::string> errors = host->Errors();
  for (const std::string& error : errors) Sys().ui->ShowMessageBox(error, "VexScript", kMbOk);
  return errors.empty() ? 1 : 0;
}
