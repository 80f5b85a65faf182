// Extracts every entry of a ZIP archive with the setup's payload archive reader, on the host, into
// a folder: the reader's logic, minizip and the whole-buffer inflater as the setup runs them, with
// plain POSIX files behind.
//   extract_bench <archive> <target folder>
// Prints the entry count, the failures and the wall-clock seconds.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "base/text_decoding.h"
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

// Plain descriptors, as the Windows edge uses plain handles: no stream buffering in between.
PayloadFileSystem hostFileSystem() {
  PayloadFileSystem system;
  auto descriptor = [](void* file) { return static_cast<int>(reinterpret_cast<std::intptr_t>(file)) - 1; };
  auto handle = [](int fd) { return fd < 0 ? nullptr : reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1); };
  system.openForReading = [handle](const std::u16string& path) { return handle(open(hostPath(path).c_str(), O_RDONLY)); };
  system.fileSize = [descriptor](void* file, std::uint64_t& size) {
    struct stat status {};
    if (fstat(descriptor(file), &status) != 0) return false;
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
  };
  system.readAt = [descriptor](void* file, std::uint64_t offset, void* buffer, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
      const ssize_t got = pread(descriptor(file), static_cast<char*>(buffer) + total, size - total,
                                static_cast<off_t>(offset + total));
      if (got <= 0) break;
      total += static_cast<std::size_t>(got);
    }
    return total;
  };
  system.closeReading = [descriptor](void* file) { close(descriptor(file)); };
  system.makeFolderPath = [](const std::u16string& folder) {
    std::error_code error;
    std::filesystem::create_directories(hostPath(folder), error);
    return std::filesystem::is_directory(hostPath(folder), error);
  };
  system.createFile = [handle](const std::u16string& path) {
    return handle(open(hostPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  };
  system.writeFile = [descriptor](void* file, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t written = write(descriptor(file), at, size);
      if (written <= 0) return false;
      at += written;
      size -= static_cast<std::size_t>(written);
    }
    return true;
  };
  system.finishFile = [descriptor](void* file, const PayloadFileTime& time, std::uint32_t) {
    std::tm local{};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_isdst = -1;
    const timespec stamp{mktime(&local), 0};
    const timespec times[2] = {stamp, stamp};
    futimens(descriptor(file), times);
    close(descriptor(file));
    return true;
  };
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
  for (const PayloadEntryInfo& info : listPayloadEntries(reader).entries) {
    ++entries;
    const PayloadExtractionResult result =
        extractPayloadEntry(reader, info, payloadEntryPath(info, target), isPayloadFolderEntry(info));
    if (result.outcome != PayloadExtraction::extracted && !info.name.empty()) ++failures;
  }
  closePayloadArchive(reader);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("entries %d failures %d seconds %.3f\n", entries, failures, seconds);
  return failures == 0 ? 0 : 1;
}
