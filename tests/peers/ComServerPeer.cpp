// An in-process server for the tests. Its "DllUnregisterServer" appends a
// line to "unregistered.txt" in the library's own folder: the library's
// path, the current folder and a value from the library it imports (found
// only beside it). Built with PEER_FAILS the export returns E_FAIL.
#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" __declspec(dllimport) int PeerDependencyValue();

namespace {
HMODULE g_self = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(g_self, path, MAX_PATH);
  char current[MAX_PATH] = {0};
  GetCurrentDirectoryA(MAX_PATH, current);
  char mark[MAX_PATH + 32];
  std::snprintf(mark, sizeof(mark), "%s", path);
  char* slash = std::strrchr(mark, '\\');
  if (slash) std::snprintf(slash + 1, sizeof(mark) - (slash + 1 - mark), "unregistered.txt");
  if (FILE* f = std::fopen(mark, "a")) {
    std::fprintf(f, "%s|%s|%d\n", path, current, PeerDependencyValue());
    std::fclose(f);
  }
#ifdef PEER_FAILS
  return E_FAIL;
#else
  return S_OK;
#endif
}
