// The boxes behind values of kind int, double and string, which also offer
// a few methods to scripts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "script/runtime/ScriptObject.h"

// Boxes come and go with nearly every value a script computes; their memory
// is recycled (see BoxedObjects.cpp) instead of going back to the heap.
#define UNINST_RECYCLED_ALLOCATION          \
  static void* operator new(size_t size);   \
  static void operator delete(void* memory, size_t size);

class CIntObject : public CScriptObject {
 public:
  explicit CIntObject(int32_t value = 0);
  UNINST_RECYCLED_ALLOCATION

  CScriptObject* CreateInstance(const std::string& name) override;
  // "ToString": the value's text as a string result.
  int32_t Invoke(const std::string& method, CCallFrame& frame) override;
  std::string ToText() const override;
  int32_t ToInt() const override { return m_nValue; }
  double ToDouble() const override { return m_nValue; }

  void Set(int32_t value) { m_nValue = value; }
  void AddInt(int32_t n);
  // The product or quotient truncated toward zero (clamped to 32 bits).
  void MultiplyBy(double d);
  void DivideBy(double d);
  // Sign of the dividend; a divisor of 0 leaves the value unchanged.
  void RemainderBy(int32_t n);

 private:
  int32_t m_nValue;
};

class CDoubleObject : public CScriptObject {
 public:
  explicit CDoubleObject(double value = 0.0);
  UNINST_RECYCLED_ALLOCATION

  CScriptObject* CreateInstance(const std::string& name) override;
  // "ToString": the value's text as a string result.
  int32_t Invoke(const std::string& method, CCallFrame& frame) override;
  std::string ToText() const override;
  int32_t ToInt() const override;
  double ToDouble() const override { return m_dValue; }

  void Set(double value) { m_dValue = value; }
  void Add(double d) { m_dValue += d; }
  void MultiplyBy(double d) { m_dValue *= d; }
  void DivideBy(double d) { m_dValue /= d; }
  // The value truncated to 32 bits, remainder by n, kept as a double; a
  // divisor of 0 leaves the value unchanged.
  void RemainderBy(int32_t n);

 private:
  double m_dValue;
};

class CStringObject : public CScriptObject {
 public:
  explicit CStringObject(const std::string& text = std::string());
  UNINST_RECYCLED_ALLOCATION

  CScriptObject* CreateInstance(const std::string& name) override;
  // "Left", "Right", "Mid", "ToUpper", "ToLower", "Replace".
  int32_t Invoke(const std::string& method, CCallFrame& frame) override;
  std::string ToText() const override { return m_strText; }
  int32_t ToInt() const override;
  double ToDouble() const override;
  // 1 when the other's text equals this text exactly.
  int32_t IsEqual(const CScriptObject* other) const override;

  const std::string& Text() const { return m_strText; }
  void SetText(const std::string& text) { m_strText = text; }
  void AppendText(const std::string& text) { m_strText += text; }

 private:
  std::string m_strText;
};
