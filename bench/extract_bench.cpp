// Extracts every entry of a ZIP archive with the setup's payload archive reader, on the host, into
// a folder: the reader's logic and minizip as the setup runs them, with plain POSIX files behind.
//   extract_bench <archive> <target folder>
// Prints the entry count, the failures and the wall-clock seconds.
#include <sys/stat.h>
#include <sys/time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "config/text_decoding.h"
#include "install/payload_archive_reader.h"

namespace {

using namespace averlune;

std::string hostPath(const std::u16string& path) {
  std::string bytes = encodeUtf8(path);
  for (char& c : bytes) {
    if (c == '\\') c = '/';
  }
  return bytes;
}

PayloadFileSystem hostFileSystem() {
  PayloadFileSystem system;
  system.openForReading = [](const std::u16string& path) -> void* { return std::fopen(hostPath(path).c_str(), "rb"); };
  system.fileSize = [](void* file, std::uint64_t& size) {
    if (fseeko(static_cast<FILE*>(file), 0, SEEK_END) != 0) return false;
    size = static_cast<std::uint64_t>(ftello(static_cast<FILE*>(file)));
    return true;
  };
  system.readAt = [](void* file, std::uint64_t offset, void* buffer, std::size_t size) -> std::size_t {
    if (fseeko(static_cast<FILE*>(file), static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
    return std::fread(buffer, 1, size, static_cast<FILE*>(file));
  };
  system.closeReading = [](void* file) { std::fclose(static_cast<FILE*>(file)); };
  system.makeFolderPath = [](const std::u16string& folder) {
    std::error_code error;
    std::filesystem::create_directories(hostPath(folder), error);
    return std::filesystem::is_directory(hostPath(folder), error);
  };
  struct Open {
    FILE* stream;
    std::string path;
  };
  system.createFile = [](const std::u16string& path) -> void* {
    FILE* stream = std::fopen(hostPath(path).c_str(), "wb");
    return stream ? new Open{stream, hostPath(path)} : nullptr;
  };
  system.writeFile = [](void* file, const void* data, std::size_t size) {
    return std::fwrite(data, 1, size, static_cast<Open*>(file)->stream) == size;
  };
  system.finishFile = [](void* file, const PayloadFileTime& time) {
    auto* open = static_cast<Open*>(file);
    std::fclose(open->stream);
    std::tm local{};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_isdst = -1;
    const timeval times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
    utimes(open->path.c_str(), times);
    delete open;
  };
  system.setAttributes = [](const std::u16string&, std::uint32_t) {};
  system.oemToText = [](std::string_view bytes) { return decodeLatin1(bytes); };
  return system;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: extract_bench <archive> <target folder>\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  PayloadArchiveReader reader(hostFileSystem());
  const std::u16string archive = decodeUtf8(argv[1]);
  const std::u16string target = decodeUtf8(std::string(argv[2]) + "/");
  if (!openPayloadArchive(reader, archive)) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  int entries = 0;
  int failures = 0;
  for (int step = firstPayloadEntry(reader); step == 0; step = nextPayloadEntry(reader)) {
    ++entries;
    PayloadEntryInfo info;
    readEntryInfo(reader, info);
    if (extractPayloadEntry(reader, target, true) != 0 && !info.name.empty()) ++failures;
  }
  closePayloadArchive(reader);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("entries %d failures %d seconds %.3f\n", entries, failures, seconds);
  return failures == 0 ? 0 : 1;
}
