// The loaded form of a VexScript program: segments (functions and sections)
// with their statement lines, the line reader of the loader, and the two
// word-splitting helpers that the loader, compiler and interpreter share.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/runtime/CallFrame.h"

// Cuts the first word off a text: blanks go from the start; the word ends at
// the first blank or one of "(", "=", "+", "-", "*", "/", "%", which stays at
// the start of the rest. Both parts are trimmed of blanks. A text that
// begins with a delimiter gives an empty word.
void SplitFirstWord(const std::string& text, std::string& word, std::string& rest);

// False for an empty text. Otherwise the token is the text before the first
// delimiter and the text becomes what follows it (both trimmed of blanks);
// without a delimiter the token is the whole trimmed text and the text
// becomes empty.
bool PopToken(std::string& text, std::string& token, const std::string& delimiter);

// What a statement line is, read from its first word once.
enum EStatementKind : int32_t {
  STATEMENT_EMPTY,   // an empty line or "{": skipped
  STATEMENT_LABEL,   // ends with ":"
  STATEMENT_VAR,     // "Var" type name
  STATEMENT_IF,
  STATEMENT_CLOSE,   // "}"
  STATEMENT_WHILE,
  STATEMENT_FOR,
  STATEMENT_SWITCH,
  STATEMENT_CASE,    // a case line without its colon
  STATEMENT_DO,
  STATEMENT_BREAK,
  STATEMENT_RETURN,
  STATEMENT_SIMPLE,  // assignment, Set, Goto or a call
};

// The forms of an assignment's text (the rest after the variable's name).
enum EAssignForm : int32_t {
  ASSIGN_INVALID,      // fewer than 2 characters, or no operator
  ASSIGN_INCREMENT,    // "++"
  ASSIGN_DECREMENT,    // "--"
  ASSIGN_ADD,          // "+="
  ASSIGN_SUBTRACT,     // "-="
  ASSIGN_MULTIPLY,     // "*="
  ASSIGN_DIVIDE,       // "/="
  ASSIGN_REMAINDER,    // "%="
  ASSIGN_NOTHING,      // "= Nothing"
  ASSIGN_NEW,          // "= new" class
  ASSIGN_EXTERNAL,     // "= CreateVexObject" arguments
  ASSIGN_VALUE,        // "=" expression
};

// An assignment text read once: its form, the text its right side is
// evaluated from, and for "new" and "CreateVexObject" what follows the word.
struct CAssignment {
  int32_t m_nForm = ASSIGN_INVALID;
  std::string m_strRight;
  std::string m_strOperand;

  static CAssignment Read(const std::string& text);
};

// A statement line split once: lines never change after loading, so their
// first word, rest and kind are the same on every pass.
struct CStatement {
  int32_t m_nKind = STATEMENT_EMPTY;
  std::string m_strWord;
  std::string m_strRest;
  // Simple statements: the word is "object.method" (a dot at position 1 or
  // later), "Set" or "Goto".
  bool m_bMethodCall = false;
  bool m_bSet = false;
  bool m_bGoto = false;
  // The rest read as an assignment to the word's variable.
  CAssignment m_assign;
  // "Set": the variable's name and the assignment after it.
  std::string m_strSetName;
  CAssignment m_setAssign;
  // "Var": the type name and the variable's name.
  std::string m_strVarType;
  std::string m_strVarName;

  // Classifies a body line.
  static CStatement Read(const std::string& text);
  // Reads a text as a simple statement whatever its first word (the init and
  // step of a for loop).
  static CStatement ReadSimple(const std::string& text);

 private:
  void ReadSimpleParts();
};

// The type name and variable name of a "Var" line's text after "Var": cut
// at blanks, anything after the name ignored.
void ReadVarDeclaration(const std::string& rest, std::string& typeName, std::string& name);

// One body line and the number of the source line it came from.
class CSentence {
 public:
  CSentence(std::string text, int32_t line) : m_strText(std::move(text)), m_nLine(line) {}

  const std::string& Text() const { return m_strText; }
  int32_t Line() const { return m_nLine; }
  // The line split and classified, on first use.
  const CStatement& Statement() const;

 private:
  std::string m_strText;
  int32_t m_nLine;
  mutable std::shared_ptr<const CStatement> m_pStatement;
};

enum : int32_t { SEGMENT_FUNCTION = 0, SEGMENT_SECTION = 1 };

// One Function or Section: its head's line, kind and name, its declared
// parameters and its body lines (index 0 is the opening "{").
class CSegment {
 public:
  CSegment() = default;
  CSegment(const CSegment&) = delete;
  CSegment& operator=(const CSegment&) = delete;

  int32_t m_nLine = -1;
  int32_t m_nKind = SEGMENT_FUNCTION;
  std::string m_strName;  // compared without regard to case
  CCallFrame m_parameters;

  void AddSentence(const std::string& text, int32_t line);
  int32_t SentenceCount() const { return static_cast<int32_t>(m_arrSentence.size()); }
  // Empty text for an index out of range.
  const std::string& GetSentenceText(int32_t index) const;
  // -1 for an index out of range.
  int32_t GetSentenceLine(int32_t index) const;
  // Null for an index out of range.
  const CSentence* SentenceAt(int32_t index) const;
  // The empty statement for an index out of range.
  const CStatement& StatementAt(int32_t index) const;

  // The last line of the body that starts at the index: the matching "}" of
  // a "{" line (-1 when it has none), else the line itself.
  int32_t FindBlockEnd(int32_t index) const;
  // The first line ending with ":" whose text without its trailing colons
  // equals the label (any case), or -1.
  int32_t FindLabel(const std::string& label) const;

 private:
  void MatchBraces() const;

  std::vector<CSentence> m_arrSentence;
  // For every "{" line its matching "}" (or -1), worked out once for the
  // whole body so that nested blocks cost no repeated scans.
  mutable std::vector<int32_t> m_arrBraceMatch;
  mutable bool m_bBracesMatched = false;
  // The indices of the label lines, in order.
  mutable std::vector<int32_t> m_arrLabelLines;
  mutable bool m_bLabelsFound = false;
};

// Reads a source text line by line for one load. Lines end at carriage
// returns; each line is prepared (tabs to blanks, white space and blanks off
// both ends, a line beginning with "//" counts as empty).
class CScriptReader {
 public:
  void OpenText(const std::string& text);
  // False when the file cannot be opened for reading.
  bool OpenFile(const std::string& path);
  bool IsEnd() const { return m_bEnd; }
  // The next line (with skipEmpty, the next non-empty one); false at the end.
  bool GetLine(std::string& line, bool skipEmpty);
  // The number of the line last read, counted from 0 (-1 before the first).
  int32_t Line() const { return m_nLine; }

  // The preparation every line gets.
  static std::string PrepareLine(const std::string& raw);

 private:
  std::string m_strText;
  size_t m_nPos = 0;
  bool m_bEnd = false;
  int32_t m_nLine = -1;
};
