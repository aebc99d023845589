#include "script/Segment.h"

#include <algorithm>

#include "app/Text.h"
#include "system/FileSystem.h"
#include "system/Platform.h"

namespace {

bool IsWordDelimiter(char c) {
  return c == ' ' || c == '(' || c == '=' || c == '+' || c == '-' || c == '*' || c == '/' || c == '%';
}

bool EndsWithColon(const std::string& text) { return !text.empty() && text.back() == ':'; }

const CStatement& EmptyStatement() {
  static const CStatement empty;
  return empty;
}

}  // namespace

void SplitFirstWord(const std::string& text, std::string& word, std::string& rest) {
  size_t begin = 0;
  while (begin < text.size() && text[begin] == ' ') ++begin;
  size_t at = begin;
  while (at < text.size() && !IsWordDelimiter(text[at])) ++at;
  // Both parts are cut from the text before either is written, so the text
  // may be one of the outputs.
  std::string first = TrimBlanks(text.substr(begin, at - begin));
  std::string second = at < text.size() ? TrimBlanks(text.substr(at)) : std::string();
  word = std::move(first);
  rest = std::move(second);
}

bool PopToken(std::string& text, std::string& token, const std::string& delimiter) {
  if (text.empty()) return false;
  size_t at = delimiter.empty() ? std::string::npos : text.find(delimiter);
  if (at == std::string::npos) {
    token = TrimBlanks(text);
    text.clear();
    return true;
  }
  std::string before = TrimBlanks(text.substr(0, at));
  text = TrimBlanks(text.substr(at + delimiter.size()));
  token = std::move(before);
  return true;
}

// ---- statements

CAssignment CAssignment::Read(const std::string& text) {
  CAssignment assignment;
  std::string rest = text;
  std::replace(rest.begin(), rest.end(), '\t', ' ');
  size_t begin = rest.find_first_not_of(' ');
  rest = begin == std::string::npos ? std::string() : rest.substr(begin);
  if (rest.size() < 2) return assignment;

  struct COperator {
    const char* text;
    int32_t form;
  };
  static const COperator kOperators[] = {
      {"++", ASSIGN_INCREMENT}, {"--", ASSIGN_DECREMENT}, {"+=", ASSIGN_ADD},      {"-=", ASSIGN_SUBTRACT},
      {"*=", ASSIGN_MULTIPLY},  {"/=", ASSIGN_DIVIDE},    {"%=", ASSIGN_REMAINDER},
  };
  for (const COperator& op : kOperators) {
    if (rest[0] == op.text[0] && rest[1] == op.text[1]) {
      assignment.m_nForm = op.form;
      assignment.m_strRight = rest.substr(2);
      return assignment;
    }
  }
  if (rest[0] != '=') return assignment;

  const std::string after = rest.substr(1);
  std::string word, remainder;
  SplitFirstWord(after, word, remainder);
  if (EqualsNoCase(word, "Nothing")) {
    assignment.m_nForm = ASSIGN_NOTHING;
  } else if (EqualsNoCase(word, "new")) {
    assignment.m_nForm = ASSIGN_NEW;
    std::string className, ignored;
    SplitFirstWord(remainder, className, ignored);
    assignment.m_strOperand = className;
  } else if (EqualsNoCase(word, "CreateVexObject")) {
    assignment.m_nForm = ASSIGN_EXTERNAL;
    assignment.m_strOperand = remainder;
  } else {
    assignment.m_nForm = ASSIGN_VALUE;
    assignment.m_strRight = after;
  }
  return assignment;
}

CStatement CStatement::Read(const std::string& text) {
  CStatement statement;
  if (text.empty() || text == "{") return statement;
  SplitFirstWord(text, statement.m_strWord, statement.m_strRest);
  const std::string& word = statement.m_strWord;
  if (EqualsNoCase(word, "Var")) {
    statement.m_nKind = STATEMENT_VAR;
    ReadVarDeclaration(statement.m_strRest, statement.m_strVarType, statement.m_strVarName);
  } else if (EndsWithColon(text)) {
    statement.m_nKind = STATEMENT_LABEL;
  } else if (EqualsNoCase(word, "if")) {
    statement.m_nKind = STATEMENT_IF;
  } else if (word == "}") {
    statement.m_nKind = STATEMENT_CLOSE;
  } else if (EqualsNoCase(word, "While")) {
    statement.m_nKind = STATEMENT_WHILE;
  } else if (EqualsNoCase(word, "for")) {
    statement.m_nKind = STATEMENT_FOR;
  } else if (EqualsNoCase(word, "Switch")) {
    statement.m_nKind = STATEMENT_SWITCH;
  } else if (EqualsNoCase(word, "case")) {
    statement.m_nKind = STATEMENT_CASE;
  } else if (EqualsNoCase(word, "Do")) {
    statement.m_nKind = STATEMENT_DO;
  } else if (word == "break") {
    // "break" and "return" count only when written exactly so.
    statement.m_nKind = STATEMENT_BREAK;
  } else if (word == "return") {
    statement.m_nKind = STATEMENT_RETURN;
  } else {
    statement.ReadSimpleParts();
  }
  return statement;
}

CStatement CStatement::ReadSimple(const std::string& text) {
  CStatement statement;
  SplitFirstWord(text, statement.m_strWord, statement.m_strRest);
  statement.ReadSimpleParts();
  return statement;
}

void CStatement::ReadSimpleParts() {
  m_nKind = STATEMENT_SIMPLE;
  size_t dot = m_strWord.find('.');
  m_bMethodCall = dot != std::string::npos && dot >= 1;
  m_bSet = EqualsNoCase(m_strWord, "Set");
  m_bGoto = EqualsNoCase(m_strWord, "Goto");
  m_assign = CAssignment::Read(m_strRest);
  if (m_bSet) {
    std::string remainder;
    SplitFirstWord(m_strRest, m_strSetName, remainder);
    m_setAssign = CAssignment::Read(remainder);
  }
}

void ReadVarDeclaration(const std::string& rest, std::string& typeName, std::string& name) {
  std::string text = rest;
  while (!text.empty() && text.back() == ';') text.pop_back();
  typeName.clear();
  name.clear();
  PopToken(text, typeName, " ");
  PopToken(text, name, " ");
}

const CStatement& CSentence::Statement() const {
  if (!m_pStatement) m_pStatement = std::make_shared<const CStatement>(CStatement::Read(m_strText));
  return *m_pStatement;
}

// ---- segments

void CSegment::AddSentence(const std::string& text, int32_t line) {
  m_arrSentence.emplace_back(text, line);
  m_bBracesMatched = false;
  m_bLabelsFound = false;
}

const std::string& CSegment::GetSentenceText(int32_t index) const {
  static const std::string empty;
  const CSentence* sentence = SentenceAt(index);
  return sentence ? sentence->Text() : empty;
}

int32_t CSegment::GetSentenceLine(int32_t index) const {
  const CSentence* sentence = SentenceAt(index);
  return sentence ? sentence->Line() : -1;
}

const CSentence* CSegment::SentenceAt(int32_t index) const {
  if (index < 0 || index >= SentenceCount()) return nullptr;
  return &m_arrSentence[static_cast<size_t>(index)];
}

const CStatement& CSegment::StatementAt(int32_t index) const {
  const CSentence* sentence = SentenceAt(index);
  return sentence ? sentence->Statement() : EmptyStatement();
}

void CSegment::MatchBraces() const {
  if (m_bBracesMatched) return;
  m_arrBraceMatch.assign(m_arrSentence.size(), -1);
  std::vector<int32_t> open;
  for (int32_t i = 0; i < SentenceCount(); ++i) {
    const std::string& text = m_arrSentence[static_cast<size_t>(i)].Text();
    if (text == "{") {
      open.push_back(i);
    } else if (text == "}" && !open.empty()) {
      m_arrBraceMatch[static_cast<size_t>(open.back())] = i;
      open.pop_back();
    }
  }
  m_bBracesMatched = true;
}

int32_t CSegment::FindBlockEnd(int32_t index) const {
  if (GetSentenceText(index) != "{") return index;
  MatchBraces();
  return m_arrBraceMatch[static_cast<size_t>(index)];
}

int32_t CSegment::FindLabel(const std::string& label) const {
  if (!m_bLabelsFound) {
    m_arrLabelLines.clear();
    for (int32_t i = 0; i < SentenceCount(); ++i) {
      if (EndsWithColon(m_arrSentence[static_cast<size_t>(i)].Text())) m_arrLabelLines.push_back(i);
    }
    m_bLabelsFound = true;
  }
  for (int32_t index : m_arrLabelLines) {
    const std::string& text = m_arrSentence[static_cast<size_t>(index)].Text();
    size_t end = text.find_last_not_of(':');
    std::string name = end == std::string::npos ? std::string() : text.substr(0, end + 1);
    if (EqualsNoCase(name, label)) return index;
  }
  return -1;
}

// ---- reader

void CScriptReader::OpenText(const std::string& text) {
  m_strText = text;
  m_nPos = 0;
  m_bEnd = false;
  m_nLine = -1;
}

bool CScriptReader::OpenFile(const std::string& path) {
  std::unique_ptr<IReadStream> stream = Sys().files->OpenForReading(path);
  if (!stream) return false;
  std::string text;
  char buffer[8192];
  for (size_t got; (got = stream->Read(buffer, sizeof(buffer))) > 0;) text.append(buffer, got);
  OpenText(text);
  return true;
}

std::string CScriptReader::PrepareLine(const std::string& raw) {
  std::string line = raw;
  std::replace(line.begin(), line.end(), '\t', ' ');
  line = TrimBlanks(TrimWhitespace(line));
  if (line.size() >= 2 && line[0] == '/' && line[1] == '/') line.clear();
  return line;
}

bool CScriptReader::GetLine(std::string& line, bool skipEmpty) {
  if (m_bEnd) return false;
  for (;;) {
    size_t cr = m_strText.find('\r', m_nPos);
    size_t end = cr == std::string::npos ? m_strText.size() : cr;
    std::string raw = m_strText.substr(m_nPos, end - m_nPos);
    if (cr == std::string::npos) {
      m_nPos = m_strText.size();
      m_bEnd = true;
    } else {
      m_nPos = cr + 1;
    }
    ++m_nLine;
    line = PrepareLine(raw);
    if (!line.empty() || !skipEmpty) return true;
    if (m_bEnd) return false;
  }
}
