// The interpreter: calls, the line loop, statements, assignments, variables
// and scopes, and the error model.
#include <string>

#include "app/Text.h"
#include "script/ScriptEngine.h"
#include "script/runtime/ExprEvaluator.h"
#include "script/runtime/NumberText.h"

namespace {

// Holds a reference for as long as a statement works on the variable, so
// that a host object clearing the engine's lists meanwhile cannot free it.
class CHeldVariable {
 public:
  explicit CHeldVariable(CScriptVariable* variable) : m_pVariable(variable) { m_pVariable->AddRef(); }
  ~CHeldVariable() { m_pVariable->Release(); }
  CHeldVariable(const CHeldVariable&) = delete;
  CHeldVariable& operator=(const CHeldVariable&) = delete;

 private:
  CScriptVariable* m_pVariable;
};

}  // namespace

// ---- calls

int32_t CScriptEngine::CallFunction(const std::string& name, CCallFrame* frame) {
  CSegment* segment = FindSegment(name);
  if (!segment) {
    SetError(SCRIPT_ERROR_NOT_LOADED, name, -1);
    return 0;
  }
  return CallSegment(segment, name, frame);
}

int32_t CScriptEngine::CallSegment(CSegment* segment, const std::string& name, CCallFrame* frame) {
  // A call from the host starts a new run: the next failing line is noted.
  if (m_listSegIns.empty()) m_bErrorLineNoted = false;
  if (m_listSegIns.size() >= kMaxCallDepth) {
    // The calling line fails and its line is noted by its own call.
    SetError(SCRIPT_ERROR_CALL_DEPTH, name, -1);
    return 0;
  }
  CSegmentInstance* caller = m_pCurInstance;
  m_listSegIns.push_back(std::make_unique<CSegmentInstance>(this, segment));
  const int32_t ran = RunInstance(m_listSegIns.back().get(), frame);

  // A failed call goes too: the error state keeps what the host needs, and
  // the caller is the current call again.
  std::unique_ptr<CSegmentInstance> finished = std::move(m_listSegIns.back());
  m_listSegIns.pop_back();
  m_pCurInstance = caller;
  if (!ran) return 0;
  if (caller) WriteBackOutParameters(*finished);
  if (frame) frame->m_result.Copy(finished->m_frame.m_result);
  return 1;
}

void CScriptEngine::WriteBackOutParameters(const CSegmentInstance& finished) {
  const CVariableList& parameters = finished.m_frame.Arguments();
  for (size_t i = 0; i < parameters.Count(); ++i) {
    const CScriptVariable* parameter = parameters.At(i);
    if (!(parameter->m_nFlags & VAR_OUT)) continue;
    // The parameter's text is what the caller passed: for a variable, its name.
    const std::string target = parameter->m_value.GetStoredText();
    if (!FindVariable(target)) continue;
    const CScriptVariable* local = finished.FindLocal(parameter->m_strName);
    if (!local) continue;
    SetVariableValue(target, local->m_value);
  }
}

int32_t CScriptEngine::Invoke(const std::string& name, CCallFrame& frame) {
  size_t dot = name.find('.');
  if (dot != std::string::npos && dot >= 1) {
    if (!CallObjectMethod(name, frame)) {
      m_nError = 1;
      m_nErrorCode = SCRIPT_ERROR_METHOD;
      m_strErrorWord = name;
      NoteFailedCall(name);
      return 0;
    }
  } else if (CSegment* segment = FindSegment(name)) {
    if (!CallSegment(segment, name, &frame)) {
      NoteFailedCall(name);
      return 0;
    }
  } else if (!CallBuiltin(name, frame)) {
    m_strErrorWord = name;
    NoteFailedCall(name);
    return 0;
  }
  const CVariableList& arguments = frame.Arguments();
  for (size_t i = 0; i < arguments.Count(); ++i) {
    const CScriptVariable* argument = arguments.At(i);
    if ((argument->m_nFlags & VAR_OUT) && !argument->m_strName.empty()) {
      SetVariableValue(argument->m_strName, argument->m_value);
    }
  }
  return 1;
}

int32_t CScriptEngine::CallObjectMethod(const std::string& name, CCallFrame& frame) {
  size_t dot = name.find('.');
  if (dot == std::string::npos) return 0;
  CScriptObject* object = FindObject(name.substr(0, dot));
  if (!object) return 0;
  frame.m_pInterpreter = this;
  // The object stays alive through its own method, whatever the method does
  // to the variable that holds it.
  object->AddRef();
  int32_t result = object->Invoke(name.substr(dot + 1), frame);
  object->Release();
  return result;
}

void CScriptEngine::NoteFailedCall(const std::string& name) {
  ++m_nFailedCalls;
  m_strFailedCall = name;
}

// ---- the line loop

int32_t CScriptEngine::RunInstance(CSegmentInstance* instance, const CCallFrame* frame) {
  if (!instance->BindArguments(frame)) {
    // The caller's line fails; a call from the host has no line.
    m_nError = 1;
    NoteErrorLine(m_pCurInstance ? m_pCurInstance->m_nCurrentLine : -1);
    return 0;
  }
  m_pCurInstance = instance;
  for (;;) {
    const CSentence* sentence = instance->GetNextLine();
    if (!sentence) return 1;
    instance->m_nCurrentLine = sentence->Line();
    if (StepBudgetSpent()) {
      NoteErrorLine(sentence->Line());
      return 0;
    }
    const CStatement& statement = sentence->Statement();
    if (statement.m_nKind == STATEMENT_EMPTY) continue;
    bool returned = false;
    if (statement.m_nKind == STATEMENT_VAR) {
      // Runs on every pass; a second pass adds another local of the same
      // name, which lookups never find because the first comes first.
      if (!instance->DeclareLocal(statement.m_strVarName, statement.m_strVarType)) {
        m_nError = 1;
        NoteErrorLine(sentence->Line());
        return 0;
      }
    } else {
      returned = ExecStatement(instance, *sentence);
    }
    if (m_nError != 0) {
      NoteErrorLine(sentence->Line());
      return 0;
    }
    if (returned) return 1;
    // The last line of an open block's body leads back to the structure's
    // first line, which decides whether to repeat or to leave.
    CControlBlock* top = instance->TopBlock();
    if (top && top->IsBlockEnd(instance->m_nPC - 1)) instance->m_nPC = top->m_nStart;
  }
}

void CScriptEngine::NoteErrorLine(int32_t line) {
  if (m_bErrorLineNoted) return;
  m_nErrorLine = line;
  m_bErrorLineNoted = true;
}

bool CScriptEngine::StepBudgetSpent() {
  if (m_nStepBudget < 0) return false;
  if (m_nStepBudget == 0) {
    SetError(SCRIPT_ERROR_STEP_BUDGET, "step budget", -1);
    m_nError = 1;
    return true;
  }
  --m_nStepBudget;
  return false;
}

// ---- statements

bool CScriptEngine::ExecStatement(CSegmentInstance* instance, const CSentence& sentence) {
  const CStatement& statement = sentence.Statement();
  switch (statement.m_nKind) {
    case STATEMENT_LABEL:
      return false;
    case STATEMENT_IF:
      ExecIf(instance, sentence.Text());
      return false;
    case STATEMENT_CLOSE:
      ExecClose(instance);
      return false;
    case STATEMENT_WHILE:
      ExecWhile(instance, sentence.Text());
      return false;
    case STATEMENT_FOR:
      ExecFor(instance, sentence.Text());
      return false;
    case STATEMENT_SWITCH:
      ExecSwitch(instance, sentence.Text());
      return false;
    case STATEMENT_CASE:
      ExecCase(instance);
      return false;
    case STATEMENT_DO:
      ExecDo(instance, sentence.Text());
      return false;
    case STATEMENT_BREAK:
      ExecBreak(instance);
      return false;
    case STATEMENT_RETURN:
      return ExecReturn(instance, statement.m_strRest);
    default:
      ExecSimpleStatement(instance, statement);
      return false;
  }
}

void CScriptEngine::ExecIf(CSegmentInstance* instance, const std::string& text) {
  instance->m_nPC -= 1;
  CControlBlock* block = instance->CompileIf(instance->m_nPC, text);
  if (!block) {
    m_nError = 1;
    return;
  }
  if (instance->TopBlock() == block) {
    // Back at the if line with its own block on top: the chain is done.
    instance->m_nPC = block->m_nEnd + 1;
    instance->PopFrame();
    return;
  }
  instance->PushFrame(block);
  for (const CBlockBranch& arm : block->m_arrBranch) {
    bool take = arm.m_strCondition.empty();
    if (!take) {
      take = EvalCondition(arm.m_strCondition);
      if (m_nError != 0) return;
    }
    if (take) {
      instance->m_nPC = arm.m_nHead + 1;
      return;
    }
  }
  // No arm: the if line runs again with its frame on top and leaves.
  instance->m_nPC = block->m_nStart;
}

void CScriptEngine::ExecClose(CSegmentInstance* instance) {
  CControlBlock* block = instance->TopBlock();
  if (!block) {
    m_nError = 1;
    m_nErrorCode = SCRIPT_ERROR_CLOSE;
    return;
  }
  switch (block->m_nKind) {
    case BLOCK_WHILE:
    case BLOCK_FOR:
      instance->m_nPC = block->m_nStart;
      break;
    case BLOCK_DO: {
      bool again = EvalCondition(block->m_strCondition);
      if (m_nError != 0) return;
      if (again) {
        instance->m_nPC = block->m_nStart;
      } else {
        instance->m_nPC = block->m_nEnd + 1;
        instance->PopFrame();
      }
      break;
    }
    default:  // if, Switch
      instance->m_nPC = block->m_nEnd + 1;
      instance->PopFrame();
      break;
  }
}

void CScriptEngine::EnterOrLeaveLoop(CSegmentInstance* instance, CControlBlock* block) {
  bool enter = EvalCondition(block->m_strCondition);
  if (m_nError != 0) return;
  if (enter) {
    instance->m_nPC += 1;
  } else {
    instance->PopFrame();
    instance->m_nPC = block->m_nEnd + 1;
  }
}

void CScriptEngine::ExecWhile(CSegmentInstance* instance, const std::string& text) {
  instance->m_nPC -= 1;
  CControlBlock* block = instance->CompileWhile(instance->m_nPC, text);
  if (!block) {
    m_nError = 1;
    return;
  }
  if (block->m_strCondition.empty()) {
    m_nError = 1;
    m_nErrorCode = SCRIPT_ERROR_WHILE_CONDITION;
    return;
  }
  if (instance->TopBlock() != block) instance->PushFrame(block);
  EnterOrLeaveLoop(instance, block);
}

void CScriptEngine::ExecForPart(CSegmentInstance* instance, const std::string& text, const CStatement& statement) {
  // "for (; i < n; )" has nothing to run before or after a pass.
  if (text.empty()) return;
  ExecSimpleStatement(instance, statement);
}

void CScriptEngine::ExecFor(CSegmentInstance* instance, const std::string& text) {
  instance->m_nPC -= 1;
  CControlBlock* block = instance->CompileFor(instance->m_nPC, text);
  if (!block) {
    m_nError = 1;
    m_nErrorCode = SCRIPT_ERROR_FOR;
    return;
  }
  if (instance->TopBlock() == block) {
    ExecForPart(instance, block->m_strStep, block->m_stepStatement);
  } else {
    instance->PushFrame(block);
    ExecForPart(instance, block->m_strInit, block->m_initStatement);
  }
  if (m_nError != 0) return;
  EnterOrLeaveLoop(instance, block);
}

void CScriptEngine::ExecSwitch(CSegmentInstance* instance, const std::string& text) {
  instance->m_nPC -= 1;
  std::shared_ptr<CControlBlock> block = instance->CompileSwitch(instance->m_nPC, text);
  if (!block) {
    m_nError = 1;
    return;
  }
  if (block->m_strCondition.empty()) {
    m_nError = 1;
    m_nErrorCode = SCRIPT_ERROR_SWITCH;
    return;
  }
  instance->PushFrame(block);
  for (const CBlockBranch& branch : block->m_arrBranch) {
    bool take = branch.m_strCondition.empty();
    if (!take) {
      take = EvalCondition("(" + block->m_strCondition + ") == (" + branch.m_strCondition + ")");
      if (m_nError != 0) return;
    }
    if (take) {
      instance->m_nPC = branch.m_nHead + 1;
      return;
    }
  }
  instance->PopFrame();
  instance->m_nPC = block->m_nEnd + 1;
}

void CScriptEngine::ExecCase(CSegmentInstance* instance) {
  // A case line without its colon, reached from the case above, ends the Switch.
  CControlBlock* block = instance->TopBlock();
  if (block && block->m_nKind == BLOCK_SWITCH) {
    instance->m_nPC = block->m_nEnd + 1;
    instance->PopFrame();
    return;
  }
  m_nError = 1;
  m_nErrorCode = SCRIPT_ERROR_SWITCH;
}

void CScriptEngine::ExecDo(CSegmentInstance* instance, const std::string& text) {
  instance->m_nPC -= 1;
  CControlBlock* block = instance->CompileDo(instance->m_nPC, text);
  if (!block) {
    m_nError = 1;
    return;
  }
  if (block->m_strCondition.empty()) {
    m_nError = 1;
    m_nErrorCode = SCRIPT_ERROR_DO_CONDITION;
    return;
  }
  if (instance->TopBlock() != block) instance->PushFrame(block);
  instance->m_nPC += 1;
}

void CScriptEngine::ExecBreak(CSegmentInstance* instance) {
  CControlBlock* block = instance->TopBlock();
  if (!block) {
    m_nError = 1;
    m_nErrorCode = SCRIPT_ERROR_BREAK;
    return;
  }
  instance->m_nPC = block->m_nEnd + 1;
  instance->PopFrame();
}

bool CScriptEngine::ExecReturn(CSegmentInstance* instance, const std::string& rest) {
  CScriptValue value;
  if (!rest.empty()) {
    const uint32_t failedBefore = m_nFailedCalls;
    CExprEvaluator evaluator(&m_resolver);
    if (!evaluator.Evaluate(rest, value)) {
      // A call that failed inside is named, as a failed call statement names it.
      SetError(SCRIPT_ERROR_RETURN, m_nFailedCalls != failedBefore ? m_strFailedCall : rest, -1);
      return false;
    }
  }
  instance->m_frame.m_result.Copy(value);
  return true;
}

void CScriptEngine::ExecSimpleStatement(CSegmentInstance* instance, const CStatement& statement) {
  const std::string& word = statement.m_strWord;
  if (statement.m_bMethodCall) {
    if (!CallStatement(word, statement.m_strRest)) m_nError = 1;
    return;
  }
  if (CScriptVariable* variable = FindVariable(word)) {
    if (Assign(variable, word, statement.m_assign) == EAssigned::kFailed) {
      m_nError = 1;
      m_nErrorCode = SCRIPT_ERROR_ASSIGNMENT;
    }
    return;
  }
  if (statement.m_bSet) {
    CScriptVariable* variable = FindVariable(statement.m_strSetName);
    if (!variable) {
      SetError(SCRIPT_ERROR_ASSIGNMENT, std::string(), -1);
      return;
    }
    if (Assign(variable, statement.m_strSetName, statement.m_setAssign) != EAssigned::kDone) {
      SetError(SCRIPT_ERROR_ASSIGNMENT, std::string(), -1);
    }
    return;
  }
  if (statement.m_bGoto) {
    GotoLabel(instance, statement.m_strRest);
    return;
  }
  if (!CallStatement(word, statement.m_strRest)) m_nError = 1;
}

bool CScriptEngine::CallStatement(const std::string& name, const std::string& arguments) {
  const int32_t errorBefore = m_nError;
  CExprEvaluator evaluator(&m_resolver);
  CCallFrame frame(this);
  if (!evaluator.EvaluateArguments(arguments, frame)) {
    if (!CallRecordedError(errorBefore)) m_strErrorWord = evaluator.ErrorWord();
    return false;
  }
  return Invoke(name, frame) != 0;
}

// ---- assignments

CScriptEngine::EAssigned CScriptEngine::Assign(CScriptVariable* variable, const std::string& name,
                                               const CAssignment& assignment) {
  CHeldVariable held(variable);
  switch (assignment.m_nForm) {
    case ASSIGN_INVALID:
      return EAssigned::kFailed;
    case ASSIGN_NOTHING:
      if (variable->GetKind() != VALUE_OBJECT) {
        SetError(SCRIPT_ERROR_NO_OBJECT, name, -1);
        return EAssigned::kRecorded;
      }
      variable->m_value.SetObject(nullptr);
      return EAssigned::kDone;
    case ASSIGN_NEW: {
      // A class that is not registered makes no object: the same error as
      // an external object that could not be made.
      CScriptObject* prototype = FindClass(assignment.m_strOperand);
      if (!prototype) {
        SetError(SCRIPT_ERROR_NO_OBJECT, assignment.m_strOperand, -1);
        return EAssigned::kRecorded;
      }
      CScriptObject* object = prototype->CreateInstance(std::string());
      object->SetInterpreter(this);
      variable->m_value.SetObject(object);
      return EAssigned::kDone;
    }
    case ASSIGN_EXTERNAL:
      return AssignExternal(variable, name, assignment);
    case ASSIGN_VALUE: {
      const int32_t errorBefore = m_nError;
      CExprEvaluator evaluator(&m_resolver);
      CScriptValue value;
      bool evaluated = evaluator.Evaluate(assignment.m_strRight, value);
      if (evaluator.HasError()) {
        // A call inside that recorded its own error keeps it, as it would
        // as a call statement; otherwise the evaluator's word stands.
        if (CallRecordedError(errorBefore)) return EAssigned::kRecorded;
        m_strErrorWord = evaluator.ErrorWord();
        m_nError = evaluator.HasError();
        return EAssigned::kFailed;
      }
      SetVariableValue(name, value);
      return evaluated ? EAssigned::kDone : EAssigned::kFailed;
    }
    default:
      return AssignCompound(variable, name, assignment);
  }
}

CScriptEngine::EAssigned CScriptEngine::AssignCompound(CScriptVariable* variable, const std::string& name,
                                                       const CAssignment& assignment) {
  CScriptValue right;
  if (!assignment.m_strRight.empty()) {
    const int32_t errorBefore = m_nError;
    CExprEvaluator evaluator(&m_resolver);
    evaluator.Evaluate(assignment.m_strRight, right);
    if (evaluator.HasError()) {
      if (CallRecordedError(errorBefore)) return EAssigned::kRecorded;
      m_nError = evaluator.HasError();
      return EAssigned::kFailed;
    }
  }
  const double d = right.GetDouble();
  CScriptValue& value = variable->m_value;
  switch (assignment.m_nForm) {
    case ASSIGN_INCREMENT:
      value.AddInteger(1);
      break;
    case ASSIGN_DECREMENT:
      value.AddInteger(-1);
      break;
    case ASSIGN_ADD:
      value.AddInteger(TruncToInt32(d));
      break;
    case ASSIGN_SUBTRACT:
      value.AddInteger(TruncToInt32(-d));
      break;
    case ASSIGN_MULTIPLY:
      value.MultiplyBy(d);
      break;
    case ASSIGN_DIVIDE:
      value.DivideBy(d);
      break;
    default:  // ASSIGN_REMAINDER; a divisor of 0 leaves the value as it was
      value.RemainderBy(TruncToInt32(d));
      break;
  }
  SetVariableValue(name, value);
  return EAssigned::kDone;
}

CScriptEngine::EAssigned CScriptEngine::AssignExternal(CScriptVariable* variable, const std::string& name,
                                                       const CAssignment& assignment) {
  CCallFrame frame(this);
  frame.ParseArguments(assignment.m_strOperand);
  const std::string objectName = frame.GetArgumentText(1, true);
  CScriptObject* object = CreateExternalObject(objectName);
  if (!object) {
    SetError(SCRIPT_ERROR_NO_OBJECT, objectName, -1);
    return EAssigned::kRecorded;
  }
  // The hook is the host's code: the variable is looked up again after it.
  CScriptVariable* target = FindVariable(name);
  if (!target || target->GetKind() != VALUE_OBJECT) {
    // Nobody took the new object: it goes (a reference and its release).
    object->AddRef();
    object->Release();
    SetError(target ? SCRIPT_ERROR_BAD_TYPE : SCRIPT_ERROR_NO_VARIABLE, name, -1);
    return EAssigned::kRecorded;
  }
  target->m_value.SetObject(object);
  return EAssigned::kDone;
}

// ---- variables and scopes

CScriptVariable* CScriptEngine::FindVariable(const std::string& name) {
  size_t dot = name.find('.');
  if (dot != std::string::npos && dot >= 1) {
    // "object.member"; the "@@" or "@" of an object name belongs to the member.
    std::string objectName = name.substr(0, dot);
    std::string member = name.substr(dot + 1);
    size_t at = objectName.compare(0, 2, "@@") == 0 ? 2 : (objectName.compare(0, 1, "@") == 0 ? 1 : 0);
    if (at > 0) {
      member = objectName.substr(0, at) + member;
      objectName.erase(0, at);
    }
    CScriptObject* object = FindObject(objectName);
    return object ? object->FindMember(member) : nullptr;
  }
  if (m_pCurInstance) {
    if (CScriptVariable* local = m_pCurInstance->FindLocal(name)) return local;
  }
  return m_listUserVar.Find(name);
}

CScriptObject* CScriptEngine::FindObject(const std::string& name) {
  CScriptVariable* variable = FindVariable(name);
  return variable ? variable->m_value.GetAttachedObject() : nullptr;
}

CScriptObject* CScriptEngine::FindClass(const std::string& typeName) {
  for (CScriptObject* prototype : m_listExtClass) {
    if (EqualsNoCase(prototype->GetTypeName(), typeName)) return prototype;
  }
  return nullptr;
}

CScriptVariable* CScriptEngine::CreateVariable(const std::string& name, const std::string& typeName) {
  int32_t kind = KindFromTypeName(typeName);
  CScriptObject* prototype = nullptr;
  if (kind != VALUE_OBJECT) {
    // "string", "int" and "double" take a box from the class of that name;
    // "void" and unknown names find none.
    prototype = FindClass(typeName);
    if (!prototype) return nullptr;
    if (kind == VALUE_UNKNOWN) kind = VALUE_OBJECT;
  }
  auto* variable = new CScriptVariable();
  variable->m_strName = name;
  if (prototype) {
    CScriptObject* object = prototype->CreateInstance(std::string());
    object->SetInterpreter(this);
    variable->m_value.SetObject(object);
  }
  variable->m_value.SetKind(kind);
  return variable;
}

void CScriptEngine::SetVariableValue(const std::string& name, const CScriptValue& value) {
  if (CScriptVariable* variable = FindVariable(name)) {
    variable->m_value.AssignConverted(value);
    return;
  }
  auto* variable = new CScriptVariable();
  variable->m_strName = name;
  variable->m_value.AssignConverted(value);
  // A value written back through an argument that named a variable not yet
  // there still has the argument's kind: the new variable holds its text.
  const int32_t kind = variable->GetKind();
  if (kind == VALUE_REFERENCE || kind == VALUE_ARGLIST || kind == VALUE_OPERATOR) {
    variable->m_value.SetKind(VALUE_TEXT);
  }
  m_listUserVar.Append(variable);
}

void CScriptEngine::SetVariableText(const std::string& name, const std::string& text) {
  CScriptValue value;
  value.SetText(text);
  SetVariableValue(name, value);
}

bool CScriptEngine::EvalCondition(const std::string& text) {
  if (StepBudgetSpent()) return false;
  CExprEvaluator evaluator(&m_resolver);
  bool result = evaluator.EvaluateCondition(text);
  if (evaluator.HasError()) {
    m_nError = evaluator.HasError();
    return false;
  }
  return result;
}

std::string CScriptEngine::ResolveArgText(const std::string& text) {
  if (text.empty()) return text;
  if (CScriptVariable* variable = FindVariable(text)) return variable->GetText();
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

void CScriptEngine::GotoLabel(CSegmentInstance* instance, const std::string& label) {
  if (!instance) return;
  // No such label: the call ends at its next fetch.
  instance->m_nPC = instance->m_pSegment->FindLabel(label);
  instance->PopFramesOutside(instance->m_nPC);
}
