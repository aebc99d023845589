// Script values: a kind code, a text and, for typed kinds and objects, an
// attached object that holds the real value.
#pragma once

#include <cstdint>
#include <string>

#include "script/runtime/RefObject.h"

class CScriptObject;
class CIntObject;
class CDoubleObject;
class CStringObject;

// Value kinds. 1, 3 and 4 are numeric; 2, 3 and 4 keep their value in a box
// of the matching class (CStringObject, CIntObject, CDoubleObject).
enum : int32_t {
  VALUE_UNKNOWN = -1,  // a type name that names no kind
  VALUE_EMPTY = 0,
  VALUE_TEXT = 1,  // untyped text, counts as numeric
  VALUE_STRING = 2,
  VALUE_INT = 3,
  VALUE_DOUBLE = 4,
  VALUE_OBJECT = 50,
  VALUE_VOID = 51,
  VALUE_ARGLIST = 101,    // the text is a serialised argument list
  VALUE_OPERATOR = 102,   // evaluator token that is not a variable
  VALUE_REFERENCE = 103,  // the text names a variable, looked up when used
};

// "string", "int", "double", "IVexObject", "void" in any case; anything else
// is VALUE_UNKNOWN.
int32_t KindFromTypeName(const std::string& typeName);
// "String", "Int", "Double", "IVexObject", "void"; empty text for other kinds.
std::string TypeNameOfKind(int32_t kind);

class CScriptValue : public CRefObject {
 public:
  CScriptValue() = default;
  ~CScriptValue() override;
  // Moving hands over kind, text and the object reference; the source is
  // left empty. Copies are made only by Copy, which has the value rules.
  CScriptValue(CScriptValue&& other) noexcept;
  CScriptValue& operator=(CScriptValue&& other) noexcept;
  CScriptValue(const CScriptValue&) = delete;
  CScriptValue& operator=(const CScriptValue&) = delete;

  int32_t GetKind() const { return m_nKind; }
  // Sets the kind alone; the attached object is not touched.
  void SetKind(int32_t kind) { m_nKind = kind; }
  // The text field as last assigned by text (for boxed kinds not kept in step
  // with the box; GetText gives the current text).
  const std::string& GetStoredText() const { return m_strText; }
  // The attached object of any kind, or null; no reference for the caller.
  CScriptObject* GetAttachedObject() const { return m_pObject; }

  // Kind 0, object released; the text stays.
  void Clear();
  // Kind 0 becomes 1; then as SetTypedText with the value's kind.
  void SetText(const std::string& text);
  // Kinds 2, 3, 4 get a box holding the text, its integer or its number.
  void SetTypedText(const std::string& text, int32_t kind);
  void SetNumber(double d);
  // Kind 50; the object is referenced, the old one released. Null clears it.
  void SetObject(CScriptObject* object);

  std::string GetText() const;
  int32_t GetInt() const;
  double GetDouble() const;
  bool IsNumeric() const;
  // By this value's kind: 3 integers, 4 doubles, 2 texts (case-sensitive);
  // any other kind is never equal.
  bool Equals(const CScriptValue& other) const;

  void Copy(const CScriptValue& other);
  // Keeps the own kind (takes the other's when empty) and converts into it.
  void AssignConverted(const CScriptValue& other);

  void Add(const CScriptValue& other);
  void AddInteger(int32_t n);
  void MultiplyBy(double d);
  void DivideBy(double d);
  void RemainderBy(int32_t n);

  // The text becomes an argument list with "%d|%s" of the item in front.
  void AppendToList(const CScriptValue& item);

  // Kind 4 holding d in a box of its own: the evaluator's results.
  void SetDouble(double d);
  // Kind and text with no attached object (a string literal needs no box
  // until it is stored).
  void SetUnboxedText(const std::string& text, int32_t kind);

 private:
  CIntObject* EnsureIntBox();
  CDoubleObject* EnsureDoubleBox();
  CStringObject* EnsureStringBox();
  // The attached object if it is a box of the kind that nobody else holds.
  CScriptObject* SoleBox(int32_t kind) const;
  void ReplaceObject(CScriptObject* object);

  int32_t m_nKind = VALUE_EMPTY;
  std::string m_strText;
  CScriptObject* m_pObject = nullptr;
};

// The text of an argument list: "%d|%s" items joined by "<,>".
constexpr const char* kArgListSeparator = "<,>";
