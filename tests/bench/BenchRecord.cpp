// Load time and peak memory of the install record reader on large records.
//   bench_record generate ITEMS FILE   writes a record of ITEMS "[CopyFile]" items
//   bench_record load FILE             loads it once and prints the figures
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "records/InstallRecord.h"
#include "system/FileSystem.h"
#include "system/Platform.h"

namespace {

class CStdioReadStream : public IReadStream {
 public:
  explicit CStdioReadStream(std::FILE* file) : m_pFile(file) {}
  ~CStdioReadStream() override { std::fclose(m_pFile); }
  size_t Read(char* buffer, size_t size) override { return std::fread(buffer, 1, size, m_pFile); }

 private:
  std::FILE* m_pFile;
};

// Only reading is needed here; paths are the host's own.
class CHostReadOnlyFiles : public IFileSystem {
 public:
  std::vector<CFileEntry> FindFiles(const std::string&) override { return {}; }
  bool RemoveFile(const std::string&) override { return false; }
  bool SetAttributes(const std::string&, uint32_t) override { return false; }
  bool GetAttributes(const std::string&, uint32_t&) override { return false; }
  bool RemoveFolder(const std::string&) override { return false; }
  bool CopyFileOver(const std::string&, const std::string&) override { return false; }
  std::unique_ptr<IReadStream> OpenForReading(const std::string& path) override {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    return std::make_unique<CStdioReadStream>(file);
  }
  bool GetLastWriteTime(const std::string&, int64_t&) override { return false; }
  std::string GetModuleFilePath() override { return std::string(); }
  std::string GetTempFolder() override { return std::string(); }
  std::string GetCurrentFolder() override { return std::string(); }
  bool SetCurrentFolder(const std::string&) override { return false; }
  bool IsOnLocalDrive(const std::string&) override { return true; }
  std::string ReadProfileString(const std::string&, const std::string&, const std::string&,
                                const std::string& defaultText, size_t) override {
    return defaultText;
  }
};

int Generate(long items, const char* path) {
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return 1;
  std::fputs("[CopyFile]\r\n", out);
  for (long i = 1; i <= items; ++i) {
    std::fprintf(out, "Item%ld=C:\\Program Files\\Demo\\dir%ld\\file%ld.dll\r\n", i, i % 97, i);
    std::fprintf(out, "Item%ld_RegType=%ld\r\n", i, i % 4);
    std::fprintf(out, "Item%ld_ServiceName=\r\nItem%ld_ServiceID=\r\n", i, i);
    std::fprintf(out, "Item%ld_Uninstall=%ld\r\n", i, i % 6);
    std::fprintf(out, "Item%ld_FileGroup=Program Files\r\n", i);
    std::fprintf(out, "Item%ld_ModifyDate=2004-5-7 13:%ld:%ld\r\n", i, i % 60, (i / 60) % 60);
    std::fprintf(out, "Item%ld_UpdateType=%ld\r\n", i, i % 4);
  }
  std::fprintf(out, "Count=%ld\r\n[Comm]\r\nAppName=Bench\r\nGUID={B}\r\n", items);
  return std::fclose(out) == 0 ? 0 : 1;
}

long PeakKilobytes() {
  struct rusage usage = {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int Load(const char* path) {
  CHostReadOnlyFiles files;
  Sys().files = &files;
  long before = PeakKilobytes();
  CInstallRecord record;
  auto start = std::chrono::steady_clock::now();
  bool ok = record.Load(path);
  auto end = std::chrono::steady_clock::now();
  if (!ok) return 1;
  double ms = std::chrono::duration<double, std::milli>(end - start).count();
  std::printf("items=%zu load_ms=%.1f peak_rss_mb=%.1f start_rss_mb=%.1f\n", record.Files().size(), ms,
              PeakKilobytes() / 1024.0, before / 1024.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "generate") return Generate(std::atol(argv[2]), argv[3]);
  if (argc == 3 && std::string(argv[1]) == "load") return Load(argv[2]);
  std::fprintf(stderr, "usage: bench_record generate ITEMS FILE | load FILE\n");
  return 2;
}
