// The VexScript engine: loads programs into segments and globals, runs their
// functions line by line, and offers the host the embedding operations.
//
// Portable code never includes <windows.h>. A Win32 file that needs both
// must include this header after it: <windows.h> defines RegisterClass as a
// macro, which is undone here so that the engine's method keeps its name.
#pragma once

#ifdef RegisterClass
#undef RegisterClass
#endif

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/Segment.h"
#include "script/StatementCompiler.h"
#include "script/runtime/CallFrame.h"
#include "script/runtime/ExprResolver.h"
#include "script/runtime/ScriptInterpreter.h"
#include "script/runtime/ScriptObject.h"
#include "script/runtime/ScriptVariable.h"

// Error codes the engine records in m_nErrorCode.
enum : int32_t {
  SCRIPT_ERROR_WHILE_CONDITION = 1,  // a while line with an empty condition
  SCRIPT_ERROR_ASSIGNMENT = 3,       // a failed assignment; "Set" with no such variable
  SCRIPT_ERROR_DO_CONDITION = 4,     // a Do whose While line has an empty condition
  SCRIPT_ERROR_SWITCH = 5,           // an empty selector; a case with no open Switch
  SCRIPT_ERROR_FOR = 6,              // a for line that does not compile
  SCRIPT_ERROR_BREAK = 7,            // "break" with no open block
  SCRIPT_ERROR_METHOD = 8,           // a failed object method call
  SCRIPT_ERROR_RETURN = 9,           // a "return" whose expression fails
  SCRIPT_ERROR_FUNCTION_HEAD = 10,   // a bad Function head at load
  SCRIPT_ERROR_NOT_LOADED = 11,      // CallFunction of a name that is not loaded
  SCRIPT_ERROR_NO_OBJECT = 12,       // "Nothing" to a non-object; no object to assign
  SCRIPT_ERROR_NO_VARIABLE = 13,     // "CreateVexObject" to no such variable
  SCRIPT_ERROR_BAD_TYPE = 14,        // a bad "Var" type; "CreateVexObject" to a non-object
  SCRIPT_ERROR_CLOSE = 15,           // "}" with no open block
  // Calls nested deeper than kMaxCallDepth: the word is the name of the
  // function that was not called, the line the calling line.
  SCRIPT_ERROR_CALL_DEPTH = 16,
  // The test-only step budget ran out (word "step budget").
  SCRIPT_ERROR_STEP_BUDGET = 17,
};

class CScriptEngine : public IScriptInterpreter {
 public:
  // Nested calls of script functions beyond this depth are refused, so that
  // a function calling itself without end cannot exhaust the native stack.
  static constexpr size_t kMaxCallDepth = 256;

  CScriptEngine();
  ~CScriptEngine() override;
  CScriptEngine(const CScriptEngine&) = delete;
  CScriptEngine& operator=(const CScriptEngine&) = delete;

  // The hook of "CreateVexObject" assignments; the stock engine makes none.
  // A new object is returned unreferenced.
  virtual CScriptObject* CreateExternalObject(const std::string& name);

  // ---- loading
  // 1 when the whole text was read, 0 after a load error (what was read
  // before it stays).
  int32_t LoadScriptText(const std::string& text);
  // 0 when the file cannot be opened for reading, else as LoadScriptText.
  int32_t LoadScriptFile(const std::string& path);
  // The first segment of that name (any case), or null.
  CSegment* FindSegment(const std::string& name) const;
  int32_t FunctionExists(const std::string& name) const { return FindSegment(name) ? 1 : 0; }
  // A non-empty name replaces the prototype's type name; the engine keeps a
  // reference to the prototype.
  void RegisterClass(CScriptObject* prototype, const std::string& name);
  // An empty name clears the segments, globals, classes and running calls in
  // that order; "m_listSegment", "m_listUserVar", "m_listExtClass" or
  // "m_listSegIns" clears that list; any other name nothing. While a call
  // runs, the segments and the running calls stay.
  void ClearLists(const std::string& name);

  // ---- embedding
  // The object becomes the global object variable of that name; the engine
  // holds it from then on.
  void RegisterObject(const std::string& name, CScriptObject* object);
  // Clears the error state and every list (also "RegKey" and the classes).
  void Reset();
  // Clears the four error fields and nothing else.
  void ClearError();

  // ---- running
  // Calls a segment; the frame (may be null) gives the arguments and
  // receives the return value. 1 on success, 0 on failure.
  int32_t CallFunction(const std::string& name, CCallFrame* frame);
  // An object method, a segment or a built-in.
  int32_t Invoke(const std::string& name, CCallFrame& frame) override;
  int32_t CallObjectMethod(const std::string& name, CCallFrame& frame);
  // The built-in library; 0 for an unknown name or a failing built-in.
  int32_t CallBuiltin(const std::string& name, CCallFrame& frame);

  CScriptVariable* FindVariable(const std::string& name) override;
  // The object attached to the variable's value, whatever its kind.
  CScriptObject* FindObject(const std::string& name);
  CScriptObject* FindClass(const std::string& typeName) override;
  // A new unreferenced variable of the type, or null.
  CScriptVariable* CreateVariable(const std::string& name, const std::string& typeName);
  void SetVariableValue(const std::string& name, const CScriptValue& value) override;
  void SetVariableText(const std::string& name, const std::string& text) override;
  bool EvalCondition(const std::string& text);
  std::string ResolveArgText(const std::string& text) override;
  void GotoLabel(CSegmentInstance* instance, const std::string& label);
  // Records an error only while none is recorded.
  void SetError(int32_t code, const std::string& word, int32_t line);

  // Test hook, off in the product: after this many executed lines and
  // evaluated conditions the run stops with SCRIPT_ERROR_STEP_BUDGET.
  // A negative budget is no limit.
  void SetStepBudgetForTests(int64_t steps) { m_nStepBudget = steps; }

  // ---- state
  CEngineResolver m_resolver{this};
  CSegmentInstance* m_pCurInstance = nullptr;
  std::vector<std::unique_ptr<CSegment>> m_listSegment;
  CVariableList m_listUserVar;
  std::vector<CScriptObject*> m_listExtClass;  // one reference each
  // Running calls, outermost first (the innermost is the last).
  std::vector<std::unique_ptr<CSegmentInstance>> m_listSegIns;

  std::string m_strIncludeDir;
  std::string m_strVBScript;
  std::string m_strMsgCaption;

  int32_t m_nError = 0;
  int32_t m_nErrorCode = 0;
  int32_t m_nErrorLine = 0;
  std::string m_strErrorWord;

 private:
  // ---- loader
  bool LoadFromReader(CScriptReader& reader);
  void IncludeVBScript(const std::string& line);
  bool DeclareGlobal(const std::string& line, int32_t lineNumber);
  bool ReadSegmentHead(const std::string& word, const std::string& rest, int32_t lineNumber);

  // ---- interpreter
  // How an assignment ended: done, failed (the statement records its own
  // error), or failed with an error already recorded by the assignment or
  // by a call inside it, which stands.
  enum class EAssigned { kDone, kFailed, kRecorded };

  int32_t CallSegment(CSegment* segment, const std::string& name, CCallFrame* frame);
  int32_t RunInstance(CSegmentInstance* instance, const CCallFrame* frame);
  // True when the statement was a return.
  bool ExecStatement(CSegmentInstance* instance, const CSentence& sentence);
  void ExecIf(CSegmentInstance* instance, const std::string& text);
  void ExecClose(CSegmentInstance* instance);
  void ExecWhile(CSegmentInstance* instance, const std::string& text);
  void ExecFor(CSegmentInstance* instance, const std::string& text);
  void ExecSwitch(CSegmentInstance* instance, const std::string& text);
  void ExecCase(CSegmentInstance* instance);
  void ExecDo(CSegmentInstance* instance, const std::string& text);
  void ExecBreak(CSegmentInstance* instance);
  bool ExecReturn(CSegmentInstance* instance, const std::string& rest);
  void ExecSimpleStatement(CSegmentInstance* instance, const CStatement& statement);
  // Runs the init or step statement of a for loop; an empty one does nothing.
  void ExecForPart(CSegmentInstance* instance, const std::string& text, const CStatement& statement);
  // Enters the loop body when the condition holds, else leaves the block.
  void EnterOrLeaveLoop(CSegmentInstance* instance, CControlBlock* block);
  bool CallStatement(const std::string& name, const std::string& arguments);
  EAssigned Assign(CScriptVariable* variable, const std::string& name, const CAssignment& assignment);
  EAssigned AssignCompound(CScriptVariable* variable, const std::string& name, const CAssignment& assignment);
  EAssigned AssignExternal(CScriptVariable* variable, const std::string& name, const CAssignment& assignment);
  void WriteBackOutParameters(const CSegmentInstance& finished);
  // Records the line of a failing statement once per failure, at the
  // innermost call; the calls it unwinds through keep it.
  void NoteErrorLine(int32_t line);
  void NoteFailedCall(const std::string& name);
  // True when an error was recorded while a nested call ran, after none
  // was recorded before it.
  bool CallRecordedError(int32_t errorBefore) const { return errorBefore == 0 && m_nError != 0; }
  bool StepBudgetSpent();

  // ---- built-ins
  int32_t BuiltinMessageBox(CCallFrame& frame);
  int32_t BuiltinShellExec(CCallFrame& frame);
  int32_t BuiltinSetRegStrValue(CCallFrame& frame);
  int32_t BuiltinGetRegStrValue(CCallFrame& frame);
  int32_t BuiltinDataCmpGoto(CCallFrame& frame);
  int32_t BuiltinCallVBSFunction(CCallFrame& frame);
  // Argument i read with resolution, then once more through ResolveArgText.
  std::string ArgumentText(const CCallFrame& frame, int32_t index);

  bool m_bErrorLineNoted = false;
  int64_t m_nStepBudget = -1;
  // Failed calls so far, and the name of the last one: tells a failing
  // expression that a call inside it failed.
  uint32_t m_nFailedCalls = 0;
  std::string m_strFailedCall;
};
