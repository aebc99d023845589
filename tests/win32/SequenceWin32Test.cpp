// The folder handed to the temporary copy, as the system's command-line
// rules read it back.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/UninstallApp.h"

namespace {

std::string FirstArgument(const std::string& parameters) {
  std::wstring line = L"strQSTemp.exe " + std::wstring(parameters.begin(), parameters.end());
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(line.c_str(), &count);
  std::string first;
  if (args && count >= 2) {
    for (const wchar_t* c = args[1]; *c; ++c) first += static_cast<char>(*c);
  }
  LocalFree(args);
  return first;
}

TEST(Win32Sequence, QuotedFolderArrivesWhole) {
  for (const char* folder : {"C:\\Program Files\\Demo\\UnInstall", "C:\\Program Files\\Demo\\UnInstall\\"}) {
    EXPECT_EQ(FirstArgument(QuoteFolderArgument(folder)), "C:\\Program Files\\Demo\\UnInstall") << folder;
  }
  // Quoted as it stands, a trailing backslash escapes the closing quote.
  EXPECT_EQ(FirstArgument("\"C:\\Program Files\\Demo\\UnInstall\\\""), "C:\\Program Files\\Demo\\UnInstall\"");
}

}  // namespace
