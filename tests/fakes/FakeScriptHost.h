// A stand-in for the Windows Script engines: each host records the text it
// was given and the call it was asked for, and a test decides the answer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "system/ScriptHostApi.h"

class CFakeScriptHostFactory : public IScriptHostFactory {
 public:
  struct CCall {
    int32_t language = 0;
    std::string script;
    std::string function;
    std::vector<CScriptHostArgument> arguments;
  };

  // Every call made through any host, in order.
  std::vector<CCall> m_calls;
  int m_nHostsMade = 0;
  // Added to a host's errors when it loads its text (a missing engine, a
  // syntax error).
  std::vector<std::string> m_loadErrors;
  // Answers a call: the result text; texts pushed onto errors are the
  // call's failures. Unset, every call returns empty text without errors.
  std::function<std::string(const std::string& function, const std::vector<CScriptHostArgument>& arguments,
                            std::vector<std::string>& errors)>
      m_onCall;

  std::unique_ptr<IScriptHost> CreateHost(int32_t language) override;
};
