// Loads any text as a VexScript program and runs its first functions, with
// the stand-ins for the system and a step budget so that endless loops end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "script/ScriptEngine.h"
#include "tests/fakes/FakeSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CFakePlatform platform;
  platform.files.AddFile("C:\\Inc\\lib.vbs", "Function F(a)\r\nF = a\r\nEnd Function");
  platform.registry.SetString("HKEY_CURRENT_USER\\Software\\Co", "Name", "Value");
  platform.ui.m_answers = {kIdYes, kIdNo, kIdCancel};
  platform.scriptHosts.m_onCall = [](const std::string& function, const std::vector<CScriptHostArgument>& arguments,
                                     std::vector<std::string>& errors) {
    if (function == "Bad") errors.push_back("Script error in line 1, position 0");
    return arguments.empty() ? std::string("7") : arguments[0].m_strText;
  };

  CScriptEngine engine;
  engine.m_strIncludeDir = "C:\\Inc";
  engine.SetStepBudgetForTests(20000);
  engine.LoadScriptText(text);
  engine.m_strVBScript += "\r\nFunction G()\r\nG = 1\r\nEnd Function";
  engine.SetVariableText("@@LastDialogState", "1");
  // The first functions, in turn, with and without arguments; each starts
  // with a clear error state so that it runs past its first line.
  for (size_t i = 0; i < engine.m_listSegment.size() && i < 4; ++i) {
    const std::string name = engine.m_listSegment[i]->m_strName;
    CCallFrame frame(&engine);
    frame.ParseArguments("3|1<,>2|text<,>4|2.5");
    engine.ClearError();
    engine.CallFunction(name, i % 2 == 1 ? &frame : nullptr);
    (void)frame.m_result.GetText();
  }
  return 0;
}
