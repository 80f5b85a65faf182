#include "base/file_bytes.h"

#include <cstdio>
#include <memory>

#include "base/text_decoding.h"

namespace averlune {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

// C stdio rather than the library's streams and paths: those bring their locale and conversion
// machinery into the setup program, many times the size of all of its own code.
OwnedFile openForReading(const std::u16string& path) {
#ifdef _WIN32
  // Windows paths are UTF-16 already; going through wchar_t keeps even unpaired surrogates, which
  // the file system accepts.
  return OwnedFile(_wfopen(std::wstring(path.begin(), path.end()).c_str(), L"rb"));
#else
  // Host file names are UTF-8 bytes; encodeUtf8 never fails.
  return OwnedFile(std::fopen(encodeUtf8(path).c_str(), "rb"));
#endif
}

}  // namespace

bool readFileBytes(const std::u16string& path, std::string& bytes, std::size_t bound) {
  bytes.clear();
  const OwnedFile file = openForReading(path);
  if (!file) return false;
  char buffer[64 * 1024];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    if (got > bound - bytes.size()) {
      bytes = std::string();  // gives the memory back as well
      return false;
    }
    bytes.append(buffer, got);
  }
  // A folder opens on some systems and fails at the first read.
  if (std::ferror(file.get())) {
    bytes.clear();
    return false;
  }
  return true;
}

}  // namespace averlune
