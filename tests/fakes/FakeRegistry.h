// An in-memory registry with the system's results: keys and value names
// compared without regard to case, typed values, handles that go stale when
// their key is deleted, and access failures a test can ask for.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "system/RegistryApi.h"

class CFakeRegistry : public IRegistry {
 public:
  struct Value {
    std::string name;
    uint32_t type = kRegSz;
    std::string data;  // raw bytes
  };
  struct Key {
    std::string name;
    Key* parent = nullptr;
    std::vector<std::unique_ptr<Key>> subkeys;  // in creation order
    std::vector<Value> values;
    bool denyOpen = false;    // every open or create fails with access denied
    bool denyDelete = false;  // deleting this key fails with access denied
    bool denyWrite = false;   // setting or deleting values fails
    bool deleted = false;
  };

  CFakeRegistry();
  ~CFakeRegistry() override;

  // Set-up and inspection by path, "HKEY_CURRENT_USER\Software\Co" style
  // (root names as the system writes them).
  Key* MakeKey(const std::string& path);
  Key* FindKey(const std::string& path) const;
  void SetString(const std::string& keyPath, const std::string& name, const std::string& text,
                 uint32_t type = kRegSz);
  void SetDword(const std::string& keyPath, const std::string& name, uint32_t value);
  bool HasKey(const std::string& path) const { return FindKey(path) != nullptr; }
  bool HasValue(const std::string& keyPath, const std::string& name) const;
  std::string GetString(const std::string& keyPath, const std::string& name) const;
  size_t OpenHandleCount() const { return m_handles.size(); }

  long OpenKey(RegHandle parent, const std::string& subkey, uint32_t access, RegHandle& key) override;
  long CreateKey(RegHandle parent, const std::string& subkey, RegHandle& key) override;
  long CloseKey(RegHandle key) override;
  long QueryValue(RegHandle key, const std::string& name, uint32_t* type, void* data, uint32_t* size) override;
  long SetValue(RegHandle key, const std::string& name, uint32_t type, const void* data, uint32_t size) override;
  long DeleteKey(RegHandle key, const std::string& subkey) override;
  long DeleteValue(RegHandle key, const std::string& name) override;
  long EnumKey(RegHandle key, uint32_t index, std::string& name, uint32_t bufferSize) override;

 private:
  struct Handle {
    Key* key;
    uint32_t access;
  };
  Key* Root(RegHandle root) const;
  // The key behind a handle or root; null for unknown or stale handles.
  Key* Resolve(RegHandle handle, uint32_t* access) const;
  Key* Walk(Key* from, const std::string& subkey, bool create, bool& denied);
  static Value* FindValue(Key* key, const std::string& name);

  std::unique_ptr<Key> m_roots[4];
  std::map<RegHandle, Handle> m_handles;
  std::vector<std::unique_ptr<Key>> m_graveyard;  // deleted keys that handles may still name
  RegHandle m_nextHandle = 0x1000;
};
