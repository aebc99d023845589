// The profile document on any bytes: no crash, and every entry it holds can
// be looked up again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/Text.h"
#include "records/ProfileDocument.h"
#include "tests/fakes/FakeSystem.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CFakePlatform fake;
  const std::string path = "C:\\App\\Setup.lr";
  fake.files.AddFile(path, std::string(reinterpret_cast<const char*>(data), size));
  CProfileDocument document;
  Check(document.Load("Setup", path));
  Check(document.IsLoaded());
  for (const auto& section : document.Sections()) {
    Check(section->Keys().size() == section->Values().size());
    Check(!section->Keys().empty());
    Check(document.FindSection(section->Name()) != nullptr);
    for (const std::string& key : section->Keys()) {
      bool found = false;
      document.GetString(section->Name(), key, &found);
      Check(found);
      document.GetInt(section->Name(), key);
    }
  }
  bool found = true;
  document.GetStringByNumber("Strings", 1004, &found);
  document.GetString("DialogFont", "FontName");
  document.GetInt("DialogFont", "FontSize");
  return 0;
}
