// A program for the tests. It writes "<its own path>.ran" with its command
// line, its current folder and its process id, one per line, then follows
// "<its own path>.cfg": "hang" waits (at most a minute), a number is the
// exit code; without the file it exits with 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  char self[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  char folder[MAX_PATH] = {0};
  GetCurrentDirectoryA(MAX_PATH, folder);

  char mark[MAX_PATH + 8];
  std::snprintf(mark, sizeof(mark), "%s.ran", self);
  if (FILE* f = std::fopen(mark, "w")) {
    std::fprintf(f, "%s\n%s\n%lu\n", GetCommandLineA(), folder, GetCurrentProcessId());
    std::fclose(f);
  }

  char config[MAX_PATH + 8];
  std::snprintf(config, sizeof(config), "%s.cfg", self);
  char behaviour[64] = {0};
  if (FILE* f = std::fopen(config, "r")) {
    if (!std::fgets(behaviour, sizeof(behaviour), f)) behaviour[0] = 0;
    std::fclose(f);
  }
  if (std::strncmp(behaviour, "hang", 4) == 0) {
    Sleep(60000);
    return 0;
  }
  return std::atoi(behaviour);
}
