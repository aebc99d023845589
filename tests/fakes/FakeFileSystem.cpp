#include "tests/fakes/FakeFileSystem.h"

#include <cctype>
#include <cstring>

#include "app/Text.h"

namespace {

class CStringReadStream : public IReadStream {
 public:
  explicit CStringReadStream(std::string data) : m_data(std::move(data)) {}
  size_t Read(char* buffer, size_t size) override {
    size_t n = std::min(size, m_data.size() - m_pos);
    std::memcpy(buffer, m_data.data() + m_pos, n);
    m_pos += n;
    return n;
  }

 private:
  std::string m_data;
  size_t m_pos = 0;
};

bool MatchWildcard(const char* pattern, const char* name) {
  for (; *pattern; ++pattern) {
    if (*pattern == '*') {
      while (pattern[1] == '*') ++pattern;
      if (!pattern[1]) return true;
      for (const char* n = name; *n; ++n)
        if (MatchWildcard(pattern + 1, n)) return true;
      return MatchWildcard(pattern + 1, name + std::strlen(name));
    }
    if (!*name) return false;
    if (*pattern != '?' && toupper(static_cast<unsigned char>(*pattern)) != toupper(static_cast<unsigned char>(*name)))
      return false;
    ++name;
  }
  return *name == 0;
}

bool MatchName(const std::string& pattern, const std::string& name) {
  // "*.*" matches names without a dot too, as the system's search does.
  if (pattern == "*.*" || pattern == "*") return true;
  return MatchWildcard(pattern.c_str(), name.c_str());
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

CFakeFileSystem::CFakeFileSystem() {}

std::string CFakeFileSystem::Key(const std::string& path) {
  std::string key;
  for (char c : path) {
    char u = c == '/' ? '\\' : static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (u == '\\' && !key.empty() && key.back() == '\\') continue;
    key += u;
  }
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string CFakeFileSystem::Resolve(const std::string& path) const {
  std::string key = Key(path);
  // Replace the longest linked prefix by its target, repeatedly.
  for (int depth = 0; depth < 16; ++depth) {
    bool changed = false;
    for (size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1)) {
      auto it = m_nodes.find(key.substr(0, pos));
      if (it != m_nodes.end() && !it->second.linkTarget.empty()) {
        key = Key(it->second.linkTarget) + key.substr(pos);
        changed = true;
        break;
      }
    }
    if (!changed) break;
  }
  return key;
}

CFakeFileSystem::Node* CFakeFileSystem::Find(const std::string& path) {
  auto it = m_nodes.find(Resolve(path));
  return it == m_nodes.end() ? nullptr : &it->second;
}

const CFakeFileSystem::Node* CFakeFileSystem::Find(const std::string& path) const {
  auto it = m_nodes.find(Resolve(path));
  return it == m_nodes.end() ? nullptr : &it->second;
}

bool CFakeFileSystem::HasChildren(const std::string& key) const {
  auto it = m_nodes.lower_bound(key + "\\");
  return it != m_nodes.end() && it->first.compare(0, key.size() + 1, key + "\\") == 0;
}

void CFakeFileSystem::AddFolder(const std::string& path) {
  std::string key = Key(path);
  if (key.empty()) return;
  std::string parent = FolderOf(path);
  if (!parent.empty() && parent.size() > 2) AddFolder(parent);
  if (key.size() <= 2) return;  // drive roots always exist
  Node& node = m_nodes[Resolve(path)];
  if (node.path.empty()) {
    node.path = path;
    node.isFolder = true;
    node.attributes = kAttrDirectory;
  }
}

void CFakeFileSystem::AddFile(const std::string& path, const std::string& content, uint32_t attributes,
                              int64_t lastWrite) {
  AddFolder(FolderOf(path));
  Node& node = m_nodes[Resolve(path)];
  node.path = path;
  node.isFolder = false;
  node.attributes = attributes;
  node.content = content;
  node.lastWrite = lastWrite;
}

void CFakeFileSystem::AddFolderLink(const std::string& path, const std::string& target) {
  AddFolder(FolderOf(path));
  Node& node = m_nodes[Key(path)];
  node.path = path;
  node.isFolder = true;
  node.attributes = kAttrDirectory | kAttrReparsePoint;
  node.linkTarget = target;
}

void CFakeFileSystem::Lock(const std::string& path, bool locked) {
  if (Node* node = Find(path)) node->locked = locked;
}

bool CFakeFileSystem::Exists(const std::string& path) const {
  std::string key = Key(path);
  if (key.size() == 2 && key[1] == ':') return true;
  return Find(path) != nullptr;
}

bool CFakeFileSystem::IsFolder(const std::string& path) const {
  const Node* node = Find(path);
  return node && node->isFolder;
}

std::string CFakeFileSystem::Content(const std::string& path) const {
  const Node* node = Find(path);
  return node ? node->content : std::string();
}

std::vector<std::string> CFakeFileSystem::ListTree(const std::string& folder) const {
  std::vector<std::string> paths;
  std::string prefix = Key(folder) + "\\";
  for (const auto& entry : m_nodes)
    if (entry.first.compare(0, prefix.size(), prefix) == 0) paths.push_back(entry.second.path);
  return paths;
}

std::vector<CFileEntry> CFakeFileSystem::FindFiles(const std::string& pattern) {
  ++m_nFindCalls;
  std::vector<CFileEntry> matches;
  std::string folder = FolderOf(pattern);
  std::string namePattern = NameOf(pattern);
  std::string folderKey = Resolve(folder);
  bool isRoot = folderKey.size() == 2 && folderKey[1] == ':';
  if (!isRoot) {
    auto it = m_nodes.find(folderKey);
    if (it == m_nodes.end() || !it->second.isFolder) return matches;
  }
  if (!isRoot && (namePattern == "*" || namePattern == "*.*")) {
    matches.push_back(CFileEntry{".", kAttrDirectory});
    matches.push_back(CFileEntry{"..", kAttrDirectory});
  }
  std::string prefix = folderKey + "\\";
  for (auto it = m_nodes.lower_bound(prefix); it != m_nodes.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    std::string name = NameOf(it->second.path);
    if (MatchName(namePattern, name)) matches.push_back(CFileEntry{name, it->second.attributes});
  }
  return matches;
}

bool CFakeFileSystem::RemoveFile(const std::string& path) {
  std::string key = Resolve(FolderOf(path)) + "\\" + Key(NameOf(path));
  auto it = m_nodes.find(key);
  if (it == m_nodes.end()) return false;
  Node& node = it->second;
  if (node.locked || (node.attributes & kAttrReadOnly)) return false;
  if (node.isFolder) return false;  // folders and folder links go with RemoveFolder
  m_nodes.erase(it);
  return true;
}

bool CFakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  Node* node = Find(path);
  if (!node) return false;
  uint32_t kept = node->attributes & (kAttrDirectory | kAttrReparsePoint);
  node->attributes = kept | (attributes == kAttrNormal && node->isFolder ? 0 : attributes);
  return true;
}

bool CFakeFileSystem::GetAttributes(const std::string& path, uint32_t& attributes) {
  std::string key = Resolve(FolderOf(path)) + "\\" + Key(NameOf(path));
  if (FolderOf(path).empty()) key = Key(path);
  auto it = m_nodes.find(key);
  if (it == m_nodes.end()) {
    std::string k = Key(path);
    if (k.size() == 2 && k[1] == ':') {
      attributes = kAttrDirectory;
      return true;
    }
    return false;
  }
  attributes = it->second.attributes;
  return true;
}

bool CFakeFileSystem::RemoveFolder(const std::string& path) {
  std::string key = Resolve(FolderOf(path)) + "\\" + Key(NameOf(path));
  auto it = m_nodes.find(key);
  if (it == m_nodes.end() || !it->second.isFolder || it->second.locked) return false;
  if (it->second.linkTarget.empty() && HasChildren(key)) return false;
  if (it->second.attributes & kAttrReadOnly) return false;
  m_nodes.erase(it);
  return true;
}

bool CFakeFileSystem::CopyFileOver(const std::string& from, const std::string& to) {
  const Node* source = Find(from);
  if (!source || source->isFolder || source->locked) return false;
  std::string targetFolder = FolderOf(to);
  if (!targetFolder.empty() && !IsFolder(targetFolder) && Key(targetFolder).size() > 2) return false;
  Node* existing = Find(to);
  if (existing && (existing->locked || existing->isFolder || (existing->attributes & kAttrReadOnly))) return false;
  Node copy = *source;
  copy.path = to;
  m_nodes[Resolve(to)] = copy;
  return true;
}

std::unique_ptr<IReadStream> CFakeFileSystem::OpenForReading(const std::string& path) {
  const Node* node = Find(path);
  if (!node || node->isFolder || node->locked) return nullptr;
  return std::make_unique<CStringReadStream>(node->content);
}

bool CFakeFileSystem::GetLastWriteTime(const std::string& path, int64_t& unixSeconds) {
  const Node* node = Find(path);
  if (!node || node->isFolder || node->locked) return false;
  unixSeconds = node->lastWrite;
  return true;
}

bool CFakeFileSystem::SetCurrentFolder(const std::string& path) {
  if (!IsFolder(path) && !(Key(path).size() == 2 && Key(path)[1] == ':')) return false;
  m_strCurrentFolder = path;
  return true;
}

bool CFakeFileSystem::IsOnLocalDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  return m_networkDrives.find(static_cast<char>(toupper(static_cast<unsigned char>(path[0])))) == std::string::npos;
}

std::string CFakeFileSystem::ReadProfileString(const std::string& file, const std::string& section,
                                               const std::string& key, const std::string& defaultText,
                                               size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  auto cut = [bufferSize](std::string s) {
    if (s.size() > bufferSize - 1) s.resize(bufferSize - 1);
    return s;
  };
  const Node* node = Find(file);
  if (!node || node->isFolder) return cut(defaultText);
  // Lines end at LF (a CR before it is dropped); sections and keys compare
  // without regard to case; a value in matching quotes loses them.
  const std::string& text = node->content;
  bool inSection = false;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    std::string stripped;
    for (char c : line)
      if (c != '\0') stripped += c;
    line = TrimWhitespace(stripped);
    if (line.empty()) continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      std::string name = TrimWhitespace(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      inSection = EqualsNoCase(name, section);
      continue;
    }
    if (!inSection) continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (!EqualsNoCase(TrimWhitespace(line.substr(0, eq)), key)) continue;
    std::string value = TrimWhitespace(line.substr(eq + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    return cut(value);
  }
  return cut(defaultText);
}
