#include "script/runtime/BoxedObjects.h"

#include "app/Text.h"
#include "script/runtime/CallFrame.h"
#include "script/runtime/NumberText.h"

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define UNINST_NO_RECYCLING 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNINST_NO_RECYCLING 1
#endif
#endif

namespace {

// Keeps up to kKept freed blocks of one class's exact size. Blocks of other
// sizes (classes derived from a box) go to the heap as usual. Under
// AddressSanitizer every block goes to the heap, so that a use after release
// is still caught. Script values live on the program's one thread; the lists
// are plain statics because thread-local storage costs more per access than
// the allocation it saves.
template <class T>
class CRecycler {
 public:
  static void* Take(size_t size) {
#ifndef UNINST_NO_RECYCLING
    if (size == sizeof(T) && s_pHead) {
      CNode* node = s_pHead;
      s_pHead = node->next;
      --s_nCount;
      return node;
    }
#endif
    return ::operator new(size);
  }
  static void Give(void* memory, size_t size) {
#ifndef UNINST_NO_RECYCLING
    if (size == sizeof(T) && s_nCount < kKept) {
      CNode* node = static_cast<CNode*>(memory);
      node->next = s_pHead;
      s_pHead = node;
      ++s_nCount;
      return;
    }
#endif
    ::operator delete(memory);
  }

 private:
  struct CNode {
    CNode* next;
  };
  static constexpr int kKept = 256;
  static CNode* s_pHead;
  static int s_nCount;
};

template <class T>
typename CRecycler<T>::CNode* CRecycler<T>::s_pHead = nullptr;
template <class T>
int CRecycler<T>::s_nCount = 0;

}  // namespace

void* CIntObject::operator new(size_t size) { return CRecycler<CIntObject>::Take(size); }
void CIntObject::operator delete(void* memory, size_t size) { CRecycler<CIntObject>::Give(memory, size); }
void* CDoubleObject::operator new(size_t size) { return CRecycler<CDoubleObject>::Take(size); }
void CDoubleObject::operator delete(void* memory, size_t size) { CRecycler<CDoubleObject>::Give(memory, size); }
void* CStringObject::operator new(size_t size) { return CRecycler<CStringObject>::Take(size); }
void CStringObject::operator delete(void* memory, size_t size) { CRecycler<CStringObject>::Give(memory, size); }

CIntObject::CIntObject(int32_t value) : m_nValue(value) {
  m_nBoxKind = VALUE_INT;
}

CScriptObject* CIntObject::CreateInstance(const std::string& name) { return InitInstance(new CIntObject(), name); }

int32_t CIntObject::Invoke(const std::string& method, CCallFrame& frame) {
  if (EqualsNoCase(method, "ToString")) {
    frame.SetResultTyped(ToText(), VALUE_STRING);
    return 1;
  }
  return 0;
}

std::string CIntObject::ToText() const { return FormatIntText(m_nValue); }
void CIntObject::AddInt(int32_t n) { m_nValue = WrapAdd(m_nValue, n); }
void CIntObject::MultiplyBy(double d) { m_nValue = TruncToInt32(m_nValue * d); }
void CIntObject::DivideBy(double d) { m_nValue = TruncToInt32(m_nValue / d); }

void CIntObject::RemainderBy(int32_t n) {
  // No remainder by 0: the value stays as it was.
  IntRemainder(m_nValue, n, m_nValue);
}

CDoubleObject::CDoubleObject(double value) : m_dValue(value) {
  m_nBoxKind = VALUE_DOUBLE;
}

CScriptObject* CDoubleObject::CreateInstance(const std::string& name) {
  return InitInstance(new CDoubleObject(), name);
}

int32_t CDoubleObject::Invoke(const std::string& method, CCallFrame& frame) {
  if (EqualsNoCase(method, "ToString")) {
    frame.SetResultTyped(ToText(), VALUE_STRING);
    return 1;
  }
  return 0;
}

std::string CDoubleObject::ToText() const { return FormatDoubleText(m_dValue); }
int32_t CDoubleObject::ToInt() const { return TruncToInt32(m_dValue); }

void CDoubleObject::RemainderBy(int32_t n) {
  // No remainder by 0: the value stays as it was.
  int32_t remainder = 0;
  if (IntRemainder(TruncToInt32(m_dValue), n, remainder)) m_dValue = remainder;
}

CStringObject::CStringObject(const std::string& text) : m_strText(text) {
  m_nBoxKind = VALUE_STRING;
}

CScriptObject* CStringObject::CreateInstance(const std::string& name) {
  return InitInstance(new CStringObject(), name);
}

int32_t CStringObject::ToInt() const { return ReadIntText(m_strText); }
double CStringObject::ToDouble() const { return ReadDoubleText(m_strText); }

int32_t CStringObject::IsEqual(const CScriptObject* other) const {
  return (other && other->ToText() == m_strText) ? 1 : 0;
}

namespace {

// Byte counts: negative gives none, more than the length gives all.
size_t ClampCount(int32_t n, size_t length) {
  if (n < 0) return 0;
  return static_cast<size_t>(n) > length ? length : static_cast<size_t>(n);
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  // An empty search text matches nowhere (it would match everywhere forever).
  if (from.empty()) return text;
  std::string out;
  size_t start = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
    out.append(text, start, at - start);
    out += to;
    start = at + from.size();
  }
  out.append(text, start, std::string::npos);
  return out;
}

}  // namespace

int32_t CStringObject::Invoke(const std::string& method, CCallFrame& frame) {
  const size_t length = m_strText.size();
  if (EqualsNoCase(method, "Left")) {
    frame.SetResultTyped(m_strText.substr(0, ClampCount(ResolvedNumber(frame, 1), length)), VALUE_STRING);
    return 1;
  }
  if (EqualsNoCase(method, "Right")) {
    size_t count = ClampCount(ResolvedNumber(frame, 1), length);
    frame.SetResultTyped(m_strText.substr(length - count), VALUE_STRING);
    return 1;
  }
  if (EqualsNoCase(method, "Mid")) {
    int32_t start = ResolvedNumber(frame, 1);
    int32_t count = ResolvedNumber(frame, 2);
    size_t from = start < 0 ? 0 : static_cast<size_t>(start);
    std::string part;
    if (from < length) part = count <= 0 ? m_strText.substr(from) : m_strText.substr(from, static_cast<size_t>(count));
    frame.SetResultTyped(part, VALUE_STRING);
    return 1;
  }
  if (EqualsNoCase(method, "ToUpper")) {
    frame.SetResultTyped(ToUpperText(m_strText), VALUE_STRING);
    return 1;
  }
  if (EqualsNoCase(method, "ToLower")) {
    frame.SetResultTyped(ToLowerText(m_strText), VALUE_STRING);
    return 1;
  }
  if (EqualsNoCase(method, "Replace")) {
    m_strText = ReplaceAll(m_strText, ResolvedArgument(frame, 1), ResolvedArgument(frame, 2));
    return 1;
  }
  return 0;
}
