#include "config/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "config/text_decoding.h"

namespace averlune {
namespace {

std::filesystem::path toFilesystemPath(const std::u16string& text) {
#ifdef _WIN32
  // Windows paths are UTF-16 already; going through wchar_t keeps even unpaired surrogates, which
  // the file system accepts, and cannot throw.
  return std::filesystem::path(std::wstring(text.begin(), text.end()));
#else
  // Host file names are UTF-8 bytes; encodeUtf8 never fails, unlike the library's conversion.
  return std::filesystem::path(encodeUtf8(text));
#endif
}

}  // namespace

bool readFileBytes(const std::u16string& path, std::string& bytes) {
  bytes.clear();
  const std::filesystem::path where = toFilesystemPath(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(where, error)) return false;
  std::ifstream in(where, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    bytes.clear();
    return false;
  }
  return true;
}

}  // namespace averlune
