// The loader: cuts a program text into segments, declares its globals and
// collects the VBScript files it includes. Statements are not parsed here.
#include <memory>

#include "app/Text.h"
#include "script/ScriptEngine.h"
#include "system/FileSystem.h"
#include "system/Platform.h"

int32_t CScriptEngine::LoadScriptText(const std::string& text) {
  CScriptReader reader;
  reader.OpenText(text);
  return LoadFromReader(reader) ? 1 : 0;
}

int32_t CScriptEngine::LoadScriptFile(const std::string& path) {
  CScriptReader reader;
  if (!reader.OpenFile(path)) return 0;
  return LoadFromReader(reader) ? 1 : 0;
}

bool CScriptEngine::LoadFromReader(CScriptReader& reader) {
  bool inBody = false;
  int64_t depth = 0;  // wider than any count of lines a text can hold
  CSegment* current = nullptr;
  std::string line, word, rest;
  while (!reader.IsEnd()) {
    if (!reader.GetLine(line, true)) break;
    if (inBody) {
      if (line == "{") ++depth;
      if (line == "}") --depth;
      if (depth == 0) {
        inBody = false;
        current = nullptr;
        continue;
      }
      size_t end = line.find_last_not_of(';');
      line.resize(end == std::string::npos ? 0 : end + 1);
      current->AddSentence(line, reader.Line());
      continue;
    }
    if (line[0] == '#') {
      if (EqualsNoCase(line.substr(0, line.find(' ')), "#include") && !m_strIncludeDir.empty()) {
        IncludeVBScript(line);
      }
      continue;
    }
    SplitFirstWord(line, word, rest);
    if (EqualsNoCase(word, "Var")) {
      if (!DeclareGlobal(rest, reader.Line())) return false;
    } else if (EqualsNoCase(word, "Section") || EqualsNoCase(word, "Function")) {
      if (!ReadSegmentHead(word, rest, reader.Line())) return false;
      current = m_listSegment.back().get();
      inBody = true;
      depth = 0;
    }
  }
  return true;
}

void CScriptEngine::IncludeVBScript(const std::string& line) {
  // Cut at blanks, so a file name cannot hold blanks, quoted or not.
  std::string text = line, directive, file, language;
  PopToken(text, directive, " ");
  PopToken(text, file, " ");
  PopToken(text, language, " ");
  size_t begin = file.find_first_not_of('"');
  size_t end = file.find_last_not_of('"');
  file = begin == std::string::npos ? std::string() : file.substr(begin, end - begin + 1);
  if (!EqualsNoCase(language, "VbScript")) return;

  std::string content;
  if (std::unique_ptr<IReadStream> stream = Sys().files->OpenForReading(m_strIncludeDir + "\\" + file)) {
    char buffer[8192];
    for (size_t got; (got = stream->Read(buffer, sizeof(buffer))) > 0;) content.append(buffer, got);
  }
  m_strVBScript += "\r\n";
  m_strVBScript += content;
}

bool CScriptEngine::DeclareGlobal(const std::string& rest, int32_t lineNumber) {
  std::string typeName, name;
  ReadVarDeclaration(rest, typeName, name);
  CScriptVariable* variable = CreateVariable(name, typeName);
  if (!variable) {
    SetError(SCRIPT_ERROR_BAD_TYPE, typeName, lineNumber);
    return false;
  }
  variable->SetNameAndKind(name, variable->GetKind());
  m_listUserVar.Append(variable);
  return true;
}

bool CScriptEngine::ReadSegmentHead(const std::string& word, const std::string& rest, int32_t lineNumber) {
  auto segment = std::make_unique<CSegment>();
  if (EqualsNoCase(word, "Section")) {
    segment->m_nKind = SEGMENT_SECTION;
    segment->m_strName = rest;
  } else {
    // "Function" type name(parameters): the type has no effect; without a
    // type word the name comes out empty.
    segment->m_nKind = SEGMENT_FUNCTION;
    std::string type, afterType, afterName;
    SplitFirstWord(rest, type, afterType);
    SplitFirstWord(afterType, segment->m_strName, afterName);
    if (!afterName.empty() && afterName[0] == '(') {
      size_t close = afterName.find(')');
      if (close == std::string::npos ||
          !ParseParameterList(afterName.substr(1, close - 1), this, segment->m_parameters.Arguments())) {
        SetError(SCRIPT_ERROR_FUNCTION_HEAD, rest, lineNumber);
        return false;
      }
    }
  }
  segment->m_nLine = lineNumber;
  m_listSegment.push_back(std::move(segment));
  return true;
}
