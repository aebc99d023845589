// The Windows Script engines (VBScript, JavaScript) as the script built-ins
// use them: a host for one language is made, given a script text, asked to
// call one function, and then tells the texts of everything that failed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum : int32_t { kScriptLanguageVBScript = 1, kScriptLanguageJavaScript = 2 };

// One argument of a call: a string, or a 32-bit integer.
struct CScriptHostArgument {
  bool m_bString = false;
  int32_t m_nNumber = 0;
  std::string m_strText;
};

class IScriptHost {
 public:
  virtual ~IScriptHost() = default;
  // Parses and starts the text; false when that failed (the reason is in
  // the error texts).
  virtual bool LoadScript(const std::string& text) = 0;
  // The function's return value as text; empty when the function is not
  // defined or the call failed (a failure adds an error text).
  virtual std::string CallFunction(const std::string& name, const std::vector<CScriptHostArgument>& arguments) = 0;
  // Every failure so far, one text each, in order.
  virtual std::vector<std::string> Errors() const = 0;
};

class IScriptHostFactory {
 public:
  virtual ~IScriptHostFactory() = default;
  // A host for the language, its engine started; when the engine cannot be
  // started the host says why in its error texts.
  virtual std::unique_ptr<IScriptHost> CreateHost(int32_t language) = 0;
};
