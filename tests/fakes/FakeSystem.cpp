#include "tests/fakes/FakeSystem.h"

#include <cstdio>

int CFakeUserInterface::ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
  m_shown.push_back(CShownMessage{text, caption, type});
  if (m_answers.empty()) return kIdOk;
  int answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

bool CFakeUserInterface::PumpOneMessage() {
  ++m_nPumped;
  return false;
}

void CFakeShell::ChangeNotify(int32_t events, unsigned flags, const std::string& path) {
  m_notifications.push_back(CShellNotification{events, flags, path});
}

bool CFakeShell::Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                         const std::string& folder, int show) {
  m_executions.push_back(CShellExecution{verb, file, parameters, folder, show});
  return m_bExecuteResult;
}

bool CFakeShell::RestartWindows() {
  ++m_nRestarts;
  return m_bRestartResult;
}

std::string CFakeShell::NewGuidString() {
  if (m_bGuidFails) return std::string();
  unsigned n = ++m_nGuids;
  char text[64];
  std::snprintf(text, sizeof(text), "{%08X-0000-4000-8000-%012X}", n, n * 7919u);
  return text;
}

CFakePlatform::CFakePlatform() : m_saved(Sys()) {
  CPlatform& p = Sys();
  p.files = &files;
  p.ui = &ui;
  p.shell = &shell;
  p.clock = &clock;
  p.registry = &registry;
  p.services = &services;
  p.processes = &processes;
  p.programs = &programs;
  p.scriptHosts = &scriptHosts;
}

CFakePlatform::~CFakePlatform() { Sys() = m_saved; }
