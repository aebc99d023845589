#include "script/StatementCompiler.h"

#include "app/Text.h"
#include "script/ScriptEngine.h"

bool CControlBlock::IsBlockEnd(int32_t index) const {
  if (index == m_nEnd) return true;
  for (const CBlockBranch& branch : m_arrBranch) {
    if (branch.m_nEnd == index) return true;
  }
  return false;
}

CSegmentInstance::CSegmentInstance(CScriptEngine* engine, const CSegment* segment)
    : m_pEngine(engine), m_pSegment(segment), m_frame(engine) {}

CSegmentInstance::~CSegmentInstance() {
  m_listSentenceHeap.clear();
  m_arrCompiledAt.clear();
  m_listSentence.clear();
  m_listUserVar.Clear();
}

// ---- compiler

CControlBlock* CSegmentInstance::FindCompiled(int32_t start) const {
  if (start < 0 || static_cast<size_t>(start) >= m_arrCompiledAt.size()) return nullptr;
  return m_arrCompiledAt[static_cast<size_t>(start)];
}

CControlBlock* CSegmentInstance::Cache(std::unique_ptr<CControlBlock> block) {
  const size_t start = static_cast<size_t>(block->m_nStart);
  if (m_arrCompiledAt.size() <= start) m_arrCompiledAt.resize(static_cast<size_t>(m_pSegment->SentenceCount()) + 1);
  CControlBlock* cached = block.get();
  m_arrCompiledAt[start] = cached;
  m_listSentence.push_back(std::move(block));
  return cached;
}

CControlBlock* CSegmentInstance::CompileIf(int32_t start, const std::string& text) {
  if (CControlBlock* cached = FindCompiled(start)) return cached;
  std::string word, rest;
  SplitFirstWord(text, word, rest);
  if (!EqualsNoCase(word, "if")) return nullptr;
  auto block = std::make_unique<CControlBlock>(BLOCK_IF, start, this);

  // An arm whose braced body never closes fails the chain: taking it as
  // ending before the body's "{" would send a false condition back to the
  // top of the function without end.
  int32_t end = m_pSegment->FindBlockEnd(start + 1);
  if (end < 0) return nullptr;
  block->m_arrBranch.push_back(CBlockBranch{start, end, rest});
  int32_t next = end + 1;
  for (;;) {
    const CStatement& line = m_pSegment->StatementAt(next);
    if (!EqualsNoCase(line.m_strWord, "else")) break;
    if (line.m_strRest.empty()) {
      end = m_pSegment->FindBlockEnd(next + 1);
      if (end < 0) return nullptr;
      block->m_arrBranch.push_back(CBlockBranch{next, end, std::string()});
      next = end + 1;
      break;
    }
    std::string innerWord, condition;
    SplitFirstWord(line.m_strRest, innerWord, condition);
    if (!EqualsNoCase(innerWord, "if") || condition.empty()) return nullptr;
    end = m_pSegment->FindBlockEnd(next + 1);
    if (end < 0) return nullptr;
    block->m_arrBranch.push_back(CBlockBranch{next, end, condition});
    next = end + 1;
  }
  block->m_nEnd = next - 1;
  return Cache(std::move(block));
}

CControlBlock* CSegmentInstance::CompileWhile(int32_t start, const std::string& text) {
  if (CControlBlock* cached = FindCompiled(start)) return cached;
  std::string word, rest;
  SplitFirstWord(text, word, rest);
  if (!EqualsNoCase(word, "while")) return nullptr;
  int32_t end = m_pSegment->FindBlockEnd(start + 1);
  if (end < 0) return nullptr;
  auto block = std::make_unique<CControlBlock>(BLOCK_WHILE, start, this);
  block->m_strCondition = rest;
  block->m_nEnd = end;
  return Cache(std::move(block));
}

CControlBlock* CSegmentInstance::CompileDo(int32_t start, const std::string& text) {
  if (CControlBlock* cached = FindCompiled(start)) return cached;
  std::string word, rest;
  SplitFirstWord(text, word, rest);
  if (!EqualsNoCase(word, "Do")) return nullptr;
  int32_t bodyEnd = m_pSegment->FindBlockEnd(start + 1);
  const CStatement& whileLine = m_pSegment->StatementAt(bodyEnd + 1);
  if (!EqualsNoCase(whileLine.m_strWord, "While")) return nullptr;
  auto block = std::make_unique<CControlBlock>(BLOCK_DO, start, this);
  block->m_nEnd = bodyEnd + 1;
  block->m_strCondition = whileLine.m_strRest;
  return Cache(std::move(block));
}

CControlBlock* CSegmentInstance::CompileFor(int32_t start, const std::string& text) {
  if (CControlBlock* cached = FindCompiled(start)) return cached;
  std::string word, rest;
  SplitFirstWord(text, word, rest);
  if (!EqualsNoCase(word, "for")) return nullptr;
  // Every "(" at the start and every ")" at the end goes, so a step that
  // itself ends with ")" loses it.
  std::string header = TrimBlanks(rest);
  size_t begin = header.find_first_not_of('(');
  size_t last = header.find_last_not_of(')');
  header = (begin == std::string::npos || last == std::string::npos || last < begin)
               ? std::string()
               : header.substr(begin, last - begin + 1);
  std::string init, condition, step;
  PopToken(header, init, ";");
  PopToken(header, condition, ";");
  PopToken(header, step, ";");
  int32_t end = m_pSegment->FindBlockEnd(start + 1);
  if (end <= 0) return nullptr;
  auto block = std::make_unique<CControlBlock>(BLOCK_FOR, start, this);
  block->m_strInit = init;
  block->m_strCondition = condition;
  block->m_strStep = step;
  block->m_initStatement = CStatement::ReadSimple(init);
  block->m_stepStatement = CStatement::ReadSimple(step);
  block->m_nEnd = end;
  return Cache(std::move(block));
}

std::shared_ptr<CControlBlock> CSegmentInstance::CompileSwitch(int32_t start, const std::string& text) {
  std::string word, rest;
  SplitFirstWord(text, word, rest);
  if (!EqualsNoCase(word, "Switch")) return nullptr;
  int32_t end = m_pSegment->FindBlockEnd(start + 1);
  if (end <= 0) return nullptr;
  auto block = std::make_shared<CControlBlock>(BLOCK_SWITCH, start, this);
  block->m_strCondition = rest;
  block->m_nEnd = end;
  for (int32_t i = start + 1; i < end; ++i) {
    const CStatement& line = m_pSegment->StatementAt(i);
    if (EqualsNoCase(line.m_strWord, "case")) {
      size_t last = line.m_strRest.find_last_not_of(':');
      block->m_arrBranch.push_back(
          CBlockBranch{i, -1, last == std::string::npos ? std::string() : line.m_strRest.substr(0, last + 1)});
    } else if (EqualsNoCase(line.m_strWord, "Default:")) {
      block->m_arrBranch.push_back(CBlockBranch{i, -1, std::string()});
    } else if (EqualsNoCase(line.m_strWord, "Switch")) {
      // The labels of a nested Switch are its own: skip its body. Inside a
      // body whose braces match, a nested Switch always has an end, so
      // skipping it is all that compiling it would do here.
      int32_t nestedEnd = m_pSegment->FindBlockEnd(i + 1);
      if (nestedEnd <= 0) return nullptr;
      i = nestedEnd;
    }
  }
  return block;
}

// ---- open blocks

CBlockFrame* CSegmentInstance::TopFrame() {
  return m_listSentenceHeap.empty() ? nullptr : &m_listSentenceHeap.back();
}

CControlBlock* CSegmentInstance::TopBlock() {
  return m_listSentenceHeap.empty() ? nullptr : m_listSentenceHeap.back().m_pBlock;
}

void CSegmentInstance::PushFrame(CControlBlock* block) {
  CBlockFrame frame;
  frame.m_pBlock = block;
  m_listSentenceHeap.push_back(std::move(frame));
}

void CSegmentInstance::PushFrame(std::shared_ptr<CControlBlock> block) {
  CBlockFrame frame;
  frame.m_pBlock = block.get();
  frame.m_pOwned = std::move(block);
  m_listSentenceHeap.push_back(std::move(frame));
}

void CSegmentInstance::PopFrame() {
  if (!m_listSentenceHeap.empty()) m_listSentenceHeap.pop_back();
}

void CSegmentInstance::PopFramesOutside(int32_t index) {
  std::vector<CBlockFrame> kept;
  kept.reserve(m_listSentenceHeap.size());
  for (CBlockFrame& frame : m_listSentenceHeap) {
    if (index >= frame.m_pBlock->m_nStart && index <= frame.m_pBlock->m_nEnd) kept.push_back(std::move(frame));
  }
  m_listSentenceHeap.swap(kept);
}

// ---- running

CScriptVariable* CSegmentInstance::DeclareLocal(const std::string& name, const std::string& typeName) {
  CScriptVariable* variable = m_pEngine->CreateVariable(name, typeName);
  if (!variable) return nullptr;
  if (CScriptVariable* existing = FindLocal(name)) {
    // A second local of a name is never found, the first coming first: it
    // is not kept, so that a Var line inside a loop adds nothing per pass
    // and lookups do not slow down with every pass.
    variable->Release();
    return existing;
  }
  m_listUserVar.Append(variable);
  return variable;
}

const CSentence* CSegmentInstance::GetNextLine() {
  const CSentence* sentence = m_pSegment->SentenceAt(m_nPC);
  if (!sentence) return nullptr;
  ++m_nPC;
  return sentence;
}

bool CSegmentInstance::BindArguments(const CCallFrame* frame) {
  if (!frame || m_pSegment->m_parameters.ArgumentCount() == 0) return true;
  m_frame.CopyFrom(m_pSegment->m_parameters);
  for (int32_t i = 1; i <= frame->ArgumentCount(); ++i) {
    const CScriptVariable* argument = frame->GetArgument(i);
    CScriptVariable* parameter = m_frame.GetArgument(i);
    if (!parameter) return false;
    parameter->m_value.AssignConverted(argument->m_value);
    CScriptVariable* local = DeclareLocal(parameter->m_strName, TypeNameOfKind(parameter->GetKind()));
    if (!local) return false;
    if (argument->GetKind() == VALUE_REFERENCE) {
      // Looked up in the caller's scope: the call is not current yet.
      CScriptVariable* named = m_pEngine->FindVariable(argument->m_value.GetStoredText());
      if (!named) return false;
      local->m_value.AssignConverted(named->m_value);
    } else {
      local->m_value.SetText(argument->GetText());
    }
  }
  return true;
}
