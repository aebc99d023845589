#include "script/runtime/ScriptValue.h"

#include <utility>

#include "app/Text.h"
#include "script/runtime/BoxedObjects.h"
#include "script/runtime/NumberText.h"

int32_t KindFromTypeName(const std::string& typeName) {
  if (EqualsNoCase(typeName, "string")) return VALUE_STRING;
  if (EqualsNoCase(typeName, "int")) return VALUE_INT;
  if (EqualsNoCase(typeName, "double")) return VALUE_DOUBLE;
  if (EqualsNoCase(typeName, "IVexObject")) return VALUE_OBJECT;
  if (EqualsNoCase(typeName, "void")) return VALUE_VOID;
  return VALUE_UNKNOWN;
}

std::string TypeNameOfKind(int32_t kind) {
  switch (kind) {
    case VALUE_STRING:
      return "String";
    case VALUE_INT:
      return "Int";
    case VALUE_DOUBLE:
      return "Double";
    case VALUE_OBJECT:
      return "IVexObject";
    case VALUE_VOID:
      return "void";
    default:
      return std::string();
  }
}

CScriptValue::~CScriptValue() { ReplaceObject(nullptr); }

CScriptValue::CScriptValue(CScriptValue&& other) noexcept
    : CRefObject(), m_nKind(other.m_nKind), m_strText(std::move(other.m_strText)), m_pObject(other.m_pObject) {
  other.m_nKind = VALUE_EMPTY;
  other.m_pObject = nullptr;
}

CScriptValue& CScriptValue::operator=(CScriptValue&& other) noexcept {
  if (this != &other) {
    CScriptObject* old = m_pObject;
    m_nKind = other.m_nKind;
    m_strText = std::move(other.m_strText);
    m_pObject = other.m_pObject;
    other.m_nKind = VALUE_EMPTY;
    other.m_pObject = nullptr;
    if (old) old->Release();
  }
  return *this;
}

void CScriptValue::ReplaceObject(CScriptObject* object) {
  if (object == m_pObject) return;
  if (object) object->AddRef();
  CScriptObject* old = m_pObject;
  m_pObject = object;
  if (old) old->Release();
}

CScriptObject* CScriptValue::SoleBox(int32_t kind) const {
  if (m_pObject && m_pObject->BoxKind() == kind && m_pObject->RefCount() == 1) return m_pObject;
  return nullptr;
}

CIntObject* CScriptValue::EnsureIntBox() {
  if (m_pObject && m_pObject->BoxKind() == VALUE_INT) return static_cast<CIntObject*>(m_pObject);
  auto* box = new CIntObject();
  ReplaceObject(box);
  return box;
}

CDoubleObject* CScriptValue::EnsureDoubleBox() {
  if (m_pObject && m_pObject->BoxKind() == VALUE_DOUBLE) return static_cast<CDoubleObject*>(m_pObject);
  auto* box = new CDoubleObject();
  ReplaceObject(box);
  return box;
}

CStringObject* CScriptValue::EnsureStringBox() {
  if (m_pObject && m_pObject->BoxKind() == VALUE_STRING) return static_cast<CStringObject*>(m_pObject);
  auto* box = new CStringObject();
  ReplaceObject(box);
  return box;
}

void CScriptValue::Clear() {
  m_nKind = VALUE_EMPTY;
  ReplaceObject(nullptr);
}

void CScriptValue::SetText(const std::string& text) {
  SetTypedText(text, m_nKind == VALUE_EMPTY ? VALUE_TEXT : m_nKind);
}

void CScriptValue::SetTypedText(const std::string& text, int32_t kind) {
  if (&text != &m_strText) m_strText = text;
  m_nKind = kind;
  // Each typed assignment gets a fresh box; a box that nobody else holds is
  // refilled instead, which nobody can tell apart.
  switch (kind) {
    case VALUE_INT:
      if (CScriptObject* box = SoleBox(VALUE_INT)) {
        static_cast<CIntObject*>(box)->Set(ReadIntText(m_strText));
      } else {
        ReplaceObject(new CIntObject(ReadIntText(m_strText)));
      }
      break;
    case VALUE_DOUBLE:
      if (CScriptObject* box = SoleBox(VALUE_DOUBLE)) {
        static_cast<CDoubleObject*>(box)->Set(ReadDoubleText(m_strText));
      } else {
        ReplaceObject(new CDoubleObject(ReadDoubleText(m_strText)));
      }
      break;
    case VALUE_STRING:
      if (CScriptObject* box = SoleBox(VALUE_STRING)) {
        static_cast<CStringObject*>(box)->SetText(m_strText);
      } else {
        ReplaceObject(new CStringObject(m_strText));
      }
      break;
    case VALUE_TEXT:
      // Untyped text is its text: an object it still shared from an earlier
      // assignment would otherwise keep answering GetText with the old value.
      ReplaceObject(nullptr);
      break;
    default:
      break;
  }
}

void CScriptValue::SetNumber(double d) {
  switch (m_nKind) {
    case VALUE_INT:
      EnsureIntBox()->Set(TruncToInt32(d));
      break;
    case VALUE_DOUBLE:
      EnsureDoubleBox()->Set(d);
      break;
    case VALUE_STRING:
      EnsureStringBox()->SetText(FormatDoubleText(d));
      break;
    default:
      m_strText = FormatDoubleText(d);
      break;
  }
}

void CScriptValue::SetDouble(double d) {
  m_nKind = VALUE_DOUBLE;
  m_strText.clear();
  if (CScriptObject* box = SoleBox(VALUE_DOUBLE)) {
    static_cast<CDoubleObject*>(box)->Set(d);
  } else {
    ReplaceObject(new CDoubleObject(d));
  }
}

void CScriptValue::SetUnboxedText(const std::string& text, int32_t kind) {
  ReplaceObject(nullptr);
  m_strText = text;
  m_nKind = kind;
}

void CScriptValue::SetObject(CScriptObject* object) {
  m_nKind = VALUE_OBJECT;
  ReplaceObject(object);
}

std::string CScriptValue::GetText() const { return m_pObject ? m_pObject->ToText() : m_strText; }
int32_t CScriptValue::GetInt() const { return m_pObject ? m_pObject->ToInt() : ReadIntText(m_strText); }
double CScriptValue::GetDouble() const { return m_pObject ? m_pObject->ToDouble() : ReadDoubleText(m_strText); }

bool CScriptValue::IsNumeric() const {
  return m_nKind == VALUE_TEXT || m_nKind == VALUE_INT || m_nKind == VALUE_DOUBLE;
}

bool CScriptValue::Equals(const CScriptValue& other) const {
  switch (m_nKind) {
    case VALUE_INT:
      return GetInt() == other.GetInt();
    case VALUE_DOUBLE:
      return GetDouble() == other.GetDouble();
    case VALUE_STRING:
      return GetText() == other.GetText();
    default:
      return false;
  }
}

void CScriptValue::Copy(const CScriptValue& other) {
  if (this == &other) return;
  switch (other.m_nKind) {
    case VALUE_STRING: {
      std::string text = other.GetText();
      m_nKind = other.m_nKind;
      m_strText = other.m_strText;
      EnsureStringBox()->SetText(text);
      break;
    }
    case VALUE_INT: {
      int32_t n = other.GetInt();
      m_nKind = other.m_nKind;
      m_strText = other.m_strText;
      EnsureIntBox()->Set(n);
      break;
    }
    case VALUE_DOUBLE: {
      double d = other.GetDouble();
      m_nKind = other.m_nKind;
      m_strText = other.m_strText;
      EnsureDoubleBox()->Set(d);
      break;
    }
    default:
      m_nKind = other.m_nKind;
      m_strText = other.m_strText;
      ReplaceObject(other.m_pObject);
      break;
  }
}

void CScriptValue::AssignConverted(const CScriptValue& other) {
  if (this == &other) return;
  int32_t kind = m_nKind == VALUE_EMPTY ? other.m_nKind : m_nKind;
  switch (kind) {
    case VALUE_STRING: {
      std::string text = other.GetText();
      m_strText = other.m_strText;
      m_nKind = kind;
      EnsureStringBox()->SetText(text);
      break;
    }
    case VALUE_INT: {
      int32_t n = other.GetInt();
      m_strText = other.m_strText;
      m_nKind = kind;
      EnsureIntBox()->Set(n);
      break;
    }
    case VALUE_DOUBLE: {
      double d = other.GetDouble();
      m_strText = other.m_strText;
      m_nKind = kind;
      EnsureDoubleBox()->Set(d);
      break;
    }
    default:
      m_strText = other.m_strText;
      m_nKind = kind;
      ReplaceObject(other.m_pObject);
      break;
  }
}

void CScriptValue::Add(const CScriptValue& other) {
  switch (m_nKind) {
    case VALUE_STRING: {
      std::string tail = other.GetText();
      if (!m_pObject) {
        m_strText += tail;
      } else {
        if (m_pObject->BoxKind() != VALUE_STRING) {
          // A box of another class gives way to a string box holding its text.
          std::string current = GetText();
          EnsureStringBox()->SetText(current);
        }
        static_cast<CStringObject*>(m_pObject)->AppendText(tail);
      }
      break;
    }
    case VALUE_INT: {
      int32_t n = other.GetInt();
      EnsureIntBox()->AddInt(n);
      break;
    }
    case VALUE_DOUBLE: {
      double d = other.GetDouble();
      EnsureDoubleBox()->Add(d);
      break;
    }
    default:
      break;
  }
}

void CScriptValue::AddInteger(int32_t n) {
  if (m_nKind == VALUE_INT) EnsureIntBox()->AddInt(n);
  if (m_nKind == VALUE_DOUBLE) EnsureDoubleBox()->Add(n);
}

void CScriptValue::MultiplyBy(double d) {
  if (m_nKind == VALUE_INT) EnsureIntBox()->MultiplyBy(d);
  if (m_nKind == VALUE_DOUBLE) EnsureDoubleBox()->MultiplyBy(d);
}

void CScriptValue::DivideBy(double d) {
  if (m_nKind == VALUE_INT) EnsureIntBox()->DivideBy(d);
  if (m_nKind == VALUE_DOUBLE) EnsureDoubleBox()->DivideBy(d);
}

void CScriptValue::RemainderBy(int32_t n) {
  if (m_nKind == VALUE_INT) EnsureIntBox()->RemainderBy(n);
  if (m_nKind == VALUE_DOUBLE) EnsureDoubleBox()->RemainderBy(n);
}

void CScriptValue::AppendToList(const CScriptValue& item) {
  std::string entry = FormatIntText(item.GetKind());
  entry += '|';
  entry += item.GetText();
  if (!m_strText.empty()) {
    entry += kArgListSeparator;
    entry += m_strText;
  }
  m_strText = std::move(entry);
}
