#include "config/line_list_file.h"

#include <utility>

#include "base/file_bytes.h"
#include "base/text_decoding.h"

namespace averlune {

bool open(LineListFile& file, const std::u16string& path) {
  close(file);
  std::string bytes;
  if (!readFileBytes(path, bytes)) return false;
  openBytes(file, std::move(bytes));
  return true;
}

void openBytes(LineListFile& file, std::string bytes) {
  file.bytes = std::move(bytes);
  file.position = 0;
  file.isOpen = true;
}

bool atEnd(const LineListFile& file) { return file.position >= file.bytes.size(); }

std::u16string readLine(LineListFile& file) {
  const std::string& bytes = file.bytes;
  const std::size_t start = file.position;
  std::size_t end = start;
  while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n' && bytes[end] != '\0') ++end;
  std::size_t next = end;
  if (next < bytes.size()) {
    // CR LF is one line end; any other line-end byte stands alone.
    const bool crLf = bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n';
    next += crLf ? 2 : 1;
  }
  file.position = next;
  return decodeUtf8(std::string_view(bytes).substr(start, end - start));
}

std::uint32_t readUInt32(LineListFile& file) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4 && file.position < file.bytes.size(); ++i, ++file.position) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(file.bytes[file.position])) << (8 * i);
  }
  return value;
}

void close(LineListFile& file) { file = LineListFile(); }

}  // namespace averlune
