#include "tests/fakes/FakeServiceControl.h"

#include <algorithm>

#include "app/Text.h"

CFakeServiceControl::Service& CFakeServiceControl::Add(const std::string& name, const std::string& binaryPath,
                                                       uint32_t state) {
  Service s;
  s.name = s.displayName = name;
  s.binaryPath = binaryPath;
  s.state = state;
  m_services.push_back(s);
  return m_services.back();
}

CFakeServiceControl::Service* CFakeServiceControl::Find(const std::string& name) {
  for (Service& s : m_services)
    if (EqualsNoCase(s.name, name)) return &s;
  return nullptr;
}

uint32_t CFakeServiceControl::EntrySize(const Service& s) {
  return kEnumServiceEntrySize + static_cast<uint32_t>(s.name.size() + 1 + s.displayName.size() + 1);
}

uint32_t CFakeServiceControl::ConfigSize(const Service& s) {
  // QUERY_SERVICE_CONFIGA, then the program path, an empty load-order
  // group, an empty dependency list, "LocalSystem" and the display name.
  return 36 + static_cast<uint32_t>(s.binaryPath.size() + 1) + 1 + 2 + 12 +
         static_cast<uint32_t>(s.displayName.size() + 1);
}

ScHandle CFakeServiceControl::OpenManager(const char*, const char*, uint32_t access) {
  if (m_nManagerOpensLeft == 0) return 0;
  if (m_nManagerOpensLeft > 0) --m_nManagerOpensLeft;
  ScHandle h = m_nextHandle++;
  m_handles[h] = Handle{true, std::string(), access};
  return h;
}

ScHandle CFakeServiceControl::OpenServiceByName(ScHandle manager, const std::string& name, uint32_t access) {
  auto it = m_handles.find(manager);
  if (it == m_handles.end() || !it->second.isManager) return 0;
  Service* s = Find(name);
  if (!s || (s->deniedAccess & access) || s->markedForDeletion) return 0;
  ScHandle h = m_nextHandle++;
  m_handles[h] = Handle{false, s->name, access};
  return h;
}

bool CFakeServiceControl::CloseScHandle(ScHandle handle) {
  if (!m_handles.erase(handle)) return false;
  RemoveDeleted();
  return true;
}

void CFakeServiceControl::RemoveDeleted() {
  m_services.erase(std::remove_if(m_services.begin(), m_services.end(),
                                  [this](const Service& s) {
                                    if (!s.markedForDeletion || s.state != kServiceStopped) return false;
                                    for (const auto& h : m_handles)
                                      if (!h.second.isManager && EqualsNoCase(h.second.service, s.name)) return false;
                                    return true;
                                  }),
                   m_services.end());
}

CFakeServiceControl::Service* CFakeServiceControl::Resolve(ScHandle handle, uint32_t right) {
  auto it = m_handles.find(handle);
  if (it == m_handles.end() || it->second.isManager || !(it->second.access & right)) return nullptr;
  return Find(it->second.service);
}

bool CFakeServiceControl::Control(ScHandle service, uint32_t control) {
  Service* s = Resolve(service, kServiceStop);
  if (!s || control != kServiceControlStop || s->state == kServiceStopped) return false;
  ++s->stopRequests;
  if (s->ignoresStop) return true;
  if (s->queriesToStop > 0) {
    s->state = kServiceStopPending;
    s->pendingQueries = s->queriesToStop;
  } else {
    s->state = kServiceStopped;
  }
  return true;
}

bool CFakeServiceControl::QueryStatus(ScHandle service, uint32_t& currentState) {
  Service* s = Resolve(service, kServiceQueryStatus);
  if (!s) return false;
  if (s->state == kServiceStopPending && --s->pendingQueries <= 0) s->state = kServiceStopped;
  currentState = s->state;
  return true;
}

long CFakeServiceControl::EnumStatus(ScHandle manager, uint32_t serviceType, uint32_t serviceState,
                                     uint32_t bufferSize, std::vector<CServiceStatusEntry>& entries,
                                     uint32_t& bytesNeeded, uint32_t& resume) {
  m_arrEnumBufferSizes.push_back(bufferSize);
  auto it = m_handles.find(manager);
  if (m_bEnumFails || it == m_handles.end() || !it->second.isManager ||
      !(it->second.access & kScManagerEnumerateService)) {
    return kErrorAccessDenied;
  }
  std::vector<const Service*> selected;
  for (const Service& s : m_services) {
    bool active = s.state != kServiceStopped;
    bool stateMatches = active ? (serviceState & kServiceActive) : (serviceState & kServiceInactive);
    if ((s.serviceType & serviceType) && stateMatches) selected.push_back(&s);
  }
  uint32_t used = 0;
  size_t i = resume;
  for (; i < selected.size(); ++i) {
    uint32_t size = EntrySize(*selected[i]);
    if (used + size > bufferSize) break;
    used += size;
    const Service& s = *selected[i];
    entries.push_back(CServiceStatusEntry{s.name, s.displayName, s.serviceType, s.state});
  }
  bytesNeeded = 0;
  if (i == selected.size()) {
    resume = 0;
    return kErrorSuccess;
  }
  resume = static_cast<uint32_t>(i);
  for (; i < selected.size(); ++i) bytesNeeded += EntrySize(*selected[i]);
  return kErrorMoreData;
}

bool CFakeServiceControl::QueryConfig(ScHandle service, uint32_t bufferSize, CServiceConfig& config) {
  Service* s = Resolve(service, kServiceQueryConfig);
  if (!s || ConfigSize(*s) > bufferSize) return false;
  config.binaryPath = s->binaryPath;
  config.startType = s->startType;
  config.errorControl = s->errorControl;
  return true;
}

bool CFakeServiceControl::MarkForDeletion(ScHandle service) {
  Service* s = Resolve(service, kDelete);
  if (!s) return false;
  s->markedForDeletion = true;
  return true;
}
