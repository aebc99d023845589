// Tables of small VexScript programs for the engine's tests: each case is a
// program, the function to call, and what the call must leave behind (its
// result, the four error fields and the texts of some global variables).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "script/ScriptEngine.h"

// Lines written with "\n" become lines ending with CR LF, as script files
// have them.
inline std::string ScriptText(const std::string& lines) {
  std::string text;
  for (char c : lines) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text;
}

struct CScriptCase {
  const char* what;
  const char* lines;
  int32_t result = 1;
  int32_t error = 0;
  int32_t code = 0;
  int32_t line = 0;
  const char* word = "";
  std::vector<std::pair<const char*, const char*>> globals = {};
  const char* function = "Main";
};

inline std::string GlobalText(CScriptEngine& engine, const std::string& name) {
  CScriptVariable* variable = engine.m_listUserVar.Find(name);
  return variable ? variable->GetText() : std::string("<none>");
}

// Loads the case into the engine, calls its function and checks the outcome.
inline void ExpectCase(CScriptEngine& engine, const CScriptCase& c) {
  SCOPED_TRACE(c.what);
  engine.LoadScriptText(ScriptText(c.lines));
  EXPECT_EQ(engine.CallFunction(c.function, nullptr), c.result);
  EXPECT_EQ(engine.m_nError, c.error);
  EXPECT_EQ(engine.m_nErrorCode, c.code);
  EXPECT_EQ(engine.m_nErrorLine, c.line);
  EXPECT_EQ(engine.m_strErrorWord, c.word);
  for (const auto& global : c.globals) EXPECT_EQ(GlobalText(engine, global.first), global.second) << global.first;
  // Whatever happened, the run is over and nothing of it is left running.
  EXPECT_TRUE(engine.m_listSegIns.empty());
  EXPECT_EQ(engine.m_pCurInstance, nullptr);
}
