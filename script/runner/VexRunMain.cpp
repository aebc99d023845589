// VexRun: runs a function of a VexScript file from the command line and
// prints the error fields and the global variables afterwards. For Windows
// it works on the real system; natively, message boxes are printed and
// answered with OK, the registry lives in memory and files are read from
// the host.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "script/runner/VexRunner.h"
#include "system/Platform.h"
#include "system/Shell.h"

#ifndef _WIN32
#include "system/UserInterface.h"
#include "tests/fakes/FakeSystem.h"

namespace {

// Files of the host, by their paths with backslashes read as slashes.
class CHostFileSystem : public CFakeFileSystem {
 public:
  std::unique_ptr<IReadStream> OpenForReading(const std::string& path) override {
    std::string hostPath = path;
    for (char& c : hostPath) {
      if (c == '\\') c = '/';
    }
    auto stream = std::make_unique<CStream>(hostPath);
    if (!stream->m_file) return nullptr;
    return stream;
  }

 private:
  struct CStream : IReadStream {
    explicit CStream(const std::string& path) : m_file(path, std::ios::binary) {}
    size_t Read(char* buffer, size_t size) override {
      m_file.read(buffer, static_cast<std::streamsize>(size));
      return static_cast<size_t>(m_file.gcount());
    }
    std::ifstream m_file;
  };
};

class CConsoleUserInterface : public IUserInterface {
 public:
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) override {
    std::cout << "MessageBox [" << caption << "]: " << text << "\n";
    return kIdOk;
  }
  bool PumpOneMessage() override { return false; }
};

}  // namespace
#endif

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  CRunnerOptions options;
  std::string error;
  if (!ParseRunnerArguments(arguments, options, error)) {
    std::cerr << "VexRun: " << error << "\n" << RunnerUsage();
    return kRunCannotStart;
  }
#ifdef _WIN32
  InstallWin32Platform();
  Sys().shell->InitializeCom();
  return RunVexScript(options, std::cout);
#else
  CFakePlatform platform;
  CHostFileSystem files;
  CConsoleUserInterface ui;
  Sys().files = &files;
  Sys().ui = &ui;
  // No Windows Script engines here: every VBScript call says so.
  platform.scriptHosts.m_loadErrors = {"COM Error: 0x800401f3\nScripting Engine (VBScript.dll) not registered"};
  return RunVexScript(options, std::cout);
#endif
}
