// Control structures compiled when they first run, and the running call
// that compiles, caches and executes them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/Segment.h"
#include "script/runtime/CallFrame.h"
#include "script/runtime/ScriptVariable.h"

class CScriptEngine;
class CSegmentInstance;

enum : int32_t { BLOCK_IF = 1, BLOCK_WHILE = 2, BLOCK_DO = 3, BLOCK_SWITCH = 4, BLOCK_FOR = 5 };

// One arm of an if chain (the if or else line, its last line and its
// condition) or one label of a Switch (end -1).
struct CBlockBranch {
  int32_t m_nHead = -1;
  int32_t m_nEnd = -1;
  std::string m_strCondition;  // empty for a plain else and for Default
};

// A compiled structure: where it starts and ends, its condition, its arms
// and, for a for loop, its init and step statements.
class CControlBlock {
 public:
  CControlBlock(int32_t kind, int32_t start, CSegmentInstance* owner)
      : m_nKind(kind), m_nStart(start), m_pOwner(owner) {}

  int32_t m_nKind;
  int32_t m_nStart;
  int32_t m_nEnd = -1;
  std::string m_strCondition;  // while, for, Do: the condition; Switch: the selector
  CSegmentInstance* m_pOwner;
  std::vector<CBlockBranch> m_arrBranch;
  std::string m_strInit;
  std::string m_strStep;
  // The init and step statements split once.
  CStatement m_initStatement;
  CStatement m_stepStatement;

  // True when the index is the block's end or the end of one of its arms.
  bool IsBlockEnd(int32_t index) const;
};

// An open block. A Switch block, compiled afresh on every run of its line,
// belongs to its frame and goes with it (shared with the Switch statement
// while that runs); the other blocks belong to the call's cache.
struct CBlockFrame {
  CControlBlock* m_pBlock = nullptr;
  std::shared_ptr<CControlBlock> m_pOwned;
};

// One running call of a segment: its locals, its program counter, its
// compiled blocks and its stack of open blocks.
class CSegmentInstance {
 public:
  CSegmentInstance(CScriptEngine* engine, const CSegment* segment);
  ~CSegmentInstance();
  CSegmentInstance(const CSegmentInstance&) = delete;
  CSegmentInstance& operator=(const CSegmentInstance&) = delete;

  CScriptEngine* m_pEngine;
  const CSegment* m_pSegment;
  CCallFrame m_frame;  // the bound parameters; its result is the call's return value
  int32_t m_nPC = 0;
  CVariableList m_listUserVar;
  // The source line of the line fetched last (-1 before the first).
  int32_t m_nCurrentLine = -1;

  // ---- compiler
  CControlBlock* FindCompiled(int32_t start) const;
  CControlBlock* CompileIf(int32_t start, const std::string& text);
  std::shared_ptr<CControlBlock> CompileSwitch(int32_t start, const std::string& text);
  CControlBlock* CompileWhile(int32_t start, const std::string& text);
  CControlBlock* CompileDo(int32_t start, const std::string& text);
  CControlBlock* CompileFor(int32_t start, const std::string& text);

  // ---- open blocks (innermost last)
  CBlockFrame* TopFrame();
  CControlBlock* TopBlock();
  void PushFrame(CControlBlock* block);
  void PushFrame(std::shared_ptr<CControlBlock> block);
  void PopFrame();
  size_t FrameCount() const { return m_listSentenceHeap.size(); }
  // Pops every open block that does not hold the line.
  void PopFramesOutside(int32_t index);

  // ---- running
  // A local made by the engine's CreateVariable, referenced and appended
  // (or the local of that name already there); null when the type names no
  // kind or class.
  CScriptVariable* DeclareLocal(const std::string& name, const std::string& typeName);
  CScriptVariable* FindLocal(const std::string& name) const { return m_listUserVar.Find(name); }
  // The sentence at the program counter, which moves on; null past the body.
  const CSentence* GetNextLine();
  // Binds the frame's arguments to the declared parameters as locals.
  bool BindArguments(const CCallFrame* frame);

 private:
  CControlBlock* Cache(std::unique_ptr<CControlBlock> block);

  std::vector<std::unique_ptr<CControlBlock>> m_listSentence;
  std::vector<CControlBlock*> m_arrCompiledAt;  // by start index, for the cache lookup
  std::vector<CBlockFrame> m_listSentenceHeap;
};
