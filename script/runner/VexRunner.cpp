#include "script/runner/VexRunner.h"

#include <memory>

#include "script/ScriptEngine.h"
#include "system/FileSystem.h"
#include "system/Platform.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::unique_ptr<IReadStream> stream = Sys().files->OpenForReading(path);
  if (!stream) return false;
  text.clear();
  char buffer[8192];
  for (size_t got; (got = stream->Read(buffer, sizeof(buffer))) > 0;) text.append(buffer, got);
  return true;
}

std::string KindName(int32_t kind) {
  std::string name = TypeNameOfKind(kind);
  if (!name.empty()) return name;
  switch (kind) {
    case VALUE_EMPTY:
      return "Empty";
    case VALUE_TEXT:
      return "Text";
    default:
      return "kind " + std::to_string(kind);
  }
}

std::string ValueText(const CScriptVariable& variable) {
  if (variable.GetKind() != VALUE_OBJECT) return variable.GetText();
  const CScriptObject* object = variable.GetScriptObject();
  return object ? "[" + object->GetTypeName() + "]" : std::string("[none]");
}

}  // namespace

std::string RunnerUsage() {
  return "Usage: VexRun [options] <script file> [function]\n"
         "Loads a VexScript file, calls the function (default Main) and prints the\n"
         "error fields and the global variables.\n"
         "  --vbs <file>       VBScript text for CallVBSFunction\n"
         "  --include <folder> folder of the files named by #include lines\n"
         "  --caption <text>   default caption of MessageBox\n"
         "Exit code: 0 success, 1 script error, 2 bad arguments or unreadable files.\n";
}

bool ParseRunnerArguments(const std::vector<std::string>& arguments, CRunnerOptions& options, std::string& error) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string* target = nullptr;
    if (argument == "--vbs") target = &options.m_strVBScript;
    if (argument == "--include") target = &options.m_strIncludeDir;
    if (argument == "--caption") target = &options.m_strCaption;
    if (target) {
      if (i + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return false;
      }
      *target = arguments[++i];
    } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
      error = "unknown option " + argument;
      return false;
    } else {
      positional.push_back(argument);
    }
  }
  if (positional.empty() || positional.size() > 2) {
    error = positional.empty() ? "no script file given" : "too many arguments";
    return false;
  }
  options.m_strScript = positional[0];
  if (positional.size() == 2) options.m_strFunction = positional[1];
  return true;
}

void WriteRunReport(CScriptEngine& engine, int result, std::ostream& out) {
  out << "Result: " << result << "\n";
  out << "Error: " << engine.m_nError << "\n";
  out << "ErrorCode: " << engine.m_nErrorCode << "\n";
  out << "ErrorLine: " << engine.m_nErrorLine << "\n";
  out << "ErrorWord: " << engine.m_strErrorWord << "\n";
  out << "Globals:\n";
  for (size_t i = 0; i < engine.m_listUserVar.Count(); ++i) {
    const CScriptVariable& variable = *engine.m_listUserVar.At(i);
    out << "  " << variable.m_strName << " (" << KindName(variable.GetKind()) << ") = " << ValueText(variable) << "\n";
  }
}

int RunVexScript(const CRunnerOptions& options, std::ostream& out) {
  std::string script, vbscript;
  if (!ReadWholeFile(options.m_strScript, script)) {
    out << "Cannot read " << options.m_strScript << "\n";
    return kRunCannotStart;
  }
  if (!options.m_strVBScript.empty() && !ReadWholeFile(options.m_strVBScript, vbscript)) {
    out << "Cannot read " << options.m_strVBScript << "\n";
    return kRunCannotStart;
  }

  CScriptEngine engine;
  engine.m_strIncludeDir = options.m_strIncludeDir;
  engine.m_strMsgCaption = options.m_strCaption;
  const int32_t loaded = engine.LoadScriptText(script);
  // Included files come first, the given file after them.
  if (!vbscript.empty()) engine.m_strVBScript += "\r\n" + vbscript;
  int32_t result = 0;
  if (loaded) {
    result = engine.CallFunction(options.m_strFunction, nullptr);
  } else {
    out << "The script did not load.\n";
  }
  WriteRunReport(engine, result, out);
  return (result == 1 && engine.m_nError == 0) ? kRunSucceeded : kRunScriptError;
}
