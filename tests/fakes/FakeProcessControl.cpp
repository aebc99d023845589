#include "tests/fakes/FakeProcessControl.h"

namespace {

class CFakeEnumeration : public IProcessEnumeration {
 public:
  explicit CFakeEnumeration(CFakeProcessControl& owner) : m_owner(owner) {
    ++m_owner.m_nEnumerations;
    ++m_owner.m_nLiveEnumerations;
  }
  ~CFakeEnumeration() override { --m_owner.m_nLiveEnumerations; }

  bool FirstProcess(ProcessInfo& info) override {
    m_nProcess = 0;
    return Describe(info);
  }
  bool NextProcess(ProcessInfo& info) override {
    ++m_nProcess;
    return Describe(info);
  }
  bool FirstModule(uint32_t processId, std::string& path) override {
    m_nModule = 0;
    return Module(processId, path);
  }
  bool NextModule(uint32_t processId, std::string& path) override {
    ++m_nModule;
    return Module(processId, path);
  }

 private:
  // Ended processes no longer show up.
  const CFakeProcessControl::Process* Live(size_t index) const {
    size_t seen = 0;
    for (const auto& p : m_owner.m_processes) {
      if (p.ended) continue;
      if (seen++ == index) return &p;
    }
    return nullptr;
  }
  bool Describe(ProcessInfo& info) const {
    const CFakeProcessControl::Process* p = Live(m_nProcess);
    if (!p) return false;
    info.m_strName = p->name;
    info.m_dwProcessId = p->id;
    info.m_wTask = 0;
    return true;
  }
  bool Module(uint32_t processId, std::string& path) const {
    const CFakeProcessControl::Process* p = m_owner.Find(processId);
    if (!p || p->ended || p->denyRead || m_nModule >= p->modules.size()) return false;
    path = p->modules[m_nModule];
    return true;
  }

  CFakeProcessControl& m_owner;
  size_t m_nProcess = 0;
  size_t m_nModule = 0;
};

}  // namespace

CFakeProcessControl::Process& CFakeProcessControl::Add(uint32_t id, const std::string& name,
                                                       const std::vector<std::string>& modules) {
  Process p;
  p.id = id;
  p.name = name;
  p.modules = modules;
  m_processes.push_back(p);
  return m_processes.back();
}

const CFakeProcessControl::Process* CFakeProcessControl::Find(uint32_t id) const {
  for (const Process& p : m_processes)
    if (p.id == id) return &p;
  return nullptr;
}

std::vector<uint32_t> CFakeProcessControl::EndedIds() const {
  std::vector<uint32_t> ids;
  for (const Process& p : m_processes)
    if (p.ended) ids.push_back(p.id);
  return ids;
}

std::unique_ptr<IProcessEnumeration> CFakeProcessControl::StartEnumeration() {
  return std::make_unique<CFakeEnumeration>(*this);
}

bool CFakeProcessControl::EndProcess(uint32_t processId, uint32_t exitCode) {
  for (Process& p : m_processes) {
    if (p.id != processId || p.ended) continue;
    if (p.denyTerminate) return false;
    p.ended = true;
    p.exitCode = exitCode;
    return true;
  }
  return false;
}
