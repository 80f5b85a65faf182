// Feeds arbitrary bytes to the payload archive reader as the setup's own file and extracts every
// entry into a file system that only checks where writes would land.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/contained_path.h"
#include "install/payload_archive_reader.h"

namespace {

using namespace averlune;

struct Input {
  const std::uint8_t* data;
  std::size_t size;
};

constexpr char16_t kTarget[] = u"C:\\App\\";

void checkInside(const std::u16string& path) {
  // Every file and folder the reader makes must lie below the target folder.
  if (path.compare(0, std::char_traits<char16_t>::length(kTarget), kTarget) != 0) std::abort();
  const std::u16string rest = path.substr(std::char_traits<char16_t>::length(kTarget));
  if (!rest.empty() && !isContainedRelativePath(rest)) std::abort();
}

PayloadFileSystem fuzzFileSystem(Input& input) {
  PayloadFileSystem system;
  system.openForReading = [&input](const std::u16string&) -> void* { return &input; };
  system.fileSize = [](void* file, std::uint64_t& size) {
    size = static_cast<Input*>(file)->size;
    return true;
  };
  system.readAt = [](void* file, std::uint64_t offset, void* buffer, std::size_t size) -> std::size_t {
    const Input& in = *static_cast<Input*>(file);
    if (offset >= in.size) return 0;
    const std::size_t count = std::min<std::uint64_t>(size, in.size - offset);
    std::memcpy(buffer, in.data + offset, count);
    return count;
  };
  system.closeReading = [](void*) {};
  system.makeFolderPath = [](const std::u16string& folder) {
    checkInside(folder);
    return true;
  };
  static int handle;
  system.createFile = [](const std::u16string& path) -> void* {
    checkInside(path);
    return &handle;
  };
  system.writeFile = [](void*, const void*, std::size_t) { return true; };
  system.finishFile = [](void*, const PayloadFileTime&, std::uint32_t) { return true; };
  system.oemToText = [](std::string_view bytes) { return std::u16string(bytes.begin(), bytes.end()); };
  return system;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input{data, size};
  PayloadArchiveReader reader(fuzzFileSystem(input));
  if (!openPayloadArchive(reader, u"setup.exe")) return 0;
  const PayloadListing listing = listPayloadEntries(reader);
  // As the installation extracts them: each entry found by its place, every entry twice (a retry).
  std::size_t entries = 0;
  for (const PayloadEntryInfo& info : listing.entries) {
    if (++entries > 64) break;
    const std::u16string path = payloadEntryPath(info, kTarget);
    extractPayloadEntry(reader, info, path, isPayloadFolderEntry(info));
    extractPayloadEntry(reader, info, path, isPayloadFolderEntry(info));
  }
  return 0;
}
