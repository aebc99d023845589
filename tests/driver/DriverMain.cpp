// DialogDriver.exe: runs a program, answers its dialogs by rule, saves a
// screenshot of each and prints what it saw.
//
//   DialogDriver.exe [--shots FOLDER] [--log FILE] [--timeout SECONDS]
//                    [--wait-for NAME.exe]... [--rule "MATCH=>ACTIONS"]...
//                    -- PROGRAM [ARGUMENTS...]
//
// MATCH is a text the dialog's title or controls contain (empty: any);
// ACTIONS as in DialogDriver.h, e.g. "press:Yes" or "radio:No;press:Finish".
// Exit code: the program's, or 90 on a time-out, 91 on bad arguments or
// when the program cannot be started, 92 when a dialog stayed unanswered.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/driver/DialogDriver.h"

namespace {

std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  CDialogDriver driver;
  std::string logFile;
  DWORD timeout = 120000;
  std::vector<std::string> waitFor;
  int i = 1;
  for (; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "missing value after %s\n", a.c_str());
      return 91;
    }
    std::string v = argv[++i];
    if (a == "--shots") {
      driver.SetScreenshotFolder(v);
    } else if (a == "--log") {
      logFile = v;
    } else if (a == "--timeout") {
      timeout = static_cast<DWORD>(atoi(v.c_str())) * 1000;
    } else if (a == "--wait-for") {
      waitFor.push_back(v);
    } else if (a == "--rule") {
      size_t arrow = v.find("=>");
      if (arrow == std::string::npos) {
        std::fprintf(stderr, "rule without =>: %s\n", v.c_str());
        return 91;
      }
      driver.AddRule(v.substr(0, arrow), v.substr(arrow + 2));
    } else {
      std::fprintf(stderr, "unknown option %s\n", a.c_str());
      return 91;
    }
  }
  if (i >= argc) {
    std::fprintf(stderr, "no program given\n");
    return 91;
  }
  std::string command;
  for (; i < argc; ++i) command += (command.empty() ? "" : " ") + Quote(argv[i]);
  bool finished = driver.Run(command, timeout, waitFor);
  std::string log = driver.Log();
  std::fputs(log.c_str(), stdout);
  if (!logFile.empty()) {
    if (FILE* f = std::fopen(logFile.c_str(), "w")) {
      std::fputs(log.c_str(), f);
      std::fclose(f);
    }
  }
  if (!finished) {
    std::printf("driver: time-out or start failure\n");
    return driver.Dialogs().empty() && driver.ExitCode() == 0 ? 91 : 90;
  }
  if (driver.Unanswered() > 0) return 92;
  return static_cast<int>(driver.ExitCode());
}
