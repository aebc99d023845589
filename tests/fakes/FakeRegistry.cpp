#include "tests/fakes/FakeRegistry.h"

#include <cstring>

#include "app/Text.h"

namespace {

const char* const kRootNames[4] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

void MarkDeleted(CFakeRegistry::Key* key) {
  key->deleted = true;
  for (auto& sub : key->subkeys) MarkDeleted(sub.get());
}

}  // namespace

CFakeRegistry::CFakeRegistry() {
  for (int i = 0; i < 4; ++i) {
    m_roots[i] = std::make_unique<Key>();
    m_roots[i]->name = kRootNames[i];
  }
}

CFakeRegistry::~CFakeRegistry() = default;

CFakeRegistry::Key* CFakeRegistry::Root(RegHandle root) const {
  if (root >= kHkeyClassesRoot && root <= kHkeyUsers) return m_roots[root - kHkeyClassesRoot].get();
  return nullptr;
}

CFakeRegistry::Key* CFakeRegistry::Resolve(RegHandle handle, uint32_t* access) const {
  if (Key* root = Root(handle)) {
    if (access) *access = kKeyAllAccess;
    return root;
  }
  auto it = m_handles.find(handle);
  if (it == m_handles.end()) return nullptr;
  if (access) *access = it->second.access;
  return it->second.key;
}

CFakeRegistry::Key* CFakeRegistry::Walk(Key* from, const std::string& subkey, bool create, bool& denied) {
  denied = false;
  Key* key = from;
  for (const std::string& part : SplitPath(subkey)) {
    Key* next = nullptr;
    for (auto& sub : key->subkeys)
      if (EqualsNoCase(sub->name, part)) next = sub.get();
    if (!next) {
      if (!create) return nullptr;
      key->subkeys.push_back(std::make_unique<Key>());
      next = key->subkeys.back().get();
      next->name = part;
      next->parent = key;
    }
    key = next;
    if (key->denyOpen) {
      denied = true;
      return nullptr;
    }
  }
  return key;
}

CFakeRegistry::Value* CFakeRegistry::FindValue(Key* key, const std::string& name) {
  for (Value& v : key->values)
    if (EqualsNoCase(v.name, name)) return &v;
  return nullptr;
}

CFakeRegistry::Key* CFakeRegistry::MakeKey(const std::string& path) {
  auto parts = SplitPath(path);
  if (parts.empty()) return nullptr;
  Key* key = nullptr;
  for (int i = 0; i < 4; ++i)
    if (parts[0] == kRootNames[i]) key = m_roots[i].get();
  if (!key) return nullptr;
  std::string rest = path.size() > parts[0].size() ? path.substr(parts[0].size() + 1) : std::string();
  // Set-up may pass through keys that deny opening.
  for (const std::string& part : SplitPath(rest)) {
    Key* next = nullptr;
    for (auto& sub : key->subkeys)
      if (EqualsNoCase(sub->name, part)) next = sub.get();
    if (!next) {
      key->subkeys.push_back(std::make_unique<Key>());
      next = key->subkeys.back().get();
      next->name = part;
      next->parent = key;
    }
    key = next;
  }
  return key;
}

CFakeRegistry::Key* CFakeRegistry::FindKey(const std::string& path) const {
  auto parts = SplitPath(path);
  if (parts.empty()) return nullptr;
  Key* key = nullptr;
  for (int i = 0; i < 4; ++i)
    if (parts[0] == kRootNames[i]) key = m_roots[i].get();
  for (size_t p = 1; key && p < parts.size(); ++p) {
    Key* next = nullptr;
    for (auto& sub : key->subkeys)
      if (EqualsNoCase(sub->name, parts[p])) next = sub.get();
    key = next;
  }
  return key;
}

void CFakeRegistry::SetString(const std::string& keyPath, const std::string& name, const std::string& text,
                              uint32_t type) {
  Key* key = MakeKey(keyPath);
  Value* v = FindValue(key, name);
  if (!v) {
    key->values.push_back(Value{name, type, std::string()});
    v = &key->values.back();
  }
  v->type = type;
  v->data = text + std::string(1, '\0');
}

void CFakeRegistry::SetDword(const std::string& keyPath, const std::string& name, uint32_t value) {
  Key* key = MakeKey(keyPath);
  Value* v = FindValue(key, name);
  if (!v) {
    key->values.push_back(Value{name, kRegDword, std::string()});
    v = &key->values.back();
  }
  v->type = kRegDword;
  v->data.assign(reinterpret_cast<const char*>(&value), 4);
}

bool CFakeRegistry::HasValue(const std::string& keyPath, const std::string& name) const {
  Key* key = FindKey(keyPath);
  return key && FindValue(key, name);
}

std::string CFakeRegistry::GetString(const std::string& keyPath, const std::string& name) const {
  Key* key = FindKey(keyPath);
  Value* v = key ? FindValue(key, name) : nullptr;
  if (!v) return std::string();
  std::string text = v->data;
  size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

long CFakeRegistry::OpenKey(RegHandle parent, const std::string& subkey, uint32_t access, RegHandle& key) {
  key = 0;
  Key* from = Resolve(parent, nullptr);
  if (!from) return kErrorInvalidHandle;
  if (from->deleted) return kErrorKeyDeleted;
  bool denied = false;
  Key* target = Walk(from, subkey, false, denied);
  if (denied) return kErrorAccessDenied;
  if (!target) return kErrorFileNotFound;
  key = m_nextHandle++;
  m_handles[key] = Handle{target, access};
  return kErrorSuccess;
}

long CFakeRegistry::CreateKey(RegHandle parent, const std::string& subkey, RegHandle& key) {
  key = 0;
  Key* from = Resolve(parent, nullptr);
  if (!from) return kErrorInvalidHandle;
  if (from->deleted) return kErrorKeyDeleted;
  bool denied = false;
  Key* target = Walk(from, subkey, true, denied);
  if (denied || !target) return kErrorAccessDenied;
  key = m_nextHandle++;
  m_handles[key] = Handle{target, kKeyAllAccess};
  return kErrorSuccess;
}

long CFakeRegistry::CloseKey(RegHandle key) {
  if (Root(key)) return kErrorSuccess;
  return m_handles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

long CFakeRegistry::QueryValue(RegHandle handle, const std::string& name, uint32_t* type, void* data,
                               uint32_t* size) {
  uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return kErrorInvalidHandle;
  if (key->deleted) return kErrorKeyDeleted;
  if (!(access & kKeyQueryValue)) return kErrorAccessDenied;
  Value* v = FindValue(key, name);
  if (!v) return kErrorFileNotFound;
  if (type) *type = v->type;
  uint32_t needed = static_cast<uint32_t>(v->data.size());
  if (!data) {
    if (size) *size = needed;
    return kErrorSuccess;
  }
  if (!size) return kErrorInvalidHandle;
  if (*size < needed) {
    *size = needed;
    return kErrorMoreData;
  }
  std::memcpy(data, v->data.data(), needed);
  *size = needed;
  return kErrorSuccess;
}

long CFakeRegistry::SetValue(RegHandle handle, const std::string& name, uint32_t type, const void* data,
                             uint32_t size) {
  uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return kErrorInvalidHandle;
  if (key->deleted) return kErrorKeyDeleted;
  if (!(access & kKeySetValue) || key->denyWrite) return kErrorAccessDenied;
  Value* v = FindValue(key, name);
  if (!v) {
    key->values.push_back(Value{name, type, std::string()});
    v = &key->values.back();
  }
  v->type = type;
  v->data.assign(static_cast<const char*>(data), size);
  return kErrorSuccess;
}

long CFakeRegistry::DeleteKey(RegHandle handle, const std::string& subkey) {
  Key* from = Resolve(handle, nullptr);
  if (!from) return kErrorInvalidHandle;
  if (from->deleted) return kErrorKeyDeleted;
  bool denied = false;
  Key* target = Walk(from, subkey, false, denied);
  if (denied) return kErrorAccessDenied;
  if (!target || target == from) return kErrorFileNotFound;
  // As on Windows NT: a key with subkeys is not deleted.
  if (target->denyDelete || !target->subkeys.empty()) return kErrorAccessDenied;
  Key* parent = target->parent;
  for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
    if (it->get() != target) continue;
    MarkDeleted(target);
    // Handles to the key stay valid objects but report it deleted.
    m_graveyard.push_back(std::move(*it));
    parent->subkeys.erase(it);
    break;
  }
  return kErrorSuccess;
}

long CFakeRegistry::DeleteValue(RegHandle handle, const std::string& name) {
  uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return kErrorInvalidHandle;
  if (key->deleted) return kErrorKeyDeleted;
  if (!(access & kKeySetValue) || key->denyWrite) return kErrorAccessDenied;
  for (auto it = key->values.begin(); it != key->values.end(); ++it) {
    if (EqualsNoCase(it->name, name)) {
      key->values.erase(it);
      return kErrorSuccess;
    }
  }
  return kErrorFileNotFound;
}

long CFakeRegistry::EnumKey(RegHandle handle, uint32_t index, std::string& name, uint32_t bufferSize) {
  uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return kErrorInvalidHandle;
  if (key->deleted) return kErrorKeyDeleted;
  if (!(access & kKeyEnumerateSubKeys)) return kErrorAccessDenied;
  if (index >= key->subkeys.size()) return kErrorNoMoreItems;
  const std::string& n = key->subkeys[index]->name;
  if (n.size() + 1 > bufferSize) return kErrorMoreData;
  name = n;
  return kErrorSuccess;
}
