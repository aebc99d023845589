// Reference-counted root of script values, variables and objects.
#pragma once

#include <atomic>
#include <cstdint>

// A new object starts with count 0; whoever keeps it calls AddRef. Release of
// an object whose count is 0 destroys it at once, so an object that nobody
// ever referenced goes with a single Release. Objects must live on the heap
// whenever anyone may Release them.
class CRefObject {
 public:
  CRefObject() = default;
  virtual ~CRefObject() = default;

  // Returns the new count.
  int32_t AddRef() { return m_nRefCount.fetch_add(1, std::memory_order_relaxed) + 1; }
  // Returns the new count; 0 means the object has been destroyed.
  int32_t Release();
  int32_t RefCount() const { return m_nRefCount.load(std::memory_order_relaxed); }

 protected:
  // A copy is a new object: it carries none of the source's references.
  CRefObject(const CRefObject&) {}
  CRefObject& operator=(const CRefObject&) { return *this; }

 private:
  std::atomic<int32_t> m_nRefCount{0};
};

inline int32_t CRefObject::Release() {
  if (m_nRefCount.load(std::memory_order_acquire) == 0) {
    delete this;
    return 0;
  }
  int32_t left = m_nRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}
