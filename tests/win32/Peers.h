// Our own test programs and libraries (tests/peers), found beside this test
// program, and small helpers for the tests that run them.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "system/Platform.h"
#include "system/UserInterface.h"

inline std::string PeerPath(const std::string& file) {
  char self[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self);
  return folder.substr(0, folder.find_last_of('\\')) + "\\peers\\" + file;
}

// Copies a peer to a path, creating nothing else; true on success.
inline bool CopyPeer(const std::string& peer, const std::string& to) {
  return CopyFileA(PeerPath(peer).c_str(), to.c_str(), FALSE) != 0;
}

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadWholeFile(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string CurrentFolder() {
  char folder[MAX_PATH] = {0};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

// Records message boxes instead of showing them (a box would wait for a
// click that never comes); messages are still dispatched for real.
class CRecordingUserInterface : public IUserInterface {
 public:
  CRecordingUserInterface() : m_pReal(Sys().ui) { Sys().ui = this; }
  ~CRecordingUserInterface() override { Sys().ui = m_pReal; }
  CRecordingUserInterface(const CRecordingUserInterface&) = delete;
  CRecordingUserInterface& operator=(const CRecordingUserInterface&) = delete;

  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned) override {
    m_arrShown.push_back(caption + ": " + text);
    return kIdOk;
  }
  bool PumpOneMessage() override { return m_pReal->PumpOneMessage(); }

  std::vector<std::string> m_arrShown;

 private:
  IUserInterface* m_pReal;
};

// A program started by the test, ended when the test is done with it.
class CPeerProcess {
 public:
  explicit CPeerProcess(const std::string& path) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string line = "\"" + path + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info);
  }
  ~CPeerProcess() {
    if (!m_info.hProcess) return;
    if (Running()) TerminateProcess(m_info.hProcess, 1);
    WaitForSingleObject(m_info.hProcess, 5000);
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
  }
  CPeerProcess(const CPeerProcess&) = delete;
  CPeerProcess& operator=(const CPeerProcess&) = delete;

  bool Started() const { return m_info.hProcess != nullptr; }
  uint32_t Id() const { return m_info.dwProcessId; }
  bool Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
  // True when it ended within the time; its exit code then in exitCode.
  bool WaitForEnd(DWORD ms, DWORD& exitCode) const {
    if (WaitForSingleObject(m_info.hProcess, ms) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(m_info.hProcess, &exitCode) != 0;
  }

 private:
  PROCESS_INFORMATION m_info = {};
};
