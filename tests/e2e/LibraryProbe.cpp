// Loads "vdmdbg" by name, with or without the program's search restriction;
// exits 1 when the copy beside it was loaded, 0 when the system's was, 2
// when none was.
#include <windows.h>

#include <cstring>
#include <string>

#include "system/LibrarySearch.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "restricted") == 0) RestrictLibrarySearch();
  HMODULE library = LoadLibraryA("vdmdbg");
  if (!library) return 2;
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(library, path, MAX_PATH);
  char self[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string own(self);
  own = own.substr(0, own.find_last_of('\\') + 1);
  return lstrcmpiA(std::string(path).substr(0, own.size()).c_str(), own.c_str()) == 0 ? 1 : 0;
}
