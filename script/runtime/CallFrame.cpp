#include "script/runtime/CallFrame.h"

#include "app/Text.h"
#include "script/runtime/NumberText.h"
#include "script/runtime/ScriptInterpreter.h"

namespace {

// Blanks off both ends, then enclosing parentheses with the blanks inside
// them, for as long as the text is wrapped. Works on positions so that deep
// nesting costs no copies.
std::string StripEnclosing(const std::string& text) {
  size_t begin = 0, end = text.size();
  auto trim = [&]() {
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
  };
  trim();
  while (end - begin >= 2 && text[begin] == '(' && text[end - 1] == ')') {
    ++begin;
    --end;
    trim();
  }
  return text.substr(begin, end - begin);
}

bool IsWordEnd(char c) {
  return c == ' ' || c == '%' || c == '(' || c == '*' || c == '+' || c == '-' || c == '/' || c == '=';
}

// The first word ends at a blank or one of "%(*+-/="; the delimiter stays
// with the rest. Both parts are trimmed.
void SplitWord(const std::string& text, std::string& word, std::string& rest) {
  std::string trimmed = TrimBlanks(text);
  size_t at = 0;
  while (at < trimmed.size() && !IsWordEnd(trimmed[at])) ++at;
  word = trimmed.substr(0, at);
  rest = TrimBlanks(trimmed.substr(at));
}

}  // namespace

CScriptVariable* CCallFrame::GetArgument(int32_t index) const {
  if (index < 1) return nullptr;
  return m_listArgument.At(static_cast<size_t>(index) - 1);
}

std::string CCallFrame::GetArgumentText(int32_t index, bool resolve) const {
  CScriptVariable* argument = GetArgument(index);
  if (!argument) return std::string();
  std::string text = argument->GetText();
  if (resolve && m_pInterpreter && argument->GetKind() == VALUE_REFERENCE) {
    text = m_pInterpreter->ResolveArgText(text);
  }
  return text;
}

int32_t CCallFrame::CompareArguments(int32_t i, int32_t j) const {
  return CompareNoCase(GetArgumentText(i, true), GetArgumentText(j, true));
}

void CCallFrame::SetArgumentText(int32_t index, const std::string& text) {
  CScriptVariable* argument = GetArgument(index);
  if (!argument) return;
  if (argument->m_strName.empty()) {
    // Only a reference names the variable to write back to; a literal has
    // nowhere to go.
    if (argument->GetKind() != VALUE_REFERENCE) return;
    argument->m_strName = argument->m_value.GetStoredText();
  }
  argument->m_value.SetText(text);
  argument->m_nFlags |= VAR_OUT;
}

void CCallFrame::SetArgumentInt(int32_t index, int32_t n) { SetArgumentText(index, FormatIntText(n)); }

void CCallFrame::SetResultNumber(int32_t n, int32_t kind) {
  m_result.SetKind(kind);
  m_result.SetNumber(n);
}

void CCallFrame::PushFrontArgument(const CScriptValue& value) {
  auto* argument = new CScriptVariable();
  argument->m_value.Copy(value);
  m_listArgument.PushFront(argument);
}

bool CCallFrame::ParseArguments(const std::string& text) {
  const std::string list = StripEnclosing(text);
  if (list.empty()) return true;
  const std::string separator = kArgListSeparator;
  size_t start = 0;
  for (;;) {
    size_t at = list.find(separator, start);
    std::string piece = TrimBlanks(list.substr(start, at == std::string::npos ? std::string::npos : at - start));
    auto* argument = new CScriptVariable();
    size_t bar = piece.find('|');
    if (bar != std::string::npos && bar >= 1) {
      // "kind|text": the kind code, then SetText (so a code of 0 becomes 1).
      argument->m_value.SetKind(ReadIntText(piece.substr(0, bar)));
      argument->m_value.SetText(piece.substr(bar + 1));
    } else if (piece.size() >= 2 && piece.front() == '"' && piece.back() == '"') {
      argument->m_value.SetTypedText(piece.substr(1, piece.size() - 2), VALUE_STRING);
    } else {
      int32_t kind = VALUE_TEXT;
      if (!piece.empty() && !(piece[0] >= '0' && piece[0] <= '9') && m_pInterpreter &&
          m_pInterpreter->FindVariable(piece)) {
        kind = VALUE_REFERENCE;
      }
      argument->m_value.SetTypedText(piece, kind);
    }
    m_listArgument.Append(argument);
    if (at == std::string::npos) break;
    start = at + separator.size();
  }
  return true;
}

void CCallFrame::CopyFrom(const CCallFrame& other) {
  if (&other == this) return;
  ClearArguments();
  for (size_t i = 0; i < other.m_listArgument.Count(); ++i) {
    auto* argument = new CScriptVariable();
    argument->Copy(*other.m_listArgument.At(i));
    m_listArgument.Append(argument);
  }
  m_result.Copy(other.m_result);
}

bool ParseParameterList(const std::string& text, IScriptInterpreter* interpreter, CVariableList& list) {
  const std::string declaration = StripEnclosing(text);
  if (declaration.empty()) return true;
  CVariableList parsed;
  size_t start = 0;
  for (;;) {
    size_t at = declaration.find(',', start);
    std::string piece =
        TrimBlanks(declaration.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (piece.empty()) return false;
    std::string word, rest;
    SplitWord(piece, word, rest);
    int32_t flags = 0;
    if (EqualsNoCase(word, "out")) {
      flags = VAR_OUT;
      std::string afterOut = rest;
      SplitWord(afterOut, word, rest);
    }
    // A parameter needs a type word; an empty one would match a nameless class.
    if (word.empty()) return false;
    int32_t kind = KindFromTypeName(word);
    if (kind == VALUE_UNKNOWN) {
      if (!interpreter || !interpreter->FindClass(word)) return false;
      kind = VALUE_OBJECT;
    }
    auto* parameter = new CScriptVariable();
    parameter->SetNameAndKind(rest, kind);
    parameter->m_nFlags = flags;
    parsed.Append(parameter);
    if (at == std::string::npos) break;
    start = at + 1;
  }
  list.TakeAll(parsed);
  return true;
}
